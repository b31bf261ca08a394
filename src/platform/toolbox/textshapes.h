// Text shapes: a text set in a box of the current port, either wrapped into lines
// (aligned left, right, centred or fully justified, and placed at the top, middle
// or bottom of the box) or on one line truncated with an ellipsis.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/quickdraw/quickdraw.h"

namespace platform {

constexpr uint16_t kLineHeightFromFont = 65535;
constexpr int kShapeFontNameMost = 49;   // longer font names are cut
constexpr int kTruncatedTextMost = 255;  // bytes of a truncated text that are set

// Horizontal justification (0 and -2 left) and vertical alignment of a shape.
enum ShapeJust : int16_t {
    shapeLeft = 0,
    shapeCentre = 1,
    shapeRight = -1,
    shapeLeftToo = -2,
    shapeFull = -3,
};
enum ShapeAlign : int16_t { shapeTop = 1, shapeMiddle = 2, shapeBottom = 3 };

struct cTextShape {
    qd::Rect box;
    const char* text = nullptr;  // NUL-terminated Mac OS Roman, the caller's
    uint16_t lineHeight = kLineHeightFromFont;
    int32_t reserved = 0;
    char fontName[kShapeFontNameMost + 1] = {};
    int16_t size = 12;
    int16_t face = 0;
    int16_t modeFlag = 0;  // 0: drawn in the transparent text mode
    int16_t hJust = shapeLeft;
    int16_t vAlign = shapeTop;
};

void cTextShapeInit(cTextShape* shape, const char* text, uint16_t lineHeight, const qd::Rect& box,
                    const char* fontName, int16_t size, int16_t face, int16_t modeFlag,
                    int16_t hJust, int16_t vAlign);
// Wrapped at the box width, drawn line by line until the text ends or a baseline
// passes the box's bottom. Vertical alignment other than 1 to 3 puts the first
// baseline at v 0 of the port.
void cTextShapeDraw(const cTextShape& shape);
// One line of at most 255 bytes, cut at the end with an ellipsis when too wide.
void cTextShapeDrawTrunc(const cTextShape& shape);
// Lines of text at width in the current font; each line's width plus 4 raises
// the longest line met.
int32_t cTextShapeFigureNumberLines_Mac(const char* text, int32_t length, int32_t width);
// The longest line met, counting the shape's lines first when none was met yet.
int32_t cTextShapeGetLongestLineLength(const cTextShape& shape);
void cTextShapeResetLongestLine();
// The height of all the shape's lines.
int32_t cTextShapeGetActualTextDepth(const cTextShape& shape);
// Height (ascent, descent and leading) and ascent of the port's font.
int32_t CP_FontHeight();
int32_t CP_FontAscentHeight();

// Draws string index of string list `list` at (h, v) in the port's font.
void BuildStringItem(int32_t h, int32_t v, int32_t list, int32_t index);

// Draws a Pascal text as a wrapped shape.
void BuildTextItem(const unsigned char* text, uint16_t lineHeight, const qd::Rect& box,
                   const char* fontName, int16_t size, int16_t face, int16_t modeFlag,
                   int16_t hJust, int16_t vAlign);

// The lines the shape's text breaks into at width, in the current font: returns
// end a line, and a line too wide breaks after its last blank that fits.
struct ShapeLine {
    int32_t start = 0;
    int32_t length = 0;  // trailing blanks excluded
    bool endsParagraph = false;
};
void cTextShapeLines(const char* text, int32_t length, int32_t width,
                     std::vector<ShapeLine>* lines);

}  // namespace platform
