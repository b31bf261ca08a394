#include "QRCode/QRMask.h"

#include <array>
#include <cstdlib>

#include "QRCode/QREncode.h"

namespace qrmask {

namespace {

// A row or column as a bit set, bit k = module k (1 dark), bits past the symbol 0.
constexpr int32_t kWords = (MAX_MODULESIZE + 63) / 64;
struct Line {
    uint64_t w[kWords] = {};
};

// Every mask repeats every 12 rows and every 12 columns.
constexpr int32_t kPeriod = 12;
using Patterns = std::array<std::array<Line, kPeriod>, 8>;

constexpr bool condition(int32_t mask, int32_t i, int32_t j) {
    switch (mask) {
        case 0:
            return (i + j) % 2 == 0;
        case 1:
            return i % 2 == 0;
        case 2:
            return j % 3 == 0;
        case 3:
            return (i + j) % 3 == 0;
        case 4:
            return (i / 2 + j / 3) % 2 == 0;
        case 5:
            return (i * j) % 2 + (i * j) % 3 == 0;
        case 6:
            return ((i * j) % 2 + (i * j) % 3) % 2 == 0;
        default:
            return ((i * j) % 3 + (i + j) % 2) % 2 == 0;
    }
}

// byRow: pattern[mask][i mod 12] holds the row i; otherwise the column j.
constexpr Patterns makePatterns(bool byRow) {
    Patterns p{};
    for (int32_t m = 0; m < 8; ++m)
        for (int32_t a = 0; a < kPeriod; ++a)
            for (int32_t b = 0; b < kWords * 64; ++b)
                if (byRow ? condition(m, a, b) : condition(m, b, a))
                    p[m][a].w[b / 64] |= uint64_t{1} << (b % 64);
    return p;
}
constexpr Patterns kRowPatterns = makePatterns(true);
constexpr Patterns kColPatterns = makePatterns(false);

// The symbol split into what no mask changes and what each mask inverts.
struct MaskState {
    int32_t size = 0;
    int32_t words = 1;
    Line rowFunctionDark[MAX_MODULESIZE], rowData[MAX_MODULESIZE], rowDataBit[MAX_MODULESIZE];
    Line colFunctionDark[MAX_MODULESIZE], colData[MAX_MODULESIZE], colDataBit[MAX_MODULESIZE];
    Line rows[MAX_MODULESIZE], cols[MAX_MODULESIZE];  // the masked symbol
    // Positions where a window of 2, 6 or 7 modules still fits in the symbol.
    Line fits2, fits6, fits7;
};
MaskState gMask;

void setBit(Line& l, int32_t k) { l.w[k >> 6] |= uint64_t{1} << (k & 63); }

// Bit p of the result is bit p + j of a (0 < j < 64).
template <int W>
Line shr(const Line& a, int32_t j) {
    Line r;
    for (int32_t i = 0; i < W; ++i) {
        r.w[i] = a.w[i] >> j;
        if (i + 1 < W) r.w[i] |= a.w[i + 1] << (64 - j);
    }
    return r;
}

// Bit p of the result is bit p - 1 of a.
template <int W>
Line shl1(const Line& a) {
    Line r;
    for (int32_t i = 0; i < W; ++i) {
        r.w[i] = a.w[i] << 1;
        if (i > 0) r.w[i] |= a.w[i - 1] >> 63;
    }
    return r;
}

// Without a population-count instruction in the baseline target, the library
// call costs more than these few operations.
int32_t count(uint64_t x) {
    x = x - ((x >> 1) & 0x5555555555555555ULL);
    x = (x & 0x3333333333333333ULL) + ((x >> 2) & 0x3333333333333333ULL);
    x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0FULL;
    return static_cast<int32_t>((x * 0x0101010101010101ULL) >> 56);
}

// N1 and N3 along one row or column.
template <int W>
int32_t linePenalty(const Line& l) {
    Line s[8];
    s[0] = l;
    for (int32_t j = 1; j < 8; ++j) s[j] = shr<W>(l, j);
    const Line before = shl1<W>(l);
    Line six, finder;  // six of one colour from position p; 1011101 framed by light
    for (int32_t i = 0; i < W; ++i) {
        const uint64_t all = s[0].w[i] & s[1].w[i] & s[2].w[i] & s[3].w[i] & s[4].w[i] & s[5].w[i];
        const uint64_t any = s[0].w[i] | s[1].w[i] | s[2].w[i] | s[3].w[i] | s[4].w[i] | s[5].w[i];
        six.w[i] = (all | ~any) & gMask.fits6.w[i];
        finder.w[i] = s[0].w[i] & ~s[1].w[i] & s[2].w[i] & s[3].w[i] & s[4].w[i] & ~s[5].w[i] &
                      s[6].w[i] & ~s[7].w[i] & ~before.w[i] & gMask.fits7.w[i];
    }
    // A run of n >= 6 has n - 5 starting points of six and scores n - 2. Runs
    // of the two colours never touch in `six`: a run of six ends five before
    // the next colour starts.
    const Line prev = shl1<W>(six);
    int32_t score = 0;
    for (int32_t i = 0; i < W; ++i)
        score += count(six.w[i]) + 3 * count(six.w[i] & ~prev.w[i]) + 40 * count(finder.w[i]);
    return score;
}

template <int W>
int32_t scoreLines() {
    MaskState& s = gMask;
    const int32_t size = s.size;
    int32_t score = 0;
    for (int32_t k = 0; k < size; ++k)
        score += linePenalty<W>(s.rows[k]) + linePenalty<W>(s.cols[k]);
    for (int32_t y = 0; y + 1 < size; ++y) {  // N2: 2 x 2 blocks of one colour
        const Line& r0 = s.rows[y];
        const Line& r1 = s.rows[y + 1];
        const Line n0 = shr<W>(r0, 1);
        const Line n1 = shr<W>(r1, 1);
        for (int32_t i = 0; i < W; ++i)
            score += 3 * count(~(r0.w[i] ^ r1.w[i]) & ~(r0.w[i] ^ n0.w[i]) & ~(r1.w[i] ^ n1.w[i]) &
                               s.fits2.w[i]);
    }
    return score;
}

}  // namespace

bool maskCondition(int32_t mask, int32_t i, int32_t j) { return condition(mask, i, j); }

void loadMatrix(const uint8_t (*moduleData)[MAX_MODULESIZE], int32_t size) {
    using namespace qrencode;
    MaskState& s = gMask;
    s.size = size;
    s.words = (size + 63) / 64;
    for (int32_t k = 0; k < size; ++k) {
        s.rowFunctionDark[k] = s.rowData[k] = s.rowDataBit[k] = Line{};
        s.colFunctionDark[k] = s.colData[k] = s.colDataBit[k] = Line{};
    }
    for (int32_t x = 0; x < size; ++x)
        for (int32_t y = 0; y < size; ++y) {
            const uint8_t m = moduleData[x][y];
            if (m & kModuleFunction) {
                if (m & kModuleFunctionDark) {
                    setBit(s.rowFunctionDark[y], x);
                    setBit(s.colFunctionDark[x], y);
                }
                continue;
            }
            setBit(s.rowData[y], x);
            setBit(s.colData[x], y);
            if (m & kModuleData) {
                setBit(s.rowDataBit[y], x);
                setBit(s.colDataBit[x], y);
            }
        }
    s.fits2 = s.fits6 = s.fits7 = Line{};
    for (int32_t p = 0; p + 2 <= size; ++p) setBit(s.fits2, p);
    for (int32_t p = 0; p + 6 <= size; ++p) setBit(s.fits6, p);
    for (int32_t p = 0; p + 7 <= size; ++p) setBit(s.fits7, p);
}

int32_t countPenalty(int32_t mask) {
    MaskState& s = gMask;
    const int32_t size = s.size;
    const int32_t words = s.words;
    int32_t dark = 0;
    for (int32_t k = 0; k < size; ++k) {
        const Line& rp = kRowPatterns[mask][k % kPeriod];
        const Line& cp = kColPatterns[mask][k % kPeriod];
        for (int32_t i = 0; i < words; ++i) {
            s.rows[k].w[i] =
                s.rowFunctionDark[k].w[i] | ((s.rowDataBit[k].w[i] ^ rp.w[i]) & s.rowData[k].w[i]);
            s.cols[k].w[i] =
                s.colFunctionDark[k].w[i] | ((s.colDataBit[k].w[i] ^ cp.w[i]) & s.colData[k].w[i]);
            dark += count(s.rows[k].w[i]);
        }
    }
    const int32_t score = words == 1   ? scoreLines<1>()
                          : words == 2 ? scoreLines<2>()
                                       : scoreLines<3>();
    const int32_t all = size * size;
    const int32_t k = std::abs(50 - (100 * (all - dark)) / all) / 5;  // N4
    return score + 10 * k;
}

}  // namespace qrmask
