#include "symbology/info.h"

#include <cstring>

#include "symbology/state.h"

DispatchState gDispatch;

namespace {
void prependZero() {
    // The buffers keep one byte for the NUL: refuse to grow past them.
    if (gData.len1 + 2 > static_cast<int32_t>(kMainCodeSize)) return;
    std::memmove(gData.chMainCode + 1, gData.chMainCode, static_cast<size_t>(gData.len1) + 1);
    gData.chMainCode[0] = '0';
    ++gData.len1;
}
}  // namespace

void Len() {
    if (gData.len1 % 2 == 0) prependZero();
}

void LenEven() {
    if (gData.len1 % 2 == 1) prependZero();
}

void calcheck() {
    int sum = 0;
    int weight = 3;
    for (int i = gData.len1 - 1; i >= 0; --i) {
        sum += (gData.chMainCode[i] - '0') * weight;
        weight = weight == 3 ? 1 : 3;
    }
    if (gData.len1 + 2 > static_cast<int32_t>(kMainCodeSize)) return;
    gData.chMainCode[gData.len1] = static_cast<char>('0' + (10 - sum % 10) % 10);
    ++gData.len1;
    gData.chMainCode[gData.len1] = 0;
}

int32_t STRixel() { return 1; }
int32_t CheckLength(const unsigned char*, int32_t, int32_t, int32_t) { return 1; }
void getCodeScale(int32_t) {}
