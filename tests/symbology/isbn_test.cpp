#include "ean_support.h"

#include "symbology/ISBN.h"
#include "symbology/encoders.h"

using namespace eantest;

namespace {

using Books = World;

std::string header() { return std::string(gData.chHeadCode, static_cast<size_t>(gData.len3)); }

TEST_F(Books, IsbnTenReadsBackAsIsbnThirteen) {
    gSym.code = 1;
    setData("030640615");
    ASSERT_EQ(ISBN(), 0);
    EXPECT_EQ(readBack("EAN-13").text, "9780306406157");
    EXPECT_EQ(zbarRead("isbn"), "9780306406157\n");
    EXPECT_EQ(header(), "[_]^ 0-306-40615-2");
    EXPECT_EQ(gData.chHeadCode[gData.len3], 13);
    EXPECT_EQ(gData.chHeadCode[gData.len3 + 1], '7');  // the EAN check digit behind the 13
    EXPECT_EQ(textLine(), std::string("9") + S(8) + "780306" + S(4) + "406157" + S(3) + "<");

    // ISBN-13 from an ISBN-10 and the OCR-B type K layout make the same symbol.
    for (int v : {1, 4}) {
        SetUp();
        gSym.code = 1;
        gSym.variation1 = v;
        setData("030640615");
        ASSERT_EQ(ISBN(), 0);
        EXPECT_EQ(readBack("EAN-13").text, "9780306406157");
        EXPECT_EQ(header(), "[_]^ 0-306-40615-2");
    }
}

TEST_F(Books, IsbnCheckXAndPlainLetters) {
    gSym.code = 1;
    pstrSet(gSym.fontAbove, "OCR-ANormal");
    setData("080442957");
    ASSERT_EQ(ISBN(), 0);
    EXPECT_EQ(header(), "ISBN 0-8044-2957-X");
    EXPECT_EQ(readBack("EAN-13").text, "9780804429573");
}

TEST_F(Books, IsbnThirteen) {
    gSym.code = 1;
    gSym.variation1 = 3;
    setData("978186197271");
    ASSERT_EQ(ISBN(), 0);
    EXPECT_EQ(header(), "[_]^ 978-1-86197-271-2");
    EXPECT_EQ(readBack("EAN-13").text, "9781861972712");

    // Separators typed by the user are kept, spaces become '-'.
    SetUp();
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
    std::string typed = "978-1-86197-271" + std::string(60, '-');
    std::strcpy(gData.chMainCode2, typed.c_str());
    gData.len11 = static_cast<int32_t>(typed.size());
    EXPECT_EQ(ISBN(), 1);
    EXPECT_EQ(gEl.cu_len, 0);
    EXPECT_NE(gMsg.last.find("too long"), std::string::npos);
}

TEST_F(Books, HyphenationRanges) {
    struct Case {
        const char* number;  // 12 digits; a leading '8' asks for the ISBN-10 form
        const char* hyphenated;
    };
    for (const Case& c : {
             Case{"878030640615", "0-306-40615-c"},
             Case{"878390123456", "3-901234-56-c"},
             Case{"978100012345", "978-1-00-012345-c"},
             Case{"978154991234", "978-1-5499-1234-c"},
             Case{"978155001234", "978-1-55001-234-c"},
             Case{"978284123456", "978-2-84123-456-c"},
             Case{"878889712345", "88-97123-45-c"},
             Case{"878889412345", "88-941234-5-c"},
             Case{"878881234567", "88-12-34567-c"},
             Case{"878908112345", "90-811234-5-c"},
             Case{"878919512345", "91-9512-345-c"},
             Case{"878911234567", "91-1-234567-c"},
             Case{"878965951234", "965-95123-4-c"},
             Case{"878981401234", "981-4012-34-c"},
             Case{"878996495123", "9964-951-23-c"},
             Case{"878997699912", "9976-9991-2-c"},
             Case{"878998299123", "9982-9912-3-c"},
             Case{"878998281234", "9982-812-34-c"},
         }) {
        std::memset(gData.chHeadCode, 0, sizeof gData.chHeadCode);
        ASSERT_EQ(hyphenate(c.number, 'c'), 1) << c.number;
        EXPECT_EQ(header().substr(5), c.hyphenated) << c.number;
    }
    for (const char* none : {"878908212345", "878965961234", "878981411234", "878512345678",
                             "878601234567", "878871234567", "878993012345"}) {
        EXPECT_EQ(hyphenate(none, 'c'), 0) << none;
    }
}

TEST_F(Books, FallbackHyphenation) {
    struct Case {
        const char* data;
        const char* head;
    };
    for (const Case& c :
         {Case{"512345678", "[_]^ 5-12-345678-3"}, Case{"545678901", "[_]^ 5-456-78901-9"},
          Case{"596012345", "[_]^ 5-9601234-5-2"}, Case{"591234567", "[_]^ 5-912345-67-%"}}) {
        SetUp();
        gSym.code = 1;
        setData(c.data);
        ASSERT_EQ(ISBN(), 0) << c.data;
        EXPECT_EQ(header(), c.head) << c.data;
    }
}

TEST_F(Books, Ismn) {
    gSym.code = 1;
    gSym.variation1 = 2;
    setData("979026000043");
    ASSERT_EQ(ISBN(), 0);
    EXPECT_EQ(header(), "[_`^ 979-0-2600-0043-8");
    EXPECT_EQ(readBack("EAN-13").text, "9790260000438");
    EXPECT_EQ(zbarRead("ismn"), "9790260000438\n");

    SetUp();
    gSym.code = 1;
    gSym.variation1 = 2;
    pstrSet(gSym.fontBelow, "Helvetica");
    setData("979090123456");
    ASSERT_EQ(ISBN(), 0);
    EXPECT_EQ(header().substr(0, 20), "ISMN 979-0-9012345-6");
}

TEST_F(Books, Issn) {
    gSym.code = 2;
    setData("0317847", "05");
    ASSERT_EQ(ISSN(), 0);
    EXPECT_EQ(header(), "[__^ 0317-8471");
    EXPECT_STREQ(gData.chMainCode, "9770317847001");
    EXPECT_EQ(readBack("EAN-13", true).text, "9770317847001 05");
    EXPECT_EQ(zbarRead("issn", true), "05\n9770317847001\n");
    EXPECT_EQ(textLine(), std::string("9") + S(8) + "770317" + S(4) + "847001" + S(3) + "?=?=");

    // Issue digits from the data; an ISSN whose check value is 10 prints X.
    SetUp();
    gSym.code = 2;
    setData("000000612");
    ASSERT_EQ(ISSN(), 0);
    EXPECT_EQ(header(), "[__^ 0000-006%");
    EXPECT_EQ(readBack("EAN-13").text.substr(0, 12), "977000000612");

    SetUp();
    gSym.code = 2;
    setData("00000061X");
    EXPECT_EQ(ISSN(), 1);
    EXPECT_EQ(gEl.cu_len, 0);
}

}  // namespace
