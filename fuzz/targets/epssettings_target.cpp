// The head of an EPS file given to --open: its options line gives back the
// settings the file was made with. Whatever the line holds, the settings stay
// within what the program can make, and the symbol they describe is made (or
// refused with a message) and written without a fault.
#include <cstddef>
#include <cstdint>
#include <string>

#include "automation/options.h"
#include "fuzz_common.h"
#include "labels/labelDoc.h"
#include "labels/labelFile.h"
#include "picture/symbolbox.h"
#include "platform/files.h"
#include "vector/Epsout.h"

namespace {

using fuzzing::fail;

constexpr size_t kMostHead = 64 * 1024;  // more than the reader looks at
constexpr int32_t kToolVectorFile = 2;
constexpr int32_t kMostPercent = 100;

void checkSettings() {
    if (!(gSym.Siz >= kSmallestSize && gSym.Siz <= kLargestSize))
        fail("size outside " + std::to_string(kSmallestSize) + " to " +
             std::to_string(kLargestSize) + ": " + std::to_string(gSym.Siz));
    if (!(gSym.Hei >= 0 && gSym.Hei <= kTallestHeight))
        fail("height out of range: " + std::to_string(gSym.Hei));
    if (gSym.BWidthRed < kMostSpread || gSym.BWidthRed > kMostReduction)
        fail("bar-width reduction out of range: " + std::to_string(gSym.BWidthRed));
    for (int32_t ink : {gSym.cyan2, gSym.magenta2, gSym.yellow2, gSym.black2})
        if (ink < 0 || ink > kMostPercent) fail("an ink out of 0 to 100: " + std::to_string(ink));
}

}  // namespace

extern "C" int STRIXEL_FUZZ_ENTRY(const uint8_t* in, size_t n) {
    if (n > kMostHead) return 0;
    const std::string head(reinterpret_cast<const char*>(in), n);
    const std::string record = epsOptionsRecord(head);
    if (record.empty()) return 0;
    resetWorld();
    resetMessages();
    initLabelItems();
    gMsg.quiet = true;
    ConvertString(record.c_str(), 1);
    checkSettings();
    if (gData.len1 == 0) return 0;
    for (int32_t ill : {kIll88, kIllPdf}) {
        gOut.tool = kToolVectorFile;
        gOut.ill = ill;
        gOut.purePost = 0;
        resetMessages();
        gMsg.quiet = true;
        initLabelItems();
        if (!addSingleSymbolItem()) {
            if (gMsg.shown == 0) fail("settings from an EPS file refused without a message");
            return 0;
        }
        const platform::FileRef ref = platform::FSOpenMemory();
        const int32_t result = EPSout(ref, 0);
        const bool empty = platform::FSMemoryContents(ref).empty();
        platform::FSClose(ref);
        if (result != 0 && gMsg.shown == 0) fail("a symbol refused without a message");
        if (result == 0 && empty) fail("an empty symbol reported as written");
    }
    return 0;
}
