#include "symbology/codebars.h"

#include <array>
#include <cstring>

#include "symbology/state.h"

namespace {

struct WidthEntry {
    unsigned char byte;
    int32_t width;       // micrometres at 100 %
    int32_t laetusMini;  // the Laetus Mini width, 0 where it is the same
};

// Element bytes and their widths; every other byte is no element.
constexpr WidthEntry kWidths[] = {
    // 1000 um module bars and spaces
    {20, 1000, 0},
    {184, 1000, 0},
    {123, -1000, 0},
    {124, -2000, 0},
    {47, -3000, 0},
    {255, -4000, 0},
    {160, -1000, 0},
    {161, -2000, 0},
    {162, -3000, 0},
    {163, -4000, 0},
    // 1016 um narrow elements, 2.5:1 and 2.2:1 wide elements
    {130, 1016, 0},
    {140, 2540, 0},
    {150, 2235, 0},
    {32, -1016, 0},
    {128, -1016, 0},
    {129, -2540, 0},
    {125, -2235, 0},
    // 330 um modules
    {190, 330, 350},
    {238, 330, 350},
    {196, 660, 650},
    {202, 990, 1000},
    {254, 990, 1000},
    {208, 1320, 0},
    {59, -330, -350},
    {58, -660, -650},
    {61, -990, -1000},
    {63, -1320, 0},
    // EAN/UPC modules with the 30 um print gain allowance
    {214, 300, 0},
    {220, 630, 0},
    {227, 690, 0},
    {232, 1020, 0},
    {41, -300, 0},
    {46, -300, 0},
    {42, -630, 0},
    {43, -690, 0},
    {44, -1020, 0},
};

struct WidthTable {
    std::array<int32_t, 256> normal{};
    std::array<int32_t, 256> mini{};
    constexpr WidthTable() {
        for (auto& w : normal) w = kNoElement;
        for (auto& w : mini) w = kNoElement;
        for (const auto& e : kWidths) {
            normal[e.byte] = e.width;
            mini[e.byte] = e.laetusMini ? e.laetusMini : e.width;
        }
    }
};
constexpr WidthTable kTable;

bool isLaetusMini() { return gSym.code == 17 && gSym.variation1 == 1; }

}  // namespace

int32_t charToWidth(unsigned char b) { return elementWidths()[b]; }

const int32_t* elementWidths() {
    return isLaetusMini() ? kTable.mini.data() : kTable.normal.data();
}

int32_t barRowWidth(const int32_t* widths, unsigned char b) {
    const int32_t w = widths[b];
    if (w != kNoElement || gSym.BW <= 0 || b < gSym.BW) return w;
    const int32_t bar = widths[static_cast<unsigned char>(b - gSym.BW)];
    return bar > 0 && bar != kNoElement ? bar : kNoElement;
}

double CheckDrop(int32_t bar, int32_t unit) {
    double drop = 0;
    const int32_t half = unit / 2;
    const int32_t v = gSym.variation1;
    if (gSym.flushBars == 1) {
        switch (gSym.code) {
            case 0:
            case 1:
            case 2:
            case 26:
            case 27:
                if (v < 255 || bar < 31) {
                    bool guard = bar == 1 || bar == 2 || bar > 28;
                    if (!(gSym.code == 0 && v == 12)) guard = guard || bar == 15 || bar == 16;
                    if (guard) drop = half;
                }
                break;
            case 3:
                if (bar == 1 || bar == 2 || bar > 20 || ((bar == 11 || bar == 12) && v == 0))
                    drop = half;
                break;
            case 10:
                if ((v < 255 || bar < 29) && (bar <= 4 || bar == 15 || bar == 16 || bar > 26))
                    drop = half;
                break;
            case 11:
                if ((v < 255 || bar < 17) && (bar == 1 || bar == 2 || bar > 14)) drop = half;
                break;
            case 16:
            case 25:
                if (bar == 1 || bar == 2 || bar > (gSym.code == 16 ? 20 : 28)) drop = half;
                break;
            default:
                break;
        }
    }
    if (gSym.code == 31) drop = (3 - gSym.multi_line) * unit;
    if (gSym.code == 30) drop = (4 - gSym.multi_line) * unit;
    if (gSym.line != 0 && gSym.AboveHu == 1) drop -= gSym.gline;
    return drop;
}

int32_t CheckTopDrop(int32_t bar, int32_t unit) {
    int32_t rise = 0;
    switch (gSym.code) {
        case 0:
        case 1:
        case 2:
        case 10:
        case 25:
        case 26:
        case 27:
            if (bar > 30) rise = unit;
            break;
        case 11:
            if (bar > 17) rise = unit;
            break;
        default:
            break;
    }
    if (gSym.code == 7 && gSym.variation1 == 14) rise = static_cast<int32_t>(unit * 1.3);
    if (gSym.code == 31) rise = (2 - gSym.multi_line) * unit;
    if (gSym.code == 30) rise = (3 - gSym.multi_line) * unit;
    return rise;
}

int32_t linearPaintStart(const unsigned char* list, int32_t length) {
    if (length <= 0) return 0;
    const auto* first =
        static_cast<const unsigned char*>(std::memchr(list, kRowEnd, static_cast<size_t>(length)));
    if (first == nullptr) return 0;
    const int32_t firstEnd = static_cast<int32_t>(first - list);
    const bool second =
        std::memchr(first + 1, kRowEnd, static_cast<size_t>(length - firstEnd - 1)) != nullptr;
    return second ? firstEnd + 1 : 0;
}

int32_t textRowStart(const unsigned char* list, int32_t length) {
    for (int32_t i = length - 1; i >= 0; --i)
        if (list[i] == kRowEnd) return i + 1;
    return -1;
}

int32_t symbolTextRowStart() {
    if (gSym.code == kSmallEanCode) return gEl.cu_len > 0 ? 0 : -1;
    if (gSym.code == kItf6Code) return -1;
    return textRowStart(gEl.chNum, gEl.cu_len);
}

int32_t smallEanLineWidth() {
    constexpr int32_t kDigitCell = 2310;  // the bar font's digit advance
    int32_t width = 0;
    for (int32_t i = 0; i < gEl.cu_len && gEl.chNum[i] != kRowEnd; ++i) {
        const int32_t w = charToWidth(gEl.chNum[i]);
        width += w < 0 ? -w / 2 : kDigitCell;
    }
    return width;
}
