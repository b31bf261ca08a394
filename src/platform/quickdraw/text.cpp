// Text in ports: widths from the platform's text measurement (so what is drawn
// advances exactly as it was measured), glyphs from the same font files through
// cairo's FreeType back end, and the bar font from the program's own outlines.
#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <cstring>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/macroman.h"
#include "platform/quickdraw/port.h"
#include "platform/textmetrics.h"
#include "platform/glyph_outlines.h"

namespace qd {
namespace {

constexpr int16_t kDefaultSize = 12;
// The bar font's outlines: 7056 units to the point of size, the outlines drawn
// 342.25 units left of the pen, digits standing 5990 units high.
constexpr double kBarFontUnitsPerEm = 7056;
constexpr double kBarFontOriginShift = 342.25;
constexpr double kBarFontAscent = 5990;
// Characters without an outline of their own are drawn from OCR-B at the bar
// font's size: centred on the bar font's character width (OCR-B's is 0.068 em
// wider) and standing on the outlines' baseline.
constexpr double kOcrbLeftEm = (kBarFontOriginShift + 240.6) / kBarFontUnitsPerEm;
constexpr double kOcrbRaiseEm = 556 / kBarFontUnitsPerEm;
constexpr unsigned char kOcrbName[] = {4, 'O', 'C', 'R', 'B'};
constexpr unsigned char kDelete = 127;

struct Faces {
    FT_Library ft = nullptr;
    std::map<std::string, FT_Face> byPath;
    std::map<std::string, cairo_font_face_t*> cairoByPath;
};
Faces gFaces;

FT_Face faceOf(const std::string& path) {
    if (path.empty()) return nullptr;
    if (!gFaces.ft && FT_Init_FreeType(&gFaces.ft) != 0) {
        gFaces.ft = nullptr;
        return nullptr;
    }
    auto it = gFaces.byPath.find(path);
    if (it != gFaces.byPath.end()) return it->second;
    FT_Face f = nullptr;
    if (FT_New_Face(gFaces.ft, path.c_str(), 0, &f) != 0) f = nullptr;
    gFaces.byPath[path] = f;
    return f;
}

cairo_font_face_t* cairoFaceOf(const std::string& path, FT_Face f) {
    auto it = gFaces.cairoByPath.find(path);
    if (it != gFaces.cairoByPath.end()) return it->second;
    cairo_font_face_t* cf = cairo_ft_font_face_create_for_ft_face(f, 0);
    gFaces.cairoByPath[path] = cf;
    return cf;
}

unsigned glyphIndex(FT_Face f, unsigned char b) {
    unsigned g = 0;
    if (FT_Select_Charmap(f, FT_ENCODING_UNICODE) == 0)
        g = FT_Get_Char_Index(f, platform::macRomanToUnicode(b));
    if (g == 0 && FT_Select_Charmap(f, FT_ENCODING_ADOBE_CUSTOM) == 0) g = FT_Get_Char_Index(f, b);
    if (g == 0 && FT_Select_Charmap(f, FT_ENCODING_MS_SYMBOL) == 0)
        g = FT_Get_Char_Index(f, 0xF000u + b);
    return g;
}

int16_t sizeOf(const DrawState& st) { return st.size > 0 ? st.size : kDefaultSize; }

// Hands the port's text state to the measuring code.
void selectFont(const DrawState& st) {
    platform::TextFont(st.font);
    platform::TextFace(st.face);
    platform::TextSize(sizeOf(st));
    platform::SetFractEnable(st.fract);
}

// The advance of one byte: whole units unless fractional widths are on.
double advanceOf(unsigned char b) { return platform::TextWidthFract(&b, 0, 1); }

void barGlyphPath(cairo_t* cr, unsigned char ch, double x, double y, double sx, double sy) {
    const glyphs::GlyphOutline* g = glyphs::findOutline(glyphs::GlyphSet::Main, ch);
    if (!g) return;
    auto px = [&](int32_t u) { return x + (u - kBarFontOriginShift) * sx; };
    auto py = [&](int32_t u) { return y - u * sy; };
    const int32_t* o = g->ops;
    for (size_t i = 0; i < g->count;) {
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

// Outlines as designed: glyphs advance as measured, so nothing may snap them.
void unhinted(cairo_t* cr) {
    cairo_font_options_t* opt = cairo_font_options_create();
    cairo_font_options_set_hint_style(opt, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(opt, CAIRO_HINT_METRICS_OFF);
    cairo_set_font_options(cr, opt);
    cairo_font_options_destroy(opt);
}

// The OCR-B font file, found once.
const std::string& ocrbFile() {
    static const std::string file = [] {
        int16_t num = 0;
        platform::GetFNum(kOcrbName, &num);
        platform::TextFont(num);
        return std::string(platform::currentFontFile());
    }();
    return file;
}

// The OCR-B glyphs of the characters in `missing` (indexes into bytes) into the
// current path.
void ocrbGlyphPaths(cairo_t* cr, const unsigned char* bytes, const std::vector<int32_t>& missing,
                    const std::vector<double>& at, double base, double sizeX, double sizeY) {
    const std::string& file = ocrbFile();
    FT_Face f = faceOf(file);
    if (!f) return;
    cairo_set_font_face(cr, cairoFaceOf(file, f));
    cairo_matrix_t m;
    cairo_matrix_init_scale(&m, sizeX, sizeY);
    cairo_set_font_matrix(cr, &m);
    unhinted(cr);
    std::vector<cairo_glyph_t> glyphs;
    for (int32_t i : missing)
        glyphs.push_back(
            {glyphIndex(f, bytes[i]), at[i] - kOcrbLeftEm * sizeX, base - kOcrbRaiseEm * sizeY});
    cairo_glyph_path(cr, glyphs.data(), static_cast<int>(glyphs.size()));
}

// The pixels of text runs drawn into one-bit worlds, by everything that places
// them: a symbol's text is drawn again at the same place for each file of a run,
// and cairo's filling of glyph outlines costs far more than setting the bits.
constexpr size_t kMostCachedRuns = 512;
std::unordered_map<std::string, std::vector<PixelRun>> gRunPixels;

std::string runKey(const GrafPort& p, const unsigned char* bytes, int32_t count, double sx,
                   double sy, double x, double base) {
    const DrawState& st = p.st;
    std::string key(reinterpret_cast<const char*>(bytes), static_cast<size_t>(count));
    auto add = [&key](const auto& v) { key.append(reinterpret_cast<const char*>(&v), sizeof v); };
    add(st.font);
    add(st.face);
    add(st.size);
    add(st.fract);
    add(sx);
    add(sy);
    add(x);
    add(base);
    add(p.bounds.left);
    add(p.bounds.top);
    return key;
}

void drawRun(GrafPort& p, const unsigned char* bytes, int32_t count, double sx, double sy) {
    DrawState& st = p.st;
    selectFont(st);
    const double size = sizeOf(st);
    std::vector<double> at(count + 1);
    at[0] = st.pen.h + st.penFrac;
    for (int32_t i = 0; i < count; ++i) at[i + 1] = at[i] + advanceOf(bytes[i]) * sx;
    const double base = st.pen.v;
    // Modes beyond the boolean ones set text as or does.
    const int mode = st.textMode >= srcCopy && st.textMode <= notPatBic ? st.textMode & 3 : srcOr;
    static constexpr int16_t kGlyphMode[] = {patOr, patOr, patXor, patBic};
    const bool cached =
        visible(p) && count > 0 && p.depth == 1 && p.turns == 0 && p.scale == 1 && mode != srcCopy;
    std::string key;
    if (cached) {
        key = runKey(p, bytes, count, sx, sy, at[0], base);
        auto it = gRunPixels.find(key);
        if (it != gRunPixels.end() && fillRunsDirect(p, it->second, kGlyphMode[mode])) {
            const double end = at[count];
            st.pen.h = static_cast<int32_t>(std::floor(end));
            st.penFrac = end - st.pen.h;
            return;
        }
    }
    if (visible(p) && count > 0) {
        cairo_t* cr = p.cr;
        cairo_new_path(cr);
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
        if (platform::currentIsBarFont()) {
            std::vector<int32_t> missing;  // no character of the text goes undrawn
            for (int32_t i = 0; i < count; ++i) {
                if (glyphs::findOutline(glyphs::GlyphSet::Main, bytes[i]))
                    barGlyphPath(cr, bytes[i], at[i], base, size * sx / kBarFontUnitsPerEm,
                                 size * sy / kBarFontUnitsPerEm);
                else if (bytes[i] > ' ' && bytes[i] != kDelete)
                    missing.push_back(i);
            }
            if (!missing.empty()) {
                ocrbGlyphPaths(cr, bytes, missing, at, base, size * sx, size * sy);
                selectFont(st);  // finding OCR-B chose it for measuring
            }
        } else if (FT_Face f = faceOf(platform::currentFontFile())) {
            cairo_set_font_face(cr, cairoFaceOf(platform::currentFontFile(), f));
            cairo_matrix_t m;
            cairo_matrix_init_scale(&m, size * sx, size * sy);
            cairo_set_font_matrix(cr, &m);
            unhinted(cr);
            std::vector<cairo_glyph_t> glyphs(count);
            for (int32_t i = 0; i < count; ++i) glyphs[i] = {glyphIndex(f, bytes[i]), at[i], base};
            cairo_glyph_path(cr, glyphs.data(), count);
        }
        if (st.face & underline) {
            cairo_rectangle(cr, at[0], base + 1, at[count] - at[0], 1);
        }
        cairo_path_t* glyphPath = cairo_copy_path(cr);
        cairo_new_path(cr);
        bool filled = false;
        if (cached) {
            std::vector<PixelRun> runs;
            if (pathRuns(p, glyphPath, &runs)) {
                if (gRunPixels.size() >= kMostCachedRuns) gRunPixels.clear();
                filled = fillRunsDirect(p, gRunPixels[key] = std::move(runs), kGlyphMode[mode]);
            }
        }
        if (filled) {
            cairo_path_destroy(glyphPath);
        } else if (mode == srcCopy) {
            FontInfo fi;
            GetFontInfo(&fi);
            cairo_rectangle(cr, at[0], base - fi.ascent * sy, at[count] - at[0],
                            (fi.ascent + fi.descent) * sy);
            fillPath(p, patBic, kBlack, false);
        }
        if (!filled) {
            cairo_append_path(cr, glyphPath);
            cairo_path_destroy(glyphPath);
            fillPath(p, kGlyphMode[mode], kBlack, true);
        }
    }
    const double end = at[count];
    st.pen.h = static_cast<int32_t>(std::floor(end));
    st.penFrac = end - st.pen.h;
}

void textOp(const void* text, int32_t firstByte, int32_t count, Point numer, Point denom) {
    GrafPort& p = current();
    if (!text || count <= 0 || firstByte < 0) return;
    const auto* bytes = static_cast<const unsigned char*>(text) + firstByte;
    if (PicOp* op = record(p, Op::Text)) {
        op->bytes.resize(static_cast<size_t>(count));
        std::memcpy(op->bytes.data(), bytes, op->bytes.size());
        op->a[0] = numer.h;
        op->a[1] = numer.v;
        op->a[2] = denom.h;
        op->a[3] = denom.v;
    }
    const double sx = denom.h > 0 ? static_cast<double>(numer.h) / denom.h : 1;
    const double sy = denom.v > 0 ? static_cast<double>(numer.v) / denom.v : 1;
    drawRun(p, bytes, count, sx, sy);
}

}  // namespace

void GetFNum(const unsigned char* name, int16_t* num) { platform::GetFNum(name, num); }

void TextFont(int16_t num) {
    GrafPort& p = current();
    if (PicOp* op = record(p, Op::TextFont)) {
        op->a[0] = num;
        op->bytes = platform::fontNameOf(num);
    }
    p.st.font = num;
}

void TextFace(int16_t face) {
    GrafPort& p = current();
    if (PicOp* op = record(p, Op::TextFace)) op->a[0] = face;
    p.st.face = face;
}

void TextSize(int16_t size) {
    GrafPort& p = current();
    if (PicOp* op = record(p, Op::TextSize)) op->a[0] = size;
    p.st.size = size;
}

void TextMode(int16_t mode) {
    GrafPort& p = current();
    if (PicOp* op = record(p, Op::TextMode)) op->a[0] = mode;
    p.st.textMode = mode;
}

void SetFractEnable(bool on) {
    GrafPort& p = current();
    if (PicOp* op = record(p, Op::FractEnable)) op->a[0] = on ? 1 : 0;
    p.st.fract = on;
}

void DrawText(const void* text, int32_t firstByte, int32_t count) {
    textOp(text, firstByte, count, {1, 1}, {1, 1});
}

void DrawChar(unsigned char ch) { DrawText(&ch, 0, 1); }

void DrawString(const unsigned char* s) {
    if (s) DrawText(s + 1, 0, s[0]);
}

void StdText(const void* text, int32_t count, Point numer, Point denom) {
    textOp(text, 0, count, numer, denom);
}

int32_t TextWidth(const void* text, int32_t firstByte, int32_t count) {
    if (!text || count <= 0 || firstByte < 0) return 0;
    selectFont(current().st);
    return static_cast<int32_t>(
        std::lround(platform::TextWidthFract(static_cast<const unsigned char*>(text) + firstByte, 0,
                                             static_cast<int16_t>(std::min(count, 32767)))));
}

int32_t StringWidth(const unsigned char* s) { return s ? TextWidth(s + 1, 0, s[0]) : 0; }

int32_t CharWidth(unsigned char ch) { return TextWidth(&ch, 0, 1); }

void GetFontInfo(FontInfo* info) {
    const DrawState& st = current().st;
    selectFont(st);
    const double size = sizeOf(st);
    *info = {};
    if (platform::currentIsBarFont()) {
        info->ascent =
            static_cast<int32_t>(std::lround(kBarFontAscent * size / kBarFontUnitsPerEm));
        info->widMax = CharWidth('M');
        return;
    }
    FT_Face f = faceOf(platform::currentFontFile());
    if (!f || f->units_per_EM == 0) {
        // Helvetica's proportions when no font file could be found.
        info->ascent = static_cast<int32_t>(std::lround(size * 0.77));
        info->descent = static_cast<int32_t>(std::lround(size * 0.23));
        info->widMax = static_cast<int32_t>(std::lround(size));
        return;
    }
    const double em = f->units_per_EM;
    info->ascent = static_cast<int32_t>(std::lround(f->ascender * size / em));
    info->descent = static_cast<int32_t>(std::lround(-f->descender * size / em));
    info->widMax = static_cast<int32_t>(std::lround(f->max_advance_width * size / em));
    const int32_t height = static_cast<int32_t>(std::lround(f->height * size / em));
    info->leading = std::max(0, height - info->ascent - info->descent);
}

}  // namespace qd
