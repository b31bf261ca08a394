#include "picture/services.h"

#include <cstring>

#include "picture/hooks.h"
#include "platform/quickdraw/quickdraw.h"
#include "platform/textmetrics.h"
#include "symbology/state.h"
#include "vector/sink.h"

PictureServiceState gPictServices;

void resetPictureServices() {
    gPictServices = PictureServiceState{};
    resetDrawingHooks();
}

void TextSizeGC(int16_t size, int32_t n) {
    platform::TextSize(size);
    qd::TextSize(size);  // the port being drawn, when there is one
    // Kept in single precision, as the text scale always was.
    gVec.gCtexsize = static_cast<float>(n * gSym.Siz * 0.001);
}

bool cpstrcat2(unsigned char* pstr, const void* bytes, int32_t n) {
    if (n <= 0) return n == 0;
    const int32_t room = 255 - pstr[0];
    const int32_t take = n < room ? n : room;
    std::memcpy(pstr + 1 + pstr[0], bytes, static_cast<size_t>(take));
    pstr[0] = static_cast<unsigned char>(pstr[0] + take);
    return take == n;
}
