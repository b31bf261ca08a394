// Sheets of labels printed through the print platform and read back cell by
// cell: each printed cell must decode to its serial number, in print order, and
// every other cell must stay blank.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/world.h"
#include "automation/cli.h"
#include "labels/labelDoc.h"
#include "labels/labelFile.h"
#include "labels/production.h"
#include "picture/hooks.h"
#include "labels/printDefaults.h"
#include "labels/runs/printLabels.h"
#include "labels/runs/printWindow.h"
#include "platform/printing/printing.h"
#include "platform/questions.h"
#include "platform/quickdraw/picture.h"
#include "symbology/appBits.h"
#include "symbology/messages.h"
#include "symbology/state.h"
#include "support/cases.h"
#include "support/cups.h"
#include "support/label_document.h"
#include "support/reader.h"

namespace {

constexpr int kDpi = 600;
constexpr long long kFirstSerial = 400638133390;  // twelve digits; the check digit is EAN's

struct Cell {
    int page, col, row;
};

struct SheetJob {
    int startX, startY, order, labels, gutterCol, gutterWidth, pages;
    std::vector<Cell> cells;
};

SheetJob runOf(const testsupport::CaseLine& c) {
    SheetJob r{c.integer(1), c.integer(2), c.integer(3), c.integer(4),
               c.integer(5), c.integer(6), c.integer(7), {}};
    std::istringstream in(c[8]);
    std::string cell;
    while (in >> cell) {
        Cell k{};
        EXPECT_EQ(std::sscanf(cell.c_str(), "%d:%d,%d", &k.page, &k.col, &k.row), 3) << c.where;
        r.cells.push_back(k);
    }
    return r;
}

struct PrintRun : ::testing::Test {
    void SetUp() override {
        const std::string config = testsupport::tempPath("config");
        std::filesystem::remove_all(config);
        setenv("XDG_CONFIG_HOME", config.c_str(), 1);
        resetWorld();
        initLabelItems();
        gMsg.quiet = true;
    }
    void TearDown() override {
        resetWorld();
        unsetenv("XDG_CONFIG_HOME");
    }

    // A 3 by 8 sheet on A4 of 180 by 100 point labels, each with one serial
    // EAN-13 item.
    static void serialSheet(const SheetJob& r) {
        labelBack.leftMargin = 200;
        labelBack.topMargin = 100;
        labelBack.across = 3 + kGutterModulus * uint32_t(r.gutterCol);
        labelBack.down = 8 + kGutterModulus * uint32_t(r.gutterWidth);
        labelBack.spaceAcross = 50;
        labelBack.spaceDown = 30;
        labelBack.labelWidth = 1800;
        labelBack.labelHeight = 1000;
        testsupport::addSerialEan13Item(kFirstSerial);
    }

    static void startRun(const SheetJob& r, const std::string& printer) {
        gPrint.destination = print::settingsFor(printer);
        ShowPrintWin();
        gPrint.startX = r.startX;
        gPrint.startY = r.startY;
        gPrint.nLabels = r.labels;
        gPrintSwitches.iOrient = r.order;
    }

    // The cell's box in pixels of a page rendered at kDpi.
    static void cellBox(const SheetJob& r, int col, int row, int* left, int* top, int* right,
                        int* bottom) {
        int h = (200 + 1850 * (col - 1)) / 10;
        if (r.gutterCol > 0 && col > r.gutterCol) h += r.gutterWidth / 10;
        const int v = (100 + 1030 * (row - 1)) / 10;
        const double k = kDpi / 72.0;
        *left = int(h * k);
        *top = int(v * k);
        *right = int((h + 180) * k);
        *bottom = int((v + 100) * k);
    }

    static testsupport::Bitmap crop(const testsupport::Bitmap& page, int l, int t, int r, int b) {
        testsupport::Bitmap out;
        out.width = r - l;
        out.height = b - t;
        out.pixels.resize(size_t(out.width) * size_t(out.height));
        for (int y = t; y < b; ++y)
            std::copy_n(page.pixels.begin() + long(y) * page.width + l, out.width,
                        out.pixels.begin() + long(y - t) * out.width);
        return out;
    }

    // The leftmost dark column; -1 for a blank bitmap.
    static int inkLeft(const testsupport::Bitmap& b) {
        int left = b.width;
        for (int y = 0; y < b.height; ++y)
            for (int x = 0; x < left; ++x)
                if (b.at(x, y) < 128) left = x;
        return left == b.width ? -1 : left;
    }

    // Reads the PDF back: page count and size, then every cell.
    static void expectSheet(const SheetJob& r, const std::string& pdf, const std::string& where) {
        SCOPED_TRACE(where);
        const testsupport::RunResult info = testsupport::runCommand("pdfinfo '" + pdf + "'");
        EXPECT_NE(info.out.find("Pages:           " + std::to_string(r.pages) + "\n"),
                  std::string::npos)
            << info.out;
        EXPECT_NE(info.out.find("Page size:       595.276 x 841.89 pts"), std::string::npos)
            << info.out;
        const std::string prefix = pdf + "-page";
        ASSERT_EQ(testsupport::pdftoppm(pdf, prefix, kDpi).status, 0);
        int firstInk = -1;
        for (int page = 1; page <= r.pages; ++page) {
            testsupport::Bitmap bitmap;
            ASSERT_TRUE(
                testsupport::readPGM(prefix + "-" + std::to_string(page) + ".pgm", &bitmap));
            for (int row = 1; row <= 8; ++row)
                for (int col = 1; col <= 3; ++col) {
                    int l, t, rt, b;
                    cellBox(r, col, row, &l, &t, &rt, &b);
                    const testsupport::Bitmap cell = crop(bitmap, l, t, rt, b);
                    size_t n = 0;
                    while (n < r.cells.size() && !(r.cells[n].page == page &&
                                                   r.cells[n].col == col && r.cells[n].row == row))
                        ++n;
                    const std::string at = "page " + std::to_string(page) + " column " +
                                           std::to_string(col) + " row " + std::to_string(row);
                    if (n == r.cells.size()) {
                        EXPECT_EQ(inkLeft(cell), -1) << at << " should be blank";
                        continue;
                    }
                    const testsupport::Decoded d =
                        testsupport::decode(testsupport::padBitmap(cell, 40), "EAN-13");
                    EXPECT_EQ(d.text.substr(0, 12), std::to_string(kFirstSerial + long(n))) << at;
                    // Every label sits at its cell's place, the gutter included.
                    const int ink = inkLeft(cell);
                    if (firstInk < 0) firstInk = ink;
                    EXPECT_NEAR(ink, firstInk, 10) << at;
                }
        }
    }
};

TEST_F(PrintRun, SheetsOfSerialLabelsToPdf) {
    int n = 0;
    for (const testsupport::CaseLine& c : testsupport::readCases("labels/print_runs.txt", 9)) {
        SCOPED_TRACE(c.where);
        resetWorld();
        initLabelItems();
        gMsg.quiet = true;
        const SheetJob r = runOf(c);
        serialSheet(r);
        const std::string pdf = testsupport::tempPath("sheet" + std::to_string(++n) + ".pdf");
        startRun(r, pdf);
        gSym.Siz = 87.5;  // the main window's settings, which the run draws through
        gSym.Hei = 21;
        ASSERT_EQ(PrintButton(), print::kPrintNoErr) << gMsg.last;
        EXPECT_EQ(gPrint.nPages, r.pages);
        EXPECT_DOUBLE_EQ(gSym.Siz, 87.5);
        EXPECT_DOUBLE_EQ(gSym.Hei, 21);
        expectSheet(r, pdf, c[0]);
    }
}

TEST_F(PrintRun, SheetThroughAPrivatePrinterQueue) {
    if (!testsupport::haveCupsd())
        GTEST_SKIP() << "cupsd is not installed (Debian package cups-daemon)";
    testsupport::PrivateCups cups;
    testsupport::Listener printer;
    ASSERT_TRUE(testsupport::startQueue(cups, printer, "Sheets"));

    const SheetJob r = runOf(testsupport::readCases("labels/print_runs.txt", 9).front());
    serialSheet(r);
    startRun(r, "Sheets");
    ASSERT_EQ(PrintButton(), print::kPrintNoErr) << gMsg.last << cups.log();
    printer.join();
    const std::string pdf = testsupport::tempPath("arrived.pdf");
    std::ofstream(pdf, std::ios::binary) << printer.received;
    ASSERT_EQ(printer.received.rfind("%PDF-", 0), 0u) << cups.log();
    expectSheet(r, pdf, "through the queue");

    // A queue that does not exist: the alert with its status, nothing sent.
    resetWorld();
    initLabelItems();
    gMsg.quiet = true;
    serialSheet(r);
    startRun(r, "NoSuchQueue");
    EXPECT_EQ(PrintButton(), print::kPrintQueueError);
    EXPECT_NE(gMsg.last.find("Error -30873"), std::string::npos) << gMsg.last;
    EXPECT_NE(gMsg.last.find("NoSuchQueue"), std::string::npos) << gMsg.last;
    EXPECT_NE(gMsg.last.find("no printer queue named NoSuchQueue; the queues there are: Sheets"),
              std::string::npos)
        << gMsg.last;
}

// Past the serial item's end value a label would repeat a number already
// printed: the run ends with the end value's label, and says so.
TEST_F(PrintRun, TheRunEndsWithTheSerialEndValue) {
    const std::vector<testsupport::CaseLine> cases =
        testsupport::readCases("labels/print_runs.txt", 9);
    const struct {
        size_t row;   // of print_runs.txt
        int printed;  // its first labels, up to the end value
        bool noted;   // labels were asked for after it
    } runs[] = {{1, 3, true}, {3, 1, true}, {1, 5, false}};
    int n = 0;
    for (const auto& run : runs) {
        SCOPED_TRACE(cases[run.row][0] + " to label " + std::to_string(run.printed));
        resetWorld();
        initLabelItems();
        gMsg.quiet = true;
        SheetJob r = runOf(cases[run.row]);
        serialSheet(r);
        gLabel.labelParts[0]->setText(item::serEnd, std::to_string(kFirstSerial + run.printed - 1));
        r.cells.resize(size_t(run.printed));
        r.pages = r.cells.back().page;
        const std::string pdf = testsupport::tempPath("ended" + std::to_string(++n) + ".pdf");
        startRun(r, pdf);
        ASSERT_EQ(PrintButton(), print::kPrintNoErr) << gMsg.last;
        expectSheet(r, pdf, cases[run.row][0]);
        EXPECT_EQ(gPrint.note.find("reached their end value on label " +
                                   std::to_string(run.printed)) != std::string::npos,
                  run.noted)
            << gPrint.note;
    }
}

// The command line's print request on an opened label document.
TEST_F(PrintRun, CommandLinePrintsAnOpenedDocument) {
    const SheetJob r = runOf(testsupport::readCases("labels/print_runs.txt", 9)[1]);
    serialSheet(r);
    const std::string doc = testsupport::tempPath("serials.labl");
    ASSERT_EQ(saveDocumentTo(doc), 0);
    const std::string pdf = testsupport::tempPath("cli.pdf");
    const std::string record = "{printer:\"" + pdf + "\", number:\"5\"}";
    const char* argv[] = {"strixel", "--open", doc.c_str(), record.c_str()};
    std::istringstream in;
    std::ostringstream out, err;
    ASSERT_EQ(runCommandLine(4, argv, in, out, err), 0) << err.str();
    expectSheet(r, pdf, "from the command line");
}

// A serial item whose increment is zeros would put one number on every label:
// printing from the command line or the print window, and the press export,
// refuse it with the serial pane's message before any file is made.
TEST_F(PrintRun, ASerialCountThatNeverMovesPrintsNothing) {
    const SheetJob r = runOf(testsupport::readCases("labels/print_runs.txt", 9)[1]);
    serialSheet(r);
    const std::string refusal = "needs an increment above zero";
    for (const char* increment : {"0", "000000000000"}) {
        SCOPED_TRACE(increment);
        gLabel.labelParts[0]->setText(item::incAmount, increment);
        const std::string doc = testsupport::tempPath("standing.labl");
        ASSERT_EQ(saveDocumentTo(doc), 0);
        const std::string pdf = testsupport::tempPath("standing.pdf");
        const std::filesystem::path press = testsupport::tempPath("standing_press");
        std::filesystem::remove(pdf);
        std::filesystem::remove_all(press);
        std::filesystem::create_directory(press);
        const std::string printed = "{printer:\"" + pdf + "\", number:\"6\"}";
        const std::string exported = "{saveto:\"" + (press / "p.eps").string() + "\"}";
        for (const std::vector<const char*>& args :
             {std::vector<const char*>{"strixel", "--open", doc.c_str(), printed.c_str()},
              {"strixel", "--dialect", "press", "--open", doc.c_str(), exported.c_str()}}) {
            std::istringstream in;
            std::ostringstream out, err;
            EXPECT_EQ(runCommandLine(int(args.size()), args.data(), in, out, err), 1);
            EXPECT_NE(err.str().find(refusal), std::string::npos) << err.str();
        }
        EXPECT_FALSE(std::filesystem::exists(pdf));
        EXPECT_TRUE(std::filesystem::is_empty(press));

        // The print window's button, on the document as it is.
        startRun(r, pdf);
        gMsg.shown = 0;
        EXPECT_EQ(PrintButton(), print::kPrintCancel);
        EXPECT_EQ(gMsg.shown, 1);
        EXPECT_NE(gMsg.last.find(refusal), std::string::npos) << gMsg.last;
        EXPECT_FALSE(std::filesystem::exists(pdf));
        EXPECT_EQ(gLabel.labelParts[0]->text(item::serPos), std::to_string(kFirstSerial));
    }
}

// Labels past the paper's edge would print cut off: the job says so, prints
// nothing and uses up no serial number. Only the cells the job fills count, and
// a sheet that reaches the paper's edge, give or take rounding, prints.
TEST_F(PrintRun, LabelsOffThePaperAreRefused) {
    // The sheet's cells reach 570 x 831 points; two labels 385 x 110.
    const struct {
        double width, height;
        int labels;
        bool prints;
    } papers[] = {{570, 831, 24, true},  {569.7, 830.7, 24, true}, {565, 831, 24, false},
                  {570, 826, 24, false}, {390, 120, 2, true},      {390, 120, 3, false}};
    const SheetJob r = runOf(testsupport::readCases("labels/print_runs.txt", 9)[1]);
    serialSheet(r);
    const LabelItem& it = *gLabel.labelParts[0];
    int n = 0;
    for (const auto& paper : papers) {
        SCOPED_TRACE(std::to_string(paper.width) + " x " + std::to_string(paper.height) + ", " +
                     std::to_string(paper.labels) + " labels");
        print::PageFormat format;
        format.paperName = "Custom";
        format.paperWidth = format.imageRight = paper.width;
        format.paperHeight = format.imageBottom = paper.height;
        ASSERT_EQ(print::savePageFormat(format), print::kPrintNoErr);
        const std::string serial = it.text(item::serPos);
        const std::string pdf = testsupport::tempPath("paper" + std::to_string(++n) + ".pdf");
        std::filesystem::remove(pdf);
        SheetJob job = r;
        job.labels = paper.labels;
        startRun(job, pdf);
        gMsg.shown = 0;
        const int32_t status = PrintButton();
        EXPECT_EQ(std::filesystem::exists(pdf), paper.prints);
        if (paper.prints) {
            EXPECT_EQ(status, print::kPrintNoErr) << gMsg.last;
            continue;
        }
        EXPECT_EQ(status, print::kPrintCancel);
        EXPECT_EQ(gMsg.shown, 1);
        EXPECT_NE(gMsg.last.find("do not fit on the Custom paper"), std::string::npos) << gMsg.last;
        EXPECT_EQ(it.text(item::serPos), serial);
    }
}

// A label with several items past its edge: the job stops at the first, with
// one message to close rather than one for each item, and prints nothing.
TEST_F(PrintRun, ItemsPastTheLabelEdgeStopTheJobWithOneMessage) {
    const SheetJob r = runOf(testsupport::readCases("labels/print_runs.txt", 9)[1]);
    serialSheet(r);
    constexpr int kItemsPast = 4;
    for (int n = 0; n < kItemsPast; ++n) {
        testsupport::addSerialEan13Item(kFirstSerial);
        gLabel.itRect = {10, 150, 90, 290};  // 110 points past the right edge
        setItemRect(labelBack.lastItem);
    }
    const std::string pdf = testsupport::tempPath("past_edge.pdf");
    std::filesystem::remove(pdf);
    startRun(r, pdf);
    gMsg.shown = 0;
    EXPECT_EQ(PrintButton(), print::kPrintCancel);
    EXPECT_EQ(gMsg.shown, 1);
    EXPECT_NE(gMsg.last.find("Item 2 of the label, a barcode, has bars reaching"),
              std::string::npos)
        << gMsg.last;
    EXPECT_FALSE(std::filesystem::exists(pdf));
    EXPECT_EQ(gLabel.labelParts[0]->text(item::serPos), std::to_string(kFirstSerial));
}

// Print.def that cannot be written (a file stands where its folder would be)
// does not stop the print; the user hears of it only when it loses a switch
// changed in the window.
TEST_F(PrintRun, SwitchesThatCannotBeKeptStillPrint) {
    const SheetJob r = runOf(testsupport::readCases("labels/print_runs.txt", 9)[1]);
    serialSheet(r);
    const std::string blocked = testsupport::tempPath("blocked-config");
    std::filesystem::remove_all(blocked);
    std::ofstream(blocked) << "not a folder";
    setenv("XDG_CONFIG_HOME", blocked.c_str(), 1);
    const std::string pdf = testsupport::tempPath("unkept.pdf");
    for (const bool changed : {false, true}) {
        SCOPED_TRACE(changed);
        std::filesystem::remove(pdf);
        startRun(r, pdf);
        if (changed) gPrintSwitches.fourSheet ^= 4;
        gMsg.shown = 0;
        EXPECT_EQ(PrintButton(), print::kPrintNoErr) << gMsg.last;
        EXPECT_TRUE(std::filesystem::exists(pdf));
        EXPECT_EQ(gMsg.shown, changed ? 1 : 0) << gMsg.last;
    }
    EXPECT_NE(gMsg.last.find("could not be kept"), std::string::npos) << gMsg.last;
    EXPECT_NE(gMsg.last.find("Print.def"), std::string::npos) << gMsg.last;
}

// The print window's page picture uses up no serial number; a printed job
// leaves the item at the number after its last label.
TEST_F(PrintRun, PagePictureKeepsTheSerialAndAJobMovesItOn) {
    const SheetJob r = runOf(testsupport::readCases("labels/print_runs.txt", 9)[1]);
    serialSheet(r);
    const LabelItem& it = *gLabel.labelParts[0];
    qd::GWorldPtr world = nullptr;
    ASSERT_EQ(qd::NewGWorld(&world, 32, {0, 0, 10, 10}), 0);
    qd::SetGWorld(world);
    gPrint.nLabels = 5;
    gPrint.printScreen = 1;
    EXPECT_EQ(PrintLabels2(0, nullptr), 0);
    ASSERT_NE(gPrint.Pict2, nullptr);
    EXPECT_GT(gPrint.Pict2->ops.size(), 5u);
    EXPECT_EQ(it.text(item::serPos), std::to_string(kFirstSerial));
    qd::SetGWorld(nullptr);
    qd::DisposeGWorld(world);

    startRun(r, testsupport::tempPath("five.pdf"));
    ASSERT_EQ(PrintButton(), print::kPrintNoErr) << gMsg.last;
    EXPECT_EQ(it.text(item::serPos).substr(0, 12), std::to_string(kFirstSerial + 5));
}

// A job that prints nothing - refused at a later label, its print-time question
// cancelled, or its file not written - uses up no serial number and keeps each
// item's data as the document has it.
TEST_F(PrintRun, AJobThatPrintsNothingLeavesTheItemsAsTheyWere) {
    const SheetJob r = runOf(testsupport::readCases("labels/print_runs.txt", 9)[1]);
    serialSheet(r);
    testsupport::addSerialEan13Item(kFirstSerial);  // item 1: made an import item
    getItemData(1);
    gLabel.proMode = 2;
    gLabel.serPos = "<<1>>";
    setItemData(1, 2);
    const std::string records = testsupport::tempPath("fourth_bad.txt");
    std::ofstream(records, std::ios::binary)
        << kFirstSerial << '\r' << kFirstSerial << '\r' << kFirstSerial << "\rABCDEFGHIJKL\r";
    gDocFile.impoFile = records;
    gProd.externalImport.start = 1;
    gProd.externalImport.countPlus1 = 1;
    const auto itemTexts = [] {
        std::vector<std::string> texts;
        for (size_t i : {0, 1})
            for (size_t field : {item::dataText, item::serPos})
                texts.push_back(gLabel.labelParts[i]->text(field));
        return texts;
    };
    std::vector<std::string> before = itemTexts();
    const auto expectUntouched = [&](const char* why) { EXPECT_EQ(itemTexts(), before) << why; };
    SheetJob six = r;
    six.labels = 6;
    const std::string pdf = testsupport::tempPath("nothing.pdf");
    std::filesystem::remove(pdf);
    startRun(six, pdf);
    gMsg.shown = 0;
    EXPECT_EQ(PrintButton(), print::kPrintCancel);
    EXPECT_EQ(gMsg.shown, 1);  // the fourth record cannot be an EAN-13
    EXPECT_FALSE(std::filesystem::exists(pdf));
    expectUntouched("refused at the fourth label");

    // Item 1 asks at printing; the question is cancelled after item 0 has drawn.
    getItemData(1);
    gLabel.proMode = 3;
    gLabel.serPos.clear();
    gLabel.textQuest = "Lot?";
    setItemData(1, 2);
    before = itemTexts();
    startRun(six, pdf);
    EXPECT_EQ(PrintButton(), print::kPrintCancel);
    EXPECT_FALSE(std::filesystem::exists(pdf));
    expectUntouched("question cancelled");

    // Every label drawn, but the file cannot be written.
    gPrint.printTimeAnswer = std::to_string(kFirstSerial);
    startRun(six, testsupport::tempPath("no such folder") + "/nothing.pdf");
    EXPECT_NE(PrintButton(), print::kPrintNoErr);
    expectUntouched("file not written");
}

// Import records printed label by label; the run ends with the file.
TEST_F(PrintRun, ImportRecordsFillTheLabelsUntilTheFileEnds) {
    SheetJob r = runOf(testsupport::readCases("labels/print_runs.txt", 9)[1]);
    r.labels = 0;
    r.cells.resize(3);
    serialSheet(r);
    LabelItem& it = *gLabel.labelParts[0];
    getItemData(0);
    gLabel.proMode = 2;
    gLabel.serPos = "<<1>>";  // the template
    setItemData(0, 2);
    const std::string records = testsupport::tempPath("records.txt");
    std::ofstream(records, std::ios::binary)
        << kFirstSerial << '\r' << kFirstSerial + 1 << '\r' << kFirstSerial + 2 << '\r';
    gDocFile.impoFile = records;
    gProd.externalImport.start = 1;
    gProd.externalImport.countPlus1 = 1;  // no count: the whole file
    const std::string pdf = testsupport::tempPath("imported.pdf");
    startRun(r, pdf);
    ASSERT_EQ(PrintButton(), print::kPrintNoErr) << gMsg.last;
    expectSheet(r, pdf, "imported");
    EXPECT_EQ(it.text(item::dataText), "<<1>>");  // the template comes back

    // An import file that cannot be opened: message 34, and no file.
    gDocFile.impoFile = records + ".gone";
    const std::string none = testsupport::tempPath("none.pdf");
    startRun(r, none);
    gMsg.shown = 0;
    EXPECT_EQ(PrintButton(), print::kPrintCancel);
    EXPECT_EQ(gMsg.shown, 1);
    EXPECT_EQ(gMsg.last.rfind("The import file could not be opened", 0), 0u) << gMsg.last;
    EXPECT_FALSE(std::filesystem::exists(none));
}

// The thermal run works on a sheet without margins in one fill order, and the
// sheet and order come back after it.
TEST_F(PrintRun, ThermalRunPutsTheSheetBack) {
    SheetJob r = runOf(testsupport::readCases("labels/print_runs.txt", 9)[1]);
    serialSheet(r);
    static std::vector<int32_t> calls;
    calls.clear();
    gHooks.therm_ptr = [](int32_t kind, int32_t, qd::GWorldPtr) { calls.push_back(kind); };
    qd::GWorldPtr world = nullptr;
    ASSERT_EQ(qd::NewGWorld(&world, 1, {0, 0, 900, 700}), 0);
    qd::SetGWorld(world);
    gPrint.therPrin = world;
    gPrint.nLabels = 4;
    gPrint.nPages = 2;
    gPrintSwitches.iOrient = 2;
    const LabelSheet before = labelBack;
    EXPECT_EQ(PrintLabels2(2, nullptr), 0);
    EXPECT_EQ(labelBack.leftMargin, before.leftMargin);
    EXPECT_EQ(labelBack.topMargin, before.topMargin);
    EXPECT_EQ(gPrintSwitches.iOrient, 2);
    EXPECT_EQ(labelBack2.leftMargin, before.leftMargin);
    EXPECT_EQ(calls, (std::vector<int32_t>{0}));  // one page: the labels fit on it
    EXPECT_EQ(gPrint.nnLabels, 4);
    EXPECT_EQ(platform::gaugeRecord().title, "Thermal Printing");
    EXPECT_EQ(platform::gaugeRecord().text, "Printing");
    EXPECT_FALSE(platform::gaugeRecord().open);
    qd::SetGWorld(nullptr);
    qd::DisposeGWorld(world);
    gHooks.therm_ptr = nullptr;
}

}  // namespace
