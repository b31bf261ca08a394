// First cut; the full field model replaces it.
#include "platform/textedit.h"

namespace platform {
void TESetText(const void* text, int32_t length, TEHandle te) {
    te->text.assign(static_cast<const char*>(text), static_cast<size_t>(length));
    te->selStart = te->selEnd = static_cast<int16_t>(te->text.size());
}
}  // namespace platform
