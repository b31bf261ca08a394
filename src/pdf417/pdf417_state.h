// The working state of the PDF417 encoder, rebuilt for every symbol.
#pragma once

#include <cstddef>
#include <cstdint>

#include "symbology/state.h"

// Results of BuildPDF417.
constexpr int32_t kPdfOk = 0;
constexpr int32_t kPdfNoRoomForEC = -1001;    // the data leaves too few places for error correction
constexpr int32_t kPdfNoRoomForData = -1002;  // more codewords than the symbol has places
constexpr int32_t kPdfBadMacro = -1003;       // a Macro PDF417 header that cannot be read
constexpr int32_t kPdfTooLarge = -1004;  // past 928 codewords, a working list or the element list

// Codewords with a meaning of their own.
constexpr int32_t kPdfPad = 900;  // also the latch to text compaction
constexpr int32_t kPdfLatchByte = 901;
constexpr int32_t kPdfShiftByte = 913;
constexpr int32_t kPdfLatchByte6 = 924;  // byte compaction of a multiple of six bytes
constexpr int32_t kPdfLatchNumeric = 902;
constexpr int32_t kPdfECI = 927;  // followed by the ECI number below 900
constexpr int32_t kPdfMacroBegin = 928;
constexpr int32_t kPdfMacroLast = 922;  // ends the control block of the last segment

constexpr int32_t kPdfMaxSymbolCodewords =
    928;  // every place of a symbol, error correction included
constexpr int32_t kPdfMaxRows = 90;
constexpr int32_t kPdfMinRows = 3;
constexpr int32_t kPdfMaxColumns = 30;  // data columns and the two row indicators

constexpr int32_t kPdfListSize = 1900;        // datall
constexpr int32_t kPdfMacroSize = 200;        // macrostr
constexpr int32_t kPdfTextValuesSize = 3000;  // out
constexpr size_t kPdfFieldSize = 200;         // one Macro PDF417 header text or field

struct Pdf417State {
    int32_t ByteComp = 0;  // 0 text compaction, 1 byte compaction
    // Text compaction sends runs of digits in numeric compaction: only for data that
    // the plain text compaction cannot fit into any symbol.
    bool numericRuns = false;
    int32_t g_mode = 0;  // where put_back appends: 0 the codeword list, 2 the control block

    int32_t datall[kPdfListSize] = {};  // the codeword list; entry 0 the length descriptor
    int32_t codeindex = 0;
    int32_t macrostr[kPdfMacroSize] = {};  // the Macro PDF417 control block
    int32_t macrolen = 0;
    uint8_t out[kPdfTextValuesSize] = {};  // text compaction sub-mode values
    int32_t curn = 0;
    bool overflow = false;  // a list was full: the symbol is refused, never cut

    int32_t ec_level = 0;
    int32_t eclen = 0;
    int32_t number_of_rows = 0;
    int32_t number_of_columns = 0;  // data columns and the two indicator columns
    int32_t needed = 0;             // codewords the data needs with its error correction
    int32_t rows_columns[kPdfMaxRows][kPdfMaxColumns] = {};

    unsigned char work[kMainCodeSize] = {};  // the data being converted and encoded
};
extern Pdf417State gPdf;
