// Bar-font text leaving the program: one line a symbol appended to a text file,
// and the conversions of the element list's Mac OS Roman bytes for other systems.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Appends the current symbol's line to the run's file: the first symbol (or one
// outside a run) names and creates the file, later symbols of a run append. 1
// when the line was written, 0 when not (reported, and the run ends so that no
// later symbol appends to an older file).
int32_t SaveTextToFile(int32_t yPos);
// The line of the current symbol as written: the alphanumeric characters of the
// last row when the bars are lower than 5 mm, else the whole element list; then
// a carriage return.
std::string saveItemToFile();

// Mac OS Roman to UTF-16 big-endian after the byte-order mark FE FF; a carriage
// return becomes CR LF.
std::string MACtoMacRomanUnicode(const unsigned char* text, size_t n);
// Mac OS Roman to UTF-8 after the byte-order mark EF BB BF.
std::string MACtoUTF8(const unsigned char* text, size_t n);
// Mac OS Roman to the Windows code page 1252, byte for byte, in place.
void MACtoANSI(unsigned char* text, size_t n);
