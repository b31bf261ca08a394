#include "support/grey_image.h"

#include <cstdint>

#include "platform/quickdraw/image.h"

namespace testsupport {

Bitmap greyOfImage(const std::string& path, std::string* error) {
    qd::Image image;
    std::string why;
    Bitmap b;
    if (!qd::ReadImageFile(path, &image, &why)) {
        if (error) *error = why.empty() ? "unreadable" : why;
        return b;
    }
    b.width = image.width;
    b.height = image.height;
    for (uint32_t p : image.pixels)
        b.pixels.push_back(
            static_cast<uint8_t>(((p >> 16 & 255) + (p >> 8 & 255) + (p & 255)) / 3));
    return b;
}

}  // namespace testsupport
