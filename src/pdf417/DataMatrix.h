// DataMatrix ECC 200 in ASCII encodation, written as block letters. The entry
// doDataMatrixCode is declared with the other encoders in symbology/encoders.h;
// this header opens the working state and the size table to the tests.
#pragma once

#include <cstdint>

#include "symbology/state.h"

namespace datamatrix {

// Columns of a configuration row (ISO/IEC 16022 ECC 200 symbol attributes).
enum ConfigColumn : int32_t {
    kSymbolRows,
    kSymbolCols,
    kRegionRows,
    kRegionCols,
    kRegionCount,
    kMapRows,
    kMapCols,
    kTotalData,
    kTotalCheck,  // carried, not used: the blocks give the check codewords
    kBlockData,
    kBlockCheck,
    kBlockCount,
};

constexpr int32_t kSizeCount = 30;
constexpr int32_t kSquareCount = 24;  // rows 0..23 square, 24..29 rectangular

// Rows 0..23: squares 10x10 to 144x144; rows 24..29: rectangles 8x18 to 16x48.
inline constexpr int32_t configuration[kSizeCount][12] = {
    {10, 10, 8, 8, 1, 8, 8, 3, 5, 3, 5, 1},
    {12, 12, 10, 10, 1, 10, 10, 5, 7, 5, 7, 1},
    {14, 14, 12, 12, 1, 12, 12, 8, 10, 8, 10, 1},
    {16, 16, 14, 14, 1, 14, 14, 12, 12, 12, 12, 1},
    {18, 18, 16, 16, 1, 16, 16, 18, 14, 18, 14, 1},
    {20, 20, 18, 18, 1, 18, 18, 22, 18, 22, 18, 1},
    {22, 22, 20, 20, 1, 20, 20, 30, 20, 30, 20, 1},
    {24, 24, 22, 22, 1, 22, 22, 36, 24, 36, 24, 1},
    {26, 26, 24, 24, 1, 24, 24, 44, 28, 44, 28, 1},
    {32, 32, 14, 14, 4, 28, 28, 62, 36, 62, 36, 1},
    {36, 36, 16, 16, 4, 32, 32, 86, 42, 86, 42, 1},
    {40, 40, 18, 18, 4, 36, 36, 114, 48, 114, 48, 1},
    {44, 44, 20, 20, 4, 40, 40, 144, 56, 144, 56, 1},
    {48, 48, 22, 22, 4, 44, 44, 174, 68, 174, 68, 1},
    {52, 52, 24, 24, 4, 48, 48, 204, 84, 102, 42, 2},
    {64, 64, 14, 14, 16, 56, 56, 280, 112, 140, 56, 2},
    {72, 72, 16, 16, 16, 64, 64, 368, 144, 92, 36, 4},
    {80, 80, 18, 18, 16, 72, 72, 456, 192, 114, 48, 4},
    {88, 88, 20, 20, 16, 80, 80, 576, 224, 144, 56, 4},
    {96, 96, 22, 22, 16, 88, 88, 696, 272, 174, 68, 4},
    {104, 104, 24, 24, 16, 96, 96, 816, 336, 136, 56, 6},
    {120, 120, 18, 18, 36, 108, 108, 1050, 408, 175, 68, 6},
    {132, 132, 20, 20, 36, 120, 120, 1304, 496, 163, 62, 8},
    {144, 144, 22, 22, 36, 132, 132, 1558, 620, 156, 62, 10},
    {8, 18, 6, 16, 1, 6, 16, 5, 7, 5, 7, 1},
    {8, 32, 6, 14, 2, 6, 28, 10, 11, 10, 11, 1},
    {12, 26, 10, 24, 1, 10, 24, 16, 14, 16, 14, 1},
    {12, 36, 10, 16, 2, 10, 32, 22, 18, 22, 18, 1},
    {16, 36, 14, 16, 2, 14, 32, 32, 24, 32, 24, 1},
    {16, 48, 14, 22, 2, 14, 44, 49, 28, 49, 28, 1},
};

// The size words of the options text, matched exactly; index = configuration row.
inline constexpr const char* kOptionWords[kSizeCount] = {
    "10X10", "12X12", "14X14", "16X16", "18X18",   "20X20",   "22X22",   "24X24",
    "26X26", "32X32", "36X36", "40X40", "44X44",   "48X48",   "52X52",   "64X64",
    "72X72", "80X80", "88X88", "96X96", "104X104", "120X120", "132X132", "144X144",
    "8X18",  "8X32",  "12X26", "12X36", "16X36",   "16X48"};

constexpr int32_t kMaxData = 1558;             // data codewords of 144x144
constexpr int32_t kMaxCodewords = 1558 + 620;  // data and check codewords of 144x144
constexpr int32_t kMaxSide = 144;
constexpr int32_t kMaxMap = 132;
constexpr int32_t kMaxBlocks = 10;
constexpr int32_t kSideWidth = 10;  // codewords following one function codeword, with a 0 end
// The data after escapes: up to three UTF-8 bytes a typed character, behind a
// leading FNC1 and an ECI.
constexpr size_t kInternalSize = 3 * kMainCodeSize + 2;
constexpr int32_t kStepRoom = 4;  // most codewords that one data position turns into

// Codewords of ASCII encodation and of the function characters.
constexpr int32_t kFNC1 = 232;
constexpr int32_t kStructuredAppend = 233;
constexpr int32_t kReaderProgramming = 234;
constexpr int32_t kUpperShift = 235;
constexpr int32_t kMacro05 = 236;
constexpr int32_t kMacro06 = 237;
constexpr int32_t kECI = 241;
constexpr int32_t kPad = 129;

struct DataMatrixState {
    int32_t preferredFormat = -1;  // requested configuration row, -1 automatic
    int32_t processTilde = 1;
    unsigned char internalCode[kInternalSize + 1] = {};  // the data after escapes
    int32_t globlend = 0;
    // For a function codeword made by an escape: the codewords that follow it.
    unsigned char sideTable[kInternalSize][kSideWidth] = {};
    // true where an escape made a function codeword; any other byte is data.
    bool fromEscape[kInternalSize] = {};
    int32_t encoded[kMaxData + kStepRoom] = {};
    int32_t dataCount = 0;  // codewords of the data, before the pads
    int32_t format = -1;    // configuration row in use
    int32_t blocks[kMaxBlocks][255] = {};
    int32_t finalBlock[kMaxCodewords] = {};
    int32_t finalCount = 0;
    int32_t gnrow = 0;
    int32_t gncol = 0;
    int32_t placement[kMaxMap * kMaxMap] = {};
    unsigned char result2[kMaxSide][kMaxSide] = {};  // [column][row], non-zero dark
};

extern DataMatrixState gDataMatrix;

// Reads the size option (either case of X); false, after a message listing the
// sizes, for a size that does not exist.
// The module rows and columns of the size the options text asked for, when the
// last symbol made took it; false when it was made in a size of its own choosing.
bool sizeAskedForTaken(int32_t* rows, int32_t* cols);

bool DataMatrixDefaults();
// Escape processing of the NUL-terminated `in`; with fnc1First the result
// starts with one FNC1. false when refused (the user has been told).
bool applyTilde(const char* in, bool fnc1First);
// ASCII encodation of the escaped data into `encoded`; returns how many
// codewords the data needs, which may exceed what `encoded` holds.
int32_t encodeAscii();
int32_t random253(int32_t value, int32_t position);
void createCode();
void drawBorders(int32_t x, int32_t y, int32_t width, int32_t height);
void ecc200();
bool debugMatrix(int32_t width, int32_t height);

}  // namespace datamatrix
