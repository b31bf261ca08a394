// The character set of PDF417 data: the program keeps Mac OS Roman bytes, the
// symbols carry Windows-1252.
#pragma once

#include <cstddef>

// Converts length bytes in place from Mac OS Roman to Windows-1252. Bytes 0..127
// and 255 stay; characters without a Windows-1252 code keep their byte or take a
// look-alike (the table says which).
void MACtoANSI2(unsigned char* buffer, size_t length);
