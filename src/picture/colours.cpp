#include "picture/colours.h"

#include <algorithm>
#include <cstdint>

#include "platform/quickdraw/quickdraw.h"
#include "symbology/state.h"

namespace {

constexpr double kChannelPerPercent = 655.355;

// Cyan takes away red, magenta green and yellow blue; black takes away all three.
uint16_t channel(int32_t colour, int32_t black) {
    const auto ink = static_cast<int32_t>(std::clamp<int64_t>(int64_t{colour} + black, 0, 100));
    return static_cast<uint16_t>((100 - ink) * kChannelPerPercent);
}

}  // namespace

void setBackColourInPict(int32_t cyan, int32_t magenta, int32_t yellow, int32_t black) {
    qd::PenMode(qd::patOr);
    qd::TextMode(qd::srcOr);
    qd::RGBForeColor({channel(cyan, black), channel(magenta, black), channel(yellow, black)});
}

void setColourInPict() {
    setBackColourInPict(gSym.cyan2, gSym.magenta2, gSym.yellow2, gSym.black2);
}
