#include <cstring>

#include "symbol_support.h"
#include "symbology/Filters.h"
#include "symbology/ISBN.h"
#include "symbology/encoders.h"

using namespace symtest;

namespace {

using Books = World;

std::string header() { return std::string(gData.chHeadCode, static_cast<size_t>(gData.len3)); }

// The header above the symbol; the numbers themselves are read back with the
// rest of the EAN family.
TEST_F(Books, Headers) {
    for (const auto& c : testsupport::readCases("symbology/isbn_headers.txt", 5)) {
        SCOPED_TRACE(c.where);
        SetUp();
        gSym.code = c.integer(0);
        gSym.variation1 = c.integer(1);
        if (c[2][0] == '-')
            pstrSet(gSym.fontBelow, c[2].c_str() + 1);
        else if (!c[2].empty())
            pstrSet(gSym.fontAbove, c[2].c_str());
        setData(c[3]);
        ASSERT_EQ(gSym.code == 2 ? ISSN() : ISBN(), 0);
        EXPECT_EQ(header().substr(0, c[4].size()), c[4]);
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
    const std::string typed = "978" + std::string(60, '-') + "186197271";
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

// The header spells the number as it was typed, whole: the dispatcher's cut of
// the data to its twelve digits does not cut the typed form, and a typed check
// digit is not written twice.
TEST_F(Books, TypedNumberIsSpelledWhole) {
    const struct {
        int32_t variant;
        const char* typed;
        const char* header;
    } cases[] = {
        {3, "978-3-16-148410", "[_]^ 978-3-16-148410-0"},
        {3, "978-3-16-148410-0", "[_]^ 978-3-16-148410-0"},
        {3, "978 0 306 40615 7", "[_]^ 978-0-306-40615-7"},
        {2, "979-0-2600-0043", "[_`^ 979-0-2600-0043-8"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        SetUp();
        gSym.code = 1;
        gSym.variation1 = c.variant;
        Gettw(c.typed, static_cast<int32_t>(std::strlen(c.typed)), "", 0);
        ASSERT_EQ(STRixel(), 0) << gMsg.last;
        EXPECT_EQ(header(), c.header);
    }
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
