#include "picture/textitems.h"

#include <cstdlib>
#include <cstring>
#include <ctime>

#include "labels/itemFields.h"
#include "labels/rotateRect.h"
#include "picture/colours.h"
#include "platform/quickdraw/textbox.h"
#include "symbology/state.h"

EscapeClock gEscapeClock;

namespace {

constexpr int32_t kOffbar = 20;         // the layout window's bar above the label
constexpr int16_t kInverseText = 0x80;  // in the face word: the colours swapped
constexpr size_t kFormatMost = 255;     // characters of a strftime format
constexpr size_t kStampMost = 79;       // characters of its result
constexpr size_t kByteDigits = 3;       // after "\d"

struct DateEscape {
    const char* text;  // after the backslash
    const char* format;
};
constexpr DateEscape kDateEscapes[] = {
    {"<Time>", "%H:%M:%S"},
    {"<Date-DD/MM/YY>", "%d/%m/%y"},
    {"<Date-MM/DD/YY>", "%m/%d/%y"},
};

struct ByteEscape {
    char letter;
    unsigned char byte;
};
constexpr ByteEscape kByteEscapes[] = {
    {'n', 10}, {'r', 13}, {'t', 9}, {'1', 134}, {'2', 129}, {'3', 128}, {'4', 133},
};

// The clock's local time, in the injected time zone when one is given.
std::tm localNow() {
    const time_t now =
        gEscapeClock.now >= 0 ? static_cast<time_t>(gEscapeClock.now) : std::time(nullptr);
    std::tm out{};
    if (gEscapeClock.timeZone.empty()) {
        ::localtime_r(&now, &out);
        return out;
    }
    const char* was = std::getenv("TZ");
    const std::string kept = was ? was : "";
    ::setenv("TZ", gEscapeClock.timeZone.c_str(), 1);
    ::tzset();
    ::localtime_r(&now, &out);
    if (was)
        ::setenv("TZ", kept.c_str(), 1);
    else
        ::unsetenv("TZ");
    ::tzset();
    return out;
}

std::string stamp(const std::string& format) {
    if (format.empty()) return {};
    const std::tm t = localNow();
    char out[256];
    const size_t n = std::strftime(out, sizeof out, format.c_str(), &t);
    return std::string(out, n < kStampMost ? n : kStampMost);
}

}  // namespace

// A backslash starts an escape:
//   \<Time>  \<Date-DD/MM/YY>  \<Date-MM/DD/YY>   the local time or date
//   \\format\                                    the local time by a strftime format
//   \dNNN                                        the byte NNN (decimal, as far as digits go;
//                                                0 adds nothing)
//   \n \r \t                                     line feed, return, tab
//   \1 \2 \3 \4                                  the bytes 134, 129, 128, 133
// before any other character the backslash is dropped and the character kept.
std::string SearchReplace(const char* source, size_t length) {
    std::string out;
    out.reserve(length);
    size_t i = 0;
    while (i < length) {
        const char c = source[i];
        if (c != '\\') {
            out += c;
            ++i;
            continue;
        }
        if (i + 1 >= length) break;  // a final backslash is dropped
        const char next = source[i + 1];
        const std::string_view rest(source + i + 1, length - i - 1);
        bool done = false;
        for (const DateEscape& e : kDateEscapes) {
            if (rest.substr(0, std::strlen(e.text)) == e.text) {
                out += stamp(e.format);
                i += 1 + std::strlen(e.text);
                done = true;
                break;
            }
        }
        if (done) continue;
        if (next == '\\') {
            const size_t close = rest.find('\\', 1);
            if (close == std::string_view::npos) {
                i += 2;  // no closing backslash: both are dropped
                continue;
            }
            const std::string format(rest.substr(1, close - 1).substr(0, kFormatMost));
            out += stamp(format);
            i += 1 + close + 1;
            continue;
        }
        if (next == 'd') {
            if (rest.size() < 1 + kByteDigits) break;  // the text ends inside the escape
            int value = 0;
            for (size_t k = 1; k <= kByteDigits && rest[k] >= '0' && rest[k] <= '9'; ++k)
                value = value * 10 + (rest[k] - '0');
            // A NUL would end the drawn text there: the byte 0 adds nothing.
            const auto byte = static_cast<char>(value & 0xFF);
            if (byte != 0) out += byte;
            i += 2 + kByteDigits;
            continue;
        }
        for (const ByteEscape& e : kByteEscapes) {
            if (next == e.letter) {
                out += static_cast<char>(e.byte);
                done = true;
                break;
            }
        }
        if (!done) out += next;  // the backslash is dropped
        i += 2;
    }
    return out;
}

void DrawRotatedText(int32_t i, int32_t printMode, double angle, const qd::Rect& rect) {
    const LabelItem* it = itemAt(i);
    if (!it) return;
    const bool inverse = (gSym.TEface & kInverseText) != 0;
    if (inverse)
        setBackColourInPict(gSym.cyan22, gSym.magenta22, gSym.yellow22, gSym.black22);
    else
        setColourInPict();
    int16_t font = 0;
    qd::GetFNum(gSym.fontBelow, &font);
    qd::TextFont(font);
    qd::TextFace(static_cast<int16_t>(gSym.TEface & ~kInverseText));
    qd::TextMode(qd::srcOr);
    const int32_t size =
        printMode == 0 ? gSym.customTeSize * labelDesc.zoom / 100 : gSym.customTeSize;
    qd::TextSize(static_cast<int16_t>(clampedInt(size, 1, INT16_MAX)));

    std::string text;
    if (gLabel.proMode == 0) {
        if (it->hasDataHandle) {
            const std::string& data = it->dataHandle;
            size_t n = data.size();
            while (n > 0 && data[n - 1] == 0) --n;
            text = SearchReplace(data.data(), n);
        }
    } else {
        // Serial, import and print-time items: the data the run has put in.
        text = gData.chMainCode;
    }

    qd::TextBoxOptions options;
    options.flush = gSym.TEjust == -1  ? qd::BoxFlush::right
                    : gSym.TEjust == 1 ? qd::BoxFlush::centre
                                       : qd::BoxFlush::start;
    options.angle = angle;
    const int32_t down = printMode == 0 ? kOffbar : 0;
    qd::Rect box{rect.top + down, rect.left, rect.bottom + down, rect.right};
    const int32_t w = box.width(), h = box.height();
    options.height = h;  // the turned boxes below keep the item's own height
    // The box is turned about its top-left corner, so that corner goes where the
    // turned text starts: the rectangle's bottom-left at 90, its bottom-right at
    // 180 and its top-right at 270.
    const qd::Rect turned = RotatedRect(rect);
    switch (gSym.orient) {
        case 180:
            box = {box.top + h, box.left + w, box.bottom + h, box.right + w};
            break;
        case 270:
            box = {turned.top + down, turned.right, turned.top + down + h, turned.right + w};
            break;
        case 90:
            box = {turned.bottom + down, turned.left, turned.top + down + h, turned.left + w};
            break;
        default:
            break;
    }
    if (!text.empty()) qd::TXNDrawCFStringTextBox(text, box, options);
}

void DrawTextItem(int32_t i, const qd::Rect& r, int32_t printMode) {
    // In 32 bits: a printed page may hold more dots than a word does.
    const qd::Rect fill = RotatedRect(r);
    qd::MoveTo(r.left, r.top);
    if ((gSym.TEface & kInverseText) != 0) {
        setColourInPict();
        qd::PaintRect(fill);
    } else if (gSym.transpar_ent == 0) {
        setBackColourInPict(gSym.cyan22, gSym.magenta22, gSym.yellow22, gSym.black22);
        qd::PaintRect(fill);
    }
    if (printMode != 0) DrawRotatedText(i, printMode, gSym.orient, r);
    qd::PenNormal();
}

void resetTextItems() { gEscapeClock = EscapeClock{}; }
