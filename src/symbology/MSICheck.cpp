#include <cstdint>

#include "symbology/Codabar.h"

// The digits at odd places from the right count with the digit sum of their
// double, the others as they are. Places count digits only: a space that
// groups a library number must not move a digit from one place to the other.
char MSICheckMod10(const char* data, int32_t n) {
    int32_t sum = 0;
    for (int32_t i = n - 1, place = 0; i >= 0; --i) {
        if (data[i] < '0' || data[i] > '9') continue;
        const int32_t d = data[i] - '0';
        sum += place % 2 == 0 ? (d >= 5 ? 2 * d - 9 : 2 * d) : d;
        ++place;
    }
    return static_cast<char>('0' + (10 - sum % 10) % 10);
}
