#include "ean_support.h"

#include "symbology/encoders.h"

using namespace eantest;

namespace {

using UpcA = World;
using UpcE = World;

TEST_F(UpcA, ReadsBack) {
    gSym.code = 10;
    setData("03600029145");
    ASSERT_EQ(UPCA(), 0);
    EXPECT_EQ(readBack("UPC-A").text, "036000291452");
    EXPECT_EQ(zbarRead("upca"), "0036000291452\n");
    EXPECT_STREQ(gData.chMainCode, "0036000291452");
    EXPECT_STREQ(gData.chMainCode2, "003600029145");  // the printed copy got its zero too

    SetUp();
    gSym.code = 10;
    setData("03600029145", "52495");
    ASSERT_EQ(UPCA(), 0);
    EXPECT_EQ(readBack("UPC-A", true).text, "036000291452 52495");
}

TEST_F(UpcA, GuardRowAndTextLines) {
    gSym.code = 10;
    setData("03600029145");
    ASSERT_EQ(UPCA(), 0);
    auto rows = rowsOf();
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(static_cast<unsigned char>(rows[1][34]), 238);  // centre guard of the last bar row
    EXPECT_EQ(static_cast<unsigned char>(rows[1][36]), 238);
    EXPECT_EQ(static_cast<unsigned char>(rows[1][6]), 190);
    // Number system 0 and check digit 2 are bars; digits 2 to 11 spaces of their widths.
    const std::string guard = bytes({190, ';', 190});
    EXPECT_EQ(rows[2], kSpaceChar + S(4) + guard + "=" + bytes({196, ';', 190}) +
                           ";?;;"
                           ";;;?"
                           "=:;;"
                           "=:;;"
                           "=:;;" +
                           S(5) +
                           "+.+*"
                           "=;;:"
                           "+*+."
                           ";;=:"
                           ";:=;" +
                           bytes({227, '.', 227, '*'}) + guard);

    struct Case {
        int v;
        const char* data;
        std::string text;
    };
    const std::vector<Case> cases = {
        {0, "03600029145",
         "0" + S(8) + kSpaceChar + "36000" + S(4) + "29145" + kSpaceChar + S(3) + "2"},
        {2, "03600029145",
         "0" + S(8) + kSpaceChar + kSpaceChar + S(2) + "36000" + S(4) + kSpaceChar + "29145" +
             kSpaceChar + S(4) + kSpaceChar + S(3) + "2"},
        {3, "1234567890", "3" + S(5) + kSpaceChar + "12345-" + "678-90" + kSpaceChar + "6"},
        {4, "1234567890", "3" + S(5) + kSpaceChar + "1234-5" + "678-90" + kSpaceChar + "6"},
        {5, "1234567890", "3" + S(6) + kSpaceChar + "12345-" + "67890" + kSpaceChar + S(3) + "6"},
    };
    for (const Case& c : cases) {
        SetUp();
        gSym.code = 10;
        gSym.variation1 = c.v;
        setData(c.data);
        ASSERT_EQ(UPCA(), 0) << c.v;
        EXPECT_EQ(textLine(), c.text) << c.v;
    }

    SetUp();
    gSym.code = 10;
    setData("03600029145", "34");
    ASSERT_EQ(UPCA(), 0);
    rows = rowsOf();
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(static_cast<unsigned char>(rows[2][34]), 238);
    EXPECT_EQ(rows[3].substr(rows[3].size() - 17), "?=" + rows[2].substr(67, 15));
    EXPECT_EQ(rows[4],
              "0" + S(8) + kSpaceChar + "36000" + S(4) + "29145" + kSpaceChar + S(3) + "2");
}

TEST_F(UpcA, NdcVariantsCarryNumberSystemThree) {
    for (int v = 0; v <= 6; ++v) {
        const bool ndc = v >= 3;
        SetUp();
        gSym.code = 10;
        gSym.variation1 = v;
        setData(ndc ? "1234567890" : "03600029145");
        ASSERT_EQ(UPCA(), 0) << v;
        EXPECT_EQ(readBack("UPC-A").text, ndc ? "312345678906" : "036000291452") << v;
    }
}

TEST_F(UpcA, RefusesNonDigits) {
    gSym.code = 10;
    setData("0360002914X");
    EXPECT_EQ(UPCA(), 1);
    EXPECT_EQ(gMsg.last,
              "UPC-a data may hold digits only. Remove the other characters and try again.");
    EXPECT_EQ(gEl.cu_len, 0);
}

TEST_F(UpcE, ZeroSuppressionRules) {
    struct Case {
        const char* upcA;
        const char* upcE;  // number system, six digits, check digit
    };
    for (const Case& c : {Case{"01234500006", "01234565"}, Case{"01200000567", "01256701"},
                          Case{"01230000045", "01234531"}, Case{"01234000005", "01234543"},
                          Case{"11234500006", "11234562"}}) {
        SetUp();
        gSym.code = 11;
        setData(c.upcA);
        ASSERT_EQ(UPCE(), 0) << c.upcA;
        EXPECT_STREQ(gData.chMainCode, c.upcE);
        EXPECT_EQ(readBack("UPC-E").text, c.upcE) << c.upcA;
        // zbar reads UPC-E of number system 0 only.
        if (c.upcA[0] == '0') {
            EXPECT_EQ(zbarRead(c.upcA),
                      std::string("0") + c.upcA + std::string(c.upcE).substr(7) + "\n");
        }
    }
}

TEST_F(UpcE, FromTheSevenDigitForm) {
    gSym.code = 11;
    gSym.variation1 = 1;
    setData("0123456");
    ASSERT_EQ(UPRecon(), 0);
    EXPECT_STREQ(gData.chMainCode, "01234500006");
    EXPECT_STREQ(gData.chMainCode2, "01234500006");
    EXPECT_EQ(gData.len11, 11);
    ASSERT_EQ(UPCE(), 0);
    EXPECT_EQ(readBack("UPC-E").text, "01234565");

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

TEST_F(UpcE, RowsAndText) {
    gSym.code = 11;
    setData("01234500006");
    ASSERT_EQ(UPCE(), 0);
    auto rows = rowsOf();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].size(), 37u);
    for (int at : {2, 4, 30, 32, 34}) EXPECT_EQ(static_cast<unsigned char>(rows[1][at]), 238);
    EXPECT_EQ(textLine(), std::string("0") + S(4) + "123456" + S(6) + "5");

    // With an add-on every bar row after the first ends with the add-on bars.
    SetUp();
    gSym.code = 11;
    gSym.Hei = 10.581;
    setData("01234500006", "52495");
    ASSERT_EQ(UPCE(), 0);
    rows = rowsOf();
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0].size() + 1, 56u);
    EXPECT_EQ(rows[0].substr(37), S(4) + "5;;2;;4;;9;;5<");
    EXPECT_EQ(rows[1].size() + 1, 74u);
    EXPECT_EQ(rows[1].substr(37, 2), S(2));  // a gap of 9 modules before the add-on guard
    EXPECT_EQ(rows[1].substr(39), rows[3].substr(39));
    EXPECT_EQ(static_cast<unsigned char>(rows[3][34]), 238);
    EXPECT_EQ(readBack("UPC-E", true).text, "01234565 52495");

    SetUp();
    gSym.code = 11;
    setData("01234500006", "34");
    ASSERT_EQ(UPCE(), 0);
    rows = rowsOf();
    EXPECT_EQ(rows[0].size() + 1, 47u);
    EXPECT_EQ(rows[1].size() + 1, 57u);
    EXPECT_EQ(rows[1].substr(37, 3), S(3));
    EXPECT_EQ(readBack("UPC-E", true).text, "01234565 34");
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
