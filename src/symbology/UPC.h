// UPC-A and UPC-E, and the leading-digit helpers that EAN-8 shares.
#pragma once

#include <cstdint>

// Bytes of the UPC-E bar row before the add-on.
constexpr int32_t kUpcERowLen = 37;

// Insert '0' (or c) in front of chMainCode and chMainCode2; len1 and len11 grow
// by one. The callers have checked the lengths, so the buffers always have room.
void AddLeadZero();
void AddLeadDigit(char c);
// Zero suppression of the 13-character EAN form of a UPC-A number into number
// system, six UPC-E digits and check digit (len1 8); 1 when a rule applied.
int32_t UP();
// UPC-E digit i (1 to 6) in set A or B for number system 0 (CE) or 1 (CE1).
void CE(int32_t i);
void CE1(int32_t i);
