// Scanner input: "]", the symbology identifier, the data and Return make the
// symbol at once; each symbol is read back from its EPS file.
#include "app/scanner.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/world.h"
#include "automation/options.h"
#include "labels/production.h"
#include "picture/outputstate.h"
#include "platform/numbers.h"
#include "support/reader.h"
#include "symbology/messages.h"
#include "symbology/panels.h"
#include "symbology/state.h"

namespace {

namespace fs = std::filesystem;

struct Scanner : ::testing::Test {
    std::string dir;
    void SetUp() override {
        resetWorld();
        gMsg.quiet = true;
        dir = testsupport::freshFolder("scan");
    }
    void TearDown() override { resetWorld(); }
    // Types what a scanner sends, the Return included, with EPS files delivered
    // into a fresh folder.
    void scan(const std::string& sent) {
        fs::remove_all(dir);
        fs::create_directories(dir);
        gOut.tool = kOutVector;
        gOut.outToFile = 1;
        gOut.fileDia = 3;
        gOut.showDia = 1;
        copyBounded(gOut.globFolS, dir.c_str());
        for (unsigned char c : sent) EXPECT_TRUE(scanKey(c)) << int(c);
        EXPECT_TRUE(scanKey(13));
    }
    std::vector<std::string> read(const char* format) const {
        return testsupport::decodeEpsFolder(dir, format);
    }
    size_t files() const {
        return static_cast<size_t>(std::distance(fs::directory_iterator(dir), {}));
    }
    using Strings = std::vector<std::string>;
};

TEST_F(Scanner, IdentifiersMakeTheSymbolThatWasScanned) {
    scan("]E00036000291452");
    EXPECT_EQ(gSym.code, 10);
    EXPECT_EQ(gPanels.TEH.text, "03600029145");
    EXPECT_EQ(read("UPC-A"), Strings{"036000291452"});

    scan("]C0ABC123");
    EXPECT_EQ(gSym.code, 5);
    EXPECT_EQ(gPanels.TEH.text, "ABC123");
    EXPECT_EQ(read("Code128"), Strings{"ABC123"});

    scan("]E04006381333931");
    EXPECT_EQ(read("EAN-13"), Strings{"4006381333931"});
    scan("]E00000096385074");  // an EAN-8 padded to thirteen digits
    EXPECT_EQ(gSym.code, 3);
    EXPECT_EQ(read("EAN-8"), Strings{"96385074"});
    scan("]E496385074");
    EXPECT_EQ(read("EAN-8"), Strings{"96385074"});
}

TEST_F(Scanner, BookAndSerialNumbersKeepTheirThirteenDigits) {
    scan("]E09780306406157");
    EXPECT_EQ(gSym.code, 1);
    EXPECT_EQ(read("EAN-13"), Strings{"9780306406157"});
    scan("]E09791234567896");  // 979 without 0 is a book, not music
    EXPECT_EQ(gSym.code, 1);
    EXPECT_NE(gSym.variation1, 2);
    EXPECT_EQ(read("EAN-13"), Strings{"9791234567896"});
    scan("]E09790230671187");
    EXPECT_EQ(gSym.code, 1);
    EXPECT_EQ(gSym.variation1, 2);
    EXPECT_EQ(read("EAN-13"), Strings{"9790230671187"});
    scan("]E09771234567003");
    EXPECT_EQ(gSym.code, 2);
    EXPECT_EQ(read("EAN-13"), Strings{"9771234567003"});
    scan("]E09771234567058");
    EXPECT_EQ(read("EAN-13"), Strings{"9771234567058"});
}

TEST_F(Scanner, IdentifiersWithoutATypeKeepTheTypeAndStillMakeTheSymbol) {
    ASSERT_TRUE(parseCodeType("Code 128"));
    scan("]X012345678901");  // eleven digits: not a UPC-A
    EXPECT_EQ(gSym.code, 5);
    EXPECT_EQ(read("Code128"), Strings{"12345678901"});
    scan("]X0036000291452");  // twelve: a UPC-A
    EXPECT_EQ(gSym.code, 10);
    EXPECT_EQ(read("UPC-A"), Strings{"036000291452"});
}

TEST_F(Scanner, AnUnknownIdentifierChangesNothing) {
    ASSERT_TRUE(parseCodeType("EAN 13"));
    applyScriptPair("data", "400638133393");
    const SymbolSettings before = gSym;
    scan(
        "]d2\x1d"
        "0104006381333931");  // GS1 DataMatrix is not among the identifiers
    EXPECT_EQ(files(), 0u);
    EXPECT_EQ(gSym.code, before.code);
    EXPECT_STREQ(gData.chMainCode, "400638133393");
    EXPECT_TRUE(gScan.buffer.empty());
    EXPECT_FALSE(gScan.capturing);
}

TEST_F(Scanner, TheCaptureTakesTabsAndStopsAtItsCapacity) {
    EXPECT_FALSE(scanKey('A'));  // outside a capture the window has the key
    EXPECT_FALSE(scanKey('\t'));
    ASSERT_TRUE(scanKey(']'));
    for (char c : std::string("C0A\tB")) EXPECT_TRUE(scanKey(c));
    EXPECT_EQ(gScan.buffer, "C0A\tB");

    gScan.buffer.clear();
    platform::resetBeeps();
    for (size_t i = 0; i < kScanCapacity + 5; ++i) scanKey(i < 2 ? "C0"[i] : 'x');
    EXPECT_EQ(gScan.buffer.size(), kScanCapacity);
    EXPECT_EQ(platform::beepCount(), 5);
    // The data would not fit the data buffers whole: refused, not cut.
    scanKey(13);
    EXPECT_EQ(gData.len1, 0);
    EXPECT_EQ(platform::beepCount(), 6);
    EXPECT_FALSE(gScan.capturing);
}

}  // namespace
