#include "ean_support.h"

#include "symbology/codebars.h"
#include "symbology/encoders.h"

using namespace eantest;

namespace {

using Ean13 = World;
using Ean8 = World;

TEST_F(Ean13, ReadsBackWithTheCheckDigit) {
    for (auto [data, want] :
         {std::pair{"400638133393", "4006381333931"}, std::pair{"501234567890", "5012345678900"}}) {
        SetUp();
        setData(data);
        ASSERT_EQ(EAN13(), 0);
        EXPECT_EQ(readBack("EAN-13").text, want);
        EXPECT_EQ(zbarRead(data), std::string(want) + "\n");
        EXPECT_EQ(gData.len1, 13);
    }
}

TEST_F(Ean13, AddOnsReadBack) {
    setData("501234567890", "52495");
    ASSERT_EQ(EAN13(), 0);
    EXPECT_EQ(readBack("EAN-13", true).text, "5012345678900 52495");
    EXPECT_EQ(zbarRead("five", true), "52495\n5012345678900\n");

    // Every remainder of the two-digit parity and every five-digit parity
    // pattern (check values 0 to 9).
    for (const char* add : {"12", "34", "05", "99", "00000", "52495", "00001", "10000", "90000",
                            "12345", "54321", "24680", "13579", "99999", "11111", "22222"}) {
        const bool two = std::strlen(add) == 2;
        SetUp();
        setData(two ? "501234567890" : "400638133393", add);
        ASSERT_EQ(EAN13(), 0);
        EXPECT_EQ(readBack("EAN-13", true).text,
                  std::string(two ? "5012345678900 " : "4006381333931 ") + add)
            << add;
    }
}

TEST_F(Ean13, EveryDigitInEverySetReadsBack) {
    // Leading digits 0-9 use all ten parity patterns; the rest run through every digit.
    for (char first = '0'; first <= '9'; ++first) {
        for (const char* rest : {"12345678901", "98765432109"}) {
            SetUp();
            std::string data = std::string(1, first) + rest;
            setData(data.c_str());
            ASSERT_EQ(EAN13(), 0);
            EXPECT_EQ(readBack("EAN-13").text.substr(0, 12), data);
        }
    }
}

TEST_F(Ean13, RowsAndHeights) {
    setData("501234567890");
    ASSERT_EQ(EAN13(), 0);
    auto rows = rowsOf();
    // Hei 0 still gives two bar rows, then the text line.
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].size(), 67u);
    EXPECT_EQ(rows[1].substr(0, 6), "?=;;;;");

    SetUp();
    setData("501234567890");
    gSym.Hei = 10.581;  // three row units of 3527 um: the first row counts once
    ASSERT_EQ(EAN13(), 0);
    EXPECT_EQ(rowsOf().size(), 5u);

    SetUp();
    setData("501234567890", "52495");
    gSym.Hei = 10.581;  // with the add-on digits row the bar rows count from two units
    ASSERT_EQ(EAN13(), 0);
    rows = rowsOf();
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0].size() + 1, 86u);  // with its 13
    EXPECT_EQ(rows[0].substr(67), S(4) + "5;;2;;4;;9;;5<");
    EXPECT_EQ(rows[1].size(), 101u);
    EXPECT_EQ(rows[1], rows[2]);
    EXPECT_EQ(rows[1].substr(0, 67), rows[0].substr(0, 67));

    SetUp();
    setData("501234567890", "34");
    gSym.non_light = 0;
    ASSERT_EQ(EAN13(), 0);
    rows = rowsOf();
    EXPECT_EQ(rows[0].size() + 1, 77u);
    EXPECT_EQ(rows[0].substr(67), S(4) + "3;;4;");
    EXPECT_EQ(rows[1].size(), 83u);
}

TEST_F(Ean13, AddOnTextBelowKeepsOneRowShape) {
    // Variants 255 to 257 print the add-on digits below: every row is the whole symbol.
    for (int v : {255, 256, 257}) {
        SetUp();
        gSym.variation1 = v;
        setData("501234567890", "52495");
        ASSERT_EQ(EAN13(), 0);
        auto rows = rowsOf();
        ASSERT_EQ(rows.size(), 3u);
        EXPECT_EQ(rows[0].size(), 101u);
        EXPECT_EQ(rows[0].substr(67), rows[1].substr(67));
        EXPECT_EQ(readBack("EAN-13", true).text, "5012345678900 52495");
    }
}

TEST_F(Ean13, GuardMarksAndTextLines) {
    const unsigned char mark = 238;
    setData("501234567890");
    ASSERT_EQ(EAN13(), 0);
    auto rows = rowsOf();
    for (int at : {6, 8, 34, 36, 62, 64}) EXPECT_EQ(static_cast<unsigned char>(rows[1][at]), mark);
    EXPECT_EQ(static_cast<unsigned char>(rows[0][6]), 190);  // only the last bar row is marked
    EXPECT_EQ(textLine(), "5" + S(7) + "012345" + S(5) + "678900" + S(3) + "<");

    SetUp();
    gSym.flushBars = 0;
    gSym.strip_extra = 1;
    gSym.non_light = 0;
    setData("501234567890");
    ASSERT_EQ(EAN13(), 0);
    EXPECT_EQ(static_cast<unsigned char>(rowsOf()[1][6]), 190);
    EXPECT_EQ(textLine(), "5012345678900");

    // Peacocks and MotherCare: no centre guard mark, the first digit inside.
    for (int code : {0, 25}) {
        SetUp();
        gSym.code = code;
        gSym.variation1 = code == 0 ? 12 : 0;
        setData("485012345678");
        ASSERT_EQ(EAN13(), 0);
        rows = rowsOf();
        EXPECT_EQ(static_cast<unsigned char>(rows[1][34]), 190);
        EXPECT_EQ(static_cast<unsigned char>(rows[1][62]), mark);
        EXPECT_EQ(textLine(), S(7) + "485012" + S(5) + "3456781" + S(3));
    }

    // Debenhams prints digits 3 to 12.
    SetUp();
    gSym.variation1 = 3;
    setData("220012345678");
    ASSERT_EQ(EAN13(), 0);
    EXPECT_EQ(textLine(), "0" + S(5) + "1234" + S(5) + "567" + S(5) + "86");

    // With an add-on the marks stand in the bar row's own places, BW raised.
    SetUp();
    gSym.BW = 2;
    setData("501234567890", "52495");
    ASSERT_EQ(EAN13(), 0);
    rows = rowsOf();
    for (int at : {6, 8, 34, 36, 62, 64}) EXPECT_EQ(static_cast<unsigned char>(rows[2][at]), 240);
    EXPECT_EQ(textLine(), "5" + S(7) + "012345" + S(5) + "678900" + S(3) + "?=?=");

    SetUp();
    gSym.code = 26;
    setData("501234567890", "34");
    gData.len2 = 0;  // the dispatcher drops the Plus code's add-on after using it as header
    gData.len22 = 2;
    ASSERT_EQ(EAN13(), 0);
    EXPECT_EQ(rowsOf()[0].size(), 67u);
}

TEST_F(Ean13, GuardRowVariants) {
    const std::string guard = bytes({238, ';', 238});
    // Digits 1 to 6 of 5012345678900 by parity ABBAAB, 7 to 12 by set C, as spaces.
    const std::string left =
        "=:;;"
        ".+*+"
        "*+.+"
        ";?;;"
        ";;=:"
        ";=:;";
    const std::string right =
        ";;;?"
        ".,.+"
        ".+.,"
        "=;;:"
        "=:;;"
        "=:;;";
    for (int v : {2, 9}) {
        SetUp();
        gSym.variation1 = v;
        setData("501234567890");
        ASSERT_EQ(EAN13(), 0);
        auto rows = rowsOf();
        ASSERT_EQ(rows.size(), 4u);
        EXPECT_EQ(static_cast<unsigned char>(rows[1][6]), 190);  // bar rows keep plain guards
        EXPECT_EQ(rows[2], kSpaceChar + S(4) + guard + left + S(5) + right + guard);
        EXPECT_EQ(rows[3],
                  kSpaceChar + S(4) + "5" + S(6) + "012345" + S(5) + "678900" + S(3) + "<");
        EXPECT_EQ(readBack("EAN-13").text, "5012345678900");
    }

    SetUp();
    gSym.variation1 = 2;
    gSym.strip_extra = 1;
    gSym.flushBars = 0;
    setData("501234567890");
    ASSERT_EQ(EAN13(), 0);
    auto rows = rowsOf();
    EXPECT_EQ(rows[2], kSpaceChar + S(4) + S(3) + left + S(5) + right + S(3));
    EXPECT_EQ(rows[3], kSpaceChar + S(4) + "5" + "01;23;45" + ";" + "6;78;90;0" + "<");

    // With an add-on the add-on bars run down through the guard row.
    SetUp();
    gSym.variation1 = 9;
    setData("501234567890", "52495");
    ASSERT_EQ(EAN13(), 0);
    rows = rowsOf();
    ASSERT_EQ(rows.size(), 5u);
    const std::string& lastBars = rows[2];
    EXPECT_EQ(static_cast<unsigned char>(lastBars[34]), 238);
    EXPECT_EQ(rows[3], kSpaceChar + S(4) + bytes({190, ';', 190}) + left + S(5) + right +
                           bytes({190, ';', 190}) + "?=" + lastBars.substr(67, 32));
    EXPECT_EQ(rows[4], "5" + S(8) + "012345" + S(4) + "678900" + S(3) + "?=");
    EXPECT_EQ(readBack("EAN-13", true).text, "5012345678900 52495");
}

TEST_F(Ean13, RetailVariantsReadBack) {
    const int kinds[][2] = {{0, 0},   {0, 1},   {0, 2},  {0, 3},  {0, 4},  {0, 5},  {0, 6},
                            {0, 7},   {0, 8},   {0, 9},  {0, 10}, {0, 11}, {0, 12}, {0, 255},
                            {0, 256}, {0, 257}, {25, 0}, {26, 0}, {27, 0}};
    for (const auto& [code, v] : kinds) {
        SetUp();
        gSym.code = code;
        gSym.variation1 = v;
        setData("400638133393");
        ASSERT_EQ(EAN13(), 0) << code << "/" << v;
        EXPECT_EQ(readBack("EAN-13").text, "4006381333931") << code << "/" << v;
    }
}

TEST_F(Ean13, WidthsAndBarWidthSteps) {
    setData("127812781278");
    ASSERT_EQ(EAN13(), 0);
    const std::string row = rowsOf()[0];
    // Every digit is 2310 um; the guards and quiet zones whole modules.
    int32_t total = 0;
    for (unsigned char b : row) total += std::abs(charToWidth(b));
    EXPECT_EQ(total, 95 * 330 + 18 * 330);
    for (size_t d = 0; d < 6; ++d) {
        int32_t digit = 0;
        for (size_t k = 0; k < 4; ++k) digit += std::abs(charToWidth(row[9 + 4 * d + k]));
        EXPECT_EQ(digit, 2310);
    }
    // Three-module bars are 254 when BW is 0, 202 + BW otherwise.
    SetUp();
    setData("000000000000");
    ASSERT_EQ(EAN13(), 0);
    EXPECT_NE(rowsOf()[0].find(static_cast<char>(254)), std::string::npos);
    SetUp();
    gSym.BW = 3;
    setData("000000000000");
    ASSERT_EQ(EAN13(), 0);
    const std::string thin = rowsOf()[0];
    EXPECT_EQ(thin.find(static_cast<char>(254)), std::string::npos);
    EXPECT_NE(thin.find(static_cast<char>(205)), std::string::npos);
    EXPECT_EQ(static_cast<unsigned char>(thin[6]), 193);
}

TEST_F(Ean13, RefusesWhatItCannotEncode) {
    setData("50123456789");
    EXPECT_EQ(EAN13(), 1);
    EXPECT_EQ(gMsg.last, "EAN 13 needs 12 digits.");
    EXPECT_EQ(gEl.cu_len, 0);

    SetUp();
    setData("5012345A7890");
    EXPECT_EQ(EAN13(), 1);
    EXPECT_EQ(gMsg.last,
              "EAN 13 data may hold digits only. Remove the other characters and try again.");
    EXPECT_STREQ(gData.chMainCode, "5012345A7890");  // no check digit over it

    SetUp();
    setData("501234567890", "5x495");
    EXPECT_EQ(EAN13(), 1);
    EXPECT_EQ(gEl.cu_len, 0);

    // Longer data is cut to its 12 digits, as the length rule does.
    SetUp();
    setData("5012345678901234");
    ASSERT_EQ(EAN13(), 0);
    EXPECT_EQ(readBack("EAN-13").text, "5012345678900");
}

TEST_F(Ean13, TallSymbolStaysInsideTheList) {
    setData("501234567890", "52495");
    gSym.Hei = 1e9;
    ASSERT_EQ(EAN13(), 0);
    EXPECT_FALSE(gEl.overflow);
    EXPECT_LE(gEl.cu_len, static_cast<int32_t>(kElementListSize));
    auto rows = rowsOf();
    EXPECT_EQ(rows.back(), "5" + S(7) + "012345" + S(5) + "678900" + S(3) + "?=?=");
    for (size_t r = 2; r + 1 < rows.size(); ++r) ASSERT_EQ(rows[r].size(), 101u) << r;
}

TEST_F(Ean8, ReadsBack) {
    setData("9638507");
    ASSERT_EQ(EAN8(), 0);
    EXPECT_EQ(readBack("EAN-8").text, "96385074");
    EXPECT_EQ(zbarRead("ean8"), "96385074\n");
    auto rows = rowsOf();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].size(), 47u);
    for (int at : {2, 4, 22, 24, 42, 44}) EXPECT_EQ(static_cast<unsigned char>(rows[1][at]), 238);
    EXPECT_EQ(textLine(), ">" + S(4) + "9638" + S(4) + "5074" + S(3) + "<");
}

TEST_F(Ean8, RetailLayouts) {
    struct Case {
        int code, v;
        const char* data;
        const char* read;
        std::string text;
        std::vector<int> marks;  // guard marks in the last bar row
    };
    const std::string ms = bytes({'6' + 126, '3' + 126, '8' + 126, '5' + 126});
    const std::vector<Case> cases = {
        {3,
         1,
         "12345",
         "00123457",
         ">" + S(3) + kSpaceChar + S(3) + "12" + "3457" + S(3) + "<",
         {2, 4, 42, 44}},
        {3,
         2,
         "9638507",
         "96385074",
         "W" + S(3) + kSpaceChar + "=;" + "638" + S(5) + "507" + S(3) + kSpaceChar + S(2) + "W",
         {3, 5, 43, 45}},
        {3,
         3,
         "9638507",
         "96385074",
         "W" + S(3) + "9638" + S(4) + "5074" + S(3) + "W",
         {2, 4, 22, 24, 42, 44}},
        {3,
         5,
         "9638507",
         "96385074",
         ">" + S(3) + "9638" + S(5) + "5074" + S(3) + "<",
         {2, 4, 22, 24, 42, 44}},
        {3,
         8,
         "9638507",
         "96385074",
         ">" + S(3) + S(6) + "9638" + "507" + S(3) + "<",
         {2, 4, 42, 44}},
        {16,
         0,
         "9638507",
         "96385074",
         "`" + S(8) + "6385" + S(5) + "074" + S(11) + "_",
         {5, 7, 45, 47}},
        {16,
         1,
         "9638507",
         "96385074",
         "M" + S(6) + ms + S(5) + bytes({'0' + 126, '7' + 126, '4' + 126}) + S(10) + "S",
         {5, 7, 45, 47}},
    };
    for (const Case& c : cases) {
        SetUp();
        gSym.code = c.code;
        gSym.variation1 = c.v;
        setData(c.data);
        ASSERT_EQ(EAN8(), 0) << c.code << "/" << c.v;
        EXPECT_EQ(readBack("EAN-8").text, c.read) << c.code << "/" << c.v;
        EXPECT_EQ(textLine(), c.text) << c.code << "/" << c.v;
        const std::string last = rowsOf()[1];
        for (int at : c.marks)
            EXPECT_EQ(static_cast<unsigned char>(last[at]), 238)
                << c.code << "/" << c.v << " @" << at;
    }

    // ASDA prints two add-on characters as its marks; EAN-8 itself has no add-on.
    SetUp();
    gSym.variation1 = 4;
    setData("9638507", "AB");
    ASSERT_EQ(EAN8(), 0);
    EXPECT_EQ(textLine(), "A" + S(3) + "9638" + S(4) + "5074" + S(3) + "B");
    EXPECT_EQ(rowsOf()[0].size(), 47u);

    const int kinds[][2] = {{0, 6}, {0, 7}, {16, 3}, {16, 4}, {16, 5}, {16, 6}, {16, 7}};
    for (const auto& [code, v] : kinds) {
        SetUp();
        gSym.code = code;
        gSym.variation1 = v;
        setData("9638507");
        ASSERT_EQ(EAN8(), 0) << code << "/" << v;
        EXPECT_EQ(readBack("EAN-8").text, "96385074") << code << "/" << v;
    }
}

TEST_F(Ean8, RefusesShortOrNonDigitData) {
    gSym.variation1 = 5;  // no length rule in front of this variant
    setData("96385");
    EXPECT_EQ(EAN8(), 1);
    EXPECT_EQ(gMsg.last, "EAN 8 needs 7 digits.");
    SetUp();
    gSym.code = 16;
    setData("96-8507");
    EXPECT_EQ(EAN8(), 1);
    EXPECT_EQ(gEl.cu_len, 0);
}

}  // namespace

namespace {

using EanFamily = World;

// Direct calls with data the length rule would have stopped: nothing is written
// past a buffer, and the result says whether a symbol was made.
TEST_F(EanFamily, EmptyAndOverlongDataStayInBounds) {
    struct Entry {
        int code, v;
        int32_t (*fn)();
    };
    const Entry entries[] = {{0, 0, EAN13},    {0, 2, EAN13}, {3, 0, EAN8},  {3, 1, EAN8},
                             {16, 1, EAN8},    {10, 0, UPCA}, {10, 3, UPCA}, {11, 0, UPCE},
                             {11, 1, UPRecon}, {1, 0, ISBN},  {1, 2, ISBN},  {1, 3, ISBN},
                             {2, 0, ISSN}};
    const std::string longDigits(kMainCodeSize - 1, '0');
    for (const Entry& e : entries) {
        for (const std::string& d : {std::string(), longDigits}) {
            SetUp();
            gSym.code = e.code;
            gSym.variation1 = e.v;
            setData(d.c_str(), "12345");
            const int32_t r = e.fn();
            EXPECT_EQ(r, d.empty() ? 1 : 0) << e.code << "/" << e.v << " " << d.size();
            EXPECT_FALSE(gEl.overflow);
            if (d.empty()) {
                EXPECT_EQ(gEl.cu_len, 0);
            }
        }
    }
}

}  // namespace
