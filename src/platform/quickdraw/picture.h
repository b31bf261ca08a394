// A picture: the drawing calls made while it was recorded, kept in order and
// replayed into any port (screen, offscreen, PDF or PostScript page). PICT bytes
// are made from it only at the edges that need them (platform/quickdraw/pict.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/quickdraw/quickdraw.h"

namespace qd {

enum class Op : uint8_t {
    MoveTo,     // a[0] h, a[1] v
    LineTo,     // a[0] h, a[1] v
    PenSize,    // a[0] width, a[1] height
    PenMode,    // a[0]
    PenPat,     // pat
    BackPat,    // pat
    ForeColor,  // a[0..2] red, green, blue
    BackColor,  // a[0..2]
    Shape,  // a[0] Verb, a[1] ShapeKind, rect, a[2] a[3] oval size or angles; pat for fill; points
            // for polygons
    ClipRect,     // rect
    ClipPoly,     // points
    TextFont,     // a[0] font number, bytes its name
    TextFace,     // a[0]
    TextSize,     // a[0]
    TextMode,     // a[0]
    FractEnable,  // a[0] 0 or 1
    Text,         // bytes; a[0..3] numer h, v, denom h, v
    Comment,      // a[0] kind, bytes its data
    Turn,  // a[0] angle in thousandths of a degree, a[1] h, a[2] v of the centre, a[3] 1 begin,
           // 0 end; rect.left and rect.top the shift after turning
    FillGroup,  // a[0] 1 begins a group of rectangles filled as one path, 0 ends it
    Bits,  // rect the destination, a[0] mode, a[1] width, a[2] height, pixels (0xAARRGGBB), points
           // a mask
};

enum class Verb : uint8_t { Frame, Paint, Erase, Invert, Fill };
enum class ShapeKind : uint8_t { Rect, RoundRect, Oval, Arc, Poly };

struct PicOp {
    Op op = Op::MoveTo;
    int32_t a[4] = {};
    Rect rect;
    Pattern pat;
    std::vector<Point> points;
    std::string bytes;
    std::vector<uint32_t> pixels;
    bool operator==(const PicOp&) const;
};

struct Picture {
    Rect frame;
    std::vector<PicOp> ops;
};

bool operator==(const Point& a, const Point& b);

}  // namespace qd
