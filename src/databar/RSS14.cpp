#include "databar/RSS14.h"

#include <cstring>

#include "databar/CC.h"
#include "symbology/messages.h"

namespace {

// One group of character values (ISO/IEC 24724, DataBar Omnidirectional).
// `combinations` is the number of element sets of the divided half: the even
// set of an outside character, the odd set of an inside character.
struct CharGroup {
    int32_t size;
    int32_t oddModules;
    int32_t evenModules;
    int32_t oddWidest;
    int32_t evenWidest;
    int32_t combinations;
};

constexpr CharGroup kOutsideGroups[] = {
    {161, 12, 4, 8, 1, 1},  {800, 10, 6, 6, 3, 10},  {1054, 8, 8, 4, 5, 34},
    {700, 6, 10, 3, 6, 70}, {126, 4, 12, 1, 8, 126},
};
constexpr CharGroup kInsideGroups[] = {
    {336, 5, 10, 2, 7, 4},
    {700, 7, 8, 4, 5, 20},
    {480, 9, 6, 6, 3, 48},
    {81, 11, 4, 8, 1, 81},
};

// Checksum weights of the 32 character elements, character by character.
constexpr int32_t kChecksumWeights[32] = {
    1,  3,  9,  27, 2,  6,  18, 54, 58, 72, 24, 8,  29, 36, 12, 4,
    74, 51, 17, 32, 37, 65, 48, 16, 64, 34, 23, 69, 49, 68, 46, 59,
};
constexpr int32_t kChecksumModulus = 79;
// Where the elements of each character start: left outside, left inside, right
// outside, right inside.
constexpr int32_t kCharStart[4] = {0, 13, 34, 21};

// The first three widths of the nine finder patterns; both end in 1, 1.
constexpr uint8_t kFinders[9][3] = {
    {3, 8, 2}, {3, 5, 5}, {3, 3, 7}, {3, 1, 9}, {2, 7, 4},
    {2, 5, 6}, {2, 3, 8}, {1, 5, 7}, {1, 3, 9},
};

constexpr int64_t kLinkageValue = 10000000000000LL;  // added when a component follows
constexpr int64_t kPairDivisor = 4537077;            // 1597 x 2841
constexpr int32_t kCharDivisor = 1597;

constexpr int32_t kOmniHeight = 33;
constexpr int32_t kTruncatedHeight = 13;
constexpr int32_t kStackedTopHeight = 5;
constexpr int32_t kStackedBottomHeight = 7;
constexpr int32_t kStackedOmniHeight = 33;
constexpr int32_t kMiddleSeparatorElements = 43;
constexpr int32_t kCc4LinearOffset = 5;
constexpr int32_t kStackedModules = 50;  // one row of a stacked member, guards included

// The 8 widths of character `value`: odd elements at even places.
void characterWidths(int32_t value, bool outside, int32_t* widths) {
    const CharGroup* groups = outside ? kOutsideGroups : kInsideGroups;
    const int32_t count = outside ? 5 : 4;
    int32_t g = 0;
    while (g < count - 1 && value >= groups[g].size) value -= groups[g++].size;
    const CharGroup& grp = groups[g];
    int32_t oddValue, evenValue;
    if (outside) {
        oddValue = value / grp.combinations;
        evenValue = value % grp.combinations;
    } else {
        evenValue = value / grp.combinations;
        oddValue = value % grp.combinations;
    }
    const int32_t* odd = getRSSwidths(oddValue, grp.oddModules, 4, grp.oddWidest, outside ? 1 : 0);
    for (int32_t j = 0; j < 4; ++j) widths[2 * j] = odd[j];
    const int32_t* even =
        getRSSwidths(evenValue, grp.evenModules, 4, grp.evenWidest, outside ? 0 : 1);
    for (int32_t j = 0; j < 4; ++j) widths[2 * j + 1] = even[j];
}

// The rows of a component over the symbol, then the separator under it.
// False (nothing written) when the component failed.
bool writeComponent(const RssParams& params, int32_t rows, int32_t rowElements,
                    const PrintRow& facingRow) {
    if (rows <= 0) return false;
    PrintRow row;
    row.whtFirst = true;
    row.height = kCcRowHeight * params.pixMult;
    row.elmCnt = rowElements;
    for (int32_t r = 0; r < rows; ++r) {
        std::memcpy(row.elements, gCc.ccPattern[r], static_cast<size_t>(rowElements));
        printElmnts(params, row);
    }
    printElmnts(params, cnvSeparator(params, facingRow));
    return true;
}

// The linear data and the component data of the record; false (refused) when
// the linear data is no number of 1 to 13 digits.
struct Parts {
    char digits[kRss14MaxDigits + 1] = {};
    const char* component = nullptr;
};

bool splitData(RssParams& params, Parts* parts) {
    char* bar = std::strchr(params.data, '|');
    if (bar) {
        *bar = 0;
        parts->component = bar + 1;
    }
    const size_t n = std::strlen(params.data);
    if (n > static_cast<size_t>(kRss14MaxDigits)) {
        Message(71);
        gMsg.inerror = 1;
        gRss.errFlag = 1;
        return false;
    }
    if (!linearPresent(params.data, kItemNumber)) return false;
    if (!allDigits(params.data, static_cast<int32_t>(n))) {
        rssRefuse(
            "A DataBar-14 item number holds digits only. Remove the other characters and try "
            "again.");
        return false;
    }
    std::memset(parts->digits, '0', kRss14MaxDigits);
    std::memcpy(parts->digits + kRss14MaxDigits - n, params.data, n);
    if (!componentPresent(parts->component)) return false;
    return true;
}

// The finder pattern of a stacked row; the linear row of the others has two.
constexpr int32_t kRowFinderAt = 8;
constexpr int32_t kRightFinderAt = 29;

PrintRow rowOf(const uint8_t* elements, int32_t count, bool whtFirst, int32_t height,
               const RssParams& params) {
    PrintRow row;
    row.finderAt[row.finderCount++] = kRowFinderAt;
    if (count == kRss14Elements) row.finderAt[row.finderCount++] = kRightFinderAt;
    row.guards = true;
    row.whtFirst = whtFirst;
    row.height = height * params.pixMult;
    row.elmCnt = count;
    std::memcpy(row.elements, elements, static_cast<size_t>(count));
    return row;
}

// Single modules alternating, as a row of runs light first.
PrintRow runsOf(const bool* dark, int32_t modules, const RssParams& params) {
    PrintRow row;
    row.whtFirst = true;
    row.height = params.sepHt * params.pixMult;
    int32_t count = 0;
    bool colour = false;  // light
    int32_t run = 0;
    for (int32_t x = 0; x < modules; ++x) {
        if (dark[x] != colour) {
            row.elements[count++] = static_cast<uint8_t>(run);
            colour = dark[x];
            run = 0;
        }
        ++run;
    }
    row.elements[count++] = static_cast<uint8_t>(run);
    row.elmCnt = count;
    return row;
}

// Module colours of a stacked row: guards, the elements, guards.
void rowModules(const uint8_t* elements, bool whtFirst, bool* dark) {
    int32_t x = 0;
    bool colour = !whtFirst;
    dark[x++] = colour;
    dark[x++] = !colour;
    for (int32_t i = 0; i < kRss14RowElements; ++i) {
        for (int32_t k = 0; k < elements[i]; ++k) dark[x++] = colour;
        colour = !colour;
    }
    dark[x++] = colour;
    dark[x++] = !colour;
}

}  // namespace

void RSS14enc(const char* digits13, uint8_t* elements, int32_t linkage) {
    int64_t value = 0;
    for (int32_t i = 0; i < kRss14MaxDigits; ++i) value = value * 10 + (digits13[i] - '0');
    if (linkage) value += kLinkageValue;
    const int32_t leftPair = static_cast<int32_t>(value / kPairDivisor);
    const int32_t rightPair = static_cast<int32_t>(value % kPairDivisor);
    const int32_t chars[4] = {leftPair / kCharDivisor, leftPair % kCharDivisor,
                              rightPair / kCharDivisor, rightPair % kCharDivisor};
    int32_t widths[4][8];
    for (int32_t c = 0; c < 4; ++c) characterWidths(chars[c], c % 2 == 0, widths[c]);

    // Left outside, left finder, left inside reversed, right inside, right
    // finder reversed, right outside reversed.
    for (int32_t j = 0; j < 8; ++j) {
        elements[j] = static_cast<uint8_t>(widths[0][j]);
        elements[13 + j] = static_cast<uint8_t>(widths[1][7 - j]);
        elements[21 + j] = static_cast<uint8_t>(widths[3][j]);
        elements[34 + j] = static_cast<uint8_t>(widths[2][7 - j]);
    }
    // The weights go with the characters' elements in the order the symbol shows them.
    int32_t checksum = 0;
    for (int32_t c = 0; c < 4; ++c)
        for (int32_t j = 0; j < 8; ++j)
            checksum += kChecksumWeights[c * 8 + j] * elements[kCharStart[c] + j];
    checksum %= kChecksumModulus;
    if (checksum >= 8) ++checksum;
    if (checksum >= 72) ++checksum;
    const uint8_t* left = kFinders[checksum / 9];
    const uint8_t* right = kFinders[checksum % 9];
    const uint8_t leftFinder[5] = {left[0], left[1], left[2], 1, 1};
    const uint8_t rightFinder[5] = {1, 1, right[2], right[1], right[0]};
    std::memcpy(elements + 8, leftFinder, 5);
    std::memcpy(elements + 29, rightFinder, 5);
}

const PrintRow& separator14S(const RssParams& params, const uint8_t* elements) {
    static PrintRow sep;
    bool top[kStackedModules], bottom[kStackedModules], dark[kStackedModules];
    rowModules(elements, true, top);
    rowModules(elements + kRss14RowElements, false, bottom);
    // Where both rows agree the separator takes the other colour; where they
    // differ it alternates, so that no edge lines up with either row.
    for (int32_t x = 0; x < kStackedModules; ++x) {
        if (x < 2)
            dark[x] = x == 1;
        else if (x >= kStackedModules - 2 || top[x] != bottom[x])
            dark[x] = !dark[x - 1];
        else
            dark[x] = !top[x];
    }
    for (int32_t x = 0; x < 4; ++x) dark[x] = dark[kStackedModules - 1 - x] = false;
    sep = runsOf(dark, kStackedModules, params);
    return sep;
}

void RSS14(RssParams& params) {
    Parts parts;
    if (!splitData(params, &parts)) return;
    uint8_t elements[kRss14Elements];
    RSS14enc(parts.digits, elements, parts.component ? 1 : 0);
    const int32_t height = params.kind == kRssTruncated ? kTruncatedHeight : kOmniHeight;
    PrintRow linear = rowOf(elements, kRss14Elements, true, height, params);
    // ISO/IEC 24723: the 4-column component starts 5 modules left of the linear row.
    if (parts.component) linear.offset = kCc4LinearOffset;
    if (parts.component &&
        !writeComponent(params, CC4enc(parts.component), kCcMaxRowElements, linear))
        return;
    printElmnts(params, linear);
}

void RSS14S(RssParams& params) {
    Parts parts;
    if (!splitData(params, &parts)) return;
    uint8_t elements[kRss14Elements];
    RSS14enc(parts.digits, elements, parts.component ? 1 : 0);
    const PrintRow top = rowOf(elements, kRss14RowElements, true, kStackedTopHeight, params);
    if (parts.component && !writeComponent(params, CC2enc(parts.component), kCcRowElements2, top))
        return;
    printElmnts(params, top);
    printElmnts(params, separator14S(params, elements));
    printElmnts(params, rowOf(elements + kRss14RowElements, kRss14RowElements, false,
                              kStackedBottomHeight, params));
}

void RSS14SO(RssParams& params) {
    Parts parts;
    if (!splitData(params, &parts)) return;
    uint8_t elements[kRss14Elements];
    RSS14enc(parts.digits, elements, parts.component ? 1 : 0);
    const PrintRow top = rowOf(elements, kRss14RowElements, true, kStackedOmniHeight, params);
    const PrintRow bottom =
        rowOf(elements + kRss14RowElements, kRss14RowElements, false, kStackedOmniHeight, params);
    if (parts.component && !writeComponent(params, CC2enc(parts.component), kCcRowElements2, top))
        return;
    printElmnts(params, top);
    printElmnts(params, cnvSeparator(params, top));
    // Light 5, single modules from dark, light 4: the middle separator.
    PrintRow middle;
    middle.whtFirst = true;
    middle.height = params.sepHt * params.pixMult;
    middle.elmCnt = kMiddleSeparatorElements;
    for (int32_t i = 0; i < kMiddleSeparatorElements; ++i) middle.elements[i] = 1;
    middle.elements[0] = 5;
    middle.elements[kMiddleSeparatorElements - 1] = 4;
    printElmnts(params, middle);
    printElmnts(params, cnvSeparator(params, bottom));
    printElmnts(params, bottom);
}
