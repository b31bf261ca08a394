#include "symbol_support.h"
#include "symbology/encoders.h"

using namespace symtest;

namespace {

using UpcA = World;
using UpcE = World;

TEST_F(UpcA, RefusesNonDigits) {
    gSym.code = 10;
    setData("0360002914X");
    EXPECT_EQ(UPCA(), 1);
    EXPECT_EQ(gMsg.last,
              "UPC-a data may hold digits only. Remove the other characters and try again.");
    EXPECT_EQ(gEl.cu_len, 0);
}

TEST_F(UpcE, FromTheSevenDigitForm) {
    gSym.code = 11;
    setData("0123456");
    ASSERT_EQ(UPRecon(), 0);
    EXPECT_STREQ(gData.chMainCode, "01234500006");
    EXPECT_STREQ(gData.chMainCode2, "01234500006");
    EXPECT_EQ(gData.len11, 11);

    // Each expansion group reads back as the digits it came from.
    for (const char* e : {"0123450", "0123451", "0123452", "0123453", "0123454", "1123459"}) {
        SetUp();
        gSym.code = 11;
        setData(e);
        ASSERT_EQ(UPRecon(), 0) << e;
        ASSERT_EQ(UPCE(), 0) << e;
        EXPECT_EQ(std::string(gData.chMainCode).substr(0, 7), e);
        EXPECT_EQ(readBack("UPC-E").text.substr(0, 7), e);
    }
}

TEST_F(UpcE, NumbersThatCannotBeSuppressedGiveMessage65) {
    ASSERT_FALSE(messageText(65).empty());
    for (const char* data : {"01234000015", "21234500006", "91200000567"}) {
        SetUp();
        gSym.code = 11;
        setData(data);
        EXPECT_EQ(UPCE(), 1) << data;
        EXPECT_EQ(gMsg.last, messageText(65));
        EXPECT_EQ(gEl.cu_len, 0);
    }
    // The seven-digit form with another number system is refused, not read as 0.
    SetUp();
    setData("2123456");
    EXPECT_EQ(UPRecon(), 1);
    EXPECT_EQ(gMsg.last, messageText(65));
    EXPECT_STREQ(gData.chMainCode, "2123456");

    SetUp();
    setData("012345");
    EXPECT_EQ(UPRecon(), 1);
    EXPECT_EQ(gMsg.last, "UPC-e needs 7 digits.");
}

}  // namespace
