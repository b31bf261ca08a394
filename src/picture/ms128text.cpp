// The human-readable line of the retail Code 128 variants: 18 characters in four
// groups, 2 small, 4 large in white on a dark box, 8 large, 4 small.
#include "picture/services.h"
#include "platform/quickdraw/quickdraw.h"
#include "symbology/state.h"
#include "vector/chars.h"
#include "vector/shapes.h"
#include "vector/sink.h"
#include "vector/textruns.h"
#include "vector/units.h"

namespace {

struct Group {
    int32_t first;  // index of its first character
    int32_t count;
    int32_t size;   // glyph size in percent at scale 1
    int32_t dx;     // 1e-5 point right of x at scale 1
    bool raised;    // the small groups stand 5 points above the baseline
    bool reversed;  // white on the dark box
};
constexpr Group kGroups[] = {
    {0, 2, 100, 0, true, false},
    {2, 4, 180, 2400000, false, true},
    {6, 8, 180, 7200000, false, false},
    {14, 4, 100, 15200000, true, false},
};
constexpr int32_t kRaise = 500000;
// The dark box behind the second group, points at scale 1 from x and the baseline.
constexpr double kBoxLeft = 24, kBoxRight = 65, kBoxBelow = 2, kBoxAbove = 15;

// In pictures: the small groups 6 units above the baseline, the dark box from
// 20 to 63 units right of x and 18 above the baseline, the white digits in it
// 2 above. Mode 2 multiplies these and the sizes by the scale.
constexpr int32_t kPictRaise = 6, kPictBoxLeft = 20, kPictBoxRight = 63, kPictBoxTop = 18,
                  kPictReversedRaise = 2;
constexpr int32_t kSmallSize = 10, kLargeSize = 18;
constexpr unsigned char kBlanks[] = "    ";

void drawMS128Picture(const char* text, int32_t length, int32_t mode, int32_t x, int32_t y,
                      double scale) {
    const double k = mode == 2 ? scale : 1;
    auto at = [&](int32_t v) { return static_cast<int32_t>(v * k); };
    auto size = [&](int32_t points) {
        if (mode == 2)
            TextSizeGC(static_cast<int16_t>(points * scale), points);
        else
            qd::TextSize(static_cast<int16_t>(points));
    };
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    // Characters [first, first + count) of what exists.
    auto draw = [&](int32_t first, int32_t count) {
        if (first >= length) return;
        qd::DrawText(bytes, first, count < length - first ? count : length - first);
    };
    qd::MoveTo(x, y - at(kPictRaise));
    size(kSmallSize);
    qd::TextFace(0);
    draw(0, 2);
    qd::DrawText(kBlanks, 0, 4);
    size(kLargeSize);
    qd::RGBColor fore;
    qd::GetForeColor(&fore);
    qd::ForeColor(qd::blackColor);
    qd::PaintRect({y - at(kPictBoxTop), x + at(kPictBoxLeft), y, x + at(kPictBoxRight)});
    qd::Point pen;
    qd::GetPen(&pen);
    qd::MoveTo(pen.h, y - at(kPictReversedRaise));
    qd::ForeColor(qd::whiteColor);
    draw(2, 4);
    qd::RGBForeColor(fore);
    qd::DrawText(kBlanks, 0, 3);
    draw(6, 8);
    qd::DrawText(kBlanks, 0, 3);
    qd::GetPen(&pen);
    qd::MoveTo(pen.h, y - at(kPictRaise));
    size(kSmallSize);
    draw(14, 4);
}

}  // namespace

void DrawMS128Text(const char* text, int32_t length, int32_t mode, int32_t x, int32_t y,
                   double scale) {
    if (mode != 1) {
        drawMS128Picture(text, length, mode, x, y, scale);
        return;
    }
    for (const Group& g : kGroups) {
        if (g.first >= length) break;
        const int32_t count = g.count < length - g.first ? g.count : length - g.first;
        doColour(kColourFill);
        SetDrawTxtSize(static_cast<int32_t>(g.size * scale));
        SetAnyEpsFontP(gVec.gCtexsize * 1000000, gVec.gCtexsize * 1000000, gSym.fontBelow, -1);
        if (g.reversed) {
            const double bx = x * 1e-5, by = y * 1e-5;
            FillPostBox(bx + kBoxLeft * scale, by - kBoxBelow * scale, bx + kBoxRight * scale,
                        by + kBoxAbove * scale);
            pcolourwhite();
        }
        // An item far off its page puts the text at the end of the unit's range.
        const int32_t gx = sum32(x, trunc32(g.dx * scale));
        const int32_t gy = sum32(y, g.raised ? trunc32(kRaise * scale) : 0);
        TextPositionAccurate(gx, gy);
        DrawTextEPS(text, g.first, g.first + count - 1);
        if (g.reversed) pcolourafterwhite();
    }
}
