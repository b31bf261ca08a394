#include "picture/printscale.h"

#include <cstdint>

#include "labels/itemFields.h"
#include "symbology/state.h"

namespace {

int16_t scaled16(int16_t v, double factor) {
    return static_cast<int16_t>(clampedWord(v * factor, INT16_MIN, INT16_MAX));
}

void scaleInt(int32_t* v, double factor) { *v = clampedWord(*v * factor, INT32_MIN, INT32_MAX); }

}  // namespace

void ScaleDoubleRect(Rect16* rect, double factor) {
    rect->top = scaled16(rect->top, factor);
    rect->left = scaled16(rect->left, factor);
    rect->bottom = scaled16(rect->bottom, factor);
    rect->right = scaled16(rect->right, factor);
}

// Far past any paper (about 200,000 inches at 1,200 dpi), and far enough inside
// 32 bits that a symbol's extent added to a place cannot overflow.
constexpr int32_t kMostPageDots = 1 << 28;

qd::Rect scaledPageRect(const qd::Rect& rect, double factor) {
    auto scaled = [factor](int32_t v) {
        return clampedWord(v * factor, -kMostPageDots, kMostPageDots);
    };
    return {scaled(rect.top), scaled(rect.left), scaled(rect.bottom), scaled(rect.right)};
}

void scaleItemData(double factor) {
    ScaleDoubleRect(&gLabel.itRect, factor);
    scaleInt(&gSym.insetAmount, factor);
    gSym.Siz *= factor;
    gSym.Hei *= factor;
    scaleInt(&gSym.BWidthRed, factor);
    scaleInt(&gSym.customTeSize, factor);
    gSym.line *= factor;
    scaleInt(&gSym.cLength, factor);
    gSym.cuHei *= factor;
    scaleInt(&gSym.extraMargin, factor);
}
