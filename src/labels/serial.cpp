#include "labels/serial.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string_view>

#include "symbology/panels.h"
#include "labels/itemFields.h"
#include "labels/labelDoc.h"
#include "labels/production.h"
#include "symbology/Filters.h"
#include "symbology/messages.h"
#include "symbology/state.h"

namespace {

constexpr uint16_t kMsgNoLength = 21;
constexpr uint16_t kMsgLengthZero = 22;  // also: no digit left beside the prefix and suffix
constexpr uint16_t kMsgNoStart = 23;
constexpr uint16_t kMsgNoEnd = 24;
constexpr uint16_t kMsgNoIncrement = 25;  // also: an increment that never moves the count
constexpr uint16_t kMsgSerialWidth = 1300;
constexpr uint16_t kMsgSerialDigit = 1301;
constexpr uint16_t kMsgSerialTooLong = 1302;
// The item keeps the value, then a VT and the prefix, then a VT and the suffix.
constexpr int32_t kAffixMarks = 2;

constexpr int32_t kMaxWidth = static_cast<int32_t>(kRunTextSize) - 1;
constexpr int kNoDigit = -1;

struct BaseInfo {
    int radix;
    char first;  // the character of digit value 0 (decimal and base 94)
};
constexpr BaseInfo kBases[] = {{10, '0'}, {94, '!'}, {16, '0'}};

int digitValue(char c, int32_t base) {
    const unsigned char u = static_cast<unsigned char>(c);
    switch (base) {
        case kSerialDecimal:
            return u >= '0' && u <= '9' ? u - '0' : kNoDigit;
        case kSerialBase94:
            return u >= '!' && u <= '~' ? u - '!' : kNoDigit;
        default:
            if (u >= '0' && u <= '9') return u - '0';
            if (u >= 'A' && u <= 'F') return u - 'A' + 10;
            if (u >= 'a' && u <= 'f') return u - 'a' + 10;
            return kNoDigit;
    }
}

char digitChar(int v, int32_t base) {
    if (base == kSerialHex) return static_cast<char>(v < 10 ? '0' + v : 'A' + v - 10);
    return static_cast<char>(kBases[base].first + v);
}

// The digit values of text over indices 0 to n, the text right-aligned and
// padded with '0' as the run fits its values. False (message shown) when the
// text is too long or holds a character that is no digit.
bool convertToArray(const char* text, int32_t base, int32_t n, int* digits) {
    const size_t len = strnlen(text, kRunTextSize);
    const size_t width = static_cast<size_t>(n) + 1;
    if (len > width) {
        Message(kMsgSerialTooLong);
        return false;
    }
    const size_t pad = width - len;
    for (size_t i = 0; i < width; ++i) {
        const char c = i < pad ? '0' : text[i - pad];
        digits[i] = digitValue(c, base);
        if (digits[i] == kNoDigit) {
            Message(kMsgSerialDigit);
            return false;
        }
    }
    return true;
}

void convertFromArray(char* text, int32_t base, int32_t n, const int* digits) {
    for (int32_t i = 0; i <= n; ++i) text[i] = digitChar(digits[i], base);
    text[n + 1] = 0;
}

// Adds b into a from the last position; true on a carry out of position 0.
bool addArray(int* a, const int* b, int32_t base, int32_t n) {
    const int radix = kBases[base].radix;
    int carry = 0;
    for (int32_t i = n; i >= 0; --i) {
        a[i] += b[i] + carry;
        carry = a[i] > radix - 1;
        if (carry) a[i] -= radix;
    }
    return carry != 0;
}

// True when a is greater than b; the first differing position decides.
bool compareArray(const int* a, const int* b, int32_t n) {
    for (int32_t i = 0; i <= n; ++i)
        if (a[i] != b[i]) return a[i] > b[i];
    return false;
}

// The serial panel's fields, by their place in the panel.
enum SerialField {
    kStartField = 0,
    kEndField = 1,
    kIncrementField = 2,
    kLengthField = 3,
    kRepeatField = 8
};
constexpr int32_t kFieldRead = 254;  // characters of a field that are read
constexpr char kAddOnMark = '|';

bool decimalDigits(const char* text) {
    for (const char* c = text; *c; ++c)
        if (*c < '0' || *c > '9') return false;
    return true;
}

// A decimal text as a number of its own length: the digits after leading zeros.
std::string_view significant(std::string_view digits) {
    const size_t first = digits.find_first_not_of('0');
    return first == std::string_view::npos ? std::string_view() : digits.substr(first);
}

// An increment of zeros only, or none, leaves every label with the same number.
bool incrementStands(std::string_view increment) { return significant(increment).empty(); }

bool decimalGreater(std::string_view a, std::string_view b) {
    a = significant(a);
    b = significant(b);
    return a.size() != b.size() ? a.size() > b.size() : a > b;
}

int decimalAt(std::string_view digits, size_t fromRight) {
    if (fromRight >= digits.size()) return 0;
    const char c = digits[digits.size() - 1 - fromRight];
    return c >= '0' && c <= '9' ? c - '0' : 0;
}

std::string decimalSum(std::string_view a, std::string_view b) {
    std::string sum;
    int carry = 0;
    for (size_t i = 0; i < std::max(a.size(), b.size()) || carry; ++i) {
        const int d = carry + decimalAt(a, i) + decimalAt(b, i);
        sum.insert(sum.begin(), static_cast<char>('0' + d % 10));
        carry = d / 10;
    }
    return sum;
}

// A panel field's text through GetAnyField; false when the field is empty.
bool readField(SerialField field, char* destination) {
    const std::string& text = gPanels.TEBack1[field].text;
    if (text.empty()) return false;
    GetAnyField(text.c_str(), static_cast<int32_t>(std::min<size_t>(text.size(), kFieldRead)),
                destination);
    return true;
}

// A whole number typed into a field; blanks and other characters after it are
// ignored, as the fields' own filters allow only digits. Kept clear of overflow.
int64_t fieldNumber(const char* text) {
    constexpr int64_t kLargest = 1000000000;
    return std::clamp<int64_t>(std::strtoll(text, nullptr, 10), -kLargest, kLargest);
}

// The code types whose add-on is drawn only with 2 or 5 digits: EAN-13, ISBN and
// ISMN, ISSN, UPC-A, UPC-E and MotherCare.
constexpr int32_t kRetailAddOnTypes[] = {0, 1, 2, 10, 11, 25};
constexpr size_t kShortAddOn = 2, kLongAddOn = 5;

// The add-on counter form: the counter, the end and the increment are decimal
// numbers, and the increment moves the count. The counter keeps its width, as a
// serial number does, so every symbol of the run carries an add-on of one size.
bool addOnFormCountable(const char* start, const char* end, const char* increment) {
    const std::string_view counter = std::strchr(start, kAddOnMark) + 1;
    if (!decimalDigits(counter.data()) || !decimalDigits(end) || !decimalDigits(increment)) {
        Message(kMsgSerialDigit);
        return false;
    }
    if (incrementStands(increment)) {
        Message(kMsgNoIncrement);
        return false;
    }
    const bool retail = std::find(std::begin(kRetailAddOnTypes), std::end(kRetailAddOnTypes),
                                  gSym.code) != std::end(kRetailAddOnTypes);
    if (retail && counter.size() != kShortAddOn && counter.size() != kLongAddOn) {
        MessageText(
            "This code type's add-on has 2 or 5 digits, so the add-on counter must have 2 or 5 "
            "digits. Correct the counter after the \"|\" and try again.");
        return false;
    }
    if (significant(end).size() > counter.size()) {
        MessageText(
            "The end value has more digits than the add-on counter, which keeps its width. Give "
            "the counter more digits (leading zeros) or lower the end value, and try again.");
        return false;
    }
    return true;
}

// The three values in their bases, at the serial width; the increment moves the count.
bool serialCountable(const char* start, const char* end, const char* increment, int32_t last) {
    int digits[kMaxWidth];
    const int32_t base = std::clamp<int32_t>(gLabel.alpha, kSerialDecimal, kSerialHex);
    if (!convertToArray(start, base, last, digits) || !convertToArray(end, base, last, digits) ||
        !convertToArray(increment, kSerialDecimal, last, digits))
        return false;
    if (incrementStands(increment)) {
        Message(kMsgNoIncrement);
        return false;
    }
    return true;
}

}  // namespace

bool labelSerialsMove() {
    // A run handed to the sheet counts by the serial pane's increment, checked
    // when the run starts.
    if (gProd.gcite != 0) return true;
    for (int32_t i = 0; i <= labelBack.lastItem && i < kMaxLabelItems; ++i) {
        const LabelItem* it = gLabel.labelParts[static_cast<size_t>(i)].get();
        if (!it || getProMode(i) != kProModeSerial || it->text(item::serPos).empty()) continue;
        const uint16_t kind = it->u16(item::kind);
        if (kind != kKindText && kind != kKindBarcode) continue;
        if (incrementStands(it->text(item::incAmount))) {
            Message(kMsgNoIncrement);
            return false;
        }
    }
    return true;
}

void GetAnyField(const char* source, int32_t count, char* destination) {
    const bool keepDashes = keepsSeparators(gSym.code);
    const int32_t n = std::clamp<int32_t>(count, 0, static_cast<int32_t>(kRunTextSize) - 1);
    int32_t kept = 0;
    for (int32_t i = 0; i < n && source[i] != 0; ++i)
        if (keepDashes || source[i] != '-') destination[kept++] = source[i];
    destination[kept] = 0;
    gProd.globlen = kept;
}

void SetToLength(char* text, int32_t length, int32_t width) {
    width = std::clamp(width, 0, kMaxWidth);
    length = std::clamp(length, 0, static_cast<int32_t>(strnlen(text, kRunTextSize - 1)));
    if (length < width) {
        const int32_t pad = width - length;
        std::memmove(text + pad, text, static_cast<size_t>(length));
        std::memset(text, '0', static_cast<size_t>(pad));
    }
    text[width] = 0;
}

int32_t GetSerialText(int32_t* length, char* start, char* end, char* increment, char* current) {
    char addOn[kAddCodeSize];
    copyBounded(addOn, gData.chAddCode);
    start[0] = 0;
    const auto affixes =
        static_cast<int32_t>(std::strlen(gData.chPrefix) + std::strlen(gData.chSuffix));
    char text[kRunTextSize];
    if (!readField(kLengthField, text)) {
        Message(kMsgNoLength);
        return 1;
    }
    const int64_t typed = fieldNumber(text);
    if (typed <= 0) {
        Message(kMsgLengthZero);
        return 1;
    }
    *length = static_cast<int32_t>(std::min<int64_t>(typed, kMaxWidth + affixes));
    const int32_t width = *length - affixes;

    if (!readField(kStartField, start)) {
        Message(kMsgNoStart);
        return 1;
    }
    Gettw(start, gProd.globlen, addOn, static_cast<int32_t>(std::strlen(addOn)));
    // The add-on counter form counts the add-on alone; any other form needs a
    // digit beside the prefix and suffix, or it could never advance.
    const bool addOnForm = std::strchr(start, kAddOnMark) != nullptr;
    if (!addOnForm && width <= 0) {
        Message(kMsgLengthZero);
        return 1;
    }
    if (!addOnForm && typed - affixes > kMaxWidth) {
        Message(kMsgSerialWidth);
        return 1;
    }
    // What the item cannot keep whole would be cut off its end, and the count
    // would then eat into the affixes label by label.
    if (!addOnForm && *length + kAffixMarks > static_cast<int32_t>(kLabelItemTextSize) - 1) {
        Message(kMsgSerialItemTooLong);
        return 1;
    }
    if (!addOnForm) SetToLength(start, gProd.globlen, width);
    struct {
        SerialField field;
        char* value;
        uint16_t missing;
    } const rest[] = {{kEndField, end, kMsgNoEnd}, {kIncrementField, increment, kMsgNoIncrement}};
    for (const auto& r : rest) {
        if (!readField(r.field, r.value)) {
            Message(r.missing);
            return 1;
        }
        if (!addOnForm) SetToLength(r.value, gProd.globlen, width);
    }
    if (addOnForm ? !addOnFormCountable(start, end, increment)
                  : !serialCountable(start, end, increment, width - 1))
        return 1;

    if (readField(kRepeatField, text)) {
        gLabel.numRepeat = static_cast<int32_t>(fieldNumber(text));
        if (gLabel.numRepeat > 1) gLabel.tempNumRepeat = gLabel.numRepeat;
    }
    copyBounded(current, kRunTextSize, start);
    return 0;
}

std::string nextAddOnCounter(const std::string& counter, const char* increment, const char* end) {
    std::string next(significant(decimalSum(counter, increment)));
    // A counter that outgrows its width ends the run, as a serial number's overflow does.
    if (next.size() > counter.size() || decimalGreater(next, end)) return {};
    next.insert(0, counter.size() - next.size(), '0');
    return next;
}

std::string shownSerialText(std::string_view value) {
    return gData.chPrefix + std::string(value.substr(0, value.find(kVT))) + gData.chSuffix;
}

bool serialValueBare(int32_t i) {
    constexpr int32_t kRunSerial = 1;
    const auto kind = static_cast<uint16_t>(gLabel.iteTyp);
    if (kind != kKindText && kind != kKindBarcode) return false;
    if (labelLayoutOpen()) return gLabel.proMode == kProModeSerial && !gLabel.serPos.empty();
    // The run's first position is the serial pane's symbol; the sheet writer
    // stores the counted value bare for the positions after it.
    constexpr int32_t kFirstPosition = 1;
    return i == 0 && gProd.gemode == kRunSerial && gProd.gaddn == 0 && gProd.gcite > kFirstPosition;
}

SerialStep SerialNo(const char*, const char* end, const char* increment, int32_t last, int32_t base,
                    char* current) {
    if (current[0] == 0) return SerialStep::ended;  // the run has passed its end
    if (last < 0 || last >= kMaxWidth) {
        Message(kMsgSerialWidth);
        current[0] = 0;
        return SerialStep::refused;
    }
    if (base < kSerialDecimal || base > kSerialHex) base = kSerialDecimal;
    int cur[kMaxWidth], fin[kMaxWidth], inc[kMaxWidth];
    if (!convertToArray(current, base, last, cur) || !convertToArray(end, base, last, fin) ||
        !convertToArray(increment, kSerialDecimal, last, inc)) {
        current[0] = 0;
        return SerialStep::refused;
    }
    const bool overflow = addArray(cur, inc, base, last);
    if (overflow || compareArray(cur, fin, last)) {
        current[0] = 0;
        return SerialStep::ended;
    }
    convertFromArray(current, base, last, cur);
    return SerialStep::next;
}
