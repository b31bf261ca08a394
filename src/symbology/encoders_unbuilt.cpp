// Encoders that are not built yet refuse with a message, never with an empty
// symbol reported as success. Each family removes its entry here when it lands.
#include <string>

#include "databar/RSSENC.h"
#include "symbology/encoders.h"
#include "symbology/messages.h"
#include "symbology/rows.h"

namespace {
int32_t notBuilt(const char* family) {
    MessageText((std::string(family) + " symbols cannot be made yet in this version.").c_str());
    return 1;
}
}  // namespace

// The code types these stubs serve: the help lists them apart. A family that
// lands takes its code types out of this list with its stub.
constexpr int32_t kCodesNotBuilt[] = {4, 12, 14, 17, 20, 21, 23, 24, 35};

bool encoderBuilt(int32_t code, int32_t variant) {
    if (code == 37) return variant >= 0 && variant <= 3;  // DataBar-14 and its forms
    for (int32_t c : kCodesNotBuilt)
        if (c == code) return false;
    return true;
}

int32_t Intwofive() { return notBuilt("Interleaved 2 of 5"); }
int32_t ITF6() { return notBuilt("ITF-6"); }
int32_t C2of5() { return notBuilt("2 of 5"); }
int32_t onLaetus() { return notBuilt("Laetus pharmacode"); }
int32_t Plessey() { return notBuilt("Plessey"); }
int32_t MSI() { return notBuilt("MSI"); }
int32_t onSick() { return notBuilt("SICK"); }
void RSSLim(RssParams&) {
    rssRefuse("DataBar Limited symbols cannot be made yet in this version.");
}
void RSSExp(RssParams&) {
    rssRefuse("DataBar Expanded symbols cannot be made yet in this version.");
}
