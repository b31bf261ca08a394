#include "platform/quickdraw/outlinefont.h"

#include <map>

namespace qd {
namespace {

// Glyphs are drawn at this many units to the em and scaled down, since a font's
// outlines at one unit to the em would be rounded to a 64th.
constexpr double kUnitsPerEm = 1000;
const cairo_user_data_key_t kSourceKey{};

cairo_font_face_t* sourceOf(cairo_scaled_font_t* font) {
    return static_cast<cairo_font_face_t*>(
        cairo_font_face_get_user_data(cairo_scaled_font_get_font_face(font), &kSourceKey));
}

// Sets cr to draw the source font at an em of one unit of cr's present space.
void useSource(cairo_t* cr, cairo_font_face_t* source) {
    cairo_scale(cr, 1 / kUnitsPerEm, 1 / kUnitsPerEm);
    cairo_set_font_face(cr, source);
    cairo_set_font_size(cr, kUnitsPerEm);
    cairo_font_options_t* opt = cairo_font_options_create();
    cairo_font_options_set_hint_style(opt, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(opt, CAIRO_HINT_METRICS_OFF);
    cairo_set_font_options(cr, opt);
    cairo_font_options_destroy(opt);
}

cairo_status_t outlineExtents(cairo_scaled_font_t* font, cairo_t* cr,
                              cairo_font_extents_t* extents) {
    useSource(cr, sourceOf(font));
    cairo_font_extents(cr, extents);
    extents->ascent /= kUnitsPerEm;
    extents->descent /= kUnitsPerEm;
    extents->height /= kUnitsPerEm;
    extents->max_x_advance /= kUnitsPerEm;
    extents->max_y_advance /= kUnitsPerEm;
    return cairo_status(cr);
}

cairo_status_t outlineGlyph(cairo_scaled_font_t* font, unsigned long glyph, cairo_t* cr,
                            cairo_text_extents_t* extents) {
    useSource(cr, sourceOf(font));
    const cairo_glyph_t g{glyph, 0, 0};
    cairo_text_extents_t own;
    cairo_glyph_extents(cr, &g, 1, &own);
    extents->x_advance = own.x_advance / kUnitsPerEm;
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    cairo_glyph_path(cr, &g, 1);
    cairo_fill(cr);
    return cairo_status(cr);
}

}  // namespace

cairo_font_face_t* outlineFontOf(cairo_font_face_t* face) {
    static std::map<cairo_font_face_t*, cairo_font_face_t*> made;
    auto it = made.find(face);
    if (it != made.end()) return it->second;
    cairo_font_face_t* f = cairo_user_font_face_create();
    cairo_font_face_set_user_data(f, &kSourceKey, cairo_font_face_reference(face), [](void* p) {
        cairo_font_face_destroy(static_cast<cairo_font_face_t*>(p));
    });
    cairo_user_font_face_set_init_func(f, outlineExtents);
    cairo_user_font_face_set_render_glyph_func(f, outlineGlyph);
    made[face] = f;
    return f;
}

}  // namespace qd
