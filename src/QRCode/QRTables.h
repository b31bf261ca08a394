// QR Code model 2 tables: the symbol versions with their codeword capacities,
// error-correction blocks and alignment-pattern centres, and the arithmetic of
// GF(256) over the prime polynomial 0x11D with its generator polynomials.
#pragma once

#include <array>
#include <cstdint>

constexpr int32_t QR_VERSION_MAX = 40;
constexpr int32_t MAX_ALLCODEWORD = 3706;   // total codewords of version 40
constexpr int32_t MAX_DATACODEWORD = 2956;  // data codewords of version 40-L
constexpr int32_t MAX_MODULESIZE = 177;     // 4 x 40 + 17
constexpr int32_t MAX_RSCODEWORD = 68;      // the longest generator polynomial kept
constexpr int32_t MAX_CODEBLOCK = 153;      // the longest block (data and error correction)

// One kind of error-correction block: how many blocks, their total and data
// codewords.
struct RS_BLOCKINFO {
    int32_t ncRSBlock;
    int32_t ncAllCodeWord;
    int32_t ncDataCodeWord;
};

// One version: the index of every per-level column is the level (0 L, 1 M, 2 Q,
// 3 H). Blocks of the second kind are one data codeword longer than the first.
struct QR_VERSIONINFO {
    int32_t nVersionNo;
    int32_t ncAllCodeWord;
    int32_t ncDataCodeWord[4];
    int32_t ncAlignPoint;    // alignment-pattern coordinates besides 6
    int32_t nAlignPoint[6];  // those coordinates, 0 when unused
    RS_BLOCKINFO RS_BlockInfo1[4];
    RS_BLOCKINFO RS_BlockInfo2[4];
};
static_assert(sizeof(QR_VERSIONINFO) == 37 * sizeof(int32_t));

// ISO/IEC 18004: codeword capacities, block structure per version and level, and
// the alignment-pattern centres of Annex E without the leading 6. Record 0 is unused.
// clang-format off
inline constexpr QR_VERSIONINFO QR_VersonInfo[QR_VERSION_MAX + 1] = {
    {0, 0, {0, 0, 0, 0}, 0, {0, 0, 0, 0, 0, 0},
     {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
     {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}}},
    {1, 26, {19, 16, 13, 9}, 0, {0, 0, 0, 0, 0, 0},
     {{1, 26, 19}, {1, 26, 16}, {1, 26, 13}, {1, 26, 9}},
     {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}}},
    {2, 44, {34, 28, 22, 16}, 1, {18, 0, 0, 0, 0, 0},
     {{1, 44, 34}, {1, 44, 28}, {1, 44, 22}, {1, 44, 16}},
     {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}}},
    {3, 70, {55, 44, 34, 26}, 1, {22, 0, 0, 0, 0, 0},
     {{1, 70, 55}, {1, 70, 44}, {2, 35, 17}, {2, 35, 13}},
     {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}}},
    {4, 100, {80, 64, 48, 36}, 1, {26, 0, 0, 0, 0, 0},
     {{1, 100, 80}, {2, 50, 32}, {2, 50, 24}, {4, 25, 9}},
     {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}}},
    {5, 134, {108, 86, 62, 46}, 1, {30, 0, 0, 0, 0, 0},
     {{1, 134, 108}, {2, 67, 43}, {2, 33, 15}, {2, 33, 11}},
     {{0, 0, 0}, {0, 0, 0}, {2, 34, 16}, {2, 34, 12}}},
    {6, 172, {136, 108, 76, 60}, 1, {34, 0, 0, 0, 0, 0},
     {{2, 86, 68}, {4, 43, 27}, {4, 43, 19}, {4, 43, 15}},
     {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}}},
    {7, 196, {156, 124, 88, 66}, 2, {22, 38, 0, 0, 0, 0},
     {{2, 98, 78}, {4, 49, 31}, {2, 32, 14}, {4, 39, 13}},
     {{0, 0, 0}, {0, 0, 0}, {4, 33, 15}, {1, 40, 14}}},
    {8, 242, {194, 154, 110, 86}, 2, {24, 42, 0, 0, 0, 0},
     {{2, 121, 97}, {2, 60, 38}, {4, 40, 18}, {4, 40, 14}},
     {{0, 0, 0}, {2, 61, 39}, {2, 41, 19}, {2, 41, 15}}},
    {9, 292, {232, 182, 132, 100}, 2, {26, 46, 0, 0, 0, 0},
     {{2, 146, 116}, {3, 58, 36}, {4, 36, 16}, {4, 36, 12}},
     {{0, 0, 0}, {2, 59, 37}, {4, 37, 17}, {4, 37, 13}}},
    {10, 346, {274, 216, 154, 122}, 2, {28, 50, 0, 0, 0, 0},
     {{2, 86, 68}, {4, 69, 43}, {6, 43, 19}, {6, 43, 15}},
     {{2, 87, 69}, {1, 70, 44}, {2, 44, 20}, {2, 44, 16}}},
    {11, 404, {324, 254, 180, 140}, 2, {30, 54, 0, 0, 0, 0},
     {{4, 101, 81}, {1, 80, 50}, {4, 50, 22}, {3, 36, 12}},
     {{0, 0, 0}, {4, 81, 51}, {4, 51, 23}, {8, 37, 13}}},
    {12, 466, {370, 290, 206, 158}, 2, {32, 58, 0, 0, 0, 0},
     {{2, 116, 92}, {6, 58, 36}, {4, 46, 20}, {7, 42, 14}},
     {{2, 117, 93}, {2, 59, 37}, {6, 47, 21}, {4, 43, 15}}},
    {13, 532, {428, 334, 244, 180}, 2, {34, 62, 0, 0, 0, 0},
     {{4, 133, 107}, {8, 59, 37}, {8, 44, 20}, {12, 33, 11}},
     {{0, 0, 0}, {1, 60, 38}, {4, 45, 21}, {4, 34, 12}}},
    {14, 581, {461, 365, 261, 197}, 3, {26, 46, 66, 0, 0, 0},
     {{3, 145, 115}, {4, 64, 40}, {11, 36, 16}, {11, 36, 12}},
     {{1, 146, 116}, {5, 65, 41}, {5, 37, 17}, {5, 37, 13}}},
    {15, 655, {523, 415, 295, 223}, 3, {26, 48, 70, 0, 0, 0},
     {{5, 109, 87}, {5, 65, 41}, {5, 54, 24}, {11, 36, 12}},
     {{1, 110, 88}, {5, 66, 42}, {7, 55, 25}, {7, 37, 13}}},
    {16, 733, {589, 453, 325, 253}, 3, {26, 50, 74, 0, 0, 0},
     {{5, 122, 98}, {7, 73, 45}, {15, 43, 19}, {3, 45, 15}},
     {{1, 123, 99}, {3, 74, 46}, {2, 44, 20}, {13, 46, 16}}},
    {17, 815, {647, 507, 367, 283}, 3, {30, 54, 78, 0, 0, 0},
     {{1, 135, 107}, {10, 74, 46}, {1, 50, 22}, {2, 42, 14}},
     {{5, 136, 108}, {1, 75, 47}, {15, 51, 23}, {17, 43, 15}}},
    {18, 901, {721, 563, 397, 313}, 3, {30, 56, 82, 0, 0, 0},
     {{5, 150, 120}, {9, 69, 43}, {17, 50, 22}, {2, 42, 14}},
     {{1, 151, 121}, {4, 70, 44}, {1, 51, 23}, {19, 43, 15}}},
    {19, 991, {795, 627, 445, 341}, 3, {30, 58, 86, 0, 0, 0},
     {{3, 141, 113}, {3, 70, 44}, {17, 47, 21}, {9, 39, 13}},
     {{4, 142, 114}, {11, 71, 45}, {4, 48, 22}, {16, 40, 14}}},
    {20, 1085, {861, 669, 485, 385}, 3, {34, 62, 90, 0, 0, 0},
     {{3, 135, 107}, {3, 67, 41}, {15, 54, 24}, {15, 43, 15}},
     {{5, 136, 108}, {13, 68, 42}, {5, 55, 25}, {10, 44, 16}}},
    {21, 1156, {932, 714, 512, 406}, 4, {28, 50, 72, 94, 0, 0},
     {{4, 144, 116}, {17, 68, 42}, {17, 50, 22}, {19, 46, 16}},
     {{4, 145, 117}, {0, 0, 0}, {6, 51, 23}, {6, 47, 17}}},
    {22, 1258, {1006, 782, 568, 442}, 4, {26, 50, 74, 98, 0, 0},
     {{2, 139, 111}, {17, 74, 46}, {7, 54, 24}, {34, 37, 13}},
     {{7, 140, 112}, {0, 0, 0}, {16, 55, 25}, {0, 0, 0}}},
    {23, 1364, {1094, 860, 614, 464}, 4, {30, 54, 78, 102, 0, 0},
     {{4, 151, 121}, {4, 75, 47}, {11, 54, 24}, {16, 45, 15}},
     {{5, 152, 122}, {14, 76, 48}, {14, 55, 25}, {14, 46, 16}}},
    {24, 1474, {1174, 914, 664, 514}, 4, {28, 54, 80, 106, 0, 0},
     {{6, 147, 117}, {6, 73, 45}, {11, 54, 24}, {30, 46, 16}},
     {{4, 148, 118}, {14, 74, 46}, {16, 55, 25}, {2, 47, 17}}},
    {25, 1588, {1276, 1000, 718, 538}, 4, {32, 58, 84, 110, 0, 0},
     {{8, 132, 106}, {8, 75, 47}, {7, 54, 24}, {22, 45, 15}},
     {{4, 133, 107}, {13, 76, 48}, {22, 55, 25}, {13, 46, 16}}},
    {26, 1706, {1370, 1062, 754, 596}, 4, {30, 58, 86, 114, 0, 0},
     {{10, 142, 114}, {19, 74, 46}, {28, 50, 22}, {33, 46, 16}},
     {{2, 143, 115}, {4, 75, 47}, {6, 51, 23}, {4, 47, 17}}},
    {27, 1828, {1468, 1128, 808, 628}, 4, {34, 62, 90, 118, 0, 0},
     {{8, 152, 122}, {22, 73, 45}, {8, 53, 23}, {12, 45, 15}},
     {{4, 153, 123}, {3, 74, 46}, {26, 54, 24}, {28, 46, 16}}},
    {28, 1921, {1531, 1193, 871, 661}, 5, {26, 50, 74, 98, 122, 0},
     {{3, 147, 117}, {3, 73, 45}, {4, 54, 24}, {11, 45, 15}},
     {{10, 148, 118}, {23, 74, 46}, {31, 55, 25}, {31, 46, 16}}},
    {29, 2051, {1631, 1267, 911, 701}, 5, {30, 54, 78, 102, 126, 0},
     {{7, 146, 116}, {21, 73, 45}, {1, 53, 23}, {19, 45, 15}},
     {{7, 147, 117}, {7, 74, 46}, {37, 54, 24}, {26, 46, 16}}},
    {30, 2185, {1735, 1373, 985, 745}, 5, {26, 52, 78, 104, 130, 0},
     {{5, 145, 115}, {19, 75, 47}, {15, 54, 24}, {23, 45, 15}},
     {{10, 146, 116}, {10, 76, 48}, {25, 55, 25}, {25, 46, 16}}},
    {31, 2323, {1843, 1455, 1033, 793}, 5, {30, 56, 82, 108, 134, 0},
     {{13, 145, 115}, {2, 74, 46}, {42, 54, 24}, {23, 45, 15}},
     {{3, 146, 116}, {29, 75, 47}, {1, 55, 25}, {28, 46, 16}}},
    {32, 2465, {1955, 1541, 1115, 845}, 5, {34, 60, 86, 112, 138, 0},
     {{17, 145, 115}, {10, 74, 46}, {10, 54, 24}, {19, 45, 15}},
     {{0, 0, 0}, {23, 75, 47}, {35, 55, 25}, {35, 46, 16}}},
    {33, 2611, {2071, 1631, 1171, 901}, 5, {30, 58, 86, 114, 142, 0},
     {{17, 145, 115}, {14, 74, 46}, {29, 54, 24}, {11, 45, 15}},
     {{1, 146, 116}, {21, 75, 47}, {19, 55, 25}, {46, 46, 16}}},
    {34, 2761, {2191, 1725, 1231, 961}, 5, {34, 62, 90, 118, 146, 0},
     {{13, 145, 115}, {14, 74, 46}, {44, 54, 24}, {59, 46, 16}},
     {{6, 146, 116}, {23, 75, 47}, {7, 55, 25}, {1, 47, 17}}},
    {35, 2876, {2306, 1812, 1286, 986}, 6, {30, 54, 78, 102, 126, 150},
     {{12, 151, 121}, {12, 75, 47}, {39, 54, 24}, {22, 45, 15}},
     {{7, 152, 122}, {26, 76, 48}, {14, 55, 25}, {41, 46, 16}}},
    {36, 3034, {2434, 1914, 1354, 1054}, 6, {24, 50, 76, 102, 128, 154},
     {{6, 151, 121}, {6, 75, 47}, {46, 54, 24}, {2, 45, 15}},
     {{14, 152, 122}, {34, 76, 48}, {10, 55, 25}, {64, 46, 16}}},
    {37, 3196, {2566, 1992, 1426, 1096}, 6, {28, 54, 80, 106, 132, 158},
     {{17, 152, 122}, {29, 74, 46}, {49, 54, 24}, {24, 45, 15}},
     {{4, 153, 123}, {14, 75, 47}, {10, 55, 25}, {46, 46, 16}}},
    {38, 3362, {2702, 2102, 1502, 1142}, 6, {32, 58, 84, 110, 136, 162},
     {{4, 152, 122}, {13, 74, 46}, {48, 54, 24}, {42, 45, 15}},
     {{18, 153, 123}, {32, 75, 47}, {14, 55, 25}, {32, 46, 16}}},
    {39, 3532, {2812, 2216, 1582, 1222}, 6, {26, 54, 82, 110, 138, 166},
     {{20, 147, 117}, {40, 75, 47}, {43, 54, 24}, {10, 45, 15}},
     {{4, 148, 118}, {7, 76, 48}, {22, 55, 25}, {67, 46, 16}}},
    {40, 3706, {2956, 2334, 1666, 1276}, 6, {30, 58, 86, 114, 142, 170},
     {{19, 148, 118}, {18, 75, 47}, {34, 54, 24}, {20, 45, 15}},
     {{6, 149, 119}, {31, 76, 48}, {34, 55, 25}, {61, 46, 16}}},
};
// clang-format on

namespace qrtables {

// A transcription slip in a block count shows up here rather than in a symbol.
constexpr bool versionTableIsConsistent() {
    for (int32_t v = 1; v <= QR_VERSION_MAX; ++v) {
        const QR_VERSIONINFO& r = QR_VersonInfo[v];
        if (r.nVersionNo != v) return false;
        if (r.ncAlignPoint > 0 && r.nAlignPoint[r.ncAlignPoint - 1] != 4 * v + 10) return false;
        for (int32_t lv = 0; lv < 4; ++lv) {
            const RS_BLOCKINFO& b1 = r.RS_BlockInfo1[lv];
            const RS_BLOCKINFO& b2 = r.RS_BlockInfo2[lv];
            if (b1.ncRSBlock * b1.ncAllCodeWord + b2.ncRSBlock * b2.ncAllCodeWord !=
                r.ncAllCodeWord)
                return false;
            if (b1.ncRSBlock * b1.ncDataCodeWord + b2.ncRSBlock * b2.ncDataCodeWord !=
                r.ncDataCodeWord[lv])
                return false;
            if (b2.ncRSBlock > 0 && (b2.ncDataCodeWord != b1.ncDataCodeWord + 1 ||
                                     b2.ncAllCodeWord != b1.ncAllCodeWord + 1))
                return false;
            if (b1.ncAllCodeWord - b1.ncDataCodeWord > MAX_RSCODEWORD) return false;
            if (b1.ncAllCodeWord > MAX_CODEBLOCK || b2.ncAllCodeWord > MAX_CODEBLOCK) return false;
        }
    }
    return QR_VersonInfo[QR_VERSION_MAX].ncAllCodeWord == MAX_ALLCODEWORD &&
           QR_VersonInfo[QR_VERSION_MAX].ncDataCodeWord[0] == MAX_DATACODEWORD;
}
static_assert(versionTableIsConsistent());

// Antilog (byExpToInt) and log (byIntToExp) tables of GF(256), prime polynomial
// 0x11D, generator 2. byIntToExp[0] is unused.
struct GaloisTables {
    std::array<uint8_t, 256> byExpToInt{};
    std::array<uint8_t, 256> byIntToExp{};
};

constexpr GaloisTables makeGaloisTables() {
    GaloisTables t;
    int32_t x = 1;
    for (int32_t i = 0; i < 255; ++i) {
        t.byExpToInt[i] = static_cast<uint8_t>(x);
        t.byIntToExp[x] = static_cast<uint8_t>(i);
        x <<= 1;
        if (x & 0x100) x ^= 0x11D;
    }
    t.byExpToInt[255] = t.byExpToInt[0];
    return t;
}
inline constexpr GaloisTables kGalois = makeGaloisTables();

constexpr uint8_t gfMul(uint8_t a, uint8_t b) {
    if (a == 0 || b == 0) return 0;
    return kGalois.byExpToInt[(kGalois.byIntToExp[a] + kGalois.byIntToExp[b]) % 255];
}

// byRSExp[n]: the n coefficients of (x - 2^0)(x - 2^1)...(x - 2^(n-1)) below the
// leading 1, highest degree first, as exponents of 2.
using RSExpTable = std::array<std::array<uint8_t, MAX_RSCODEWORD>, MAX_RSCODEWORD + 1>;

constexpr RSExpTable makeGeneratorPolynomials() {
    RSExpTable t{};
    for (int32_t n = 1; n <= MAX_RSCODEWORD; ++n) {
        // g[0] is the leading coefficient; multiply in one root at a time.
        std::array<uint8_t, MAX_RSCODEWORD + 1> g{};
        g[0] = 1;
        for (int32_t i = 0; i < n; ++i) {
            const uint8_t root = kGalois.byExpToInt[i];
            for (int32_t k = i + 1; k >= 1; --k) g[k] = g[k] ^ gfMul(g[k - 1], root);
        }
        for (int32_t k = 0; k < n; ++k) {
            // Row 0 is unused; it flags a 0 coefficient, which has no logarithm.
            if (g[k + 1] == 0) t[0][0] = 1;
            t[n][k] = kGalois.byIntToExp[g[k + 1]];
        }
    }
    return t;
}
inline constexpr RSExpTable byRSExp = makeGeneratorPolynomials();
static_assert(byRSExp[0][0] == 0, "every generator coefficient has a logarithm");

}  // namespace qrtables
