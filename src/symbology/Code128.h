// Code 128 and GS1-128: the symbol table, code-set preparation, check
// character and element writer, shared with Codablock F, Code 93 and Telepen.
// The entries OneTwoEight, JCPenney, MSBel, MSShoe and CodaBlock are in
// symbology/encoders.h; MS_check2, which the text line calls, in symbology/rows.h.
#pragma once

#include <cstdint>

// Symbol bytes: every byte of a prepared string stands for the Code 128 value
// byte - 32; the function and start bytes have names of their own.
constexpr unsigned char kFNC3 = 128;
constexpr unsigned char kFNC2 = 129;
constexpr unsigned char kShift = 130;
constexpr unsigned char kCodeC = 131;
constexpr unsigned char kCodeB = 132;  // FNC4 in code set B
constexpr unsigned char kCodeA = 133;  // FNC4 in code set A
constexpr unsigned char kFNC1 = 134;
constexpr unsigned char kStartA = 135;
constexpr unsigned char kStartB = 136;
constexpr unsigned char kStartC = 137;

// Why a Code 128 preparation refused the data.
enum class C128Fault : int32_t {
    None = 0,
    Empty,
    TooLong,       // past the prepared string or a work buffer
    LowerInSetA,   // a character that code set A does not hold
    NotInSetC,     // a non-digit after a switch to code set C
    NotEncodable,  // a byte that is no Code 128 character
    BadEscape,     // a \d escape without three digits giving 1 to 255
    GS1TooLong,    // the application-identifier pass ran out of room
};

// Prepares chMainCode into symbol bytes (start character, FNC1 and the
// application identifiers for GS1-128, automatic code sets, markers); len1 is
// then the number of symbol bytes. 0 done, 1 refused. Shows no message, so that
// the magnification fit can run it on a copy; lastProc128Fault says why.
int32_t Proc128();
C128Fault lastProc128Fault();
// Shows the message of a fault, marks the symbol in error and returns 1.
int32_t refuse128(C128Fault fault);
// The same for a message number of list 136.
int32_t refuse128(uint16_t message);

void OTE();                                 // appends the modulo-103 check character
void C128(int32_t i);                       // elements of the symbol byte at index i
void Maker2(const unsigned char* pattern);  // elements of a module-count Pascal string
void C128Symbols();  // elements of every symbol byte of chMainCode, then STOP
// The length of data inside its buffer: len1 when the text runs longer.
int32_t dataLength(const char* data);
// The same for the printed copy chMainCode2 and len11.
int32_t printedLength();
// Resolves the backslash escapes of data (len1 bytes) and of the printed copy.
C128Fault SeeFancyChars(char* data);

// Retail preparations of OneTwoEight.
bool APEXCheck();  // false when the data is shorter than 8 characters
// Refuses data beyond 8 characters and the right check letter; true when refused.
bool APEXTooLong();
void SICICheck();  // appends the SICI check character to the printed copy
bool MakeSISAC();  // false when the SICI format is not supported

// Message numbers of list 136.
namespace msg128 {
constexpr uint16_t kLowerInSetA = 1200;
constexpr uint16_t kNotEncodable = 1201;
constexpr uint16_t kTooLong = 1202;
constexpr uint16_t kBadEscape = 1203;
constexpr uint16_t kNotInSetC = 1204;
constexpr uint16_t kDigitsOnly = 1205;
constexpr uint16_t kRetailLength = 1206;
constexpr uint16_t kApexShort = 1207;
constexpr uint16_t kSiciFormat = 1208;
constexpr uint16_t kEmpty = 1209;
constexpr uint16_t kEAN14Length = 1211;
constexpr uint16_t kSSCCLength = 1212;
constexpr uint16_t kCodablockTooLong = 1220;
constexpr uint16_t kCodablockChar = 1221;
}  // namespace msg128
