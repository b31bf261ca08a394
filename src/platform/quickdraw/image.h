// Image files placed on labels: PNG, JPEG and TIFF read into RGBA pixels at their
// natural size, and drawn into the current port scaled and turned.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/quickdraw/quickdraw.h"

namespace qd {

struct Image {
    int width = 0;  // natural size in pixels
    int height = 0;
    std::vector<uint32_t> pixels;  // 0xAARRGGBB, not premultiplied, row after row
};

struct ImageKind {
    const char* name;        // "PNG"
    const char* extensions;  // "png", space-separated
    const char* fileType;    // the four-character file type
};
// The kinds ReadImage reads.
const std::vector<ImageKind>& ReadableImageKinds();

// Reads an image file, its kind told by its first bytes. False with a message
// when the file cannot be read, is of another kind, or is damaged or cut short.
bool ReadImageFile(const std::string& path, Image* out, std::string* error);
bool ReadImage(const unsigned char* data, size_t size, Image* out, std::string* error);

// Draws the image into the current port: its natural bounds mapped onto dst,
// then turned by angle degrees (clockwise on the page) about dst's centre. A dst
// of no width or height is taken as 100 units that way.
void DrawImage(const Image& image, const Rect& dst, double angle);

}  // namespace qd
