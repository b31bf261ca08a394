#include "platform/numbers.h"

#include <cmath>

#include <locale.h>

#include <charconv>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <limits>

namespace platform {
namespace {

int beeps = 0;
void (*beepSound)(int16_t) = nullptr;

// to_chars never looks at the locale; copies the result in only when it fits.
int finish(char* buf, size_t size, const char* text, const char* end) {
    if (!buf || size == 0) return -1;
    const size_t n = static_cast<size_t>(end - text);
    if (n >= size) {
        buf[0] = 0;
        return -1;
    }
    std::memcpy(buf, text, n);
    buf[n] = 0;
    return static_cast<int>(n);
}

locale_t cLocale() {
    static locale_t c = ::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return c;
}

}  // namespace

void NumToString(int32_t num, unsigned char* str) {
    char text[16];
    auto r = std::to_chars(text, text + sizeof text, num);
    const size_t n = static_cast<size_t>(r.ptr - text);
    str[0] = static_cast<unsigned char>(n);
    std::memcpy(str + 1, text, n);
}

void StringToNum(const unsigned char* str, int32_t* num) {
    const int len = str[0];
    int i = 1;
    bool negative = false;
    if (i <= len && (str[i] == '-' || str[i] == '+')) negative = str[i++] == '-';
    int64_t v = 0;
    const int64_t limit = negative ? -static_cast<int64_t>(std::numeric_limits<int32_t>::min())
                                   : std::numeric_limits<int32_t>::max();
    for (; i <= len && str[i] >= '0' && str[i] <= '9'; ++i) {
        v = v * 10 + (str[i] - '0');
        if (v > limit) v = limit;
    }
    *num = static_cast<int32_t>(negative ? -v : v);
}

int formatInt(char* buf, size_t size, long value) {
    char text[32];
    auto r = std::to_chars(text, text + sizeof text, value);
    return finish(buf, size, text, r.ptr);
}

namespace {

constexpr double kPowersOfTen[] = {1, 10, 100, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};

}  // namespace

// Numbers of the documents (positions, sizes, glyph points) are written many
// thousands of times a page, so the common case takes integer arithmetic. Below
// 1e12 the product of the value and 10^decimals is off the exact product by less
// than 2^-13 (half a unit in the last place), so unless it sits within 1e-3 of a
// halfway point, rounding it gives the very digits "%f" gives. Halfway cases
// and large values take the general conversion.
namespace {

constexpr char kPairs[] =
    "000102030405060708091011121314151617181920212223242526272829303132333435363738394041424344"
    "4546474849"
    "505152535455565758596061626364656667686970717273747576777879808182838485868788899091929394"
    "9596979899";

// The digits of u / 10^D, '.', and the D decimals, written straight into out.
// A constant D lets the compiler turn every division into a multiplication.
template <int D>
int writeFixed(char* out, unsigned long long u, bool negative) {
    constexpr auto kScale = static_cast<unsigned long long>(kPowersOfTen[D]);
    unsigned long long whole = u / kScale;
    uint32_t frac = static_cast<uint32_t>(u % kScale);
    char* p = out;
    if (negative) *p++ = '-';  // "%f" keeps the sign, even of a value rounding to zero
    int wholeDigits = 1;
    for (unsigned long long w = whole; w >= 10; w /= 10) ++wholeDigits;
    char* q = p + wholeDigits;
    while (whole >= 100) {
        const auto pair = static_cast<uint32_t>(whole % 100);
        whole /= 100;
        q -= 2;
        std::memcpy(q, kPairs + 2 * pair, 2);
    }
    if (whole >= 10)
        std::memcpy(q - 2, kPairs + 2 * whole, 2);
    else
        q[-1] = static_cast<char>('0' + whole);
    p += wholeDigits;
    *p++ = '.';
    q = p + D;
    int d = D;
    for (; d >= 2; d -= 2) {
        const uint32_t pair = frac % 100;
        frac /= 100;
        q -= 2;
        std::memcpy(q, kPairs + 2 * pair, 2);
    }
    if (d == 1) q[-1] = static_cast<char>('0' + frac);
    return static_cast<int>(p + D - out);
}

using FixedWriter = int (*)(char*, unsigned long long, bool);
constexpr FixedWriter kFixedWriters[] = {nullptr,       writeFixed<1>, writeFixed<2>, writeFixed<3>,
                                         writeFixed<4>, writeFixed<5>, writeFixed<6>, writeFixed<7>,
                                         writeFixed<8>, writeFixed<9>};

}  // namespace

// Numbers of the documents (positions, sizes, glyph points) are written many
// thousands of times a page, so the common case takes integer arithmetic. Below
// 1e12 the product of the value and 10^decimals is off the exact product by less
// than 2^-13 (half a unit in the last place), so unless it sits within 1e-3 of a
// halfway point, rounding it gives the very digits "%f" gives. Halfway cases
// and large values take the general conversion.
int formatFixedQuick(char* out, double value, int decimals) {
    if (decimals < 1 || decimals > 9) return -1;
    const double magnitude = std::fabs(value) * kPowersOfTen[decimals];
    if (!(magnitude < 1e12)) return -1;
    unsigned long long u =
        static_cast<unsigned long long>(magnitude);  // the floor, as it is positive
    const double fraction = magnitude - static_cast<double>(u);
    if (std::fabs(fraction - 0.5) < 1e-3) return -1;
    if (fraction > 0.5) ++u;
    const bool negative = std::signbit(value);
    return decimals == 6 ? writeFixed<6>(out, u, negative)
                         : kFixedWriters[decimals](out, u, negative);
}

int formatFixed(char* buf, size_t size, double value, int decimals) {
    // Large enough for any double in fixed notation with up to 40 decimals.
    char text[400];
    if (decimals < 0) decimals = 0;
    if (decimals > 40) decimals = 40;
    const int quick = formatFixedQuick(text, value, decimals);
    if (quick > 0) return finish(buf, size, text, text + quick);
    auto r = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    if (r.ec != std::errc()) {  // cannot happen: the buffer holds any double
        if (buf && size > 0) buf[0] = 0;
        return -1;
    }
    return finish(buf, size, text, r.ptr);
}

std::string formatC(const char* fmt, ...) {
    // The C locale for this thread alone while formatting.
    locale_t previous = ::uselocale(cLocale());
    va_list args;
    va_start(args, fmt);
    va_list again;
    va_copy(again, args);
    char small[256];
    int n = std::vsnprintf(small, sizeof small, fmt, args);
    std::string out;
    if (n >= 0 && static_cast<size_t>(n) < sizeof small) {
        out.assign(small, static_cast<size_t>(n));
    } else if (n >= 0) {
        out.resize(static_cast<size_t>(n) + 1);
        std::vsnprintf(out.data(), out.size(), fmt, again);
        out.resize(static_cast<size_t>(n));
    }
    va_end(again);
    va_end(args);
    ::uselocale(previous);
    return out;
}

void SysBeep(int16_t duration) {
    ++beeps;
    if (beepSound) beepSound(duration);
}
void SetBeepSound(void (*sound)(int16_t duration)) { beepSound = sound; }
int beepCount() { return beeps; }
void resetBeeps() { beeps = 0; }

}  // namespace platform
