#include "app/sheetSetup.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "labels/runs/itemOps.h"
#include "labels/units.h"
#include "platform/numbers.h"

SheetSetupWindowState gSheetWin;

namespace {

constexpr uint16_t kMsgNoLabelWidth = 35, kMsgNoLabelHeight = 36, kMsgNoneAcross = 37,
                   kMsgNoneDown = 38;

// A number as the fields read it: leading blanks, then a plain decimal number;
// nothing else may follow but a point still waiting for its decimals. Empty
// text reads as 0 (a field being retyped).
bool readNumber(const std::string& text, double* value) {
    const size_t from = text.find_first_not_of(' ');
    *value = 0;
    if (from == std::string::npos) return true;
    const char* first = text.data() + from;
    const char* last = text.data() + text.size();
    if (*first == '+') ++first;
    if (first == last) return true;
    if (*first == '-') return false;
    const auto [end, ec] = std::from_chars(first, last, *value, std::chars_format::fixed);
    if (ec != std::errc()) return false;
    // "12." while its decimals are still to come; "1.5." is no number.
    const bool pending = end + 1 == last && *end == '.' && std::find(first, end, '.') == end;
    if (end != last && !pending) return false;
    return std::isfinite(*value);
}

uint32_t countOf(uint32_t word) { return word % kGutterModulus; }
uint32_t gutterOf(uint32_t word) { return word / kGutterModulus; }
uint32_t wordOf(uint32_t count, uint32_t gutter) { return count + kGutterModulus * gutter; }

// Tenths of a point as the user's unit shows them, with six decimals.
std::string lengthText(double tenths) {
    char text[64];
    platform::formatFixed(text, sizeof text, convertToMeas(tenths));
    return text;
}

}  // namespace

const SheetField& sheetField(int32_t number) {
    for (const SheetField& f : kSheetFields)
        if (f.number == number) return f;
    return kSheetFields[0];
}

void resetSheetSetupWindow() { gSheetWin = SheetSetupWindowState{}; }

void beginSheetSetup() {
    labelBack2 = sheetToCopy(labelBack);
    if (labelBack2.across == 0) labelBack2.across = 1;
    if (labelBack2.down == 0) labelBack2.down = 1;
}

std::string sheetFieldText(int32_t number, const LabelSheet& copy) {
    const SheetField& f = sheetField(number);
    switch (f.kind) {
        case SheetFieldKind::length:
            return lengthText(double(copy.*f.word) / kSheetCopyScale);
        case SheetFieldKind::countAcross:
            return std::to_string(countOf(copy.across));
        case SheetFieldKind::countDown:
            return std::to_string(countOf(copy.down));
        case SheetFieldKind::gutterColumn:
            return std::to_string(gutterOf(copy.across));
        case SheetFieldKind::gutterWidth:
            return lengthText(gutterOf(copy.down));
    }
    return {};
}

bool storeSheetField(int32_t number, const std::string& text, LabelSheet* copy) {
    const SheetField& f = sheetField(number);
    double v = 0;
    if (!readNumber(text, &v)) return false;
    const bool length = f.kind == SheetFieldKind::length || f.kind == SheetFieldKind::gutterWidth;
    // Lengths to the copy's grain, rounded: exact tenths typed in cm or inch come
    // out a hair short, and a shown value typed again must store what it showed.
    if (length) v = std::round(convertFromMeas(v) * kSheetCopyScale);
    // Whole numbers and whole tenths of a point: the fraction is dropped.
    const double whole = std::trunc(length ? v / kSheetCopyScale : v);
    switch (f.kind) {
        case SheetFieldKind::length:
            if (v > kSheetLengthTenthsMost * kSheetCopyScale) return false;
            copy->*f.word = uint32_t(v);
            return true;
        case SheetFieldKind::countAcross:
            if (whole > kSheetCountMost) return false;
            copy->across = wordOf(uint32_t(whole), gutterOf(copy->across));
            return true;
        case SheetFieldKind::countDown:
            if (whole > kSheetCountMost) return false;
            copy->down = wordOf(uint32_t(whole), gutterOf(copy->down));
            return true;
        case SheetFieldKind::gutterColumn:
            if (whole > kSheetGutterMost) return false;
            copy->across = wordOf(countOf(copy->across), uint32_t(whole));
            return true;
        case SheetFieldKind::gutterWidth:
            if (whole > kSheetGutterMost) return false;
            copy->down = wordOf(countOf(copy->down), uint32_t(whole));
            return true;
    }
    return false;
}

uint16_t sheetSetupFault(const LabelSheet& copy) {
    if (copy.labelWidth == 0) return kMsgNoLabelWidth;
    if (copy.labelHeight == 0) return kMsgNoLabelHeight;
    // A gutter alone gives no label column or row: the count decides.
    if (countOf(copy.across) == 0) return kMsgNoneAcross;
    if (countOf(copy.down) == 0) return kMsgNoneDown;
    return 0;
}

uint16_t applySheetSetup(std::string* detail) {
    if (const uint16_t fault = sheetSetupFault(labelBack2); fault != 0) return fault;
    // Saving writes the sheet as the document stores it, which opening checks:
    // a sheet that could not be opened again is refused here. A sheet of single
    // symbols is held to the same: its labels must fit the page it is printed on.
    const LabelSheet stored = sheetFromCopy(labelBack2);
    std::string why;
    if (const uint16_t fault = sheetFaultForSetup(stored, &why); fault != 0) {
        if (detail) *detail = why;
        return fault;
    }
    // The open layout's new sheet is undone on its own.
    UndoPoint before;
    labelBack.sheetWidth = labelBack2.sheetWidth / kSheetCopyScale;
    labelBack.sheetHeight = labelBack2.sheetHeight / kSheetCopyScale;
    const int16_t lastItem = labelBack.lastItem;
    if (gSheetWin.printsheet == 1) {
        labelBack3 = labelBack2;
        labelBack3.lastItem = lastItem;
    } else {
        labelBack = sheetFromCopy(labelBack2);
        labelBack.lastItem = lastItem;
    }
    before.keepIfChanged();
    return 0;
}
