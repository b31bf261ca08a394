// What a recorded picture holds, read from its display list: painted
// rectangles, lines with their pen, and text runs with font, size and place.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/quickdraw/picture.h"

namespace picttest {

struct TextRun {
    std::string text;
    std::string font;
    int size = 0;
    int face = 0;
    int x = 0, y = 0;  // the pen at the run's start: its baseline's left end
};
struct Line {
    int h0 = 0, v0 = 0, h1 = 0, v1 = 0;
    int penWidth = 1, penHeight = 1;
};
struct Ops {
    std::vector<qd::Rect> painted;  // PaintRect, in order
    std::vector<qd::Rect> framed;   // FrameRect
    std::vector<Line> lines;
    std::vector<TextRun> texts;
};

Ops readOps(const qd::Picture& pic);
// The display list of what `draw` records into a picture of `frame`.
Ops recordOps(const qd::Rect& frame, const std::function<void()>& draw);
// The kinds of the picture's comments, in order.
std::vector<int32_t> commentKinds(const qd::Picture& pic);
// The painted rectangles that are bars (or marks): all but the background.
std::vector<qd::Rect> bars(const Ops& o, const qd::Rect& frame);

}  // namespace picttest
