#include "vector/sink.h"

#include <cstring>
#include <string>

VectorState gVec;

void TEInsert2(const char* text, int32_t length) {
    if (length <= 0) return;
    std::string buf(text, static_cast<size_t>(length));
    for (char& c : buf)
        if (c == 0) c = '0';
    int32_t count = length;
    if (platform::FSWrite(gVec.filRef, &count, buf.data()) != platform::noErr || count != length)
        gVec.writeFailed = 1;
}

void TEInsert2(const char* text) { TEInsert2(text, static_cast<int32_t>(std::strlen(text))); }

void resetVectorState() { gVec = VectorState{}; }
