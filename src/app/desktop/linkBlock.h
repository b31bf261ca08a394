// A block of five lines about the program and its web links, drawn into the
// current port; a click on one of the last three lines opens its address.
#pragma once

#include <cstdint>

#include "platform/quickdraw/quickdraw.h"

inline constexpr int32_t kLinkLineHeight = 16;
inline constexpr int32_t kLinkBlockWidth = 190;
inline constexpr int32_t kLinkLines = 5;

// The block's lines from (h, v), the top left, in the current port.
void DrawLinkBlock(int32_t h, int32_t v);
// 1 when the point (in the same port) was on a link line and its address was
// handed to the browser, else 0.
int32_t ClickLinkBlock(int32_t h, int32_t v, qd::Point point);
