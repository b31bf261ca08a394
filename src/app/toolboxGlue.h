// Small operations the windows share: random numbers, the Luhn check of card
// numbers, and pictures kept in files as a length and their bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/files.h"

// The largest n getRandNum takes (the range of rand() it scales).
constexpr int32_t kRandRange = 32767;
// A random number from 1 to about n; n is taken between 1 and 32767.
int32_t getRandNum(int32_t n);

// 1 when the digit string passes the Luhn check, else 0 (also for an empty
// text or one holding anything but digits).
int32_t CreditCardCheckDigit(const std::string& digits);

// A picture's bytes written as a 4-byte length (this machine's order) and the
// bytes; the first failure's status, or noErr.
platform::OSErr SavePictures(platform::FileRef ref, const std::string& picture);
// Reads what SavePictures wrote at the file's position. Nothing when the length
// is negative or more than the file holds after it, or the read comes short.
std::optional<std::string> LoadPictures(platform::FileRef ref);

// The value with its four bytes reversed.
uint32_t MacByteSwapper(uint32_t value);
