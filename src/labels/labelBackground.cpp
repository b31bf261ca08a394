#include "labels/labelBackground.h"

#include <algorithm>

#include "labels/labelDoc.h"
#include "labels/printState.h"

namespace {

constexpr int32_t kPrinterMode = 1;   // a sheet on the printer
constexpr int32_t kThermalMode = -1;  // a label on the thermal printer
enum LabelShape : int32_t { kRectangle, kSquare, kOval, kCircle, kRoundRect, kInnerFramed };
constexpr int32_t kLabelUnits = 10;  // tenths of a point
constexpr int32_t kCorner = 15;      // the rounded label's corner
constexpr int32_t kCornerShort = 7;  // its edges stop short of the corners by this
constexpr int32_t kGridStep = 10;    // LeGrid, points, both ways
constexpr qd::RGBColor kWhite{0xFFFF, 0xFFFF, 0xFFFF};
constexpr qd::RGBColor kDarkGrey{0x80E8, 0x80E8, 0x80E8};
constexpr qd::RGBColor kGridGrey{0xC5AE, 0xC5AE, 0xC5AE};

uint16_t channel(uint32_t c) { return static_cast<uint16_t>(std::min<uint32_t>(c, 0xFFFF)); }

void line(const qd::RGBColor& c, int32_t h0, int32_t v0, int32_t h1, int32_t v1) {
    qd::RGBForeColor(c);
    qd::MoveTo(h0, v0);
    qd::LineTo(h1, v1);
}

// A coordinate of the label's ground. A damaged document's label can be larger
// than a port counts: it is held where the frames drawn just outside it still
// have room.
constexpr double kMostCoordinate = 1 << 30;
int32_t coordinate(double v) {
    if (!(v == v)) return 0;  // NaN
    return static_cast<int32_t>(std::clamp(v, -kMostCoordinate, kMostCoordinate));
}

// A frame lit from the top left, just outside r.
void threeD(const qd::Rect& r) {
    line(kWhite, r.left - 1, r.bottom, r.left - 1, r.top - 1);
    line(kWhite, r.left - 1, r.top - 1, r.right, r.top - 1);
    line(kDarkGrey, r.right, r.top - 1, r.right, r.bottom);
    line(kDarkGrey, r.right, r.bottom, r.left - 1, r.bottom);
}

}  // namespace

void DrawLabelBackground(int32_t h, int32_t v, int32_t mode) {
    const auto w = static_cast<int32_t>(labelBack.labelWidth / kLabelUnits);
    const auto ht = static_cast<int32_t>(labelBack.labelHeight / kLabelUnits);
    const int32_t shape = labelBack.shapeVersion & 0xFF;
    const bool squared = shape == kSquare || shape == kCircle;
    const int32_t sw = squared ? std::min(w, ht) : w, sh = squared ? std::min(w, ht) : ht;
    // The printer's port counts dots, as the items printed over the ground do.
    const bool printing = mode == kPrinterMode || mode == kThermalMode;
    const double k = printing ? gPrint.thermScale : 1;
    const double top = v - 1.0, left = h - 1.0;
    const qd::Rect r{coordinate(top * k), coordinate(left * k), coordinate((top + sh + 2) * k),
                     coordinate((left + sw + 2) * k)};
    const int32_t corner = printing ? coordinate(kCorner * k) : kCorner;
    qd::RGBColor back = kWhite;
    if (mode == 0)
        back = {channel(labelBack.backRed), channel(labelBack.backGreen),
                channel(labelBack.backBlue)};
    // Painted in the ground colour: the label covers whatever lies below it.
    qd::PenNormal();
    qd::RGBForeColor(back);
    switch (shape) {
        case kOval:
        case kCircle:
            qd::PaintOval(r);
            break;
        case kRoundRect:
            qd::PaintRoundRect(r, corner, corner);
            break;
        default:
            qd::PaintRect(r);
            break;
    }
    if (mode == 0) {
        switch (shape) {
            case kOval:
            case kCircle: {
                qd::RGBForeColor(kDarkGrey);
                const qd::Rect out{r.top - 1, r.left - 1, r.bottom + 1, r.right + 1};
                qd::FrameArc(out, 0, 270);
                break;
            }
            case kRoundRect:
                line(kDarkGrey, r.right, r.top + kCornerShort, r.right, r.bottom - kCornerShort);
                line(kDarkGrey, r.right - kCornerShort, r.bottom, r.left + kCornerShort, r.bottom);
                qd::FrameArc({r.bottom - kCorner, r.right - kCorner, r.bottom + 1, r.right + 1}, 90,
                             90);
                break;
            default:
                threeD(r);
                break;
        }
    }
    qd::RGBForeColor(kWhite);
}

void DrawGrid(const qd::Rect& window) {
    qd::PenNormal();
    qd::RGBForeColor(kGridGrey);
    const int32_t width = window.width(), height = window.height();
    for (int32_t x = 0; x <= width; x += kGridStep) {
        qd::MoveTo(x, 0);
        qd::LineTo(x, height);
    }
    for (int32_t y = 0; y <= height; y += kGridStep) {
        qd::MoveTo(0, y);
        qd::LineTo(width, y);
    }
    qd::ForeColor(qd::blackColor);
}
