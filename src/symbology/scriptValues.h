// Where a quoted value of a script record ends: the rule the record reader
// follows and the options line of an EPS file must keep to when it writes one.
#pragma once

#include <cstddef>
#include <string_view>

// White space between a record's pairs: blanks, tabs and line breaks (a record
// given as an argument may be written over several lines).
bool isScriptSpace(char c);

// The key of a pair `key:"` at p, white space allowed before and after the key
// and the colon; empty when none begins there. A key is taken as any run of
// letters, digits, '_' and '-', so that a mistyped key still ends the value
// before it and is refused by name.
std::string_view scriptPairKeyAt(std::string_view s, size_t p);

// After a value's closing quote at p - 1: a comma and the next pair, or "}" and
// then the line end or the next record's opening brace (blanks allowed between).
bool endsScriptValue(std::string_view s, size_t p);

// Whether a value written between quotes, with another pair after it, reads back
// whole: no quote inside it would be taken for its end.
bool readsBackWhole(std::string_view value);
