#include "vector/emit.h"

#include <cstring>

#include "platform/numbers.h"
#include "vector/blocks.h"
#include "vector/shapes.h"
#include "vector/sink.h"

void Emit::flush() {
    if (n_ == 0) return;
    flushed_ = true;
    if (mayHoldNul_)
        TEInsert2(buf_, static_cast<int32_t>(n_));
    else
        writeRaw(buf_, static_cast<int32_t>(n_));
    n_ = 0;
    mayHoldNul_ = false;
}

void Emit::room(size_t n) {
    if (n_ + n > sizeof buf_) flush();
}

Emit& Emit::putPastRoom(const char* text, size_t length) {
    flush();
    if (length > sizeof buf_) {  // a long run goes to the sink whole
        TEInsert2(text, static_cast<int32_t>(length));
        return *this;
    }
    std::memcpy(buf_, text, length);
    n_ = length;
    return *this;
}

Emit& Emit::s(const char* text, size_t length) {
    put(text, length);
    if (length <= sizeof buf_ && std::memchr(text, 0, length)) mayHoldNul_ = true;
    return *this;
}

// Both buffers hold the longest text of their kind, so formatting cannot fail.
Emit& Emit::i(int64_t value) {
    room(24);
    const int n = platform::formatInt(buf_ + n_, 24, static_cast<long>(value));
    if (n > 0) n_ += static_cast<size_t>(n);
    return *this;
}

namespace {

// Page code repeats its numbers (every bar edge and bar height comes back
// several times), so the last texts made are kept, found by the value's bits.
// No member initialisers: the table is zeroed as a global is, and costs a
// start-up no writes to pages no number lands in.
struct RecentNumber {
    uint64_t bits;
    uint32_t length;  // 0: empty
    char text[32];
};
// Room for a few symbols' numbers: in a batch of similar symbols the next one
// finds most of its bar edges, glyph points and text positions made already.
constexpr size_t kRecentNumbers = 1024;
RecentNumber gRecent[kRecentNumbers];

// The quick "%f" text of value into out (32 bytes of room), from the recent
// numbers when it is there; its length, or -1 when the value needs the general
// conversion.
int recentFixed(char* out, double value) {
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    RecentNumber& recent = gRecent[(bits ^ (bits >> 23) ^ (bits >> 41)) % kRecentNumbers];
    if (recent.length != 0 && recent.bits == bits) {
        std::memcpy(out, recent.text, sizeof recent.text);
        return static_cast<int>(recent.length);
    }
    const int quick = platform::formatFixedQuick(out, value, 6);
    if (quick > 0) {
        std::memcpy(recent.text, out, sizeof recent.text);
        recent.bits = bits;
        recent.length = static_cast<uint32_t>(quick);
    }
    return quick;
}

}  // namespace

Emit& Emit::f(double value) {
    room(32);
    const int quick = recentFixed(buf_ + n_, value);
    if (quick > 0) {
        n_ += static_cast<size_t>(quick);
        return *this;
    }
    char tmp[352];  // "%f" of the largest double is 317 characters
    const int n = platform::formatFixed(tmp, sizeof tmp, value, 6);
    return n > 0 ? put(tmp, static_cast<size_t>(n)) : *this;
}

FixedText::FixedText(double value) {
    int n = recentFixed(text, value);
    if (n <= 0) n = platform::formatFixed(text, sizeof text, value, 6);
    length = n > 0 ? static_cast<size_t>(n) : 0;
}

Emit& Emit::fixed5(int64_t value) {
    // The digits padded to six with '0' (a '-' staying in front), all but the last
    // five, '.', then the next four.
    unsigned char p[32];
    p[0] = static_cast<unsigned char>(platform::formatInt(reinterpret_cast<char*>(p + 1),
                                                          sizeof p - 1, static_cast<long>(value)));
    padToLen(p, 6);
    const size_t len = p[0];
    put(reinterpret_cast<const char*>(p + 1), len - 5);
    c('.');
    return put(reinterpret_cast<const char*>(p + 1 + len - 5), 4);
}

Emit& Emit::colour(int32_t percent) {
    char t[5];
    return put(t, static_cast<size_t>(colourNumberText(t, percent)));
}

Emit& Emit::str(const unsigned char* text, size_t length) {
    c('(');
    for (size_t k = 0; k < length; ++k) {
        const unsigned char ch = text[k];
        if (ch < ' ' && ch != 0) {
            // A control byte as its octal escape: the same string to an interpreter,
            // and a CR or LF can no longer end the comment line a string stands in.
            // (A NUL is the sink's to write.)
            c('\\').c(char('0' + (ch >> 6))).c(char('0' + ((ch >> 3) & 7))).c(char('0' + (ch & 7)));
            continue;
        }
        if (ch == '(' || ch == ')' || ch == '\\') c('\\');
        c(static_cast<char>(ch));
    }
    return c(')');
}
