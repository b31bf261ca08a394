// The code-type menus: each item picks a family and a variant with the
// appearance settings that belong to it. The rows are data; choosing an item
// applies its row after the common resets and before the common tail.
#pragma once

#include <cstdint>
#include <span>

#include "symbology/codeTypeRows.h"

bool isCodeTypeMenu(int16_t menuId);

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
