// The generation dispatcher, the length rules and the check-digit helpers.
#pragma once

#include <cstdint>

// Turns the current data and code type into the element list: 0 built, 1 empty
// data or refused (the user has been told).
int32_t STRixel();
// 0 when the data may be encoded, 1 when it is too short (message shown).
int32_t CheckLength(const unsigned char* name, int32_t n, int32_t addA, int32_t addB);
void getCodeScale(int32_t length);
void calcheck();  // appends the EAN/UPC modulo-10 check digit to chMainCode
void Len();       // makes len1 odd by a leading '0'
void LenEven();   // makes len1 even by a leading '0'
// QR Code options text: level 0..3 (L, M, Q, H, either case) and the smallest
// version, 1 to 40; an empty text is level L from version 1. false for a text
// that names no level or a version that does not exist.
constexpr int32_t kQRLargestVersion = 40;
bool parseQROptions(const char* options, int32_t* level, int32_t* version);

struct DispatchState {
    int32_t nu = 0;  // 1 while the add-on digits are being encoded
    int32_t iComplete = 0;
    // Set by the command line: an add-on the type cannot carry is refused there,
    // where documents and the desktop drop it.
    bool refuseStrayAddOn = false;
};
extern DispatchState gDispatch;
// Clears what one symbol's making left in gDispatch; the refusal of a stray
// add-on belongs to the caller's whole command or run and stays.
void endSymbolDispatch();
