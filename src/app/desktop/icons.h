// The program's icons, kept as text pictures in resources/icons/:
// small-icon lists (16 x 16, one bit a pixel) in icons/sicn/<id>.txt and colour
// icons (32 x 32) in icons/cicn/<id>.txt.
//
// A small-icon list holds "icon <n>" followed by 16 rows of 16 characters,
// '#' black and '.' white. A colour icon holds "colour <c> RRGGBB" lines naming
// its colours, "at <h> <v>" placing its rows in the 32 x 32 frame, then "pixels"
// and its rows; '.' and anything beyond the rows is transparent. Lines starting
// with '#' outside the rows are comments.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/quickdraw/quickdraw.h"

constexpr int32_t kSmallIconSize = 16;
constexpr int32_t kColourIconSize = 32;

// Bit rows of one small icon, the leftmost pixel in the top bit.
using SmallIcon = std::array<uint16_t, kSmallIconSize>;
// Item index (from 1) of small-icon list id; nothing when either is missing.
std::optional<SmallIcon> smallIcon(int32_t id, int32_t index);

struct ColourIcon {
    // One pixel a cell, row after row; empty cells are transparent.
    std::array<std::optional<qd::RGBColor>, kColourIconSize * kColourIconSize> pixels{};
};
std::optional<ColourIcon> colourIcon(int32_t id);

// The parsers, over the text of a file (tests feed them broken input).
std::optional<SmallIcon> parseSmallIcon(std::string_view text, int32_t index);
std::optional<ColourIcon> parseColourIcon(std::string_view text);
