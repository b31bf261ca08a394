// Opcodes and helpers shared by the PICT writer and reader.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qd::pict {

enum Opcode : uint16_t {
    kNop = 0x0000,
    kClip = 0x0001,
    kBkPat = 0x0002,
    kTxFont = 0x0003,
    kTxFace = 0x0004,
    kTxMode = 0x0005,
    kPnSize = 0x0007,
    kPnMode = 0x0008,
    kPnPat = 0x0009,
    kFillPat = 0x000A,
    kOvSize = 0x000B,
    kTxSize = 0x000D,
    kTxRatio = 0x0010,
    kVersion = 0x0011,
    kPnLocHFrac = 0x0015,
    kRGBFgCol = 0x001A,
    kRGBBkCol = 0x001B,
    kDefHilite = 0x001E,
    kLine = 0x0020,
    kLineFrom = 0x0021,
    kShortLine = 0x0022,
    kShortLineFrom = 0x0023,
    kLongText = 0x0028,
    kDHText = 0x0029,
    kDVText = 0x002A,
    kDHDVText = 0x002B,
    kFontName = 0x002C,
    kFrameRect = 0x0030,  // + verb; + 8 for the same shape again; + 16 per shape kind
    kFramePoly = 0x0070,
    kDirectBitsRect = 0x009A,
    kDirectBitsRgn = 0x009B,
    kShortComment = 0x00A0,
    kLongComment = 0x00A1,
    kEndPic = 0x00FF,
    kHeader = 0x0C00,
};

inline constexpr uint16_t kVersion2 = 0x02FF;
inline constexpr int16_t kExtendedHeader = -2;
// Application comments: kind, then the program's signature and a tag.
inline constexpr int16_t kAppComment = 100;
inline constexpr char kSignature[] = "STRX";
inline constexpr char kTagClip[] = "clip";
inline constexpr char kTagFract[] = "frac";
inline constexpr char kTagFillGroup[] = "fgrp";  // 1 begins a fill group, 0 ends it
// Direct pixel maps: 32-bit RGB, each row packed one component after another.
inline constexpr uint32_t kDirectBaseAddr = 0x000000FF;
inline constexpr uint16_t kPixMapFlag = 0x8000;
inline constexpr int16_t kPackComponents = 4;
inline constexpr int16_t kPackNone = 1;
// Pixel map rows shorter than this are never packed, whatever the pack type says.
inline constexpr int kLeastPackedRow = 8;
inline constexpr int16_t kRGBDirect = 16;
inline constexpr int kRegionEnd = 0x7FFF;

// Pixel map rows are packed with repeats of two bytes and more.
inline constexpr size_t kShortestRepeat = 2;
// Unpacks into out (exactly n bytes); false when the data runs short or over.
bool unpackBits(const uint8_t* data, size_t size, uint8_t* out, size_t n);

}  // namespace qd::pict
