#include "symbology/state.h"

#include <cstring>

#include "symbology/Filters.h"
#include "symbology/info.h"
#include "symbology/messages.h"
#include "symbology/panels.h"
#include "symbology/remembered.h"
#include "symbology/rows.h"

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

void resetSymbology() {
    gSym = SymbolSettings{};
    gData = SymbolData{};
    gEl.reset();  // 50 KB that a record mostly leaves untouched
    gOut = OutputSettings{};
    resetMessages();
    resetPanels();
    resetFilter();
    gDispatch = DispatchState{};
    gRows = RowState{};
    forgetSymbol();
}
