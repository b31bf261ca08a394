// The frame of a vector document: first line, header comments, prolog, fonts,
// set-up end, page and document trailers, and the printer job wrapper.
#include "vector/Epsout.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "vector/optionsLine.h"
#include "labels/labelDoc.h"
#include "platform/datetime.h"
#include "platform/textmetrics.h"
#include "symbology/Filters.h"
#include "symbology/state.h"
#include "vector/codebars_paint.h"
#include "vector/emit.h"
#include "vector/fontnames.h"
#include "vector/glyphs.h"
#include "vector/header.h"
#include "vector/page.h"
#include "vector/pdf.h"
#include "vector/shapes.h"
#include "vector/sink.h"
#include "vector/spotinks.h"
#include "vector/textruns.h"
#include "vector/units.h"

EpsDocument gEps;

namespace {

constexpr int32_t kTemplateWidth = 612;  // the Illustrator artboard of a single symbol
constexpr int32_t kTemplateHeight = 864;
constexpr int32_t kDataMatrixFamily = 38;  // dispatcher codes of the square-module types
constexpr int32_t kQrFamily = 40;

void put(const char* text) { TEInsert2(text); }
void putPascal(const unsigned char* p) { TEInsert2(reinterpret_cast<const char*>(p + 1), p[0]); }

bool isDefaultSized(int32_t code) { return (code >= 4 && code <= 8) || code == 12 || code == 17; }

bool barcodeHasTextAbove() {
    const int32_t c = gSym.code;
    return c == 1 || (c == 2 && gSym.variation1 == 0) || c == 14 || c == 26 || c == 27 ||
           gSym.HaTex == 1;
}

// Appends a Pascal name to the font list unless it is already there.
void addFont(const unsigned char* name, bool bold) {
    if (name[0] == 0 || gEps.fontCount >= kFontSlots - 1) return;
    unsigned char* slot = gEps.fontName[gEps.fontCount];
    std::memcpy(slot, name, 1 + name[0]);
    constexpr char kBold[] = "-Bold";
    constexpr int kBoldLen = sizeof kBold - 1;
    if (bold && slot[0] + kBoldLen <= 255) {
        std::memcpy(slot + 1 + slot[0], kBold, kBoldLen);
        slot[0] = static_cast<unsigned char>(slot[0] + kBoldLen);
    }
    for (int i = 0; i < gEps.fontCount; ++i)
        if (std::memcmp(gEps.fontName[i], slot, 1 + slot[0]) == 0) {
            slot[0] = 0;
            return;
        }
    ++gEps.fontCount;
}

// The Pascal font name stored at offset off of an item record.
const unsigned char* itemFont(const LabelItem& it, size_t off, unsigned char* out) {
    size_t n = it.rec[off];
    if (n > kLabelItemTextSize - 1) n = kLabelItemTextSize - 1;
    out[0] = static_cast<unsigned char>(n);
    std::memcpy(out + 1, &it.rec[off + 1], n);
    return out;
}

// Whether the item's human-readable line sets a character of its data in the
// OCR-B the outlines fall back on. The data the item holds now stands for the
// run's.
bool lettersInOcrb(const LabelItem& it) {
    const int32_t code = it.i16(item::code);
    if ((it.u16(item::humanPacked) & 1) == 0 || !paintedBarByBar(code)) return false;
    unsigned char font[kLabelItemTextSize];
    itemFont(it, item::fontBelow, font);
    const int32_t textAsFont = it.i16(item::orientPacked) & 1;
    auto any = [&](const std::string& text) {
        return std::any_of(text.begin(), text.end(), [&](char c) {
            return setInOcrb(static_cast<unsigned char>(c), code, font, textAsFont,
                             textLineIsData(code));
        });
    };
    return any(it.text(item::dataText)) || any(it.longDataText) || any(it.text(item::addCode)) ||
           any(it.longAddOn);
}

// The fonts the header names, in the order of the font section.
int headerFonts(const unsigned char* out[], int max) {
    static const unsigned char kHelvetica[] = "\x09Helvetica";
    static const unsigned char kTimes[] = "\x05Times";
    int n = 0;
    if (gSym.code == 0 && gSym.variation1 == 6)
        out[n++] = gSym.gHelvetica[0] ? gSym.gHelvetica : kHelvetica;
    if (gSym.code == 0 && gSym.variation1 == 11) out[n++] = kTimes;
    for (int i = 0; i < gEps.fontCount && n < max; ++i) out[n++] = gEps.fontName[i];
    return n;
}

void writeFirstLine() {
    const int32_t ill = gOut.ill;
    if (ill == kIllPdf) {
        put("%PDF-1.4");
    } else if (ill <= 88) {
        put("%!PS-Adobe-2.0");
        put(gOut.purePost == 0 && ill != kIllType3 ? " EPSF-1.2\r" : "\r");
    } else {
        put("%!PS-Adobe-3.0");
        put(gOut.purePost == 0 ? " EPSF-3.0\r" : "\r");
    }
}

void writeProcSetComments() {
    switch (gOut.ill) {
        case kIll11:
            put("%%DocumentProcSets: Adobe_Illustrator_1.1 0 0\r");
            put("%%DocumentSuppliedProcSets: Adobe_Illustrator_1.1 0 0\r");
            break;
        case kIll88: {
            static const char* const kSets[] = {
                "Adobe_packedarray 1.0 0", "Adobe_cmykcolor 1.1 0", "Adobe_cshow 1.1 0",
                "Adobe_customcolor 1.0 0", "Adobe_pattern 1.9 0",   "Adobe_Illustrator88 1.19 0"};
            for (const char* s : kSets) {
                put("%%DocumentProcSets: ");
                put(s);
                put("\r%%DocumentSuppliedProcSets: ");
                put(s);
                put("\r");
            }
            break;
        }
        case kIll3:
            put("%%DocumentSuppliedResources: procset Adobe_packedarray 2.0 0\r"
                "%%+ procset Adobe_cshow 1.1 0\r"
                "%%+ procset Adobe_customcolor 1.0 0\r"
                "%%+ procset Adobe_typography_AI3 1.0 0\r"
                "%%+ procset Adobe_pattern_AI3 1.0 0\r"
                "%%+ procset Adobe_Illustrator_AI3 1.0 1\r");
            break;
        case kIll5:
        case kIllPress:
            put("%%DocumentSuppliedResources: procset Adobe_level2_AI5 1.0 0\r"
                "%%+ procset Adobe_IllustratorA_AI5 1.0 0\r"
                "%%+ procset Adobe_typography_AI5 1.0 0\r");
            break;
        default:
            break;
    }
}

// "%%DocumentFonts:" with the first name on its line and the others on "%%+"
// lines, each name once.
void writeFontsComment() {
    const unsigned char* names[kFontSlots + 2];
    int n = headerFonts(names, kFontSlots + 2);
    unsigned char written[kFontSlots + 2][256];
    int count = 0;
    for (int i = 0; i < n; ++i) {
        unsigned char* ps = written[count];
        GetLaserFontName(ps, names[i]);
        bool seen = false;
        for (int j = 0; j < count && !seen; ++j) seen = std::memcmp(written[j], ps, 1 + ps[0]) == 0;
        if (seen) continue;
        put(count == 0 ? "%%DocumentFonts: " : "%%+");
        putPascal(ps);
        put("\r");
        ++count;
    }
}

// Whole-point box (lower left down, upper right up) and the exact one beside it.
void writeBoxes(double llx, double lly, double urx, double ury) {
    Emit e;
    e.s("%%BoundingBox: ").i(static_cast<long>(std::floor(llx))).c(' ');
    e.i(static_cast<long>(std::floor(lly))).c(' ').i(static_cast<long>(std::ceil(urx))).c(' ');
    e.i(static_cast<long>(std::ceil(ury))).s("\r%%HiResBoundingBox: ");
    e.f(llx).c(' ').f(lly).c(' ').f(urx).c(' ').f(ury).s("\r");
}

void writeArtBox(const char* comment, long l, long t, double r, double b, bool whole) {
    Emit e;
    e.s(comment).i(l).c(' ').i(t).c(' ');
    if (whole)
        e.i(static_cast<long>(r)).c(' ').i(static_cast<long>(b));
    else
        e.f(r).c(' ').f(b);
    e.s("\r");
}

// The sheet of a full-sheet document: grown to hold every label, A4 when the
// print sheet has no size. The print sheet itself is left as it is.
void documentSheetSize() {
    const LabelSheet& s = labelBack3;
    if (s.labelWidth == 0) return;
    if (s.sheetWidth == 0 || s.sheetHeight == 0) {
        gEps.sheetWidth = kA4Width * kSheetUnitsPerPoint;
        gEps.sheetHeight = kA4Height * kSheetUnitsPerPoint;
        gEps.sheetDefaulted = 1;
        return;
    }
    const double across = s.across % 1280, down = s.down % 1280;
    const double needW = s.leftMargin + (double(s.labelWidth) + s.spaceAcross) * (across - 1) +
                         s.labelWidth + double(gutterBetweenColumns(s)) * kSheetCopyScale;
    const double needH =
        s.topMargin + (double(s.labelHeight) + s.spaceDown) * (down - 1) + s.labelHeight;
    gEps.sheetWidth = std::max<double>(s.sheetWidth, needW);
    gEps.sheetHeight = std::max<double>(s.sheetHeight, needH);
}

}  // namespace

bool knownDialect(int32_t ill) {
    switch (ill) {
        case kIll11:
        case kIll88:
        case kIll3:
        case kIll5:
        case kIllPress:
        case kIllType3:
        case kIllPdf:
            return true;
        default:
            return false;
    }
}

void resetEpsDocument() {
    // The font slots are read up to fontCount only: emptying the used ones spares
    // renewing the whole table for every document.
    for (int32_t i = 0; i <= gEps.fontCount && i < kFontSlots; ++i) gEps.fontName[i][0] = 0;
    gEps.fontCount = 0;
    gEps.eol = 0;
    gEps.non_drawn = 0;
    gEps.sheetWidth = 0;
    gEps.sheetHeight = 0;
    gEps.sheetDefaulted = 0;
}

namespace {

// A control byte would end the comment line the text stands in. True when one
// was replaced.
bool controlsToDashes(char* text) {
    bool replaced = false;
    for (char* p = text; *p; ++p)
        if (static_cast<unsigned char>(*p) < 32) *p = '-', replaced = true;
    return replaced;
}

}  // namespace

char* trim32(char* text) {
    int32_t len = gData.len1;
    if (len < 0) len = 0;
    if (len > static_cast<int32_t>(kMainCodeSize) - 1) len = kMainCodeSize - 1;
    text[len] = 0;
    controlsToDashes(text);
    return text;
}

bool sanitisedPrintedData(char* out) {
    size_t n = strnlen(gData.chMainCode2, kMainCodeSize - 1);
    if (separatorsPrintedOnly(gSym.code)) {
        // The data's length does not count the typed separators: cut after its
        // last character, or a file opened again would make a shorter number.
        n = printedLengthOf(gData.chMainCode2, n, gData.len1);
        std::memcpy(out, gData.chMainCode2, n);
        out[n] = 0;
        return controlsToDashes(out);
    }
    // The printed copy's own length cuts it: len1 counts the data as the encoder
    // made it (Code 128 packs digit pairs into one byte), which may be shorter.
    if (gData.len11 >= 0 && gData.len11 < static_cast<int32_t>(kMainCodeSize))
        n = std::min(n, static_cast<size_t>(gData.len11));
    std::memcpy(out, gData.chMainCode2, n);
    out[n] = 0;
    return controlsToDashes(out);
}

void MakeFontList() {
    gEps.fontCount = 0;
    unsigned char name[256];
    for (int i = 0; i <= labelBack.lastItem && i < kMaxLabelItems; ++i) {
        const LabelItem* it = gLabel.labelParts[static_cast<size_t>(i)].get();
        if (!it) continue;
        const uint16_t kind = it->u16(item::kind);
        if (kind == kKindText) {
            addFont(itemFont(*it, item::fontBelow, name), (it->i16(item::teFace) & 1) != 0);
        } else if (kind == kKindBarcode) {
            // Text drawn as built-in outlines in the default font needs no font.
            auto consider = [&](const unsigned char* font) {
                const bool outlines = gEps.non_drawn != 1 && gSym.textAsFont != 1 &&
                                      std::memcmp(font, gSym.defFont, 1 + font[0]) == 0;
                if (!outlines) addFont(font, false);
            };
            if (barcodeHasTextAbove()) consider(itemFont(*it, item::fontAbove, name));
            consider(itemFont(*it, item::fontBelow, name));
            if (lettersInOcrb(*it)) addFont(kOcrbFallbackFont, false);
        }
    }
    gEps.fontName[gEps.fontCount][0] = 0;
}

void includeFont(const unsigned char* name, int32_t flag) {
    unsigned char ps[256];
    GetLaserFontName(ps, name);
    put("%%IncludeFont: ");
    putPascal(ps);
    put("\r");
    if (flag == 1) put("[\rTE\r");
}

void includeFontEncoding(const unsigned char* name) {
    const int32_t ill = gOut.ill;
    unsigned char ps[256];
    GetLaserFontName(ps, name);
    const char* tag = ill < 91 ? "%" : "AI3_";
    put("%");
    put(tag);
    put("BeginEncoding: _");
    putPascal(ps);
    put(" ");
    putPascal(ps);
    put("\r[");
    if (ill < 90) put("\r]");
    put("/_");
    putPascal(ps);
    put("/");
    putPascal(ps);
    put(" ");
    if (ill == kIll88)
        put("0 ");
    else if (ill > 90)
        put("0 0 1 T");
    put("Z\r%");
    put(tag);
    put("EndEncoding\r");
}

void fontDefinitions() {
    const unsigned char* names[kFontSlots + 2];
    const int n = headerFonts(names, kFontSlots + 2);
    if (gOut.ill > 90) {
        for (int i = 0; i < n; ++i) includeFont(names[i], 1);
    }
    for (int i = 0; i < n; ++i) includeFontEncoding(names[i]);
}

void writeHeader(int32_t right, int32_t bottom, platform::FileRef refNum) {
    const int32_t ill = gOut.ill;
    const int32_t top = static_cast<int32_t>(gSym.gBaseAdjust);
    if (gSym.orient != 0 && labelBack.labelWidth == 0) {
        Rect16 r;
        r.top = static_cast<int16_t>(top);
        r.bottom = static_cast<int16_t>(bottom);
        r.right = static_cast<int16_t>(right);
        SetOrient(200, r, gSym.orient);
    }
    writeFirstLine();
    if (ill == kIllPdf) return;

    if (ill != kIllType3) {
        char data[kMainCodeSize];
        sanitisedPrintedData(data);
        put("%%Creator: STRixel X.0 UKE\r%%Title: ");
        put(data);
        put("\r");
    } else {
        put("%%Title: STRixel X.0 UKE\r%%FontName: TEST\r");
    }
    saveAutoFormatData(refNum);

    uint32_t now = 0;
    unsigned char date[256];
    platform::GetDateTime(&now);
    platform::DateString(now, date);
    put("%%CreationDate: ");
    putPascal(date);
    put("\r");

    writeProcSetComments();
    if (ill == kIllType3) return;

    if (gSym.human == 1 || gEps.fontCount > 0) writeFontsComment();

    if (labelBack3.labelWidth == 0) {
        // A linear symbol's box takes in its bars' height; a label's box is the
        // label, and QR Code's and DataMatrix's their modules, whatever bar height
        // the settings (or the last item loaded) hold.
        const bool ownHeight =
            labelBack.labelWidth != 0 || gSym.code == kDataMatrixFamily || gSym.code == kQrFamily;
        const double upper =
            ownHeight ? bottom : std::max<double>(bottom, top + gSym.Hei * kPointsPerMm);
        writeBoxes(0, top, right, upper);
        writeArtBox("%%TemplateBox: ", 0, top, kTemplateWidth, kTemplateHeight, true);
        writeArtBox("%%TileBox: ", 0, top, kTemplateWidth, kTemplateHeight, true);
    } else {
        const double w = gEps.sheetWidth / kSheetUnitsPerPoint;
        const double h = gEps.sheetHeight / kSheetUnitsPerPoint;
        writeBoxes(0, top, w, h);
        writeArtBox("%%TemplateBox: ", 0, top, w, h, false);
        writeArtBox("%%TileBox: ", 0, top, w, h, false);
    }

    // Every ink the page paints, not only the current symbol's: separation
    // programs make their plates from these lines.
    if (ill > 87) writeSpotInkComments(pageSpotInks());
}

void doTrailer() {
    const int32_t ill = gOut.ill;
    if (ill == kIllType3) {
        put("end/EFN[]def\r"
            "end systemdict/currentpacking known{false setpacking}if\r"
            "/TEST $TEST definefont pop\r"
            "/TEST findfont/EFN get Fog3.1 begin{RF}forall end\r");
        return;
    }
    if (ill == kIllPdf) return;
    put("U\r");
    // Plain PostScript must print its page; the older procsets leave that to the importer.
    if ((ill == kIll11 || ill == kIll88) && gOut.purePost >= 1) put("showpage\r");
    if (ill < 89) put("%%PageTrailer\r");
}

void DocTrailer(platform::FileRef refNum) {
    const int32_t ill = gOut.ill;
    if (ill == kIllPdf) {
        pdfTail();
    } else {
        put("%%Trailer\r");
    }
    switch (ill) {
        case kIll11:
            put("_E end\r");
            break;
        case kIll88:
            put("Adobe_Illustrator88 /terminate get exec\r"
                "Adobe_pattern /terminate get exec\r"
                "Adobe_customcolor /terminate get exec\r"
                "Adobe_cshow /terminate get exec\r"
                "Adobe_packedarray /terminate get exec\r");
            break;
        case kIll3:
            put("%%PageTrailer\r"
                "gsave annotatepage grestore showpage\r"
                "%%Trailer\r"
                "Adobe_Illustrator_AI3 /terminate get exec\r"
                "Adobe_pattern_AI3 /terminate get exec\r"
                "Adobe_customcolor /terminate get exec\r"
                "Adobe_typography_AI3 /terminate get exec\r"
                "Adobe_cshow /terminate get exec\r"
                "Adobe_packedarray /terminate get exec\r");
            break;
        case kIll5:
        case kIllPress:
            put("LB\r"
                "%AI5_EndLayer--\r"
                "%%PageTrailer\r"
                "gsave annotatepage grestore showpage\r"
                "%%Trailer\r"
                "Adobe_IllustratorA_AI5 /terminate get exec\r"
                "Adobe_typography_AI5 /terminate get exec\r"
                "Adobe_level2_AI5 /terminate get exec\r");
            break;
        default:
            break;
    }
    put("%%EOF\r");
}

void DrawPostPjl(int32_t end) {
    static const char kStart[] = "\x1b%-12345X@PJL JOB\r@PJL ENTER LANGUAGE = POSTSCRIPT \r";
    static const char kEnd[] = "\x1b%-12345X@PJL EOJ\r\x1b%-12345X";
    static_assert(sizeof kStart - 1 == kPjlStartLength && sizeof kEnd - 1 == kPjlEndLength);
    if (end == 0)
        TEInsert2(kStart, kPjlStartLength);
    else
        TEInsert2(kEnd, kPjlEndLength);
}

void EpsStart(platform::FileRef refNum, int32_t) {
    // Nothing of the previous document carries over but the settings.
    resetEpsDocument();
    resetTextRunState();
    documentSheetSize();
    gVec.filRef = refNum;
    gVec.writeFailed = 0;

    // The port in which the writers measure text while the document is written.
    int16_t fnum = 0;
    platform::GetFNum(gSym.barFont, &fnum);
    platform::TextFont(fnum);
    platform::SetFractEnable(true);
    platform::TextFace(0);
    platform::TextSize(static_cast<int16_t>(gSym.Siz * (isDefaultSized(gSym.code) ? 0.2 : 0.1)));

    int32_t right = 0, bottom = 0;
    if (labelBack.labelWidth != 0) {
        right = static_cast<int32_t>(labelBack.labelWidth / 10);
        bottom = static_cast<int32_t>(labelBack.labelHeight / 10);
    } else if (const LabelItem* it = gLabel.labelParts[0].get()) {
        right = it->i16(item::rectRight);
        bottom = it->i16(item::rectBottom);
    }

    const int32_t ill = gOut.ill;
    if (gOut.purePost > 1 && ill != kIllPdf) DrawPostPjl(0);
    if (gSym.code == 37) gEps.non_drawn = 1;
    MakeFontList();
    writeHeader(right, bottom, refNum);

    if (ill == kIllPdf) {
        pdfStart(right, bottom);
    } else {
        bombHeader(refNum);
        if (ill != kIllType3) {
            if (gSym.human == 1 || gEps.fontCount > 0) fontDefinitions();
            put("%%EndSetup\r");
        }
    }

    if (ill == kIllPress) put("%%Page: 1 1\r");
    if (ill == kIll5 || ill == kIllPress) {
        put("%AI5_BeginLayer\r"
            "1 1 1 1 0 0 0 79 128 255 Lb\r"
            "(Layer 1) Ln\r"
            "1 Ap\r"
            "2540 Ar\r");
    } else if (ill == kIllType3) {
        put("/$TEST 23 dict def $TEST begin\r"
            "/PaintType 0 def\r"
            "/FontType 3 def\r"
            "/StrokeWidth 0 def\r"
            "/FontBBox{-3 0 2991 7057}def\r"
            "/RefY[-1 0 3528 5292 7056]def\r"
            "%/UniqueID 0 def\r"
            "/FontMatrix[0.000142 0 0 0.000142 0 0]def\r"
            "/InvMtx[7057 0 0 7057 0 0]def\r"
            "/CharStrings 257 dict def\r"
            "/FontName(TEST)def\r"
            "/BuildChar{Fog3.1/BuildChar get exec}def\r"
            "/FontInfo 3 dict def FontInfo begin\r"
            "/UnderlinePosition 0 def\r"
            "/UnderlineThickness 0 def end\r"
            "/Encoding Fog3.1/MacVec get def\r"
            "CharStrings begin\r"
            "/.notdef{500 0 setcharwidth}def\r");
    }
}

void EpsEnd(platform::FileRef refNum) {
    DocTrailer(refNum);
    if (gOut.purePost > 1 && gOut.ill != kIllPdf) DrawPostPjl(1);
    platform::SetFractEnable(false);
}
