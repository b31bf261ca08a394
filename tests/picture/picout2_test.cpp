// The picture driver over a label of several items: the screen picture and a
// printing pass, guide items, turned barcodes and their comments, serial items.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/world.h"
#include "labels/itemFields.h"
#include "labels/labelDoc.h"
#include "labels/production.h"
#include "pict_fixture.h"
#include "pict_ops.h"
#include "picture/PICout2.h"
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

}  // namespace

namespace {

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
