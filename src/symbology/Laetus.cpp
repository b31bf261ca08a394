// The Laetus pharmacode: one number as a row of thin and thick bars. A thin bar
// at place p (from the right, from 0) is worth 2^p, a thick one 2 x 2^p.
#include "symbology/Laetus.h"

#include <cstdio>
#include <cstring>

#include "symbology/codebars.h"
#include "symbology/elementbytes.h"
#include "symbology/encoders.h"
#include "symbology/messages.h"
#include "symbology/rows.h"
#include "symbology/state.h"

namespace {

using namespace elem;

// The one-track pharmacode's range: two thin bars to sixteen thick ones.
constexpr int32_t kLeastPharmacode = 3;
constexpr int32_t kMostPharmacode = 131070;
constexpr int32_t kMostBars = 16;

constexpr int32_t kMini = 1;
constexpr int32_t kBarInput = 2;
constexpr int32_t kStandard = 0;

// Background ink above which the last bar stands clear of a wider space.
constexpr int32_t kDarkBackground = 60;

void thinBar() {
    const unsigned char bw = static_cast<unsigned char>(gSym.BW);
    gEl.put(static_cast<unsigned char>((gSym.variation1 == kMini ? kBar1Module : kModuleBar) + bw));
}

void thickBar() {
    const unsigned char bw = static_cast<unsigned char>(gSym.BW);
    if (gSym.variation1 == kMini) {
        gEl.put(static_cast<unsigned char>(kBar3Modules + bw));
        return;
    }
    putN(kModuleBar, 2);
    gEl.put(static_cast<unsigned char>(kModuleBar + bw));
}

void barSpace() { gEl.put(gSym.variation1 == kMini ? kSpace2Modules : kSpace2000); }

// The decimal value of s[0..n), or -1 when it is not all digits or lies above
// the pharmacode's range (read digit by digit, never past that range).
int64_t readValue(const char* s, int32_t n) {
    if (n <= 0) return -1;
    int64_t v = 0;
    for (int32_t i = 0; i < n; ++i) {
        if (s[i] < '0' || s[i] > '9') return -1;
        v = v * 10 + (s[i] - '0');
        if (v > kMostPharmacode) v = kMostPharmacode + 1;
    }
    return v;
}

bool inRange(int64_t v) { return v >= kLeastPharmacode && v <= kMostPharmacode; }

int32_t refuse() {
    return refuseSymbol(
        "A Laetus pharmacode holds a whole number from 3 to 131070 (2 to 16 bars). Correct "
        "the data and try again.");
}

// The space in front of the last bar is widened, so that the last bar stands
// clear on a dark background.
void widenLastSpace() {
    int32_t i = gEl.cu_len - 1;
    while (i >= 0 && charToWidth(gEl.chNum[i]) < 0) --i;
    while (i >= 0 && charToWidth(gEl.chNum[i]) > 0) --i;
    gRows.glastbar[0] = i + 1;
    if (i >= 0) gEl.chNum[i] = gSym.variation1 == kStandard ? kSpace3000 : kSpace3Modules;
}

}  // namespace

int64_t pharmacodedecode(const char* pattern, int32_t n) {
    int64_t v = 0;
    for (int32_t i = n - 1, p = 0; i >= 0; --i, ++p) {
        if (p > kMostBars) return kMostPharmacode + 1;  // more bars than the code has
        v += (pattern[i] == '0' ? int64_t{1} : int64_t{2}) << p;
    }
    return v;
}

void getLaetus(int32_t value) {
    // From the right: an odd remainder needs a thin bar, an even one a thick bar.
    bool thick[kMostBars + 1];
    int32_t n = 0;
    while (value > 0 && n <= kMostBars) {
        thick[n] = value % 2 == 0;
        value = (value - (thick[n] ? 2 : 1)) / 2;
        ++n;
    }
    for (int32_t i = n - 1; i >= 0; --i) {
        thick[i] ? thickBar() : thinBar();
        barSpace();
    }
}

int32_t onLaetus() {
    char* d = gData.chMainCode;
    const int32_t len = static_cast<int32_t>(strnlen(d, kMainCodeSize - 1));
    // Only the first number is encoded and printed (with the blanks behind it).
    int32_t runEnd = 0;
    while (runEnd < len && d[runEnd] != ' ') ++runEnd;
    int32_t i = runEnd;
    while (i < len && d[i] == ' ') ++i;
    gData.len1 = len;
    if (i < len) {
        gData.len1 = i;
        gData.len11 = i;
    }

    int64_t value = -1;
    if (gSym.variation1 == kBarInput) {
        if (runEnd == 0 || !allDigits(d, runEnd)) return refuse();
        value = pharmacodedecode(d, runEnd);
        if (!inRange(value)) return refuse();
        std::snprintf(d, kMainCodeSize, "%d", static_cast<int32_t>(value));
        gData.len1 = gData.len11 = static_cast<int32_t>(std::strlen(d));
    } else {
        value = readValue(d, runEnd);
        if (!inRange(value)) return refuse();
    }
    getLaetus(static_cast<int32_t>(value));

    if (gData.len2 > 0) {
        const int64_t second = readValue(gData.chAddCode, gData.len2);
        if (!inRange(second)) return refuse();
        getLaetus(static_cast<int32_t>(second));
    }
    if (gSym.transpar_ent == 1 &&
        (gSym.cyan22 > kDarkBackground || gSym.magenta22 > kDarkBackground))
        widenLastSpace();
    Vector(kRowUnit20pt);
    if (gSym.human == 1) Humans1();
    return gEl.overflow ? 1 : 0;
}
