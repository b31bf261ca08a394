// Where a quoted value of a script record ends: the rule the record reader
// follows and the options line of an EPS file must keep to when it writes one.
#pragma once

#include <cstddef>
#include <string_view>

// After a value's closing quote at p - 1: ", key:\"", or "}" and then the line
// end or the next record's opening brace (blanks allowed between).
bool endsScriptValue(std::string_view s, size_t p);

// Whether a value written between quotes, with another pair after it, reads back
// whole: no quote inside it would be taken for its end.
bool readsBackWhole(std::string_view value);
