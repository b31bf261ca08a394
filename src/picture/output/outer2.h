// Delivering a symbol that has just been made: bar-font text or the picture to
// the clipboard, a file of the output kind, or a line appended to a text file.
#pragma once

#include <cstdint>

constexpr uint16_t kMsgTextOnClipboard = 41;
constexpr uint16_t kMsgPictureOnClipboard = 42;
constexpr int32_t kHumanOneLine = 4;  // human-readable mode: the first row only

// Delivers the current symbol by the output kind (tool) and target (outToFile).
// 1 when it reached its file or the clipboard, 0 when a file could not be
// written (reported) or a dialog was cancelled.
int32_t outer2();
// The bar-font text's size in points for a magnification: a tenth of it, at
// least 1.
int32_t barFontPoints(double siz);
