// Built-in outlines of the characters set under and above symbols, so that
// vector output and the bar font of pictures do not depend on installed fonts.
// Units: integers; the main set's digits stand 556 to 5990 units high, the
// header set's 0 to 858.
#pragma once

#include <cstddef>
#include <cstdint>

namespace glyphs {

// ops: contours one after another; each is 0 x y (moveto), then 1 x y (lineto)
// and 2 x1 y1 x2 y2 x3 y3 (curveto), and 3 ends the contour. The outer contour
// comes first, its counters after it.
struct GlyphOutline {
    unsigned char ch;
    const int32_t* ops;
    size_t count;
    size_t contours;
};

enum class GlyphSet {
    Main,      // text under the bars, add-on digits, the ISBN header
    MainBold,  // the second digit design of the main set
    Header,    // header lines set in a font other than the type's default
    Peacock,   // the serif letters beside some retail symbols
};

// The outline of ch in set, or nullptr when the set has none.
const GlyphOutline* findOutline(GlyphSet set, unsigned char ch);

}  // namespace glyphs
