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
    int32_t maxLength = 32000;  // never more than 32767, the reach of a selection
};
using TEHandle = TERec*;

// Types key: 8 (backspace) deletes the selection or the byte before it; 28/29 move
// the caret left/right (collapsing a selection to its start/end); 30/31 are
// ignored; every other byte replaces the selection. A key that would make the
// text longer than maxLength changes nothing.
void TEKey(unsigned char key, TEHandle te);
void TEGetSelect(TEHandle te, int16_t* selStart, int16_t* selEnd);
// Clamped to the text and put in order.
void TESetSelect(int32_t selStart, int32_t selEnd, TEHandle te);
// Replaces the text and puts the caret at its end. A text longer than maxLength is
// refused (false) and the field keeps its text.
bool TESetText(const void* text, int32_t length, TEHandle te);
void TEActivate(TEHandle te);
void TEDeactivate(TEHandle te);

}  // namespace platform
