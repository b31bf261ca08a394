// The frame of every dialect: first line, header comments in their order, the
// options line where the reader looks for it, trailers and the job wrapper.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>

#include "automation/options.h"
#include "doc_fixture.h"
#include "support/cases.h"
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

// A document of dialect ill: a 200 x 100 point Code 128 item of "ABC123" with
// Helvetica below.
std::string simpleDocument(int ill, int purePost) {
    resetAll();
    gOut.ill = ill;
    gOut.purePost = purePost;
    gSym.code = 5;
    copyBounded(gSym.TeF, "Code 128");
    copyBounded(gData.chMainCode2, "ABC123");
    gData.len1 = gData.len11 = 6;
    LabelItem* it = singleItem(200, 100);
    it->setText(item::fontBelow, "\x09Helvetica");
    return writeDocument();
}

// The "%%" comments of the header, in order.
std::vector<std::string> headerComments(const std::string& doc) {
    std::vector<std::string> out;
    for (const std::string& l : linesOf(doc)) {
        if (l == "%%EndComments") break;
        if (l.rfind("%%", 0) == 0) out.push_back(l);
    }
    return out;
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

// The documents of tests/data/vector/frame_texts.txt by name.
const std::map<std::string, std::function<std::string()>>& frameDocuments() {
    static const std::map<std::string, std::function<std::string()>> docs = {
        {"fonts.bold",
         [] {
             freshItem(88, 200, 100);
             addTextItems(
                 2, [](int) { return "\x05Times"; }, [](int) { return 1; });
             return writeDocument();
         }},
        // Fonts nobody has all fall back on Helvetica; Helvetica once, then bold ones.
        {"fonts.forty",
         [] {
             freshItem(95, 200, 100);
             addTextItems(
                 40, [](int i) { return i % 2 ? "\x05Times" : "\x09Helvetica"; },
                 [](int i) { return i % 4 >= 2 ? 1 : 0; });
             EXPECT_EQ(labelBack.lastItem, 40);
             return writeDocument();
         }},
        {"fonts.halfords",
         [] {
             resetAll();
             gOut.ill = 93;
             gSym.code = 0;
             gSym.variation1 = 6;
             singleItem(200, 100);
             return writeDocument();
         }},
        // DataBar text is drawn as outlines in the default font only outside its
        // own documents: the flag set for it does not reach the next document.
        {"fonts.databar",
         [] {
             resetAll();
             gOut.ill = 88;
             gSym.code = 37;
             singleItem(200, 100);  // its fonts are the bar font, the default font
             return writeDocument();
         }},
        {"fonts.after-databar",
         [] {
             frameDocuments().at("fonts.databar")();
             gSym.code = 5;
             return writeDocument();
         }},
        // Control bytes become dashes in the title and the options; the data is
        // left alone.
        {"title.control",
         [] {
             freshItem(95, 200, 100);
             const char data[] =
                 "AB\x01\x1f"
                 "C\tD(E)";
             std::memcpy(gData.chMainCode2, data, sizeof data);
             gData.len1 = gData.len11 = static_cast<int32_t>(sizeof data - 1);
             const std::string doc = writeDocument();
             EXPECT_EQ(std::memcmp(gData.chMainCode2, data, sizeof data), 0);
             return doc;
         }},
        // Whole points outward, the exact box beside.
        {"box.exact",
         [] {
             freshItem(93, 120, 20);
             gSym.Hei = 10;  // 28.346456 points of bars stand above the item's bottom
             gSym.gBaseAdjust = -2.5;
             return writeDocument();
         }},
        // A full sheet without a size is A4 for this document only.
        {"box.a4",
         [] {
             unsizedSheet(88, 200, 100, 2, 2);
             const std::string doc = writeDocument();
             EXPECT_EQ(labelBack3.sheetWidth, 0u);
             EXPECT_EQ(labelBack3.sheetHeight, 0u);
             return doc;
         }},
        // A sheet too small for its labels grows to hold them.
        {"box.grown",
         [] {
             unsizedSheet(88, 200, 100, 2, 2);
             labelBack3.sheetWidth = 1000000;
             labelBack3.sheetHeight = 1000000;
             labelBack3.leftMargin = 100000;
             labelBack3.spaceAcross = 50000;
             return writeDocument();
         }},
        // The header names the inks the page's items paint in.
        {"spot.88",
         [] {
             LabelItem* it = freshItem(88, 200, 100);
             it->setI16(item::checkPacked, 2);
             it->setText(item::fontAbove, "\x07Strixel\vRed (warm)");
             it->setI16(item::magenta2, 5);
             it->setI16(item::yellow2, 100);
             it->setI16(item::black2, 40);
             gSym.customColour = 1;
             pstrSet(gSym.customCol, "Red (warm)");
             gSym.cyan2 = 0;
             gSym.magenta2 = 5;
             gSym.yellow2 = 100;
             gSym.black2 = 40;
             return writeDocument();
         }},
        // The press dialect counts as older than 88: no spot comments.
        {"spot.25",
         [] {
             frameDocuments().at("spot.88")();
             gOut.ill = 25;
             return writeDocument();
         }},
    };
    return docs;
}

TEST(FrameComments, FontsTitlesBoxesAndSpotColours) {
    std::map<std::string, std::string> written;
    for (const testsupport::CaseLine& c : testsupport::readCases("vector/frame_texts.txt", 3)) {
        SCOPED_TRACE(c.where);
        if (!written.count(c[0])) {
            written[c[0]] = frameDocuments().at(c[0])();
            // No name ever stands on a line of its own in the header.
            const std::string& doc = written[c[0]];
            for (const std::string& l : linesOf(doc.substr(0, doc.find("%%EndComments"))))
                EXPECT_EQ(l.rfind("%", 0), 0u) << "bare header line: " << l;
        }
        const bool found = written[c[0]].find(c[2]) != std::string::npos;
        EXPECT_EQ(found, c[1] == "has") << c[0] << ":\n" << crToLf(written[c[0]]);
    }
}

TEST(FrameComments, LongestDataIsTheWholeTitle) {
    freshItem(1, 200, 100);
    std::memset(gData.chMainCode2, 'x', kMainCodeSize - 1);
    gData.len1 = gData.len11 = kMainCodeSize - 1;
    EXPECT_NE(writeDocument().find("%%Title: " + std::string(kMainCodeSize - 1, 'x') + "\r"),
              std::string::npos);
}

TEST(FrameRefusals, UnknownDialectWritesNothing) {
    freshItem(94, 200, 100);
    int result = 0;
    EXPECT_EQ(writeEPSout(&result), "");
    EXPECT_EQ(result, 1);
    EXPECT_EQ(gMsg.shown, 1);
}

// A font file's one glyph holds one symbol: a second barcode item is refused by
// the writer itself, whoever calls it.
TEST(FrameRefusals, TypeThreeFontOfTwoBarcodeItemsWritesNothing) {
    freshItem(2, 200, 100);
    addItem(kKindBarcode, 0, 0, 100, 200);
    int result = 0;
    EXPECT_EQ(writeEPSout(&result), "");
    EXPECT_EQ(result, 1);
    EXPECT_NE(gMsg.last.find("item 2 of the label is a second barcode item"), std::string::npos);
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
