#include "databar/RSSENC.h"

#include <cstring>
#include <string>

#include "databar/CC.h"
#include "symbology/GS1AI.h"
#include "symbology/codebars.h"
#include "symbology/messages.h"
#include "symbology/encoders.h"
#include "symbology/rows.h"

RssState gRss;

void resetDataBarState() {
    gRss = RssState{};
    gCc = CcState{};
}

namespace {

constexpr int32_t kGtinDigits = 13;
constexpr int32_t kEndLight = 4;        // light modules at either end of a separator
constexpr int32_t kFinderElements = 5;  // the elements of a finder pattern
constexpr int32_t kSeparatorMaxModules = 4 * kRssMaxRowElements;

// The printed text of DataBar-14 and Limited: "(01)", the 13 digits of the
// linear data padded with zeros, and their check digit.
void writeGtinText(const char* data) {
    size_t n = strcspn(data, "|");
    if (n > static_cast<size_t>(kGtinDigits)) n = kGtinDigits;
    char text[4 + kGtinDigits + 2] = "(01)";
    char* digits = text + 4;
    std::memset(digits, '0', kGtinDigits);
    std::memcpy(digits + kGtinDigits - n, data, n);
    digits[kGtinDigits] = calcheck2(digits, kGtinDigits + 1);
    digits[kGtinDigits + 1] = 0;
    copyBounded(gData.chMainCode2, text);
    gData.len11 = static_cast<int32_t>(std::strlen(gData.chMainCode2));
}

// The segments per row that the options text of Expanded Stacked asks for:
// 4 for an empty text, 0 for one that is no number of one or two digits (the
// encoder refuses 0, as it does every count that is no even number from 2 to
// 20). Blanks and the return that closed the field are no part of it.
int32_t segmentsOption(const char* text) {
    constexpr size_t kMaxDigits = 2;
    size_t n = strnlen(text, kAddCodeSize);
    while (n > 0 && (text[n - 1] == ' ' || text[n - 1] == '\r')) --n;
    while (n > 0 && text[0] == ' ') ++text, --n;
    if (n == 0) return kRssStackedSegments;
    if (n > kMaxDigits) return 0;
    int32_t v = 0;
    for (size_t k = 0; k < n; ++k) {
        if (!isDigit(text[k])) return 0;
        v = v * 10 + (text[k] - '0');
    }
    return v;
}

void runEncoder(RssParams& params) {
    switch (params.kind) {
        case kRssOmni:
        case kRssTruncated:
            RSS14(params);
            break;
        case kRssStacked:
            RSS14S(params);
            break;
        case kRssStackedOmni:
            RSS14SO(params);
            break;
        case kRssLimited:
            RSSLim(params);
            break;
        case kRssExpanded:
            RSSExp(params);
            break;
        default:
            rssRefuse("This DataBar type does not exist. Choose another DataBar type.");
            break;
    }
}

}  // namespace

void rssRefuse(const char* text) {
    MessageText(text);
    gMsg.inerror = 1;
    gRss.errFlag = 1;
}

bool linearPresent(const char* linear, const char* linearName) {
    if (linear[0] != 0) return true;
    const std::string text =
        std::string("A DataBar symbol needs ") + linearName + " before any '|'.";
    rssRefuse(text.c_str());
    return false;
}

bool componentPresent(const char* component) {
    if (component == nullptr || component[0] != 0) return true;
    rssRefuse("There is no composite data after the '|'. Add it, or remove the '|'.");
    return false;
}

void setparams(RssParams* params) {
    *params = RssParams{};
    copyBounded(params->data, gData.chMainCode);
}

int32_t mainRSS14A(int32_t kind) {
    gEl.clear();
    resetDataBarState();
    static RssParams params;  // large; one symbol at a time
    setparams(&params);
    params.kind = kind;
    if (kind == kRssExpanded && (gSym.variation1 == 6 || gSym.variation1 == 7))
        params.segWidth = segmentsOption(gData.chAddCode);
    runEncoder(params);
    if (gRss.errFlag) {
        gEl.clear();
        gRss.rowCount = 0;
        return 1;
    }
    if (kind >= kRssOmni && kind <= kRssLimited) writeGtinText(gData.chMainCode);
    if (gSym.human == 1) Humans1();
    return gEl.overflow ? 1 : 0;
}

void printEPSElm(int32_t width, bool dark) {
    for (int32_t i = 0; i < width; ++i) gEl.put(dark ? kDarkModule : kLightModule);
}

void printElmnts(const RssParams& params, const PrintRow& row) {
    const int32_t p = params.pixMult;
    bool dark = !row.whtFirst;
    if (row.reverse && row.elmCnt % 2 == 0) dark = !dark;
    // The undercut is given to light and taken from dark modules.
    auto u = [&](bool isDark) { return isDark ? -params.Xundercut : params.Xundercut; };
    auto element = [&](int32_t i) {
        return static_cast<int32_t>(row.elements[row.reverse ? row.elmCnt - 1 - i : i]);
    };
    if (row.guards) {
        printEPSElm(p + u(dark), dark);
        printEPSElm(p - u(dark), !dark);
    }
    int32_t i = 0;
    for (; i < row.elmCnt - 1; i += 2) {
        printEPSElm(element(i) * p + u(dark), dark);
        printEPSElm(element(i + 1) * p - u(dark), !dark);
    }
    if (row.elmCnt % 2 == 1) {
        if (row.guards) {
            printEPSElm(element(i) * p + u(dark), dark);
            printEPSElm(p - u(dark), !dark);
            printEPSElm(p, dark);
        } else {
            printEPSElm(element(i) * p, dark);
        }
    } else if (row.guards) {
        printEPSElm(p + u(dark), dark);
        printEPSElm(p - u(dark), !dark);
    }
    for (int32_t k = 0; k < params.Yundercut; ++k) gEl.put(kRowEnd);
    gEl.put(kRowEnd);
    if (gRss.rowCount < kRssMaxRows) {
        gRss.rowHeight[gRss.rowCount] = row.height / p;
        gRss.rowOffset[gRss.rowCount++] = row.offset;
    }
}

int32_t combins(int32_t n, int32_t r) {
    int32_t minDenom, maxDenom;
    if (n - r > r) {
        minDenom = r;
        maxDenom = n - r;
    } else {
        minDenom = n - r;
        maxDenom = r;
    }
    int32_t val = 1;
    int32_t j = 1;
    for (int32_t i = n; i > maxDenom; --i) {
        val *= i;
        if (j <= minDenom) val /= j++;
    }
    for (; j <= minDenom; ++j) val /= j;
    return val;
}

const int32_t* getRSSwidths(int32_t value, int32_t modules, int32_t elements, int32_t maxWidth,
                            int32_t noNarrow) {
    static int32_t widths[kRssMaxRowElements];
    int32_t narrowMask = 0;
    int32_t bar = 0;
    for (; bar < elements - 1; ++bar) {
        int32_t width = 1;
        int32_t subVal = 0;
        narrowMask |= 1 << bar;
        for (;; ++width, narrowMask &= ~(1 << bar)) {
            // The patterns whose element `bar` has this width.
            subVal = combins(modules - width - 1, elements - bar - 2);
            // Less those without a narrow element, when one is required.
            if (!noNarrow && !narrowMask &&
                modules - width - (elements - bar - 1) >= elements - bar - 1)
                subVal -= combins(modules - width - (elements - bar), elements - bar - 2);
            // Less those with an element wider than allowed.
            if (elements - bar - 1 > 1) {
                int32_t lessVal = 0;
                for (int32_t wide = modules - width - (elements - bar - 2); wide > maxWidth; --wide)
                    lessVal += combins(modules - width - wide - 1, elements - bar - 3);
                subVal -= lessVal * (elements - 1 - bar);
            } else if (modules - width > maxWidth) {
                --subVal;
            }
            value -= subVal;
            if (value < 0) break;
        }
        value += subVal;
        modules -= width;
        widths[bar] = width;
    }
    widths[bar] = modules;
    return widths;
}

void dataBarCharWidths(std::span<const DataBarGroup> groups, int32_t value, int32_t half,
                       bool oddNoNarrow, uint8_t* out) {
    const DataBarGroup* g = &groups.front();
    for (const DataBarGroup& cand : groups)
        if (value >= cand.first) g = &cand;
    value -= g->first;
    const int32_t* odd = getRSSwidths(value / g->evenCombinations, g->oddModules, half,
                                      g->oddWidest, oddNoNarrow ? 1 : 0);
    for (int32_t i = 0; i < half; ++i) out[2 * i] = static_cast<uint8_t>(odd[i]);
    const int32_t* even = getRSSwidths(value % g->evenCombinations, g->evenModules, half,
                                       g->evenWidest, oddNoNarrow ? 0 : 1);
    for (int32_t i = 0; i < half; ++i) out[2 * i + 1] = static_cast<uint8_t>(even[i]);
}

const PrintRow& cnvSeparator(const RssParams& params, const PrintRow& row) {
    static PrintRow sep;
    static bool dark[kSeparatorMaxModules];
    static int32_t elementStart[kRssMaxRowElements + 1];
    sep = PrintRow{};
    sep.whtFirst = true;
    sep.reverse = row.reverse;
    sep.offset = row.offset;
    sep.height = params.sepHt * params.pixMult;
    // The row's modules, guards included, in element order.
    int32_t n = 0;
    auto put = [&](int32_t width, bool isDark) {
        for (int32_t k = 0; k < width && n < kSeparatorMaxModules; ++k) dark[n++] = isDark;
    };
    bool colour = !row.whtFirst;
    put(1, colour);
    put(1, !colour);
    for (int32_t i = 0; i < row.elmCnt; ++i) {
        elementStart[i] = n;
        put(row.elements[i], colour);
        colour = !colour;
    }
    elementStart[row.elmCnt] = n;
    put(1, colour);
    put(1, !colour);
    // The other colour, then single modules over the finders' light runs.
    bool light[kSeparatorMaxModules];
    for (int32_t x = 0; x < n; ++x) light[x] = dark[x];
    for (int32_t f = 0; f < row.finderCount; ++f) {
        const int32_t at = row.finderAt[f];
        if (at < 0 || at + kFinderElements > row.elmCnt) continue;
        for (int32_t x = elementStart[at] + 1; x < elementStart[at + kFinderElements]; ++x)
            if (!dark[x - 1] && !dark[x] && !light[x - 1]) light[x] = true;
        // A mirrored finder (1, 1, c, 1, a) in a row that starts dark: its single
        // light module stays light and the first module of a turns dark.
        const bool mirrored = row.elements[at] == 1 && row.elements[at + 1] == 1;
        if (mirrored && !row.whtFirst && row.elements[at + 3] == 1) {
            const int32_t b = elementStart[at + 3];
            light[b] = true;
            light[b + 1] = false;
        }
    }
    for (int32_t x = 0; x < kEndLight && x < n; ++x) light[x] = light[n - 1 - x] = true;
    // As runs, light first.
    int32_t count = 0;
    int32_t run = 0;
    bool runLight = true;
    for (int32_t x = 0; x < n; ++x) {
        if (light[x] != runLight) {
            if (count < kRssMaxRowElements) sep.elements[count++] = static_cast<uint8_t>(run);
            runLight = light[x];
            run = 0;
        }
        ++run;
    }
    if (count < kRssMaxRowElements) sep.elements[count++] = static_cast<uint8_t>(run);
    sep.elmCnt = count;
    return sep;
}

int32_t DataBar(int32_t symbolKind) { return mainRSS14A(symbolKind); }
