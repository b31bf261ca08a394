#include "pdf417/pdf417_ec.h"

#include <array>

#include "pdf417/pdf417_compact.h"

namespace {

// The generator polynomials for every level, lowest power first, levels one after
// another: (x - 3)(x - 3^2)...(x - 3^k) mod 929. Built by the compiler, so the
// encoder keeps no state and fills no tables per symbol.
constexpr int32_t kLevels = kPdfMaxLevel + 1;                      // level 0 (k = 2) to 8
constexpr int32_t kAllCoefficients = (2 << kPdfMaxLevel) * 2 - 2;  // 2 + 4 + ... + 512

constexpr int32_t levelOffset(int32_t level) { return (2 << level) - 2; }

// (x - 3)(x - 3^2)...(x - 3^k) mod 929 into g[0..k], lowest power first.
constexpr void buildGenerator(int32_t k, int32_t* g) {
    g[0] = 1;
    for (int32_t j = 1; j <= k; ++j) g[j] = 0;
    int32_t root = 1;
    for (int32_t i = 1; i <= k; ++i) {
        root = root * 3 % kPdfPrime;
        // Multiply by (x - root): the degree rises by one.
        for (int32_t j = i; j >= 1; --j)
            g[j] = (g[j - 1] + (kPdfPrime - root) * g[j] % kPdfPrime) % kPdfPrime;
        g[0] = (kPdfPrime - root) * g[0] % kPdfPrime;
    }
}

constexpr std::array<int32_t, kAllCoefficients> buildGenerators() {
    std::array<int32_t, kAllCoefficients> all{};
    for (int32_t level = 0; level < kLevels; ++level) {
        const int32_t k = pdfEcCount(level);
        std::array<int32_t, kPdfMaxEcCodewords + 1> g{};  // g[j]: coefficient of x^j
        buildGenerator(k, g.data());
        for (int32_t j = 0; j < k; ++j) all[levelOffset(level) + j] = g[j];
    }
    return all;
}

constexpr std::array<int32_t, kAllCoefficients> kGenerators = buildGenerators();

// The smallest level's polynomial (x - 3)(x - 9) = x^2 - 12x + 27.
static_assert(kGenerators[0] == 27 && kGenerators[1] == kPdfPrime - 12);

const int32_t* coefficientsFor(int32_t k) {
    for (int32_t level = 0; level < kLevels; ++level)
        if (pdfEcCount(level) == k) return &kGenerators[levelOffset(level)];
    return nullptr;
}

}  // namespace

int32_t pdfGeneratorCoeff(int32_t k, int32_t j) {
    const int32_t* a = coefficientsFor(k);
    if (a == nullptr || j < 0 || j >= k) return 0;
    return a[j];
}

namespace {

// The remainder of the data divided by the generator a of degree k, highest
// power last in e; the codewords of the symbol are its negatives.
void divide(const int32_t* list, int32_t n, int32_t k, const int32_t* a, int32_t* e) {
    for (int32_t j = 0; j < k; ++j) e[j] = 0;
    for (int32_t i = 0; i < n; ++i) {
        const int32_t t = (list[i] + e[k - 1]) % kPdfPrime;
        for (int32_t j = k - 1; j >= 1; --j)
            e[j] = (e[j - 1] + kPdfPrime - t * a[j] % kPdfPrime) % kPdfPrime;
        e[0] = (kPdfPrime - t * a[0] % kPdfPrime) % kPdfPrime;
    }
}

}  // namespace

void generateEC(const int32_t* list, int32_t n, int32_t k) {
    const int32_t* a = coefficientsFor(k);
    if (a == nullptr) return;
    int32_t e[kPdfMaxEcCodewords];
    divide(list, n, k, a, e);
    for (int32_t j = k - 1; j >= 0; --j) put_back((kPdfPrime - e[j]) % kPdfPrime);
}

void pdfErrorCodewords(const int32_t* list, int32_t n, int32_t k, int32_t* ec) {
    if (k < 1 || k > kPdfMaxEcCodewords) return;
    // The counts of the small symbols are not powers of two: the generator is
    // built for this call.
    int32_t g[kPdfMaxEcCodewords + 1];
    buildGenerator(k, g);
    int32_t e[kPdfMaxEcCodewords];
    divide(list, n, k, g, e);
    for (int32_t j = k - 1; j >= 0; --j) ec[k - 1 - j] = (kPdfPrime - e[j]) % kPdfPrime;
}
