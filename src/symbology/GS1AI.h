// GS1 application identifiers: the element chain typed as "(01)...(10)..." is
// cut into its elements, a separator byte follows every element of no predefined
// length that has more data behind it, missing check digits of AIs 00, 01 and 02 are
// completed (GS1-128 only) and the parentheses are removed. Used by GS1-128 and
// the DataBar family.
#pragma once

#include <cstdint>
#include <string>

constexpr uint16_t kMsgGS1TooLong = 1210;  // message of list 136
constexpr int32_t kAIBufferSize = 255;     // the work buffer; the output stays below it

// Rewrites chMainCode/len1 from index `start`. 0 done; 1 refused because the
// result would not fit the work buffer (message shown; nothing is encoded).
int32_t EAN_APP_ID_FILTER(uint32_t start, uint8_t separator);
// The same without a message; false when refused. `typed` is the byte that stands
// for a separator typed inside the data (`separator` itself on the DataBar road).
bool aiFilter(uint32_t start, uint8_t separator, uint8_t typed);

// GS1 modulo-10 check digit of `digits`, whose check position is index n - 1.
char calcheck2(const char* digits, int32_t n);

// Checks element strings typed in parentheses, "(01)...(10)...", against the AI
// table and the rules GS1 gives for element strings: a known AI with all its
// digits (not "(1000)" for (10), nor "(31)" for 3100 to 3169), a fixed-length value
// of its length (one digit short when `completesCheckDigit` and the AI carries a
// check digit), a variable-length value of at most its maximum, the right check
// digit of a GTIN or SSCC, and a real month and day in a date. Empty when sound,
// else the message, which names the AI. Data that does not begin with '(' is
// not checked here. `separator` is how the data types an FNC1 (\1, #): one
// inside a value must be followed by a known AI, whose element is then checked
// as any other; one before a '(' or at the end is let be.
std::string checkElementStrings(const char* data, int32_t n, bool completesCheckDigit,
                                const char* separator);

// Checks what would make a symbol carry other data than typed: a broken chain
// or an unknown AI (no separator would end its value), an element with no data,
// a fixed value of another length (it would run into the next element), of
// letters, or of a GTIN or SSCC with a wrong check digit (the encoder leaves the
// typed one out), a date that is no real month and day (the encoders pack it
// into bits), and a variable value followed by another element that is longer
// than its AI takes. Empty when sound, else the message checkElementStrings
// gives. The length of the last value is not checked here: the symbol carries it
// as typed. `separator` as for checkElementStrings.
std::string checkCarriedElements(const char* data, int32_t n, const char* separator);

// The element strings typed in parentheses as a GS1 symbol carries them: the
// parentheses go, and `separator` follows every element of no predefined length
// that has more data behind it. Meant for a chain checkElementStrings found sound;
// data that is no such chain comes back as typed.
std::string elementStringsUnbracketed(const char* data, int32_t n, const char* separator);
