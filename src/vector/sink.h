// The output sink of every vector document, and the vector writer's state.
#pragma once

#include <cstdint>
#include <string>

#include "platform/files.h"

struct VectorState {
    platform::FileRef filRef = 0;  // the open output file
    int32_t writeFailed = 0;       // set when a write to filRef failed (a full disk)
    int32_t trans2 = 0;            // rotation of the item being written, degrees
    int32_t trans2Width = 0;       // width and height of the rectangle being rotated
    int32_t trans2Height = 0;
    double gCtexsize = 0;  // glyph scales of the path primitives
    double gCtexsizeX = 0;
    double gCtexsize2 = 0;
    double globHeight = 0;
};
extern VectorState gVec;

// Writes length bytes of text to filRef, a NUL becoming '0'. Runs of any length
// are written whole. A failed write is remembered in gVec.writeFailed for the
// document writer to report.
void TEInsert2(const char* text, int32_t length);
void TEInsert2(const char* text);  // a NUL-terminated text
// Writes bytes to filRef as they are (the prologs), remembering a failure.
void writeRaw(const void* bytes, int32_t length);
// writeRaw for bytes that last as long as the program (the prologs): not copied.
void writeLasting(const void* bytes, int32_t length);
// While a capture is set (not null), every byte written to filRef is also
// appended to it: a writer keeps the page code of a piece it will write again.
void setSinkCapture(std::string* capture);
void resetVectorState();
