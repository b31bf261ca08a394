#include "labels/rotateRect.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <numbers>
#include <string>

#include "labels/itemFields.h"
#include "platform/numbers.h"
#include "symbology/messages.h"
#include "symbology/state.h"

namespace {

int16_t word(double v) {
    return static_cast<int16_t>(clampedWord(std::lround(v), INT16_MIN, INT16_MAX));
}

// The turned rectangle's sides (top, left, bottom, right) before rounding.
struct TurnedSides {
    double top, left, bottom, right;
};
TurnedSides turnedSides(double top, double left, double bottom, double right, double degrees) {
    const double a = degrees * std::numbers::pi / 180;
    const double c = std::cos(a), s = std::sin(a);
    const double cx = (left + right) / 2.0, cy = (top + bottom) / 2.0;
    // Half the turned rectangle's extent in each direction.
    const double w = (right - left) / 2.0, h = (bottom - top) / 2.0;
    const double hw = std::abs(w * c) + std::abs(h * s), hh = std::abs(w * s) + std::abs(h * c);
    return {cy - hh, cx - hw, cy + hh, cx + hw};
}

void turn(Rect16* r, double degrees) {
    const TurnedSides t = turnedSides(r->top, r->left, r->bottom, r->right, degrees);
    *r = {word(t.top), word(t.left), word(t.bottom), word(t.right)};
}

// Rounding of the drawn positions may put a bar that much past the label's edge.
constexpr double kEdgeSlack = 1;  // points
constexpr double kTenthsPerPoint = 10;
// A linear symbol whose bars are cut short at the label's edge still reads (the
// guard bars of a symbol placed low on its label often reach past it); one
// cut across its bars does not, nor a two-dimensional or stacked symbol, nor a
// four-state code, whose bar heights are its data, cut anywhere.
constexpr double kLeastBarLengthKept = 0.25;
constexpr int32_t kFirstStackedCode = 37;
constexpr int32_t kFourStateCodes[] = {30, 31};

bool barsCutShortRead() {
    const int32_t code = gSym.code;
    return code < kFirstStackedCode &&
           std::find(std::begin(kFourStateCodes), std::end(kFourStateCodes), code) ==
               std::end(kFourStateCodes);
}

// Told even over the layout after a refusal shown there, which keeps later
// texts back: the label must not go out as though nothing was said.
void tell(const std::string& text) {
    gMsg.inerror = 0;
    MessageText(text.c_str());
}

}  // namespace

void LabelBox::add(double x0, double y0, double x1, double y1) {
    const double l = std::min(x0, x1), r = std::max(x0, x1);
    const double t = std::min(y0, y1), b = std::max(y0, y1);
    if (!any) {
        *this = {t, l, b, r, true};
        return;
    }
    top = std::min(top, t);
    left = std::min(left, l);
    bottom = std::max(bottom, b);
    right = std::max(right, r);
}

BarsPast barsPastBox(const LabelBox& bars, double cx, double cy, int32_t orient,
                     const LabelBox& box) {
    if (!bars.any) return {};
    const double a = orient * std::numbers::pi / 180;
    const double c = std::cos(a), s = std::sin(a);
    LabelBox turned;
    for (const double x : {bars.left, bars.right})
        for (const double y : {bars.top, bars.bottom}) {
            const double dx = x - cx, dy = y - cy;
            const double tx = cx + c * dx + s * dy, ty = cy - s * dx + c * dy;
            turned.add(tx, ty, tx, ty);
        }
    // The bars of a linear symbol run across the label when it stands unturned.
    const bool barsAcross = std::abs(c) >= std::abs(s);
    const double kept = barsAcross
                            ? std::min(turned.bottom, box.bottom) - std::max(turned.top, box.top)
                            : std::min(turned.right, box.right) - std::max(turned.left, box.left);
    const double length = barsAcross ? turned.bottom - turned.top : turned.right - turned.left;
    const bool cutShort = barsCutShortRead() && kept >= length * kLeastBarLengthKept;
    const struct {
        double by;
        const char* edge;
        bool alongBars;
    } edges[] = {{box.left - turned.left, "left", !barsAcross},
                 {turned.right - box.right, "right", !barsAcross},
                 {box.top - turned.top, "top", barsAcross},
                 {turned.bottom - box.bottom, "bottom", barsAcross}};
    for (const auto& e : edges)
        if (e.by > kEdgeSlack && !(e.alongBars && cutShort)) return {e.by, e.edge};
    return {};
}

bool barsOnLabel(int32_t i, const LabelBox& bars, double cx, double cy, int32_t orient) {
    LabelBox label;
    label.add(0, 0, labelBack.labelWidth / kTenthsPerPoint,
              labelBack.labelHeight / kTenthsPerPoint);
    const BarsPast past = barsPastBox(bars, cx, cy, orient, label);
    if (past.edge == nullptr) return true;
    tell(
        platform::formatC("Item %d of the label, a barcode, has bars reaching %.0f points "
                          "past the label's %s edge: its symbol would print cut off. Make it "
                          "smaller, shorten its data or move it onto the label.",
                          static_cast<int>(i + 1), std::ceil(past.by), past.edge));
    return false;
}

void tellSymbolNotMade(int32_t i) {
    const bool empty = gData.chMainCode[0] == 0;
    tell(platform::formatC(empty ? "Item %d of the label, a barcode, has no data: the label would "
                                   "go out without its symbol. Give the item its data, or take it "
                                   "out."
                                 : "Item %d of the label, a barcode, cannot be made from its data: "
                                   "the label would go out without its symbol. Check the item's "
                                   "data and settings.",
                           static_cast<int>(i + 1)));
}

void RotateRect(Rect16* rect) {
    if (gSym.orient % 360 != 0) turn(rect, gSym.orient);
}

qd::Rect RotatedRect(const qd::Rect& rect) {
    if (gSym.orient % 360 == 0) return rect;
    const TurnedSides t = turnedSides(rect.top, rect.left, rect.bottom, rect.right, gSym.orient);
    auto side = [](double v) { return clampedWord(std::lround(v), INT32_MIN, INT32_MAX); };
    return {side(t.top), side(t.left), side(t.bottom), side(t.right)};
}

void UnRotateRect(Rect16* rect) {
    if (gSym.orient % 360 != 0) turn(rect, 360 - gSym.orient);
}
