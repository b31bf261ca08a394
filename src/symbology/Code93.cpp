#include "symbology/Code93.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

#include "symbology/Code128.h"
#include "symbology/Code39.h"
#include "symbology/encoders.h"
#include "symbology/messages.h"
#include "symbology/rows.h"
#include "symbology/state.h"

namespace {

// Code 93 holds the 43 characters of Code 39 and the four shift characters of
// its full-ASCII form, typed as the Mac OS Roman bytes 162, 176, 214 and 173.
// The characters in the order of their values 0 to 46.
constexpr unsigned char kShiftDollar = 162, kShiftPercent = 176, kShiftSlash = 214,
                        kShiftPlus = 173;
constexpr unsigned char kC93Chars[47] = {
    '0', '1', '2', '3', '4', '5', '6', '7',          '8',           '9',         'A',       'B',
    'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J',          'K',           'L',         'M',       'N',
    'O', 'P', 'Q', 'R', 'S', 'T', 'U', 'V',          'W',           'X',         'Y',       'Z',
    '-', '.', ' ', '$', '/', '+', '%', kShiftDollar, kShiftPercent, kShiftSlash, kShiftPlus};

// AIM USS Code 93: bar and space widths in modules (bar first, nine modules).
constexpr char kC93Patterns[47][7] = {
    "131112", "111213", "111312", "111411", "121113", "121212", "121311", "111114",
    "131211", "141111", "211113", "211212", "211311", "221112", "221211", "231111",
    "112113", "112212", "112311", "122112", "132111", "111123", "111222", "111321",
    "121122", "131121", "212112", "212211", "211122", "211221", "221121", "222111",
    "112122", "112221", "122121", "123111", "121131", "311112", "311211", "321111",
    "112131", "113121", "211131", "121221", "312111", "311121", "122211",
};
constexpr char kStart[] = "111141";
constexpr char kStop[] = "1111411";  // the stop and the termination bar

constexpr int32_t kModulus = 47;
constexpr int32_t kWeightsC = 20, kWeightsK = 15;
constexpr int32_t kQuietZone = 8;

struct ValueTable {
    std::array<int8_t, 256> of{};
    constexpr ValueTable() {
        for (auto& v : of) v = -1;
        for (int32_t k = 0; k < kModulus; ++k) of[kC93Chars[k]] = static_cast<int8_t>(k);
    }
};
constexpr ValueTable kValues;

void modules(const char* counts) {
    unsigned char pascal[8];
    const size_t n = std::strlen(counts);
    pascal[0] = static_cast<unsigned char>(n);
    std::memcpy(pascal + 1, counts, n);
    Maker2(pascal);
}

}  // namespace

void Code93(int32_t i) {
    if (i < 0 || i >= static_cast<int32_t>(kMainCodeSize)) return;
    const int32_t v = kValues.of[static_cast<unsigned char>(gData.chMainCode[i])];
    if (v >= 0) modules(kC93Patterns[v]);
}

// The check character of weight limit n over the data, appended to it.
void Check93(int32_t n) {
    const int32_t len = gData.len1;
    int32_t sum = 0;
    for (int32_t i = len - 1, w = 1; i >= 0; --i, w = w == n ? 1 : w + 1)
        sum += kValues.of[static_cast<unsigned char>(gData.chMainCode[i])] * w;
    gData.chMainCode[len] = static_cast<char>(kC93Chars[sum % kModulus]);
    gData.chMainCode[len + 1] = 0;
    gData.len1 = len + 1;
}

int32_t NinetyThree() {
    gData.len1 = std::clamp<int32_t>(gData.len1, 0, kMainCodeSize - 1);
    gData.chMainCode[gData.len1] = 0;
    for (int32_t i = 0; i < gData.len1; ++i) {
        const unsigned char c = static_cast<unsigned char>(gData.chMainCode[i]);
        if (kValues.of[c] >= 0) continue;
        char text[240];
        std::snprintf(text, sizeof text,
                      "Code 93 cannot encode \"%c\". Use digits, capital letters, space, - . $ / "
                      "+ %% and the four shift characters.",
                      quotedChar(c));
        return refuseSymbol(text);
    }
    if (gData.len1 == 0) return refuseSymbol("Code 93 needs data. Enter the data and try again.");
    const bool withChecks = gSym.nCheck == 0;
    if (withChecks) {
        if (gData.len1 + 3 > static_cast<int32_t>(kMainCodeSize))
            return refuseSymbol("The data is too long for this symbol. Shorten it and try again.");
        Check93(kWeightsC);
        Check93(kWeightsK);
    }
    PadEnd(kQuietZone);
    modules(kStart);
    for (int32_t i = 0; i < gData.len1; ++i) Code93(i);
    modules(kStop);
    PadEnd(kQuietZone);
    Vector(kRowUnit10pt);
    if (withChecks) {
        gData.len1 -= 2;
        gData.chMainCode[gData.len1] = 0;
    }
    if (gSym.human == 1) Humans1();
    return gEl.overflow ? 1 : 0;
}
