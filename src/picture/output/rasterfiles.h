// Image files of the symbol's picture: TIFF through libtiff and Windows bitmaps.
// The picture is drawn without smoothing into an offscreen world of the image's
// size, and each pixel takes the nearest of the symbol's colours, so that every
// pixel is exactly the bar or the background colour.
#pragma once

#include <cstdint>
#include <string>

#include "platform/quickdraw/picture.h"

constexpr uint16_t kMsgTiffRowFailed = 40;
constexpr uint16_t kMsgImageTooLarge = 1423;

// The settings an options text gives a TIFF file (option words such as
// "-lzw -predictor 2", "B/W").
struct TiffOptions {
    uint16_t compression = 32773;  // PackBits
    uint16_t fillOrder = 1;        // the most significant bit first
    bool blackWhite = false;       // 1 bit a pixel instead of the colour palette
    uint32_t group3Options = 0;
    uint16_t predictor = 0;     // 0: none
    uint32_t rowsPerStrip = 0;  // 0: as many as fill 8192 bytes
};
TiffOptions parseTiffOptions(const char* options);

// The number of bits needed to hold maxval.
int MaxValToBits(uint32_t maxval);

// The picture drawn at its own size at dpi (its top left at the image's) into an
// image of rect's size (pixels), and written as TIFF bytes: a colour
// palette, greyscale when every colour is a grey, or 1 bit a pixel for "B/W"
// (a coloured symbol's background white and all else black).
// False when it could not be made (reported: message 40 for a row).
bool TiffToFile(const qd::Picture* pic, const qd::Rect& rect, const char* options, double dpi,
                std::string* out);
// The same drawing as a Windows bitmap at dpi: 8 bits with the palette, or 1 bit
// when the colours are black and white. False when it could not be made (reported).
bool BMPToFile(const qd::Picture* pic, const qd::Rect& rect, double dpi, std::string* out);
