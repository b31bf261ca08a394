// Fixed patterns of PDF417 symbols (ISO/IEC 15438).
#pragma once

#include <cstdint>

constexpr int kPdfCodewordValues = 929;  // codewords 0..928
constexpr int kPdfPatternsPerCluster = kPdfCodewordValues + 1;
constexpr int kPdfModulesPerCodeword = 17;

// Table r mod 3 serves row r; entry 929 of each table is 17 spaces.
extern const uint32_t PDF417_BITS[3][kPdfPatternsPerCluster];

// Start pattern 8,1,1,1,1,1,1,3 and stop pattern 7,1,1,3,1,1,1,2,1 as module bits,
// first module in the highest bit.
constexpr uint32_t kPdfStartPattern = 0x1fea8;  // 17 modules
constexpr int kPdfStartModules = 17;
constexpr uint32_t kPdfStopPattern = 0x3fa29;  // 18 modules
constexpr int kPdfStopModules = 18;
