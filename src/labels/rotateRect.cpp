#include "labels/rotateRect.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "labels/itemFields.h"
#include "symbology/state.h"

namespace {

int16_t word(double v) {
    return static_cast<int16_t>(clampedWord(std::lround(v), INT16_MIN, INT16_MAX));
}

void turn(Rect16* r, double degrees) {
    const double a = degrees * std::numbers::pi / 180;
    const double c = std::cos(a), s = std::sin(a);
    const double cx = (r->left + r->right) / 2.0, cy = (r->top + r->bottom) / 2.0;
    // Half the turned rectangle's extent in each direction.
    const double w = (r->right - r->left) / 2.0, h = (r->bottom - r->top) / 2.0;
    const double hw = std::abs(w * c) + std::abs(h * s), hh = std::abs(w * s) + std::abs(h * c);
    *r = {word(cy - hh), word(cx - hw), word(cy + hh), word(cx + hw)};
}

}  // namespace

void RotateRect(Rect16* rect) {
    if (gSym.orient % 360 != 0) turn(rect, gSym.orient);
}

void UnRotateRect(Rect16* rect) {
    if (gSym.orient % 360 != 0) turn(rect, 360 - gSym.orient);
}
