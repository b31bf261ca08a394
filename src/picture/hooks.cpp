#include "picture/hooks.h"

#include "labels/labelDoc.h"
#include "picture/colours.h"
#include "symbology/state.h"

DrawingHooks gHooks = defaultDrawingHooks();

namespace {

constexpr int32_t kWidthCorrectionM = 3122;
constexpr int32_t kWidthCorrectionParen = 1320;
constexpr int32_t kRoundCorner = 16;  // points

// Unless the shape is transparent, fill it in item i's second colour set.
template <typename Paint>
void fillShape(const qd::Rect& r, int32_t i, Paint paint) {
    if (gSym.transpar_ent != 0) return;
    const LabelItem* it =
        i >= 0 && i < kMaxLabelItems ? gLabel.labelParts[static_cast<size_t>(i)].get() : nullptr;
    if (it)
        setBackColourInPict(it->i16(item::cyan22), it->i16(item::magenta22),
                            it->i16(item::yellow22), it->i16(item::black22));
    else
        setBackColourInPict(gSym.cyan22, gSym.magenta22, gSym.yellow22, gSym.black22);
    paint(r);
}

qd::Rect shapeRect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    return {top, left, bottom, right};
}

}  // namespace

DrawingHooks defaultDrawingHooks() {
    return {myPaintRect,    drawCharOutPict, drawStringOutPict, getRectOutPict,
            getOvalOutPict, getRRectOutPict, getLineOutPict,    nullptr};
}

void resetDrawingHooks() { gHooks = defaultDrawingHooks(); }

int32_t charWidthCorrection(unsigned char ch) {
    if (ch == 'M') return kWidthCorrectionM;
    if (ch == '(' || ch == ')') return kWidthCorrectionParen;
    return 0;
}

void myPaintRect(const qd::Rect& r) { qd::PaintRect(r); }

int32_t drawCharOutPict(const unsigned char* ch, int32_t x, int32_t y) {
    qd::MoveTo(x, y);
    qd::DrawChar(*ch);
    return charWidthCorrection(*ch);
}

void drawStringOutPict(const unsigned char* text, int32_t x, int32_t y, int32_t count) {
    qd::MoveTo(x, y);
    if (count > 0) qd::DrawText(text, 0, count);
}

void getRectOutPict(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t i) {
    const qd::Rect r = shapeRect(left, top, right, bottom);
    fillShape(r, i, [](const qd::Rect& s) { qd::PaintRect(s); });
    setColourInPict();
    qd::FrameRect(r);
}

void getOvalOutPict(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t i) {
    const qd::Rect r = shapeRect(left, top, right, bottom);
    fillShape(r, i, [](const qd::Rect& s) { qd::PaintOval(s); });
    setColourInPict();
    qd::FrameOval(r);
}

void getRRectOutPict(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t i) {
    const qd::Rect r = shapeRect(left, top, right, bottom);
    fillShape(r, i, [](const qd::Rect& s) { qd::PaintRoundRect(s, kRoundCorner, kRoundCorner); });
    setColourInPict();
    qd::FrameRoundRect(r, kRoundCorner, kRoundCorner);
}

void getLineOutPict(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t) {
    qd::MoveTo(left, top);
    qd::LineTo(right, bottom);
}
