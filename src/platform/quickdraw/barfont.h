// The program's bar font for cairo: its built-in outlines as paths, and as a font
// of its own so that vector pages embed each glyph once instead of an outline for
// every character set.
#pragma once

#include "platform/cairoLibrary.h"

#include "platform/glyph_outlines.h"

namespace qd {

// The outlines' units: 7056 to the point of size, drawn 342.25 units left of the
// pen, digits standing 5990 units high.
constexpr double kBarFontUnitsPerEm = 7056;
constexpr double kBarFontOriginShift = 342.25;
constexpr double kBarFontAscent = 5990;

// Appends the outline to the current path with its origin at (x, y) on the
// baseline, sx and sy user units to an outline unit (y grows downwards).
void barOutlinePath(cairo_t* cr, const glyphs::GlyphOutline& g, double x, double y, double sx,
                    double sy);

// The bar font as a cairo font face (owned here, made on first use): glyph
// number b is the outline of byte b, an em is a point of size, and each glyph
// advances as the text measurement says.
cairo_font_face_t* barFontFace();

}  // namespace qd
