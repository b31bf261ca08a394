// Data entry: the key filters of the data fields, and loading an entered text
// into the data buffers.
#pragma once

#include <cstddef>
#include <cstdint>

// The key being filtered; the main window's key handler sets it before Filter().
struct FilterState {
    int32_t theChar = 0;
};
extern FilterState gFilter;
void resetFilter();

// Keys that reach the filters with a meaning of their own.
constexpr int32_t kKeyEnter = 3;
constexpr int32_t kKeyBackspace = 8;
constexpr int32_t kKeyTab = 9;
constexpr int32_t kKeyReturn = 13;
constexpr int32_t kKeyLeft = 28;  // the arrows: left, right, up, down
constexpr int32_t kKeyDown = 31;
// The beep of a refused key, and the message of a code type without serial numbers.
constexpr int16_t kRefusedBeep = 6;
constexpr uint16_t kMsgNoSerialNumbers = 27;

// Filters gFilter.theChar for the current code type: the key goes into the
// focused data field (gPanels.TEH, TEX or TEBack1[c_TE1], by the entry mode and
// focus), is refused with a beep, or is dropped. Tab moves the focus and the
// arrows the caret; a backspace, or a key typed over a selection, first deletes.
void Filter();

// The filters of the code types, for the key in gFilter.theChar.
void E13();
void ISS();
void ISB();
void E8();
void NumIT6();
void NumIT7();
void DUN();
void Num(int32_t most);
void UA(int32_t most);
void NDC();
void NumMS();
void NumSH();
void mcare();
void CAPs();
void CAPs2();
void Hex();
void C11();
void Phex();
void Numaa();
void CAPsABC();
void ALL2();

// Code types whose data keeps "-" and blanks as typed.
bool keepsSeparators(int32_t code);
// Code types (the book numbers, Interleaved 2 of 5) whose printed copy keeps the
// typed '-' and blanks that their data leaves out.
bool separatorsPrintedOnly(int32_t code);
// The length of the printed copy `printed` (n bytes) up to its `dataLength`-th
// character that is not such a separator.
size_t printedLengthOf(const char* printed, size_t n, int32_t dataLength);

// Copies text into chMainCode and chMainCode2 and addOn into chAddCode and
// chAddCode2, leaving out "-" and blanks where the code type does; data that does
// not fit the buffers is cut at their size.
void Gettw(const char* text, int32_t length, const char* addOn, int32_t addOnLength);
// Gettw's add-on half: addOn into chAddCode and chAddCode2, without "-" and blanks.
void takeAddOn(const char* addOn, int32_t addOnLength);
