// Every code type, every variant, readable or not: the dispatcher must come
// back (libFuzzer's -timeout catches a hang) without touching memory it does
// not own, and leave either a refusal with a message or a well-formed list.
#include <cstddef>
#include <cstdint>

#include "fuzz_common.h"
#include "symbology/info.h"

extern "C" int STRIXEL_FUZZ_ENTRY(const uint8_t* in, size_t n) {
    fuzzing::Request r;
    if (!fuzzing::parseRequest(in, n, &r)) return 0;
    fuzzing::gCurrent = &r;
    fuzzing::loadRequest(r);
    const bool empty = gData.chMainCode[0] == 0;
    const int32_t result = STRixel();
    fuzzing::checkOutcome(result, empty);
    // Encoders rewrite the data in place; running again over what the first
    // run left must be as safe, whatever it makes of it.
    if (result == 0) {
        const int32_t again = STRixel();
        if ((again != 0 && again != 1) || gEl.overflow ||
            gEl.cu_len > static_cast<int32_t>(kElementListSize))
            fuzzing::fail("a second run over the rewritten data broke the element list");
    }
    fuzzing::gCurrent = nullptr;
    return 0;
}
