// The SICK code: a number in base 2, most significant digit first, a thick bar
// for 1 and a thin bar for 0, in the pharmacode's bar and space bytes.
#include <cstring>

#include "symbology/elementbytes.h"
#include "symbology/encoders.h"
#include "symbology/messages.h"
#include "symbology/rows.h"
#include "symbology/state.h"

namespace {

using namespace elem;

constexpr int32_t kLeastValue = 1;
constexpr int32_t kMostValue = 32767;
// Without a bit count the first bar is the highest power of two up to the value.
constexpr int32_t kLargestStartWeight = 16384;
constexpr int32_t kMostBits = 16;

// The decimal value of s[0..n) read digit by digit, or -1 when it is empty,
// holds a character other than a digit, or exceeds `most`.
int32_t readNumber(const char* s, int32_t n, int32_t most) {
    if (n <= 0) return -1;
    int32_t v = 0;
    for (int32_t i = 0; i < n; ++i) {
        if (s[i] < '0' || s[i] > '9') return -1;
        v = v * 10 + (s[i] - '0');
        if (v > most) return -1;
    }
    return v;
}

void bar(bool thick) {
    const unsigned char bw = static_cast<unsigned char>(gSym.BW);
    if (thick) putN(kModuleBar, 2);
    gEl.put(static_cast<unsigned char>(kModuleBar + bw));
    gEl.put(kSpace2000);
}

}  // namespace

int32_t onSick() {
    gData.len1 = static_cast<int32_t>(strnlen(gData.chMainCode, kMainCodeSize - 1));
    int32_t v = readNumber(gData.chMainCode, gData.len1, kMostValue);
    if (v < kLeastValue)
        return refuseSymbol(
            "A SICK code holds a whole number from 1 to 32767. Correct the data and try again.");
    // A bit count of 0 (or none) lets the value choose the number of bars.
    const int32_t bits = gData.len2 > 0 ? readNumber(gData.chAddCode, gData.len2, kMostBits) : 0;
    if (bits < 0)
        return refuseSymbol(
            "The bit count of a SICK code is a whole number from 1 to 16. Correct it and try "
            "again.");
    int32_t weight = kLargestStartWeight;
    if (bits > 0) {
        if (v >= (1 << bits))
            return refuseSymbol(
                "The number needs more bars than the bit count gives. Raise the bit count.");
        weight = 1 << (bits - 1);
    } else {
        while (weight > v) weight /= 2;
    }
    for (; weight >= 1; weight /= 2) {
        const bool one = v >= weight;
        if (one) v -= weight;
        bar(one);
    }
    Vector(kRowUnit20pt);
    if (gSym.human == 1) Humans1();
    return gEl.overflow ? 1 : 0;
}
