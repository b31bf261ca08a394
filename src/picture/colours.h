// The drawing colours of pictures, from CMYK percentages.
#pragma once

#include <cstdint>

// The foreground from cyan2, magenta2, yellow2 and black2.
void setColourInPict();
// The foreground from the given percentages (the fills of items: the name does
// not mean the background colour).
void setBackColourInPict(int32_t cyan, int32_t magenta, int32_t yellow, int32_t black);
