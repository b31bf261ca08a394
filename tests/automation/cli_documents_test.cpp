// Label documents with variable data printed from the command line: each label
// of the printed PDF is read back and must carry its own record, or the answer
// the script gave; what cannot be printed is refused before a file is made.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "app/world.h"
#include "automation/options.h"
#include "cli_run.h"
#include "labels/labelDoc.h"
#include "labels/labelFile.h"
#include "platform/printing/printing.h"
#include "symbology/messages.h"
#include "symbology/state.h"
#include "support/label_document.h"
#include "support/settings_sandbox.h"

namespace {

namespace fs = std::filesystem;

// The sheet, in tenths of a point: 2 by 3 labels of 250 by 200 points on A4.
constexpr int kAcross = 2, kDown = 3;
constexpr int kLeft = 300, kTop = 400, kWidth = 2500, kHeight = 2000, kGap = 100;
constexpr int kDpi = 300;
constexpr int kProModeFixed = 0, kProModeImport = 2, kProModeAsk = 3;
constexpr double kStoredZeroHeight = -1;  // an item whose record holds a height of 0

struct CliDocuments : testsupport::SettingsSandbox {
    // A document of one Code 128 (or `type`) item on each label: imported by
    // `templ` from `importFile`, asked at printing with the question "Batch?", or
    // with `templ` as its fixed data; turned by `orient` degrees, at `size` percent
    // (0: the type's own), `height` millimetres high (0: the type's own;
    // kStoredZeroHeight: a record holding 0, as a document from elsewhere may).
    std::string makeDocument(int proMode, const std::string& templ, const std::string& importFile,
                             const char* type = "Code 128", int reduction = 0, int orient = 0,
                             double size = 0, double height = 0,
                             const std::function<void()>& settings = {}) {
        resetWorld();
        gMsg.quiet = true;
        initLabelItems();
        labelBack.leftMargin = kLeft;
        labelBack.topMargin = kTop;
        labelBack.across = kAcross;
        labelBack.down = kDown;
        labelBack.spaceAcross = labelBack.spaceDown = kGap;
        labelBack.labelWidth = kWidth;
        labelBack.labelHeight = kHeight;
        EXPECT_EQ(addLabelItem(), 0);
        gLabel.labelParts[0]->setI16(item::kind, kKindBarcode);
        gLabel.itRect = {40, 20, 160, 230};
        EXPECT_EQ(parseCodeType(type), 1);
        const std::string data = proMode == kProModeAsk ? "?" : templ;
        copyBounded(gData.chMainCode, data.c_str());
        copyBounded(gData.chMainCode2, data.c_str());
        gData.len1 = gData.len11 = 0;  // the data keeps its own length
        gLabel.serPos = proMode == kProModeImport ? templ : "";
        gLabel.textQuest = proMode == kProModeAsk ? "Batch?" : "";
        gLabel.proMode = proMode;
        gLabel.notDrawn = 0;
        gSym.BWidthRed = reduction;
        if (size > 0) gSym.Siz = size;
        if (height > 0) gSym.Hei = height;
        if (settings) settings();
        setItemRect(0);
        setItemData(0, 2);
        // The turn as the layout's rotate command keeps it in the record.
        constexpr int kTurnBits = 0x7FE;  // twice the degrees
        const int16_t packed = gLabel.labelParts[0]->i16(item::orientPacked);
        gLabel.labelParts[0]->setI16(item::orientPacked,
                                     (packed & ~kTurnBits) | (orient * 2 & kTurnBits));
        if (height == kStoredZeroHeight) gLabel.labelParts[0]->setI16(item::hei, 0);
        // Storing gives an item without data the sample's; a document from elsewhere
        // may hold none.
        if (proMode == kProModeFixed && templ.empty())
            gLabel.labelParts[0]->setText(item::dataText, "");
        gDocFile.impoFile = importFile;
        const std::string doc = (dir / "labels.labl").string();
        EXPECT_EQ(saveDocumentTo(doc), 0);
        resetWorld();
        return doc;
    }

    // The cell at (col, row) of a page rendered at dpi.
    static testsupport::Bitmap cellOf(const testsupport::Bitmap& page, int col, int row,
                                      int dpi = kDpi) {
        const double k = dpi / 720.0;
        const int left = int((kLeft + (kWidth + kGap) * col) * k);
        const int top = int((kTop + (kHeight + kGap) * row) * k);
        testsupport::Bitmap cell;
        cell.width = int(kWidth * k);
        cell.height = int(kHeight * k);
        cell.pixels.resize(size_t(cell.width) * size_t(cell.height));
        for (int y = 0; y < cell.height; ++y)
            for (int x = 0; x < cell.width; ++x)
                cell.pixels[size_t(y) * size_t(cell.width) + size_t(x)] =
                    page.at(left + x, top + y);
        return cell;
    }

    // What each cell of the first page decodes to, in fill order; "" for a blank cell.
    std::vector<std::string> readCells(const std::string& pdf) {
        testsupport::Bitmap page;
        EXPECT_TRUE(testsupport::pdfPage(pdf, kDpi, 1, &page));
        std::vector<std::string> cells;
        for (int row = 0; row < kDown; ++row)
            for (int col = 0; col < kAcross; ++col) {
                const testsupport::Bitmap cell = cellOf(page, col, row);
                const bool ink = std::any_of(cell.pixels.begin(), cell.pixels.end(),
                                             [](uint8_t v) { return v < 128; });
                cells.push_back(
                    ink ? testsupport::decode(testsupport::padBitmap(cell, 20), "Code128").text
                        : "");
            }
        return cells;
    }
};

TEST_F(CliDocuments, EachLabelTakesItsRecordOrTheAnswer) {
    int n = 0;
    for (const testsupport::CaseLine& c : testsupport::readCases("automation/documents.txt", 7)) {
        SCOPED_TRACE(c.where + " " + c[0]);
        const bool import = c[1] == "import";
        const std::string records = (dir / ("records" + std::to_string(++n) + ".txt")).string();
        if (import) std::ofstream(records, std::ios::binary) << c[2];
        const std::string doc =
            makeDocument(import ? kProModeImport : kProModeAsk, c[3], import ? records : "");
        const std::string pdf = (dir / ("labels" + std::to_string(n) + ".pdf")).string();
        std::string keys = "printer:\"" + pdf + "\"";
        if (c[4] != "-") keys += ", answer:\"" + c[4] + "\"";
        if (c[5] != "-") keys += ", number:\"" + c[5] + "\"";
        const CliRun r = run({"--open", doc, "{" + keys + "}"});

        const std::string refused = "refused: ";
        if (c[6].rfind(refused, 0) == 0) {
            EXPECT_EQ(r.status, 1) << r.err;
            EXPECT_NE(r.err.find(c[6].substr(refused.size())), std::string::npos) << r.err;
            EXPECT_FALSE(fs::exists(pdf));
            continue;
        }
        ASSERT_EQ(r.status, 0) << r.err;
        // Nobody answers how many records to import: the run says what it did.
        if (import)
            EXPECT_NE(r.err.find("no answer to \"Import how many?\""), std::string::npos) << r.err;
        else
            EXPECT_EQ(r.err, "");
        std::vector<std::string> want;
        std::istringstream in(c[6]);
        for (std::string label; in >> label;) want.push_back(label);
        want.resize(kAcross * kDown);
        EXPECT_EQ(readCells(pdf), want);
    }
}

// A reduction wider than the narrowest bar would print labels whose bars
// vanish, a negative one as wide labels whose spaces close: nothing is made,
// and the message says why. A small gain (a negative reduction) still prints.
TEST_F(CliDocuments, BarsTheReductionWouldEraseOrWidenAreRefused) {
    constexpr int kPastTheBars = 1000;  // micrometres, past Code 128's narrowest at 100 %
    constexpr int kWidening = -kPastTheBars;
    const std::string records = (dir / "records.txt").string();
    std::ofstream(records, std::ios::binary) << "R1\nR2\n";
    for (const auto& [reduction, says] : {std::pair{kPastTheBars, "the bars would vanish"},
                                          std::pair{kWidening, "would close the spaces"}}) {
        const std::string doc =
            makeDocument(kProModeImport, "<<1>>", records, "Code 128", reduction);
        for (const std::string keys : {"printer", "saveto"}) {
            const std::string file = (dir / ("refused-" + keys + ".pdf")).string();
            const CliRun r = run({"--open", doc, "{" + keys + ":\"" + file + "\"}"});
            EXPECT_EQ(r.status, 1) << keys << reduction;
            EXPECT_NE(r.err.find(says), std::string::npos) << keys << r.err;
            EXPECT_FALSE(fs::exists(file)) << keys << reduction;
        }
    }
    // Bars too low for their text are left out by the label writer and printing alike.
    constexpr double kTooLowForText = 3;  // millimetres
    const std::string low =
        makeDocument(kProModeImport, "<<1>>", records, "Code 128", 0, 0, 0, kTooLowForText);
    for (const std::string keys : {"printer", "saveto"}) {
        const CliRun r =
            run({"--open", low, "{" + keys + ":\"" + (dir / "low.pdf").string() + "\"}"});
        EXPECT_EQ(r.status, 1) << keys;
        EXPECT_NE(r.err.find("The bars have no room"), std::string::npos) << keys << r.err;
    }
    constexpr int kGain = -20;
    const std::string doc = makeDocument(kProModeImport, "<<1>>", records, "Code 128", kGain);
    const CliRun r = run({"--open", doc, "{printer:\"" + (dir / "gain.pdf").string() + "\"}"});
    EXPECT_EQ(r.status, 0) << r.err;
}

// A text item takes a print-time answer as typed: the blanks, dashes and bars
// a barcode's filter would drop stay in its text.
TEST_F(CliDocuments, ATextItemPrintsTheAnswerAsTyped) {
    resetWorld();
    gMsg.quiet = true;
    initLabelItems();
    labelBack.labelWidth = kWidth;
    labelBack.labelHeight = kHeight;
    labelBack.across = labelBack.down = 1;
    EXPECT_EQ(addLabelItem(), 0);
    gLabel.labelParts[0]->setI16(item::kind, kKindText);
    gLabel.itRect = {40, 20, 70, 240};
    pstrSet(gSym.fontBelow, "Helvetica");
    gSym.customTeSize = 12;
    copyBounded(gData.chMainCode, "?");
    gData.len1 = gData.len11 = 0;
    gLabel.textQuest = "Lot?";
    gLabel.proMode = kProModeAsk;
    setItemRect(0);
    setItemData(0, 2);
    const std::string doc = (dir / "text.labl").string();
    ASSERT_EQ(saveDocumentTo(doc), 0);
    const std::string pdf = (dir / "text.pdf").string();
    const CliRun r = run({"--open", doc, "{printer:\"" + pdf + "\", answer:\"Lot 12/ab-CD|7\"}"});
    ASSERT_EQ(r.status, 0) << r.err;
    const testsupport::RunResult text = testsupport::runCommand("pdftotext '" + pdf + "' -");
    EXPECT_EQ(text.out.substr(0, text.out.find('\n')), "Lot 12/ab-CD|7");
}

// Pages follow only for labels that have a record: an import file whose records
// fill the first sheet ends the print there, however its last line ends.

TEST_F(CliDocuments, NoPageFollowsTheLastRecord) {
    const struct {
        const char* records;
        const char* pages;
    } cases[] = {
        {"R1\nR2\nR3\nR4\nR5\nR6\n", "Pages:           1"},
        {"R1\r\nR2\r\nR3\r\nR4\r\nR5\r\nR6\r\n\r\n , \r\n", "Pages:           1"},
        {"R1\nR2\nR3\nR4\nR5\nR6\n\nR7\n", "Pages:           2"},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.records);
        const std::string records = (dir / ("records" + std::to_string(++n) + ".txt")).string();
        std::ofstream(records, std::ios::binary) << c.records;
        const std::string doc = makeDocument(kProModeImport, "<<1>>", records);
        const std::string pdf = (dir / ("labels" + std::to_string(n) + ".pdf")).string();
        const CliRun r = run({"--open", doc, "{printer:\"" + pdf + "\", number:\"20\"}"});
        ASSERT_EQ(r.status, 0) << r.err;
        const testsupport::RunResult info = testsupport::runCommand("pdfinfo '" + pdf + "'");
        EXPECT_NE(info.out.find(c.pages), std::string::npos) << info.out;
    }
}

// The label of an import document written to a file carries the first record
// of its import file, as the desktop shows it; a label whose import item has no
// record, or cannot take it, is refused and no file is made.
TEST_F(CliDocuments, ALabelFileTakesTheFirstRecord) {
    const std::string records = (dir / "records.txt").string();
    std::ofstream(records, std::ios::binary) << "\nR1,a\nR2,b\n";
    const std::string doc = makeDocument(kProModeImport, "<<1>>-<<2>>", records);
    for (const std::string ext : {"eps", "pdf"}) {
        const std::string file = (dir / ("label." + ext)).string();
        const CliRun r = run({"--open", doc, "{saveto:\"" + file + "\"}"});
        ASSERT_EQ(r.status, 0) << r.err;
        testsupport::Bitmap label;
        if (ext == "pdf")
            ASSERT_TRUE(testsupport::pdfPage(file, kDpi, 1, &label));
        else
            label = testsupport::renderWithGhostscript(file, kDpi).bitmap;
        EXPECT_EQ(testsupport::decode(testsupport::padBitmap(label, 20), "Code128").text, "R1-a");
    }
    const struct {
        const char* records;
        const char* type;
        const char* why;
    } refused[] = {
        {"", "Code 128", "the import file holds no record"},
        {nullptr, "Code 128", "the document names none"},
        {"R1\n", "EAN 13", "digits only"},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.why);
        if (c.records) std::ofstream(records, std::ios::binary) << c.records;
        const std::string file = (dir / "refused.eps").string();
        const CliRun r =
            run({"--open", makeDocument(kProModeImport, "<<1>>", c.records ? records : "", c.type),
                 "{saveto:\"" + file + "\"}"});
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find(c.why), std::string::npos) << r.err;
        EXPECT_FALSE(fs::exists(file));
    }
}

// The record a label file takes keeps its character set: a Shift-JIS file gives
// Kanji, a UTF-8 one its accented text.
TEST_F(CliDocuments, ALabelFileKeepsTheCharacterSetOfItsRecord) {
    const std::string records = (dir / "records.txt").string();
    const struct {
        const char* bytes;
        const char* text;
    } cases[] = {{"\x93\xFA\x96\x7B\x8C\xEA\n", "\u65e5\u672c\u8a9e"},
                 {"l\u2019\u00e9t\u00e9_2024\n", "l\u2019\u00e9t\u00e9_2024"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::ofstream(records, std::ios::binary) << c.bytes;
        const std::string doc = makeDocument(kProModeImport, "<<1>>", records, "QRCode");
        const std::string file = (dir / "label.eps").string();
        const CliRun r = run({"--open", doc, "{saveto:\"" + file + "\"}"});
        ASSERT_EQ(r.status, 0) << r.err;
        const testsupport::Bitmap label = testsupport::renderWithGhostscript(file, kDpi).bitmap;
        EXPECT_EQ(testsupport::decode(testsupport::padBitmap(label, 20), "QRCode").text, c.text);
    }
}

// A label that would go out without its symbol, or with its bars cut at its
// edge, is refused wherever it goes (printed, written as a label file, exported
// for the press), naming the label and its record; nothing is made. A quiet
// zone may reach past the label ("a quiet zone past" in documents.txt prints).
TEST_F(CliDocuments, ALabelThatWouldLoseItsSymbolIsRefused) {
    const std::string records = (dir / "records.txt").string();
    const std::string others = "R2,b\nR3,c\nR4,d\nR5,e\nR6,f\n";  // the press takes six
    const std::string past = "Item 1 of the label, a barcode, has bars reaching ";
    const struct {
        const char* name;
        const char* type;
        int proMode, orient;
        double size;
        std::string data, records, why, edge;  // data: the template, or the fixed data
    } cases[] = {
        {"empty field", "Code 128", kProModeImport, 0, 0, "<<2>>", "\nR1,  \n" + others,
         "label 1 (import file line 2): The data built from an import record is empty", ""},
        {"wider than the label", "Code 128", kProModeImport, 0, 0, "<<1>>",
         "\nA-VERY-LONG-RECORD-0000001,a\n" + others, "label 1 (import file line 2): " + past,
         "right edge"},
        {"turned past the top", "Code 128", kProModeFixed, 90, 0, "TURNED", "", past, "top edge"},
        // Cut short, a QR Code's modules are lost with its rows.
        {"a QR Code past the foot", "QRCode", kProModeFixed, 0, 300, "QR-LABEL-0001", "", past,
         "bottom edge"},
        {"no data", "Code 128", kProModeFixed, 0, 0, "", "",
         "Item 1 of the label, a barcode, has no data", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const bool import = c.proMode == kProModeImport;
        if (import) std::ofstream(records, std::ios::binary) << c.records;
        const std::string doc =
            makeDocument(c.proMode, c.data, import ? records : "", c.type, 0, c.orient, c.size);
        const fs::path out = dir / "out";
        fs::remove_all(out);
        fs::create_directory(out);
        const std::string pdf = (out / "labels.pdf").string(), job = (out / "job.eps").string();
        for (const auto& command : std::vector<std::vector<std::string>>{
                 {"--open", doc, "{printer:\"" + pdf + "\"}"},
                 {"--open", doc, "{saveto:\"" + pdf + "\"}"},
                 {"--open", doc, "--dialect", "press", "{saveto:\"" + job + "\"}"}}) {
            const CliRun r = run(command);
            EXPECT_EQ(r.status, 1) << command.back();
            EXPECT_NE(r.err.find(c.why), std::string::npos) << r.err;
            EXPECT_NE(r.err.find(c.edge), std::string::npos) << r.err;
            EXPECT_TRUE(fs::is_empty(out)) << command.back();
        }
    }
}

// PDF417 and MicroPDF417 paint their rows at the height their size gives them.
// A turned item lower than its rows (a height of 0, or a later import record
// that makes more rows) was printed clipped to its box: the label read as
// nothing. Turned back, each label reads as the unturned one does, and a
// MicroPDF417 (which the reader does not take) inks as much as unturned.
TEST_F(CliDocuments, TurnedRowSymbolsLowerThanTheirRowsPrintWhole) {
    constexpr double kSize = 50, kLow = 2;  // percent; millimetres, under the rows
    constexpr int kFine = 600;              // dpi: modules of half size are 2 pixels at 300
    const auto printed = [&](const std::string& doc, const std::string& keys) {
        const std::string pdf = (dir / "rows.pdf").string();
        fs::remove(pdf);
        const CliRun r = run({"--open", doc, "{printer:\"" + pdf + "\"" + keys + "}"});
        EXPECT_EQ(r.status, 0) << r.err;
        testsupport::Bitmap page;
        EXPECT_TRUE(testsupport::pdfPage(pdf, kFine, 1, &page));
        return page;
    };
    const auto readBack = [](const testsupport::Bitmap& cell, int orient) {
        const testsupport::Bitmap upright = testsupport::turnedClockwise(cell, orient / 90);
        return testsupport::decode(testsupport::padBitmap(upright, 20), "PDF417").text;
    };
    const std::string data = "TURNED PDF417 0123456789";
    testsupport::Bitmap flat;
    for (const double height : {kLow, kStoredZeroHeight})
        for (const int orient : {0, 90, 180, 270}) {
            SCOPED_TRACE(std::to_string(height) + " mm at " + std::to_string(orient));
            const testsupport::Bitmap page = printed(
                makeDocument(kProModeFixed, data, "", "PDF417", 0, orient, kSize, height), "");
            EXPECT_EQ(readBack(cellOf(page, 0, 0, kFine), orient), data);

            const testsupport::Bitmap micro = testsupport::cropToInk(
                cellOf(printed(makeDocument(kProModeFixed, data, "", "Micro PDF417", 0, orient,
                                            kSize, height),
                               ""),
                       0, 0, kFine),
                0);
            if (orient == 0) flat = micro;
            const bool across = orient % 180 == 0;
            // A pixel either way where the turn rounds the rows' edges.
            EXPECT_NEAR(across ? micro.height : micro.width, flat.height, 2);
            EXPECT_NEAR(across ? micro.width : micro.height, flat.width, 2);
        }

    // The first record's rows fit the item; the second's are more.
    const std::string records = (dir / "records.txt").string();
    std::ofstream(records, std::ios::binary) << "SHORT\nIMPORT RECORD 0123456789\n";
    const testsupport::Bitmap page =
        printed(makeDocument(kProModeImport, "<<1>>", records, "PDF417", 0, 90, kSize, kLow),
                ", number:\"2\"");
    EXPECT_EQ(readBack(cellOf(page, 0, 0, kFine), 90), "SHORT");
    EXPECT_EQ(readBack(cellOf(page, 1, 0, kFine), 90), "IMPORT RECORD 0123456789");
}

// Codablock F's rows share the item's bar height: a record holding a height of 0
// drew no rows at all, printed or written as a label file. It is read as the
// type's own height, as for a single symbol, and every row reads.
TEST_F(CliDocuments, ACodablockItemOfNoHeightTakesTheTypesOwn) {
    constexpr double kCodablockSize = 80;  // percent: the rows fit across the label
    const std::string doc = makeDocument(kProModeFixed, "CODABLOCK TEST", "", "Codablock F", 0, 0,
                                         kCodablockSize, kStoredZeroHeight);
    for (const std::string keys : {"printer", "saveto"}) {
        SCOPED_TRACE(keys);
        const std::string pdf = (dir / ("codablock-" + keys + ".pdf")).string();
        const CliRun r = run({"--open", doc, "{" + keys + ":\"" + pdf + "\"}"});
        ASSERT_EQ(r.status, 0) << r.err;
        testsupport::Bitmap page;
        ASSERT_TRUE(testsupport::pdfPage(pdf, kDpi, 1, &page));
        // The sheet printed; the label alone written.
        const testsupport::Bitmap ink =
            testsupport::cropToInk(keys == "printer" ? cellOf(page, 0, 0) : page, 0);
        // 10 mm of rows, a pixel either way.
        EXPECT_NEAR(ink.height, 10 / 25.4 * kDpi, 2);
        const std::string cropped = pdf + ".pgm";
        ASSERT_TRUE(testsupport::writePGM(testsupport::padBitmap(ink, 80), cropped));
        const std::string rows = testsupport::zbarimg(cropped).out;
        for (const char* piece : {"CODABLOCK", "TEST"})
            EXPECT_NE(rows.find(piece), std::string::npos) << rows;
    }
}

// Labels that run off the paper chosen for printing would print cut off: the
// document is refused before anything is printed, while the labels the paper
// holds still print.
TEST_F(CliDocuments, LabelsOffThePaperAreRefused) {
    print::PageFormat a5;
    ASSERT_TRUE(print::paperFormat("A5", &a5));
    ASSERT_EQ(print::savePageFormat(a5), print::kPrintNoErr);
    const std::string doc = makeDocument(kProModeAsk, "", "");
    const std::string cutOff = (dir / "cut-off.pdf").string();
    const CliRun r =
        run({"--open", doc, "{printer:\"" + cutOff + "\", answer:\"A5\", number:\"2\"}"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("do not fit on the A5 paper (420 x 595 points); nothing was printed"),
              std::string::npos)
        << r.err;
    EXPECT_FALSE(fs::exists(cutOff));

    const std::string fits = (dir / "fits.pdf").string();
    const CliRun one =
        run({"--open", doc, "{printer:\"" + fits + "\", answer:\"A5\", number:\"1\"}"});
    ASSERT_EQ(one.status, 0) << one.err;
    testsupport::Bitmap page;
    ASSERT_TRUE(testsupport::pdfPage(fits, kDpi, 1, &page));
    EXPECT_NEAR(page.height, a5.paperHeight * kDpi / 72, 1) << "an A5 page";
    EXPECT_EQ(testsupport::decode(page, "Code128").text, "A5");
}

// A printer's dots on a large sheet pass what a word holds (1,966 points at
// 1,200 dpi): a label that far down still prints its symbol in its own place.
TEST_F(CliDocuments, LabelsFarDownALargeSheetPrintTheirSymbolsInPlace) {
    print::PageFormat a0;  // 841 x 1189 mm, marked to its edges
    a0.paperName = "A0";
    a0.paperWidth = a0.imageRight = 2383.94;
    a0.paperHeight = a0.imageBottom = 3370.39;
    ASSERT_EQ(print::savePageFormat(a0), print::kPrintNoErr);
    // One column of two labels 1,500 points high; the item 1,400 points down each.
    resetWorld();
    gMsg.quiet = true;
    initLabelItems();
    labelBack.leftMargin = labelBack.topMargin = 360;
    labelBack.across = 1;
    labelBack.down = 2;
    labelBack.spaceAcross = labelBack.spaceDown = 100;
    labelBack.labelWidth = 3000;
    labelBack.labelHeight = 15000;
    ASSERT_EQ(addLabelItem(), 0);
    gLabel.labelParts[0]->setI16(item::kind, kKindBarcode);
    constexpr int kItemTop = 1400, kItemBottom = 1460;
    gLabel.itRect = {kItemTop, 20, kItemBottom, 280};
    ASSERT_EQ(parseCodeType("Code 128"), 1);
    copyBounded(gData.chMainCode, "FAR DOWN");
    copyBounded(gData.chMainCode2, "FAR DOWN");
    gData.len1 = gData.len11 = 0;
    gLabel.proMode = kProModeFixed;
    setItemRect(0);
    setItemData(0, 2);
    // And a line of text under it.
    constexpr int kTextTop = kItemBottom + 20;
    testsupport::setItemText(
        testsupport::addItemOfKind(kKindText, kTextTop, 20, kTextTop + 30, 280), "LOW TEXT");
    const std::string doc = (dir / "tall.labl").string();
    ASSERT_EQ(saveDocumentTo(doc), 0);
    resetWorld();

    const std::string pdf = (dir / "tall.pdf").string();
    const CliRun r = run({"--open", doc, "{printer:\"" + pdf + "\"}"});
    ASSERT_EQ(r.status, 0) << r.err;
    constexpr int kLowDpi = 150;
    testsupport::Bitmap page;
    ASSERT_TRUE(testsupport::pdfPage(pdf, kLowDpi, 1, &page));
    // The band where each label's item belongs, 20 points either way.
    for (const int labelTop : {36, 36 + 1500 + 10}) {
        SCOPED_TRACE(labelTop);
        const testsupport::Bitmap band =
            testsupport::rowsOf(page, (labelTop + kItemTop - 20) * kLowDpi / 72,
                                (kItemBottom - kItemTop + 40) * kLowDpi / 72);
        EXPECT_EQ(testsupport::decode(testsupport::cropToInk(band, 20), "Code128").text,
                  "FAR DOWN");
    }
    // Each label's text within a few points of its own place.
    std::istringstream words(
        testsupport::runCommand("pdftotext -bbox '" + pdf + "' - | grep '>LOW<'").out);
    std::vector<double> tops;
    for (std::string line; std::getline(words, line);) {
        const size_t at = line.find("yMin=\"");
        if (at != std::string::npos) tops.push_back(std::stod(line.substr(at + 6)));
    }
    ASSERT_EQ(tops.size(), 2u);
    EXPECT_NEAR(tops[0], 36 + kTextTop, 12);
    EXPECT_NEAR(tops[1], 36 + 1500 + 10 + kTextTop, 12);
}

// A printed file or a press job never replaces the document the command reads or
// its import file: the record is refused and both stay as they were.
TEST_F(CliDocuments, PrintsAndPressJobsNeverReplaceTheDocumentOrItsImportFile) {
    const std::string records = (dir / "job.ps").string();
    const std::string lines = "R1\nR2\n";
    std::ofstream(records, std::ios::binary) << lines;
    const std::string doc = makeDocument(kProModeImport, "<<1>>", records);
    const std::string stored = testsupport::slurp(doc);
    // The document under the names a print and a press job write.
    const std::string pdfDoc = (dir / "doc.pdf").string(), jobDoc = (dir / "job.jb").string();
    fs::copy_file(doc, pdfDoc);
    fs::copy_file(doc, jobDoc);
    const struct {
        std::vector<std::string> args;
        const char* said;
    } cases[] = {
        {{"--open", doc, "{printer:\"" + records + "\"}"}, "printer names the import file"},
        {{"--open", pdfDoc, "{printer:\"" + pdfDoc + "\"}"}, "printer names the file --open reads"},
        // The press job "job" replaces job.ps, its fixed part, and job.jb.
        {{"--dialect", "press", "--open", doc, "{saveto:\"" + (dir / "job.eps").string() + "\"}"},
         "saveto names the import file"},
        {{"--dialect", "press", "--open", jobDoc,
          "{saveto:\"" + (dir / "job.eps").string() + "\"}"},
         "saveto names the file --open reads"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.said);
        const CliRun r = run(c.args);
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find(c.said), std::string::npos) << r.err;
        EXPECT_EQ(testsupport::slurp(records), lines);
        for (const std::string& copy : {doc, pdfDoc, jobDoc})
            EXPECT_EQ(testsupport::slurp(copy), stored);
    }
}

// The ink of the text under a rendering's bars (rows whose ink crosses over and
// over), one flag a pixel, in the text's box.
struct Ink {
    int width = 0, height = 0;
    std::vector<bool> on;
    bool at(int x, int y) const {
        return x >= 0 && y >= 0 && x < width && y < height &&
               on[size_t(y) * size_t(width) + size_t(x)];
    }
};
Ink inkUnderBars(const testsupport::Bitmap& b) {
    constexpr int kBarCrossings = 20;
    auto crossings = [&](int y) {
        int n = 0;
        for (int x = 1; x < b.width; ++x) n += (b.at(x, y) < 128) != (b.at(x - 1, y) < 128);
        return n;
    };
    int end = 0;
    while (end < b.height && crossings(end) < kBarCrossings) ++end;
    while (end < b.height && crossings(end) >= kBarCrossings) ++end;
    while (end < b.height && crossings(end) > 0) ++end;  // the bars' blurred feet
    int top = b.height, bottom = -1, left = b.width, right = -1;
    for (int y = end; y < b.height; ++y)
        for (int x = 0; x < b.width; ++x)
            if (b.at(x, y) < 128) {
                top = std::min(top, y), bottom = std::max(bottom, y);
                left = std::min(left, x), right = std::max(right, x);
            }
    Ink ink{right - left + 1, bottom - top + 1, {}};
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x) ink.on.push_back(b.at(x, y) < 128);
    return ink;
}

// The share of the ink of a and b with no ink of the other near it, at the
// shift that fits best: the two outputs round places apart by a pixel or two.
double inkMismatch(const Ink& a, const Ink& b) {
    constexpr int kMostShift = 3, kNear = 1;
    auto near = [](const Ink& i, int x, int y) {
        for (int dy = -kNear; dy <= kNear; ++dy)
            for (int dx = -kNear; dx <= kNear; ++dx)
                if (i.at(x + dx, y + dy)) return true;
        return false;
    };
    double best = 1;
    for (int sy = -kMostShift; sy <= kMostShift; ++sy)
        for (int sx = -kMostShift; sx <= kMostShift; ++sx) {
            long apart = 0, ink = 0;
            for (int y = -kMostShift; y < std::max(a.height, b.height) + kMostShift; ++y)
                for (int x = -kMostShift; x < std::max(a.width, b.width) + kMostShift; ++x) {
                    const bool p = a.at(x, y), q = b.at(x + sx, y + sy);
                    ink += p + q;
                    apart += (p && !near(b, x + sx, y + sy)) + (q && !near(a, x, y));
                }
            if (ink > 0) best = std::min(best, double(apart) / double(ink));
        }
    return best;
}

// Under the bars of a code whose line is its data, the bar font's letter codes
// ('%' X, '[' I...) are characters of the data: a printed label shows them as
// the label file's vector output does, set in OCR-B.
TEST_F(CliDocuments, PrintedDataLinesShowTheLetterCodesAsThemselves) {
    constexpr int kTextSize = 10;           // the outputs differ in their default sizes
    constexpr double kSize = 60;            // percent: the longest data fits the label
    constexpr double kMostMismatch = 0.01;  // a letter in a code's place is 3 % or more
    const struct {
        const char* type;
        const char* data;
    } cases[] = {{"Telepen", "50% (A)"}, {"Telepen", "[a]_^`\\x"}, {"Code 93", "TEST 5%"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.data);
        const std::string doc = makeDocument(kProModeFixed, c.data, "", c.type, 0, 0, kSize, 0, [] {
            gSym.customTeSize = kTextSize;
            gSym.non_light = 0;  // no markers, which the outputs place apart
        });
        const std::string printed = (dir / "printed.pdf").string(),
                          file = (dir / "label.pdf").string();
        CliRun r = run({"--open", doc, "{printer:\"" + printed + "\"}"});
        ASSERT_EQ(r.status, 0) << r.err;
        r = run({"--open", doc, "{saveto:\"" + file + "\"}"});
        ASSERT_EQ(r.status, 0) << r.err;
        std::string text = testsupport::runCommand("pdftotext -l 1 '" + printed + "' -").out;
        text = text.substr(0, text.find('\n'));
        EXPECT_EQ(text, c.data);
        testsupport::Bitmap page, label;
        ASSERT_TRUE(testsupport::pdfPage(printed, kDpi, 1, &page));
        ASSERT_TRUE(testsupport::pdfPage(file, kDpi, 1, &label));
        EXPECT_LT(inkMismatch(inkUnderBars(cellOf(page, 0, 0)), inkUnderBars(label)),
                  kMostMismatch);
    }
}

}  // namespace
