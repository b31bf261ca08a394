// OK with the preview on (the program's start setting) shows the symbol in the
// preview window at its printed size, and the click on the preview asks where
// to save it: the whole desktop wired as the program wires it, the save dialog
// answered by the test, the file read back by zxing-cpp, for a kind written
// as vectors (EPS) and for one made from the symbol's picture (TIFF).
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <QImage>

#include "app/codeTypeMenus.h"
#include "app/desktop/commands.h"
#include "app/desktop/layoutWindow.h"
#include "app/desktop/settingMenus.h"
#include "app/desktop/wiring.h"
#include "app/shell.h"
#include "automation/options.h"
#include "labels/labelDoc.h"
#include "main_window_fixture.h"
#include "platform/desktop.h"
#include "support/grey_image.h"
#include "picture/PICout2.h"
#include "vector/Epsout.h"

namespace {

using namespace mainlayout;

std::string gSaveTo;  // what the save dialog answers
int32_t gSaveAsked = 0;

bool answerSave(const std::string&, std::string* path) {
    ++gSaveAsked;
    *path = gSaveTo;
    return !gSaveTo.empty();
}

class PreviewAfterOK : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        wireDesktop();
        platform::SetDialogAnswers(answerSave, nullptr, nullptr);
        gSaveAsked = 0;
        gOut.tool = kOutVector;
        gOut.outToFile = 1;
        gOut.fileDia = 0;
        gOut.showDia = 0;                       // each symbol previewed before it is delivered
        ASSERT_EQ(parseCodeType("EAN 13"), 1);  // with its own size and height
        doUpdate();
    }
    void TearDown() override {
        disposeDisp2();
        platform::SetDialogAnswers(nullptr, nullptr, nullptr);
        MainWindowTest::TearDown();
    }

    // The columns of the preview window that hold dark ink: [first, last].
    static std::pair<int32_t, int32_t> inkColumns() {
        const qd::Rect port = gWindows.disp2->portRect;
        int32_t first = -1, last = -1;
        for (int32_t h = port.left; h < port.right; ++h)
            for (int32_t v = port.top; v < port.bottom; ++v)
                if ((WindowPixel(gWindows.disp2, h, v) & 0xFF) < 0x40) {
                    if (first < 0) first = h;
                    last = h;
                    break;
                }
        return {first, last};
    }
};

TEST_F(PreviewAfterOK, OKShowsTheSymbolAtItsSizeAndTheClickSavesWhereTheDialogSays) {
    const std::string dir = testsupport::freshFolder("preview");
    gSaveTo = dir + "/typed.eps";
    clickIn(gPanels.TEH.viewRect);
    type("590123412345");
    pressOK();
    ASSERT_NE(gWindows.disp2, nullptr) << "OK showed no preview";
    EXPECT_EQ(gWindows.disp2->title, "Preview");
    EXPECT_EQ(gSaveAsked, 0) << "nothing is delivered before the preview is clicked";
    EXPECT_TRUE(filesIn(dir).empty());

    // EAN-13 at 100 % is 37.29 mm wide with its quiet zones, about 106 screen
    // points; its picture's own units must not be taken for points.
    settle();
    const auto [first, last] = inkColumns();
    ASSERT_GE(first, 0) << "the preview shows no symbol";
    constexpr int32_t kSymbolPoints = 106, kSlack = 12;
    EXPECT_NEAR(last - first, kSymbolPoints - 2 * 7, kSlack) << first << ".." << last;
    EXPECT_LT(last, gWindows.disp2->portRect.right - 100) << "the symbol overflows the window";

    click(centre(ContentBounds(gWindows.disp2)));
    settle();
    EXPECT_EQ(gSaveAsked, 1);
    EXPECT_EQ(gWindows.disp2, nullptr);
    ASSERT_EQ(filesIn(dir).size(), 1u) << gMsg.last;
    const testsupport::Rendered r = testsupport::renderWithGhostscript(gSaveTo, 400);
    ASSERT_TRUE(r.ok) << r.err;
    EXPECT_EQ(testsupport::decode(testsupport::cropToInk(r.bitmap, 80), "EAN-13").text,
              "5901234123457");
}

TEST_F(PreviewAfterOK, APictureKindIsMadeFromTheSymbolWhenThePreviewIsClicked) {
    const std::string dir = testsupport::freshFolder("preview_tiff");
    gSaveTo = dir + "/typed.tif";
    ASSERT_EQ(parseCodeType("Code 128"), 1);
    gOut.tool = kOutTiff;
    doUpdate();
    clickIn(gPanels.TEH.viewRect);
    type("STRIXEL-128");
    pressOK();
    ASSERT_NE(gWindows.disp2, nullptr);
    settle();
    gMsg.last.clear();
    click(centre(ContentBounds(gWindows.disp2)));
    settle();
    EXPECT_EQ(gMsg.last, "") << "the picture was there to write";
    ASSERT_EQ(filesIn(dir).size(), 1u);
    std::string why;
    const testsupport::Bitmap image = testsupport::greyOfImage(gSaveTo, &why);
    ASSERT_GT(image.width, 0) << why;
    EXPECT_EQ(testsupport::decode(testsupport::padBitmap(image, 40), "Code128").text,
              "STRIXEL-128");
}

// File > Save without a layout writes the symbol; with no data there is none to
// write, and a symbol not written leaves the changes marked.
TEST_F(PreviewAfterOK, SaveWritesOnlyASymbolAndSaysSavedOnlyWhenItWasWritten) {
    const std::string dir = testsupport::freshFolder("save_symbol");
    gSaveTo = dir + "/typed.eps";
    gShell.changed = 1;
    EXPECT_EQ(DoFile(kFileSave), 0) << "nothing typed";
    EXPECT_NE(gMsg.last.find("no data"), std::string::npos) << gMsg.last;
    pressOK();  // OK with the data field empty makes no symbol either
    disposeDisp2();
    EXPECT_EQ(DoFile(kFileSave), 0);
    EXPECT_TRUE(filesIn(dir).empty());
    EXPECT_EQ(gShell.changed, 1);

    clickIn(gPanels.TEH.viewRect);
    type("590123412345");
    pressOK();
    disposeDisp2();
    gSaveTo = dir + "/missing/typed.eps";  // a file that cannot be made
    EXPECT_EQ(DoFile(kFileSave), 0);
    EXPECT_EQ(gShell.changed, 1);
    gSaveTo = dir + "/typed.eps";
    EXPECT_EQ(DoFile(kFileSave), 1);
    EXPECT_EQ(gShell.changed, 0);
    EXPECT_EQ(filesIn(dir).size(), 1u);
}

// Data its code type refuses is told at OK and again at File > Save, once, and
// no file is made of it: the kinds written from the element list or by the
// vector writer used to leave an empty, broken file (an EPS with no bars, a
// text file with a byte-order mark alone, a text line of a lone return).
TEST_F(PreviewAfterOK, SavingRefusedDataWritesNoFileOfAnyKind) {
    struct Refused {
        const char* type;
        const char* data;  // Mac OS Roman, as the field holds it
        int32_t tool;
        const char* name;
    };
    const Refused cases[] = {
        {"EAN 13", "12", kOutVector, "short.eps"},
        {"EAN 13", "12", kOutBarFontText, "short.txt"},
        {"EAN 13", "12", kOutTextLine, "short-line.txt"},
        {"Code 128",
         "Gr\x9F\xA7"
         "e",
         kOutVector, "umlaut.eps"},
        {"Code 128",
         "Gr\x9F\xA7"
         "e",
         kOutBarFontText, "umlaut.txt"},
    };
    const std::string dir = testsupport::freshFolder("save_refused");
    for (const Refused& c : cases) {
        SCOPED_TRACE(std::string(c.type) + " as " + c.name);
        ASSERT_EQ(parseCodeType(c.type), 1);
        gOut.tool = c.tool;
        doUpdate();
        platform::TESetText(c.data, static_cast<int32_t>(std::strlen(c.data)), &gPanels.TEH);
        const int32_t before = gMsg.shown;
        pressOK();
        ASSERT_GT(gMsg.shown, before) << "the data was not refused";
        disposeDisp2();
        gSaveTo = dir + "/" + c.name;
        gShell.changed = 1;
        const int32_t atSave = gMsg.shown;
        EXPECT_EQ(DoFile(kFileSave), 0);
        EXPECT_EQ(gMsg.shown, atSave + 1) << "the refusal is told once: " << gMsg.last;
        EXPECT_EQ(gShell.changed, 1);
        EXPECT_TRUE(filesIn(dir).empty()) << filesIn(dir).front();
    }

    // Data the type takes is still written as text after the refusals.
    gOut.tool = kOutBarFontText;
    ASSERT_EQ(parseCodeType("Code 128"), 1);
    doUpdate();
    platform::TESetText("STRIXEL", 7, &gPanels.TEH);
    pressOK();
    disposeDisp2();
    gSaveTo = dir + "/good.txt";
    EXPECT_EQ(DoFile(kFileSave), 1) << gMsg.last;
    EXPECT_GT(testsupport::slurp(gSaveTo).size(), std::strlen("STRIXEL"));
}

// An OK whose data the new code type refuses takes the open preview down: it
// would show the last symbol under the new type, and its click would save it.
TEST_F(PreviewAfterOK, ARefusedOKTakesTheOpenPreviewDown) {
    platform::TESetText("590123412345", 12, &gPanels.TEH);
    pressOK();
    ASSERT_NE(gWindows.disp2, nullptr);
    settle();
    ASSERT_EQ(parseCodeType("Code 128"), 1);
    doUpdate();
    platform::TESetText(
        "Gr\x9F\xA7"
        "e",
        5, &gPanels.TEH);
    const int32_t before = gMsg.shown;
    pressOK();
    EXPECT_GT(gMsg.shown, before) << "the data was not refused";
    EXPECT_EQ(gWindows.disp2, nullptr) << "the preview still shows the last symbol";
}

// A new code type empties the data field, and with it the data: File > Save
// and the preview used to make the new type of the old type's data as its
// encoder had rewritten it (a Code 128 function escape read back as a letter).
TEST_F(PreviewAfterOK, ANewCodeTypeMakesNoSymbolOfTheDataItsFieldNoLongerShows) {
    constexpr int16_t kIndustrialMenu = 239, kCode128Item = 2;
    constexpr int16_t kTwoDimensionalMenu = 250, kQRCodeItem = 3;
    const std::string dir = testsupport::freshFolder("switch_type");
    gSaveTo = dir + "/switched.eps";
    doMenu(kCode128Item, kIndustrialMenu);
    clickIn(gPanels.TEH.viewRect);
    type("A\\1B\\tC");
    pressOK();
    ASSERT_NE(gWindows.disp2, nullptr) << gMsg.last;
    disposeDisp2();

    doMenu(kQRCodeItem, kTwoDimensionalMenu);
    ASSERT_EQ(gSym.code, 40);
    EXPECT_EQ(gPanels.TEH.text, "");
    EXPECT_EQ(gWindows.disp2, nullptr) << "the preview shows a symbol of no typed data";
    getItemData(0);  // what the preview and Save make the symbol from
    EXPECT_STREQ(gData.chMainCode, "");
    gShell.changed = 1;
    gMsg.last.clear();
    EXPECT_EQ(DoFile(kFileSave), 0);
    EXPECT_NE(gMsg.last.find("no data"), std::string::npos) << gMsg.last;
    EXPECT_EQ(gWindows.disp2, nullptr) << "the preview shows a symbol of no typed data";
    EXPECT_TRUE(filesIn(dir).empty()) << testsupport::slurp(dir + "/" + filesIn(dir).front());
    EXPECT_EQ(gShell.changed, 1);

    // A coupon item empties the field before its dialog: a cancelled dialog
    // leaves no data either.
    constexpr int16_t kCouponMenu = 249, kCouponItem = 8;
    doMenu(kCode128Item, kIndustrialMenu);
    clickIn(gPanels.TEH.viewRect);
    type("A\\1B\\tC");
    pressOK();
    disposeDisp2();
    ASSERT_EQ(chooseCodeType(kCouponMenu, kCouponItem), CodeChoice::coupon);
    gMsg.last.clear();
    EXPECT_EQ(DoFile(kFileSave), 0);
    EXPECT_NE(gMsg.last.find("no data"), std::string::npos) << gMsg.last;
    EXPECT_TRUE(filesIn(dir).empty());

    // Data typed for the new type is its symbol, read back as typed.
    doMenu(kQRCodeItem, kTwoDimensionalMenu);
    clickIn(gPanels.TEH.viewRect);
    type("STRIXEL QR");
    pressOK();
    disposeDisp2();
    EXPECT_EQ(DoFile(kFileSave), 1) << gMsg.last;
    ASSERT_EQ(filesIn(dir).size(), 1u);
    const testsupport::Rendered r = testsupport::renderWithGhostscript(gSaveTo, 400);
    ASSERT_TRUE(r.ok) << r.err;
    EXPECT_EQ(testsupport::decode(testsupport::cropToInk(r.bitmap, 80), "QRCode").text,
              "STRIXEL QR");
}

// SCC 14 from its menu item: the digits stand under the bearer box, clear of
// it, and the command line makes the file's options line into the same symbol.
TEST_F(PreviewAfterOK, Scc14DigitsStandUnderItsBearerBoxAndItsFileReopens) {
    constexpr int16_t kRetailMenu = 238, kScc14Item = 28;
    const std::string dir = testsupport::freshFolder("scc14");
    gSaveTo = dir + "/desktop.eps";
    doMenu(kScc14Item, kRetailMenu);
    clickIn(gPanels.TEH.viewRect);
    type("1234567890123");
    pressOK();
    ASSERT_NE(gWindows.disp2, nullptr) << gMsg.last;
    disposeDisp2();
    gOut.ill = kIll3;  // the command line's EPS dialect, to compare the pages
    ASSERT_EQ(DoFile(kFileSave), 1) << gMsg.last;

    constexpr int kDpi = 300;
    const testsupport::Rendered r = testsupport::renderWithGhostscript(gSaveTo, kDpi);
    ASSERT_TRUE(r.ok) << r.err;
    EXPECT_EQ(testsupport::decode(testsupport::padBitmap(r.bitmap, 60), "ITF").text,
              "12345678901231");
    // Rows in points over the foot: the text line is 20 high, the bearer 14 over it.
    const auto darkIn = [&](double y) {
        const int row = r.bitmap.height - 1 - static_cast<int>(y * kDpi / 72);
        const int side = 14 * kDpi / 72;  // the box's sides
        int dark = 0;
        for (int x = side; x < r.bitmap.width - side; ++x) dark += r.bitmap.at(x, row) < 128;
        return dark;
    };
    EXPECT_EQ(darkIn(19), 0) << "the bearer reaches into the text line";
    EXPECT_EQ(darkIn(27), r.bitmap.width - 2 * (14 * kDpi / 72)) << "the bearer has a gap";
    EXPECT_GT(darkIn(10), 0) << "no digits";

    const std::string again = dir + "/again.eps";
    ASSERT_EQ(std::system(
                  ("\"" STRIXEL_BINARY "\" --open \"" + gSaveTo + "\" '{saveto:\"" + again + "\"}'")
                      .c_str()),
              0);
    const auto page = [](const std::string& eps) {
        return eps.substr(eps.find("%%EndSetup"), eps.find("%%Trailer") - eps.find("%%EndSetup"));
    };
    EXPECT_EQ(page(testsupport::slurp(again)), page(testsupport::slurp(gSaveTo)));
}

// The filled paths of an EPS page, in order: each as its lowest and highest x and y.
struct Box {
    double x0 = 1e9, y0 = 1e9, x1 = -1e9, y1 = -1e9;
};
std::vector<Box> filledPaths(const std::string& eps) {
    std::vector<Box> boxes;
    Box cur;
    std::string text = eps;
    for (char& c : text)
        if (c == '\r') c = '\n';
    std::istringstream in(text.substr(text.find("%%EndSetup")));
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        double x = 0, y = 0;
        std::string op;
        if (words >> x >> y >> op && (op == "m" || op == "L")) {
            cur = {std::min(cur.x0, x), std::min(cur.y0, y), std::max(cur.x1, x),
                   std::max(cur.y1, y)};
        } else if (line == "f" && cur.x1 >= cur.x0) {
            boxes.push_back(cur);
            cur = Box{};
        }
    }
    return boxes;
}

// A matrix symbol's modules stand inside its own white box, their margin the
// same on every side, and the command line places them where the desktop does
// for the same options: both used to hang them from the item's whole-point
// width, a point apart, and up to a point above the box.
TEST_F(PreviewAfterOK, MatrixModulesStandInTheirWhiteBoxWhereTheCommandLinePutsThem) {
    const struct {
        const char* type;
        const char* data;
    } cases[] = {{"QRCode", "Hello World"},
                 {"EAN Datamatrix", "0109501101530003\\11726123110AB-1"},
                 {"Datamatrix", "STRIXEL-100"}};
    const std::string dir = testsupport::freshFolder("matrix_box");
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        ASSERT_EQ(parseCodeType(c.type), 1);
        doUpdate();
        platform::TESetText(c.data, static_cast<int32_t>(std::strlen(c.data)), &gPanels.TEH);
        pressOK();
        disposeDisp2();
        gSaveTo = dir + "/desktop" + std::to_string(++n) + ".eps";
        ASSERT_EQ(DoFile(kFileSave), 1) << gMsg.last;
        const std::string desktop = testsupport::slurp(gSaveTo);
        const std::vector<Box> paths = filledPaths(desktop);
        ASSERT_GT(paths.size(), 10u);
        const Box white = paths.front();
        Box ink;
        for (size_t i = 1; i < paths.size(); ++i)
            ink = {std::min(ink.x0, paths[i].x0), std::min(ink.y0, paths[i].y0),
                   std::max(ink.x1, paths[i].x1), std::max(ink.y1, paths[i].y1)};
        constexpr double kNear = 1e-3;
        EXPECT_LE(ink.y1, white.y1 + kNear) << "a module row stands above the white box";
        EXPECT_GE(ink.y0, white.y0 - kNear);
        EXPECT_NEAR(ink.y0 - white.y0, ink.x0 - white.x0, kNear) << "margins apart";
        EXPECT_NEAR(white.y1 - ink.y1, white.x1 - ink.x1, kNear) << "margins apart";

        // The command line makes the same file's options into the same modules.
        const size_t at = desktop.find("%%Options: {");
        ASSERT_NE(at, std::string::npos);
        const std::string options = desktop.substr(at + 11, desktop.find('}', at) - at - 11);
        const std::string again = dir + "/cli" + std::to_string(n) + ".eps";
        const std::string record = dir + "/record.txt";
        std::ofstream(record) << options << ", saveto:\"" << again << "\"}\n";
        ASSERT_EQ(std::system(("\"" STRIXEL_BINARY "\" - <\"" + record + "\"").c_str()), 0);
        const std::vector<Box> cli = filledPaths(testsupport::slurp(again));
        ASSERT_EQ(cli.size(), paths.size());
        size_t apart = 1;  // the first module placed elsewhere
        while (apart < paths.size() && std::abs(cli[apart].x0 - paths[apart].x0) < kNear &&
               std::abs(cli[apart].y0 - paths[apart].y0) < kNear)
            ++apart;
        EXPECT_EQ(apart, paths.size()) << "the command line's module " << apart << " at "
                                       << cli[apart].x0 << " " << cli[apart].y0;
    }
}

// "Bitmap 72 dpi to Clipboard" puts the symbol on the clipboard as a bitmap and
// makes no file; "Bitmap 72 dpi" still writes one.
TEST_F(PreviewAfterOK, TheClipboardBitmapReadsBackAndMakesNoFile) {
    constexpr int16_t kOutputMenu = 133, kBitmap = 11, kBitmapToClipboard = 17;
    ASSERT_EQ(parseCodeType("Code 128"), 1);
    doMenu(kBitmapToClipboard, kOutputMenu);
    const std::string dir = testsupport::freshFolder("bitmap");
    gOut.showDia = 1;  // delivered at once, into the folder
    gOut.fileDia = 3;
    copyBounded(gOut.globFolS, dir.c_str());
    platform::TESetText("400", 3, &gPanels.TESize);  // modules of a few pixels at 72 dpi
    clickIn(gPanels.TEH.viewRect);
    type("STRIXEL-72");
    pressOK();
    EXPECT_TRUE(filesIn(dir).empty());
    const auto& flavours = platform::ScrapContents().flavours;
    const auto bmp = flavours.find("BMP ");
    ASSERT_NE(bmp, flavours.end()) << gMsg.last;
    const QImage grey =
        QImage::fromData(QByteArray(bmp->second.data(), qsizetype(bmp->second.size())), "BMP")
            .convertToFormat(QImage::Format_Grayscale8);
    ASSERT_FALSE(grey.isNull());
    testsupport::Bitmap image{grey.width(), grey.height(), {}};
    for (int y = 0; y < grey.height(); ++y)
        image.pixels.insert(image.pixels.end(), grey.constScanLine(y),
                            grey.constScanLine(y) + grey.width());
    EXPECT_EQ(testsupport::decode(testsupport::padBitmap(image, 40), "Code128").text, "STRIXEL-72");

    doMenu(kBitmap, kOutputMenu);
    pressOK();
    EXPECT_EQ(filesIn(dir).size(), 1u);
}

TEST_F(PreviewAfterOK, ASecondOKRedrawsTheOpenPreviewAndAFailedOneShowsNone) {
    clickIn(gPanels.TEH.viewRect);
    type("590123412345");
    pressOK();
    toolbox::WindowPtr shown = gWindows.disp2;
    ASSERT_NE(shown, nullptr);
    pressOK();
    EXPECT_EQ(gWindows.disp2, shown) << "one preview window, not a second";
    disposeDisp2();

    // Data the code type cannot make gives a message, not an empty preview.
    reopen();
    wireDesktop();
    gOut.showDia = 0;
    ASSERT_EQ(parseCodeType("Code 128"), 1);
    doUpdate();
    pressOK();  // no data at all
    EXPECT_EQ(gWindows.disp2, nullptr);
}

}  // namespace
