#include "labels/cutMarks.h"

#include <algorithm>
#include <cmath>

#include "labels/labelDoc.h"
#include "labels/printDefaults.h"
#include "labels/units.h"

namespace {

constexpr int32_t kTickLength = 2;
constexpr int32_t kTickClearance = 2;  // left and top ticks stop short of the edge

// Draws in points into a port that counts dots.
struct Marker {
    double dotsPerPoint;
    int32_t dots(int32_t points) const { return int32_t(std::lround(points * dotsPerPoint)); }
    void tick(int32_t h1, int32_t v1, int32_t h2, int32_t v2) const {
        qd::MoveTo(dots(h1), dots(v1));
        qd::LineTo(dots(h2), dots(v2));
    }
};

}  // namespace

void DrawPageCutMarks(qd::Point point, int16_t flag, int32_t originH, int32_t originV,
                      double dotsPerPoint) {
    const Marker m{dotsPerPoint > 0 ? dotsPerPoint : 1};
    const LabelSheet& s = labelBack;
    const int32_t across = sheetAcross();
    const int32_t down = sheetDown();
    const int32_t gutterCol = getGutterExtraCol();
    // Only a gutter between label columns moves labels, and so the marks.
    const int32_t gutter = int32_t(gutterBetweenColumns(s)) / 10;
    const int32_t gapH = int32_t(s.spaceAcross) / 10;
    const int32_t gapV = int32_t(s.spaceDown) / 10;
    const int32_t pitchH = int32_t(s.labelWidth + s.spaceAcross) / 10;
    const int32_t pitchV = int32_t(s.labelHeight + s.spaceDown) / 10;
    const int32_t L = int32_t(s.leftMargin) / 10 + originH;
    const int32_t T = int32_t(s.topMargin) / 10 + originV;
    const int32_t R = L + gutter + across * pitchH - gapH;
    const int32_t B = T + down * pitchV - gapV;

    qd::ForeColor(qd::blackColor);
    const int32_t pen = std::max(m.dots(1), 1);
    qd::PenSize(pen, pen);
    if (flag == kCutMarkRow) {
        const int32_t ys[] = {point.v, point.v + int32_t(s.labelHeight) / 10 - 1};
        if (gutter > 0) {
            const int32_t E = L + pitchH * gutterCol - gapH;
            const int32_t far = E + gutter + gapH;
            for (int32_t y : ys) {
                m.tick(E, y, E + kTickLength, y);
                m.tick(far - kTickClearance, y, far - kTickClearance - kTickLength, y);
            }
        }
        for (int32_t y : ys) {
            m.tick(L - kTickClearance - kTickLength, y, L - kTickClearance, y);
            m.tick(R, y, R + kTickLength, y);
        }
    } else if (flag == kCutMarkColumn) {
        const int32_t xs[] = {point.h, point.h + int32_t(s.labelWidth) / 10 - 1};
        for (int32_t x : xs) {
            m.tick(x, T - kTickClearance - kTickLength, x, T - kTickClearance);
            m.tick(x, B + 1, x, B + 1 + kTickLength);
        }
    }
}

namespace {

// A length in millimetres as whole points, through the sheet setup's conversion.
int32_t mmPoints(double mm) {
    constexpr double kRoundUp = 0.01, kTenths = 0.1;
    return static_cast<int32_t>((convertFromMeas(mm) + kRoundUp) * kTenths);
}

// Where the lower bar may go: only past this many points from the sheet's top.
constexpr int32_t kLowerBarFrom = 1100;
constexpr int32_t kStrokePen = 3;
constexpr int32_t kShiftedMarks = 2;  // pCutMarks: marks one column on, stroke on the left

void line(int32_t h1, int32_t v1, int32_t h2, int32_t v2) {
    qd::MoveTo(h1, v1);
    qd::LineTo(h2, v2);
}

}  // namespace

// The press sheet's marks hang from the row's own top: the sheet's top origin
// does not enter.
void DrawPageCutMarksIndigo(qd::Point point, int16_t flag, int32_t originH, int32_t) {
    if (flag != kCutMarkRow) return;
    const LabelSheet& s = labelBack;
    const int32_t keptUnit = gUnits.gMeasType;
    gUnits.gMeasType = kMeasMillimetre;
    const int32_t barLeft = mmPoints(5.5), barAbove = mmPoints(4), barRight = mmPoints(0.5),
                  barBelow = mmPoints(1);
    const int32_t lineDown = mmPoints(1.5), lineFrom = mmPoints(32.5), lineLength = mmPoints(20);
    const int32_t tickFrom = mmPoints(4), tickLength = mmPoints(1.5);
    const int32_t tick1 = mmPoints(6), tick2 = mmPoints(12);
    const int32_t strokeInset = mmPoints(1), strokeDown = mmPoints(20.5),
                  strokeLength = mmPoints(15);
    const bool shifted = gPrintSwitches.pCutMarks == kShiftedMarks;
    const int32_t k = shifted ? 1 : 0;
    qd::ForeColor(qd::blackColor);
    for (int32_t c = 0; c < sheetAcross(); ++c) {
        const int32_t x =
            int32_t((s.leftMargin + (s.labelWidth + s.spaceAcross) * uint32_t(c + k)) / 10) +
            originH;
        const int32_t y = point.v;
        const qd::Rect bar{y - barAbove, x - barLeft, y - barBelow, x + barRight};
        qd::PenNormal();
        qd::PaintRect(bar);
        const int32_t lineLeft = bar.right + lineFrom;
        line(lineLeft, bar.top + lineDown, lineLeft + lineLength, bar.top + lineDown);
        const int32_t lowerY = y + int32_t(s.labelHeight + s.spaceDown) / 10 + 1;
        if (lowerY - barAbove > kLowerBarFrom) {
            const qd::Rect lower{lowerY - barAbove, bar.left, lowerY - barBelow, bar.right};
            qd::PaintRect(lower);
            line(lineLeft, lower.top + lineDown, lineLeft + lineLength, lower.top + lineDown);
        }
        for (int32_t below : {tick1, tick2})
            line(bar.right - tickFrom, bar.bottom + below, bar.right - tickFrom + tickLength,
                 bar.bottom + below);
        qd::PenSize(kStrokePen, kStrokePen);
        const int32_t strokeX =
            (shifted ? bar.left + strokeInset : bar.right - strokeInset) - kStrokePen;
        line(strokeX, bar.top + strokeDown, strokeX, bar.top + strokeDown + strokeLength);
    }
    qd::PenNormal();
    gUnits.gMeasType = keptUnit;
}
