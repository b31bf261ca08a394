#include <gtest/gtest.h>
#include <iconv.h>

#include <string>

#include "platform/macroman.h"

namespace {

using namespace platform;

// One byte through the C library's converter; 0 when it has no answer.
char32_t viaIconv(const char* from, unsigned char b) {
    iconv_t cd = iconv_open("UTF-32LE", from);
    EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1)) << from;
    char in = static_cast<char>(b);
    unsigned char out[8] = {};
    char* inp = &in;
    char* outp = reinterpret_cast<char*>(out);
    size_t inLeft = 1, outLeft = sizeof out;
    const size_t r = iconv(cd, &inp, &inLeft, &outp, &outLeft);
    iconv_close(cd);
    if (r == static_cast<size_t>(-1)) return 0;
    return out[0] | (out[1] << 8) | (out[2] << 16);
}

TEST(MacRoman, TableAgreesWithTheCLibrary) {
    for (int b = 0; b < 256; ++b) {
        // glibc takes the Greek capital delta for the increment sign and another
        // private-use code for the Apple logo; Apple's own table is ours.
        if (b == 0xC6 || b == 0xF0) continue;
        EXPECT_EQ(macRomanToUnicode(static_cast<unsigned char>(b)),
                  viaIconv("MACINTOSH", static_cast<unsigned char>(b)))
            << "byte " << b;
    }
    EXPECT_EQ(macRomanToUnicode(0xC6), U'\u2206');
    EXPECT_EQ(macRomanToUnicode(0xDB), U'\u20AC');
    EXPECT_EQ(unicodeToMacRoman(U'\u0394'), 0xC6);  // what glibc writes comes back
}

TEST(MacRoman, EveryByteRoundTripsThroughUtf8) {
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    const std::string utf8 = macRomanToUtf8(all);
    std::string back;
    ASSERT_TRUE(utf8ToMacRoman(utf8, &back));
    EXPECT_EQ(back, all);
    EXPECT_EQ(macRomanToUtf8("M\x8Arz \xDB"), "M\xC3\xA4rz \xE2\x82\xAC");
}

TEST(MacRoman, Utf8ItCannotHoldIsRefusedWithItsPlace) {
    std::string out;
    size_t at = 99;
    EXPECT_FALSE(utf8ToMacRoman("ab\xE4\xB8\xAD", &out, &at));  // a CJK character
    EXPECT_EQ(at, 2u);
    EXPECT_EQ(out, "ab");
    for (const char* bad : {"\xC3", "\xC0\xAF", "\xED\xA0\x80", "\xFF", "a\x80"}) {
        EXPECT_FALSE(utf8ToMacRoman(bad, &out, &at)) << bad;
    }
    EXPECT_FALSE(utf8ToMacRoman("\xF0\x9F\x98\x80", &out));  // outside the BMP
}

TEST(MacRoman, Latin1AndWindows1252) {
    for (int b = 0; b < 256; ++b) {
        const unsigned char m = static_cast<unsigned char>(b);
        const int latin1 = macRomanToLatin1(m);
        const int cp1252 = macRomanToWindows1252(m);
        if (latin1 >= 0) {
            EXPECT_EQ(viaIconv("ISO-8859-1", static_cast<unsigned char>(latin1)),
                      macRomanToUnicode(m));
            EXPECT_EQ(cp1252, latin1) << b;  // 1252 holds all of Latin-1's printable set
        }
        if (cp1252 >= 0) {
            EXPECT_EQ(viaIconv("CP1252", static_cast<unsigned char>(cp1252)), macRomanToUnicode(m));
        }
    }
    EXPECT_EQ(macRomanToLatin1(0xA5), -1);  // bullet
    EXPECT_EQ(macRomanToWindows1252(0xA5), 0x95);
    EXPECT_EQ(macRomanToWindows1252(0xDB), 0x80);  // euro
    EXPECT_EQ(macRomanToWindows1252(0xAD), -1);    // not-equal sign
    EXPECT_EQ(macRomanToLatin1(0x8A), 0xE4);
}

}  // namespace
