#include "symbology/remembered.h"

#include <cstddef>
#include <cstring>
#include <memory>

#include "symbology/host.h"
#include "symbology/info.h"
#include "symbology/messages.h"
#include "symbology/rows.h"
#include "symbology/state.h"

namespace {

// The linear families (below DataBar) keep nothing of their own between
// symbols: what they make follows from the settings, the data and the run's
// entry mode alone. DataBar, composites and the two-dimensional codes keep
// encoder state beside these and are always made again.
constexpr int32_t kFirstFamilyWithStateOfItsOwn = 37;

struct Kept {
    bool valid = false;
    int32_t entryMode = 0;
    SymbolSettings settingsBefore, settingsAfter;
    SymbolData dataBefore, dataAfter;
    int32_t elementCount = 0;
    unsigned char elements[kElementListSize + 1];
    DispatchState dispatch;
    RowState rows;
};
// Large (two copies of the data): made on the first symbol sized.
std::unique_ptr<Kept> gKept;

bool sameBytes(const void* a, const void* b, size_t n) { return std::memcmp(a, b, n) == 0; }

// The library's copy, not one the compiler writes in place for a known size:
// its string instructions move these few kilobytes much slower. Called through
// a pointer the compiler cannot see through.
void* (*volatile gLibraryCopy)(void*, const void*, size_t) = std::memcpy;
void copyBytes(void* to, const void* from, size_t n) { gLibraryCopy(to, from, n); }

// The bar height a label item keeps is the painters' alone; an item written
// back sets it, and no encoder reads or writes it.
bool sameSettingsForEncoding(const SymbolSettings& a, const SymbolSettings& b) {
    constexpr size_t kAt = offsetof(SymbolSettings, cuHei);
    constexpr size_t kPast = kAt + sizeof(SymbolSettings::cuHei);
    const auto* x = reinterpret_cast<const unsigned char*>(&a);
    const auto* y = reinterpret_cast<const unsigned char*>(&b);
    return sameBytes(x, y, kAt) && sameBytes(x + kPast, y + kPast, sizeof(SymbolSettings) - kPast);
}

}  // namespace

void forgetSymbol() {
    if (gKept) gKept->valid = false;
}

const SymbolData& beginSizing() {
    if (!gKept) gKept = std::make_unique<Kept>();
    Kept& k = *gKept;
    k.valid = false;
    copyBytes(&k.settingsBefore, &gSym, sizeof(SymbolSettings));
    copyBytes(&k.dataBefore, &gData, sizeof(SymbolData));
    return k.dataBefore;
}

void rememberSymbol() {
    if (!gKept) return;
    Kept& k = *gKept;
    k.valid = false;
    if (gSym.code < 0 || gSym.code >= kFirstFamilyWithStateOfItsOwn || gEl.overflow ||
        gEl.cu_len < 0 || gEl.cu_len >= static_cast<int32_t>(kElementListSize))
        return;
    k.entryMode = productionEntryMode();
    copyBytes(&k.settingsAfter, &gSym, sizeof(SymbolSettings));
    copyBytes(&k.dataAfter, &gData, sizeof(SymbolData));
    // The list and the byte after it, which the PDF-like terminators write.
    k.elementCount = gEl.cu_len;
    std::memcpy(k.elements, gEl.chNum, static_cast<size_t>(gEl.cu_len) + 1);
    k.dispatch = gDispatch;
    k.rows = gRows;
    k.valid = true;
}

bool recallSymbol() {
    if (!gKept || !gKept->valid) return false;
    Kept& k = *gKept;
    k.valid = false;
    if (k.entryMode != productionEntryMode() || !sameSettingsForEncoding(gSym, k.settingsBefore) ||
        !sameBytes(&gData, &k.dataBefore, sizeof(SymbolData)))
        return false;
    // A symbol made where a stray add-on was dropped is not the one a caller
    // that refuses it would get.
    const bool refuse = gDispatch.refuseStrayAddOn;
    if (refuse && !k.dispatch.refuseStrayAddOn) return false;
    const double barHeightKept = gSym.cuHei;
    copyBytes(&gSym, &k.settingsAfter, sizeof(SymbolSettings));
    gSym.cuHei = barHeightKept;
    copyBytes(&gData, &k.dataAfter, sizeof(SymbolData));
    gEl.clear();
    std::memcpy(gEl.chNum, k.elements, static_cast<size_t>(k.elementCount) + 1);
    gEl.cu_len = k.elementCount;
    if (gEl.written < k.elementCount + 1) gEl.written = k.elementCount + 1;
    gDispatch = k.dispatch;
    gDispatch.refuseStrayAddOn = refuse;
    gRows = k.rows;
    gMsg.inerror = 0;
    return true;
}
