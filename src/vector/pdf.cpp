#include "vector/pdf.h"

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "labels/labelDoc.h"
#include "platform/numbers.h"
#include "symbology/state.h"
#include "vector/Epsout.h"
#include "vector/fontnames.h"
#include "vector/shapes.h"
#include "vector/sink.h"
#include "vector/spotinks.h"
#include "vector/textruns.h"

PdfState gPdfDoc;

namespace {

// Mac OS Roman codes that PDF's MacRomanEncoding leaves out (mostly the
// mathematical signs) or reads otherwise (0xDB, "currency" there, the euro
// sign since Mac OS 8.5), with the glyph names of what the text means.
struct MacOnlyGlyph {
    unsigned char code;
    const char* name;
};
constexpr MacOnlyGlyph kMacOnlyGlyphs[] = {
    {0xAD, "notequal"},    {0xB0, "infinity"},  {0xB2, "lessequal"}, {0xB3, "greaterequal"},
    {0xB6, "partialdiff"}, {0xB7, "summation"}, {0xB8, "product"},   {0xB9, "pi"},
    {0xBA, "integral"},    {0xBD, "Omega"},     {0xC3, "radical"},   {0xC5, "approxequal"},
    {0xC6, "Delta"},       {0xD7, "lozenge"},   {0xDB, "Euro"},      {0xF0, "apple"},
};

bool macOnlyCode(unsigned char c) {
    for (const MacOnlyGlyph& g : kMacOnlyGlyphs)
        if (g.code == c) return true;
    return false;
}

// The fonts' encoding: the plain name unless the text needs one of these codes,
// so that every other file stays byte for byte what it was.
std::string fontEncoding() {
    if (!gPdfDoc.macOnlyCodes) return "/MacRomanEncoding";
    std::string e = "<< /Type /Encoding /BaseEncoding /MacRomanEncoding /Differences [";
    for (const MacOnlyGlyph& g : kMacOnlyGlyphs) e += platform::formatC(" %d /%s", g.code, g.name);
    return e + " ] >>";
}

void put(const char* text) { TEInsert2(text); }
void put(const std::string& text) { TEInsert2(text.data(), static_cast<int32_t>(text.size())); }

int32_t position() {
    int32_t pos = 0;
    if (platform::GetFPos(gVec.filRef, &pos) != platform::noErr) gVec.writeFailed = 1;
    return pos;
}

void xrefEntry(int32_t offset, bool inUse) {
    put(platform::formatC(inUse ? "%010d 00000 n \r" : "%010d 65535 f \r", offset));
}

// The printer names of the fonts the page may select: the default font, the
// document's font list and whatever the text writers selected.
std::vector<std::string> pageFonts() {
    std::vector<std::string> names{kDefaultPdfFont};
    auto add = [&](const std::string& n) {
        for (const std::string& have : names)
            if (have == n) return;
        names.push_back(n);
    };
    unsigned char ps[256];
    for (int i = 0; i < gEps.fontCount; ++i) {
        GetLaserFontName(ps, gEps.fontName[i]);
        add(std::string(reinterpret_cast<const char*>(ps + 1), ps[0]));
    }
    for (const std::string& n : pdfFontsUsed()) add(n);
    return names;
}

// Whether the page may paint in a spot colour: the symbol being made, or an
// item of the label that paints in its spot colour.
bool pageMayUseSpot() {
    if (gSym.customColour == 1) return true;
    for (int i = 0; i <= labelBack.lastItem && i < kMaxLabelItems; ++i) {
        const LabelItem* it = gLabel.labelParts[static_cast<size_t>(i)].get();
        if (it && itemPaintsSpot(*it)) return true;
    }
    return false;
}

// The object that holds the page's colour spaces, when it has them.
constexpr int32_t kPdfColourSpaceObject = kPdfFixedObjects;

// "[c m y k]" as fractions, in the colour operators' own number text.
std::string cmykArray(const PdfState::Spot& s) {
    std::string a = "[";
    for (int32_t percent : {s.c, s.m, s.y, s.k}) {
        char t[5];
        a.append(t, static_cast<size_t>(colourNumberText(t, percent)));
    }
    a.back() = ']';
    return a;
}

// Each spot colour as a Separation space whose tint runs from no ink to its
// process equivalent, for readers and devices without that plate.
void writeColourSpaces() {
    put(platform::formatC("%d 0 obj\r<<", kPdfColourSpaceObject));
    for (size_t i = 0; i < gPdfDoc.spots.size(); ++i) {
        const PdfState::Spot& s = gPdfDoc.spots[i];
        put(platform::formatC(" /CS%d [/Separation ", static_cast<int32_t>(i)));
        put(pdfName(s.name));
        put(" /DeviceCMYK << /FunctionType 2 /Domain [0 1] /C0 [0 0 0 0] /C1 " + cmykArray(s) +
            " /N 1 >>]\r");
    }
    put(">>\rendobj\r");
}

}  // namespace

std::string pdfName(const std::string& bytes) {
    constexpr std::string_view kDelimiters = "()<>[]{}/%#";
    constexpr unsigned char kFirstPrintable = 0x21, kLastPrintable = 0x7E;
    std::string n = "/";
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < kFirstPrintable || b > kLastPrintable || kDelimiters.find(ch) != std::string::npos)
            n += platform::formatC("#%02X", b);
        else
            n += ch;
    }
    return n;
}

int32_t pdfSpotSpace(const unsigned char* name, int32_t c, int32_t m, int32_t y, int32_t k) {
    if (!gPdfDoc.spotSpaces || name[0] == 0) return -1;
    const std::string n(reinterpret_cast<const char*>(name + 1), name[0]);
    std::vector<PdfState::Spot>& spots = gPdfDoc.spots;
    // One plate, one space: a name met again keeps the process equivalent it came with.
    for (size_t i = 0; i < spots.size(); ++i)
        if (spots[i].name == n) return static_cast<int32_t>(i);
    spots.push_back({n, c, m, y, k});
    return static_cast<int32_t>(spots.size() - 1);
}

void pdfStart(int32_t right, int32_t bottom) {
    gPdfDoc = PdfState{};
    gPdfDoc.spotSpaces = pageMayUseSpot();
    gPdfDoc.p1[2] = position();
    put("\r1 0 obj\r<< /Type /Catalog\r/Pages 2 0 R\r>>\rendobj\r");
    gPdfDoc.p1[3] = position();
    put("2 0 obj\r<< /Type /Pages\r/Kids [3 0 R]\r/Count 1\r>>\rendobj\r");
    gPdfDoc.p1[4] = position();
    put("3 0 obj\r<< /Type /Page\r/Parent 2 0 R\r/MediaBox [0 0 ");
    if (labelBack3.labelWidth != 0 && !gEps.sheetDefaulted)
        put(platform::formatC("%f %f", gEps.sheetWidth / kSheetUnitsPerPoint,
                              gEps.sheetHeight / kSheetUnitsPerPoint));
    else if (labelBack3.labelWidth != 0)
        put(platform::formatC("%d %d", kA4Width, kA4Height));
    else
        put(platform::formatC("%d %d", right, bottom));
    put("]\r/Contents 4 0 R\r/Resources << /ProcSet [ /PDF /Text ]\r/Font 6 0 R\r");
    if (gPdfDoc.spotSpaces) put(platform::formatC("/ColorSpace %d 0 R\r", kPdfColourSpaceObject));
    put(">>\r>>\rendobj\r");
    gPdfDoc.p1[5] = position();
    put("4 0 obj\r<< /Length 5 0 R >>\r");
    gPdfDoc.p1[6] = position();
    put("stream\r\n");
}

void pdfNoteText(const unsigned char* text, size_t count) {
    for (size_t i = 0; i < count && !gPdfDoc.macOnlyCodes; ++i)
        gPdfDoc.macOnlyCodes = macOnlyCode(text[i]);
}

void pdfContentStart() { gPdfDoc.contentStart = position(); }

void pdfContentEnd() {
    const int32_t end = position();
    gPdfDoc.p1[0] = end - gPdfDoc.contentStart;
    gPdfDoc.p1[1] = end;
}

void pdfTail() {
    put("endstream\rendobj\r");
    const int32_t object5 = position();
    put("5 0 obj\r");
    put(platform::formatC("%d\r", gPdfDoc.p1[0]));
    put("endobj\r");

    // The font resources name one object per font, so that readers can list them.
    const std::vector<std::string> fonts = pageFonts();
    const int32_t firstFont = kPdfFixedObjects + (gPdfDoc.spotSpaces ? 1 : 0);
    const int32_t objects = firstFont + static_cast<int32_t>(fonts.size());
    gPdfDoc.p1[7] = position();
    put("6 0 obj\r<<");
    for (size_t i = 0; i < fonts.size(); ++i)
        put(platform::formatC(" /%s %d 0 R\r", fonts[i].c_str(),
                              firstFont + static_cast<int32_t>(i)));
    put(">>\rendobj\r");
    const int32_t colourSpacesAt = position();
    if (gPdfDoc.spotSpaces) writeColourSpaces();
    std::vector<int32_t> fontAt;
    for (size_t i = 0; i < fonts.size(); ++i) {
        fontAt.push_back(position());
        put(platform::formatC("%d 0 obj\r", firstFont + static_cast<int32_t>(i)));
        put("<< /Type /Font /Subtype /Type1 /BaseFont /" + fonts[i] + " /Encoding " +
            fontEncoding() + " >>\rendobj\r");
    }

    const int32_t table = position();
    put(platform::formatC("xref\r0 %d\r", objects));
    xrefEntry(0, false);
    xrefEntry(gPdfDoc.p1[2] + 1, true);  // after the line end of "%PDF-1.4": 9
    xrefEntry(gPdfDoc.p1[3], true);
    xrefEntry(gPdfDoc.p1[4], true);
    xrefEntry(gPdfDoc.p1[5], true);
    xrefEntry(object5, true);
    xrefEntry(gPdfDoc.p1[7], true);
    if (gPdfDoc.spotSpaces) xrefEntry(colourSpacesAt, true);
    for (int32_t at : fontAt) xrefEntry(at, true);
    put(platform::formatC("trailer\r<< /Size %d\r/Root 1 0 R\r>>\rstartxref\r", objects));
    put(platform::formatC("%d\r", table));
}
