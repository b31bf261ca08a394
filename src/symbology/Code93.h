// Code 93. The entry NinetyThree is in symbology/encoders.h.
#pragma once

#include <cstdint>

// Elements of the character at index i of chMainCode.
void Code93(int32_t i);
// Appends the check character of weight limit n (20 for C, 15 for K) to chMainCode.
void Check93(int32_t n);
