// The frame of every dialect: first line, header comments in their order, the
// options line where the reader looks for it, trailers and the job wrapper.
#include <gtest/gtest.h>

#include <cstring>

#include "automation/options.h"
#include "doc_fixture.h"
#include "vector_fixture.h"
#include "symbology/messages.h"
#include "symbology/state.h"
#include "vector/Epsout.h"
#include "vector/sink.h"

using namespace vectortest;

namespace {

const std::string kPjlStart = "\x1b%-12345X@PJL JOB\r@PJL ENTER LANGUAGE = POSTSCRIPT \r";
const std::string kPjlEnd = "\x1b%-12345X@PJL EOJ\r\x1b%-12345X";

// Sets the label to 200 x 100 points and appends `count` text items: item i in
// the font font(i), bold when bold(i) is 1 (left at its default without bold).
void addTextItems(int count, const std::function<const char*(int)>& font,
                  const std::function<int(int)>& bold = {}) {
    labelBack.labelWidth = 2000;
    labelBack.labelHeight = 1000;
    for (int i = 0; i < count; ++i) {
        LabelItem* t = addItem(kKindText, 10, 10, 30, 100);
        t->setText(item::fontBelow, font(i));
        if (bold) t->setI16(item::teFace, bold(i));
    }
}

// The third "%%" comment counted from byte 11, as the file's reader finds it.
std::string thirdComment(const std::string& doc) {
    size_t p = 11;
    for (int i = 0; i < 3; ++i) {
        p = doc.find("%%", i == 0 ? p : p + 2);
        if (p == std::string::npos) return "";
    }
    return doc.substr(p, doc.find('\r', p) - p);
}

std::string withoutWrapper(const std::string& doc, int purePost) {
    if (purePost != 2) return doc;
    EXPECT_EQ(doc.compare(0, kPjlStart.size(), kPjlStart), 0);
    EXPECT_TRUE(doc.size() > kPjlEnd.size() &&
                doc.compare(doc.size() - kPjlEnd.size(), kPjlEnd.size(), kPjlEnd) == 0);
    return doc.substr(kPjlStart.size(), doc.size() - kPjlStart.size() - kPjlEnd.size());
}

class Frame : public ::testing::TestWithParam<std::tuple<int, int>> {};

TEST_P(Frame, FirstLineHeaderOptionsAndTrailers) {
    const auto [ill, purePost] = GetParam();
    const std::string whole = simpleDocument(ill, purePost);
    const std::string doc = withoutWrapper(whole, purePost);
    EXPECT_EQ(doc.find('\n'), std::string::npos);

    const std::string first = doc.substr(0, doc.find('\r'));
    if (ill == 2 || ill == 1 || ill == 88 || ill == 25)
        EXPECT_EQ(first, purePost == 0 && ill != 2 ? "%!PS-Adobe-2.0 EPSF-1.2" : "%!PS-Adobe-2.0");
    else
        EXPECT_EQ(first, purePost == 0 ? "%!PS-Adobe-3.0 EPSF-3.0" : "%!PS-Adobe-3.0");

    // The reader of the options line (from byte 11, the third "%%") finds it.
    EXPECT_EQ(thirdComment(whole).rfind("%%Options: {type:\"Code 128\"", 0), 0u)
        << thirdComment(whole);

    // The header comments in their order, the options and the date by name only.
    std::string header;
    for (const std::string& c : headerComments(doc)) {
        if (c.rfind("%%Options: ", 0) == 0)
            header += "%%Options\r";
        else if (c.rfind("%%CreationDate: ", 0) == 0)
            header += "%%CreationDate\r";
        else
            header += c + "\r";
    }
    const std::string name = std::to_string(ill);
    EXPECT_EQ(header, golden("frame.header." + name));

    // A printed page of the older dialects ends with its showpage.
    const bool print = purePost > 0 && (ill == 1 || ill == 88);
    const std::string tail = golden("frame.tail." + name + (print ? ".print" : ""));
    ASSERT_GE(doc.size(), tail.size());
    EXPECT_EQ(doc.substr(doc.size() - tail.size()), tail);

    // What stands between the set-up and the first item.
    if (ill == 25) {
        EXPECT_NE(doc.find("%%EndSetup\r%%Page: 1 1\r%AI5_BeginLayer\r"
                           "1 1 1 1 0 0 0 79 128 255 Lb\r(Layer 1) Ln\r1 Ap\r2540 Ar\r"),
                  std::string::npos);
    }
    if (ill == 95) {
        EXPECT_NE(doc.find("%%EndSetup\r%AI5_BeginLayer\r"), std::string::npos);
    }
    if (ill == 2) {
        EXPECT_EQ(doc.find("%%EndSetup"), std::string::npos);
        EXPECT_NE(doc.find("CharStrings begin\r/.notdef{500 0 setcharwidth}def\r"),
                  std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(PostScriptDialects, Frame,
                         ::testing::Combine(::testing::Values(1, 88, 93, 95, 25, 2),
                                            ::testing::Values(0, 1, 2)),
                         [](const auto& info) {
                             return "ill" + std::to_string(std::get<0>(info.param)) + "_pure" +
                                    std::to_string(std::get<1>(info.param));
                         });

TEST(FrameFonts, BoldFontOfTwoTextItemsIsListedOnce) {
    freshItem(88, 200, 100);
    addTextItems(
        2, [](int) { return "\x05Times"; }, [](int) { return 1; });
    const std::string doc = writeDocument();
    EXPECT_NE(doc.find("%%DocumentFonts: Times-Bold\r%%BoundingBox"), std::string::npos) << doc;
    EXPECT_NE(doc.find("%%BeginEncoding: _Times-Bold Times-Bold\r[\r]/_Times-Bold/Times-Bold 0 Z\r"
                       "%%EndEncoding\r%%EndSetup"),
              std::string::npos);
}

TEST(FrameFonts, FortyFontsAreListedWholeOneNamePerLine) {
    freshItem(95, 200, 100);
    // Fonts nobody has all fall back on Helvetica; Helvetica once, then bold ones.
    addTextItems(
        40, [](int i) { return i % 2 ? "\x05Times" : "\x09Helvetica"; },
        [](int i) { return i % 4 >= 2 ? 1 : 0; });
    ASSERT_EQ(labelBack.lastItem, 40);
    std::string doc = writeDocument();
    EXPECT_NE(doc.find("%%DocumentFonts: Helvetica\r%%+Times-Roman\r%%+Helvetica-Bold\r"
                       "%%+Times-Bold\r%%BoundingBox"),
              std::string::npos);
    // No name ever stands on a line of its own in the header.
    for (const std::string& l : linesOf(doc.substr(0, doc.find("%%EndComments"))))
        EXPECT_EQ(l.rfind("%", 0), 0u) << "bare header line: " << l;
    EXPECT_NE(doc.find("%%IncludeFont: Helvetica-Bold\r[\rTE\r"), std::string::npos);
    EXPECT_NE(
        doc.find("%AI3_BeginEncoding: _Times-Bold Times-Bold\r[/_Times-Bold/Times-Bold 0 0 1 TZ\r"
                 "%AI3_EndEncoding\r"),
        std::string::npos);
}

TEST(FrameFonts, HalfordsNamesHelveticaAndTheDataBarFontIsKept) {
    resetAll();
    gOut.ill = 93;
    gSym.code = 0;
    gSym.variation1 = 6;
    singleItem(200, 100);
    std::string doc = writeDocument();
    EXPECT_NE(doc.find("%%DocumentFonts: Helvetica\r%%BoundingBox"), std::string::npos);
    EXPECT_NE(doc.find("%%IncludeFont: Helvetica\r[\rTE\r%AI3_BeginEncoding: _Helvetica Helvetica"),
              std::string::npos);

    // DataBar text is drawn as outlines in the default font only outside its
    // own documents: the flag set for it does not reach the next document.
    resetAll();
    gOut.ill = 88;
    gSym.code = 37;
    singleItem(200, 100);  // its fonts are the bar font, the default font
    doc = writeDocument();
    EXPECT_NE(doc.find("%%DocumentFonts: Strixel\r"), std::string::npos);
    gSym.code = 5;
    doc = writeDocument();
    EXPECT_EQ(doc.find("%%DocumentFonts:"), std::string::npos);
}

TEST(FrameTitle, ControlBytesBecomeDashesAndTheDataIsLeftAlone) {
    freshItem(95, 200, 100);
    const char data[] =
        "AB\x01\x1f"
        "C\tD(E)";
    std::memcpy(gData.chMainCode2, data, sizeof data);
    gData.len1 = gData.len11 = static_cast<int32_t>(sizeof data - 1);
    const std::string doc = writeDocument();
    EXPECT_NE(doc.find("%%Title: AB--C-D(E)\r"), std::string::npos);
    EXPECT_NE(doc.find("data:\"AB--C-D(E)\""), std::string::npos);
    EXPECT_EQ(std::memcmp(gData.chMainCode2, data, sizeof data), 0);
}

TEST(FrameTitle, LongestDataIsWrittenWhole) {
    freshItem(1, 200, 100);
    std::string data(kMainCodeSize - 1, 'x');
    data[0] = 0;  // a NUL in the data reaches the file as '0'... but ends the printed text
    std::memset(gData.chMainCode2, 'x', kMainCodeSize - 1);
    gData.len1 = gData.len11 = kMainCodeSize - 1;
    const std::string doc = writeDocument();
    EXPECT_NE(doc.find("%%Title: " + std::string(kMainCodeSize - 1, 'x') + "\r"),
              std::string::npos);
}

TEST(FrameBoxes, WholePointsOutwardWithTheExactBoxBeside) {
    freshItem(93, 120, 20);
    gSym.Hei = 10;  // 28.346456 points of bars stand above the item's bottom
    gSym.gBaseAdjust = -2.5;
    const std::string doc = writeDocument();
    EXPECT_NE(doc.find("%%BoundingBox: 0 -2 120 27\r"
                       "%%HiResBoundingBox: 0.000000 -2.000000 120.000000 26.346456\r"
                       "%%TemplateBox: 0 -2 612 864\r"),
              std::string::npos)
        << doc.substr(0, 800);
}

TEST(FrameBoxes, FullSheetWithoutSizeIsA4ForThisDocumentOnly) {
    unsizedSheet(88, 200, 100, 2, 2);
    const std::string doc = writeDocument();
    EXPECT_NE(doc.find("%%BoundingBox: 0 0 595 841\r"
                       "%%HiResBoundingBox: 0.000000 0.000000 595.000000 841.000000\r"
                       "%%TemplateBox: 0 0 595.000000 841.000000\r"
                       "%%TileBox: 0 0 595.000000 841.000000\r"),
              std::string::npos);
    EXPECT_EQ(labelBack3.sheetWidth, 0u);
    EXPECT_EQ(labelBack3.sheetHeight, 0u);

    // A sheet too small for its labels grows to hold them.
    labelBack3.sheetWidth = 1000000;
    labelBack3.sheetHeight = 1000000;
    labelBack3.leftMargin = 100000;
    labelBack3.spaceAcross = 50000;
    const std::string grown = writeDocument();
    EXPECT_NE(grown.find("%%BoundingBox: 0 0 215 100\r"
                         "%%HiResBoundingBox: 0.000000 0.000000 215.000000 100.000000\r"),
              std::string::npos);
}

TEST(FrameColours, SpotColourCommentsEscapeTheName) {
    freshItem(88, 200, 100);
    gSym.customColour = 1;
    pstrSet(gSym.customCol, "Red (warm)");
    gSym.cyan2 = 0;
    gSym.magenta2 = 5;
    gSym.yellow2 = 100;
    gSym.black2 = 40;
    const std::string doc = writeDocument();
    EXPECT_NE(doc.find("%%DocumentCustomColors: (Red \\(warm\\))\r"
                       "%%CMYKCustomColor: 0 .05 1 .40 (Red \\(warm\\))\r"),
              std::string::npos);
    gOut.ill = 25;  // the press dialect counts as older than 88: no spot comments
    EXPECT_EQ(writeDocument().find("%%DocumentCustomColors"), std::string::npos);
}

TEST(FrameRefusals, UnknownDialectWritesNothing) {
    freshItem(94, 200, 100);
    int result = 0;
    EXPECT_EQ(writeEPSout(&result), "");
    EXPECT_EQ(result, 1);
    EXPECT_EQ(gMsg.shown, 1);
}

TEST(FrameRefusals, FullDiskIsReported) {
    resetAll();
    gOut.ill = 95;
    // Enough text items to pass the file layer's buffer.
    addTextItems(100, [](int) { return "\x09Helvetica"; });
    labelBack3.labelWidth = 1000000;
    labelBack3.labelHeight = 1000000;
    labelBack3.across = 5;
    labelBack3.down = 5;
    platform::FileRef ref = 0;
    ASSERT_EQ(platform::FSCreateOpen("/dev/full", &ref), platform::noErr);
    EXPECT_EQ(EPSout(ref, 0), 1);
    EXPECT_EQ(gMsg.shown, 1) << gMsg.last;
    platform::FSClose(ref);
}

}  // namespace
