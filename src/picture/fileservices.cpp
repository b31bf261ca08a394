#include "picture/fileservices.h"

#include <algorithm>

#include "labels/labelDoc.h"
#include "platform/files.h"
#include "platform/macroman.h"
#include "platform/quickdraw/pict.h"
#include "platform/resources.h"
#include "symbology/messages.h"

double pictureUnitsPerInch() {
    return labelBack.labelWidth != 0 ? qd::kPictPointsPerInch : qd::kPictHundredthsMmPerInch;
}

void reportFileFailure(uint16_t n) { reportFailureText(n, platform::FSFailureText()); }

void reportFailureText(uint16_t n, std::string why) {
    unsigned char text[256];
    platform::StringResourceGetString(text, 136, n);
    std::string roman;
    size_t bad = 0;
    if (platform::utf8ToMacRoman(why, &roman, &bad)) why = roman;
    std::string said(reinterpret_cast<const char*>(text + 1), text[0]);
    if (why.empty() || said.empty()) {
        Message(n);
        return;
    }
    // The box holds 255 bytes; the texts of the list leave room for a path.
    constexpr size_t kMostMessageBytes = 255;
    const size_t room = kMostMessageBytes - std::min(said.size() + 3, kMostMessageBytes);
    if (why.size() > room) {
        const size_t head = room / 2, tail = room - head - std::min<size_t>(room - head, 3);
        why = why.substr(0, head) + "..." + why.substr(why.size() - tail);
    }
    said += " (" + why + ")";
    MessageText(said.c_str());
}
