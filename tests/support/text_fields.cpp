#include "support/text_fields.h"

#include <cstdint>

namespace testsupport {

void fillMarked(platform::TERec* field, const std::string& marked) {
    std::string text;
    int32_t selStart = -1, selEnd = -1;
    for (char c : marked) {
        if (c == '[')
            selStart = static_cast<int32_t>(text.size());
        else if (c == ']')
            selEnd = static_cast<int32_t>(text.size());
        else
            text += c;
    }
    platform::TESetText(text.data(), static_cast<int32_t>(text.size()), field);
    if (selStart >= 0 && selEnd >= selStart) platform::TESetSelect(selStart, selEnd, field);
}

}  // namespace testsupport
