// PostScript names of the fonts that the user picks by their menu names.
#pragma once

#include <cstdint>

// The PostScript name of the screen font `name` (Pascal string) into dest, a
// Pascal string buffer of 256 bytes. A font that cannot be found gives "Helvetica";
// every name given is a valid PostScript name.
void GetLaserFontName(unsigned char* dest, const unsigned char* name);
// The look-up behind GetLaserFontName for a NUL-terminated name; dest receives a
// NUL-terminated name of at most 255 bytes. fontNumber and flags do not matter.
void FindLaserName(char* dest, int16_t fontNumber, int16_t flags, const char* name);
// Forgets the names looked up so far (tests switch font configurations).
void resetLaserFontNames();
