// Telepen, ASCII and numeric. The entry Telepen is in symbology/encoders.h.
#pragma once

#include <cstdint>

// The Telepen check byte of n bytes: 127 less the sum modulo 127 (0 when the
// sum divides, 127 when it is 0).
unsigned char TeleCheck(const unsigned char* bytes, int32_t n);
// The modulo-11 check characters ('0' to '9' or 'X') of the Limerick form
// (weights 8, 7, 6, ... from the first character) and of option 6 (weights
// 7, 8, 4, 6, 3, 5, 2, 1 from the second character, then 1).
char LimerickCheck(const char* data, int32_t n);
char Mod11Check(const char* data, int32_t n);
// Packs n digits (an even count; 'X' may follow a digit) into out: a pair is
// 27 + its value, a digit before 'X' its code less 31. Returns the byte count.
int32_t telepen_numeric(const char* data, int32_t n, unsigned char* out);
// Elements of one byte value (0 to 133).
void TPEN(unsigned char c);
