// Services of the picture output that the vector writer uses: the text size of
// human-readable text, the import template, the Code 128 retail text line, a
// bounded Pascal-string append and the H-gauge width.
#pragma once

#include <cstddef>
#include <cstdint>

struct PictureServiceState {
    int32_t hWidth = 0;  // width of an H-gauge in points; 12 once a picture drew gauges
};
extern PictureServiceState gPictServices;
void resetPictureServices();

// Sets the port's text size to size and gVec.gCtexsize to n x Siz x 0.001
// (a single-precision product).
void TextSizeGC(int16_t size, int32_t n);

// The import template: the text after the template's first byte (up to its NUL),
// each "<<N>>" replaced by field N (from 1; 0 counts as 1) of the current import
// record gProd.importItems; fields of blanks only, and numbers naming no field,
// give nothing. A result that does not fit a label item's data field (254
// characters) is refused with a message and dst is empty.
constexpr size_t kImportBuiltSize = 256;   // dst holds at least this many bytes
constexpr size_t kImportBuiltMax = 254;    // characters of a label item's data field
constexpr size_t kLabelTemplateMax = 254;  // a template field's text after its first byte
void GetImportBuilt(char* dst, const char* templ);

// Appends n bytes to the Pascal string pstr. Bytes that would take it past 255
// characters are not stored; the result is false then.
bool cpstrcat2(unsigned char* pstr, const void* bytes, int32_t n);

// The 18-character human-readable line of the retail Code 128 variants. Mode 1
// writes it into the vector output: x and y in units of 1e-5 point, scale the
// magnification / 100. Other modes draw in pictures (not built here).
void DrawMS128Text(const char* text, int32_t length, int32_t mode, int32_t x, int32_t y,
                   double scale);
