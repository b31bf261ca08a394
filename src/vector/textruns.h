// Text in a vector page: text objects, font selection, escaped text runs, text
// measurement, text wrapped into a rectangle, and the text item of a label.
//
// PostScript dialects use the text operators of their procsets. The PDF dialect
// (1115) writes real PDF text: SetAnyEpsFontP only remembers the font and size,
// TextPosition / TextPositionAccurate open "BT" with "Tf" and "Tm", and
// DrawTextEPS writes "Tj" and closes with "ET". A font is named in the page
// resources by its printer (PostScript) name: "/Helvetica-Bold 12.0000 Tf" needs
// the entry /Helvetica-Bold in the page's /Font dictionary. pdfFontsUsed() lists
// every name selected since the document began (the default font included when
// text was written before any font was chosen).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// An item rectangle in page coordinates: points, y growing upward.
struct PageRect {
    int32_t upper = 0;
    int32_t left = 0;
    int32_t lower = 0;
    int32_t right = 0;
};

// The font a PDF text object falls back on when none was selected.
inline constexpr const char* kDefaultPdfFont = "Helvetica";

struct TextRunState {
    std::string pdfFont;  // printer name of the font selected for the next text object
    int64_t pdfSize = 0;  // its size in units of 1e-5 point
    bool pdfTextOpen = false;
    std::vector<std::string> pdfFonts;  // every printer name selected in this document
};
extern TextRunState gText;
// The document writer calls it when a document begins.
void resetTextRunState();
// PDF: ends a text object that was positioned but never given its text (path
// operators may not stand inside one). The path writers call it; the page
// writer calls it before the end of the page content.
void closePdfText();
const std::vector<std::string>& pdfFontsUsed();

// Starts a text object at integer point coordinates, turned by gVec.trans2.
void TextPosition(int32_t x, int32_t y);
// Characters first..last (inclusive) of text as one text run; at least one
// character is written.
void DrawTextEPS(const char* text, int32_t first, int32_t last);
// Selects the printer font of screenFont at size (units of 1e-5 point; size2 the
// second size of the older dialects). item >= 0: that label item's bold face
// picks the bold font.
void SetAnyEpsFontP(double size, double size2, const unsigned char* screenFont, int32_t item);
// One character of text set in screenFont at size (as SetAnyEpsFontP), its
// text object at (x, y) in units of 1e-5 point (as TextPositionAccurate).
void setCharacterInFont(const unsigned char* text, const unsigned char* screenFont, double size,
                        int32_t x, int32_t y);

// Width in points of length bytes of text in screenFont at size points (truncated).
int32_t MeasureTextInEPS2(const char* text, int32_t length, double size,
                          const unsigned char* screenFont);
// The width measured at 720 points, scaled for bar painting:
// int(h x 0.003937007874015748 x size x 1350).
int32_t MeasureTextInEPS(const char* text, int32_t length, double size,
                         const unsigned char* screenFont);

// Wraps text (NUL-terminated) into the rectangle, lines customTeSize x 1.2 apart
// (a size under a point counts as one point); justification -1 right, 0 left,
// 1 centre. Bold text is measured in the bold font it is set in.
void epsTextBlock(const PageRect& r, const char* text, int32_t justification, bool bold = false);

// The text item (kind 2) of label item `item`, its rectangle in page coordinates.
// The item is loaded into the current settings (getItemData) by the caller.
void EpsTextItem(int32_t item, const PageRect& r);
// Sets the glyph scale of the current text item: its point size, whatever the
// magnification stored with it, and one point at the least.
void setTextItemSize();
