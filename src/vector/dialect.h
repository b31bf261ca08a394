// The dialect tests the vector writers share. Dialects are compared by their
// number, so 25 counts as lower than 88.
#pragma once

#include "symbology/state.h"

namespace dialect {

constexpr int32_t kPdf = 1115;
constexpr int32_t kType3 = 2;
constexpr int32_t kPress = 25;

inline bool pdf() { return gOut.ill == kPdf; }
inline bool type3() { return gOut.ill == kType3; }
// The Illustrator 3 text objects (and PDF text in their place).
inline bool newText() { return gOut.ill >= 91; }
// Outlines drawn as strokes (1, 2, 88) rather than filled bands (93, 95, 25, PDF).
inline bool strokedShapes() { return gOut.ill < 93 && gOut.ill != kPress; }
// "L" of the Illustrator dialects, "l" of PDF.
inline const char* lineTo() { return pdf() ? " l\r" : " L\r"; }

}  // namespace dialect
