#include "symbology/messages.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>

#include "platform/macroman.h"
#include "platform/questions.h"
#include "platform/resources.h"
#include "symbology/host.h"

MessageState gMsg;

namespace {

void show(const unsigned char* pstr) {
    gMsg.last.assign(reinterpret_cast<const char*>(pstr + 1), pstr[0]);
    ++gMsg.shown;
    // On the desktop the modal box shows it; headless the terminal does.
    if (platform::ShowMessageBox(gMsg.last)) return;
    // The texts are Mac OS Roman; the terminal speaks UTF-8.
    if (!gMsg.quiet)
        std::fprintf(stderr, "strixel: %s\n", platform::macRomanToUtf8(gMsg.last).c_str());
}

void setErrorString(const unsigned char* pstr) {
    std::memcpy(gMsg.gerrorstr, pstr + 1, pstr[0]);
    gMsg.gerrorstr[pstr[0]] = 0;
}

}  // namespace

void Message(uint16_t n) {
    unsigned char text[256];
    platform::StringResourceGetString(text, 136, n);
    if (text[0] == 0) {
        // A number without a text must still say something.
        std::snprintf(reinterpret_cast<char*>(text + 1), 255, "Error %u.", n);
        text[0] = static_cast<unsigned char>(std::strlen(reinterpret_cast<char*>(text + 1)));
    }
    if (labelLayoutOpen()) {
        if (gMsg.inerror == 1) return;
        // The layout preview shows the text over the label; no box piles up.
        setErrorString(text);
        gMsg.last.assign(gMsg.gerrorstr);
        ++gMsg.shown;
        gMsg.inerror = 0;
        // Without a preview to draw it the box says it, lest it wait unseen.
        if (!layoutPreviewShowsMessage() && platform::ShowMessageBox(gMsg.last))
            gMsg.gerrorstr[0] = 0;
        return;
    }
    show(text);
}

void MessageOld(const unsigned char* pstr) {
    if (labelLayoutOpen()) {
        if (gMsg.inerror == 1) return;
        gMsg.inerror = 1;
    }
    show(pstr);
}

void MessageText(const char* text) {
    unsigned char p[256];
    size_t n = std::strlen(text);
    if (n > 255) n = 255;
    p[0] = static_cast<unsigned char>(n);
    std::memcpy(p + 1, text, n);
    MessageOld(p);
}

void resetMessages() { gMsg = MessageState{}; }

int32_t refuseSymbol(const char* text) {
    MessageText(text);
    gMsg.inerror = 1;
    return 1;
}

// A letter above ASCII is quoted as it is: messages are Mac OS Roman, as the
// data is, and show it as the user typed it ("12€": "€", not "?").
char quotedChar(unsigned char c) { return c >= 32 && c != 127 ? static_cast<char>(c) : '?'; }

const char* typeNameInMessages(const char* own) {
    return gMsg.typeName.empty() ? own : gMsg.typeName.c_str();
}

namespace {

// Message n with the detail in parentheses; empty when either is missing.
std::string withDetail(uint16_t n, std::string detail) {
    unsigned char text[256];
    platform::StringResourceGetString(text, 136, n);
    std::string roman;
    size_t bad = 0;
    if (platform::utf8ToMacRoman(detail, &roman, &bad)) detail = roman;
    std::string said(reinterpret_cast<const char*>(text + 1), text[0]);
    if (detail.empty() || said.empty()) return {};
    // The box holds 255 bytes; the texts of the list leave room for a path.
    constexpr size_t kMostMessageBytes = 255;
    const size_t room = kMostMessageBytes - std::min(said.size() + 3, kMostMessageBytes);
    if (detail.size() > room) {
        const size_t head = room / 2, tail = room - head - std::min<size_t>(room - head, 3);
        detail = detail.substr(0, head) + "..." + detail.substr(detail.size() - tail);
    }
    said += " (" + detail + ")";
    return said;
}

}  // namespace

void MessageWith(uint16_t n, std::string detail) {
    const std::string said = withDetail(n, std::move(detail));
    if (said.empty()) {
        Message(n);
        return;
    }
    MessageText(said.c_str());
}

void MessageInBox(uint16_t n, std::string detail) {
    std::string said = withDetail(n, detail);
    if (said.empty()) {
        unsigned char text[256];
        platform::StringResourceGetString(text, 136, n);
        said.assign(reinterpret_cast<const char*>(text + 1), text[0]);
    }
    // Over a layout the box too: a text drawn on the label goes with the next
    // redraw, and one raised after a symbol's error would be dropped.
    if (labelLayoutOpen() && !said.empty() && platform::ShowMessageBox(said)) {
        gMsg.last = said;
        ++gMsg.shown;
        return;
    }
    MessageWith(n, std::move(detail));
}
