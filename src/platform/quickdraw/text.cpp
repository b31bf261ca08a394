// Text in ports: widths from the platform's text measurement (so what is drawn
// advances exactly as it was measured), glyphs from the same font files through
// cairo's FreeType back end, and the bar font from the program's own outlines.
// Pages that keep fonts embed them; pixels get the glyphs' outlines filled.
#include "platform/cairoLibrary.h"
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <cstring>
#include <limits>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/macroman.h"
#include "platform/quickdraw/port.h"
#include "platform/textmetrics.h"
#include "platform/glyph_outlines.h"
#include "platform/quickdraw/barfont.h"
#include "platform/quickdraw/outlinefont.h"

namespace qd {
namespace {

constexpr int16_t kDefaultSize = 12;
// Characters without an outline of their own are drawn from OCR-B at the bar
// font's size: centred on the bar font's character width (OCR-B's is 0.068 em
// wider) and standing on the outlines' baseline.
constexpr double kOcrbLeftEm = (kBarFontOriginShift + 240.6) / kBarFontUnitsPerEm;
constexpr double kOcrbRaiseEm = 556 / kBarFontUnitsPerEm;
constexpr unsigned char kOcrbName[] = {4, 'O', 'C', 'R', 'B'};
constexpr unsigned char kDelete = 127;
constexpr unsigned char kSpace = ' ';

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

// Outlines as designed: glyphs advance as measured, so nothing may snap them.
void unhinted(cairo_t* cr) {
    cairo_font_options_t* opt = cairo_font_options_create();
    cairo_font_options_set_hint_style(opt, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(opt, CAIRO_HINT_METRICS_OFF);
    cairo_set_font_options(cr, opt);
    cairo_font_options_destroy(opt);
}

void setFont(cairo_t* cr, cairo_font_face_t* face, double sizeX, double sizeY) {
    cairo_set_font_face(cr, face);
    cairo_matrix_t m;
    cairo_matrix_init_scale(&m, sizeX, sizeY);
    cairo_set_font_matrix(cr, &m);
    unhinted(cr);
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

// Glyphs of one font where they stand, with the characters they show, so that
// pages which keep their fonts keep their text too.
struct GlyphRun {
    cairo_font_face_t* face = nullptr;
    bool outlines = false;  // the bar font's own: glyph numbers are bytes
    std::string file;       // of an installed font
    std::vector<cairo_glyph_t> glyphs;
    std::string text;  // UTF-8
    std::vector<cairo_text_cluster_t> clusters;

    bool keepText = false;  // pixels need no text

    void add(unsigned long index, double x, double y, unsigned char b) {
        glyphs.push_back({index, x, y});
        if (!keepText) return;
        // Control characters draw what the font has for them but stand for no text.
        const size_t before = text.size();
        if (b >= kSpace && b != kDelete) appendUtf8(platform::macRomanToUnicode(b));
        clusters.push_back({static_cast<int>(text.size() - before), 1});
    }

    void appendUtf8(char32_t c) {
        constexpr char32_t kOneByte = 0x80, kTwoBytes = 0x800;
        if (c < kOneByte) {
            text += static_cast<char>(c);
        } else if (c < kTwoBytes) {
            text += static_cast<char>(0xC0 | (c >> 6));
            text += static_cast<char>(0x80 | (c & 0x3F));
        } else {  // Mac OS Roman stays in the basic plane
            text += static_cast<char>(0xE0 | (c >> 12));
            text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            text += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
};

// The glyphs of a run into the current path: what pixels are filled from.
void runPath(cairo_t* cr, const GlyphRun& run, double sizeX, double sizeY) {
    if (run.glyphs.empty()) return;
    if (run.outlines) {
        for (const cairo_glyph_t& g : run.glyphs)
            if (const glyphs::GlyphOutline* o = glyphs::findOutline(
                    glyphs::GlyphSet::Main, static_cast<unsigned char>(g.index)))
                barOutlinePath(cr, *o, g.x, g.y, sizeX / kBarFontUnitsPerEm,
                               sizeY / kBarFontUnitsPerEm);
        return;
    }
    setFont(cr, run.face, sizeX, sizeY);
    cairo_glyph_path(cr, run.glyphs.data(), static_cast<int>(run.glyphs.size()));
}

// The glyphs of a run shown in the current source: the page embeds the font.
void showRun(cairo_t* cr, const GlyphRun& run, double sizeX, double sizeY) {
    if (run.glyphs.empty()) return;
    setFont(cr, run.face, sizeX, sizeY);
    cairo_show_text_glyphs(cr, run.text.data(), static_cast<int>(run.text.size()),
                           run.glyphs.data(), static_cast<int>(run.glyphs.size()),
                           run.clusters.data(), static_cast<int>(run.clusters.size()),
                           cairo_text_cluster_flags_t{});
}

// PDF pages keep fonts; every other surface is pixels (or PostScript, which
// keeps the outlines it always had), where the outlines are filled as paths so
// that they look the same whatever the mode.
bool keepsFonts(const GrafPort& p) {
    return cairo_surface_get_type(p.surface) == CAIRO_SURFACE_TYPE_PDF;
}

cairo_status_t appendBytes(void* out, const unsigned char* data, unsigned int n) {
    static_cast<std::string*>(out)->append(reinterpret_cast<const char*>(data), n);
    return CAIRO_STATUS_SUCCESS;
}

// Whether cairo embeds the font of a file in a PDF. Some font programs it cannot
// subset, and then it writes a page naming a font object it never wrote, with no
// error: each file is tried once, with every glyph a text can ask of it, and a
// font that does not come out whole is set as a font of its outlines.
bool embedsInPdf(const std::string& path, FT_Face f) {
    static std::map<std::string, bool> known;
    auto it = known.find(path);
    if (it != known.end()) return it->second;
    constexpr double kTrialPage = 100;
    std::string bytes;
    cairo_surface_t* pdf =
        cairo_pdf_surface_create_for_stream(appendBytes, &bytes, kTrialPage, kTrialPage);
    cairo_t* cr = cairo_create(pdf);
    GlyphRun run;
    run.face = cairoFaceOf(path, f);
    run.keepText = true;
    for (int b = 0; b < 256; ++b) {
        const auto ch = static_cast<unsigned char>(b);
        run.add(glyphIndex(f, ch), 0, kTrialPage / 2, ch);
    }
    showRun(cr, run, kTrialPage / 10, kTrialPage / 10);
    cairo_destroy(cr);
    cairo_surface_finish(pdf);
    const bool whole = cairo_surface_status(pdf) == CAIRO_STATUS_SUCCESS &&
                       bytes.find("/FontFile") != std::string::npos;
    cairo_surface_destroy(pdf);
    known[path] = whole;
    return whole;
}

// The glyph runs of a text in the current font: one for text in an installed
// font; for the bar font its outlines, and OCR-B for what it has no outline for.
void glyphRuns(const DrawState& st, const unsigned char* bytes, int32_t count,
               const std::vector<double>& at, double base, double sizeX, double sizeY,
               GlyphRun* main, GlyphRun* fallback) {
    fallback->keepText = main->keepText;
    if (platform::currentIsBarFont()) {
        main->face = barFontFace();
        main->outlines = true;
        std::vector<int32_t> missing;  // no character of the text goes undrawn
        for (int32_t i = 0; i < count; ++i) {
            if (glyphs::findOutline(glyphs::GlyphSet::Main, bytes[i]))
                main->add(bytes[i], at[i], base, bytes[i]);
            else if (bytes[i] > kSpace && bytes[i] != kDelete)
                missing.push_back(i);
        }
        if (missing.empty()) return;
        const std::string& file = ocrbFile();
        selectFont(st);  // finding OCR-B chose it for measuring
        FT_Face f = faceOf(file);
        if (!f) return;
        fallback->face = cairoFaceOf(file, f);
        fallback->file = file;
        for (int32_t i : missing)
            fallback->add(glyphIndex(f, bytes[i]), at[i] - kOcrbLeftEm * sizeX,
                          base - kOcrbRaiseEm * sizeY, bytes[i]);
    } else if (FT_Face f = faceOf(platform::currentFontFile())) {
        main->file = platform::currentFontFile();
        main->face = cairoFaceOf(main->file, f);
        for (int32_t i = 0; i < count; ++i)
            main->add(glyphIndex(f, bytes[i]), at[i], base, bytes[i]);
    }
}

// FreeType sets no font of more than 65535 pixels an em, and cairo answers a
// font it cannot set, or one of no width or height, by ending all drawing on
// the port. A run beyond half that on the device (a damaged picture's size and
// ratio, larger than any page) is left out, as is one of no size, which shows
// nothing; the pen still moves.
constexpr double kMostGlyphPixels = 32767;

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
    add(p.bounds);  // the runs keep only what fell inside it
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
    // A run that would carry the pen past the coordinates' range (a damaged
    // picture's ratio) leaves it at the range's end.
    auto penToEnd = [&] {
        const double end = at[count];
        constexpr double kLeast = std::numeric_limits<int32_t>::min();
        constexpr double kMost = std::numeric_limits<int32_t>::max();
        if (!(end >= kLeast && end < kMost)) {
            st.pen.h = end < kLeast ? std::numeric_limits<int32_t>::min()
                                    : std::numeric_limits<int32_t>::max();
            st.penFrac = 0;
            return;
        }
        st.pen.h = static_cast<int32_t>(std::floor(end));
        st.penFrac = end - st.pen.h;
    };
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
            penToEnd();
            return;
        }
    }
    const double sizeX = size * sx, sizeY = size * sy;
    const bool settable = sizeX != 0 && sizeY != 0 &&
                          std::fabs(sizeX * p.scale) <= kMostGlyphPixels &&
                          std::fabs(sizeY * p.scale) <= kMostGlyphPixels;
    if (visible(p) && count > 0 && settable) {
        cairo_t* cr = p.cr;
        // Inverting has no font operator: those glyphs stay outlines.
        const bool fonts = keepsFonts(p) && mode != srcXor;
        GlyphRun main, fallback;
        main.keepText = fonts;
        glyphRuns(st, bytes, count, at, base, sizeX, sizeY, &main, &fallback);
        if (mode == srcCopy) {
            FontInfo fi;
            GetFontInfo(&fi);
            cairo_new_path(cr);
            cairo_rectangle(cr, at[0], base - fi.ascent * sy, at[count] - at[0],
                            (fi.ascent + fi.descent) * sy);
            fillPath(p, patBic, kBlack, false);
        }
        // cairo leaves out glyphs beyond the clip it holds: give it the port's first.
        applyClip(p);
        cairo_new_path(cr);
        if (fonts) {
            for (GlyphRun* r : {&main, &fallback})
                if (!r->outlines && !r->glyphs.empty() && !embedsInPdf(r->file, faceOf(r->file)))
                    r->face = outlineFontOf(r->face);
            setSource(p, mode == srcBic ? st.back : st.fore);
            showRun(cr, main, sizeX, sizeY);
            showRun(cr, fallback, sizeX, sizeY);
        } else {
            cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
            runPath(cr, main, sizeX, sizeY);
            runPath(cr, fallback, sizeX, sizeY);
        }
        if (st.face & underline) cairo_rectangle(cr, at[0], base + 1, at[count] - at[0], 1);
        bool filled = false;
        if (cached && !fonts) {
            // One-bit worlds keep the pixels of the run for the next draw at this place.
            cairo_path_t* glyphPath = cairo_copy_path(cr);
            std::vector<PixelRun> runs;
            if (pathRuns(p, glyphPath, &runs)) {
                cairo_new_path(cr);
                if (gRunPixels.size() >= kMostCachedRuns) gRunPixels.clear();
                filled = fillRunsDirect(p, gRunPixels[key] = std::move(runs), kGlyphMode[mode]);
                if (!filled) cairo_append_path(cr, glyphPath);
            }
            cairo_path_destroy(glyphPath);
        }
        if (!filled && (!fonts || (st.face & underline)))
            fillPath(p, kGlyphMode[mode], kBlack, true);
    }
    penToEnd();
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

void DrawCharAsBarFontFallback(unsigned char ch) {
    GrafPort& p = current();
    const int16_t font = p.st.font;
    const Point pen = p.st.pen;
    const double size = sizeOf(p.st);
    int16_t ocrb = 0;
    GetFNum(kOcrbName, &ocrb);
    TextFont(ocrb);
    MoveTo(pen.h - static_cast<int32_t>(std::lround(kOcrbLeftEm * size)),
           pen.v - static_cast<int32_t>(std::lround(kOcrbRaiseEm * size)));
    DrawChar(ch);
    TextFont(font);
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
