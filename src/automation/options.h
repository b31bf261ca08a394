// The options line of vector documents: the script record of the current
// settings, written into every EPS file and read back when the file is opened.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/files.h"
#include "symbology/typeNames.h"

// Applies a settings record {key:"value", ...} to the current settings. local 1:
// the program reads back its own options line, whose data comes with no add-on or
// options text but its options key's. Unknown keys are passed over.
void ConvertString(const char* text, int32_t local);

// What the label item can carry: magnification and height in hundredths within
// 16 bits (the command line refuses what lies outside; other records are held
// to it).
constexpr double kSmallestSize = 10;  // percent
constexpr double kLargestSize = 327;
constexpr double kTallestHeight = 327;  // millimetres
// The item reads a height of 1 mm or less in hundredths back as whole
// millimetres (1 mm would come back as 100 mm); 0 stands for the type's own.
constexpr double kLowestHeight = 1.01;
// Bar-width reduction in micrometres, as the main window's field holds it
// (three characters); larger values spread or thin bars past their box.
constexpr int32_t kMostSpread = -99;
constexpr int32_t kMostReduction = 999;

// Calls pair(key, value) for each pair of a record {key:"value", ...} in order.
// false, with the reason in error, when the record is not well formed; the pairs
// before the fault have been passed on.
bool forEachScriptPair(const char* text,
                       const std::function<void(std::string_view, std::string_view)>& pair,
                       std::string* error);
// The same for the record at the start of `text`, which may be followed by more:
// *end (when given) receives the index just past the record's closing brace.
bool forEachScriptPairIn(std::string_view text,
                         const std::function<void(std::string_view, std::string_view)>& pair,
                         std::string* error, size_t* end);
// The size a code type gives itself when it is chosen, and its bar height at that
// size (some types' own height is not their nominal height at that size).
struct TypeOwnSize {
    double size = 0;
    double height = 0;
};
// The current type's size and height, just as the type was applied; the height
// becomes 0, "the type's own", for settleOwnHeight once the size is known.
TypeOwnSize takeTypeOwnSize();
// A height of 0 (or less) becomes the type's own at the current size: its own
// height at its own size, at any other the height the desktop's size field gives
// (the nominal height scaled by the size). A height above 0 stays as given.
void settleOwnHeight(const TypeOwnSize& own);

// Applies one pair as ConvertString does; a height of 0 (or less) is the type's
// own height at the type's own size.
void applyScriptPair(std::string_view key, std::string_view value);
// Applies one pair of a record whose height settleOwnHeight settles once every
// pair is in: a type applied fills *own by takeTypeOwnSize, and a height of 0
// (or less) is left at 0.
void applyRecordPair(std::string_view key, std::string_view value, TypeOwnSize* own);
