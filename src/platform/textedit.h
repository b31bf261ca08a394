// The data-entry fields: a text with a selection, no drawing.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

struct TERec {
    std::string text;  // Mac OS Roman bytes
    int16_t selStart = 0;
    int16_t selEnd = 0;
    bool active = false;
    int32_t maxLength = 32000;
};
using TEHandle = TERec*;

// Types key: a printable byte replaces the selection; 8 (backspace) deletes the
// selection or the byte before it; 28/29 move the caret left/right.
void TEKey(unsigned char key, TEHandle te);
void TEGetSelect(TEHandle te, int16_t* selStart, int16_t* selEnd);
void TESetSelect(int32_t selStart, int32_t selEnd, TEHandle te);
void TESetText(const void* text, int32_t length, TEHandle te);
void TEActivate(TEHandle te);
void TEDeactivate(TEHandle te);

}  // namespace platform
