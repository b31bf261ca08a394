#include "symbology/Filters.h"

#include "symbology/state.h"

// Code types that keep "-" and blanks in their data. Codabar ('-' is one of its
// characters), Telepen and Codablock F (both full ASCII) keep them too: leaving
// them out would make a symbol that encodes something else.
bool keepsSeparators(int32_t code) {
    switch (code) {
        case 8:
        case 36:
        case 39:
        case 5:
        case 6:
        case 7:
        case 17:
        case 19:
        case 28:
        case 30:
        case 38:
        case 40:
        case 41:
        case 42:
            return true;
        default:
            return false;
    }
}

namespace {

bool isSeparator(char c) { return c == '-' || c == ' '; }

}  // namespace

void Gettw(const char* text, int32_t length, const char* addOn, int32_t addOnLength) {
    const int32_t code = gSym.code;
    const bool printedKeeps = keepsSeparators(code) || code == 1 || code == 4;
    const bool dataKeeps = keepsSeparators(code);
    int32_t n1 = 0, n11 = 0;
    constexpr int32_t kRoom = static_cast<int32_t>(kMainCodeSize) - 1;
    for (int32_t i = 0; i < length && text[i] != 0; ++i) {
        const char c = text[i];
        if ((dataKeeps || !isSeparator(c)) && n1 < kRoom) gData.chMainCode[n1++] = c;
        if ((printedKeeps || !isSeparator(c)) && n11 < kRoom) gData.chMainCode2[n11++] = c;
    }
    gData.chMainCode[n1] = 0;
    gData.chMainCode2[n11] = 0;
    gData.len1 = n1;
    gData.len11 = n11;

    int32_t n2 = 0;
    constexpr int32_t kAddRoom = static_cast<int32_t>(kAddCodeSize) - 1;
    for (int32_t i = 0; i < addOnLength && addOn[i] != 0; ++i) {
        if (!isSeparator(addOn[i]) && n2 < kAddRoom) {
            gData.chAddCode[n2] = addOn[i];
            gData.chAddCode2[n2] = addOn[i];
            ++n2;
        }
    }
    gData.chAddCode[n2] = 0;
    gData.chAddCode2[n2] = 0;
    gData.len2 = gData.len22 = n2;
}
