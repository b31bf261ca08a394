#include "labels/serial.h"

#include <cstring>

#include "labels/production.h"
#include "symbology/messages.h"

namespace {

constexpr uint16_t kMsgSerialWidth = 1300;
constexpr uint16_t kMsgSerialDigit = 1301;
constexpr uint16_t kMsgSerialTooLong = 1302;

constexpr int32_t kMaxWidth = static_cast<int32_t>(kRunTextSize) - 1;
constexpr int kNoDigit = -1;

struct BaseInfo {
    int radix;
    char first;  // the character of digit value 0 (decimal and base 94)
};
constexpr BaseInfo kBases[] = {{10, '0'}, {94, '!'}, {16, '0'}};

int digitValue(char c, int32_t base) {
    const unsigned char u = static_cast<unsigned char>(c);
    switch (base) {
        case kSerialDecimal:
            return u >= '0' && u <= '9' ? u - '0' : kNoDigit;
        case kSerialBase94:
            return u >= '!' && u <= '~' ? u - '!' : kNoDigit;
        default:
            if (u >= '0' && u <= '9') return u - '0';
            if (u >= 'A' && u <= 'F') return u - 'A' + 10;
            if (u >= 'a' && u <= 'f') return u - 'a' + 10;
            return kNoDigit;
    }
}

char digitChar(int v, int32_t base) {
    if (base == kSerialHex) return static_cast<char>(v < 10 ? '0' + v : 'A' + v - 10);
    return static_cast<char>(kBases[base].first + v);
}

// The digit values of text over indices 0 to n, the text right-aligned and
// padded with '0' as the run fits its values. False (message shown) when the
// text is too long or holds a character that is no digit.
bool convertToArray(const char* text, int32_t base, int32_t n, int* digits) {
    const size_t len = strnlen(text, kRunTextSize);
    const size_t width = static_cast<size_t>(n) + 1;
    if (len > width) {
        Message(kMsgSerialTooLong);
        return false;
    }
    const size_t pad = width - len;
    for (size_t i = 0; i < width; ++i) {
        const char c = i < pad ? '0' : text[i - pad];
        digits[i] = digitValue(c, base);
        if (digits[i] == kNoDigit) {
            Message(kMsgSerialDigit);
            return false;
        }
    }
    return true;
}

void convertFromArray(char* text, int32_t base, int32_t n, const int* digits) {
    for (int32_t i = 0; i <= n; ++i) text[i] = digitChar(digits[i], base);
    text[n + 1] = 0;
}

// Adds b into a from the last position; true on a carry out of position 0.
bool addArray(int* a, const int* b, int32_t base, int32_t n) {
    const int radix = kBases[base].radix;
    int carry = 0;
    for (int32_t i = n; i >= 0; --i) {
        a[i] += b[i] + carry;
        carry = a[i] > radix - 1;
        if (carry) a[i] -= radix;
    }
    return carry != 0;
}

// True when a is greater than b; the first differing position decides.
bool compareArray(const int* a, const int* b, int32_t n) {
    for (int32_t i = 0; i <= n; ++i)
        if (a[i] != b[i]) return a[i] > b[i];
    return false;
}

}  // namespace

SerialStep SerialNo(const char*, const char* end, const char* increment, int32_t last, int32_t base,
                    char* current) {
    if (current[0] == 0) return SerialStep::ended;  // the run has passed its end
    if (last < 0 || last >= kMaxWidth) {
        Message(kMsgSerialWidth);
        current[0] = 0;
        return SerialStep::refused;
    }
    if (base < kSerialDecimal || base > kSerialHex) base = kSerialDecimal;
    int cur[kMaxWidth], fin[kMaxWidth], inc[kMaxWidth];
    if (!convertToArray(current, base, last, cur) || !convertToArray(end, base, last, fin) ||
        !convertToArray(increment, kSerialDecimal, last, inc)) {
        current[0] = 0;
        return SerialStep::refused;
    }
    const bool overflow = addArray(cur, inc, base, last);
    if (overflow || compareArray(cur, fin, last)) {
        current[0] = 0;
        return SerialStep::ended;
    }
    convertFromArray(current, base, last, cur);
    return SerialStep::next;
}
