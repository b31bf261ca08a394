#include <iterator>
#include <string>

#include "platform/numbers.h"
#include "symbology/panels.h"
#include "symbology/state.h"

PanelFields gPanels;

void resetPanels() {
    // Assigned from a kept copy, every text and line table keeps its storage: a
    // command-line run resets the fields for each record without a heap allocation.
    static const PanelFields kStart;
    gPanels = kStart;
}

void inscolour(int32_t n, const unsigned char* pstr) {
    platform::TERec* fields[] = {&gPanels.TECyan, &gPanels.TEMage, &gPanels.TEYell,
                                 &gPanels.TEBlac};
    if (!pstr || n < 0 || n >= static_cast<int32_t>(std::size(fields))) return;
    const std::string text(reinterpret_cast<const char*>(pstr + 1), pstr[0]);
    platform::SetWindowText(fields[n], text.c_str());
}

namespace {

constexpr double kInchesPerMillimetre = 0.03937007874015748;

struct SizeHeight {
    double siz;
    double hei;
};

SizeHeight familyDefaults(int code, int v) {
    switch (code) {
        case 0:
        case 1:
        case 2:
        case 10:
        case 11:
        case 26:
            if (code == 0 && v == 2) return {80, 15};
            if (code == 0 && v == 3) return {100, 15};
            return {100, 26.26};
        case 3:
        case 16:
        case 28:
            return {100, 22};
        case 4:
        case 5:
        case 6:
        case 7:
        case 8:
        case 12:
        case 17:
        case 23:
        case 32:
            return {100, 33};
        case 9:
            return {100, 5};
        case 13:
        case 15:
        case 19:
        case 20:
        case 35:
            return v == 1 ? SizeHeight{48, 15} : SizeHeight{100, 15};
        case 14:
        case 38:
        case 39:
            return {100, 10};
        case 18:
            return {60, 56};
        case 22:
            return {100, 96};
        case 24:
            return {50, 15};
        case 25:
            return {100, 12};
        case 29:
            return {50, 14};
        case 30:
            return {50, 10};
        case 31:
            return {50, 3};
        case 42:
            return {100, 40};
        default:
            return {100, 15};
    }
}

// The variant rows of the 33 mm group, in the order they are applied.
void variantDefaults(int code, int v) {
    if (code == 6 && v == 3) gSym.Siz = 26, gSym.Hei = 12;
    if (code == 6 && (v == 6 || v == 7)) gSym.Siz = 22, gSym.Hei = 15;
    if (code == 6 && v == 14) gSym.Siz = 80, gSym.Hei = 35, gSym.customTeSize = 18;
    if (code == 4 && (v == 2 || v == 14)) gSym.Siz = 30, gSym.Hei = 15;
    if (code == 4 && v == 7) gSym.Siz = 28.8, gSym.Hei = 7, gSym.human = 0;
    if (code == 4 && v == 8) gSym.Siz = 28.8, gSym.Hei = 7, gSym.human = 1;
    if (code == 5 && v == 7) gSym.Siz = 38, gSym.Hei = 12;
    if (code == 7 && v == 14) gSym.Siz = 50, gSym.Hei = 26;
    if (code == 17 && v == 0) gSym.Siz = 100, gSym.Hei = 22, gSym.human = 0;
    if (code == 17 && v == 1) gSym.Hei = 13;
    if (code == 5 && v == 13) gSym.Siz = 40, gSym.Hei = 30;
    if (code == 7 && v == 15) {
        gSym.Siz = 120;
        gSym.Hei = 60;
        gSym.customTeSize = 22;
        gSym.para = 1;
        gSym.end_bars = 1;
        gSym.line = 4;
        gSym.non_light = 1;
        gSym.extraMargin = 20;
    }
    if (code == 4 && v == 11) gSym.Hei = 50;
    if (code == 4 && v == 12) {
        gSym.attTop = 1;
        gSym.non_light = 0;
        gSym.variation1 = 0;
    }
}

}  // namespace

double typeOwnHeight() {
    const SymbolSettings savedSym = gSym;
    const PanelFields savedPanels = gPanels;
    defaults();
    const double height = gSym.Hei;
    gSym = savedSym;
    gPanels = savedPanels;
    return height;
}

void defaults() {
    gSym.BWidthRed = 0;
    gSym.attTop = 0;
    gPanels.chStyle = 0;
    gSym.gBaseAdjust = 0;
    gSym.BW = 0;
    const int code = gSym.code;
    const int v = gSym.variation1;
    SizeHeight d = familyDefaults(code, v);
    gSym.Siz = d.siz;
    gSym.Hei = d.hei;
    if (code == 10 && (v == 3 || v == 4 || v == 5)) gSym.gBaseAdjust = -6;
    if (code == 24) gSym.non_light = 0;
    variantDefaults(code, v);
    gSym.cLength = static_cast<int32_t>(gSym.Siz);
    gSym.cuHei = gSym.Hei;

    // Every record of a batch comes here: the fields are formatted without printf
    // and set without drawing (the window shows them when it is next updated).
    char buf[352];  // "%.2f" of the largest double
    double shownHeight = gSym.hMode == 2 ? gSym.Hei * kInchesPerMillimetre : gSym.Hei;
    int32_t n = platform::formatFixed(buf, sizeof buf, shownHeight, 2);
    platform::TESetText(buf, n, &gPanels.TEHeight);
    n = platform::formatFixed(buf, sizeof buf, gSym.Siz, 2);
    platform::TESetText(buf, n, &gPanels.TESize);
    n = platform::formatInt(buf, sizeof buf, gSym.BW);
    platform::TESetText(buf, n, &gPanels.TEBWR);
}
