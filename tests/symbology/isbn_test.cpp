#include <cstring>

#include "symbol_support.h"
#include "symbology/ISBN.h"
#include "symbology/encoders.h"

using namespace symtest;

namespace {

using Books = World;

std::string header() { return std::string(gData.chHeadCode, static_cast<size_t>(gData.len3)); }

// The header above the symbol; the numbers themselves are read back with the
// rest of the EAN family.
TEST_F(Books, Headers) {
    const struct {
        int code, v;
        const char* font;  // above, else below when it starts with '-'
        const char* data;
        const char* head;
    } cases[] = {
        {1, 0, "", "030640615", "[_]^ 0-306-40615-2"},
        {1, 1, "", "030640615", "[_]^ 0-306-40615-2"},
        {1, 4, "", "030640615", "[_]^ 0-306-40615-2"},
        {1, 0, "OCR-ANormal", "080442957", "ISBN 0-8044-2957-X"},
        {1, 3, "", "978186197271", "[_]^ 978-1-86197-271-2"},
        {1, 2, "", "979026000043", "[_`^ 979-0-2600-0043-8"},
        {1, 2, "-Helvetica", "979090123456", "ISMN 979-0-9012345-6"},
        {2, 0, "", "0317847", "[__^ 0317-8471"},
        // Issue digits from the data; an ISSN whose check value is 10 prints X.
        {2, 0, "", "000000612", "[__^ 0000-006%"},
        // Fallback hyphenation outside the ranges.
        {1, 0, "", "512345678", "[_]^ 5-12-345678-3"},
        {1, 0, "", "545678901", "[_]^ 5-456-78901-9"},
        {1, 0, "", "596012345", "[_]^ 5-9601234-5-2"},
        {1, 0, "", "591234567", "[_]^ 5-912345-67-%"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.data);
        SetUp();
        gSym.code = c.code;
        gSym.variation1 = c.v;
        if (c.font[0] == '-')
            pstrSet(gSym.fontBelow, c.font + 1);
        else if (c.font[0])
            pstrSet(gSym.fontAbove, c.font);
        setData(c.data);
        ASSERT_EQ(c.code == 2 ? ISSN() : ISBN(), 0);
        EXPECT_EQ(header().substr(0, std::strlen(c.head)), c.head);
    }
}

TEST_F(Books, EanCheckDigitBehindTheHeader) {
    gSym.code = 1;
    setData("030640615");
    ASSERT_EQ(ISBN(), 0);
    EXPECT_EQ(gData.chHeadCode[gData.len3], 13);
    EXPECT_EQ(gData.chHeadCode[gData.len3 + 1], '7');
}

TEST_F(Books, TypedSeparatorsAndRefusals) {
    // Separators typed by the user are kept, spaces become '-'.
    gSym.code = 1;
    gSym.variation1 = 3;
    setData("978186197271");
    std::strcpy(gData.chMainCode2, "978 18 6197-271");
    gData.len11 = 15;
    ASSERT_EQ(ISBN(), 0);
    EXPECT_EQ(header(), "[_]^ 978-18-6197-271-2");

    // A typed form that does not fit the header is refused, not cut.
    SetUp();
    gSym.code = 1;
    gSym.variation1 = 3;
    setData("978186197271");
    const std::string typed = "978-1-86197-271" + std::string(60, '-');
    copyBounded(gData.chMainCode2, typed.c_str());
    gData.len11 = static_cast<int32_t>(typed.size());
    EXPECT_EQ(ISBN(), 1);
    EXPECT_EQ(gEl.cu_len, 0);
    EXPECT_NE(gMsg.last.find("too long"), std::string::npos);

    SetUp();
    gSym.code = 2;
    setData("00000061X");
    EXPECT_EQ(ISSN(), 1);
    EXPECT_EQ(gEl.cu_len, 0);
}

TEST_F(Books, HyphenationRanges) {
    for (const auto& c : testsupport::readCases("symbology/isbn_hyphenation.txt", 2)) {
        std::memset(gData.chHeadCode, 0, sizeof gData.chHeadCode);
        if (c[1] == "-") {
            EXPECT_EQ(hyphenate(c[0].c_str(), 'c'), 0) << c[0];
            continue;
        }
        ASSERT_EQ(hyphenate(c[0].c_str(), 'c'), 1) << c[0];
        EXPECT_EQ(header().substr(5), c[1]) << c[0];
    }
}

}  // namespace
