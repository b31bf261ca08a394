// A font of cairo's whose glyphs are another font's outlines: for pages that keep
// fonts when cairo cannot embed a font program as it stands. The page then holds
// each glyph once, as a drawing, and the text stays searchable.
#pragma once

#include "platform/cairoLibrary.h"

namespace qd {

// The outline font of face (made on first use, kept while the program runs):
// the same glyph numbers, advances and ems as face.
cairo_font_face_t* outlineFontOf(cairo_font_face_t* face);

}  // namespace qd
