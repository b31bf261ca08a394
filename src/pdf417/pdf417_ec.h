// Reed-Solomon error correction of PDF417 over the prime field GF(929).
#pragma once

#include <cstdint>

constexpr int32_t kPdfPrime = 929;
constexpr int32_t kPdfMinLevel = 1;
constexpr int32_t kPdfMaxLevel = 8;
constexpr int32_t kPdfMaxEcCodewords = 2 << kPdfMaxLevel;  // 512 at level 8

// Error-correction codewords of a level: 2^(level+1).
constexpr int32_t pdfEcCount(int32_t level) { return 2 << level; }

// Coefficient a(j) of x^j of the generator polynomial for k = 2, 4, ..., 512
// error-correction codewords; 0 for any other k or j.
int32_t pdfGeneratorCoeff(int32_t k, int32_t j);

// Appends the k error-correction codewords of the n codewords in list through
// put_back, so that they follow the data in the codeword list.
void generateEC(const int32_t* list, int32_t n, int32_t k);

// The k error-correction codewords of the n codewords in list into ec, for any
// k from 1 to kPdfMaxEcCodewords.
void pdfErrorCodewords(const int32_t* list, int32_t n, int32_t k, int32_t* ec);
