#include "app/desktop/glue.h"

#include "platform/toolbox/events.h"

using namespace toolbox;

ControlActionProc scrollProcPtr = nullptr;

namespace {
constexpr uint32_t kTickCountScale = 10;
}

void scrollProc(ControlHandle control, int16_t part) {
    if (!control) return;
    int32_t step = 0;
    switch (part) {
        case kUpArrow:
            step = -kArrowStep;
            break;
        case kDownArrow:
            step = kArrowStep;
            break;
        case kPageUp:
            step = -kPageStep;
            break;
        case kPageDown:
            step = kPageStep;
            break;
        default:
            return;
    }
    // SetControlValue keeps it within the bar's range.
    SetControlValue(control, GetControlValue(control) + step);
}

void AdjustText(platform::TEHandle field, int32_t line) {
    if (!field) return;
    const int32_t offset = field->viewRect.top - field->destRect.top;
    platform::TEScroll(0, offset - line * field->lineHeight, field);
}

uint32_t GetTickCount() { return TickCount() * kTickCountScale; }
