// Units and small helpers the vector writers share: millimetres to points, the
// position unit of 1e-5 point in which bars and glyph origins are placed, and
// the cut of a length to whole units.
#pragma once

#include <cstdint>
#include <cstring>

inline constexpr double kPointsPerMm = 2.8346456;
inline constexpr double kPerPoint = 100000;  // position units (1e-5 point) per point

// Toward zero, as lengths are cut to whole units. A length beyond the unit's
// range (an item placed far off its page by a damaged document) is held at the
// range's end rather than wrapping round.
constexpr int32_t trunc32(double v) {
    if (!(v == v)) return 0;  // NaN
    if (v >= static_cast<double>(INT32_MAX)) return INT32_MAX;
    if (v <= static_cast<double>(INT32_MIN)) return INT32_MIN;
    return static_cast<int32_t>(v);
}

// A sum of positions, held within the unit's range in the same way.
constexpr int32_t sum32(int64_t a, int64_t b, int64_t c = 0) {
    const int64_t s = a + b + c;
    return s > INT32_MAX ? INT32_MAX : s < INT32_MIN ? INT32_MIN : static_cast<int32_t>(s);
}

// The code types whose text is set twice as large.
constexpr bool bigText(int32_t code) {
    return (code >= 4 && code <= 8) || code == 12 || code == 17;
}

// Two Pascal strings (font names) are the same.
inline bool samePstr(const unsigned char* a, const unsigned char* b) {
    return a[0] == b[0] && std::memcmp(a + 1, b + 1, a[0]) == 0;
}
