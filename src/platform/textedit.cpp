#include "platform/textedit.h"

#include <algorithm>

namespace platform {
namespace {

constexpr unsigned char kBackspace = 8;
constexpr unsigned char kLeftArrow = 28;
constexpr unsigned char kRightArrow = 29;
constexpr unsigned char kUpArrow = 30;
constexpr unsigned char kDownArrow = 31;
constexpr int32_t kMostBytes = 32767;

int32_t limitOf(const TERec& te) { return std::clamp(te.maxLength, 0, kMostBytes); }

// A text set by hand may be longer than a selection reaches; the caret stops there.
void setCaret(TERec& te, size_t at) {
    te.selStart = te.selEnd = static_cast<int16_t>(std::min<size_t>(at, kMostBytes));
}

}  // namespace

void TEKey(unsigned char key, TEHandle te) {
    if (!te) return;
    // A selection made by hand may lie outside the text; bring it back first.
    TESetSelect(te->selStart, te->selEnd, te);
    const size_t start = static_cast<size_t>(te->selStart);
    const size_t end = static_cast<size_t>(te->selEnd);
    switch (key) {
        case kBackspace:
            if (start != end) {
                te->text.erase(start, end - start);
                setCaret(*te, start);
            } else if (start > 0) {
                te->text.erase(start - 1, 1);
                setCaret(*te, start - 1);
            }
            return;
        case kLeftArrow:
            setCaret(*te, start != end ? start : (start > 0 ? start - 1 : 0));
            return;
        case kRightArrow:
            setCaret(*te, start != end ? end : std::min(end + 1, te->text.size()));
            return;
        case kUpArrow:
        case kDownArrow:
            return;  // one-line fields
        default:
            break;
    }
    if (te->text.size() - (end - start) + 1 > static_cast<size_t>(limitOf(*te))) return;
    te->text.replace(start, end - start, 1, static_cast<char>(key));
    setCaret(*te, start + 1);
}

void TEGetSelect(TEHandle te, int16_t* selStart, int16_t* selEnd) {
    if (!te) return;
    if (selStart) *selStart = te->selStart;
    if (selEnd) *selEnd = te->selEnd;
}

void TESetSelect(int32_t selStart, int32_t selEnd, TEHandle te) {
    if (!te) return;
    const int32_t len = static_cast<int32_t>(std::min<size_t>(te->text.size(), kMostBytes));
    selStart = std::clamp(selStart, 0, len);
    selEnd = std::clamp(selEnd, 0, len);
    if (selStart > selEnd) std::swap(selStart, selEnd);
    te->selStart = static_cast<int16_t>(selStart);
    te->selEnd = static_cast<int16_t>(selEnd);
}

bool TESetText(const void* text, int32_t length, TEHandle te) {
    if (!te || length < 0 || (length > 0 && !text) || length > limitOf(*te)) return false;
    if (length == 0)
        te->text.clear();
    else
        te->text.assign(static_cast<const char*>(text), static_cast<size_t>(length));
    setCaret(*te, te->text.size());
    return true;
}

void TEActivate(TEHandle te) {
    if (te) te->active = true;
}

void TEDeactivate(TEHandle te) {
    if (te) te->active = false;
}

}  // namespace platform
