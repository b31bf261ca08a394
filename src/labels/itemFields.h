// Helpers shared by the routines that pack and unpack label item records.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

#include "labels/labelDoc.h"

constexpr char kVT = 11;  // separates the values sharing one text field
constexpr const char* kSampleData = "501234567890";
constexpr int32_t kRepeatMax = 255;          // numRepeat and tempNumRepeat
constexpr int32_t kInvalidateSelection = 1;  // Disp2InvalRect: the item as drawn, rotated
constexpr int32_t kInvalidateWindow = 2;     // Disp2InvalRect: the whole window
constexpr const char* kNewTextData = " ";    // a new text item's words until typed over

// The item in slot index, or null for an empty slot or an index out of range.
inline LabelItem* itemAt(int32_t index) {
    if (index < 0 || index >= kMaxLabelItems) return nullptr;
    return gLabel.labelParts[static_cast<size_t>(index)].get();
}

// A Pascal string as the bytes a font field stores: length byte and name.
inline std::string pascalText(const unsigned char* p) {
    return std::string(reinterpret_cast<const char*>(p), 1 + p[0]);
}
// The same bytes where they lie.
inline std::string_view pascalBytes(const unsigned char* p) {
    return std::string_view(reinterpret_cast<const char*>(p), 1 + p[0]);
}

// A stored font field is its length byte and name, perhaps followed by a VT and
// more text; the name ends at the VT and never claims bytes that are not there.
void setPascalFromBytes(unsigned char* dst, const std::string& bytes);

// Code types whose bar-font width step stops at 3.
inline bool smallStepFamily(int32_t code) {
    switch (code) {
        case 0:
        case 1:
        case 2:
        case 3:
        case 5:
        case 7:
        case 8:
        case 10:
        case 11:
        case 13:
        case 15:
            return true;
        default:
            return false;
    }
}

inline int32_t clampedInt(int32_t v, int32_t lo, int32_t hi) {
    return v < lo ? lo : (v > hi ? hi : v);
}

// The bar font's width step that a bar-width reduction gives at a size (percent):
// one step per half percent of size, at most 5 (3 for the small-step families).
// Bounded before it becomes a whole number: a size near 0 gives a huge quotient.
inline int32_t widthStepOfReduction(int32_t reduction, double size, int32_t code) {
    const double steps = size > 0 ? reduction / (size * 0.5) : 0;
    const int32_t most = smallStepFamily(code) ? 3 : 5;
    return steps <= 0 ? 0 : steps >= most ? most : static_cast<int32_t>(steps);
}

// A setting truncated toward zero and kept within the bits of its word.
inline int32_t clampedWord(double v, int32_t lo, int32_t hi) {
    if (std::isnan(v)) return lo;
    const double t = std::trunc(v);
    return t < lo ? lo : (t > hi ? hi : static_cast<int32_t>(t));
}
