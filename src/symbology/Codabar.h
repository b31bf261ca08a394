// Codabar, and the library numbers that Codabar, Code 39 and Telepen share:
// the library (Dynix) and Ameritech check digits, and the re-spacing of a
// library number in the text line. The entry Codabar is in symbology/encoders.h.
#pragma once

#include <cstdint>

// The data buffer: len1 kept inside chMainCode; one character appended (false
// when there is no room); the spaces taken out.
int32_t mainLength();
bool appendToMain(char c);
void removeMainSpaces();

// True when the len1 bytes of chMainCode are digits or spaces; otherwise the
// user is told (naming the code type) and false comes back.
bool libraryDigitsOnly(const char* typeName);

// Appends the library check digit to chMainCode (len1 + 1): digits at even
// places (from the left, spaces not counted) add the digit sum of their double.
// Both false when the buffer has no room for it.
bool DynixCheckDigit();
// Appends the Ameritech check digit (len1 + 1).
bool ameritechcalcheckMod10();
// The check digit itself, over n digits (spaces skipped).
char dynixDigit(const char* data, int32_t n);
char ameritechDigit(const char* data, int32_t n);

// 'A' + data + 'B' (len1 + 2); MSIModel: 'B' + data + 'A'.
void DynixModel();
void MSIModel();
// The wrapped data becomes the re-spaced text line: groups of 1, 4, 8 and 1
// (Ameritech 1, 4, 5 and the rest), or the user's own spacing of chMainCode2.
void DynixRemodel();
void AmeritechRemodel();
// Spaces in the printed copy.
int32_t GetCustSpace();

// Elements of the Codabar character at index i of chMainCode.
void Cod(int32_t i);

// The MSI modulo-10 check digit over n digits (the MSI family's check).
char MSICheckMod10(const char* data, int32_t n);
