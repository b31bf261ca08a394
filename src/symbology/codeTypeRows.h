// The rows of the code-type choices: a family, a variant and the appearance
// settings that belong to them. The code-type menus apply a row when an item is
// chosen; a type name of the record language applies the rows that must agree
// with their menu item (typeNameRow), so that such a symbol made from a script
// comes out as the menu item makes it.
#pragma once

#include <cstddef>
#include <cstdint>

// A setting an item assigns after its family and variant.
enum class CodeSetting : uint8_t {
    none,
    nonLight,
    flushBars,
    stripExtra,
    customTeSize,
    ratio,
    nCheck,
    chSpace,
    fontAbove,  // value kFontDefault or kFontOcrA
    attTop,
    line,
    gline,
    aboveHu,
    human,
    variation,
    insetAmount,
    smallFirstChar,
    drawExtraText,
    dataText,     // the data field gets the menus' sample data
    defaultsFor,  // the type's defaults run with the value as code type
    coupon,       // the coupon dialog opens instead of the tail
};
constexpr int32_t kFontDefault = 0, kFontOcrA = 1;
inline constexpr const char* kOcrAFont = "OCR-ANormal";
constexpr int32_t kUnchanged = -1;  // family or variant kept as it is

struct CodeAssign {
    CodeSetting setting = CodeSetting::none;
    int32_t value = 0;
};
constexpr size_t kMostAssigns = 8;
struct CodeTypeRow {
    int32_t code = kUnchanged;
    int32_t variation1 = kUnchanged;
    CodeAssign set[kMostAssigns] = {};
};

// SCC 14: ITF-14 in its bearer box, which the digits stand under, with no
// light-margin marks (the box holds the quiet zones).
inline constexpr CodeTypeRow kShippingContainerRow{4,
                                                   11,
                                                   {{CodeSetting::ratio, 5},
                                                    {CodeSetting::nCheck, 0},
                                                    {CodeSetting::chSpace, 1},
                                                    {CodeSetting::line, 14},
                                                    {CodeSetting::gline, 14},
                                                    {CodeSetting::aboveHu, 1},
                                                    {CodeSetting::nonLight, 0}}};

// Sets one setting of a row whose family is rowCode (kUnchanged: the family stays).
void applyCodeAssign(const CodeAssign& a, int32_t rowCode);
// The row a type name of (code, variation1) brings beyond the family's defaults;
// null for the names that bring none.
const CodeTypeRow* typeNameRow(int32_t code, int32_t variation1);
