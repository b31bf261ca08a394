// cairo, loaded the first time something is drawn. Runs that make vector files
// draw nothing: cairo and the X and pixel libraries it brings were most of
// the dynamic loader's work at the start of a one-symbol run.
//
// Include this instead of cairo's own headers: calls keep cairo's names and go
// through the loaded functions.
#pragma once

#include <cairo-ft.h>
#include <cairo-pdf.h>
#include <cairo-ps.h>
#include <cairo.h>

namespace platform {

// clang-format off
#define STRIXEL_CAIRO_FUNCTIONS(X) \
    X(cairo_append_path) \
    X(cairo_arc) \
    X(cairo_arc_negative) \
    X(cairo_clip) \
    X(cairo_clip_preserve) \
    X(cairo_close_path) \
    X(cairo_copy_path) \
    X(cairo_create) \
    X(cairo_curve_to) \
    X(cairo_destroy) \
    X(cairo_fill) \
    X(cairo_fill_preserve) \
    X(cairo_font_extents) \
    X(cairo_font_face_destroy) \
    X(cairo_font_face_get_user_data) \
    X(cairo_font_face_reference) \
    X(cairo_font_face_set_user_data) \
    X(cairo_font_options_create) \
    X(cairo_font_options_destroy) \
    X(cairo_font_options_set_hint_metrics) \
    X(cairo_font_options_set_hint_style) \
    X(cairo_ft_font_face_create_for_ft_face) \
    X(cairo_get_source) \
    X(cairo_glyph_extents) \
    X(cairo_glyph_path) \
    X(cairo_image_surface_create) \
    X(cairo_image_surface_get_data) \
    X(cairo_image_surface_get_format) \
    X(cairo_image_surface_get_height) \
    X(cairo_image_surface_get_stride) \
    X(cairo_image_surface_get_width) \
    X(cairo_line_to) \
    X(cairo_mask) \
    X(cairo_matrix_init_identity) \
    X(cairo_matrix_init_scale) \
    X(cairo_matrix_translate) \
    X(cairo_move_to) \
    X(cairo_new_path) \
    X(cairo_new_sub_path) \
    X(cairo_paint) \
    X(cairo_path_destroy) \
    X(cairo_pattern_create_for_surface) \
    X(cairo_pattern_destroy) \
    X(cairo_pattern_set_extend) \
    X(cairo_pattern_set_filter) \
    X(cairo_pattern_set_matrix) \
    X(cairo_pdf_surface_create_for_stream) \
    X(cairo_pdf_surface_set_metadata) \
    X(cairo_ps_surface_create_for_stream) \
    X(cairo_ps_surface_dsc_comment) \
    X(cairo_rectangle) \
    X(cairo_reset_clip) \
    X(cairo_restore) \
    X(cairo_rotate) \
    X(cairo_save) \
    X(cairo_scale) \
    X(cairo_scaled_font_get_font_face) \
    X(cairo_set_antialias) \
    X(cairo_set_fill_rule) \
    X(cairo_set_font_face) \
    X(cairo_set_font_matrix) \
    X(cairo_set_font_options) \
    X(cairo_set_font_size) \
    X(cairo_set_line_width) \
    X(cairo_set_operator) \
    X(cairo_set_source) \
    X(cairo_set_source_rgb) \
    X(cairo_set_source_rgba) \
    X(cairo_set_source_surface) \
    X(cairo_show_text_glyphs) \
    X(cairo_status) \
    X(cairo_status_to_string) \
    X(cairo_stroke) \
    X(cairo_surface_destroy) \
    X(cairo_surface_finish) \
    X(cairo_surface_flush) \
    X(cairo_surface_get_type) \
    X(cairo_surface_mark_dirty) \
    X(cairo_surface_mark_dirty_rectangle) \
    X(cairo_surface_set_device_offset) \
    X(cairo_surface_set_mime_data) \
    X(cairo_surface_show_page) \
    X(cairo_surface_status) \
    X(cairo_surface_write_to_png) \
    X(cairo_translate) \
    X(cairo_user_font_face_create) \
    X(cairo_user_font_face_set_init_func) \
    X(cairo_user_font_face_set_render_glyph_func)
// clang-format on

struct CairoLibrary {
#define STRIXEL_CAIRO_POINTER(name) decltype(&::name) name = nullptr;
    STRIXEL_CAIRO_FUNCTIONS(STRIXEL_CAIRO_POINTER)
#undef STRIXEL_CAIRO_POINTER
};

// The library's functions, loaded once. A program that cannot load them ends
// with the reason: nothing can be drawn without them.
const CairoLibrary& cairoLibrary();

}  // namespace platform

// clang-format off
#define cairo_append_path(...) (::platform::cairoLibrary().cairo_append_path(__VA_ARGS__))
#define cairo_arc(...) (::platform::cairoLibrary().cairo_arc(__VA_ARGS__))
#define cairo_arc_negative(...) (::platform::cairoLibrary().cairo_arc_negative(__VA_ARGS__))
#define cairo_clip(...) (::platform::cairoLibrary().cairo_clip(__VA_ARGS__))
#define cairo_clip_preserve(...) (::platform::cairoLibrary().cairo_clip_preserve(__VA_ARGS__))
#define cairo_close_path(...) (::platform::cairoLibrary().cairo_close_path(__VA_ARGS__))
#define cairo_copy_path(...) (::platform::cairoLibrary().cairo_copy_path(__VA_ARGS__))
#define cairo_create(...) (::platform::cairoLibrary().cairo_create(__VA_ARGS__))
#define cairo_curve_to(...) (::platform::cairoLibrary().cairo_curve_to(__VA_ARGS__))
#define cairo_destroy(...) (::platform::cairoLibrary().cairo_destroy(__VA_ARGS__))
#define cairo_fill(...) (::platform::cairoLibrary().cairo_fill(__VA_ARGS__))
#define cairo_fill_preserve(...) (::platform::cairoLibrary().cairo_fill_preserve(__VA_ARGS__))
#define cairo_font_extents(...) (::platform::cairoLibrary().cairo_font_extents(__VA_ARGS__))
#define cairo_font_face_destroy(...) (::platform::cairoLibrary().cairo_font_face_destroy(__VA_ARGS__))
#define cairo_font_face_get_user_data(...) (::platform::cairoLibrary().cairo_font_face_get_user_data(__VA_ARGS__))
#define cairo_font_face_reference(...) (::platform::cairoLibrary().cairo_font_face_reference(__VA_ARGS__))
#define cairo_font_face_set_user_data(...) (::platform::cairoLibrary().cairo_font_face_set_user_data(__VA_ARGS__))
#define cairo_font_options_create(...) (::platform::cairoLibrary().cairo_font_options_create(__VA_ARGS__))
#define cairo_font_options_destroy(...) (::platform::cairoLibrary().cairo_font_options_destroy(__VA_ARGS__))
#define cairo_font_options_set_hint_metrics(...) (::platform::cairoLibrary().cairo_font_options_set_hint_metrics(__VA_ARGS__))
#define cairo_font_options_set_hint_style(...) (::platform::cairoLibrary().cairo_font_options_set_hint_style(__VA_ARGS__))
#define cairo_ft_font_face_create_for_ft_face(...) (::platform::cairoLibrary().cairo_ft_font_face_create_for_ft_face(__VA_ARGS__))
#define cairo_get_source(...) (::platform::cairoLibrary().cairo_get_source(__VA_ARGS__))
#define cairo_glyph_extents(...) (::platform::cairoLibrary().cairo_glyph_extents(__VA_ARGS__))
#define cairo_glyph_path(...) (::platform::cairoLibrary().cairo_glyph_path(__VA_ARGS__))
#define cairo_image_surface_create(...) (::platform::cairoLibrary().cairo_image_surface_create(__VA_ARGS__))
#define cairo_image_surface_get_data(...) (::platform::cairoLibrary().cairo_image_surface_get_data(__VA_ARGS__))
#define cairo_image_surface_get_format(...) (::platform::cairoLibrary().cairo_image_surface_get_format(__VA_ARGS__))
#define cairo_image_surface_get_height(...) (::platform::cairoLibrary().cairo_image_surface_get_height(__VA_ARGS__))
#define cairo_image_surface_get_stride(...) (::platform::cairoLibrary().cairo_image_surface_get_stride(__VA_ARGS__))
#define cairo_image_surface_get_width(...) (::platform::cairoLibrary().cairo_image_surface_get_width(__VA_ARGS__))
#define cairo_line_to(...) (::platform::cairoLibrary().cairo_line_to(__VA_ARGS__))
#define cairo_mask(...) (::platform::cairoLibrary().cairo_mask(__VA_ARGS__))
#define cairo_matrix_init_identity(...) (::platform::cairoLibrary().cairo_matrix_init_identity(__VA_ARGS__))
#define cairo_matrix_init_scale(...) (::platform::cairoLibrary().cairo_matrix_init_scale(__VA_ARGS__))
#define cairo_matrix_translate(...) (::platform::cairoLibrary().cairo_matrix_translate(__VA_ARGS__))
#define cairo_move_to(...) (::platform::cairoLibrary().cairo_move_to(__VA_ARGS__))
#define cairo_new_path(...) (::platform::cairoLibrary().cairo_new_path(__VA_ARGS__))
#define cairo_new_sub_path(...) (::platform::cairoLibrary().cairo_new_sub_path(__VA_ARGS__))
#define cairo_paint(...) (::platform::cairoLibrary().cairo_paint(__VA_ARGS__))
#define cairo_path_destroy(...) (::platform::cairoLibrary().cairo_path_destroy(__VA_ARGS__))
#define cairo_pattern_create_for_surface(...) (::platform::cairoLibrary().cairo_pattern_create_for_surface(__VA_ARGS__))
#define cairo_pattern_destroy(...) (::platform::cairoLibrary().cairo_pattern_destroy(__VA_ARGS__))
#define cairo_pattern_set_extend(...) (::platform::cairoLibrary().cairo_pattern_set_extend(__VA_ARGS__))
#define cairo_pattern_set_filter(...) (::platform::cairoLibrary().cairo_pattern_set_filter(__VA_ARGS__))
#define cairo_pattern_set_matrix(...) (::platform::cairoLibrary().cairo_pattern_set_matrix(__VA_ARGS__))
#define cairo_pdf_surface_create_for_stream(...) (::platform::cairoLibrary().cairo_pdf_surface_create_for_stream(__VA_ARGS__))
#define cairo_pdf_surface_set_metadata(...) (::platform::cairoLibrary().cairo_pdf_surface_set_metadata(__VA_ARGS__))
#define cairo_ps_surface_create_for_stream(...) (::platform::cairoLibrary().cairo_ps_surface_create_for_stream(__VA_ARGS__))
#define cairo_ps_surface_dsc_comment(...) (::platform::cairoLibrary().cairo_ps_surface_dsc_comment(__VA_ARGS__))
#define cairo_rectangle(...) (::platform::cairoLibrary().cairo_rectangle(__VA_ARGS__))
#define cairo_reset_clip(...) (::platform::cairoLibrary().cairo_reset_clip(__VA_ARGS__))
#define cairo_restore(...) (::platform::cairoLibrary().cairo_restore(__VA_ARGS__))
#define cairo_rotate(...) (::platform::cairoLibrary().cairo_rotate(__VA_ARGS__))
#define cairo_save(...) (::platform::cairoLibrary().cairo_save(__VA_ARGS__))
#define cairo_scale(...) (::platform::cairoLibrary().cairo_scale(__VA_ARGS__))
#define cairo_scaled_font_get_font_face(...) (::platform::cairoLibrary().cairo_scaled_font_get_font_face(__VA_ARGS__))
#define cairo_set_antialias(...) (::platform::cairoLibrary().cairo_set_antialias(__VA_ARGS__))
#define cairo_set_fill_rule(...) (::platform::cairoLibrary().cairo_set_fill_rule(__VA_ARGS__))
#define cairo_set_font_face(...) (::platform::cairoLibrary().cairo_set_font_face(__VA_ARGS__))
#define cairo_set_font_matrix(...) (::platform::cairoLibrary().cairo_set_font_matrix(__VA_ARGS__))
#define cairo_set_font_options(...) (::platform::cairoLibrary().cairo_set_font_options(__VA_ARGS__))
#define cairo_set_font_size(...) (::platform::cairoLibrary().cairo_set_font_size(__VA_ARGS__))
#define cairo_set_line_width(...) (::platform::cairoLibrary().cairo_set_line_width(__VA_ARGS__))
#define cairo_set_operator(...) (::platform::cairoLibrary().cairo_set_operator(__VA_ARGS__))
#define cairo_set_source(...) (::platform::cairoLibrary().cairo_set_source(__VA_ARGS__))
#define cairo_set_source_rgb(...) (::platform::cairoLibrary().cairo_set_source_rgb(__VA_ARGS__))
#define cairo_set_source_rgba(...) (::platform::cairoLibrary().cairo_set_source_rgba(__VA_ARGS__))
#define cairo_set_source_surface(...) (::platform::cairoLibrary().cairo_set_source_surface(__VA_ARGS__))
#define cairo_show_text_glyphs(...) (::platform::cairoLibrary().cairo_show_text_glyphs(__VA_ARGS__))
#define cairo_status(...) (::platform::cairoLibrary().cairo_status(__VA_ARGS__))
#define cairo_status_to_string(...) (::platform::cairoLibrary().cairo_status_to_string(__VA_ARGS__))
#define cairo_stroke(...) (::platform::cairoLibrary().cairo_stroke(__VA_ARGS__))
#define cairo_surface_destroy(...) (::platform::cairoLibrary().cairo_surface_destroy(__VA_ARGS__))
#define cairo_surface_finish(...) (::platform::cairoLibrary().cairo_surface_finish(__VA_ARGS__))
#define cairo_surface_flush(...) (::platform::cairoLibrary().cairo_surface_flush(__VA_ARGS__))
#define cairo_surface_get_type(...) (::platform::cairoLibrary().cairo_surface_get_type(__VA_ARGS__))
#define cairo_surface_mark_dirty(...) (::platform::cairoLibrary().cairo_surface_mark_dirty(__VA_ARGS__))
#define cairo_surface_mark_dirty_rectangle(...) (::platform::cairoLibrary().cairo_surface_mark_dirty_rectangle(__VA_ARGS__))
#define cairo_surface_set_device_offset(...) (::platform::cairoLibrary().cairo_surface_set_device_offset(__VA_ARGS__))
#define cairo_surface_set_mime_data(...) (::platform::cairoLibrary().cairo_surface_set_mime_data(__VA_ARGS__))
#define cairo_surface_show_page(...) (::platform::cairoLibrary().cairo_surface_show_page(__VA_ARGS__))
#define cairo_surface_status(...) (::platform::cairoLibrary().cairo_surface_status(__VA_ARGS__))
#define cairo_surface_write_to_png(...) (::platform::cairoLibrary().cairo_surface_write_to_png(__VA_ARGS__))
#define cairo_translate(...) (::platform::cairoLibrary().cairo_translate(__VA_ARGS__))
#define cairo_user_font_face_create(...) (::platform::cairoLibrary().cairo_user_font_face_create(__VA_ARGS__))
#define cairo_user_font_face_set_init_func(...) (::platform::cairoLibrary().cairo_user_font_face_set_init_func(__VA_ARGS__))
#define cairo_user_font_face_set_render_glyph_func(...) (::platform::cairoLibrary().cairo_user_font_face_set_render_glyph_func(__VA_ARGS__))
// clang-format on
