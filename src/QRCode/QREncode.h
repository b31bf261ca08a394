// QR Code model 2 encoder (code type 40): segments the data into numeric,
// alphanumeric, byte and Kanji modes, picks the smallest version from the
// minimum asked for, adds the Reed-Solomon codewords, builds the module matrix
// with the best mask and writes it to the element list as block letters.
#pragma once

#include <cstdint>

#include "QRCode/QRTables.h"
#include "symbology/state.h"

namespace qrencode {

enum QRMode : int32_t {
    QR_MODE_NUMERAL = 0,
    QR_MODE_ALPHABET = 1,
    QR_MODE_8BIT = 2,
    QR_MODE_KANJI = 3
};

// Module flags while the matrix is built; at the end a module is 1 (dark) or 0.
constexpr uint8_t kModuleFunction = 0x20;
constexpr uint8_t kModuleFunctionDark = 0x10;
constexpr uint8_t kModuleData = 0x02;
constexpr uint8_t kModuleMasked = 0x01;

// The working state of one symbol; rebuilt by every call.
struct QRState {
    int32_t m_nLevel = 0;  // 0 L, 1 M, 2 Q, 3 H
    int32_t m_nVersion = 0;
    int32_t m_nSymbolSize = 0;
    int32_t m_nMaskingNo = -1;  // -1 = choose by penalty
    // The data reads as Shift-JIS (only guessed for foreign bytes, gQROrigin):
    // Kanji mode is used and bytes go as they are.
    // Otherwise it is Mac OS Roman, converted to Latin-1 for the readers, or to
    // UTF-8 under an ECI header when Latin-1 lacks one of its characters.
    bool m_bShiftJis = false;
    bool m_bUtf8ECI = false;
    uint8_t m_bySource[kMainCodeSize * 3] = {};  // the bytes that are encoded
    uint8_t m_byDataCodeWord[MAX_DATACODEWORD] = {};
    int32_t m_ncDataCodeWordBit = 0;  // bits written, -1 after an overflow
    uint8_t m_byAllCodeWord[MAX_ALLCODEWORD] = {};
    int32_t m_ncAllCodeWord = 0;
    uint8_t m_byRSWork[MAX_CODEBLOCK] = {};
    uint8_t m_byModuleData[MAX_MODULESIZE][MAX_MODULESIZE] = {};  // [column][row]
};
extern QRState gQR;

// Where the data comes from. Typed text and text given in UTF-8 are Mac OS Roman
// by the time they get here, and accented Latin words can look like Shift-JIS
// pairs ("r\x8Esum\x8E"): only the bytes of an import field that did not read as
// UTF-8 may be in another character set (a file written in Shift-JIS).
struct QRDataOrigin {
    bool foreignBytes = false;  // the data may hold such bytes: Shift-JIS is guessed
};
extern QRDataOrigin gQROrigin;

// 1 when a symbol was built into gQR, 0 when not (the user has been told why).
int32_t encodeData(const char* data, int32_t length, int32_t level, int32_t minVersion,
                   int32_t autoExtend, int32_t mask);
// The Reed-Solomon division: the ecCount codewords are written behind the
// dataCount data codewords of block. A count outside 1..MAX_RSCODEWORD writes nothing.
void GetRSCodeWord(uint8_t* block, int32_t dataCount, int32_t ecCount);

}  // namespace qrencode
