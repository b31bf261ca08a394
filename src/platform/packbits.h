// PackBits run-length coding, as PICT pixel maps and TIFF strips store rows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

// Appends the PackBits of n bytes to out: a run of `shortestRepeat` or more equal
// bytes as a repeat (1 - count, then the byte), everything else as literals
// (count - 1, then the bytes), at most 128 bytes a run.
void appendPackBits(const uint8_t* data, size_t n, size_t shortestRepeat, std::string* out);

}  // namespace platform
