// Encoders that are not built yet refuse with a message, never with an empty
// symbol reported as success. Each family removes its entry here when it lands.
#include "databar/RSSENC.h"
#include "symbology/encoders.h"

// The code types these stubs serve: the help lists them apart. A family that
// lands takes its code types out of here with its stub.
bool encoderBuilt(int32_t code, int32_t variant) {
    if (code == 37) return variant >= 0 && variant <= 3;  // DataBar-14 and its forms
    return true;
}

void RSSLim(RssParams&) {
    rssRefuse("DataBar Limited symbols cannot be made yet in this version.");
}
void RSSExp(RssParams&) {
    rssRefuse("DataBar Expanded symbols cannot be made yet in this version.");
}
