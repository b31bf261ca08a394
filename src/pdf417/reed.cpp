#include "pdf417/reed.h"

namespace reed {

const Generator& setpolynomial(int32_t nc) {
    for (const Generator& g : kGenerators.p) {
        if (g.n == nc) return g;
    }
    return kGenerators.p[15];
}

void calculateReedSolomon(int32_t* block, int32_t nd, int32_t nc) {
    const Generator& g = setpolynomial(nc);
    if (nc > g.n) nc = g.n;         // never run past the coefficients
    if (nc <= 0 || nd < 0) return;  // nothing to write, and nothing before the block
    int32_t* ec = block + nd;
    for (int32_t j = 0; j < nc; ++j) ec[j] = 0;
    // Division by the generator as a shift register, highest degree first.
    for (int32_t i = 0; i < nd; ++i) {
        const int32_t k = ec[0] ^ block[i];
        for (int32_t j = 0; j < nc - 1; ++j) ec[j] = ec[j + 1] ^ mult(k, g.coef[j]);
        ec[nc - 1] = mult(k, g.coef[nc - 1]);
    }
}

}  // namespace reed
