// Royal Mail 4-state, KIX, POSTNET and FIM. The entries RoyalMail, Postnet and
// FIM are in symbology/encoders.h.
#pragma once

#include <cstdint>

// A string of bar types ('1' tracker, '2' descender, '3' ascender, '4' full)
// into one band (0 top, 1 middle, 2 bottom).
void RMBuild(const char* bars, int32_t band);
// The character at index i of chMainCode into one band.
void RM4(int32_t i, int32_t band);
void ZIP4(int32_t i, int32_t band);
// The Royal Mail check values of the character at index i: its row and column
// in the 6 x 6 table, 1 to 5 and 0 for the sixth; 0 for other characters.
int32_t workOutRow(int32_t i);
int32_t workOutCol(int32_t i);
// The check character of the first n characters of chMainCode.
char royalMailCheck(int32_t n);
// One FIM pattern ('A' to 'D'; any other letter writes nothing).
void FIMBuild(char letter);
