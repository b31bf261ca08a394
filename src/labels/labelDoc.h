// The open label: its sheet geometry and its items.
#pragma once

#include <cstdint>

struct LabelSheet {
    int32_t leftMargin = 0;
    int32_t topMargin = 0;
    int32_t across = 0;
    int32_t down = 0;
    int32_t spaceAcross = 0;
    int32_t spaceDown = 0;
    uint32_t labelWidth = 0;  // tenths of a point; not 0 while a label layout is open
    uint32_t labelHeight = 0;
    int16_t lastItem = 0;     // index of the last item
};

extern LabelSheet labelBack;

void resetLabelDocument();
