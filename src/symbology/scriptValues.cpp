#include "symbology/scriptValues.h"

#include <string>

namespace {

bool isKeyChar(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool isBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

bool endsScriptValue(std::string_view s, size_t p) {
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

bool readsBackWhole(std::string_view value) {
    if (value.find('"') == std::string_view::npos) return true;  // the common case
    // What follows a value in a written line: its closing quote and the next pair.
    const std::string written = std::string(value) + "\", next:\"";
    for (size_t at = value.find('"'); at != std::string_view::npos; at = value.find('"', at + 1))
        if (endsScriptValue(written, at + 1)) return false;
    return true;
}
