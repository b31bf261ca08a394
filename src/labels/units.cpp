#include "labels/units.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

#include "symbology/panels.h"
#include "labels/itemFields.h"
#include "labels/labelDoc.h"
#include "labels/rotateRect.h"
#include "platform/numbers.h"

UnitState gUnits;

namespace {

// Tenths of a point to each unit, and each unit to tenths of a point.
constexpr double kToUnit[] = {0.001388888888888889, 0.003527777777777778, 0.035277777777777776, 0.1,
                              1.1277777777777778};
constexpr double kFromUnit[] = {720, 283.4645669291338, 28.346456692913385, 10, 0.8866995073891626};
constexpr int32_t kTopSlot = 9, kLeftSlot = 10, kWidthSlot = 11, kHeightSlot = 12;
constexpr double kTenthsPerPoint = 10;
constexpr int32_t kLeastSide = 1;    // points: an item of no size could not be seen or picked
constexpr int32_t kKeepOnLabel = 8;  // points of an item kept on the label, as dragging does

int32_t unit() {
    const int32_t u = gUnits.gMeasType;
    return u >= kMeasInch && u <= kMeasFine ? u : kMeasMillimetre;
}

void show(int32_t slot, double points) {
    char text[64];
    platform::formatFixed(text, sizeof text, convertToMeas(points) * kTenthsPerPoint);
    platform::TESetText(text, static_cast<int32_t>(std::string(text).size()),
                        &gPanels.TEBack3[slot]);
}

// The field as "%lf" reads it: leading blanks, then as much of a number as there
// is; 0 when there is none.
double fieldValue(int32_t slot) {
    const std::string& t = gPanels.TEBack3[slot].text;
    size_t from = t.find_first_not_of(" \t\r\n");
    if (from == std::string::npos) return 0;
    double v = 0;
    const char* first = t.data() + from;
    if (*first == '+') ++first;
    if (std::from_chars(first, t.data() + t.size(), v).ec != std::errc()) return 0;
    return std::isfinite(v) ? v : 0;
}

int16_t point(double v) { return static_cast<int16_t>(clampedWord(v, INT16_MIN, INT16_MAX)); }

// Tenths of a point to the nearest whole point: a length shown with six decimals
// reads back a hair short, which truncation would take a point off.
double wholePoints(double tenths) { return std::round(tenths / kTenthsPerPoint); }

// A typed length of no size: a line may lie flat, other items could not be
// seen or picked.
double sideLength(double typed, bool linesOnly) {
    return typed == 0 && !linesOnly ? kLeastSide : typed;
}

// Where a side starts so that part of it stays on the label, as a drag leaves
// it: an item typed beyond the edge could neither be seen nor scrolled to.
double keptOnLabel(double start, double length, uint32_t labelTenths) {
    const double label = std::floor(labelTenths / kTenthsPerPoint);
    if (label <= 0) return start;
    const double low = std::min(start, start + length), high = std::max(start, start + length);
    if (high < kKeepOnLabel) return start + (kKeepOnLabel - high);
    if (low > label - kKeepOnLabel) return start - (low - (label - kKeepOnLabel));
    return start;
}

bool onlyLinesSelected() {
    bool any = false;
    for (int32_t i = 0; i <= labelBack.lastItem; ++i) {
        const LabelItem* it = itemAt(i);
        if (!it || (labelLayoutOpen() && it->i16(item::selected) != 1)) continue;
        if (it->u16(item::kind) != kKindLine) return false;
        any = true;
    }
    return any;
}

}  // namespace

void resetUnits() { gUnits = UnitState{}; }

double convertToMeas(double tenths) { return tenths * kToUnit[unit()]; }
double convertToMeas2(double tenths) { return convertToMeas(tenths); }
double convertFromMeas(double value) { return value * kFromUnit[unit()]; }

void getitemdimensions() {
    Rect16 r = gLabel.itRect;
    RotateRect(&r);
    show(kTopSlot, r.top);
    show(kLeftSlot, r.left);
    show(kWidthSlot, r.right - r.left);
    show(kHeightSlot, r.bottom - r.top);
}

void setitemdimensions() {
    const double top = convertFromMeas(fieldValue(kTopSlot));
    const double left = convertFromMeas(fieldValue(kLeftSlot));
    const double width = convertFromMeas(fieldValue(kWidthSlot));
    const double height = convertFromMeas(fieldValue(kHeightSlot));
    const bool lines = onlyLinesSelected();
    const double w = sideLength(wholePoints(width), lines);
    const double h = sideLength(wholePoints(height), lines);
    const double l = keptOnLabel(wholePoints(left), w, labelBack.labelWidth);
    const double t = keptOnLabel(wholePoints(top), h, labelBack.labelHeight);
    Rect16& r = gLabel.itRect;
    r.top = point(t);
    r.left = point(l);
    r.right = point(l + w);
    r.bottom = point(t + h);
    UnRotateRect(&r);
    setItemRectSelItems();
}
