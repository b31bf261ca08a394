// Whole labels through EPSout: every shape item in every dialect; the code
// width, item rotation and a symbol set as bar-font text.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <sstream>
#include <utility>
#include <vector>

#include "doc_fixture.h"
#include "support/cases.h"
#include "support/reader.h"
#include "symbology/state.h"
#include "vector/Epsout.h"
#include "vector/page.h"
#include "vector/sink.h"
#include "vector/textruns.h"

using namespace vectortest;

namespace {

constexpr int kLabelWidth = 300, kLabelHeight = 200;  // points

void colours(LabelItem* it, int c, int m, int y, int k) {
    it->setI16(item::cyan2, c);
    it->setI16(item::magenta2, m);
    it->setI16(item::yellow2, y);
    it->setI16(item::black2, k);
}

// A label with a text, a rectangle, a filled rectangle, an oval, a filled oval,
// a line and a filled rectangle in a spot colour.
void everyShapeLabel() {
    labelBack.labelWidth = kLabelWidth * 10;
    labelBack.labelHeight = kLabelHeight * 10;
    LabelItem* text = addItem(kKindText, 10, 10, 30, 250);
    text->setText(item::fontBelow, "\x09Helvetica");
    text->setI16(item::customTeSize, 12);
    text->dataHandle = "Label (text) \x8e";
    text->hasDataHandle = true;
    addItem(kKindRect, 40, 10, 90, 60)->setI16(item::line, 2);
    addItem(kKindRectFilled, 40, 70, 90, 120)->setI16(item::line, 1);
    addItem(kKindOval, 40, 130, 90, 180)->setI16(item::line, 2);
    addItem(kKindOvalFilled, 40, 190, 90, 240)->setI16(item::line, 1);
    addItem(kKindLine, 100, 10, 150, 60)->setI16(item::line, 2);
    LabelItem* spot = addItem(kKindRectFilled, 100, 70, 150, 120);
    colours(spot, 0, 100, 80, 5);
    spot->setI16(item::checkPacked, 2);  // a spot colour
    spot->setText(item::fontAbove, "\x09Helvetica\vPMS 186");
}

std::string extension(int ill) { return ill == 1115 ? ".pdf" : ".eps"; }

class EveryShape : public ::testing::TestWithParam<std::tuple<int, int>> {};

TEST_P(EveryShape, RendersWithEveryShapeInked) {
    const auto [ill, purePost] = GetParam();
    resetAll();
    gOut.ill = ill;
    gOut.purePost = purePost;
    everyShapeLabel();
    int result = -1;
    std::string doc = writeEPSout(&result);
    ASSERT_EQ(result, 0);
    if (ill != 1115) doc = withStackProbes(doc);
    if (ill == 2) doc += "\rshowpage\r";  // a font file draws its page items but prints nothing
    const std::string path = testsupport::tempPath("label" + extension(ill));
    ASSERT_TRUE(writeFile(path, doc));
    constexpr int dpi = 72;
    testsupport::Rendered r =
        testsupport::renderWithGhostscript(path, dpi, purePost == 0 && ill != 1115 && ill != 2);
    ASSERT_TRUE(r.ok) << r.err;
    // EPS and PDF pages are the label; plain PostScript and the font dialect
    // print on a whole sheet of paper with the label at its lower left corner.
    ASSERT_GE(r.bitmap.width, kLabelWidth);
    ASSERT_GE(r.bitmap.height, kLabelHeight);
    const int top = r.bitmap.height - kLabelHeight;
    auto at = [&](int x, int y) { return r.bitmap.at(x, top + y); };
    // Centres of the filled shapes and edges of the outlines (QuickDraw y down).
    EXPECT_LT(at(95, 65), 128) << "filled rectangle";
    EXPECT_LT(at(215, 65), 128) << "filled oval";
    EXPECT_LT(at(95, 125), 250) << "spot colour rectangle";
    EXPECT_GT(at(35, 65), 200) << "inside the outline rectangle";
    EXPECT_LT(std::min(at(10, 65), at(11, 65)), 128) << "rectangle edge";
    EXPECT_LT(std::min(at(130, 65), at(131, 65)), 128) << "oval edge";
    int textInk = 0;
    for (int y = 10; y < 30; ++y)
        for (int x = 10; x < 150; ++x) textInk += at(x, y) < 128;
    EXPECT_GT(textInk, 40) << "text";
    if (ill == 1115) {
        testsupport::RunResult q = testsupport::qpdfCheck(path);
        EXPECT_EQ(q.status, 0) << q.out;
        testsupport::RunResult p = testsupport::pdftoppm(path, testsupport::tempPath("p"));
        EXPECT_EQ(p.err, "");
    }
}

INSTANTIATE_TEST_SUITE_P(AllDialects, EveryShape,
                         ::testing::Combine(::testing::ValuesIn(kDialects),
                                            ::testing::Values(0, 1, 2)),
                         [](const auto& info) {
                             return "ill" + std::to_string(std::get<0>(info.param)) + "_pure" +
                                    std::to_string(std::get<1>(info.param));
                         });

// Two barcodes in inks of their own, a rectangle outlined in a third ink (its
// fill is process) and, loaded last, a text item whose spot setting paints
// nothing, as text is set in process colours.
void spotInksLabel() {
    labelBack.labelWidth = kLabelWidth * 10;
    labelBack.labelHeight = kLabelHeight * 10;
    auto barcode = [](int top, const char* fontAndInk) {
        LabelItem* it = addItem(kKindBarcode, top, 10, top + 60, 150);
        it->setI16(item::code, 0);
        it->setI16(item::siz, 10000);
        it->setI16(item::hei, 1500);
        it->setI16(item::checkPacked, 2);
        it->setText(item::fontAbove, fontAndInk);
        it->setText(item::fontBelow, "\x07Strixel");
        it->setText(item::dataText, "501234567890\v\v");
        it->setU32(item::len1, 12);
        return it;
    };
    colours(barcode(10, "\x07Strixel\vINK A"), 100, 0, 0, 0);
    colours(barcode(100, "\x07Strixel\vINK B"), 0, 100, 0, 0);
    LabelItem* box = addItem(kKindRectFilled, 10, 200, 60, 280);
    box->setI16(item::line, 2);
    box->setI16(item::checkPacked, 2);
    box->setText(item::fontAbove, "\x09Helvetica\vINK (R)");
    colours(box, 0, 0, 100, 30);
    LabelItem* text = addItem(kKindText, 100, 200, 130, 280);
    text->setText(item::fontBelow, "\x09Helvetica");
    text->setI16(item::customTeSize, 12);
    text->setI16(item::checkPacked, 2);
    text->setText(item::fontAbove, "\x09Helvetica\vINK T");
    text->dataHandle = "Text";
    text->hasDataHandle = true;
}

// The inks a document's header declares, each with its CMYK line's numbers.
std::vector<std::pair<std::string, std::string>> declaredInks(const std::string& doc) {
    const std::string header = doc.substr(0, doc.find("%%EndComments"));
    std::vector<std::pair<std::string, std::string>> inks;
    std::istringstream in(header);
    bool naming = false;
    const std::regex name(R"(^(?:%%DocumentCustomColors:|%%\+) \((.*)\)$)");
    const std::regex cmyk(R"(^%%CMYKCustomColor: (\S+ \S+ \S+ \S+) \((.*)\)$)");
    for (std::string line; std::getline(in, line, '\r');) {
        std::smatch m;
        if (line.starts_with("%%DocumentCustomColors:"))
            naming = true;
        else if (!line.starts_with("%%+"))
            naming = false;
        if (naming && std::regex_match(line, m, name)) inks.push_back({m[1], ""});
        if (std::regex_match(line, m, cmyk))
            for (auto& ink : inks)
                if (ink.first == m.str(2)) ink.second = m[1];
    }
    return inks;
}

// Separation programs make a plate for each ink the header names: every spot
// ink the label paints is named there, whatever item was loaded last.
TEST(SpotInks, EveryInkALabelPaintsIsDeclared) {
    for (const auto& [ill, purePost] : {std::pair{93, 0}, {88, 0}, {95, 0}, {95, 1}, {95, 2}}) {
        SCOPED_TRACE(std::to_string(ill) + " pure " + std::to_string(purePost));
        resetAll();
        gOut.ill = ill;
        gOut.purePost = purePost;
        spotInksLabel();
        int result = -1;
        const std::string doc = writeEPSout(&result);
        ASSERT_EQ(result, 0);
        const std::vector<std::pair<std::string, std::string>> want = {
            {"INK A", "1 0 0 0"}, {"INK B", "0 1 0 0"}, {"INK \\(R\\)", "0 0 1 .30"}};
        EXPECT_EQ(declaredInks(doc), want) << doc.substr(0, doc.find("%%EndComments"));
        // And the body paints in exactly these.
        const std::regex painted(R"(^.* \((.*)\) 0 [xX]$)");
        std::istringstream body(doc.substr(doc.find("%%EndComments")));
        for (std::string line; std::getline(body, line, '\r');) {
            std::smatch m;
            if (!std::regex_match(line, m, painted)) continue;
            EXPECT_TRUE(std::ranges::any_of(want, [&](const auto& w) { return w.first == m[1]; }))
                << m[1] << " is painted but not declared";
        }
        EXPECT_NE(doc.find("(INK B) 0 x\r"), std::string::npos);
        EXPECT_NE(doc.find("(INK \\(R\\)) 0 "), std::string::npos);
        EXPECT_EQ(doc.find("(INK T)"), std::string::npos);
    }
}

TEST(CodeWidth, FromTheElementList) {
    resetAll();
    for (const testsupport::CaseLine& c : testsupport::readCases("vector/code_widths.txt", 3)) {
        gSym.code = c.integer(0);
        gEl.clear();
        gEl.put(reinterpret_cast<const unsigned char*>(c[1].data()), c[1].size());
        EXPECT_EQ(GetCodeWidth(), c.integer(2)) << c.where;
    }
}

TEST(Orientation, RotationIsRememberedForOneItem) {
    resetAll();
    Rect16 r;
    r.top = 10;
    r.left = 20;
    r.bottom = 60;
    r.right = 120;
    SetOrient(200, r, 90);
    EXPECT_EQ(gVec.trans2, 90);
    EXPECT_EQ(gVec.trans2Width, 100);
    EXPECT_EQ(gVec.trans2Height, 50);
    SetOrient(202, r, 180);
    EXPECT_EQ(gVec.trans2, 90);
    SetOrient(151, r, 0);
    EXPECT_EQ(gVec.trans2, 0);
    EXPECT_EQ(gVec.trans2Width, 0);
    PageRect p;
    CorrectItemRect(0, 200, r, &p);
    EXPECT_EQ(p.upper, 190);
    EXPECT_EQ(p.lower, 140);
    EXPECT_EQ(p.left, 20);
    EXPECT_EQ(p.right, 120);
}

// A Code 128 item of ABC 1.5 mm high, which is set as bar-font text.
void barFontItem() {
    LabelItem* it = freshItem(88, 200, 30);
    it->setI16(item::code, 5);
    it->setI16(item::hei, 150);  // 1.5 mm
    it->setI16(item::siz, 10000);
    it->setText(item::dataText, "ABC\v\v");
    it->setU32(item::len1, 3);
}

TEST(BarFontText, LowSymbolIsSetAsTextWithoutATrailingNul) {
    barFontItem();
    int result = -1;
    const std::string doc = writeEPSout(&result);
    EXPECT_EQ(result, 0);
    const size_t font = doc.find(" 0 0 z\r[1 0 0 1 0.000000 30.000000]e\r", doc.find("/_Strixel "));
    ASSERT_NE(font, std::string::npos) << doc.substr(doc.find("%%EndSetup"));
    const size_t open = doc.find('(', font);
    const size_t close = doc.find(")t\r", open);
    ASSERT_NE(close, std::string::npos);
    EXPECT_EQ(static_cast<int32_t>(close - open - 1), gData.len1);
    EXPECT_NE(doc.find("\r0 0 0 0 k\r0 w\r0.000000 4.251968 m\r"), std::string::npos)
        << "the white box behind the text, 1.5 mm high";
}

// A damaged document's label some 14,000 km high puts the text's place past
// the position unit's range: it is held at the range's end, not wrapped round.
TEST(BarFontText, PlaceBeyondThePositionRangeIsHeld) {
    barFontItem();
    labelBack.labelWidth = 2000;
    labelBack.labelHeight = 4'000'000'000u;
    int result = -1;
    const std::string doc = writeEPSout(&result);
    EXPECT_EQ(result, 0);
    EXPECT_NE(doc.find(" 21474.836470]e\r"), std::string::npos)
        << doc.substr(doc.find("%%EndSetup"));
}

}  // namespace
