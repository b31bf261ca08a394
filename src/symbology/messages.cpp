#include "symbology/messages.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/macroman.h"
#include "platform/questions.h"
#include "platform/resources.h"
#include "symbology/host.h"

MessageState gMsg;

namespace {

// A Mac OS Roman text, and the same in UTF-8 when it quotes a detail that
// Mac OS Roman cannot hold whole (else empty).
void show(std::string roman, std::string utf8 = {}) {
    gMsg.last = std::move(roman);
    gMsg.lastUtf8 = std::move(utf8);
    ++gMsg.shown;
    // On the desktop the modal box shows it; headless the terminal does.
    if (platform::ShowMessageBox(gMsg.last)) return;
    if (!gMsg.quiet) std::fprintf(stderr, "strixel: %s\n", lastMessageUtf8().c_str());
}

// MessageOld for such a text.
void showOld(std::string roman, std::string utf8 = {}) {
    if (labelLayoutOpen()) {
        if (gMsg.inerror == 1) return;
        gMsg.inerror = 1;
    }
    show(std::move(roman), std::move(utf8));
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
        gMsg.lastUtf8.clear();
        ++gMsg.shown;
        gMsg.inerror = 0;
        // Without a preview to draw it the box says it, lest it wait unseen.
        if (!layoutPreviewShowsMessage() && platform::ShowMessageBox(gMsg.last))
            gMsg.gerrorstr[0] = 0;
        return;
    }
    show(std::string(reinterpret_cast<const char*>(text + 1), text[0]));
}

void MessageOld(const unsigned char* pstr) {
    showOld(std::string(reinterpret_cast<const char*>(pstr + 1), pstr[0]));
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

std::string lastMessageUtf8() {
    // The UTF-8 form stands only for the text it was made with.
    if (!gMsg.lastUtf8.empty() && platform::utf8ToMacRomanShown(gMsg.lastUtf8) == gMsg.last)
        return gMsg.lastUtf8;
    return platform::macRomanToUtf8(gMsg.last);
}

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

// Message n with a detail in parentheses: Mac OS Roman for the box, where a
// character the set lacks shows as '?', and UTF-8 for the terminal, which
// shows the detail as it was given.
struct Detailed {
    std::string roman, utf8;
};

// The detail (UTF-8) cut in its middle to at most `room` characters, whole
// characters kept; a byte that is no UTF-8 becomes '?'.
std::string cutDetail(std::string_view detail, size_t room) {
    std::vector<std::string_view> chars;
    for (size_t i = 0; i < detail.size();) {
        const size_t n = platform::utf8CharacterBytes(detail, i);
        const std::string_view c = detail.substr(i, n);
        chars.push_back(n == 1 && static_cast<unsigned char>(c[0]) >= 0x80 ? "?" : c);
        i += n;
    }
    std::string out;
    const auto append = [&](size_t from, size_t to) {
        for (size_t i = from; i < to; ++i) out += chars[i];
    };
    if (chars.size() <= room) {
        append(0, chars.size());
        return out;
    }
    constexpr std::string_view kCut = "...";
    const size_t head = room / 2, tail = room - head - std::min(room - head, kCut.size());
    append(0, head);
    out += kCut;
    append(chars.size() - tail, chars.size());
    return out;
}

// Empty when the text or the detail is missing.
Detailed withDetail(uint16_t n, const std::string& detail) {
    unsigned char text[256];
    platform::StringResourceGetString(text, 136, n);
    const std::string said(reinterpret_cast<const char*>(text + 1), text[0]);
    if (detail.empty() || said.empty()) return {};
    // The box holds 255 bytes; the texts of the list leave room for a path.
    constexpr size_t kMostMessageBytes = 255;
    const size_t room = kMostMessageBytes - std::min(said.size() + 3, kMostMessageBytes);
    const std::string cut = cutDetail(detail, room);
    return {said + " (" + platform::utf8ToMacRomanShown(cut) + ")",
            platform::macRomanToUtf8(said) + " (" + cut + ")"};
}

}  // namespace

void MessageWith(uint16_t n, std::string detail) {
    Detailed said = withDetail(n, detail);
    if (said.roman.empty()) {
        Message(n);
        return;
    }
    showOld(std::move(said.roman), std::move(said.utf8));
}

void MessageInBox(uint16_t n, std::string detail) {
    Detailed said = withDetail(n, detail);
    if (said.roman.empty()) {
        unsigned char text[256];
        platform::StringResourceGetString(text, 136, n);
        said.roman.assign(reinterpret_cast<const char*>(text + 1), text[0]);
    }
    // Over a layout the box too: a text drawn on the label goes with the next
    // redraw, and one raised after a symbol's error would be dropped.
    if (labelLayoutOpen() && !said.roman.empty() && platform::ShowMessageBox(said.roman)) {
        gMsg.last = std::move(said.roman);
        gMsg.lastUtf8 = std::move(said.utf8);
        ++gMsg.shown;
        return;
    }
    MessageWith(n, std::move(detail));
}
