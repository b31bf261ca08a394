// Builds the text of vector page code in a local buffer and hands it to the
// sink TEInsert2 in as few calls as possible. Numbers come out the same under
// every locale; nothing is ever cut: a full buffer is flushed and filling goes on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

// The "%f" text of a value, made once for a number written several times.
struct FixedText {
    explicit FixedText(double value);
    char text[352];  // "%f" of the largest double is 317 characters
    size_t length = 0;
};

class Emit {
  public:
    Emit() = default;
    Emit(const Emit&) = delete;
    Emit& operator=(const Emit&) = delete;
    ~Emit() { flush(); }

    // A NUL-terminated literal; inline so that a literal's length is known here.
    Emit& s(const char* text) { return put(text, std::strlen(text)); }
    Emit& s(const char* text, size_t length);  // bytes as they are (a NUL becomes '0' in the sink)
    Emit& s(std::string_view literal) { return put(literal.data(), literal.size()); }
    Emit& c(char ch) {
        if (n_ == sizeof buf_) flush();
        buf_[n_++] = ch;
        if (ch == 0) mayHoldNul_ = true;
        return *this;
    }
    Emit& i(int64_t value);  // "%d"
    Emit& f(double value);   // "%f": six decimals
    Emit& f(const FixedText& t) { return put(t.text, t.length); }
    // A length in units of 1e-5 point in fixed point: the integer part, '.', four
    // decimals, truncated (1.234567 points is "1.2345", -0.5 points "-.5000").
    Emit& fixed5(int64_t value);
    // A colour percentage: "0 " for 0 or less, "1 " for 100 or more, else ".NN ".
    Emit& colour(int32_t percent);
    // A PostScript (or PDF) string: "(", the bytes with a backslash before every
    // '(', ')' and '\', then ")".
    Emit& str(const unsigned char* text, size_t length);
    Emit& pstr(const unsigned char* pascalText) { return str(pascalText + 1, pascalText[0]); }

    void flush();
    // What is written but not yet flushed, and dropping it.
    std::string_view pending() const { return {buf_, n_}; }
    // Nothing flushed yet: pending() holds all that was written.
    bool heldWhole() const { return !flushed_; }
    void discard() {
        n_ = 0;
        mayHoldNul_ = false;
    }

  private:
    void room(size_t n);
    // Bytes known to hold no NUL. Page code is made of short pieces: the common
    // case stays inline.
    Emit& put(const char* text, size_t length) {
        if (n_ + length > sizeof buf_) return putPastRoom(text, length);
        std::memcpy(buf_ + n_, text, length);
        n_ += length;
        return *this;
    }
    Emit& putPastRoom(const char* text, size_t length);
    // Room for the longest glyph contour, which is kept whole for the next symbol.
    char buf_[4096];
    size_t n_ = 0;
    bool mayHoldNul_ = false;  // only then must the sink look for NUL bytes
    bool flushed_ = false;
};
