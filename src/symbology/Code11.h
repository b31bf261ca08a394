// Code 11. The entry Code11 is in symbology/encoders.h.
#pragma once

#include <cstdint>

// Elements of the character at index i of chMainCode ('0' to '9', '-', '*').
void Cod11(int32_t i);
