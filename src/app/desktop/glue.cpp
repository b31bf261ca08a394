#include "app/desktop/glue.h"

#include "platform/toolbox/events.h"
#include "platform/toolbox/numbered.h"

using namespace toolbox;

ControlActionProc scrollProcPtr = nullptr;

namespace {
constexpr uint32_t kTickCountScale = 10;
}

int32_t scrollStep(int16_t part) {
    switch (part) {
        case kUpArrow:
            return -kArrowStep;
        case kDownArrow:
            return kArrowStep;
        case kPageUp:
            return -kPageStep;
        case kPageDown:
            return kPageStep;
        default:
            return 0;
    }
}

void scrollProc(ControlHandle control, int16_t part) {
    const int32_t step = scrollStep(part);
    if (!control || step == 0) return;
    // SetControlValue keeps it within the bar's range.
    SetControlValue(control, GetControlValue(control) + step);
}

void AdjustText(platform::TEHandle field, int32_t line) {
    if (!field) return;
    const int32_t offset = field->viewRect.top - field->destRect.top;
    platform::TEScroll(0, offset - line * field->lineHeight, field);
}

int32_t GetControlItem(ControlHandle control) {
    if (!control) return 0;
    for (int32_t i = kFirstNumberedItem; i <= kLastNumberedItem; ++i)
        if (numbered().CWin[i] == control) return i;
    return 0;
}

platform::TEHandle GetControlTE(ControlHandle control) {
    const int32_t i = GetControlItem(control);
    return i ? numbered().TEWin[i] : nullptr;
}

int32_t GetSelectedTERec(qd::Point point) {
    for (int32_t i = kFirstNumberedItem; i <= kLastNumberedItem; ++i) {
        const platform::TEHandle field = numbered().TEWin[i];
        if (!field) continue;
        const qd::Rect& r = field->viewRect;
        if (point.v >= r.top && point.v < r.bottom && point.h >= r.left && point.h < r.right)
            return i;
    }
    return 0;
}

qd::Rect GetTERect(platform::TEHandle field) { return field ? field->viewRect : qd::Rect{}; }

// The bar counts lines, as its arrows step them.
void SetScrollPos(platform::TEHandle field, ControlHandle control) {
    if (!field || !control || field->lineHeight <= 0) return;
    SetControlValue(control, (field->viewRect.top - field->destRect.top) / field->lineHeight);
}

uint32_t GetTickCount() { return TickCount() * kTickCountScale; }
