// Code 39 and its variants (full ASCII, the library, pharmaceutical and
// health-care forms), with the element writers that Codabar shares. The entry
// ThirtyNine is in symbology/encoders.h.
#pragma once

#include <cstdint>
#include <string_view>

// Elements of '0'/'1' flags (bar first, '1' wide) at the current ratio.
void Maker(std::string_view flags);
// n narrow spaces: the light margin.
void PadEnd(int32_t n);
// Elements of the Code 39 character c ('*' the start/stop); nothing for others.
void C39(unsigned char c);

// The value 0..42 of a Code 39 data character, -1 for any other byte.
int32_t code39Value(unsigned char c);
// The modulo-43 check character of n Code 39 characters.
char Code43CheckAscii(const char* symbols, int32_t n);
// The Code 39 characters (one or two) that stand for ASCII c in full ASCII;
// nullptr above 127.
const char* fullAsciiPair(unsigned char c);

// Variant checks, over the data as the variants take it.
char code32Check(const char* data);               // digits at 1..8 -> check digit
void Code32To39(const char* number, char* out6);  // 9 digits -> six base-32 characters
char ACTCheck(const char* data);                  // 8 characters -> check letter
// The modulo-11 check digit of n PZN digits weighted from firstWeight up; 0 when
// the remainder is 10, which no issued number has.
char PZNCheck(const char* digits, int32_t n, int32_t firstWeight);
char ALICECheck(const char* data);  // digits at 1..5 -> check letter
char CARLMod10Check(const char* data, int32_t n);
