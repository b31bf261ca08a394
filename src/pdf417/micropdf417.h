// MicroPDF417 symbols of four data columns in byte compaction (ISO/IEC 24728).
#pragma once

#include <cstddef>
#include <cstdint>

#include "pdf417/micropdf417_tables.h"
#include "symbology/state.h"

constexpr size_t kMicroPdfMaxBytes = 148;  // the data the largest size is promised to hold
constexpr int32_t kMicroPdf4ColumnElements = 53;
constexpr int32_t kMicroPdfMaxRows = 44;

// The rows of one symbol as element widths, light first.
struct MicroPdfRows {
    int32_t rows = 0;
    uint8_t widths[kMicroPdfMaxRows][kMicroPdf4ColumnElements] = {};
};

// Appends the widths of a pattern of `modules` module bits (first module in the
// highest bit) that begins with a bar; returns the place after them.
uint8_t* appendRuns(uint32_t bits, int32_t modules, uint8_t* w);

// One row of a four-column symbol as 53 element widths starting light: a light
// module, the left pattern, two codewords, the centre pattern, two codewords,
// the right pattern, the stop bar and a light module. pattern counts from 0 and
// picks the codeword cluster; offset is the size's centre offset.
void microPdfRow4(int32_t pattern, int32_t offset, const int32_t* codewords, uint8_t* widths);

// The data bytes as they stand (behind ECI 26 when utf8), byte compaction,
// padded with 900, error correction of the smallest size that holds them. The
// row count; 0 when the data is empty, longer than kMicroPdfMaxBytes or too
// long for the largest size.
int32_t CC4encmicrobyte(const unsigned char* data, size_t length, MicroPdfRows& out,
                        bool utf8 = false);

// Appends the rows to list, each ended by 13; false when they do not fit.
bool putMicroPdfRows(const MicroPdfRows& rows, ElementList& list);
