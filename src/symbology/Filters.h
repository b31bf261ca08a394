// Data entry: loading an entered text into the data buffers.
#pragma once

#include <cstdint>

// Code types whose data keeps "-" and blanks as typed.
bool keepsSeparators(int32_t code);

// Copies text into chMainCode and chMainCode2 and addOn into chAddCode and
// chAddCode2, leaving out "-" and blanks where the code type does; data that does
// not fit the buffers is cut at their size.
void Gettw(const char* text, int32_t length, const char* addOn, int32_t addOnLength);
