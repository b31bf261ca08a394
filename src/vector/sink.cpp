#include "vector/sink.h"

#include <cstring>

#include "vector/Epsout.h"

VectorState gVec;

namespace {
constexpr int32_t kSinkBuffer = 1024;  // one FSWrite per piece of this size
std::string* gCapture = nullptr;

using FileWrite = platform::OSErr (*)(platform::FileRef, int32_t*, const void*);

void toFile(FileWrite write, const void* bytes, int32_t length) {
    if (length <= 0) return;
    if (gCapture) gCapture->append(static_cast<const char*>(bytes), static_cast<size_t>(length));
    int32_t count = length;
    if (write(gVec.filRef, &count, bytes) != platform::noErr || count != length)
        gVec.writeFailed = 1;
}
}  // namespace

void setSinkCapture(std::string* capture) { gCapture = capture; }

void writeRaw(const void* bytes, int32_t length) {
    if (!gCapture && platform::FSWriteQuick(gVec.filRef, bytes, length)) return;
    toFile(platform::FSWrite, bytes, length);
}

void writeLasting(const void* bytes, int32_t length) {
    toFile(platform::FSWriteLasting, bytes, length);
}

void TEInsert2(const char* text, int32_t length) {
    // Page code holds no NUL byte: it goes to the file as it is.
    if (length > 0 && !std::memchr(text, 0, static_cast<size_t>(length))) {
        writeRaw(text, length);
        return;
    }
    char buf[kSinkBuffer];
    while (length > 0) {
        int32_t n = length < kSinkBuffer ? length : kSinkBuffer;
        for (int32_t i = 0; i < n; ++i) buf[i] = text[i] == 0 ? '0' : text[i];
        writeRaw(buf, n);
        text += n;
        length -= n;
    }
}

// A C string holds no NUL before its end: nothing to look for.
void TEInsert2(const char* text) { writeRaw(text, static_cast<int32_t>(std::strlen(text))); }

void resetVectorState() {
    gVec = VectorState{};
    resetEpsDocument();
}
