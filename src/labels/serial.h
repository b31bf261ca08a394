// Serial numbers: texts of one fixed width counted in decimal, in a base-94
// alphabet of printable characters or in hexadecimal, the most significant digit
// first.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

enum SerialBase : int32_t { kSerialDecimal = 0, kSerialBase94 = 1, kSerialHex = 2 };

enum class SerialStep {
    next,     // current holds the next value
    ended,    // overflow, past the end, or the run had ended already: current is empty
    refused,  // a text cannot be counted (message shown): current is empty
};

// Advances `current` (a buffer of 256 bytes) by `increment`, digit by digit with
// carries in `base`; the serial width is last + 1. The increment is read with
// decimal digit values whatever the base. Texts shorter than the width count as
// padded on the left with '0'; a longer text, a width outside 1 to 255, or a
// character that is no digit of its base is refused with a message. Hexadecimal
// takes lower-case letters and writes upper case. `start` is not used.
SerialStep SerialNo(const char* start, const char* end, const char* increment, int32_t last,
                    int32_t base, char* current);

// Whether every serial item of the label document moves its count from label
// to label: false, after the serial pane's message, when one's increment is
// zeros only or empty, as every label would carry the same number.
bool labelSerialsMove();

// Copies count characters of source into destination (256 bytes), leaving out
// every '-' unless the code type carries dashes, and NUL-terminates it; the
// number kept goes to gProd.globlen.
void GetAnyField(const char* source, int32_t count, char* destination);
// Makes text (256 bytes) exactly width characters (at most 255): a shorter text
// is padded on the left with '0', a longer one keeps its first width characters.
void SetToLength(char* text, int32_t length, int32_t width);

// Reads the serial panel (data length, start, end, increment, repeat count) into
// the run's values; current takes the start. 0 when the run can start; 1 after a
// message: a missing field, a width (length less prefix and suffix) of 0 or less
// or above 255, a zero increment, or a value that cannot be counted.
// A serial value with its prefix and suffix is more than a label item keeps.
constexpr uint16_t kMsgSerialItemTooLong = 1305;

int32_t GetSerialText(int32_t* length, char* start, char* end, char* increment, char* current);

// The add-on counter form: counter + increment as decimal digit texts of any
// length, padded with '0' to the counter's width; empty when the sum is past
// end. The texts hold decimal digits only (GetSerialText checks them).
std::string nextAddOnCounter(const std::string& counter, const char* increment, const char* end);

// A serial item's value as its label shows it: between the prefix and suffix of
// the item loaded last (getItemData). The value ends at its first VT, where a
// stored copy of the prefix and suffix starts.
std::string shownSerialText(std::string_view value);

// Whether item i, just loaded, is a serial item holding its value without the
// prefix and suffix, so that its labels show shownSerialText: the serial items
// of a label document, and the positions after the first of a serial run handed
// to the print sheet. The serial pane's own symbol carries them in its data.
bool serialValueBare(int32_t i);
