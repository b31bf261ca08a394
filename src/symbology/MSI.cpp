// The bit-serial codes: Plessey (hexadecimal digits, least significant bit
// first, with its polynomial check) and MSI (decimal digits, most significant
// bit first, with modulo-10 check digits). Each bit is one bar and one space.
#include <cstring>

#include "symbology/Codabar.h"  // MSICheckMod10
#include "symbology/MSI.h"
#include "symbology/elementbytes.h"
#include "symbology/encoders.h"
#include "symbology/messages.h"
#include "symbology/rows.h"
#include "symbology/state.h"

namespace {

using namespace elem;

constexpr int32_t kBitsPerCharacter = 4;
constexpr int32_t kPlesseyCheckChars = 2;
constexpr int32_t kPlesseyCheckBits = 8;
// x^8 + x^7 + x^6 + x^5 + x^3 + 1: the generator as a 9-bit register value.
constexpr uint32_t kPlesseyGenerator = 0x1E9;
constexpr uint32_t kRegisterTop = 0x100;
constexpr uint32_t kRegisterMask = 0x1FF;
constexpr char kHexDigits[] = "0123456789ABCDEF";

// MSI variants that take a second check digit.
constexpr int32_t kBelgian = 1;
constexpr int32_t kMsi1010 = 2;

void zer() {
    gEl.put(static_cast<unsigned char>(kNarrowBar + gSym.BW));
    gEl.put(kWideSpace);
}

void onT() {
    gEl.put(static_cast<unsigned char>(kWideBar + gSym.BW));
    gEl.put(kNarrowSpace);
}

void bit(bool one) { one ? onT() : zer(); }

int32_t hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

void Ples(int32_t index) {
    const int32_t value = hexValue(gData.chMainCode[index]);
    if (value < 0) return;
    for (int32_t b = 0; b < kBitsPerCharacter; ++b) bit((value >> b) & 1);
}

void MSIgen(int32_t index) {
    const int32_t value = hexValue(gData.chMainCode[index]);
    if (value < 0) return;
    for (int32_t b = kBitsPerCharacter - 1; b >= 0; --b) bit((value >> b) & 1);
}

// Appends c to the data; false when the buffer is full.
bool appendToData(char c) {
    if (gData.len1 < 0 || gData.len1 + 2 > static_cast<int32_t>(kMainCodeSize)) return false;
    gData.chMainCode[gData.len1++] = c;
    gData.chMainCode[gData.len1] = 0;
    ++gData.len11;
    return true;
}

int32_t dataLen() { return static_cast<int32_t>(strnlen(gData.chMainCode, kMainCodeSize - 1)); }

}  // namespace

// The two Plessey check characters: the remainder of the data bits (least
// significant first, eight 0 bits behind) divided by the generator.
bool generateCRCCheck(const char* data, int32_t n, char check[2]) {
    uint32_t reg = 0;
    auto shiftIn = [&reg](uint32_t b) {
        reg = ((reg << 1) | b) & kRegisterMask;
        if (reg & kRegisterTop) reg ^= kPlesseyGenerator;
    };
    for (int32_t i = 0; i < n; ++i) {
        const int32_t value = hexValue(data[i]);
        if (value < 0) return false;
        for (int32_t b = 0; b < kBitsPerCharacter; ++b) shiftIn((value >> b) & 1);
    }
    for (int32_t b = 0; b < kPlesseyCheckBits; ++b) shiftIn(0);
    // Each group of four check bits, in the order computed, read least
    // significant bit first: encoding the digit writes the bits in that order.
    for (int32_t g = 0; g < kPlesseyCheckChars; ++g) {
        int32_t digit = 0;
        for (int32_t b = 0; b < kBitsPerCharacter; ++b) {
            const int32_t shift = kPlesseyCheckBits - 1 - (g * kBitsPerCharacter + b);
            digit |= static_cast<int32_t>((reg >> shift) & 1) << b;
        }
        check[g] = kHexDigits[digit];
    }
    return true;
}

int32_t Plessey() {
    gData.len1 = dataLen();
    if (gData.len1 == 0) return refuseSymbol("Plessey needs data.");
    for (int32_t i = 0; i < gData.len1; ++i)
        if (hexValue(gData.chMainCode[i]) < 0)
            return refuseSymbol(
                "Plessey data may hold the digits 0 to 9 and the letters A to F only. Correct "
                "the data and try again.");
    const bool withCheck = gSym.nCheck == 0;
    if (withCheck) {
        char check[kPlesseyCheckChars];
        generateCRCCheck(gData.chMainCode, gData.len1, check);
        if (!appendToData(check[0]) || !appendToData(check[1]))
            return refuseSymbol("The data is too long for this symbol. Shorten it and try again.");
    }
    for (bool b : {true, true, false, true}) bit(b);  // start
    for (int32_t i = 0; i < gData.len1; ++i) Ples(i);
    // Termination bar, then the reversed start.
    gEl.put(static_cast<unsigned char>(kWideBar + gSym.BW));
    gEl.put(kWideSpace);
    zer();
    gEl.put(static_cast<unsigned char>(kNarrowBar + gSym.BW));
    gEl.put(kNarrowSpace);
    onT();
    onT();
    Vector(kRowUnit10pt);
    // The text line shows the data without the check characters.
    if (withCheck) {
        gData.len1 -= kPlesseyCheckChars;
        gData.len11 -= kPlesseyCheckChars;
    }
    if (gSym.human == 1) Humans1();
    return gEl.overflow ? 1 : 0;
}

int32_t MSI() {
    const int32_t v = gSym.variation1;
    gData.len1 = dataLen();
    // A letter has bits but no place in the check digit: MSI is numeric.
    if (!allDigits(gData.chMainCode, gData.len1))
        return refuseSymbol(
            "MSI data may hold digits only. Remove the other characters and try again.");
    const bool withCheck = gSym.nCheck == 0;
    if (withCheck) {
        bool fits = appendToData(MSICheckMod10(gData.chMainCode, gData.len1));
        if (fits && (v == kBelgian || v == kMsi1010))
            fits = appendToData(MSICheckMod10(gData.chMainCode, gData.len1));
        if (!fits)
            return refuseSymbol("The data is too long for this symbol. Shorten it and try again.");
    }
    onT();  // start
    for (int32_t i = 0; i < gData.len1; ++i) MSIgen(i);
    zer();  // stop
    zer();
    Vector(kRowUnit10pt);
    // The text line shows the first check digit of the two-check variants.
    if (withCheck) {
        --gData.len1;
        --gData.len11;
    }
    if (gSym.human == 1) Humans1();
    return gEl.overflow ? 1 : 0;
}
