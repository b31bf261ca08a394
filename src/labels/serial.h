// Serial numbers: texts of one fixed width counted in decimal, in a base-94
// alphabet of printable characters or in hexadecimal, the most significant digit
// first.
#pragma once

#include <cstdint>

enum SerialBase : int32_t { kSerialDecimal = 0, kSerialBase94 = 1, kSerialHex = 2 };

enum class SerialStep {
    next,     // current holds the next value
    ended,    // overflow, past the end, or the run had ended already: current is empty
    refused,  // a text cannot be counted (message shown): current is empty
};

// Advances `current` (a buffer of 256 bytes) by `increment`, digit by digit with
// carries in `base`; the serial width is last + 1. The increment is read with
// decimal digit values whatever the base. Texts shorter than the width count as
// padded on the left with '0'; a longer text, a width outside 1 to 255, or a
// character that is no digit of its base is refused with a message. Hexadecimal
// takes lower-case letters and writes upper case. `start` is not used.
SerialStep SerialNo(const char* start, const char* end, const char* increment, int32_t last,
                    int32_t base, char* current);
