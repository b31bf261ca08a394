// The EAN family through the generation dispatcher, as the program makes it.
#include <cstring>
#include <string>

#include "ean_support.h"

using namespace eantest;

namespace {

struct EanDispatch : World {
    static void type(int code, int variant = 0) {
        gSym.code = code;
        gSym.variation1 = variant;
    }
};

// Symbols made through the dispatcher read back as their numbers; `head` is the
// text above the symbol where the family sets one, `more` any further check.
TEST_F(EanDispatch, ReadBack) {
    const struct {
        int code, v;
        const char* main;
        const char* add;
        const char* format;
        const char* read;
        const char* head;
        void (*more)();
    } cases[] = {
        // A 13th digit is cut by the length rule.
        {0, 0, "4006381333931", "", "EAN-13", "4006381333931", nullptr,
         [] { EXPECT_STREQ(gData.chMainCode3, "4006381333931"); }},
        // An add-on of another length is dropped; the main symbol is made.
        {0, 0, "501234567890", "123", "EAN-13", "5012345678900", nullptr,
         [] { EXPECT_EQ(rowsOf().size(), 3u); }},
        {0, 0, "501234567890", "52495", "EAN-13", "5012345678900 52495", nullptr, nullptr},
        {0, 6, "12345", "", "EAN-13", "5015025123455", "         Item Code: 12345", nullptr},
        {0, 12, "12345678", "", "EAN-13", "4850123456781", nullptr,
         [] { EXPECT_EQ(textLine(), S(7) + "485012" + S(5) + "3456781" + S(3)); }},
        // Plus and PIP carry their add-on as the text above; MotherCare drops it.
        {26, 0, "400638133393", "AB", "EAN-13", "4006381333931", "AB ", nullptr},
        {27, 0, "400638133393", "1234", "EAN-13", "4006381333931", "PIP   1234", nullptr},
        {25, 0, "400638133393", "52495", "EAN-13", "4006381333931", nullptr,
         [] { EXPECT_EQ(rowsOf()[0].size(), 67u); }},
        {3, 1, "12345", "", "EAN-8", "00123457", nullptr, nullptr},
        {11, 1, "0123456", "", "UPC-E", "01234565", nullptr,
         [] { EXPECT_STREQ(gData.chMainCode4, "0123456"); }},  // the data as entered
        {1, 0, "030640615", "", "EAN-13", "9780306406157", nullptr, nullptr},
        // ISSN data is never cut: eight digits still take the issue number 00.
        {2, 0, "03178479", "", "EAN-13", "9770317847001", nullptr, nullptr},
        {2, 0, "031784712", "05", "EAN-13", "9770317847124 05", nullptr, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.code) + "/" + std::to_string(c.v) + " " + c.main);
        SetUp();
        type(c.code, c.v);
        setData(c.main, c.add);
        ASSERT_EQ(STRixel(), 0);
        const bool addOn = std::strchr(c.read, ' ') != nullptr;
        EXPECT_EQ(readBack(c.format, addOn).text, c.read);
        if (c.head) {
            EXPECT_STREQ(gData.chHeadCode, c.head);
        }
        if (c.more) c.more();
    }
}

TEST_F(EanDispatch, Refusals) {
    const struct {
        int code, v;
        const char* main;
        std::string message;
    } cases[] = {
        {0, 0, "40063813339", "EAN 13 needs 12 digits."},
        {1, 3, "977186197271", "ISBN's must start with 978 or 979"},
        {11, 0, "21234500006", messageText(65)},
        {11, 1, "2123456", messageText(65)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.main);
        SetUp();
        type(c.code, c.v);
        setData(c.main);
        EXPECT_EQ(STRixel(), 1);
        EXPECT_EQ(gMsg.last, c.message);
        EXPECT_EQ(gEl.cu_len, 0);
    }
}

}  // namespace
