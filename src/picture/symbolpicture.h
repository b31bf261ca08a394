// The current symbol drawn as a picture for the output kinds that need one.
#pragma once

#include <cstdint>

// True for the output kinds that are made from the symbol's picture.
bool needsPicture(int32_t tool);
// Generates the current symbol and records it as the output's picture
// (gPictOut.Pict). False when the symbol cannot be drawn (reported).
bool recordSymbolPicture();
