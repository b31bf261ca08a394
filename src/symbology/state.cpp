#include "symbology/state.h"

#include <cstring>

#include "app/panels.h"
#include "databar/RSSENC.h"
#include "labels/labelDoc.h"
#include "labels/production.h"
#include "picture/services.h"
#include "platform/numbers.h"
#include "symbology/info.h"
#include "symbology/messages.h"
#include "symbology/rows.h"
#include "vector/blocks.h"
#include "vector/shapes.h"
#include "vector/sink.h"
#include "vector/textruns.h"

SymbolSettings gSym;
SymbolData gData;
ElementList gEl;
OutputSettings gOut;

void pstrSet(unsigned char* dst, const char* text) {
    size_t n = std::strlen(text);
    if (n > 255) n = 255;
    dst[0] = static_cast<unsigned char>(n);
    std::memcpy(dst + 1, text, n);
}

void pstrCopy(unsigned char* dst, const unsigned char* src) { std::memcpy(dst, src, 1 + src[0]); }

bool pstrEquals(const unsigned char* p, const char* text) {
    size_t n = std::strlen(text);
    return p[0] == n && std::memcmp(p + 1, text, n) == 0;
}

bool copyBounded(char* dst, size_t dstSize, const char* src) {
    size_t n = std::strlen(src);
    if (n + 1 > dstSize) return false;
    std::memcpy(dst, src, n + 1);
    return true;
}

bool allDigits(const char* s, int32_t n) {
    for (int32_t i = 0; i < n; ++i)
        if (s[i] < '0' || s[i] > '9') return false;
    return true;
}

void resetWorld() {
    gSym = SymbolSettings{};
    gData = SymbolData{};
    gEl = ElementList{};
    gOut = OutputSettings{};
    resetMessages();
    resetLabelDocument();
    resetProduction();
    resetPanels();
    resetVectorState();
    resetShapeState();
    resetBlockState();
    resetTextRunState();
    resetPictureServices();
    platform::resetBeeps();
    gDispatch = DispatchState{};
    gRows = RowState{};
    resetDataBarState();
}
