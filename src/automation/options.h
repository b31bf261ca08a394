// The options line of vector documents: the script record of the current
// settings, written into every EPS file and read back when the file is opened.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/files.h"

// Writes "%%Options: {...}" and a carriage return to the open file refNum.
void saveAutoFormatData(platform::FileRef refNum);
// Applies a settings record {key:"value", ...} to the current settings. local 1:
// the program reads back its own options line. Unknown keys are passed over.
void ConvertString(const char* text, int32_t local);
// Sets the code type (and its defaults) named by a type name of the script
// record language ("Code 128", "EAN 13", ...) or by its display name; an unknown
// name changes nothing. Returns 1 when the name was known.
int32_t parseCodeType(const char* name);

// Calls pair(key, value) for each pair of a record {key:"value", ...} in order.
// false, with the reason in error, when the record is not well formed; the pairs
// before the fault have been passed on.
bool forEachScriptPair(const char* text,
                       const std::function<void(std::string_view, std::string_view)>& pair,
                       std::string* error);
// Applies one pair as ConvertString does.
void applyScriptPair(std::string_view key, std::string_view value);
