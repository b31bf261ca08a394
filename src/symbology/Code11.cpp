// Code 11: the digits and the dash as typed between the '*' start and stop the
// data holds at its ends; no check character and no light margin.
#include "symbology/Code11.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "symbology/encoders.h"
#include "symbology/messages.h"
#include "symbology/rows.h"
#include "symbology/state.h"

namespace {

// The five elements of each character (bar first, '1' wide).
constexpr char kCode11Chars[] = "0123456789-*";
constexpr char kCode11Patterns[][6] = {"00001", "10001", "01001", "11000", "00101", "10100",
                                       "01100", "00011", "10010", "10000", "00100", "00110"};
static_assert(sizeof kCode11Chars - 1 == sizeof kCode11Patterns / sizeof kCode11Patterns[0]);

// The fixed 2.5 : 1 element bytes.
constexpr unsigned char kNarrowBar = 130, kWideBar = 140;
constexpr unsigned char kNarrowSpace = 128, kWideSpace = 129;

constexpr char kStartStop = '*';
constexpr int32_t kShortest = 3;  // start, one character, stop

int32_t indexOf(unsigned char c) {
    const char* p = c != 0 ? std::strchr(kCode11Chars, c) : nullptr;
    return p ? static_cast<int32_t>(p - kCode11Chars) : -1;
}

// A reader finds the symbol by its start and stop: without them nothing reads
// it, and one inside the data ends the symbol early.
bool startAndStopAtEnds() {
    const int32_t n = gData.len1;
    bool sound = n >= kShortest && gData.chMainCode[0] == kStartStop &&
                 gData.chMainCode[n - 1] == kStartStop;
    for (int32_t i = 1; sound && i < n - 1; ++i) sound = gData.chMainCode[i] != kStartStop;
    if (!sound)
        refuseSymbol(
            "Code 11 data must begin and end with the start and stop character *, with none "
            "between them and at least one character inside, such as \"*123-45*\".");
    return sound;
}

}  // namespace

void Cod11(int32_t i) {
    if (i < 0 || i >= static_cast<int32_t>(kMainCodeSize)) return;
    const int32_t k = indexOf(static_cast<unsigned char>(gData.chMainCode[i]));
    if (k < 0) return;
    const auto bw = static_cast<unsigned char>(gSym.BW);
    for (int32_t e = 0; e < 5; ++e) {
        const bool wide = kCode11Patterns[k][e] == '1';
        if (e % 2 == 0)
            gEl.put(static_cast<unsigned char>((wide ? kWideBar : kNarrowBar) + bw));
        else
            gEl.put(wide ? kWideSpace : kNarrowSpace);
    }
    gEl.put(kNarrowSpace);
}

int32_t Code11() {
    gData.len1 = std::clamp<int32_t>(gData.len1, 0, kMainCodeSize - 1);
    for (int32_t i = 0; i < gData.len1; ++i) {
        const unsigned char c = static_cast<unsigned char>(gData.chMainCode[i]);
        if (indexOf(c) >= 0) continue;
        char text[200];
        std::snprintf(text, sizeof text,
                      "Code 11 cannot encode \"%c\". Use digits, - and * (the start and stop "
                      "character).",
                      quotedChar(c));
        return refuseSymbol(text);
    }
    if (!startAndStopAtEnds()) return 1;
    for (int32_t i = 0; i < gData.len1; ++i) Cod11(i);
    Vector(kRowUnit10pt);
    if (gSym.human == 1) Humans1();
    return gEl.overflow ? 1 : 0;
}
