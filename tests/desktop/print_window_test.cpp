// The print window driven through the event loop: the start cell picked on the
// page picture, the counts typed, the switches clicked, the job printed to PDF
// and read back cell by cell; the switches across a restart; and the page setup
// and print dialogs answered as a user would answer Qt's dialogs, a private
// printing system's queue included.
#include <QCheckBox>
#include <QDialog>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QRadioButton>
#include <cups/cups.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/desktop/eventLoop.h"
#include "app/desktop/localWindows.h"
#include "app/desktop/printDialogs.h"
#include "app/desktop/printWindowView.h"
#include "app/sheetSetup.h"
#include "app/world.h"
#include "desktop_fixture.h"
#include "labels/labelDoc.h"
#include "labels/printDefaults.h"
#include "labels/printState.h"
#include "labels/runs/printWindow.h"
#include "platform/printing/printing.h"
#include "platform/resources.h"
#include "support/cups.h"
#include "support/fonts.h"
#include "support/label_document.h"
#include "support/reader.h"
#include "symbology/appBits.h"
#include "symbology/messages.h"
#include "symbology/state.h"
#include "sheet_windows_fixture.h"
#include "window_golden.h"

using namespace toolbox;

namespace {

constexpr int kDpi = 600;
constexpr long long kFirstSerial = 400638133390;  // twelve digits; the check digit is EAN's
constexpr int kAcross = 3, kDown = 8;
constexpr int kLeft = 200, kTop = 100, kWidth = 1800, kHeight = 1000, kGapAcross = 50,
              kGapDown = 30;  // tenths of a point
constexpr qd::Point kLabelsField{50, 357}, kPrintButton{242, 408}, kCancelButton{267, 408};
constexpr qd::Point kOrderMark{196, 322}, kCutMarksMark{214, 322}, kFourUpMark{178, 382};
constexpr qd::Point kSettingsTab{300, 20}, kPictureTab{300, 60};
constexpr qd::Point kZoomOut{282, 8}, kZoomIn{282, 24};
constexpr unsigned char kTab = 9;
constexpr int kSymbolInkLeast = 500;  // dark pixels of a symbol in a cell, at 72 dpi

// Where cell (col, row) is, in points from the paper's corner.
qd::Rect cellPoints(int col, int row) {
    const int h = (kLeft + (kWidth + kGapAcross) * (col - 1)) / 10;
    const int v = (kTop + (kHeight + kGapDown) * (row - 1)) / 10;
    return {v, h, v + kHeight / 10, h + kWidth / 10};
}

// The centre of cell (col, row) in the settings layer's page picture.
qd::Point cellInPicture(int col, int row) {
    const double k = 0.02;
    const int h = kPagePictH + int((kLeft + (kWidth + kGapAcross) * (col - 1)) * k);
    const int v = kPagePictV + int((kTop + (kHeight + kGapDown) * (row - 1)) * k);
    return {v + int(kHeight * k) / 2, h + int(kWidth * k) / 2};
}

// The copies of every job the private printing system holds for a queue.
std::vector<int> jobCopies(const std::string& queue) {
    std::vector<int> copies;
    ipp_t* request = ippNewRequest(IPP_OP_GET_JOBS);
    const std::string uri = "ipp://localhost/printers/" + queue;
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri.c_str());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "which-jobs", nullptr, "all");
    const char* wanted[] = {"job-id", "copies"};
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 2, nullptr,
                  wanted);
    ipp_t* response = cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/");
    if (!response) return copies;
    // One group of attributes a job, in the order the jobs were made.
    int groupCopies = 0;
    bool inJob = false;
    for (ipp_attribute_t* a = ippFirstAttribute(response);; a = ippNextAttribute(response)) {
        if (!a || ippGetGroupTag(a) != IPP_TAG_JOB) {
            if (inJob) copies.push_back(groupCopies);
            inJob = false;
            groupCopies = 0;
            if (!a) break;
            continue;
        }
        inJob = true;
        const char* name = ippGetName(a);
        if (name && std::string(name) == "copies") groupCopies = ippGetInteger(a, 0);
    }
    ippDelete(response);
    return copies;
}

class PrintWindowTest : public SheetWindowsTest {
  protected:
    void SetUp() override {
        SheetWindowsTest::SetUp();
        answered = 0;
        setPrintDialogRunner([this](QDialog&, QPrinter& printer) {
            ++answered;
            return answer ? answer(printer) : true;
        });
    }
    void TearDown() override {
        if (gWindows.PrintWin) KillLocalWin(gWindows.PrintWin, kKillPrintWindow);
        setPrintDialogRunner(nullptr);
        SheetWindowsTest::TearDown();
    }

    // A 3 by 8 sheet of 180 by 100 point labels, each with one serial EAN-13.
    static void serialSheet() {
        testsupport::startLabelDocument(kWidth, kHeight, kAcross, kDown);
        labelBack.leftMargin = kLeft;
        labelBack.topMargin = kTop;
        labelBack.spaceAcross = kGapAcross;
        labelBack.spaceDown = kGapDown;
        testsupport::addSerialEan13Item(kFirstSerial);
    }
    static qd::Point global(qd::Point local) { return globalIn(gWindows.PrintWin, local); }
    static void clickAt(qd::Point local) { clickIn(gWindows.PrintWin, local); }
    static void type(const std::string& text) {
        for (char c : text) {
            PostEvent(EventRecord{keyDown, static_cast<unsigned char>(c), 0, {}, 0});
            settle();
        }
    }
    // Any dark pixel of the 2 x 2 at p (a grey pattern leaves every other one white).
    static bool dark(WindowPtr w, qd::Point p) {
        for (int dv = 0; dv < 2; ++dv)
            for (int dh = 0; dh < 2; ++dh)
                if ((WindowPixel(w, p.h + dh, p.v + dv) & 0xFF) < 0x80) return true;
        return false;
    }

    // The cells where the page picture (the picture layer's Pict2) shows ink.
    static std::vector<qd::Point> cellsShown() {
        std::vector<qd::Point> cells;
        if (!gPrint.Pict2) return cells;
        qd::GWorldPtr world = nullptr;
        const qd::Rect frame{0, 0, 1728, 1728};
        if (qd::NewGWorld(&world, qd::kGreyDepth, frame) != 0) return cells;
        qd::GrafPort* keep = qd::GetPort();
        qd::SetGWorld(world);
        qd::DrawPicture(gPrint.Pict2, frame);
        std::vector<uint8_t> row(1728);
        for (int r = 1; r <= kDown; ++r)
            for (int c = 1; c <= kAcross; ++c) {
                const qd::Rect cell = cellPoints(c, r);
                // A label's symbol, not a frame or cut mark crossing the cell.
                int ink = 0;
                for (int v = cell.top; v < cell.bottom; ++v) {
                    qd::GWorldGreyRow(world, v, row.data());
                    for (int h = cell.left; h < cell.right; ++h) ink += row[size_t(h)] < 128;
                }
                if (ink > kSymbolInkLeast) cells.push_back({r, c});
            }
        qd::SetPort(keep);
        qd::DisposeGWorld(world);
        return cells;
    }

    // Decodes every cell of page 1 of a PDF: the serial numbers by cell ("" blank).
    static std::vector<std::string> decodeCells(const std::string& pdf, int page = 1) {
        std::vector<std::string> out;
        testsupport::Bitmap bitmap;
        EXPECT_TRUE(testsupport::pdfPage(pdf, kDpi, page, &bitmap));
        const double k = kDpi / 72.0;
        for (int r = 1; r <= kDown; ++r)
            for (int c = 1; c <= kAcross; ++c) {
                const qd::Rect p = cellPoints(c, r);
                testsupport::Bitmap cell;
                cell.width = int((p.right - p.left) * k);
                cell.height = int((p.bottom - p.top) * k);
                cell.pixels.resize(size_t(cell.width) * size_t(cell.height), 255);
                for (int y = 0; y < cell.height && int(p.top * k) + y < bitmap.height; ++y)
                    for (int x = 0; x < cell.width && int(p.left * k) + x < bitmap.width; ++x)
                        cell.pixels[size_t(y * cell.width + x)] =
                            bitmap.at(int(p.left * k) + x, int(p.top * k) + y);
                out.push_back(testsupport::decode(testsupport::padBitmap(cell, 40), "EAN-13").text);
            }
        return out;
    }

    int answered = 0;
    std::function<bool(QPrinter&)> answer;
};

TEST_F(PrintWindowTest, StartCellCountsAndSwitchesPrintWhereThePictureShowedThem) {
    serialSheet();
    const std::string pdf = (dir / "sheet.pdf").string();
    gPrint.destination = print::settingsFor(pdf);
    ShowPrintWin();
    WindowPtr w = gWindows.PrintWin;
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(gWindows.activeWindow, w);
    EXPECT_TRUE(dark(w, cellInPicture(1, 1))) << "the start cell shows inverted";

    clickAt(cellInPicture(2, 3));
    EXPECT_EQ(gPrint.startX, 2);
    EXPECT_EQ(gPrint.startY, 3);
    EXPECT_TRUE(dark(w, cellInPicture(2, 3)));
    EXPECT_FALSE(dark(w, cellInPicture(1, 1)));
    clickAt(kLabelsField);
    type("5");
    EXPECT_EQ(gPrint.nLabels, 5);
    clickAt(kOrderMark);
    EXPECT_EQ(gPrintSwitches.iOrient, 1);
    clickAt(kCutMarksMark);
    EXPECT_EQ(gPrintSwitches.pCutMarks, 1);

    // The picture layer shows the labels where the run puts them.
    clickAt(kPictureTab);
    EXPECT_EQ(gPrintWin.winLayer, 1);
    const std::vector<qd::Point> shown = cellsShown();
    EXPECT_EQ(shown.size(), 5u);
    clickAt(kSettingsTab);
    EXPECT_EQ(gPrintWin.winLayer, 0);

    clickAt(kPrintButton);
    EXPECT_EQ(gWindows.PrintWin, nullptr);
    EXPECT_EQ(answered, 1) << "the print dialog was asked";
    ASSERT_TRUE(std::filesystem::exists(pdf)) << gMsg.last;
    const std::vector<std::string> cells = decodeCells(pdf);
    std::vector<qd::Point> printed;
    for (int r = 1; r <= kDown; ++r)
        for (int c = 1; c <= kAcross; ++c)
            if (!cells[size_t((r - 1) * kAcross + c - 1)].empty()) printed.push_back({r, c});
    ASSERT_EQ(printed.size(), shown.size());
    for (size_t i = 0; i < printed.size(); ++i) {
        EXPECT_EQ(printed[i].v, shown[i].v);
        EXPECT_EQ(printed[i].h, shown[i].h);
    }
    // Five serial numbers, each once.
    std::vector<std::string> serials;
    for (const std::string& s : cells)
        if (!s.empty()) serials.push_back(s.substr(0, 12));
    std::sort(serials.begin(), serials.end());
    for (size_t i = 0; i < serials.size(); ++i)
        EXPECT_EQ(serials[i], std::to_string(kFirstSerial + long(i)));

    // The switches come back after a restart through Print.def.
    resetPrintDefaults();
    EXPECT_EQ(gPrintSwitches.pCutMarks, 0);
    ShowPrintWin();
    EXPECT_EQ(gPrintSwitches.iOrient, 1);
    EXPECT_EQ(gPrintSwitches.pCutMarks, 1);
    w = gWindows.PrintWin;
    EXPECT_FALSE(dark(w, kOrderMark)) << "order 1 shows the order mark clear";
    EXPECT_TRUE(dark(w, kCutMarksMark));
}

TEST_F(PrintWindowTest, ZoomFourUpTabAndCancel) {
    serialSheet();
    ShowPrintWin();
    EXPECT_EQ(gPrintWin.prScale, 50);
    clickAt(kZoomOut);
    EXPECT_EQ(gPrintWin.prScale, 50) << "no smaller than 50";
    for (int i = 0; i < 30; ++i) clickAt(kZoomIn);
    EXPECT_EQ(gPrintWin.prScale, 1049 - 49) << "steps of 50 up to 1000";
    clickAt(kZoomIn);
    EXPECT_EQ(gPrintWin.prScale, 1050 - 50);
    clickAt(kFourUpMark);
    EXPECT_EQ(gPrintSwitches.fourSheet, 0);
    clickAt(kFourUpMark);
    EXPECT_EQ(gPrintSwitches.fourSheet, 4);
    // Thermal printing leaves four-up alone and has no pages or copies field.
    KillLocalWin(gWindows.PrintWin, kKillPrintWindow);
    gPrint.thermalPrint = 1;
    ShowPrintWin();
    EXPECT_EQ(gLocal.TELocal[2], nullptr);
    EXPECT_EQ(gLocal.TELocal[3], nullptr);
    clickAt(kFourUpMark);
    EXPECT_EQ(gPrintSwitches.fourSheet, 4);
    EXPECT_EQ(gPrintWin.curLocalTE, 1);
    PostEvent(EventRecord{keyDown, kTab, 0, {}, 0});
    settle();
    EXPECT_EQ(gPrintWin.curLocalTE, 4) << "Tab skips the fields thermal printing leaves out";
    clickAt(kCancelButton);
    EXPECT_EQ(gWindows.PrintWin, nullptr);
    EXPECT_EQ(gPrint.thermalPrint, 1);
    EXPECT_EQ(answered, 0) << "a cancelled window asks nothing";
}

TEST_F(PrintWindowTest, AJobStartedWithoutTheWindowsButtonsClosesIt) {
    // As a script's print request does: the window's state, then the job.
    serialSheet();
    const std::string pdf = (dir / "scripted.pdf").string();
    gPrint.destination = print::settingsFor(pdf);
    ShowPrintWin();
    ASSERT_NE(gWindows.PrintWin, nullptr);
    gPrint.nLabels = 2;
    EXPECT_EQ(PrintButton(), print::kPrintNoErr) << gMsg.last;
    EXPECT_EQ(gWindows.PrintWin, nullptr);
    EXPECT_TRUE(std::filesystem::exists(pdf));
}

TEST_F(PrintWindowTest, CountsBeyondThirtyTwoBitsAreNotTyped) {
    serialSheet();
    ShowPrintWin();
    clickAt(kLabelsField);
    type("12345678901");
    EXPECT_EQ(gPrint.nLabels, 123456789);
    type("x");
    EXPECT_EQ(gLocal.TELocal[1]->text, "123456789");
}

TEST_F(PrintWindowTest, PageSetupLandscapeLetterIsThePageTheJobIsDrawnOn) {
    serialSheet();
    answer = [](QPrinter& printer) {
        printer.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Landscape,
                                          QMarginsF(), QPageLayout::Point));
        return true;
    };
    ASSERT_EQ(doPageSetUpDialog(nullptr), 0);
    const print::PageFormat kept = print::loadPageFormat();
    EXPECT_EQ(kept.paperName, "Letter");
    EXPECT_EQ(kept.orientation, print::Orientation::landscape);
    EXPECT_NEAR(kept.pageWidth(), 792, 0.5);

    // A cancelled page setup keeps what was there.
    answer = [](QPrinter& printer) {
        printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A5), QPageLayout::Portrait,
                                          QMarginsF(), QPageLayout::Point));
        return false;
    };
    EXPECT_EQ(doPageSetUpDialog(nullptr), print::kPrintCancel);
    EXPECT_EQ(print::loadPageFormat(), kept);

    // The whole sheet, 831 points tall, would print cut off: the window says so
    // and prints nothing, without asking the print dialog.
    answer = nullptr;
    const std::string pdf = (dir / "landscape.pdf").string();
    gPrint.destination = print::settingsFor(pdf);
    ShowPrintWin();
    gMsg.shown = 0;
    const int asked = answered;
    clickAt(kPrintButton);
    EXPECT_EQ(gMsg.shown, 1);
    EXPECT_NE(gMsg.last.find("do not fit on the Letter paper (792 x 612 points)"),
              std::string::npos)
        << gMsg.last;
    EXPECT_EQ(answered, asked) << "no print dialog";
    EXPECT_FALSE(std::filesystem::exists(pdf));

    // Two rows fit.
    ShowPrintWin();
    clickAt(kLabelsField);
    type("6");
    clickAt(kPrintButton);
    const testsupport::RunResult info = testsupport::runCommand("pdfinfo '" + pdf + "'");
    EXPECT_NE(info.out.find("Page size:       792 x 612 pts"), std::string::npos) << info.out;
    EXPECT_FALSE(decodeCells(pdf)[0].empty()) << "the first cell still decodes";
}

TEST_F(PrintWindowTest, ACancelledPrintDialogSendsNothing) {
    serialSheet();
    const std::string pdf = (dir / "never.pdf").string();
    gPrint.destination = print::settingsFor(pdf);
    answer = [](QPrinter&) { return false; };
    ShowPrintWin();
    gMsg.last.clear();
    clickAt(kPrintButton);
    EXPECT_EQ(answered, 1);
    EXPECT_FALSE(std::filesystem::exists(pdf));
    EXPECT_EQ(gMsg.last, "") << "a cancel is no error";
    EXPECT_EQ(doPrintSettingsDialog(nullptr), print::kPrintCancel);
    EXPECT_EQ(gPrint.destination.target, pdf) << "the destination stays";
}

TEST_F(PrintWindowTest, TheExtensionsFontSizeAndWidthsComeBackFromThePrintDialog) {
    serialSheet();
    gPrint.destination = print::settingsFor((dir / "x.pdf").string());
    ASSERT_EQ(doPrintSettingsDialog(nullptr), 0);
    EXPECT_EQ(gPrintExtension.gFontSize, 12) << "12 points when the dialog opens";
    EXPECT_FALSE(gPrintExtension.fractionalWidths);
    EXPECT_EQ(gPrintExtension.gDrawPrintSettingsStuff, 1);

    // The user picks 14 points and fractional widths on the program's tab.
    setPrintDialogRunner([](QDialog& dialog, QPrinter&) {
        for (QRadioButton* b : dialog.findChildren<QRadioButton*>())
            if (b->text() == QStringLiteral("14 pt")) b->setChecked(true);
        for (QCheckBox* b : dialog.findChildren<QCheckBox*>())
            if (b->text() == QStringLiteral("Fractional widths")) b->setChecked(true);
        return true;
    });
    ASSERT_EQ(doPrintSettingsDialog(nullptr), 0);
    EXPECT_EQ(gPrintExtension.gFontSize, 14);
    EXPECT_TRUE(gPrintExtension.fractionalWidths);
    EXPECT_NE(gPrintExtension.gFontNumber, 0) << "a font of the font menu";
    // Each dialog opens on 12 points without fractional widths again.
    setPrintDialogRunner([](QDialog&, QPrinter&) { return false; });
    EXPECT_EQ(doPrintSettingsDialog(nullptr), print::kPrintCancel);
    EXPECT_EQ(gPrintExtension.gFontSize, 12);
    EXPECT_FALSE(gPrintExtension.fractionalWidths);
    EXPECT_EQ(gPrintExtension.gDrawPrintSettingsStuff, 0);
}

TEST_F(PrintWindowTest, APrivateQueueWithTwoCopiesGetsOneJobOfTwoCopies) {
    if (!testsupport::haveCupsd())
        GTEST_SKIP() << "cupsd is not installed (Debian package cups-daemon)";
    testsupport::PrivateCups cups;
    testsupport::Listener printer;
    ASSERT_TRUE(testsupport::startQueue(cups, printer, "Sheets"));
    serialSheet();
    gPrint.destination = print::settingsFor((dir / "not-this.pdf").string());
    answer = [](QPrinter& p) {
        p.setOutputFileName(QString());
        p.setPrinterName(QStringLiteral("Sheets"));
        p.setCopyCount(2);
        return true;
    };
    const size_t jobsBefore = jobCopies("Sheets").size();
    ShowPrintWin();
    clickAt(kLabelsField);
    type("3");
    clickAt(kPrintButton);
    EXPECT_EQ(gPrint.lastStatus, 0) << gMsg.last << cups.log();
    printer.join();
    EXPECT_FALSE(std::filesystem::exists(dir / "not-this.pdf"));
    ASSERT_EQ(printer.received.rfind("%PDF-", 0), 0u) << cups.log();
    const std::string arrived = (dir / "arrived.pdf").string();
    std::ofstream(arrived, std::ios::binary) << printer.received;
    const std::vector<std::string> cells = decodeCells(arrived);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(cells[size_t(i)].substr(0, 12), std::to_string(kFirstSerial + i)) << i;
    EXPECT_EQ(gPrint.gCopies, 2);
    const std::vector<int> jobs = jobCopies("Sheets");
    ASSERT_EQ(jobs.size(), jobsBefore + 1) << "one job";
    EXPECT_EQ(jobs.back(), 2) << "of two copies";
}

TEST_F(PrintWindowTest, PageSetupPortNameAndHelpTag) {
    serialSheet();
    // Thermal printing has no page setup: a message, and no dialog.
    gPrint.thermalPrint = 1;
    PrintSetUp();
    unsigned char text[256];
    platform::StringResourceGetString(text, 136, 49);
    EXPECT_EQ(gMsg.last, std::string(reinterpret_cast<char*>(text + 1), text[0]));
    EXPECT_EQ(answered, 0);
    gPrint.thermalPrint = 0;
    PrintSetUp();
    EXPECT_EQ(answered, 1);

    // The port's name is the item pport of the port menu.
    unsigned char port[256] = {};
    GetPortString(port);
    EXPECT_GT(port[0], 0) << "the program's port menu names the first port";
    MenuHandle ports = NewMenu(139, reinterpret_cast<const unsigned char*>("\x05Ports"));
    AppendMenu(ports, reinterpret_cast<const unsigned char*>("\x0bUSB;Network"));
    InsertMenu(ports, hierMenu);
    gThermal.pport = 2;
    GetPortString(port);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(port + 1), port[0]), "Network");
    gThermal.pport = 3;
    GetPortString(port);
    EXPECT_EQ(port[0], 0) << "an item the menu does not have";

    // The help tag stands just above the point, black on yellow.
    ShowPopWin({300, 400}, "Zoom in");
    WindowPtr tag = gWindows.PopWin;
    ASSERT_NE(tag, nullptr);
    EXPECT_TRUE(tag->visible);
    const qd::Rect bounds = ContentBounds(tag);
    EXPECT_EQ(bounds.bottom, 298);
    EXPECT_EQ(bounds.left, 400);
    EXPECT_EQ(bounds.height(), 12);
    EXPECT_EQ(WindowPixel(tag, 0, 0), 0xFFFFCCu);
}

TEST_F(PrintWindowTest, PrintWindowMatchesItsGolden) {
    ASSERT_TRUE(testsupport::useTestFonts());
    serialSheet();
    ShowPrintWin();
    clickAt(cellInPicture(2, 3));
    DrawWindowContent(gWindows.PrintWin);
    windowgolden::expectMatches(gWindows.PrintWin, "sheets/print_window.png");
}

}  // namespace
