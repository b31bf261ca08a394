#include "databar/RSSLIM.h"

#include <cstdio>
#include <cstring>

#include "databar/CC.h"
#include "symbology/messages.h"

namespace {

// The character groups of ISO/IEC 24724.
constexpr DataBarGroup kGroups[] = {
    {0, 17, 9, 6, 3, 28},          {183064, 13, 13, 5, 4, 728},   {820064, 9, 17, 3, 6, 6454},
    {1000776, 15, 11, 5, 4, 203},  {1491021, 11, 15, 4, 5, 2408}, {1979845, 19, 7, 8, 1, 1},
    {1996939, 7, 19, 1, 8, 16632},
};
constexpr int32_t kLimDigits = 13;
constexpr int32_t kCharValues = 2013571;  // values of one character
constexpr int64_t kLinkageOffset = 2015133531096;
constexpr int32_t kCheckModulus = 89;
constexpr int32_t kHalfElements = 7;  // odd or even elements of one character

// The weight of each element of the left and the right character.
constexpr int32_t kWeights[2 * kLimCharElements] = {
    1,  3,  9, 27, 81, 65, 17, 51, 64, 14, 42, 37, 22, 66,
    20, 60, 2, 6,  18, 54, 73, 41, 34, 13, 39, 28, 84, 74,
};

// The check characters, one for each checksum.
constexpr uint8_t kCheckPatterns[kCheckModulus][kLimCharElements] = {
    {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 3, 3, 1, 1}, {1, 1, 1, 1, 1, 1, 1, 1, 1, 2, 3, 2, 1, 1},
    {1, 1, 1, 1, 1, 1, 1, 1, 1, 3, 3, 1, 1, 1}, {1, 1, 1, 1, 1, 1, 1, 2, 1, 1, 3, 2, 1, 1},
    {1, 1, 1, 1, 1, 1, 1, 2, 1, 2, 3, 1, 1, 1}, {1, 1, 1, 1, 1, 1, 1, 3, 1, 1, 3, 1, 1, 1},
    {1, 1, 1, 1, 1, 2, 1, 1, 1, 1, 3, 2, 1, 1}, {1, 1, 1, 1, 1, 2, 1, 1, 1, 2, 3, 1, 1, 1},
    {1, 1, 1, 1, 1, 2, 1, 2, 1, 1, 3, 1, 1, 1}, {1, 1, 1, 1, 1, 3, 1, 1, 1, 1, 3, 1, 1, 1},
    {1, 1, 1, 2, 1, 1, 1, 1, 1, 1, 3, 2, 1, 1}, {1, 1, 1, 2, 1, 1, 1, 1, 1, 2, 3, 1, 1, 1},
    {1, 1, 1, 2, 1, 1, 1, 2, 1, 1, 3, 1, 1, 1}, {1, 1, 1, 2, 1, 2, 1, 1, 1, 1, 3, 1, 1, 1},
    {1, 1, 1, 3, 1, 1, 1, 1, 1, 1, 3, 1, 1, 1}, {1, 2, 1, 1, 1, 1, 1, 1, 1, 1, 3, 2, 1, 1},
    {1, 2, 1, 1, 1, 1, 1, 1, 1, 2, 3, 1, 1, 1}, {1, 2, 1, 1, 1, 1, 1, 2, 1, 1, 3, 1, 1, 1},
    {1, 2, 1, 1, 1, 2, 1, 1, 1, 1, 3, 1, 1, 1}, {1, 2, 1, 2, 1, 1, 1, 1, 1, 1, 3, 1, 1, 1},
    {1, 3, 1, 1, 1, 1, 1, 1, 1, 1, 3, 1, 1, 1}, {1, 1, 1, 1, 1, 1, 1, 1, 2, 1, 2, 3, 1, 1},
    {1, 1, 1, 1, 1, 1, 1, 1, 2, 2, 2, 2, 1, 1}, {1, 1, 1, 1, 1, 1, 1, 1, 2, 3, 2, 1, 1, 1},
    {1, 1, 1, 1, 1, 1, 1, 2, 2, 1, 2, 2, 1, 1}, {1, 1, 1, 1, 1, 1, 1, 2, 2, 2, 2, 1, 1, 1},
    {1, 1, 1, 1, 1, 1, 1, 3, 2, 1, 2, 1, 1, 1}, {1, 1, 1, 1, 1, 2, 1, 1, 2, 1, 2, 2, 1, 1},
    {1, 1, 1, 1, 1, 2, 1, 1, 2, 2, 2, 1, 1, 1}, {1, 1, 1, 1, 1, 2, 1, 2, 2, 1, 2, 1, 1, 1},
    {1, 1, 1, 1, 1, 3, 1, 1, 2, 1, 2, 1, 1, 1}, {1, 1, 1, 2, 1, 1, 1, 1, 2, 1, 2, 2, 1, 1},
    {1, 1, 1, 2, 1, 1, 1, 1, 2, 2, 2, 1, 1, 1}, {1, 1, 1, 2, 1, 1, 1, 2, 2, 1, 2, 1, 1, 1},
    {1, 1, 1, 2, 1, 2, 1, 1, 2, 1, 2, 1, 1, 1}, {1, 1, 1, 3, 1, 1, 1, 1, 2, 1, 2, 1, 1, 1},
    {1, 2, 1, 1, 1, 1, 1, 1, 2, 1, 2, 2, 1, 1}, {1, 2, 1, 1, 1, 1, 1, 1, 2, 2, 2, 1, 1, 1},
    {1, 2, 1, 1, 1, 1, 1, 2, 2, 1, 2, 1, 1, 1}, {1, 2, 1, 1, 1, 2, 1, 1, 2, 1, 2, 1, 1, 1},
    {1, 2, 1, 2, 1, 1, 1, 1, 2, 1, 2, 1, 1, 1}, {1, 3, 1, 1, 1, 1, 1, 1, 2, 1, 2, 1, 1, 1},
    {1, 1, 1, 1, 1, 1, 1, 1, 3, 1, 1, 3, 1, 1}, {1, 1, 1, 1, 1, 1, 1, 1, 3, 2, 1, 2, 1, 1},
    {1, 1, 1, 1, 1, 1, 1, 2, 3, 1, 1, 2, 1, 1}, {1, 1, 1, 2, 1, 1, 1, 1, 3, 1, 1, 2, 1, 1},
    {1, 2, 1, 1, 1, 1, 1, 1, 3, 1, 1, 2, 1, 1}, {1, 1, 1, 1, 1, 1, 2, 1, 1, 1, 2, 3, 1, 1},
    {1, 1, 1, 1, 1, 1, 2, 1, 1, 2, 2, 2, 1, 1}, {1, 1, 1, 1, 1, 1, 2, 1, 1, 3, 2, 1, 1, 1},
    {1, 1, 1, 1, 1, 1, 2, 2, 1, 1, 2, 2, 1, 1}, {1, 1, 1, 2, 1, 1, 2, 1, 1, 1, 2, 2, 1, 1},
    {1, 1, 1, 2, 1, 1, 2, 1, 1, 2, 2, 1, 1, 1}, {1, 1, 1, 2, 1, 1, 2, 2, 1, 1, 2, 1, 1, 1},
    {1, 1, 1, 2, 1, 2, 2, 1, 1, 1, 2, 1, 1, 1}, {1, 1, 1, 3, 1, 1, 2, 1, 1, 1, 2, 1, 1, 1},
    {1, 2, 1, 1, 1, 1, 2, 1, 1, 1, 2, 2, 1, 1}, {1, 2, 1, 1, 1, 1, 2, 1, 1, 2, 2, 1, 1, 1},
    {1, 2, 1, 2, 1, 1, 2, 1, 1, 1, 2, 1, 1, 1}, {1, 1, 1, 1, 2, 1, 1, 1, 1, 1, 2, 3, 1, 1},
    {1, 1, 1, 1, 2, 1, 1, 1, 1, 2, 2, 2, 1, 1}, {1, 1, 1, 1, 2, 1, 1, 1, 1, 3, 2, 1, 1, 1},
    {1, 1, 1, 1, 2, 1, 1, 2, 1, 1, 2, 2, 1, 1}, {1, 1, 1, 1, 2, 1, 1, 2, 1, 2, 2, 1, 1, 1},
    {1, 1, 1, 1, 2, 2, 1, 1, 1, 1, 2, 2, 1, 1}, {1, 2, 1, 1, 2, 1, 1, 1, 1, 1, 2, 2, 1, 1},
    {1, 2, 1, 1, 2, 1, 1, 1, 1, 2, 2, 1, 1, 1}, {1, 2, 1, 1, 2, 1, 1, 2, 1, 1, 2, 1, 1, 1},
    {1, 2, 1, 1, 2, 2, 1, 1, 1, 1, 2, 1, 1, 1}, {1, 2, 1, 2, 2, 1, 1, 1, 1, 1, 2, 1, 1, 1},
    {1, 3, 1, 1, 2, 1, 1, 1, 1, 1, 2, 1, 1, 1}, {1, 1, 2, 1, 1, 1, 1, 1, 1, 1, 2, 3, 1, 1},
    {1, 1, 2, 1, 1, 1, 1, 1, 1, 2, 2, 2, 1, 1}, {1, 1, 2, 1, 1, 1, 1, 1, 1, 3, 2, 1, 1, 1},
    {1, 1, 2, 1, 1, 1, 1, 2, 1, 1, 2, 2, 1, 1}, {1, 1, 2, 1, 1, 1, 1, 2, 1, 2, 2, 1, 1, 1},
    {1, 1, 2, 1, 1, 1, 1, 3, 1, 1, 2, 1, 1, 1}, {1, 1, 2, 1, 1, 2, 1, 1, 1, 1, 2, 2, 1, 1},
    {1, 1, 2, 1, 1, 2, 1, 1, 1, 2, 2, 1, 1, 1}, {1, 1, 2, 2, 1, 1, 1, 1, 1, 1, 2, 2, 1, 1},
    {2, 1, 1, 1, 1, 1, 1, 1, 1, 2, 2, 2, 1, 1}, {2, 1, 1, 1, 1, 1, 1, 1, 1, 3, 2, 1, 1, 1},
    {2, 1, 1, 1, 1, 1, 1, 2, 1, 1, 2, 2, 1, 1}, {2, 1, 1, 1, 1, 1, 1, 2, 1, 2, 2, 1, 1, 1},
    {2, 1, 1, 1, 1, 1, 1, 3, 1, 1, 2, 1, 1, 1}, {2, 1, 1, 1, 1, 2, 1, 1, 1, 2, 2, 1, 1, 1},
    {2, 1, 1, 1, 1, 2, 1, 2, 1, 1, 2, 1, 1, 1}, {2, 1, 1, 2, 1, 1, 1, 1, 1, 2, 2, 1, 1, 1},
    {2, 1, 1, 1, 1, 1, 1, 1, 2, 2, 1, 2, 1, 1},
};

constexpr int32_t kRowHeight = 10;    // modules
constexpr int32_t kRightQuiet = 5;    // light modules after the right guard
constexpr int32_t kSeparatorEnd = 5;  // a separator ends in at least 4 light modules
constexpr int32_t kEndLight = 4;
constexpr int32_t kCcRowsA3 = 8;  // more rows make a CC-B component
// Under the wider CC-B component the separator and the linear row stand this
// many modules right of the component's left edge (ISO/IEC 24723).
constexpr int32_t kCcbLinearOffset = 10;

// The linear row: guards, the elements, guards and the light modules that
// must follow them, light first.
PrintRow linearRow(const RssParams& params, const uint8_t* elements) {
    PrintRow row;
    int32_t n = 0;
    row.elements[n++] = 1;
    row.elements[n++] = 1;
    for (int32_t i = 0; i < kLimElements; ++i) row.elements[n++] = elements[i];
    row.elements[n++] = 1;
    row.elements[n++] = 1;
    row.elements[n++] = kRightQuiet;
    row.elmCnt = n;
    row.whtFirst = true;
    row.height = kRowHeight * params.pixMult;
    return row;
}

}  // namespace

int32_t RSSLimEnc(const char* digits13, uint8_t* elements, int32_t linkage) {
    int64_t value = 0;
    for (int32_t i = 0; i < kLimDigits; ++i) value = value * 10 + (digits13[i] - '0');
    if (value > kLimMaxValue) return 0;
    if (linkage) value += kLinkageOffset;
    dataBarCharWidths(kGroups, static_cast<int32_t>(value / kCharValues), kHalfElements, true,
                      elements);
    dataBarCharWidths(kGroups, static_cast<int32_t>(value % kCharValues), kHalfElements, true,
                      elements + 2 * kLimCharElements);
    int32_t checksum = 0;
    for (int32_t i = 0; i < kLimCharElements; ++i) {
        checksum += kWeights[i] * elements[i];
        checksum += kWeights[kLimCharElements + i] * elements[2 * kLimCharElements + i];
    }
    checksum %= kCheckModulus;
    std::memcpy(elements + kLimCharElements, kCheckPatterns[checksum], kLimCharElements);
    return 1;
}

const PrintRow& separatorLim(const RssParams& params, const uint8_t* elements) {
    static PrintRow sep;
    sep = PrintRow{};
    sep.whtFirst = true;
    sep.height = params.sepHt * params.pixMult;
    // The runs over the row's guards and elements, the first one dark.
    uint8_t runs[kLimElements + 4];
    int32_t n = 0;
    runs[n++] = 1;
    runs[n++] = 1;
    for (int32_t i = 0; i < kLimElements; ++i) runs[n++] = elements[i];
    runs[n++] = 1;
    runs[n++] = 1;

    int32_t count = 0;
    int32_t s = 0;
    int32_t k = 0;
    while (s < kSeparatorEnd) s += runs[k++];
    if (k % 2 == 1) {
        sep.elements[count++] = kEndLight;
        sep.elements[count++] = static_cast<uint8_t>(s - kEndLight);
    } else {
        sep.elements[count++] = static_cast<uint8_t>(s);
    }
    for (; k < n; ++k) sep.elements[count++] = runs[k];
    s = 0;
    while (s < kSeparatorEnd) s += sep.elements[--count];
    if (count % 2 == 0) {
        sep.elements[count++] = static_cast<uint8_t>(s);
    } else {
        sep.elements[count++] = static_cast<uint8_t>(s - kEndLight);
        sep.elements[count++] = kEndLight;
    }
    sep.elmCnt = count;
    return sep;
}

void RSSLim(RssParams& params) {
    char* component = std::strchr(params.data, '|');
    if (component != nullptr) *component++ = 0;
    const size_t n = std::strlen(params.data);
    if (n > static_cast<size_t>(kLimDigits)) {
        Message(71);
        gMsg.inerror = 1;
        gRss.errFlag = 1;
        return;
    }
    if (!linearPresent(params.data, kItemNumber)) return;
    if (std::strspn(params.data, "0123456789") != n) {
        rssRefuse("DataBar Limited encodes digits only. Remove the other characters.");
        return;
    }
    if (!componentPresent(component)) return;
    char digits[kLimDigits + 1];
    std::memset(digits, '0', kLimDigits);
    std::memcpy(digits + kLimDigits - n, params.data, n);
    digits[kLimDigits] = 0;

    uint8_t elements[kLimElements];
    if (!RSSLimEnc(digits, elements, component != nullptr)) {
        rssRefuse(
            "The number is too large for DataBar Limited: it must be below 2000000000000 "
            "(a GTIN that starts with 0 or 1). Choose DataBar 14 for other GTINs.");
        return;
    }
    PrintRow linear = linearRow(params, elements);
    if (component != nullptr) {
        const int32_t rows = CC3enc(component);
        if (rows == 0 || gRss.errFlag) return;
        if (rows > kCcRowsA3) linear.offset = kCcbLinearOffset;
        for (int32_t r = 0; r < rows; ++r) {
            PrintRow row;
            row.elmCnt = rows <= kCcRowsA3 ? kCcRowElementsA3 : kCcRowElementsB3;
            std::memcpy(row.elements, gCc.ccPattern[r], static_cast<size_t>(row.elmCnt));
            row.whtFirst = true;
            row.height = kCcRowHeight * params.pixMult;
            printElmnts(params, row);
        }
        PrintRow separator = separatorLim(params, elements);
        separator.offset = linear.offset;
        printElmnts(params, separator);
    }
    printElmnts(params, linear);
}
