#include "symbology/scriptValues.h"

#include <string>

namespace {

bool isKeyChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-';
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

size_t skipScriptSpace(std::string_view s, size_t p) {
    while (p < s.size() && isScriptSpace(s[p])) ++p;
    return p;
}

}  // namespace

bool isScriptSpace(char c) { return isBlank(c) || c == '\r' || c == '\n'; }

std::string_view scriptPairKeyAt(std::string_view s, size_t p) {
    const size_t key = skipScriptSpace(s, p);
    size_t end = key;
    while (end < s.size() && isKeyChar(s[end])) ++end;
    if (end == key) return {};
    p = skipScriptSpace(s, end);
    if (p >= s.size() || s[p] != ':') return {};
    p = skipScriptSpace(s, p + 1);
    if (p >= s.size() || s[p] != '"') return {};
    return s.substr(key, end - key);
}

bool endsScriptValue(std::string_view s, size_t p) {
    while (p < s.size() && isBlank(s[p])) ++p;
    if (p >= s.size() || s[p] == '\r' || s[p] == '\n') return true;
    if (s[p] == '}') {
        ++p;
        while (p < s.size() && isBlank(s[p])) ++p;
        return p >= s.size() || s[p] == '\r' || s[p] == '\n' || s[p] == '{';
    }
    return s[p] == ',' && !scriptPairKeyAt(s, p + 1).empty();
}

bool readsBackWhole(std::string_view value) {
    if (value.find('"') == std::string_view::npos) return true;  // the common case
    // What follows a value in a written line: its closing quote and the next pair.
    const std::string written = std::string(value) + "\", next:\"";
    for (size_t at = value.find('"'); at != std::string_view::npos; at = value.find('"', at + 1))
        if (endsScriptValue(written, at + 1)) return false;
    return true;
}
