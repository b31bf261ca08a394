// The human-readable characters of a symbol in vector output: each is drawn from
// its built-in outline (platform/glyph_outlines.h) through the path primitives of
// vector/chars.h, or handed to a PostScript font when the settings ask for one.
//
// text points at the character; x and y are the glyph origin in units of 1e-5
// point. The glyph scale is the one set last by SetDrawTxtSize / SetDrawTxtSize2.
#pragma once

#include <cstdint>

// The main set: text under the bars, the add-on digits and the ISBN header.
// Returns 3122 for 'M', in font mode also 1320 for '(' and ')' (0 in OCR-B);
// 0 otherwise (callers then advance by their own widths).
int32_t getCharacterOut(const unsigned char* text, int32_t x, int32_t y);
// Whether ch is one of the codes the bar font draws as a letter of the
// book-number headers and retail texts ('[' I, '%' X and the like).
bool letterCode(unsigned char ch);
// As getCharacterOut for a character of the data: the codes the bar font draws
// as letters ('[' I, '%' X and the like) show as themselves.
int32_t getDataCharacterOut(const unsigned char* text, int32_t x, int32_t y);
// The header set, for header lines whose font differs from the type's default.
// Always returns 2910.
int32_t getCharacterOut2(const unsigned char* text, int32_t x, int32_t y);
// The serif 'S' and 'P' set beside some retail symbols. Always returns 2910.
int32_t getCharacterOutPeacock(const unsigned char* text, int32_t x, int32_t y);

// The horizontal extent, in glyph units, of the outline that getCharacterOut
// draws for ch under the current settings; false when it draws none.
bool glyphOutlineExtent(unsigned char ch, int32_t* minX, int32_t* maxX);

// The font of the main set's characters that have no outline.
inline constexpr unsigned char kOcrbFallbackFont[] = {4, 'O', 'C', 'R', 'B'};
// Whether getCharacterOut sets ch in kOcrbFallbackFont for a barcode item of
// code type `code` whose text is in `fontBelow` (Pascal), `textAsFont` as the
// item keeps it: the text is drawn as outlines and they lack ch. dataText: the
// line is the data (getDataCharacterOut).
bool setInOcrb(unsigned char ch, int32_t code, const unsigned char* fontBelow, int32_t textAsFont,
               bool dataText);
