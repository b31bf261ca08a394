#include "platform/quickdraw/barfont.h"

#include <algorithm>

#include "platform/textmetrics.h"

namespace qd {
namespace {

constexpr unsigned long kGlyphCount = 256;  // one glyph a byte

cairo_status_t barFontExtents(cairo_scaled_font_t*, cairo_t*, cairo_font_extents_t* extents) {
    extents->ascent = kBarFontAscent / kBarFontUnitsPerEm;
    extents->descent = 0;
    extents->height = extents->ascent;
    extents->max_x_advance = 0;
    for (unsigned long b = 0; b < kGlyphCount; ++b)
        extents->max_x_advance = std::max(extents->max_x_advance,
                                          platform::barFontAdvance(static_cast<unsigned char>(b)));
    extents->max_y_advance = 0;
    return CAIRO_STATUS_SUCCESS;
}

cairo_status_t barFontGlyph(cairo_scaled_font_t*, unsigned long glyph, cairo_t* cr,
                            cairo_text_extents_t* extents) {
    if (glyph >= kGlyphCount) return CAIRO_STATUS_SUCCESS;  // nothing to draw
    const auto b = static_cast<unsigned char>(glyph);
    extents->x_advance = platform::barFontAdvance(b);
    if (const glyphs::GlyphOutline* g = glyphs::findOutline(glyphs::GlyphSet::Main, b)) {
        constexpr double kUnit = 1 / kBarFontUnitsPerEm;
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
        barOutlinePath(cr, *g, 0, 0, kUnit, kUnit);
        cairo_fill(cr);
    }
    return CAIRO_STATUS_SUCCESS;
}

}  // namespace

void barOutlinePath(cairo_t* cr, const glyphs::GlyphOutline& g, double x, double y, double sx,
                    double sy) {
    auto px = [&](int32_t u) { return x + (u - kBarFontOriginShift) * sx; };
    auto py = [&](int32_t u) { return y - u * sy; };
    const int32_t* o = g.ops;
    for (size_t i = 0; i < g.count;) {
        switch (o[i]) {
            case 0:
                cairo_move_to(cr, px(o[i + 1]), py(o[i + 2]));
                i += 3;
                break;
            case 1:
                cairo_line_to(cr, px(o[i + 1]), py(o[i + 2]));
                i += 3;
                break;
            case 2:
                cairo_curve_to(cr, px(o[i + 1]), py(o[i + 2]), px(o[i + 3]), py(o[i + 4]),
                               px(o[i + 5]), py(o[i + 6]));
                i += 7;
                break;
            default:
                cairo_close_path(cr);
                ++i;
                break;
        }
    }
}

cairo_font_face_t* barFontFace() {
    static cairo_font_face_t* const face = [] {
        cairo_font_face_t* f = cairo_user_font_face_create();
        cairo_user_font_face_set_init_func(f, barFontExtents);
        cairo_user_font_face_set_render_glyph_func(f, barFontGlyph);
        return f;
    }();
    return face;
}

}  // namespace qd
