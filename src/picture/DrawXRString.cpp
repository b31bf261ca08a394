// A barcode item turned by any angle: drawn turned inside a PostScript bracket
// and, when printing, once more inside the rotation comments that PostScript
// printer drivers carry out themselves.
#include <cmath>

#include "labels/labelDoc.h"
#include "picture/PICbcode.h"
#include "picture/rotate.h"
#include "platform/quickdraw/quickdraw.h"

namespace {

constexpr int32_t kClipGrowth = 4;  // points around the turned item's outline
constexpr double kFinePerPoint = 2540.0 / 72;
constexpr int16_t kPrintedBarsMode = 23;  // the barcode drawing of the printing pass
constexpr int32_t kFullTurn = 360;
constexpr int32_t kThreeQuarters = 270;

// The angle as the turn takes it: 270 and more as the negative angle.
int32_t normalised(int32_t angle) { return angle >= kThreeQuarters ? angle - kFullTurn : angle; }

// Where turning a bitmap moves its source by a pixel, the turned drawing is
// moved by one unit the other way, so that both land on the same pixels.
qd::Point pixelShift(int32_t a0) {
    qd::Point s;
    if ((a0 > 0 && a0 < 90) || (a0 >= 181 && a0 <= 269) || a0 == 90) s.h = -1;
    if (a0 == 270 || a0 == -90) s.v = -1;
    return s;
}

void drawItem(const qd::Rect& rect, int32_t i, int32_t* right, int32_t* bottom) {
    PICbcode(rect.left, rect.top, right, bottom, i);
}

// The item turned by a0 about centre, clipped to its turned outline grown by
// kClipGrowth; the clip in force before is put back.
void drawTurned(const qd::Rect& rect, qd::Point centre, int32_t a0, int32_t i, int32_t* right,
                int32_t* bottom) {
    const auto g =
        static_cast<int32_t>(labelBack.labelWidth != 0 ? kClipGrowth : kClipGrowth * kFinePerPoint);
    qd::Rect grown{rect.top - g, rect.left - g, rect.bottom + g, rect.right + g};
    qd::Polygon outline;
    QDRotatedRect(&grown, centre, a0, &outline, 1);
    const qd::ClipState keep = qd::GetClipState();
    qd::ClipPoly(outline);
    qd::BeginTurn(a0, centre, pixelShift(a0));
    drawItem(rect, i, right, bottom);
    qd::EndTurn();
    qd::SetClipState(keep);
}

}  // namespace

void DrawXRString(qd::Point centre, int32_t flip, double angle, qd::Rect rect, int32_t i,
                  int32_t printMode, int32_t) {
    const auto whole = static_cast<int32_t>(angle);
    const int32_t a0 = normalised(whole);
    const qd::Point at{rect.top + centre.v, rect.left + centre.h};
    qd::Point pen;
    qd::GetPen(&pen);
    int32_t right = 0, bottom = 0;

    qd::PicComment(kPostScriptBegin, 0, nullptr);
    if (whole != 0)
        drawTurned(rect, at, a0, i, &right, &bottom);
    else
        drawItem(rect, i, &right, &bottom);
    qd::Point after;
    qd::GetPen(&after);
    ccpt = {after.v - rect.top, after.h - rect.left};
    qd::PicComment(kPostScriptEnd, 0, nullptr);

    if (printMode == 1) {
        const RotationComments data = rotationComments(whole, at, flip != 0);
        if (whole != 0) {
            qd::MoveTo(at.h, at.v);
            FlushGrafPortState();
            qd::PicComment(kRotateCenter, sizeof data.centre, data.centre);
            qd::PicComment(kRotateBegin, sizeof data.begin, data.begin);
        }
        qd::PenMode(kPrintedBarsMode);
        // Ports here carry the turn out themselves, so the second drawing is
        // turned too and covers the first exactly.
        if (whole != 0)
            drawTurned(rect, at, a0, i, &right, &bottom);
        else
            drawItem(rect, i, &right, &bottom);
        if (whole != 0) qd::PicComment(kRotateEnd, 0, nullptr);
        qd::PenMode(qd::srcOr);
    }
    qd::MoveTo(pen.h, pen.v);
}
