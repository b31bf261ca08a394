// The names of code types: the names of the script record language and the
// display names, read into the settings and written back into the options line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The code types and variants that display names are looked for among.
constexpr int32_t kLastFamily = 42;
constexpr int32_t kVariantsTried[] = {0,  1,  2,  3,  4,  5,  6,   7,   8,  9,
                                      10, 11, 12, 13, 14, 15, 255, 256, 257};
// Sets the code type (and its defaults) named by a type name of the script
// record language ("Code 128", "EAN 13", ...) or by its display name; an unknown
// name changes nothing. Returns 1 when the name was known.
int32_t parseCodeType(const char* name);
// Every name parseCodeType knows on a fresh record, each once: the script names,
// then the display names. Nothing is changed.
std::vector<std::string> codeTypeNames();
// Whether parseCodeType knows the name; nothing is changed.
bool isCodeTypeName(const char* name);
// Whether two type names give a fresh record the same code, variant and check
// setting; nothing is changed.
bool sameCodeType(const char* a, const char* b);
// The name the options line gives the current type: one that a fresh record reads
// back as the same code, variant and check setting (the display name when it
// does, as most do); "" for a label, null when no name reads back as the symbol.
const char* optionsLineTypeName();

// Compares names as the record language does: ASCII letters in either case.
bool sameNameIgnoringCase(std::string_view a, std::string_view b);
