// The clipboard of platform/desktop.h on the system clipboard: text as UTF-8, a
// picture also as PNG for other programs, and the label flavours under types of
// our own, so that two running copies exchange label items.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace toolbox {

// The MIME types the program's own flavours travel under.
inline constexpr const char* kPictMime = "application/x-strixel-pict";
inline constexpr const char* kLablMime = "application/x-strixel-labl";
inline constexpr const char* kExtrMime = "application/x-strixel-extr";

// From now on the clipboard calls reach the system clipboard.
void UseSystemClipboard();

// The system clipboard's plain text (UTF-8), and text put there as another
// program would (tests).
std::string SystemClipboardText();
void SetSystemClipboardText(const std::string& utf8);
// True when the system clipboard offers a PNG picture.
bool SystemClipboardHasImage();
// The picture it offers, as 0xRRGGBB pixels row by row (none: empty).
struct ClipboardImage {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
};
ClipboardImage SystemClipboardImage();

}  // namespace toolbox
