// PDF417 symbols (ISO/IEC 15438): sizing, matrix and module rows. The front
// ends Barcode2D_CreatePDF, Barcode2D_CreatePDFByteCompaction and
// Barcode2D_CreatePDFTruncated are declared with the other encoder entries.
#pragma once

#include <cstddef>
#include <cstdint>

#include "pdf417/pdf417_state.h"
#include "symbology/state.h"

constexpr int32_t kPdfModeModules = 32;  // module bytes, the only output form

// Makes one symbol of rows x dataColumns codeword places at the error-correction
// level into out, behind what it already holds. Results kPdfOk, kPdfNoRoomForEC,
// kPdfNoRoomForData, kPdfBadMacro and kPdfTooLarge; on every failure out is as it
// was. The data is NUL-terminated, or length bytes long in the second form.
int32_t BuildPDF417(int32_t mode, const char* text1, const char* text2, int32_t rows,
                    int32_t dataColumns, int32_t level, const char* data, ElementList& out,
                    int32_t truncated);
int32_t BuildPDF417(int32_t mode, const char* text1, const char* text2, int32_t rows,
                    int32_t dataColumns, int32_t level, const unsigned char* data, size_t length,
                    ElementList& out, int32_t truncated);

// The first guess of the symbol for chMainCode: the level into BW, rows into Hei
// and data columns into Siz.
void calcpdfrowcols();

// The codeword matrix with its row indicators.
void do_rows_columns(int32_t ecCount, int32_t truncated);
int32_t do_row_begin(int32_t row, int32_t ecCount);  // left row indicator
int32_t do_row_end(int32_t row, int32_t ecCount);    // right row indicator
// Appends the matrix to out as module rows, each ended by 13, and a NUL.
void PDF417_encodeText(ElementList& out, int32_t truncated);
void outbit2(ElementList& out, int32_t bit);
