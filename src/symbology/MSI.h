// The Plessey check characters (the MSI check digit is in Codabar.h, which
// the library check digits share).
#pragma once

#include <cstdint>

// The two Plessey check characters ('0'-'9', 'A'-'F') of n hexadecimal digits;
// false when a character is no hexadecimal digit.
bool generateCRCCheck(const char* data, int32_t n, char check[2]);
