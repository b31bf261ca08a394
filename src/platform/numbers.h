// Numbers as the program writes and reads them: the same bytes under any locale.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

void NumToString(int32_t num, unsigned char* str);  // Pascal string, at most 11 characters
// An optional sign and decimal digits; reading stops at the first other byte.
// Values beyond the 32-bit range give INT32_MIN or INT32_MAX.
void StringToNum(const unsigned char* str, int32_t* num);

// "%d" and "%f" (six decimals) into buf as the C locale writes them. Return the
// length written; the text is always NUL-terminated within size. When the text
// does not fit, buf is left empty and -1 is returned.
int formatInt(char* buf, size_t size, long value);
int formatFixed(char* buf, size_t size, double value, int decimals = 6);
// The quick road of formatFixed: writes at most 32 bytes (no NUL) into out and
// returns their count, or -1 when the value needs the general conversion.
int formatFixedQuick(char* out, double value, int decimals = 6);
// printf-style formatting in the C locale, whatever the process locale is.
std::string formatC(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// SysBeep: headless it counts, for tests; the desktop gives it a sound.
void SysBeep(int16_t duration);
void SetBeepSound(void (*sound)(int16_t duration));  // null: silent
int beepCount();
void resetBeeps();

}  // namespace platform
