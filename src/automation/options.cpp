#include "automation/options.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>

#include "app/numericEntry.h"
#include "platform/numbers.h"
#include "symbology/Filters.h"
#include "symbology/panels.h"
#include "symbology/scriptValues.h"
#include "symbology/state.h"

namespace {

constexpr int32_t kMostPercent = 100;  // of an ink in a colour

void skipBlanks(std::string_view* s) {
    while (!s->empty() && s->front() == ' ') s->remove_prefix(1);
}

bool parseDouble(std::string_view s, double* v) {
    skipBlanks(&s);
    auto r = std::from_chars(s.data(), s.data() + s.size(), *v);
    return r.ec == std::errc();
}

bool parseInt(std::string_view* s, int32_t* v) {
    skipBlanks(s);
    auto r = std::from_chars(s->data(), s->data() + s->size(), *v);
    if (r.ec != std::errc()) return false;
    s->remove_prefix(static_cast<size_t>(r.ptr - s->data()));
    return true;
}

// Applies one pair; with own, true when it leaves the height to settleOwnHeight
// (a type applied, or a height of 0 or less). Without, a height of 0 or less is
// the type's own at its own size.
bool applyPair(std::string_view key, std::string_view value, TypeOwnSize* own) {
    double d = 0;
    int32_t n = 0;
    if (sameNameIgnoringCase(key, "type")) {
        if (!parseCodeType(std::string(value).c_str()) || !own) return false;
        *own = takeTypeOwnSize();
        return true;
    } else if (sameNameIgnoringCase(key, "size")) {
        if (parseDouble(value, &d) && std::isfinite(d))
            gSym.Siz = std::clamp(d, kSmallestSize, kLargestSize);
    } else if (sameNameIgnoringCase(key, "height")) {
        // The type's own height depends on the size, which may come later.
        if (!parseDouble(value, &d) || !std::isfinite(d)) return false;
        if (d > 0) {
            gSym.Hei = std::clamp(d, kLowestHeight, kTallestHeight);
            return false;
        }
        gSym.Hei = own ? 0 : typeOwnHeight();
        return own != nullptr;
    } else if (sameNameIgnoringCase(key, "bwr")) {
        if (parseInt(&value, &n)) gSym.BWidthRed = std::clamp(n, kMostSpread, kMostReduction);
    } else if (sameNameIgnoringCase(key, "data")) {
        // The data as typed into the data field; a text too long for the data
        // buffer is left out whole, never cut.
        if (value.size() < kMainCodeSize) {
            const std::string typed(value);
            Gettw(typed.c_str(), static_cast<int32_t>(typed.size()), gData.chAddCode2, gData.len22);
        }
    } else if (sameNameIgnoringCase(key, "options")) {
        // Split as the data key splits the add-on field (blanks and '-' left
        // out), so that the order of the keys does not change the symbol.
        if (value.size() < kAddCodeSize) {
            const std::string typed(value);
            const std::string printed(gData.chMainCode2, strnlen(gData.chMainCode2, kMainCodeSize));
            Gettw(printed.c_str(), static_cast<int32_t>(printed.size()), typed.c_str(),
                  static_cast<int32_t>(typed.size()));
        }
    } else if (sameNameIgnoringCase(key, "colour") || sameNameIgnoringCase(key, "color")) {
        int32_t c = 0, m = 0, y = 0, k = 0;
        if (parseInt(&value, &c) && parseInt(&value, &m) && parseInt(&value, &y) &&
            parseInt(&value, &k)) {
            // Percentages: an EPS file's options line may hold anything.
            gSym.cyan2 = std::clamp(c, 0, kMostPercent);
            gSym.magenta2 = std::clamp(m, 0, kMostPercent);
            gSym.yellow2 = std::clamp(y, 0, kMostPercent);
            gSym.black2 = std::clamp(k, 0, kMostPercent);
        }
    } else if (sameNameIgnoringCase(key, "spotname")) {
        if (value.size() <= 255) {
            gSym.customCol[0] = static_cast<unsigned char>(value.size());
            std::memcpy(gSym.customCol + 1, value.data(), value.size());
            // A name is what selects the spot colour; an empty one goes back to process colour.
            gSym.customColour = value.empty() ? 0 : 1;
        }
    }
    return false;
}

// A quote at or after `from` that a closing brace follows: the value ended there,
// but something other than the line end came after the brace.
bool closedByBrace(std::string_view s, size_t from) {
    for (size_t at = s.find('"', from); at != std::string_view::npos; at = s.find('"', at + 1)) {
        size_t p = at + 1;
        while (p < s.size() && s[p] == ' ') ++p;
        if (p < s.size() && s[p] == '}') return true;
    }
    return false;
}

// Whether a record gives the symbol's data.
bool givesData(const char* text) {
    bool data = false;
    forEachScriptPair(
        text,
        [&data](std::string_view key, std::string_view) {
            data = data || sameNameIgnoringCase(key, "data");
        },
        nullptr);
    return data;
}

}  // namespace

bool forEachScriptPair(const char* text,
                       const std::function<void(std::string_view, std::string_view)>& pair,
                       std::string* error) {
    return forEachScriptPairIn(text, pair, error, nullptr);
}

bool forEachScriptPairIn(std::string_view s,
                         const std::function<void(std::string_view, std::string_view)>& pair,
                         std::string* error, size_t* end) {
    auto fail = [error](const char* why) {
        if (error) *error = why;
        return false;
    };
    const size_t open = s.find('{');
    if (open == std::string_view::npos) return fail("the record has no opening brace");
    size_t i = open + 1;
    for (;;) {
        while (i < s.size() && (isScriptSpace(s[i]) || s[i] == ',')) ++i;
        if (i >= s.size()) return fail("the record has no closing brace");
        if (s[i] == '}') {
            if (end) *end = i + 1;
            return true;
        }
        const size_t colon = s.find(':', i);
        if (colon == std::string_view::npos) return fail("a key has no colon and value");
        std::string_view key = s.substr(i, colon - i);
        while (!key.empty() && isScriptSpace(key.back())) key.remove_suffix(1);
        size_t q = colon + 1;
        while (q < s.size() && isScriptSpace(s[q])) ++q;
        if (q >= s.size() || s[q] != '"') return fail("a value is not in double quotes");
        // The value ends at the quote that the next pair (a comma, a key and its
        // colon and quote) or the closing brace follows, so that data holding
        // quotes and commas reads back whole.
        size_t close = q;
        do {
            close = s.find('"', close + 1);
            if (close == std::string_view::npos)
                return fail(closedByBrace(s, q + 1) ? "text after the record's closing brace"
                                                    : "a value has no closing quote");
        } while (!endsScriptValue(s, close + 1));
        pair(key, s.substr(q + 1, close - q - 1));
        i = close + 1;
    }
}

TypeOwnSize takeTypeOwnSize() {
    const TypeOwnSize own{gSym.Siz, gSym.Hei};
    gSym.Hei = 0;
    return own;
}

void settleOwnHeight(const TypeOwnSize& own) {
    if (gSym.Hei > 0) return;
    gSym.Hei = own.height;
    // At another size the height follows it as when the size is typed in the
    // main window; a type with no nominal height keeps its own.
    if (gSym.Siz != own.size) WorkOutHeight(1);
    if (gSym.Hei <= 0) gSym.Hei = typeOwnHeight();
}

void applyScriptPair(std::string_view key, std::string_view value) {
    applyPair(key, value, nullptr);
}

void applyRecordPair(std::string_view key, std::string_view value, TypeOwnSize* own) {
    applyPair(key, value, own);
}

void ConvertString(const char* text, int32_t local) {
    // An EPS file's line that gives the data gives the add-on or options text with
    // it, by the options key, which a file made without one leaves out: what was in
    // force before belongs to another symbol. A line without data keeps both.
    if (local == 1 && givesData(text)) {
        gData.chAddCode[0] = gData.chAddCode2[0] = 0;
        gData.len2 = gData.len22 = 0;
    }
    // A line without a type takes the current type's height at the current size.
    // One that neither names a type nor gives a height of 0 keeps the height as
    // it was, the desktop's automatic height (0) too.
    TypeOwnSize own{gSym.Siz, gSym.Hei};
    bool ownAsked = false;
    forEachScriptPair(
        text,
        [&own, &ownAsked](std::string_view key, std::string_view value) {
            if (applyPair(key, value, &own)) ownAsked = true;
        },
        nullptr);
    if (ownAsked) settleOwnHeight(own);
}
