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

// The documents write positions that are whole multiples of 1e-5 point and the
// like: values that lie within a hair of a number with `decimals` digits. For
// those, the digits are that number, exactly as "%f" rounds them, and integer
// arithmetic writes them many times faster than the general conversion.
int formatNearlyExact(char* text, double value, int decimals) {
    if (decimals < 1 || decimals > 9 || !(std::fabs(value) < 1e9)) return -1;
    const double scaled = value * kPowersOfTen[decimals];
    if (!(std::fabs(scaled) < 1e15)) return -1;  // beyond the integers a double holds exactly
    const double nearest = std::nearbyint(scaled);
    if (std::fabs(scaled - nearest) > 1e-3) return -1;  // near a rounding boundary: be exact
    long long units = static_cast<long long>(nearest);
    char* p = text;
    // "%f" keeps the sign of a negative value that rounds to zero.
    if (units < 0 || (units == 0 && std::signbit(value))) *p++ = '-';
    unsigned long long u = units < 0 ? static_cast<unsigned long long>(-units) : units;
    const unsigned long long scale = static_cast<unsigned long long>(kPowersOfTen[decimals]);
    auto r = std::to_chars(p, p + 24, u / scale);
    p = r.ptr;
    *p++ = '.';
    unsigned long long frac = u % scale;
    for (int d = decimals - 1; d >= 0; --d) {
        p[d] = static_cast<char>('0' + frac % 10);
        frac /= 10;
    }
    return static_cast<int>(p + decimals - text);
}

}  // namespace

int formatFixed(char* buf, size_t size, double value, int decimals) {
    // Large enough for any double in fixed notation with up to 40 decimals.
    char text[400];
    if (decimals < 0) decimals = 0;
    if (decimals > 40) decimals = 40;
    const int quick = formatNearlyExact(text, value, decimals);
    if (quick > 0) return finish(buf, size, text, text + quick);
    auto r = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    if (r.ec != std::errc()) return finish(buf, size, text, text + sizeof text);  // never fits
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

void SysBeep(int16_t) { ++beeps; }
int beepCount() { return beeps; }
void resetBeeps() { beeps = 0; }

}  // namespace platform
