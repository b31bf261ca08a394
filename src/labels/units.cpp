#include "labels/units.h"

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
    // Whole tenths of a point, then whole points, truncated toward zero.
    Rect16& r = gLabel.itRect;
    r.top = point(clampedWord(top, INT32_MIN, INT32_MAX) / 10);
    r.left = point(clampedWord(left, INT32_MIN, INT32_MAX) / 10);
    r.right = point(r.left + std::trunc(width * 0.1));
    r.bottom = point(r.top + std::trunc(height * 0.1));
    UnRotateRect(&r);
    setItemRectSelItems();
}
