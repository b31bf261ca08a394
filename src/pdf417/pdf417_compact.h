// PDF417 high-level encodation: data to codewords by text or byte compaction,
// with the Macro PDF417 header that the user types in front of the data.
#pragma once

#include <cstddef>
#include <cstdint>

#include "pdf417/pdf417_state.h"

// Sub-modes of text compaction as get_ctype reports them.
constexpr int32_t kPdfAlpha = 8;
constexpr int32_t kPdfLower = 4;
constexpr int32_t kPdfMixed = 2;
constexpr int32_t kPdfPunct = 1;

void put_back(int32_t value);      // to the codeword list or the control block (g_mode)
void put_back_len(int32_t count);  // the length descriptor, entry 0 of the codeword list

// Text (ByteComp 0) or byte compaction (ByteComp 1) of the data; nothing for none.
void get_dataText(const unsigned char* data, size_t length);
void newtext_compress(const unsigned char* data, size_t length);
void newbyte_compact(const unsigned char* data, size_t length);
// The sub-modes holding byte c (0 for none); value gets its value there.
int32_t get_ctype(unsigned char c, int32_t* value);
// Numeric compaction of up to 44 digits behind a leading '1'.
void nc(const char* digits);
// A decimal text of up to 46 digits as base-900 codewords.
void numeric_compact(const char* text);
// Pads 900 up to the places left after the data, the control block and the
// error correction of a symbol with the current rows and columns.
void doPads(int32_t count, int32_t ecCount, int32_t controlLength);

// Field helpers of the Macro PDF417 header; dest holds destSize bytes with its NUL.
int32_t NumFields(const char* text, char delimiter);
void NthField(const char* text, char* dest, size_t destSize, char delimiter, int32_t n);

// Builds the control block from a header "*[L]index[;fileid[\fileid...]]*" at the
// start of data and sets dataStart behind it. kPdfOk or kPdfBadMacro.
int32_t readMacroHeader(const unsigned char* data, size_t length, size_t* dataStart);

// The codeword list of data without pads: the control block (when data begins
// with '*'), the length descriptor's place and the data converted to
// Windows-1252 and compacted. data is converted in place. kPdfOk, kPdfBadMacro,
// or kPdfTooLarge when a list would pass its end.
int32_t pdfDataCodewords(unsigned char* data, size_t length);
