// Which character set the data of a QR Code is in.
//
// The program's data is Mac OS Roman, but a Shift-JIS text (Japanese, read from a
// file) arrives as the same kind of bytes, and the two overlap: the accented
// letter 0x8F ('è') followed by 'm' is also a valid Shift-JIS Kanji. The data is
// therefore read as one or the other as a whole, never pair by pair.
#pragma once

#include <cstdint>

namespace qrcharset {

// A Shift-JIS double-byte character of the range that Kanji mode holds
// (0x8140-0x9FFC, 0xE040-0xEBBF, trail byte 0x40-0xFC without 0x7F).
bool isShiftJisKanji(uint8_t c1, uint8_t c2);

// True when the data reads as Shift-JIS text: every byte of 0x80 or more is part
// of a Kanji-mode double-byte character or is a half-width katakana, and some run
// of two or more double-byte characters does not look like accented letters
// inside Latin words (a run looks Latin when every trail byte is an ASCII letter,
// all of one case, and the run is shorter than four).
bool readsAsShiftJis(const uint8_t* data, int32_t length);

}  // namespace qrcharset
