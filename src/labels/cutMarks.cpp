#include "labels/cutMarks.h"

#include "labels/labelDoc.h"

namespace {

constexpr int32_t kTickLength = 2;
constexpr int32_t kTickClearance = 2;  // left and top ticks stop short of the edge

void tick(int32_t h1, int32_t v1, int32_t h2, int32_t v2) {
    qd::MoveTo(h1, v1);
    qd::LineTo(h2, v2);
}

}  // namespace

void DrawPageCutMarks(qd::Point point, int16_t flag, int32_t originH, int32_t originV) {
    const LabelSheet& s = labelBack;
    const int32_t across = sheetAcross();
    const int32_t down = sheetDown();
    const int32_t gutterCol = getGutterExtraCol();
    const int32_t gutter = getGutterExtraWidth() / 10;
    const int32_t gapH = int32_t(s.spaceAcross) / 10;
    const int32_t gapV = int32_t(s.spaceDown) / 10;
    const int32_t pitchH = int32_t(s.labelWidth + s.spaceAcross) / 10;
    const int32_t pitchV = int32_t(s.labelHeight + s.spaceDown) / 10;
    const int32_t L = int32_t(s.leftMargin) / 10 + originH;
    const int32_t T = int32_t(s.topMargin) / 10 + originV;
    const int32_t R = L + gutter + across * pitchH - gapH;
    const int32_t B = T + down * pitchV - gapV;

    qd::ForeColor(qd::blackColor);
    qd::PenSize(1, 1);
    if (flag == kCutMarkRow) {
        const int32_t ys[] = {point.v, point.v + int32_t(s.labelHeight) / 10 - 1};
        if (gutterCol > 0 && gutter > 0) {
            const int32_t E = L + pitchH * gutterCol - gapH;
            const int32_t far = E + gutter + gapH;
            for (int32_t y : ys) {
                tick(E, y, E + kTickLength, y);
                tick(far - kTickClearance, y, far - kTickClearance - kTickLength, y);
            }
        }
        for (int32_t y : ys) {
            tick(L - kTickClearance - kTickLength, y, L - kTickClearance, y);
            tick(R, y, R + kTickLength, y);
        }
    } else if (flag == kCutMarkColumn) {
        const int32_t xs[] = {point.h, point.h + int32_t(s.labelWidth) / 10 - 1};
        for (int32_t x : xs) {
            tick(x, T - kTickClearance - kTickLength, x, T - kTickClearance);
            tick(x, B + 1, x, B + 1 + kTickLength);
        }
    }
}
