// Numbers as the program writes and reads them: the same bytes under any locale.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

void NumToString(int32_t num, unsigned char* str);  // Pascal string
void StringToNum(const unsigned char* str, int32_t* num);

// "%d" and "%f" (six decimals) into buf as the C locale writes them. Return the
// length written; the text is always NUL-terminated within size.
int formatInt(char* buf, size_t size, long value);
int formatFixed(char* buf, size_t size, double value, int decimals = 6);
// printf-style formatting in the C locale, whatever the process locale is.
std::string formatC(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// SysBeep: headless it counts, for tests.
void SysBeep(int16_t duration);
int beepCount();
void resetBeeps();

}  // namespace platform
