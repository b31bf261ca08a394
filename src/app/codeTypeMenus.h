// The code-type menus: each item picks a family and a variant with the
// appearance settings that belong to it. The rows are data; choosing an item
// applies its row after the common resets and before the common tail.
#pragma once

#include <cstdint>
#include <span>

bool isCodeTypeMenu(int16_t menuId);

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
    dataText,     // the data field gets kSampleData
    defaultsFor,  // the type's defaults run with the value as code type
    coupon,       // the coupon dialog opens instead of the tail
};
constexpr int32_t kFontDefault = 0, kFontOcrA = 1;
inline constexpr const char* kOcrAFont = "OCR-ANormal";
inline constexpr const char* kSampleData = "0-521";
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

// The rows of a code-type menu, item 1 first; empty for any other menu.
std::span<const CodeTypeRow> codeTypeRows(int16_t menuId);

// What choosing an item did, for the window side.
enum class CodeChoice { applied, coupon, notCodeType, refused };
// The settings part of a code-type choice: the common resets, the row, and the
// tail (bar font, the type's texts, the selected items) unless the item opens
// the coupon dialog, which the caller opens. Closing the preview first is the
// caller's. Selected barcodes of a label whose data the new type cannot encode
// refuse it, told once: they, the settings and the fields stay as they were.
CodeChoice chooseCodeType(int16_t menuId, int16_t item);
