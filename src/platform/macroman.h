// Mac OS Roman, the character set of the program's data, and its way to
// Unicode, UTF-8, Latin-1 and Windows-1252. Bytes below 128 are ASCII.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// The Unicode character of a Mac OS Roman byte.
char32_t macRomanToUnicode(unsigned char b);
// The Mac OS Roman byte of a Unicode character, or -1 when the set has none.
int unicodeToMacRoman(char32_t c);

// Mac OS Roman bytes to UTF-8; every byte has a character, so this cannot fail.
std::string macRomanToUtf8(std::string_view macRoman);
// UTF-8 to Mac OS Roman. Returns false, leaving *out holding the bytes converted so
// far, at malformed UTF-8 or at a character Mac OS Roman cannot hold; *badOffset
// (when given) receives the offset of that character in utf8.
bool utf8ToMacRoman(std::string_view utf8, std::string* out, size_t* badOffset = nullptr);
// UTF-8 to Mac OS Roman for showing (a file name in a window's title): a
// character the set lacks, or a byte that is no UTF-8, becomes '?' and the rest
// is kept.
std::string utf8ToMacRomanShown(std::string_view utf8);
// The bytes of the UTF-8 character at utf8[at]: 1 for a byte that is no UTF-8,
// which utf8ToMacRomanShown shows as one '?'.
size_t utf8CharacterBytes(std::string_view utf8, size_t at);

// The ISO 8859-1 (Latin-1) and Windows-1252 byte of a Mac OS Roman byte, or -1
// when that set has no such character.
int macRomanToLatin1(unsigned char b);
int macRomanToWindows1252(unsigned char b);

// The bytes that a two-dimensional symbol carries for Mac OS Roman text. Readers
// take bytes that no ECI announces as ISO 8859-1, so text that Latin-1 holds goes
// as Latin-1 with no ECI; any other text goes whole as UTF-8 under ECI 26.
constexpr int kEciUtf8 = 26;
struct SymbolBytes {
    std::string bytes;
    bool utf8 = false;  // true: announce ECI 26
};
SymbolBytes macRomanToSymbolBytes(std::string_view macRoman);

}  // namespace platform
