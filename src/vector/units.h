// Units and small helpers the vector writers share: millimetres to points, the
// position unit of 1e-5 point in which bars and glyph origins are placed, and
// the cut of a length to whole units.
#pragma once

#include <cstdint>
#include <cstring>

inline constexpr double kPointsPerMm = 2.8346456;
inline constexpr double kPerPoint = 100000;  // position units (1e-5 point) per point

// Toward zero, as lengths are cut to whole units.
constexpr int32_t trunc32(double v) { return static_cast<int32_t>(v); }

// The code types whose text is set twice as large.
constexpr bool bigText(int32_t code) {
    return (code >= 4 && code <= 8) || code == 12 || code == 17;
}

// Two Pascal strings (font names) are the same.
inline bool samePstr(const unsigned char* a, const unsigned char* b) {
    return a[0] == b[0] && std::memcmp(a + 1, b + 1, a[0]) == 0;
}
