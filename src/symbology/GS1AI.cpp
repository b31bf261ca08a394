#include "symbology/GS1AI.h"

#include <cstdio>
#include <cstring>

#include "symbology/messages.h"
#include "symbology/state.h"

namespace {

// One row of the program's AI table. `digits` is the number of digits of every
// AI the row stands for: more than its prefix for a family such as 310n, whose
// last digit is part of the AI. `length` counts from the first digit of the AI to
// the end of the element, the AI's closing parenthesis included: exact for a
// fixed-length element, the maximum for a variable one.
struct AIEntry {
    const char* prefix;
    uint8_t digits;
    uint8_t length;
    bool variable;
    bool checkDigit;  // 00, 01, 02: GS1-128 completes a missing check digit
};

// The first row whose prefix matches wins; kept in the program's own order,
// which differs in places from today's GS1 tables.
constexpr AIEntry kAITable[] = {
    {"00", 2, 21, false, true},    {"01", 2, 17, false, true},
    {"02", 2, 17, false, true},    {"10", 2, 23, true, false},
    {"11", 2, 9, false, false},    {"13", 2, 9, false, false},
    {"15", 2, 9, false, false},    {"17", 2, 9, false, false},
    {"20", 2, 5, false, false},    {"21", 2, 23, true, false},
    {"22", 2, 32, true, false},    {"23", 2, 22, true, false},
    {"240", 3, 34, true, false},   {"241", 3, 34, true, false},
    {"242", 3, 10, true, false},   {"250", 3, 34, true, false},
    {"251", 3, 34, true, false},   {"253", 3, 34, true, false},
    {"254", 3, 24, true, false},   {"30", 2, 11, true, false},
    {"37", 2, 11, true, false},    {"31", 4, 11, false, false},
    {"32", 4, 11, false, false},   {"33", 4, 11, false, false},
    {"34", 4, 11, false, false},   {"35", 4, 11, false, false},
    {"36", 4, 11, false, false},   {"390", 4, 20, true, false},
    {"391", 4, 23, true, false},   {"392", 4, 20, true, false},
    {"393", 4, 20, true, false},   {"400", 3, 34, true, false},
    {"401", 3, 34, true, false},   {"402", 3, 21, false, false},
    {"403", 3, 34, true, false},   {"410", 3, 17, false, false},
    {"411", 3, 17, false, false},  {"412", 3, 17, false, false},
    {"413", 3, 17, false, false},  {"414", 3, 17, false, false},
    {"415", 3, 17, false, false},  {"420", 3, 13, true, false},
    {"421", 3, 16, true, false},   {"422", 3, 7, false, false},
    {"423", 3, 19, true, false},   {"424", 3, 7, false, false},
    {"425", 3, 7, false, false},   {"426", 3, 7, false, false},
    {"7001", 4, 18, false, false}, {"7002", 4, 35, true, false},
    {"703", 4, 35, true, false},   {"7003", 4, 15, false, false},
    {"8001", 4, 19, false, false}, {"8002", 4, 25, true, false},
    {"8003", 4, 35, true, false},  {"8004", 4, 35, true, false},
    {"8005", 4, 11, false, false}, {"8006", 4, 23, false, false},
    {"8007", 4, 35, true, false},  {"8008", 4, 17, true, false},
    {"8018", 4, 23, false, false}, {"8020", 4, 30, true, false},
    {"8100", 4, 11, false, false}, {"8101", 4, 15, false, false},
    {"8102", 4, 7, false, false},  {"8110", 4, 75, true, false},
    {"8111", 4, 9, false, false},  {"8112", 4, 75, true, false},
    {"9", 2, 36, true, false},  // any other AI beginning with 9
};
// Anything else passes one character at a time.
constexpr AIEntry kNoAI = {"", 0, 1, false, false};

// The first two digits of the AIs whose element length every reader knows from
// GS1's table of predefined lengths. Any other element, fixed-length in the
// table above or not, needs a separator when more data follows.
constexpr char kPredefinedLength[][3] = {"00", "01", "02", "03", "04", "11", "12", "13",
                                         "14", "15", "16", "17", "18", "19", "20", "23",
                                         "31", "32", "33", "34", "35", "36", "41"};
constexpr int32_t kPredefinedDigits = 2;

bool predefinedLength(const char* at, int32_t available) {
    if (available < kPredefinedDigits) return false;
    for (const char* ai : kPredefinedLength)
        if (std::memcmp(at, ai, kPredefinedDigits) == 0) return true;
    return false;
}

const AIEntry& lookUp(const char* at, int32_t available) {
    for (const AIEntry& e : kAITable) {
        int32_t n = static_cast<int32_t>(std::strlen(e.prefix));
        if (n <= available && std::memcmp(at, e.prefix, static_cast<size_t>(n)) == 0) return e;
    }
    return kNoAI;
}

// A fixed element of AI 00, 01 or 02 at pos whose last digit is missing gets
// its check digit, inserted into the data; only when the digits before it are
// all there, so that no check digit is made up from other characters.
void completeCheckDigit(int32_t pos, int32_t length, int32_t& n) {
    char* data = gData.chMainCode;
    const int32_t last = pos + length - 1;
    if (last < n && data[last] != '(') return;  // present
    const int32_t body = pos + 3;               // after the two AI digits and ')'
    const int32_t bodyDigits = length - 4;
    if (last > n || data[pos + 2] != ')' || !allDigits(data + body, bodyDigits)) return;
    if (n + 1 >= static_cast<int32_t>(kMainCodeSize)) return;
    const char check = calcheck2(data + body, length - 3);
    std::memmove(data + last + 1, data + last, static_cast<size_t>(n - last) + 1);
    data[last] = check;
    ++n;
    gData.len1 = n;
}

// The printed copies show the data behind the start character and FNC1, with
// the completed check digit and the parentheses.
void copyPrinted() {
    const char* from = gData.chMainCode + 2;
    copyBounded(gData.chMainCode2, from);
    gData.len11 = static_cast<int32_t>(std::strlen(gData.chMainCode2));
    copyBounded(gData.chMainCode3, from);
    copyBounded(gData.chMainCode4, from);
}

}  // namespace

char calcheck2(const char* digits, int32_t n) {
    int32_t sum = 0;
    int32_t weight = 3;
    for (int32_t i = n - 2; i >= 0; --i) {
        sum += (digits[i] - '0') * weight;
        weight = weight == 3 ? 1 : 3;
    }
    return static_cast<char>('0' + (10 - sum % 10) % 10);
}

bool aiFilter(uint32_t start, uint8_t separator, uint8_t typed) {
    char* data = gData.chMainCode;
    int32_t n = static_cast<int32_t>(strnlen(data, kMainCodeSize - 1));
    if (gData.len1 >= 0 && gData.len1 < n) n = gData.len1;
    // The output is at least as long as the input.
    if (n > kAIBufferSize - 1) return false;

    char out[kAIBufferSize];
    int32_t o = 0;
    auto put = [&](char c) {
        if (o >= kAIBufferSize - 1) return false;
        out[o++] = c;
        return true;
    };
    int32_t pos = static_cast<int32_t>(start) < n ? static_cast<int32_t>(start) : n;
    for (int32_t i = 0; i < pos; ++i) put(data[i]);

    const bool gs1128 = gSym.code == 7;
    while (pos < n) {
        if (data[pos] == '(') {
            if (!put('(')) return false;
            ++pos;
            continue;
        }
        const AIEntry& ai = lookUp(data + pos, n - pos);
        const bool needsSeparator =
            &ai != &kNoAI && (ai.variable || !predefinedLength(data + pos, n - pos));
        int32_t take;
        if (ai.variable) {
            take = 0;
            // A separator typed in the data ends the value as a '(' does; the AI
            // behind it is then read as its own element.
            while (pos + take < n && data[pos + take] != '(' &&
                   static_cast<uint8_t>(data[pos + take]) != typed && take < ai.length)
                ++take;
        } else {
            if (ai.checkDigit && gs1128) {
                completeCheckDigit(pos, ai.length, n);
                copyPrinted();
            }
            // An AI behind a typed separator has no ')' to count.
            const bool bare = &ai != &kNoAI && pos > static_cast<int32_t>(start) &&
                              static_cast<uint8_t>(data[pos - 1]) == typed;
            const int32_t length = bare ? ai.length - 1 : ai.length;
            take = length < n - pos ? length : n - pos;
        }
        for (int32_t i = 0; i < take; ++i)
            if (!put(data[pos + i])) return false;
        pos += take;
        if (needsSeparator && pos + 1 < n && data[pos] == '(' && !put(static_cast<char>(separator)))
            return false;
    }

    int32_t len = 0;
    for (int32_t i = 0; i < o; ++i)
        if (out[i] != '(' && out[i] != ')') data[len++] = out[i];
    data[len] = 0;
    gData.len1 = len;
    return true;
}

int32_t EAN_APP_ID_FILTER(uint32_t start, uint8_t separator) {
    if (aiFilter(start, separator, separator)) return 0;
    Message(kMsgGS1TooLong);
    gMsg.inerror = 1;
    return 1;
}

namespace {

constexpr int32_t kLongestAI = 4;
constexpr int32_t kFirstDateAI = 11;  // 11 to 17 hold a date YYMMDD
constexpr int32_t kLastDateAI = 17;

std::string format(const char* pattern, const std::string& ai, long a = 0, long b = 0) {
    char text[300];
    std::snprintf(text, sizeof text, pattern, ai.c_str(), a, b);
    return text;
}

// The date of AIs 11 to 17: YYMMDD, day 00 meaning the end of the month.
std::string checkDate(const std::string& ai, const char* v) {
    const int month = (v[2] - '0') * 10 + (v[3] - '0');
    const int day = (v[4] - '0') * 10 + (v[5] - '0');
    if (month < 1 || month > 12)
        return format("The date of AI (%s) has the month %02ld; months are 01 to 12.", ai, month);
    if (day > 31)
        return format("The date of AI (%s) has the day %02ld; days are 00 to 31.", ai, day);
    return {};
}

// One element of a chain typed in parentheses: its AI, the AI's row of the table
// (kNoAI when none matches), and its value up to the next '(', separator or the
// end. An element may also begin at a separator typed inside the data, its AI
// then standing bare in front of its value.
struct Element {
    std::string ai;
    const AIEntry* entry = &kNoAI;
    const char* value = nullptr;
    int32_t length = 0;
    int32_t end = 0;
    bool bare = false;             // begins at a typed separator
    bool beforeSeparator = false;  // a typed separator ends the value
};

enum class ChainBreak { None, Outside, BadAI, StraySeparator };

// The separator a caller's data takes for FNC1 ("\1", "#"), at i; none when empty.
bool separatorAt(const char* data, int32_t n, int32_t i, const std::string& separator) {
    const auto size = static_cast<int32_t>(separator.size());
    return size > 0 && i + size <= n &&
           std::memcmp(data + i, separator.data(), static_cast<size_t>(size)) == 0;
}

// The end of the value that begins at i: the next '(', the next separator or
// the end. Where the separator is an escape, a doubled backslash is a backslash.
int32_t valueEnd(const char* data, int32_t n, int32_t i, const std::string& separator) {
    const bool escaped = !separator.empty() && separator[0] == '\\';
    while (i < n && data[i] != '(' && !separatorAt(data, n, i, separator))
        i += escaped && data[i] == '\\' && i + 1 < n && data[i + 1] == '\\' ? 2 : 1;
    return i;
}

// Reads the element at pos into e, or says how the chain breaks there.
ChainBreak readElement(const char* data, int32_t n, int32_t pos, Element& e,
                       const std::string& separator = {}) {
    e.bare = separatorAt(data, n, pos, separator);
    int32_t valueAt = 0;
    if (e.bare) {
        // The separator stands between elements: the AI follows it with as many
        // digits as the table gives it.
        const int32_t at = pos + static_cast<int32_t>(separator.size());
        e.entry = &lookUp(data + at, n - at);
        const int32_t digits = e.entry->digits;
        if (e.entry == &kNoAI || at + digits > n || !allDigits(data + at, digits))
            return ChainBreak::StraySeparator;
        e.ai.assign(data + at, static_cast<size_t>(digits));
        valueAt = at + digits;
    } else {
        if (data[pos] != '(') return ChainBreak::Outside;
        const int32_t start = pos + 1;
        int32_t close = start;
        while (close < n && data[close] != ')' && close - start < kLongestAI) ++close;
        e.ai.assign(data + start, static_cast<size_t>(close - start));
        if (close >= n || data[close] != ')' || e.ai.empty() ||
            !allDigits(e.ai.c_str(), static_cast<int32_t>(e.ai.size())))
            return ChainBreak::BadAI;
        e.entry = &lookUp(e.ai.c_str(), static_cast<int32_t>(e.ai.size()));
        valueAt = close + 1;
    }
    e.end = valueEnd(data, n, valueAt, separator);
    e.value = data + valueAt;
    e.length = e.end - valueAt;
    e.beforeSeparator = separatorAt(data, n, e.end, separator);
    // A separator the next '(' or the end follows anyway ends the value and no more.
    const int32_t after = e.end + static_cast<int32_t>(separator.size());
    if (e.beforeSeparator && (after == n || data[after] == '(')) e.end = after;
    return ChainBreak::None;
}

// An AI of the table with all its digits: "(1000)" is not (10) with "00" in front
// of its value, nor "(31)" any of 3100 to 3169.
bool known(const Element& e) { return e.entry != &kNoAI && e.ai.size() == e.entry->digits; }

// The longest value of a variable element, the exact one of a fixed element.
int32_t valueLength(const Element& e) {
    return e.entry->length - static_cast<int32_t>(e.ai.size()) - 1;
}

// A fixed value of another length than its AI takes.
std::string wrongFixedLength(const Element& e) {
    return format("AI (%s) takes %ld digits; the data gives %ld.", e.ai, valueLength(e), e.length);
}

// A variable value longer than its AI takes, which no separator would end.
std::string overlong(const Element& e) {
    const int32_t most = valueLength(e);
    if (!e.entry->variable || e.length <= most) return {};
    return format("AI (%s) takes at most %ld characters; the data gives %ld.", e.ai, most,
                  e.length);
}

// An AI with nothing behind it.
std::string noValue(const Element& e) {
    if (e.length > 0) return {};
    return format("AI (%s) has no data. Give its data or remove it.", e.ai);
}

// A fixed value of letters, or a GTIN or SSCC whose last digit is not its check
// digit (`checked`: the last digit is typed, not yet to be completed; `completes`:
// the symbol completes a check digit left off).
std::string badDigits(const Element& e, bool checked, bool completes) {
    if (!allDigits(e.value, e.length))
        return format("AI (%s) takes digits only. Correct its data.", e.ai);
    if (!e.entry->checkDigit || !checked) return {};
    const char right = calcheck2(e.value, e.length);
    const char typed = e.value[e.length - 1];
    if (typed == right) return {};
    char text[160];
    std::snprintf(
        text, sizeof text, "The check digit of AI (%s) is %c, not %c. Correct the last digit%s",
        e.ai.c_str(), right, typed, completes ? ", or leave it off and it is added." : ".");
    return text;
}

// A fixed value of a date AI (11 to 17) that is no real month and day.
std::string badDate(const Element& e) {
    const std::string& ai = e.ai;
    if (ai.size() != 2) return {};
    const int32_t two = (ai[0] - '0') * 10 + (ai[1] - '0');
    if (two < kFirstDateAI || two > kLastDateAI) return {};
    return checkDate(ai, e.value);
}

// Reads the element at pos into e; the message when the chain breaks there or
// its AI is not known. `before` is the AI of the element before it.
std::string readKnownElement(const char* data, int32_t n, int32_t pos, Element& e,
                             const std::string& separator) {
    const std::string before = e.ai;
    switch (readElement(data, n, pos, e, separator)) {
        case ChainBreak::Outside:
            return "GS1 data is a chain of AIs in parentheses, each followed by its data; "
                   "something stands outside it. Correct the data.";
        case ChainBreak::BadAI:
            return "An AI in parentheses is empty or not a number of 2 to 4 digits (\"(" +
                   e.ai.substr(0, kLongestAI) + "\"). Correct the data.";
        case ChainBreak::StraySeparator:
            // The reader would take what follows the separator for an AI.
            return format(
                "The data of AI (%s) holds a separator (FNC1) that no known AI "
                "follows. Remove it, or follow it with an AI and its data.",
                before);
        case ChainBreak::None:
            break;
    }
    if (!known(e)) return format("AI (%s) is not known. Correct the AI.", e.ai);
    return {};
}

}  // namespace

std::string checkElementStrings(const char* data, int32_t n, bool completesCheckDigit,
                                const char* separator) {
    if (n <= 0 || data[0] != '(') return {};
    Element e;
    for (int32_t pos = 0; pos < n; pos = e.end) {
        std::string bad = readKnownElement(data, n, pos, e, separator);
        if (!bad.empty()) return bad;
        bad = noValue(e);
        if (!bad.empty()) return bad;
        if (e.entry->variable) {
            bad = overlong(e);
            if (!bad.empty()) return bad;
        } else {
            // Only a value in parentheses that the next '(' or the end closes gets
            // its check digit.
            const bool completed = completesCheckDigit && e.entry->checkDigit && !e.bare &&
                                   !e.beforeSeparator && e.length == valueLength(e) - 1;
            if (e.length != valueLength(e) && !completed) return wrongFixedLength(e);
            bad = badDigits(e, !completed, completesCheckDigit);
            if (!bad.empty()) return bad;
            bad = badDate(e);
            if (!bad.empty()) return bad;
        }
    }
    return {};
}

std::string checkCarriedElements(const char* data, int32_t n, const char* separator) {
    if (n <= 0 || data[0] != '(') return {};
    Element e;
    for (int32_t pos = 0; pos < n; pos = e.end) {
        // A broken chain or an unknown AI gets no separator after its value, so
        // the symbol would carry the next element as part of it.
        std::string bad = readKnownElement(data, n, pos, e, separator);
        if (!bad.empty()) return bad;
        bad = noValue(e);
        if (!bad.empty()) return bad;
        if (!e.entry->variable) {
            // A fixed value of another length takes part of the next element or
            // leaves its rest to stand alone.
            if (e.length != valueLength(e)) return wrongFixedLength(e);
            bad = badDigits(e, true, false);
            if (!bad.empty()) return bad;
            // The encoders pack a date into bits that hold no other month or day.
            bad = badDate(e);
            if (!bad.empty()) return bad;
        }
        // The last variable value, however long, ends with the data.
        if (e.end >= n) continue;
        bad = overlong(e);
        if (!bad.empty()) return bad;
    }
    return {};
}

std::string elementStringsUnbracketed(const char* data, int32_t n, const char* separator) {
    std::string out;
    Element e;
    for (int32_t pos = 0; pos < n; pos = e.end) {
        if (readElement(data, n, pos, e) != ChainBreak::None || !known(e))
            return std::string(data, static_cast<size_t>(n));
        out += e.ai;
        out.append(e.value, static_cast<size_t>(e.length));
        const bool separated =
            e.entry->variable || !predefinedLength(e.ai.c_str(), static_cast<int32_t>(e.ai.size()));
        if (separated && e.end < n) out += separator;
    }
    return out;
}
