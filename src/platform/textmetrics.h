// QuickDraw text measurement on FreeType, fonts found through fontconfig.
//
// The standard PostScript families (Helvetica, Times, Courier, Symbol, ...) measure
// with their metric-compatible fonts of fonts-urw-base35, "OCRB" and "OCR-ANormal"
// with fonts-ocr-b and fonts-ocr-a, and the program's bar font "Strixel" with its
// built-in metrics. Bytes are Mac OS Roman.
#pragma once

#include <cstdint>

namespace platform {

// Font number of a font name (Pascal string); unknown names still get a number,
// and measure with Helvetica metrics (said once on standard error).
void GetFNum(const unsigned char* name, int16_t* num);
void TextFont(int16_t num);
void TextSize(int16_t size);  // points; 0 is the default 12
void TextFace(int16_t face);  // bit 0 bold, bit 1 italic
// Off: every character advances by its width rounded to a whole point, as on
// screen. On: the exact widths add up.
void SetFractEnable(bool on);
// Width in points of count bytes (Mac OS Roman) of text, from firstByte, rounded.
int16_t TextWidth(const void* text, int16_t firstByte, int16_t count);
double TextWidthFract(const void* text, int16_t firstByte, int16_t count);
// Moves the pen by the text's advance (nothing is drawn yet).
void DrawText(const void* text, int16_t firstByte, int16_t count);
struct Point {
    int16_t v;
    int16_t h;
};
// The pen position, truncated to whole points.
void GetPen(Point* pt);
void MoveTo(int16_t h, int16_t v);
// The pen draws nothing yet; these keep the calls of the measuring code.
void HidePen();
void ShowPen();

// The PostScript name (Pascal string, 256 bytes) of the font a menu name stands
// for: the standard name for the standard families ("Helvetica-Bold", "Times-Roman"),
// "Strixel" for the bar font, otherwise the name of the installed font. False, with
// dest empty, when no such font is installed.
bool FindPostScriptName(const unsigned char* name, unsigned char* dest);

// The name a font number stands for (empty for numbers GetFNum never gave).
const char* fontNameOf(int16_t num);
// True when the current font is the built-in bar font.
bool currentIsBarFont();
// The advance of a byte in the bar font, in ems (points at a size of one point).
double barFontAdvance(unsigned char b);
// The font file the current font resolves to (for tests and diagnostics); empty
// for the built-in bar font.
const char* currentFontFile();
// Tests: use only the fonts of this fontconfig file. False when it cannot be read.
bool useFontConfigFile(const char* path);

}  // namespace platform
