// Barcode scanners that type into the main or preview window: they send "]",
// a two-character symbology identifier, the data and a Return. The event loop
// collects what follows the "]" and, at the Return, makes the symbol at once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The longest capture kept; what a scanner sends beyond it is dropped with a beep.
constexpr size_t kScanCapacity = 2050;
// "X0" is a UPC-A only when the identifier and twelve digits fill the buffer.
constexpr size_t kUpcScanLength = 14;

struct ScanCapture {
    bool capturing = false;
    std::string buffer;  // the identifier's two characters, then the data
};
extern ScanCapture gScan;
void resetScanner();

// What an identifier asks for: the type name to set (empty: the current type
// stays), the data to encode, and the variant to take after the name's own.
struct ScanChoice {
    bool known = false;            // false: the identifier stands in no row; nothing happens
    std::string typeName;          // for parseCodeType
    std::string data;              // what the symbol encodes
    int32_t variation1 = -1;       // -1: the variant the type name sets
    bool dropsCheckDigit = false;  // the data field shows the data without its last digit
};
// The rules in their order; the first that matches wins. A 13-digit EAN handed
// to a shorter type loses its implied prefix, so the symbol encodes what was
// scanned.
ScanChoice scanChoice(std::string_view buffer);

// Acts on gScan.buffer: with a known identifier sets the code type and data and
// runs the production run; empties the buffer in every case.
void GetCodeIdType();

// One typed character for the capture. Returns true when the capture took it
// ("]" starting a capture, Tab and every other character inside one, the Return
// ending it); false leaves the character to the window.
bool scanKey(unsigned char c);
