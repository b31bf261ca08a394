// Reed-Solomon error correction of DataMatrix ECC 200: GF(256) with the prime
// polynomial x^8 + x^5 + x^3 + x^2 + 1 (301) and generator element 2. The
// tables are built at compile time from the field definition.
#pragma once

#include <cstdint>

namespace reed {

constexpr int32_t N = 255;           // order of the multiplicative group
constexpr int32_t kPrimePoly = 301;  // x^8 + x^5 + x^3 + x^2 + 1
constexpr int32_t kMaxCheck = 68;    // most error-correction codewords in one block
constexpr int32_t kBlockRoom = 255;  // codewords a block may hold, data and check

struct GaloisField {
    int16_t gfi[256] = {};    // antilog: gfi[i] = 2^i for i < 255; gfi[255] = 0
    int16_t gflog[256] = {};  // log: gflog[v] = i with 2^i = v for v >= 1; gflog[0] = 0
};

constexpr GaloisField makeField() {
    GaloisField f;
    int32_t v = 1;
    for (int32_t i = 0; i < N; ++i) {
        f.gfi[i] = static_cast<int16_t>(v);
        f.gflog[v] = static_cast<int16_t>(i);
        v <<= 1;
        if (v & 0x100) v ^= kPrimePoly;
    }
    return f;
}

inline constexpr GaloisField kField = makeField();

constexpr int32_t mult(int32_t a, int32_t b) {
    if (a == 0 || b == 0) return 0;
    int32_t e = kField.gflog[a] + kField.gflog[b];
    if (e >= N) e -= N;
    return kField.gfi[e];
}

// The error-correction counts per block that the DataMatrix sizes use.
inline constexpr int32_t kCheckCounts[16] = {5,  7,  10, 11, 12, 14, 18, 20,
                                             24, 28, 36, 42, 48, 56, 62, 68};

// Coefficients of (x - 2^1)(x - 2^2)...(x - 2^n) without the leading 1, highest
// degree first: coef[0] belongs to x^(n-1), coef[n-1] is the constant term.
struct Generator {
    int32_t n = 0;
    int32_t coef[kMaxCheck] = {};
};

constexpr Generator makeGenerator(int32_t n) {
    // Lowest degree first while multiplying; g starts as the constant 1.
    int32_t g[kMaxCheck + 1] = {1};
    for (int32_t k = 1; k <= n; ++k) {
        const int32_t root = kField.gfi[k];
        // g(x) * (x + root): in GF(2^m) subtraction is addition.
        for (int32_t d = k; d >= 1; --d) g[d] = g[d - 1] ^ mult(g[d], root);
        g[0] = mult(g[0], root);
    }
    Generator out;
    out.n = n;
    for (int32_t j = 0; j < n; ++j) out.coef[j] = g[n - 1 - j];
    return out;
}

struct GeneratorSet {
    Generator p[16];
};

constexpr GeneratorSet makeGenerators() {
    GeneratorSet s;
    for (int i = 0; i < 16; ++i) s.p[i] = makeGenerator(kCheckCounts[i]);
    return s;
}

inline constexpr GeneratorSet kGenerators = makeGenerators();

// The generator for nc check codewords; a count the sizes never use selects
// the 68-codeword generator.
const Generator& setpolynomial(int32_t nc);

// Writes nc check codewords behind the first nd codewords of block (values
// 0..255). The caller keeps nd + nc within kBlockRoom and nc within kMaxCheck;
// nc or nd below 0, or nc 0, writes nothing.
void calculateReedSolomon(int32_t* block, int32_t nd, int32_t nc);

}  // namespace reed
