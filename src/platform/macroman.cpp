#include "platform/macroman.h"

#include <array>

namespace platform {
namespace {

// Unicode of the Mac OS Roman bytes 128 to 255 (0xDB is the euro sign, as Mac OS
// has had it since 8.5; 0xF0 is the Apple logo in the private use area).
constexpr char16_t kHighHalf[128] = {
    0x00C4, 0x00C5, 0x00C7, 0x00C9, 0x00D1, 0x00D6, 0x00DC, 0x00E1,  // 80
    0x00E0, 0x00E2, 0x00E4, 0x00E3, 0x00E5, 0x00E7, 0x00E9, 0x00E8,  // 88
    0x00EA, 0x00EB, 0x00ED, 0x00EC, 0x00EE, 0x00EF, 0x00F1, 0x00F3,  // 90
    0x00F2, 0x00F4, 0x00F6, 0x00F5, 0x00FA, 0x00F9, 0x00FB, 0x00FC,  // 98
    0x2020, 0x00B0, 0x00A2, 0x00A3, 0x00A7, 0x2022, 0x00B6, 0x00DF,  // A0
    0x00AE, 0x00A9, 0x2122, 0x00B4, 0x00A8, 0x2260, 0x00C6, 0x00D8,  // A8
    0x221E, 0x00B1, 0x2264, 0x2265, 0x00A5, 0x00B5, 0x2202, 0x2211,  // B0
    0x220F, 0x03C0, 0x222B, 0x00AA, 0x00BA, 0x03A9, 0x00E6, 0x00F8,  // B8
    0x00BF, 0x00A1, 0x00AC, 0x221A, 0x0192, 0x2248, 0x2206, 0x00AB,  // C0
    0x00BB, 0x2026, 0x00A0, 0x00C0, 0x00C3, 0x00D5, 0x0152, 0x0153,  // C8
    0x2013, 0x2014, 0x201C, 0x201D, 0x2018, 0x2019, 0x00F7, 0x25CA,  // D0
    0x00FF, 0x0178, 0x2044, 0x20AC, 0x2039, 0x203A, 0xFB01, 0xFB02,  // D8
    0x2021, 0x00B7, 0x201A, 0x201E, 0x2030, 0x00C2, 0x00CA, 0x00C1,  // E0
    0x00CB, 0x00C8, 0x00CD, 0x00CE, 0x00CF, 0x00CC, 0x00D3, 0x00D4,  // E8
    0xF8FF, 0x00D2, 0x00DA, 0x00DB, 0x00D9, 0x0131, 0x02C6, 0x02DC,  // F0
    0x00AF, 0x02D8, 0x02D9, 0x02DA, 0x00B8, 0x02DD, 0x02DB, 0x02C7,  // F8
};

// Windows-1252 bytes 128 to 159, 0 where the code page leaves the byte unused.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

// Characters that other systems write for the same Mac OS Roman glyph.
struct Alias {
    char32_t c;
    unsigned char b;
};
constexpr Alias kAliases[] = {
    {0x2126, 0xBD},  // OHM SIGN for the capital omega
    {0x0394, 0xC6},  // GREEK CAPITAL DELTA for the increment sign
    {0x03BC, 0xB5},  // GREEK SMALL MU for the micro sign
};

void appendUtf8(char32_t c, std::string* out) {
    if (c < 0x80) {
        out->push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out->push_back(static_cast<char>(0xC0 | (c >> 6)));
        out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        // Every Mac OS Roman character lies in the Basic Multilingual Plane.
        out->push_back(static_cast<char>(0xE0 | (c >> 12)));
        out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// Decodes one UTF-8 character at s[*i]; false for a malformed or overlong sequence.
bool nextUtf8(std::string_view s, size_t* i, char32_t* c) {
    const unsigned char b0 = static_cast<unsigned char>(s[*i]);
    int extra;
    char32_t v;
    if (b0 < 0x80) {
        extra = 0;
        v = b0;
    } else if ((b0 & 0xE0) == 0xC0) {
        extra = 1;
        v = b0 & 0x1F;
    } else if ((b0 & 0xF0) == 0xE0) {
        extra = 2;
        v = b0 & 0x0F;
    } else if ((b0 & 0xF8) == 0xF0) {
        extra = 3;
        v = b0 & 0x07;
    } else {
        return false;
    }
    if (*i + static_cast<size_t>(extra) >= s.size()) return false;  // cut short
    for (int k = 1; k <= extra; ++k) {
        const unsigned char b = static_cast<unsigned char>(s[*i + k]);
        if ((b & 0xC0) != 0x80) return false;
        v = (v << 6) | (b & 0x3F);
    }
    static constexpr char32_t kMinimum[] = {0, 0x80, 0x800, 0x10000};
    if (v < kMinimum[extra] || v > 0x10FFFF || (v >= 0xD800 && v <= 0xDFFF)) return false;
    *i += static_cast<size_t>(extra) + 1;
    *c = v;
    return true;
}

}  // namespace

char32_t macRomanToUnicode(unsigned char b) { return b < 0x80 ? b : kHighHalf[b - 0x80]; }

int unicodeToMacRoman(char32_t c) {
    if (c < 0x80) return static_cast<int>(c);
    for (int i = 0; i < 128; ++i)
        if (kHighHalf[i] == c) return 0x80 + i;
    for (const Alias& a : kAliases)
        if (a.c == c) return a.b;
    return -1;
}

std::string macRomanToUtf8(std::string_view macRoman) {
    std::string out;
    out.reserve(macRoman.size() * 2);
    for (char ch : macRoman) appendUtf8(macRomanToUnicode(static_cast<unsigned char>(ch)), &out);
    return out;
}

bool utf8ToMacRoman(std::string_view utf8, std::string* out, size_t* badOffset) {
    out->clear();
    size_t i = 0;
    while (i < utf8.size()) {
        const size_t at = i;
        char32_t c = 0;
        int b = nextUtf8(utf8, &i, &c) ? unicodeToMacRoman(c) : -1;
        if (b < 0) {
            if (badOffset) *badOffset = at;
            return false;
        }
        out->push_back(static_cast<char>(b));
    }
    return true;
}

std::string utf8ToMacRomanShown(std::string_view utf8) {
    std::string out;
    size_t i = 0;
    while (i < utf8.size()) {
        const size_t at = i;
        char32_t c = 0;
        int b = -1;
        if (nextUtf8(utf8, &i, &c))
            b = unicodeToMacRoman(c);
        else
            i = at + 1;  // a stray byte: one '?' each
        out.push_back(b < 0 ? '?' : static_cast<char>(b));
    }
    return out;
}

size_t utf8CharacterBytes(std::string_view utf8, size_t at) {
    size_t next = at;
    char32_t c = 0;
    return nextUtf8(utf8, &next, &c) ? next - at : 1;
}

int macRomanToLatin1(unsigned char b) {
    const char32_t c = macRomanToUnicode(b);
    return c < 0x100 ? static_cast<int>(c) : -1;
}

SymbolBytes macRomanToSymbolBytes(std::string_view macRoman) {
    SymbolBytes out;
    out.bytes.reserve(macRoman.size());
    for (char ch : macRoman) {
        const int latin1 = macRomanToLatin1(static_cast<unsigned char>(ch));
        if (latin1 < 0) return {macRomanToUtf8(macRoman), true};
        out.bytes.push_back(static_cast<char>(latin1));
    }
    return out;
}

int macRomanToWindows1252(unsigned char b) {
    const char32_t c = macRomanToUnicode(b);
    if (c < 0x80 || (c >= 0xA0 && c < 0x100)) return static_cast<int>(c);
    for (int i = 0; i < 32; ++i)
        if (kCp1252High[i] != 0 && kCp1252High[i] == c) return 0x80 + i;
    return -1;
}

}  // namespace platform
