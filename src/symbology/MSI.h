// Check characters of the bit-serial codes.
#pragma once

#include <cstdint>

// The two Plessey check characters ('0'-'9', 'A'-'F') of n hexadecimal digits;
// false when a character is no hexadecimal digit.
bool generateCRCCheck(const char* data, int32_t n, char check[2]);
// The MSI modulo-10 check digit of n decimal digits.
char MSICheckMod10(const char* data, int32_t n);
