// QuickDraw text measurement on FreeType, fonts found through fontconfig.
#pragma once

#include <cstdint>

namespace platform {

// Font number of a font name (Pascal string); unknown names still get a number,
// and measure with Helvetica metrics (said once on standard error).
void GetFNum(const unsigned char* name, int16_t* num);
void TextFont(int16_t num);
void TextSize(int16_t size);
void TextFace(int16_t face);  // bit 0 bold, bit 1 italic
void SetFractEnable(bool on);
// Width in points of count bytes (Mac OS Roman) of text, from firstByte.
int16_t TextWidth(const void* text, int16_t firstByte, int16_t count);
double TextWidthFract(const void* text, int16_t firstByte, int16_t count);
// Moves the pen by the text's advance.
void DrawText(const void* text, int16_t firstByte, int16_t count);
struct Point {
    int16_t v;
    int16_t h;
};
void GetPen(Point* pt);
void MoveTo(int16_t h, int16_t v);

// The font file the current font resolves to (for tests and diagnostics).
const char* currentFontFile();
// Tests: use only the fonts of this configuration file.
void useFontConfigFile(const char* path);

}  // namespace platform
