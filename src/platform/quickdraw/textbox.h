// A text box: text drawn in the current font, wrapped within the box's width,
// each line flush left, centred or flush right, and the whole box turned about
// its top-left corner. The stand-in for the text engine's box drawing.
#pragma once

#include <string>
#include <vector>

#include "platform/quickdraw/quickdraw.h"

namespace qd {

enum class BoxFlush { start, centre, right };

struct TextBoxOptions {
    BoxFlush flush = BoxFlush::start;
    double angle = 0;     // degrees, counter-clockwise on the screen, about the box's top-left
    int32_t height = -1;  // the height the lines may fill, before turning; -1: the box's
};

// The lines of Mac OS Roman text at the box width in the current font: CR, LF
// and CR LF end a line; a line that is too wide breaks after its last blank
// that fits, or, with none, after its last character that fits.
std::vector<std::string> WrapTextLines(const std::string& text, int32_t width);

// Draws the lines from the box's top, one line height (ascent, descent and
// leading) apart, in the current font, style, size, colour and text mode. The
// first line is always drawn; later ones while their baseline stays in the box.
void TXNDrawCFStringTextBox(const std::string& text, const Rect& box,
                            const TextBoxOptions& options);

}  // namespace qd
