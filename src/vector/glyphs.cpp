#include "vector/glyphs.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "symbology/state.h"
#include "vector/chars.h"
#include "vector/dialect.h"
#include "vector/emit.h"
#include "platform/glyph_outlines.h"
#include "vector/shapes.h"
#include "vector/sink.h"
#include "vector/slots.h"
#include "vector/textruns.h"
#include "vector/units.h"

namespace {

using glyphs::GlyphOutline;
using glyphs::GlyphSet;

constexpr int32_t kAdvanceM = 3122;        // the wide 'M' of the main set
constexpr int32_t kAdvanceBracket = 1320;  // '(' and ')' set in a font
constexpr int32_t kAdvanceOther = 2910;    // header and serif sets
constexpr double kOriginShift = 48505;     // main-set outlines start this far left (x gCtexsize)
constexpr double kBearerRaise = 41860;     // lift over a bearer bar (x gCtexsize)
constexpr double kFontRaise = 5000;        // lift of a font other than the bar font (x gCtexsize)
// Characters the main set has no outline for are set in OCR-B at the outlines'
// size: centred on the bar font's character width (OCR-B's is 0.068 em wider)
// and standing on the outlines' baseline, 556 units up.
constexpr double kOcrbLeft = 34100;   // x gCtexsize
constexpr double kOcrbRaise = 78798;  // x gCtexsize
constexpr unsigned char kDelete = 127;

bool textInBarFont(const unsigned char* fontBelow) {
    return samePstr(fontBelow, gSym.barFont) || pstrEquals(fontBelow, "Strixel");
}
bool textInBarFont() { return textInBarFont(gSym.fontBelow); }

bool isLightMarginMark(unsigned char ch) { return ch == '<' || ch == '>'; }

// Outlines are used for the bar font unless text is to be set as a font, and for
// the two code types that always draw their own characters.
bool outlineMode(unsigned char ch, int32_t code, const unsigned char* fontBelow,
                 int32_t textAsFont) {
    if (isLightMarginMark(ch)) return true;
    if (textInBarFont(fontBelow)) return textAsFont != 1;
    return code == 16 || code == 25;
}
bool outlineMode(unsigned char ch) {
    return outlineMode(ch, gSym.code, gSym.fontBelow, gSym.textAsFont);
}

// A character without an outline that still shows: the OCR-B fallback sets it.
bool lacksOutline(unsigned char ch, const GlyphOutline* g) {
    return g == nullptr && ch > ' ' && ch != kDelete;
}

GlyphSet mainSet(unsigned char ch) {
    return (gSym.bol == 1 && ch >= '0' && ch <= '9') ? GlyphSet::MainBold : GlyphSet::Main;
}

// The outline data already draws the bar font's letter codes as their letters.
const GlyphOutline* mainOutline(unsigned char ch) { return glyphs::findOutline(mainSet(ch), ch); }

// In a line of data a letter code is itself, which no outline draws.
const GlyphOutline* outlineOf(unsigned char ch, bool dataText) {
    return dataText && letterCode(ch) ? nullptr : mainOutline(ch);
}

// The path of one contour of g from ops[i] up to its end marker into e; returns
// the index after it.
size_t contourPath(Emit& e, const GlyphOutline& g, size_t i, int32_t ox, int32_t oy) {
    const int32_t* p = g.ops;
    while (i < g.count) {
        switch (p[i]) {
            case 0:
                pmoveto(e, p[i + 1], p[i + 2], ox, oy);
                i += 3;
                break;
            case 1:
                plineto(e, p[i + 1], p[i + 2], ox, oy);
                i += 3;
                break;
            case 2:
                pcurveto(e, p[i + 1], p[i + 2], p[i + 3], p[i + 4], p[i + 5], p[i + 6], ox, oy);
                i += 7;
                break;
            default:
                return i + 1;  // 3: the contour is closed
        }
    }
    return i;
}

// Page code kept on the heap, in a slot of a table of plain data zeroed as a
// global is: a start-up touches no page of the tables.
struct KeptText {
    char* text;
    uint32_t length, room;

    // False when there was no memory for it: nothing is kept then.
    bool keep(std::string_view t) {
        if (t.size() > room) {
            char* grown = static_cast<char*>(std::realloc(text, t.size()));
            if (grown == nullptr) return false;
            text = grown;
            room = static_cast<uint32_t>(t.size());
        }
        std::memcpy(text, t.data(), t.size());
        length = static_cast<uint32_t>(t.size());
        return true;
    }
    void write() const { writeRaw(text, static_cast<int32_t>(length)); }  // no NUL
};

// The slot of a glyph's piece `part` at (ox, oy) in a table of `slots`.
size_t placeSlot(const GlyphOutline& g, size_t part, int32_t ox, int32_t oy, size_t slots) {
    const uint64_t glyph = reinterpret_cast<uintptr_t>(&g) / sizeof(GlyphOutline) + part;
    return slotOf(foldKey(foldKey(glyph, static_cast<uint32_t>(ox)), static_cast<uint32_t>(oy)),
                  slots);
}

// Glyphs come back at the same place and scale symbol after symbol (the light
// margin marks and digits of a batch above all), so the text of contours is
// kept with what it depends on.
struct ContourText {
    const GlyphOutline* glyph;
    size_t from;
    size_t next;
    int32_t ox, oy;
    double scale;  // gVec.globHeight
    KeptText page;
};
// Room for every digit at every place of a retail symbol and its add-on, with
// slots to spare: places sharing a slot drive each other out symbol after symbol.
constexpr size_t kContourTexts = 4096;
ContourText gContourTexts[kContourTexts];

// One contour of g from ops[i] up to its end marker; returns the index after it.
size_t writeContour(const GlyphOutline& g, size_t i, int32_t ox, int32_t oy) {
    // Path operators may not stand in a PDF text object.
    if (i < g.count && g.ops[i] >= 0 && g.ops[i] <= 2) closePdfText();
    ContourText& kept = gContourTexts[placeSlot(g, i, ox, oy, kContourTexts)];
    if (kept.glyph == &g && kept.from == i && kept.ox == ox && kept.oy == oy &&
        kept.scale == gVec.globHeight) {
        kept.page.write();
        return kept.next;
    }
    Emit e;  // the contour in one piece
    const size_t next = contourPath(e, g, i, ox, oy);
    if (e.heldWhole()) {
        kept.glyph = &g;
        kept.from = i;
        kept.next = next;
        kept.ox = ox;
        kept.oy = oy;
        kept.scale = gVec.globHeight;
        if (!kept.page.keep(e.pending())) kept.glyph = nullptr;
    }
    return next;
}

// The page code of a glyph of several contours as written, kept with all it
// depends on: the digits of a batch's symbols come back at the same places.
// Plain data, zeroed as a global is.
struct GlyphText {
    const GlyphOutline* glyph;
    int32_t ox, oy;
    double scale;  // gVec.globHeight
    int32_t ill, c, m, y, k;
    KeptText page;
};
// Several slots for each of the few dozen places a retail symbol's glyphs of
// several contours take: fewer, and two places sharing a slot drive each other
// out symbol after symbol.
constexpr size_t kGlyphTexts = 1024;
GlyphText gGlyphTexts[kGlyphTexts];

void writeOutlineAsMade(const GlyphOutline& g, int32_t ox, int32_t oy);

// The outline with its counters left unpainted in the dialect's own way: one
// path of subpaths in PDF and the Type 3 font, a compound path in the
// Illustrator 3 and later dialects, and white counters painted over the glyph
// in the older ones.
void writeOutline(const GlyphOutline& g, int32_t ox, int32_t oy) {
    if (g.contours < 2) {
        writeContour(g, 0, ox, oy);
        pfill();
        return;
    }
    // PDF text objects and a spot colour's name are state of their own: those
    // glyphs are made each time.
    if (dialect::pdf() || gSym.customColour == 1) {
        writeOutlineAsMade(g, ox, oy);
        return;
    }
    GlyphText& kept = gGlyphTexts[placeSlot(g, 0, ox, oy, kGlyphTexts)];
    if (kept.glyph == &g && kept.ox == ox && kept.oy == oy && kept.scale == gVec.globHeight &&
        kept.ill == gOut.ill && kept.c == gSym.cyan2 && kept.m == gSym.magenta2 &&
        kept.y == gSym.yellow2 && kept.k == gSym.black2) {
        kept.page.write();
        return;
    }
    static std::string made;
    made.clear();
    setSinkCapture(&made);
    writeOutlineAsMade(g, ox, oy);
    setSinkCapture(nullptr);
    if (!kept.page.keep(made)) {
        kept.glyph = nullptr;
        return;
    }
    kept.glyph = &g;
    kept.ox = ox;
    kept.oy = oy;
    kept.scale = gVec.globHeight;
    kept.ill = gOut.ill;
    kept.c = gSym.cyan2;
    kept.m = gSym.magenta2;
    kept.y = gSym.yellow2;
    kept.k = gSym.black2;
}

void writeOutlineAsMade(const GlyphOutline& g, int32_t ox, int32_t oy) {
    const int32_t ill = gOut.ill;
    if (dialect::type3()) {
        // A glyph of the Type 3 font carries no colour: one path whose counters
        // run against the outer contour stays open where they are.
        for (size_t c = 0, i = 0; c < g.contours; ++c) i = writeContour(g, i, ox, oy);
        pfill();
        return;
    }
    if (dialect::pdf()) {
        size_t i = 0;
        for (size_t c = 0; c < g.contours; ++c) {
            i = writeContour(g, i, ox, oy);
            TEInsert2(c + 1 < g.contours ? "h\r" : "f\r");
        }
        return;
    }
    const bool compound = ill >= 93 || ill == dialect::kPress;
    const bool whiteCounters = ill < 93;
    if (compound) TEInsert2("*u\r");
    size_t i = writeContour(g, 0, ox, oy);
    pfill();
    if (whiteCounters) pcolourwhite();
    for (size_t c = 1; c < g.contours; ++c) {
        i = writeContour(g, i, ox, oy);
        pfill();
    }
    if (compound) TEInsert2("*U\r");
    // The white of the counters must not stay in force for what follows.
    if (whiteCounters) doColour(kColourFill);
}

// The character set in a PostScript font at the current glyph scale.
void setInFont(const unsigned char* text, const unsigned char* font, int32_t x, double y) {
    const double size = static_cast<double>(trunc32(gVec.gCtexsize * 1000000));
    setCharacterInFont(text, font, size, x, trunc32(y));
}

}  // namespace

bool glyphOutlineExtent(unsigned char ch, int32_t* minX, int32_t* maxX) {
    const GlyphOutline* g = mainOutline(ch);
    if (g == nullptr) return false;
    // Every character of every text line asks; the outlines never change.
    struct Extent {
        const GlyphOutline* glyph = nullptr;
        int32_t lo = 0, hi = 0;
    };
    static Extent known[2][256];
    Extent& e = known[mainSet(ch) == GlyphSet::MainBold ? 1 : 0][ch];
    if (e.glyph == g) {
        *minX = e.lo;
        *maxX = e.hi;
        return true;
    }
    int32_t lo = INT32_MAX, hi = INT32_MIN;
    for (size_t i = 0; i < g->count;) {
        const int32_t op = g->ops[i];
        const size_t points = op == 2 ? 3 : op == 3 ? 0 : 1;
        for (size_t k = 0; k < points; ++k) {
            const int32_t px = g->ops[i + 1 + 2 * k];
            lo = px < lo ? px : lo;
            hi = px > hi ? px : hi;
        }
        i += 1 + 2 * points;
    }
    e = {g, lo, hi};
    *minX = lo;
    *maxX = hi;
    return true;
}

namespace {

int32_t characterOut(const unsigned char* text, int32_t x, int32_t y, bool dataText) {
    const unsigned char ch = text[0];
    const bool barFont = textInBarFont();
    if (!outlineMode(ch)) {
        const double raise = barFont ? 0 : gVec.gCtexsize * kFontRaise;
        setInFont(text, gSym.fontBelow, x, y + raise + gSym.gBaseAdjust * kPerPoint);
        if (ch == 'M') return kAdvanceM;
        if (ch == '(' || ch == ')') return pstrEquals(gSym.fontBelow, "OCRB") ? 0 : kAdvanceBracket;
        return 0;
    }
    // The marks of another font would drop by the About window's line height,
    // which is 0 until that window is built; vector output never builds it.
    double oy = y + gSym.gBaseAdjust * kPerPoint;
    gVec.gCtexsize = gVec.gCtexsizeX;
    const double ox = x - gVec.gCtexsize * kOriginShift;
    if (gSym.line != 0 && gSym.AboveHu == 0) oy += gVec.gCtexsize * kBearerRaise;
    if (const GlyphOutline* g = outlineOf(ch, dataText)) {
        doColour(kColourFill);
        writeOutline(*g, trunc32(ox), trunc32(oy));
    } else if (lacksOutline(ch, g)) {
        // No character of the data may go missing from its line.
        doColour(kColourFill);
        setInFont(text, kOcrbFallbackFont, trunc32(ox - gVec.gCtexsize * kOcrbLeft),
                  oy + gVec.gCtexsize * kOcrbRaise);
    }
    if (gSym.bol == 1) TEInsert2("0 w\r");
    return ch == 'M' ? kAdvanceM : 0;
}

}  // namespace

bool letterCode(unsigned char ch) { return std::strchr("[]_^`\\%(", ch) != nullptr && ch != 0; }

int32_t getCharacterOut(const unsigned char* text, int32_t x, int32_t y) {
    return characterOut(text, x, y, false);
}

int32_t getDataCharacterOut(const unsigned char* text, int32_t x, int32_t y) {
    return characterOut(text, x, y, true);
}

bool setInOcrb(unsigned char ch, int32_t code, const unsigned char* fontBelow, int32_t textAsFont,
               bool dataText) {
    // Bold digits have outlines as the plain ones do: the main set decides.
    const GlyphOutline* g =
        dataText && letterCode(ch) ? nullptr : glyphs::findOutline(GlyphSet::Main, ch);
    return outlineMode(ch, code, fontBelow, textAsFont) && lacksOutline(ch, g);
}

int32_t getCharacterOut2(const unsigned char* text, int32_t x, int32_t y) {
    if (gSym.textAsFont == 1) {
        setInFont(text, gSym.fontAbove, x, y + gSym.gBaseAdjust * kPerPoint);
        return kAdvanceOther;
    }
    const double oy = y + gSym.gBaseAdjust * kPerPoint;
    gVec.gCtexsize = gVec.gCtexsizeX;
    if (const GlyphOutline* g = glyphs::findOutline(GlyphSet::Header, text[0]))
        writeOutline(*g, x, trunc32(oy));
    return kAdvanceOther;
}

int32_t getCharacterOutPeacock(const unsigned char* text, int32_t x, int32_t y) {
    gVec.gCtexsize = gVec.gCtexsizeX;
    if (const GlyphOutline* g = glyphs::findOutline(GlyphSet::Peacock, text[0]))
        writeOutline(*g, x, y);
    return kAdvanceOther;
}
