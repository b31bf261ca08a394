// PICT version 2 bytes for pictures: what the .PIC files, the clipboard's
// picture flavour and pictures inside label documents hold. The 512-byte header
// of a picture file is the caller's; these bytes start at the picture's size word.
//
// Coordinates are written as 16-bit numbers (clamped). A picture's units are
// declared in its header opcode: 72 a inch for label pictures, 2540 (hundredths
// of a millimetre) for the frames of single symbols; the frame word then holds
// the size at 72 a inch.
//
// Two things PICT has no opcode for travel in application comments (kind 100,
// signature 'STRX') that other readers skip: a polygon clip's exact outline (the
// clip region written for them is its pixel area) and fractional widths.
#pragma once

#include <cstddef>
#include <string>

#include "platform/quickdraw/picture.h"

namespace qd {

inline constexpr int kPictPointsPerInch = 72;
inline constexpr int kPictHundredthsMmPerInch = 2540;

std::string WritePict(const Picture& pic, int unitsPerInch = kPictPointsPerInch);

// The picture in PICT bytes written by WritePict (and the same opcodes from
// elsewhere); null with a reason when the bytes are damaged or hold opcodes
// outside that set. Free it with KillPicture.
Picture* ReadPict(const unsigned char* data, size_t size, std::string* error);

}  // namespace qd
