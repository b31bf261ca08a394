// A full sheet filled by a production run: serial numbers and import records
// advance label by label, column by column.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <regex>
#include <string>
#include <vector>

#include "doc_fixture.h"
#include "labels/importfile.h"
#include "labels/production.h"
#include "labels/serial.h"
#include "labels/datafields.h"
#include "picture/services.h"
#include "platform/files.h"
#include "support/reader.h"
#include "symbology/messages.h"
#include "symbology/state.h"

using namespace vectortest;

namespace {

// A 2 x 8 print sheet of 300 x 520 points: labels of 100 x 50 points, 10 points
// apart, margins 20 (left) and 30 (top); the label layout is open.
void sheetOfSixteen() {
    labelBack.labelWidth = 1000;
    labelBack.labelHeight = 500;
    labelBack3.labelWidth = 100 * 10000;
    labelBack3.labelHeight = 50 * 10000;
    labelBack3.across = 2;
    labelBack3.down = 8;
    labelBack3.leftMargin = 20 * 10000;
    labelBack3.topMargin = 30 * 10000;
    labelBack3.spaceAcross = 10 * 10000;
    labelBack3.spaceDown = 10 * 10000;
    labelBack3.sheetWidth = 300 * 10000;
    labelBack3.sheetHeight = 520 * 10000;
}

// One label position of a full sheet as written: its translation, the first
// text run inside it and everything written there.
struct Label {
    double x = 0, y = 0;
    std::string text;
    std::string body;
};

std::vector<Label> labels(const std::string& doc, int ill) {
    const bool pdf = ill == 1115;
    const std::regex place(pdf ? "q\r1 0 0 1 ([0-9.-]+) ([0-9.-]+) cm\r"
                               : "gsave\r([0-9.-]+) ([0-9.-]+) translate\r");
    const std::regex run("\\(([^()\\\\]*)\\)");
    std::vector<Label> out;
    for (auto m = std::sregex_iterator(doc.begin(), doc.end(), place); m != std::sregex_iterator();
         ++m) {
        Label l;
        l.x = std::stod((*m)[1]);
        l.y = std::stod((*m)[2]);
        const size_t from = static_cast<size_t>(m->position() + m->length());
        const size_t to = doc.find(pdf ? "\rQ\r" : "\rgrestore\r", from);
        l.body = doc.substr(from, to - from);
        std::smatch t;
        if (std::regex_search(l.body, t, run)) l.text = t[1];
        out.push_back(l);
    }
    return out;
}

// The positions of sheetOfSixteen, column 1 rows 1-8, then column 2.
void expectSixteenPositions(const std::vector<Label>& at, int ill) {
    ASSERT_EQ(at.size(), 16u) << "ill " << ill;
    for (int n = 0; n < 16; ++n) {
        EXPECT_DOUBLE_EQ(at[n].x, n < 8 ? 20 : 130) << n;
        EXPECT_DOUBLE_EQ(at[n].y, 520 - (30 + 60 * (n % 8) + 50)) << n;
    }
}

LabelItem* serialTextItem(const std::string& data) {
    LabelItem* it = addItem(kKindText, 10, 10, 40, 90);
    it->setText(item::fontBelow, "\x09Helvetica");
    it->setI16(item::customTeSize, 12);
    it->setI16(item::humanPacked, 2 * 1);  // a serial item
    it->setU32(item::len1, 4);
    it->setText(item::dataText, data);
    it->setText(item::serPos, data);
    return it;
}

void set(char (&dst)[kRunTextSize], const char* text) {
    std::snprintf(dst, sizeof dst, "%s", text);
}

// The run as the serial panel hands it over: width 4, no prefix or suffix.
void serialRun(const char* start, const char* end, int32_t length = 4, int32_t affixes = 0) {
    gProd.gcite = 1;
    gProd.gemode = 1;
    gProd.gtlen = length;
    gProd.gelen = affixes;
    set(gProd.gstar, start);
    set(gProd.gcurr, start);
    set(gProd.gfini, end);
    set(gProd.gincr, "0001");
}

std::string serial(int n) {
    char s[8];
    std::snprintf(s, sizeof s, "%04d", n);
    return s;
}

std::string extension(int ill) { return ill == 1115 ? ".pdf" : ".eps"; }

TEST(SerialSheet, SixteenLabelsCarryTheSerialNumbersColumnByColumn) {
    for (int ill : kDialects) {
        resetAll();
        gOut.ill = ill;
        sheetOfSixteen();
        serialTextItem("0001\v\v");
        serialRun("0001", "9999");
        int result = -1;
        const std::string doc = writeEPSout(&result);
        ASSERT_EQ(result, 0) << gMsg.last;
        const std::vector<Label> at = labels(doc, ill);
        expectSixteenPositions(at, ill);
        for (int n = 0; n < 16; ++n)
            EXPECT_EQ(at[n].text, serial(n + 1)) << "ill " << ill << " label " << n;
        EXPECT_EQ(gProd.gcite, 17);     // the index of the next label
        if (ill != 1115 && ill != 2) {  // the page trailer once
            size_t u = 0, count = 0;
            while ((u = doc.find("\rU\r", u + 1)) != std::string::npos) ++count;
            EXPECT_EQ(count, 1u) << "ill " << ill;
        }
        if (ill != 88 && ill != 95 && ill != 1115) continue;
        const std::string path = testsupport::tempPath("serial" + extension(ill));
        ASSERT_TRUE(writeFile(path, ill == 1115 ? doc : withStackProbes(doc)));
        testsupport::Rendered r = testsupport::renderWithGhostscript(path, 72, ill != 1115);
        ASSERT_TRUE(r.ok) << r.err;
        EXPECT_EQ(r.err.find("Error"), std::string::npos) << r.err;
        for (int n = 0; n < 16; ++n) {  // text ink in every label
            const int left = n < 8 ? 20 : 130, top = 30 + 60 * (n % 8);
            int ink = 0;
            for (int y = top + 10; y < top + 26; ++y)
                for (int x = left + 10; x < left + 50; ++x) ink += r.bitmap.at(x, y) < 128;
            EXPECT_GT(ink, 20) << "ill " << ill << " label " << n;
        }
        if (ill == 1115) {
            testsupport::RunResult q = testsupport::qpdfCheck(path);
            EXPECT_EQ(q.status, 0) << q.out;
        }
    }
}

// A plain sheet of a text item: a gutter after the first column moves the
// second, and the page grows to hold it.
TEST(FullSheet, AGutterBetweenColumnsMovesTheColumnsAfterIt) {
    for (int ill : {88, 1115}) {
        resetAll();
        gOut.ill = ill;
        sheetOfSixteen();
        labelBack3.across = 2 + kGutterModulus * 1;
        labelBack3.down = 8 + kGutterModulus * 200;  // 20 points
        labelBack3.sheetWidth = 240 * 10000;
        addItem(kKindText, 10, 10, 40, 90)->setText(item::dataText, "A");
        int result = -1;
        const std::string doc = writeEPSout(&result);
        ASSERT_EQ(result, 0) << gMsg.last;
        const std::vector<Label> at = labels(doc, ill);
        ASSERT_EQ(at.size(), 16u) << ill;
        EXPECT_DOUBLE_EQ(at[0].x, 20) << ill;
        EXPECT_DOUBLE_EQ(at[8].x, 150) << ill;
        const bool grown =
            doc.find(ill == 1115 ? "/MediaBox [0 0 250.000000 520.000000]"
                                 : "%%BoundingBox: 0 0 250 520") != std::string::npos;
        EXPECT_TRUE(grown) << ill;
    }
}

// A print copy kept from before may hold any size: a page past the largest, or
// more positions than a sheet takes, is refused before anything is written.
TEST(FullSheet, ASheetPastTheLargestPageWritesNothing) {
    for (uint32_t labels : {1u, 200u}) {
        resetAll();
        gOut.ill = 1115;
        sheetOfSixteen();
        labelBack3.across = labelBack3.down = labels;
        labelBack3.labelWidth = labels == 1 ? 15000 * 10000 : 20 * 10000;
        labelBack3.labelHeight = 20 * 10000;
        labelBack3.sheetWidth = labelBack3.sheetHeight = 0;
        addItem(kKindText, 1, 1, 9, 9)->setText(item::dataText, "A");
        int result = -1;
        EXPECT_EQ(writeEPSout(&result), "") << labels;
        EXPECT_EQ(result, 1);
        EXPECT_EQ(gMsg.shown, 1);
        EXPECT_NE(gMsg.last.find(labels == 1 ? "200 inches" : "10000"), std::string::npos)
            << gMsg.last;
    }
}

// Past its end the run leaves the positions empty: the end value written again
// would repeat a serial number.
TEST(SerialSheet, PastItsEndTheRunLeavesThePositionsEmptyWithItem0sOwnAffixes) {
    resetAll();
    gOut.ill = 88;
    sheetOfSixteen();
    LabelItem* first = serialTextItem("0001\vP-\v-S");
    first->setText(item::serEnd, "0010");
    // Loaded after item 0 at every position: its prefix must not reach item 0.
    addItem(kKindText, 42, 10, 48, 90)->setText(item::dataText, "X\vQQ\vRR");
    serialRun("0001", "0010", 8, 4);
    int result = -1;
    const std::vector<Label> at = labels(writeEPSout(&result), 88);
    ASSERT_EQ(result, 0);
    ASSERT_EQ(at.size(), 10u);
    for (int n = 0; n < 10; ++n) EXPECT_EQ(at[n].text, "P-" + serial(n + 1) + "-S") << n;
    EXPECT_EQ(first->text(item::dataText), "0010\vP-\v-S");
    EXPECT_EQ(gProd.gcurr[0], 0);
}

TEST(SerialSheet, ARunThatCannotBeFilledWritesNothing) {
    struct Case {
        const char* start;
        int32_t length;
        const char* data;
        const char* why;
    };
    const Case cases[] = {
        {"00A1", 4, "00A1\v\v", "no decimal number"},
        // 252 digits, a VT, "P", a VT and "S" are more than an item's 254 characters.
        {"0001", 254, "0001\vP\vS", "too long for the item"},
    };
    for (const Case& c : cases) {
        resetAll();
        gOut.ill = 88;
        sheetOfSixteen();
        serialTextItem(c.data);
        serialRun(c.start, "9999", c.length, c.length == 4 ? 0 : 2);
        int result = -1;
        EXPECT_EQ(writeEPSout(&result), "") << c.why;
        EXPECT_EQ(result, 1) << c.why;
        EXPECT_EQ(gMsg.shown, 1) << c.why;
    }
}

TEST(SerialSheet, AnAddOnCounterCountsInDecimalToItsWidth) {
    // The add-on after each label: 05 is printed first, then 08 and 11; past the
    // end of 12 the count stops, and a fourth position stays empty.
    const char* after[] = {"08", "11", "11", "11"};
    for (uint32_t down = 1; down <= 4; ++down) {
        resetAll();
        gOut.ill = 88;
        sheetOfSixteen();
        labelBack3.across = 1;
        labelBack3.down = down;
        LabelItem* it = serialTextItem("\v\v");
        it->setText(item::addCode, "05");
        it->setText(item::serEnd, "12");
        serialRun("", "12");
        gProd.gaddn = 1;
        set(gProd.gincr, "3");
        int result = -1;
        const std::vector<Label> at = labels(writeEPSout(&result), 88);
        EXPECT_EQ(result, 0);
        EXPECT_EQ(at.size(), std::min(down, 3u)) << down;
        EXPECT_EQ(it->text(item::addCode), after[down - 1]) << down;
        EXPECT_EQ(it->text(item::dataText), "\v\v") << "the main data stays";
    }
}

// The serial pane's run handed to a 1 x 3 sheet, no label layout open: item 0
// a bar-font symbol of code type `code` holding the pane's first symbol, the
// value between prefix LOT and suffix X.
LabelItem* handedOverPaneRun(int16_t code, const char* start, int32_t base) {
    resetAll();
    gOut.ill = 88;
    sheetOfSixteen();
    labelBack.labelWidth = labelBack.labelHeight = 0;
    labelBack3.across = 1;
    labelBack3.down = 3;
    LabelItem* it = addItem(kKindBarcode, 10, 10, 40, 90);
    it->setI16(item::code, code);
    it->setI16(item::hei, 150);
    it->setI16(item::siz, 10000);
    it->setI16(item::humanPacked, 2 * 1);
    it->setText(item::fontBelow, "\x07Strixel");
    const std::string shown = std::string("LOT") + start + "X";
    it->setText(item::dataText, shown + "\vLOT\vX");
    it->setText(item::serPos, shown);
    it->setU32(item::len1, static_cast<uint32_t>(shown.size()));
    const int32_t width = static_cast<int32_t>(std::strlen(start));
    serialRun(start, std::string(size_t(width), '~').c_str(), width + 4, 4);
    gProd.galpha = base;
    return it;
}

TEST(SerialSheet, AHandedOverPaneRunShowsThePrefixAndSuffixAtEveryPosition) {
    handedOverPaneRun(6, "0098", kSerialDecimal);
    set(gProd.gfini, "9999");
    int result = -1;
    const std::vector<Label> at = labels(writeEPSout(&result), 88);
    EXPECT_EQ(result, 0) << gMsg.last;
    ASSERT_EQ(at.size(), 3u);
    const char* shown[] = {"LOT0098X", "LOT0099X", "LOT0100X"};
    for (int n = 0; n < 3; ++n)
        EXPECT_NE(at[n].body.find(shown[n]), std::string::npos) << n << ": " << at[n].body;

    // Code 39 cannot show the third base-94 value "A[": no sheet with a gap.
    handedOverPaneRun(6, "AY", kSerialBase94);
    EXPECT_EQ(writeEPSout(&result), "");
    EXPECT_EQ(result, 1);
    EXPECT_EQ(gMsg.shown, 1) << "the run ends at its first refused position";
}

// Item 0 a Code 128 symbol low enough to be set as bar-font text, so that its
// data stands in the page; its template takes field 2 and, after a '|', field 1.
struct ImportSheet : ::testing::Test {
    LabelItem* item0 = nullptr;
    void SetUp() override {
        resetAll();
        gOut.ill = 88;
        sheetOfSixteen();
        item0 = addItem(kKindBarcode, 10, 10, 40, 90);
        item0->setI16(item::code, 5);
        item0->setI16(item::hei, 150);  // 1.5 mm
        item0->setI16(item::siz, 10000);
        item0->setI16(item::humanPacked, 2 * 2);  // an import item
        item0->setText(item::fontBelow, "\x07Strixel");
        item0->setText(item::serPos, "<<2>>|<<1>>");
    }
    void TearDown() override {
        if (gProd.vimportRef != 0) platform::FSClose(gProd.vimportRef);
        gProd.vimportRef = 0;
    }
    // Opens the import file and fills item 0 from its first record, as the run
    // does before it hands the sheet over.
    void startRun(const std::string& file) {
        gProd.vimportRef = platform::FSOpenMemory();
        int32_t n = static_cast<int32_t>(file.size());
        platform::FSWrite(gProd.vimportRef, &n, file.data());
        platform::SetFPos(gProd.vimportRef, 0);
        GetImportItems();
        char built[kImportBuiltSize];
        GetImportBuilt(built, item0->text(item::serPos).c_str());
        std::string data = built;
        item0->setText(item::dataText, data.substr(0, data.find('|')));
        item0->setU32(item::len1, static_cast<uint32_t>(data.find('|')));
        gProd.gcite = 1;
        gProd.gemode = 2;
        gProd.gtlen = 5;
    }
};

TEST_F(ImportSheet, RecordsFillThePositionsUntilTheFileEnds) {
    // With and without a record end after the last record.
    for (const char* end : {"", "\r"}) {
        SetUp();
        startRun(std::string("1,A-001\r2,A-002\r3,A-003\r4,A-004\r5,A-005") + end);
        int result = -1;
        const std::vector<Label> at = labels(writeEPSout(&result), 88);
        EXPECT_EQ(result, 0);
        ASSERT_EQ(at.size(), 5u) << "one label per record";
        for (int n = 0; n < 5; ++n) {
            EXPECT_NE(at[n].body.find("A-00" + std::to_string(n + 1)), std::string::npos) << n;
            EXPECT_DOUBLE_EQ(at[n].x, 20);
            EXPECT_DOUBLE_EQ(at[n].y, 520 - (30 + 60 * n + 50));
        }
        // The last record: its data before the '|', the add-on after it.
        EXPECT_EQ(item0->text(item::dataText), "A-005");
        EXPECT_EQ(item0->u32(item::len1), 5u);
        EXPECT_EQ(item0->text(item::addCode), "5");
        EXPECT_EQ(gProd.gcite, 6);
        EXPECT_EQ(gMsg.shown, 0) << gMsg.last;
        TearDown();
    }
}

}  // namespace
