// The EAN family: digit sets, the EAN-13 row and the add-ons, shared by the
// EAN-13, EAN-8, UPC, ISBN, ISSN and ISMN encoders.
#pragma once

#include <cstdint>

// Element bytes of the 330 um module family. Bars get BW added to their last
// byte; the narrowed and widened ones carry the 30 um print-gain correction of
// the digits 1, 2, 7 and 8.
constexpr unsigned char kEanBar1 = 190;
constexpr unsigned char kEanBar3NoBW = 254;  // three modules when BW is 0
constexpr unsigned char kGuardMark = 238;    // a guard bar that reaches below the others
constexpr unsigned char kSpace1 = ';';
constexpr unsigned char kSpace2 = ':';
constexpr unsigned char kSpace3 = '=';
constexpr unsigned char kSpace4 = '?';
constexpr unsigned char kLightLeft = '>';  // light-margin marks of the text line
constexpr unsigned char kLightRight = '<';
// Bytes of the EAN-13 row before the add-on: 11 modules of quiet zone, guards,
// twelve digits, 7 modules of quiet zone.
constexpr int32_t kEan13RowLen = 67;

// Digit i of chMainCode (of chAddCode while gDispatch.nu is 1) in number set A,
// B or C; a character that is not a digit appends nothing.
void setA(int32_t i);
void setB(int32_t i);
void setC(int32_t i);
// Digit i (1 to 6) in set A or B as the first digit chMainCode[0] demands.
void Ea13Par(int32_t i);
// Digit i (1 to 6) as spaces of the widths Ea13Par would draw.
void EaSpace(int32_t i);
// Digit i as spaces of its set C widths.
void spacesetC(int32_t i);
// A gap the width of one digit: '?' ':' ';'.
void SpaceChar();
// A bar byte with BW added.
void putBar(unsigned char bar);
// The start or end guard: bar, space, bar of one module each.
void startOrEndGuard();

// The two- and five-digit add-ons for chAddCode, behind the main row.
void CalcAdd2();
void CalcAdd5();
// The EAN-13 row for the 12 digits of chMainCode (after appending the check
// digit) and the add-on when len2 is 2 or 5.
void EAN();

// Checks the data before a symbol is made: at least n characters that are all
// digits; anything longer is cut to n, as the length rule does, unless `cut` is
// false. Otherwise the user is told and the result is false.
bool takeDigits(const char* name, int32_t n, bool cut = true);
// An add-on of 2 or 5 characters must be digits; false (after a message) if not.
bool addOnDigitsOnly();
// The guard mark 238 + BW on the byte `back` bytes before the end of the list.
void markGuard(int32_t back);
