#include "labels/importfile.h"

#include "labels/labelDoc.h"
#include "labels/production.h"
#include "symbology/messages.h"

namespace {

constexpr uint16_t kMsgImportFieldCut = 1304;
constexpr uint16_t kMsgImportNul = 1306;

constexpr char kCR = 13, kLF = 10, kQuote = '"';
constexpr int32_t kModeLineFeed = 3;  // records end in LF by default
constexpr int32_t kModeQuoted = 4;    // quotes protect the delimiter
enum : int32_t { kFieldGoesOn = 0, kRecordEnded = 1, kFileEnded = 2 };

char delimiterOf(int32_t mode) {
    if (mode == 1) return '\t';
    if (mode == 2) return ';';
    return ',';
}

// The record end found in the file by the run, kept in the end value's second
// byte. Only a CR or LF counts: a serial run leaves its end value there too.
char recordEndOf(int32_t mode) {
    const char found = gProd.gfini[1];
    if (found == kCR || found == kLF) return found;
    return mode == kModeLineFeed ? kLF : kCR;
}

}  // namespace

int32_t GetNextItemFromFile(platform::FileRef file, char delimiter, char recordEnd,
                            char* destination, int32_t counter, int32_t* status,
                            FieldFaults* faults) {
    const int32_t mode = gLabel.impoMode;
    constexpr size_t kMax = kImportFieldSize - 1;
    size_t len = 0;
    bool quoted = false;
    *status = kFieldGoesOn;
    for (;;) {
        char c = 0;
        int32_t count = 1;
        if (platform::FSRead(file, &count, &c) != platform::noErr || count != 1) {
            *status = kFileEnded;
            break;
        }
        if (c == kLF && recordEnd != kLF && mode != kModeLineFeed) continue;
        if (c == 0) {  // text saved as UTF-16 holds one with every ASCII character
            if (faults) faults->nul = true;
            continue;
        }
        if (c == kQuote) {
            quoted = !quoted;
            continue;
        }
        if (c == recordEnd) {
            *status = kRecordEnded;
            break;
        }
        if (c == delimiter && !(mode == kModeQuoted && quoted)) break;
        if (len < kMax) {
            destination[len++] = c;
        } else if (faults) {
            faults->cut = true;
        }
    }
    destination[len] = 0;
    return counter + 1;
}

int32_t GetImportItems() {
    const int32_t mode = gLabel.impoMode;
    const char delimiter = delimiterOf(mode);
    const char recordEnd = recordEndOf(mode);
    int32_t slot = 0, status = kFieldGoesOn;
    FieldFaults faults;
    while (status == kFieldGoesOn && slot < kImportReadFields)
        slot = GetNextItemFromFile(gProd.vimportRef, delimiter, recordEnd, gProd.importItems[slot],
                                   slot, &status, &faults);
    // Slots this record did not reach must not keep the fields of an earlier one.
    for (int32_t k = slot; k < kImportFields; ++k) gProd.importItems[k][0] = 0;
    if (faults.cut) Message(kMsgImportFieldCut);
    if (faults.nul) Message(kMsgImportNul);
    return status == kFileEnded ? 1 : 0;
}
