// The picture driver over a label of several items: the screen picture and a
// printing pass, guide items, turned barcodes and their comments, serial items.
#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "app/world.h"
#include "labels/itemFields.h"
#include "labels/labelBackground.h"
#include "labels/labelDoc.h"
#include "labels/labelFile.h"
#include "labels/runs/printLabels.h"
#include "labels/production.h"
#include "pict_fixture.h"
#include "pict_ops.h"
#include "picture/PICout2.h"
#include "labels/datafields.h"
#include "picture/hooks.h"
#include "platform/desktop.h"
#include "platform/files.h"
#include "platform/questions.h"
#include "picture/services.h"
#include "platform/quickdraw/pict.h"
#include "symbology/appBits.h"
#include "symbology/messages.h"
#include "symbology/state.h"

namespace {

constexpr double kWholePoints2D = 106;      // modules of 1.06 mm: 3 points
constexpr double kWholePointsLinear = 321;  // modules of 1.059 mm

struct Driver : ::testing::Test {
    qd::GWorldPtr scratch = nullptr;
    void SetUp() override {
        resetWorld();
        initLabelItems();
        resetProduction();
        resetPictureServices();
        resetPictureDriver();
        gMsg.quiet = true;
        labelBack.labelWidth = 8000;  // 800 by 300 points
        labelBack.labelHeight = 3000;
        qd::NewGWorld(&scratch, 32, {0, 0, 1, 1});
        qd::SetGWorld(scratch);
    }
    void TearDown() override {
        resetPictureDriver();
        qd::SetGWorld(nullptr);
        qd::DisposeGWorld(scratch);
    }
    static LabelItem& at(int32_t i) { return *gLabel.labelParts[static_cast<size_t>(i)]; }
    static int32_t add(uint16_t kind, Rect16 r) {
        EXPECT_EQ(addLabelItem(), 0);
        const int32_t i = labelBack.lastItem;
        at(i).setI16(item::kind, kind);
        gLabel.itRect = r;
        return i;
    }
    static int32_t barcode(int32_t code, const std::string& data, Rect16 r, double siz = 100) {
        const int32_t i = add(kKindBarcode, r);
        gSym = SymbolSettings{};
        gSym.code = code;
        GetCodeText();
        gSym.Siz = siz;
        copyBounded(gData.chMainCode, data.c_str());
        copyBounded(gData.chMainCode2, data.c_str());
        gData.len1 = gData.len11 = static_cast<int32_t>(data.size());
        gData.chPrefix[0] = gData.chSuffix[0] = 0;
        gLabel.serPos.clear();
        gLabel.notDrawn = 0;
        setItemRect(i);
        setItemData(i, 2);
        return i;
    }
    static int32_t shape(uint16_t kind, Rect16 r, bool guide) {
        const int32_t i = add(kind, r);
        gSym = SymbolSettings{};
        gSym.black22 = 100;  // filled black
        gSym.line = 1;
        gLabel.notDrawn = guide ? 1 : 0;
        setItemRect(i);
        setItemData(i, 0);
        return i;
    }
    static void turn(int32_t i, int32_t degrees) {
        const int16_t w = at(i).i16(item::orientPacked);
        at(i).setI16(item::orientPacked, (w & ~0x7FE) | ((degrees * 2) & 0x7FE));
    }
    // A printing pass recorded, so that it can be looked at like the screen picture.
    static qd::Picture* printPass() {
        qd::Picture* pic = qd::OpenPicture({0, 0, 300, 800});
        PICout2(0, 0, 1);
        qd::ClosePicture();
        return pic;
    }
    static bool black(const testsupport::Bitmap& b, double hPt, double vPt) {
        const double k = 600 / 72.0;
        return b.at(static_cast<int>(hPt * k), static_cast<int>(vPt * k)) < 128;
    }
};

void expectBarcodes(const testsupport::Bitmap& b) {
    EXPECT_EQ(testsupport::decode(b, "QRCode").text, "LABEL QR 42");
    EXPECT_EQ(testsupport::decode(b, "DataBar").text, "09501101530010");
    EXPECT_EQ(testsupport::decode(b, "Code128").text, "LBL128");
}

TEST_F(Driver, LabelOnScreenAndOnPaper) {
    // Sizes whose modules are whole points: points hold no finer module.
    const int32_t qr = barcode(40, "LABEL QR 42", {20, 20, 120, 120}, kWholePoints2D);
    barcode(37, "0950110153001", {20, 200, 120, 300}, kWholePointsLinear);
    barcode(5, "LBL128", {170, 20, 280, 300}, kWholePointsLinear);
    shape(kKindRectFilled, {20, 630, 60, 680}, false);
    shape(kKindRectFilled, {90, 630, 130, 680}, true);  // a guide
    turn(qr, 90);

    PICout2(0, 0, 0);
    ASSERT_NE(gDriver.Pict, nullptr);
    EXPECT_TRUE(gDriver.disp2);
    EXPECT_EQ(picttest::commentKinds(*gDriver.Pict),
              (std::vector<int32_t>{190, 191, 190, 191, 190, 191}));
    const testsupport::Bitmap screen = picttest::rasterise(gDriver.Pict);
    expectBarcodes(screen);
    EXPECT_TRUE(black(screen, 655, 40));
    EXPECT_TRUE(black(screen, 655, 110));

    qd::Picture* paper = printPass();
    EXPECT_EQ(picttest::commentKinds(*paper),
              (std::vector<int32_t>{190, 191, 202, 200, 201, 190, 191, 190, 191}));
    const testsupport::Bitmap printed = picttest::rasterise(paper);
    expectBarcodes(printed);
    EXPECT_TRUE(black(printed, 655, 40));
    EXPECT_FALSE(black(printed, 655, 110));  // guides stay on the screen
    qd::KillPicture(paper);
}

TEST_F(Driver, TurnedLabelAsPictReadsBack) {
    const int32_t qr = barcode(40, "LABEL QR 42", {20, 20, 120, 120}, kWholePoints2D);
    const int32_t code = barcode(5, "LBL128", {170, 20, 280, 300}, kWholePointsLinear);
    turn(qr, 270);
    turn(code, 180);
    PICout2(0, 0, 0);
    ASSERT_NE(gDriver.Pict, nullptr);
    const std::string bytes = qd::WritePict(*gDriver.Pict);
    std::string error;
    qd::Picture* back =
        qd::ReadPict(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), &error);
    ASSERT_NE(back, nullptr) << error;
    const testsupport::Bitmap b = picttest::rasterise(back);
    EXPECT_EQ(testsupport::decode(b, "QRCode").text, "LABEL QR 42");
    EXPECT_EQ(testsupport::decode(b, "Code128").text, "LBL128");
    qd::KillPicture(back);

    // The same bytes through another program's PICT import.
    testsupport::Bitmap page;
    ASSERT_TRUE(testsupport::readPGM(testsupport::pictThroughLibreOffice(bytes, 300, true), &page));
    EXPECT_EQ(testsupport::decode(page, "QRCode").text, "LABEL QR 42");
    EXPECT_EQ(testsupport::decode(page, "Code128").text, "LBL128");
}

TEST_F(Driver, RefusedSingleCodeRecordsNothing) {
    labelBack.labelWidth = labelBack.labelHeight = 0;
    barcode(40, "first", {0, 0, 10, 10});
    PICout2(0, 0, 0);
    qd::Picture* first = gDriver.Pict;
    ASSERT_NE(first, nullptr);
    // EAN-13 with letters is refused.
    at(0).setI16(item::code, 0);
    at(0).setText(item::dataText, "ABC");
    PICout2(0, 0, 0);
    EXPECT_FALSE(gDriver.disp2);
    EXPECT_EQ(gDriver.Pict, first);
}

// Three labels of a serial item: numRepeat 0 and 1 move on every label, 3
// every third.
TEST_F(Driver, SerialItemsAdvanceOncePerLabelOrPerRepeat) {
    for (int repeat : {0, 1, 3}) {
        SCOPED_TRACE(repeat);
        initLabelItems();
        labelBack.labelWidth = 8000;
        labelBack.labelHeight = 3000;
        const int32_t i = barcode(5, "0001", {20, 20, 120, 300}, 200);
        getItemData(i);
        gLabel.serPos = "0001";
        gLabel.incAmount = "1";
        gLabel.serEnd = "9999";
        gLabel.numRepeat = repeat;
        gLabel.tempNumRepeat = repeat;
        gLabel.proMode = 1;
        std::memcpy(gData.chMainCode, "0001", 5);
        gData.len1 = 4;
        setItemData(i, 2);
        gDriver.iRepeat2 = 1;
        std::vector<std::string> values;
        for (int label = 0; label < 4; ++label) {
            qd::Picture* p = printPass();
            qd::KillPicture(p);
            values.push_back(at(i).text(item::serPos));
        }
        if (repeat == 3)
            EXPECT_EQ(values, (std::vector<std::string>{"0001", "0001", "0002", "0002"}));
        else
            EXPECT_EQ(values, (std::vector<std::string>{"0002", "0003", "0004", "0005"}));
    }
}

// Symbols lower than 2 mm show their data as plain text in fontBelow, 10 points
// when no size is set; 4-state, DataBar and DataMatrix keep their bars.
TEST_F(Driver, LowSymbolsShowTheirDataAsText) {
    labelBack.labelWidth = labelBack.labelHeight = 0;
    barcode(6, "LOW39", {0, 0, 10, 10});
    at(0).setI16(item::hei, 150);  // 1.5 mm
    PICout2(0, 0, 0);
    ASSERT_NE(gDriver.Pict, nullptr);
    const picttest::Ops ops = picttest::readOps(*gDriver.Pict);
    ASSERT_EQ(ops.texts.size(), 1u);
    EXPECT_EQ(ops.texts[0].text, "LOW393");  // with its check character
    EXPECT_EQ(ops.texts[0].size, 10);
    EXPECT_EQ(gDriver.Pict->frame.height(), 10);
    EXPECT_TRUE(picttest::bars(ops, gDriver.Pict->frame).empty());
    EXPECT_EQ(at(0).i16(item::rectBottom) - at(0).i16(item::rectTop), 10);  // stored back

    initLabelItems();
    barcode(38, "LOW DM", {0, 0, 10, 10}, kWholePoints2D);
    at(0).setI16(item::hei, 150);
    PICout2(0, 0, 0);
    ASSERT_NE(gDriver.Pict, nullptr);
    EXPECT_EQ(testsupport::decode(picttest::rasterise(gDriver.Pict, 600, 40), "DataMatrix").text,
              "LOW DM");
}

// The print-time question: an empty answer asks again, the answer serves
// numRepeat labels, and a cancel ends the job instead of asking forever.
TEST_F(Driver, PrintTimeQuestionAndItsCancel) {
    const int32_t i = barcode(5, "", {20, 20, 120, 300}, kWholePointsLinear);
    getItemData(i);
    gLabel.proMode = 3;
    gLabel.textQuest = "Lot?";
    gLabel.numRepeat = gLabel.tempNumRepeat = 2;
    gData.len1 = 0;
    setItemData(i, 2);
    gDriver.askForRepeat = 1;
    gDriver.iRepeat2 = 1;
    auto& script = platform::questionScript();
    script.textAnswers = {{false, "", 1}, {false, "LOT7", 4}};
    for (int label = 0; label < 2; ++label) {
        qd::Picture* p = printPass();
        EXPECT_EQ(testsupport::decode(picttest::rasterise(p), "Code128").text, "LOT7");
        qd::KillPicture(p);
    }
    EXPECT_EQ(script.textAsked, 2);
    EXPECT_EQ(gPrint.rnLabels, 4);

    // The third label asks again; the user cancels and the run stops there.
    script.textAnswers = {{true, "", 1}};
    labelBack.across = labelBack.down = 1;
    labelBack.sheetWidth = 8000;
    labelBack.sheetHeight = 3000;
    gPrint.nLabels = 3;
    PrintLabels2(2, nullptr);
    EXPECT_TRUE(gDriver.jobCancelled);
    EXPECT_EQ(script.textAsked, 3);
    EXPECT_EQ(gPrint.nnLabels, 0);
}

void recordThermalItem(int32_t kind, int32_t i, qd::GWorldPtr) {
    platform::questionScript().askerAnswers.push_back(kind * 100 + i);
}
void barNowhere(const qd::Rect&) {}

// The thermal path: a back end takes the items one by one and keeps its hooks;
// without one the label is drawn into the printer's world.
TEST_F(Driver, ThermalPathsGoToTheBackEndOrItsWorld) {
    barcode(5, "THERMAL", {20, 20, 120, 300}, kWholePointsLinear);
    shape(kKindRectFilled, {20, 630, 60, 680}, false);
    qd::NewGWorld(&gPrint.therPrin, 32, {0, 0, 300, 800});
    gPrint.thermalPrint = 1;
    gPrint.thermalType = 1;
    gHooks.therm_ptr = recordThermalItem;
    gHooks.bar_ptr = barNowhere;
    PICout2(0, 0, -1);
    EXPECT_EQ(platform::questionScript().askerAnswers, (std::deque<int32_t>{400, 701}));
    EXPECT_EQ(gHooks.bar_ptr, barNowhere);

    gPrint.thermalType = 0;
    PICout2(0, 0, -1);
    EXPECT_EQ(qd::GetGWorld(), scratch);
    qd::RGBColor c;
    qd::SetGWorld(gPrint.therPrin);
    qd::GetCPixel(655, 40, &c);
    EXPECT_EQ(c.red, 0);
    qd::SetGWorld(scratch);
    qd::DisposeGWorld(gPrint.therPrin);
    gPrint.therPrin = nullptr;
}

// The screen shows an import item with the first record of the label's import
// file and a named item with its personal data field; the picture goes to the
// clipboard.
TEST_F(Driver, ScreenFillsImportAndPersonalFields) {
    const std::string file = testsupport::tempPath("records.txt");
    std::ofstream(file) << "REC-ONE,x\rREC-TWO,y\r";
    gDocFile.impoFile = file;
    const int32_t imp = barcode(5, "", {20, 20, 120, 300}, kWholePointsLinear);
    getItemData(imp);
    gLabel.proMode = 2;
    gLabel.serPos = "<<1>>";
    setItemData(imp, 2);

    const std::string home = testsupport::tempPath("data");
    ::setenv("XDG_DATA_HOME", home.c_str(), 1);
    platform::createFolder(platform::userDataFolder());
    unsigned char name[] = "\007Company", value[] = "\007ACME-42";  // length first
    ASSERT_EQ(SaveFieldData(name, value, nullptr), platform::noErr);
    gLabel.gItName = "Company";
    barcode(40, "", {150, 20, 250, 120}, kWholePoints2D);
    gLabel.gItName = "Default";

    gOut.tool = 0;
    PICout2(0, 0, 0);
    ::unsetenv("XDG_DATA_HOME");
    ASSERT_NE(gDriver.Pict, nullptr);
    const testsupport::Bitmap b = picttest::rasterise(gDriver.Pict);
    EXPECT_EQ(testsupport::decode(b, "Code128").text, "REC-ONE");
    EXPECT_EQ(testsupport::decode(b, "QRCode").text, "ACME-42");
    EXPECT_EQ(platform::ScrapContents().pict, qd::WritePict(*gDriver.Pict, 72));
}

// A press export leaves the variable items to the press; fixed ones are drawn.
// Forms printing draws the fixed shapes on the first page only.
TEST_F(Driver, PressExportLeavesVariableItemsOut) {
    barcode(5, "FIXED", {20, 20, 120, 300}, kWholePointsLinear);
    const int32_t serial = barcode(40, "0001", {150, 20, 250, 120}, kWholePoints2D);
    getItemData(serial);
    gLabel.proMode = 1;
    gLabel.serPos = "0001";
    setItemData(serial, 2);
    gOut.tool = 2;
    gOut.purePost = 0;
    gOut.ill = 25;
    qd::Picture* p = printPass();
    const testsupport::Bitmap b = picttest::rasterise(p);
    EXPECT_EQ(testsupport::decode(b, "Code128").text, "FIXED");
    EXPECT_TRUE(testsupport::decode(b, "QRCode").text.empty());
    qd::KillPicture(p);

    // Forms printing: shapes on the first page only.
    shape(kKindRectFilled, {20, 630, 60, 680}, false);
    gPrint.formsPrint = 1;
    gPrint.currPage = 2;
    p = printPass();
    EXPECT_FALSE(black(picttest::rasterise(p), 655, 40));
    qd::KillPicture(p);
}

// The label's ground: its colour and the grid on the screen, white on paper.
TEST_F(Driver, LabelGroundOnScreenAndPaper) {
    labelBack.backBlue = 0;  // yellow
    gDriver.gridOn = 1;
    PICout2(0, 0, 0);
    ASSERT_NE(gDriver.Pict, nullptr);
    const testsupport::Bitmap screen = picttest::rasterise(gDriver.Pict, 72);
    qd::Picture* printed = printPass();
    const testsupport::Bitmap paper = picttest::rasterise(printed, 72);
    qd::KillPicture(printed);
    EXPECT_LT(screen.at(15, 15), 255);                // yellow is not white in grey
    EXPECT_NE(screen.at(20, 15), screen.at(15, 15));  // a grid line
    EXPECT_EQ(paper.at(15, 15), 255);
    EXPECT_EQ(paper.at(20, 15), 255);
}

// A damaged document's label, some 12,000 km wide, printed at 1200 dpi: its
// ground holds within the port's counting range instead of wrapping round (a
// frame of negative size that paints nothing).
TEST_F(Driver, HugeLabelGroundHoldsWithinThePort) {
    labelBack.labelWidth = 4'000'000'000u;
    labelBack.labelHeight = 3'000'000'000u;
    gPrint.thermScale = 1200 / 72.0;
    const picttest::Ops ops =
        picttest::recordOps({0, 0, 300, 800}, [] { DrawLabelBackground(0, 0, 1); });
    gPrint.thermScale = 1;
    ASSERT_EQ(ops.painted.size(), 1u);
    const qd::Rect& ground = ops.painted[0];
    EXPECT_LT(ground.top, 0);
    EXPECT_LT(ground.left, 0);
    EXPECT_GE(ground.bottom, 1 << 29);
    EXPECT_GE(ground.right, 1 << 29);
}

// Each alone on its label: DataBar-14 at every quarter turn (turned upright for
// the reader, which takes linear symbols upright only), DataMatrix in points.
TEST_F(Driver, TurnedDataBarAndDataMatrixInPointsReadBack) {
    for (int degrees : {0, 90, 180, 270}) {
        SCOPED_TRACE(degrees);
        initLabelItems();
        labelBack.labelWidth = labelBack.labelHeight = 4000;
        turn(barcode(37, "0950110153001", {60, 60, 260, 260}, kWholePointsLinear / 3), degrees);
        PICout2(0, 0, 0);
        ASSERT_NE(gDriver.Pict, nullptr);
        const testsupport::Bitmap b = picttest::rasterise(gDriver.Pict);
        EXPECT_EQ(
            testsupport::decode(degrees % 180 ? testsupport::turnedClockwise(b) : b, "DataBar")
                .text,
            "09501101530010");
    }
    initLabelItems();
    barcode(38, "DATA MATRIX 42", {20, 20, 120, 120}, kWholePoints2D);
    PICout2(0, 0, 0);
    ASSERT_NE(gDriver.Pict, nullptr);
    // The reader looks for a DataMatrix from the middle of the image outwards.
    const testsupport::Bitmap b = testsupport::cropToInk(picttest::rasterise(gDriver.Pict), 80);
    EXPECT_EQ(testsupport::decode(b, "DataMatrix").text, "DATA MATRIX 42");
}

}  // namespace

namespace {

// The ink of the bitmap (600 dpi) in an area of points, inside and outside a
// rectangle of it.
struct InkSplit {
    int inside = 0;
    int outside = 0;
};
InkSplit inkAround(const testsupport::Bitmap& b, const Rect16& r, const Rect16& area) {
    const double k = 600 / 72.0;
    auto within = [k](const Rect16& q, int x, int y) {
        return x >= q.left * k && x < q.right * k && y >= q.top * k && y < q.bottom * k;
    };
    InkSplit s;
    for (int y = 0; y < b.height; ++y)
        for (int x = 0; x < b.width; ++x)
            if (b.at(x, y) < 128 && within(area, x, y)) ++(within(r, x, y) ? s.inside : s.outside);
    return s;
}

// A label of barcodes and a text item: on the screen and on paper every
// barcode reads, and the text is drawn inside its item and nowhere else.
TEST_F(Driver, LabelWithATextItemOnScreenAndOnPaper) {
    barcode(40, "LABEL QR 42", {20, 20, 120, 120}, kWholePoints2D);
    barcode(37, "0950110153001", {20, 200, 120, 300}, kWholePointsLinear);
    barcode(5, "LBL128", {170, 20, 280, 300}, kWholePointsLinear);
    const Rect16 textRect{40, 560, 70, 780};
    const int32_t text = add(kKindText, textRect);
    gSym = SymbolSettings{};
    gSym.customTeSize = 14;
    gSym.transpar_ent = 1;
    gLabel.notDrawn = 0;
    setItemRect(text);
    setItemData(text, 0);
    at(text).dataHandle = std::string("Label text 42") + std::string(2, '\0');
    at(text).hasDataHandle = true;
    // Glyphs reach up to the ascent, which may stand a pixel above the item.
    const Rect16 near{39, 559, 71, 781};  // the item and a point around it
    // The part of the label that the barcodes leave free.
    const Rect16 free{0, 530, 150, 800};

    PICout2(0, 0, 0);
    ASSERT_NE(gDriver.Pict, nullptr);
    const testsupport::Bitmap screen = picttest::rasterise(gDriver.Pict);
    expectBarcodes(screen);
    EXPECT_EQ(inkAround(screen, near, free).outside, 0);

    qd::Picture* paper = printPass();
    const testsupport::Bitmap printed = picttest::rasterise(paper);
    expectBarcodes(printed);
    const InkSplit ink = inkAround(printed, near, free);
    EXPECT_GT(ink.inside, 500);  // 13 characters of 14 points at 600 dpi
    EXPECT_EQ(ink.outside, 0);
    qd::KillPicture(paper);
}

}  // namespace

namespace {

// A print run draws label items in printer dots, each item's sizes grown by
// the dots a point holds: EAN and UPC at 100 % and less, whose modules are
// narrower than a point, read from the page at the printer's resolution.
TEST_F(Driver, RetailSymbolsReadAtThePrintResolution) {
    const double dots = 1200 / 72.0;
    barcode(0, "501234567890", {20, 20, 120, 300}, 100);
    barcode(10, "01234567890", {150, 20, 250, 300}, 80);
    barcode(3, "5512345", {20, 400, 120, 600}, 90);
    gPrint.thermScale = dots;
    const auto S = [&](int32_t v) { return static_cast<int32_t>(v * dots); };
    qd::Picture* pic = qd::OpenPicture({0, 0, S(300), S(800)});
    PICout2(0, 0, 1);
    qd::ClosePicture();
    gPrint.thermScale = 1;
    const testsupport::Bitmap page = picttest::rasterise(pic, 72);  // a pixel a dot
    qd::KillPicture(pic);
    const auto region = [&](int top, int left, int bottom, int right) {
        testsupport::Bitmap b{S(right - left), S(bottom - top), {}};
        for (int y = S(top); y < S(bottom); ++y)
            b.pixels.insert(b.pixels.end(), page.pixels.begin() + y * page.width + S(left),
                            page.pixels.begin() + y * page.width + S(right));
        return testsupport::padBitmap(b, 80);
    };
    EXPECT_EQ(testsupport::decode(region(0, 0, 140, 380), "EAN-13").text, "5012345678900");
    EXPECT_EQ(testsupport::decode(region(140, 0, 300, 380), "UPC-A").text, "012345678905");
    EXPECT_EQ(testsupport::decode(region(0, 380, 140, 800), "EAN-8").text, "55123457");
}

}  // namespace
