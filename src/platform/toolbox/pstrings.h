// Small shared helpers: Pascal strings (a length byte, then at most 255 bytes),
// folder paths as colon paths, bitmap base addresses, and the interface greys.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/quickdraw/quickdraw.h"

namespace platform {

constexpr int kPascalMost = 255;

// Copies a Pascal string with its length byte (dst holds 256 bytes).
void pstrcpy(unsigned char* dst, const unsigned char* src);
void pstrcopy(unsigned char* dst, const unsigned char* src);
// Puts src in front of dst. What would pass 255 bytes is cut from dst's end.
void pstrinsert(unsigned char* dst, const unsigned char* src);
// text as a Pascal string in buffer (256 bytes), cut at 255 bytes; gives buffer.
const unsigned char* toPascal(std::string_view text, unsigned char* buffer);

// The colon path of a folder as a Pascal string: the volume first, each name
// followed by ':'. False (dest empty) when the folder is not absolute or the
// path would not fit in 255 bytes.
bool PathNameFromDirID(const std::string& posixFolder, unsigned char* path);
// The POSIX path of a file in a folder into path (size bytes, NUL included).
// 0, or -37 (a bad name) for an empty name or one with a '/', or -120 when the
// path does not fit.
int FSMakePath(const std::string& posixFolder, const char* name, char* path, size_t size);

// The first word of a bitmap's pixels; KillBitMapBaseAddress gives b back.
uint32_t GetBitmapBaseAddress(const uint32_t* bitmap, int32_t a, int32_t b);
int32_t KillBitMapBaseAddress(int32_t a, int32_t b);

// 1 when not all of bits are set in value, 0 when all are.
int32_t IsIn(int32_t value, int32_t bits);

// The interface greys: 0 light, 1 medium, 2 white (the preference greyInterface).
qd::RGBColor interfaceGrey(int32_t greyInterface);
// Makes the interface grey the current port's background colour.
void setGrey(int32_t greyInterface = 0);
// A medium grey background (red = green = blue = 40000).
void setMedGrey();

}  // namespace platform
