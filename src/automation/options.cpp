#include "automation/options.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>

#include "platform/numbers.h"
#include "symbology/Filters.h"
#include "symbology/appBits.h"
#include "symbology/panels.h"
#include "symbology/state.h"

namespace {

constexpr int32_t kMostPercent = 100;  // of an ink in a colour

// Type names of the script record language that are not display names.
struct ScriptType {
    std::string_view name;
    int32_t code;
    int32_t variation1;
    int32_t nCheck;   // -1: as the type's defaults leave it
    int32_t ocrFont;  // 0 leave, 1 OCR-B above (the bar font), 2 OCR-A above
};
constexpr ScriptType kScriptTypes[] = {
    {"Code 128", 5, 0, -1, 0},
    {"EAN 128", 7, 0, -1, 0},
    {"Code 39 NC", 6, 0, 1, 0},
    {"Code 39", 6, 0, 0, 0},
    {"Code 39 Full Ascii", 6, 10, -1, 0},
    {"Telepen", 36, 0, -1, 0},
    {"EAN 8", 3, 0, -1, 0},
    {"UPC A", 10, 0, -1, 0},
    {"ISSN -OCRB", 2, 0, -1, 1},
    {"ISBN -OCRB", 1, 0, -1, 1},
    {"ISMN", 1, 2, -1, 0},
    {"EAN 13", 0, 0, -1, 0},
    {"Codabar", 8, 0, 1, 0},  // the data as entered, start and stop letters included
    {"Code 93", 28, 0, -1, 0},
    {"Code 11", 19, 0, -1, 0},
    {"ITF", 4, 0, -1, 0},
    {"MSI", 35, 0, -1, 0},
    {"PLESSEY", 20, 0, -1, 0},
    {"2 OF 5", 21, 0, -1, 0},
    {"ISBN OCR B", 1, 0, -1, 1},
    {"ISBN OCR A", 1, 0, -1, 2},
    {"ISSN OCR B", 2, 0, -1, 1},
    {"ISSN OCR A", 2, 0, -1, 2},
};
bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x += 32;
        if (y >= 'A' && y <= 'Z') y += 32;
        if (x != y) return false;
    }
    return true;
}

void applyType(int32_t code, int32_t variation1, int32_t nCheck, int32_t ocrFont) {
    gSym.code = code;
    gSym.variation1 = variation1;
    if (nCheck >= 0) gSym.nCheck = nCheck;
    if (ocrFont == 1) pstrCopy(gSym.fontAbove, gSym.barFont);
    if (ocrFont == 2) pstrSet(gSym.fontAbove, "OCR-ANormal");
    GetCodeText();
}

// The display name of some (code, variant), trying both check-digit settings.
bool findDisplayName(std::string_view name, int32_t* code, int32_t* variation1, int32_t* nCheck) {
    const int32_t keep = gSym.nCheck;
    for (int32_t nc : {keep, 1 - keep}) {
        gSym.nCheck = nc;
        for (int32_t c = 0; c <= kLastFamily; ++c)
            for (int32_t v : kVariantsTried) {
                const char* n = codeTypeName(c, v);
                if (n && sameName(n, name)) {
                    gSym.nCheck = keep;
                    *code = c;
                    *variation1 = v;
                    *nCheck = nc;
                    return true;
                }
            }
    }
    gSym.nCheck = keep;
    return false;
}

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

void applyPair(std::string_view key, std::string_view value) {
    double d = 0;
    int32_t n = 0;
    if (sameName(key, "type")) {
        parseCodeType(std::string(value).c_str());
    } else if (sameName(key, "size")) {
        if (parseDouble(value, &d) && std::isfinite(d))
            gSym.Siz = std::clamp(d, kSmallestSize, kLargestSize);
    } else if (sameName(key, "height")) {
        if (parseDouble(value, &d) && std::isfinite(d))
            gSym.Hei = d <= 0 ? typeOwnHeight() : std::clamp(d, kLowestHeight, kTallestHeight);
    } else if (sameName(key, "bwr")) {
        if (parseInt(&value, &n)) gSym.BWidthRed = std::clamp(n, kMostSpread, kMostReduction);
    } else if (sameName(key, "data")) {
        // The data as typed into the data field; a text too long for the data
        // buffer is left out whole, never cut.
        if (value.size() < kMainCodeSize) {
            const std::string typed(value);
            Gettw(typed.c_str(), static_cast<int32_t>(typed.size()), gData.chAddCode2, gData.len22);
        }
    } else if (sameName(key, "options")) {
        // Split as the data key splits the add-on field (blanks and '-' left
        // out), so that the order of the keys does not change the symbol.
        if (value.size() < kAddCodeSize) {
            const std::string typed(value);
            const std::string printed(gData.chMainCode2, strnlen(gData.chMainCode2, kMainCodeSize));
            Gettw(printed.c_str(), static_cast<int32_t>(printed.size()), typed.c_str(),
                  static_cast<int32_t>(typed.size()));
        }
    } else if (sameName(key, "colour") || sameName(key, "color")) {
        int32_t c = 0, m = 0, y = 0, k = 0;
        if (parseInt(&value, &c) && parseInt(&value, &m) && parseInt(&value, &y) &&
            parseInt(&value, &k)) {
            // Percentages: an EPS file's options line may hold anything.
            gSym.cyan2 = std::clamp(c, 0, kMostPercent);
            gSym.magenta2 = std::clamp(m, 0, kMostPercent);
            gSym.yellow2 = std::clamp(y, 0, kMostPercent);
            gSym.black2 = std::clamp(k, 0, kMostPercent);
        }
    } else if (sameName(key, "spotname")) {
        if (value.size() <= 255) {
            gSym.customCol[0] = static_cast<unsigned char>(value.size());
            std::memcpy(gSym.customCol + 1, value.data(), value.size());
            // A name is what selects the spot colour; an empty one goes back to process colour.
            gSym.customColour = value.empty() ? 0 : 1;
        }
    }
}

bool isKeyChar(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// After a value's closing quote at p - 1: ", key:\"", or "}" and then the line
// end or the next record's opening brace (blanks allowed between).
bool endsValue(std::string_view s, size_t p) {
    while (p < s.size() && s[p] == ' ') ++p;
    if (p >= s.size() || s[p] == '\r' || s[p] == '\n') return true;
    if (s[p] == '}') {
        ++p;
        while (p < s.size() && isBlank(s[p])) ++p;
        return p >= s.size() || s[p] == '\r' || s[p] == '\n' || s[p] == '{';
    }
    if (s[p] != ',') return false;
    ++p;
    while (p < s.size() && s[p] == ' ') ++p;
    const size_t key = p;
    while (p < s.size() && isKeyChar(s[p])) ++p;
    if (p == key) return false;
    while (p < s.size() && s[p] == ' ') ++p;
    if (p >= s.size() || s[p] != ':') return false;
    ++p;
    while (p < s.size() && s[p] == ' ') ++p;
    return p < s.size() && s[p] == '"';
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

}  // namespace

int32_t parseCodeType(const char* text) {
    const std::string_view name(text);
    for (const ScriptType& t : kScriptTypes)
        if (sameName(name, t.name)) {
            applyType(t.code, t.variation1, t.nCheck, t.ocrFont);
            return 1;
        }
    int32_t code = 0, v = 0, nc = 0;
    if (!findDisplayName(name, &code, &v, &nc)) return 0;
    applyType(code, v, nc, 0);
    return 1;
}

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
        while (i < s.size() && (s[i] == ' ' || s[i] == ',')) ++i;
        if (i >= s.size() || s[i] == '\r' || s[i] == '\n')
            return fail("the record has no closing brace");
        if (s[i] == '}') {
            if (end) *end = i + 1;
            return true;
        }
        const size_t colon = s.find(':', i);
        if (colon == std::string_view::npos) return fail("a key has no colon and value");
        std::string_view key = s.substr(i, colon - i);
        while (!key.empty() && key.back() == ' ') key.remove_suffix(1);
        size_t q = colon + 1;
        while (q < s.size() && s[q] == ' ') ++q;
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
        } while (!endsValue(s, close + 1));
        pair(key, s.substr(q + 1, close - q - 1));
        i = close + 1;
    }
}

void applyScriptPair(std::string_view key, std::string_view value) { applyPair(key, value); }

void ConvertString(const char* text, int32_t) { forEachScriptPair(text, applyPair, nullptr); }
