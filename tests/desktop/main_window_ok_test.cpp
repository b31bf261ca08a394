// OK in the main window makes the symbol: the code type set, the data typed
// into the fields by keys, OK clicked, and the file read back by zxing-cpp, as
// EPS (through Ghostscript) and as TIFF. Data the buffers cannot hold is
// refused with a message and nothing is written.
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "app/codeTypeMenus.h"
#include "app/desktop/outsideInterface.h"
#include "automation/options.h"
#include "labels/labelFile.h"
#include "main_window_fixture.h"
#include "platform/desktop.h"
#include "support/cases.h"
#include "support/grey_image.h"

namespace {

using namespace mainlayout;

// zxing-cpp loses DataBar Expanded under a composite; zbarimg reads it.
constexpr const char* kZbar = "zbarimg";

// zbarimg's first reading (it reads raw: the data alone).
std::string zbarRead(const testsupport::Bitmap& b) {
    const std::string path = testsupport::tempPath("zbar.pgm");
    testsupport::writePGM(b, path);
    const std::string out = testsupport::zbarimg(path).out;
    return out.substr(0, out.find('\n'));
}

class MainWindowOK : public MainWindowTest {
  protected:
    // The code type, the typed data and add-on, and OK.
    void make(const testsupport::CaseLine& c, const std::string& dir, int32_t kind) {
        reopen();
        ASSERT_EQ(parseCodeType(c[2].c_str()), 1) << c[2];
        outputTo(dir, kind);
        doUpdate();
        clickIn(gPanels.TEH.viewRect);
        ASSERT_EQ(gPanels.c_TE, 0);
        type(c[3]);
        if (!c[4].empty()) {
            key('\t');
            ASSERT_EQ(gPanels.c_TE, 1);
            type(c[4]);
        }
        EXPECT_FALSE(gPanels.TEH.text.empty());  // as the code type's filter shaped it
        pressOK();
    }

    static std::string read(const testsupport::Bitmap& b, const testsupport::CaseLine& c) {
        if (c[1] == kZbar) return zbarRead(b);
        const bool addOn = c[1].back() == '+';
        const std::string format = addOn ? c[1].substr(0, c[1].size() - 1) : c[1];
        const testsupport::Decoded d =
            addOn ? testsupport::decodeWithAddOn(b, format) : testsupport::decode(b, format);
        return d.ok ? d.text : "(unread: " + d.error + ")";
    }
};

TEST_F(MainWindowOK, EveryFamilyTypedAndMadeAsEpsAndTiffReadsBack) {
    for (const auto& c : testsupport::readCases("desktop/h34w/ok_to_file.txt", 6)) {
        SCOPED_TRACE(c.where + " " + c[0]);
        const std::string eps = testsupport::freshFolder(c[0] + "_eps");
        make(c, eps, kOutVector);
        EXPECT_EQ(gProd.runFaults, 0) << gMsg.last;
        auto files = filesIn(eps);
        EXPECT_EQ(files.size(), 1u) << gMsg.last;
        if (files.size() != 1) continue;
        const testsupport::Rendered r = testsupport::renderWithGhostscript(files[0], 400);
        ASSERT_TRUE(r.ok) << r.err;
        EXPECT_EQ(read(testsupport::cropToInk(r.bitmap, 80), c), c[5]);

        const std::string tiff = testsupport::freshFolder(c[0] + "_tif");
        make(c, tiff, kOutTiff);
        files = filesIn(tiff);
        EXPECT_EQ(files.size(), 1u) << gMsg.last;
        if (files.size() != 1) continue;
        std::string why;
        const testsupport::Bitmap image = testsupport::greyOfImage(files[0], &why);
        ASSERT_GT(image.width, 0) << why;
        EXPECT_EQ(read(testsupport::padBitmap(image, 40), c), c[5]);
    }
}

TEST_F(MainWindowOK, ReturnInTheDataFieldPressesOK) {
    const std::string dir = testsupport::freshFolder("return");
    ASSERT_EQ(parseCodeType("Code 128"), 1);
    outputTo(dir, kOutVector);
    doUpdate();
    clickIn(gPanels.TEH.viewRect);
    type("RETURN1\r");
    EXPECT_EQ(filesIn(dir).size(), 1u);
    // The options pane takes Return as a key of its own: nothing is made.
    const std::string none = testsupport::freshFolder("return_options");
    outputTo(none, kOutVector);
    showPane(3, 0);
    clickIn(gPanels.TEBack3[2].viewRect);
    key('\r');
    EXPECT_TRUE(filesIn(none).empty());
}

// Pasted data longer than the data buffer is refused before anything is made:
// the message says why and no file is written, not even a cut-short symbol.
TEST_F(MainWindowOK, OverlongPastedDataIsRefusedAndWritesNothing) {
    const std::string dir = testsupport::freshFolder("overlong");
    ASSERT_EQ(parseCodeType("Code 128"), 1);
    outputTo(dir, kOutVector);
    doUpdate();
    platform::TERec source;
    const std::string pasted(5000, 'A');
    ASSERT_TRUE(platform::TESetText(pasted.data(), int32_t(pasted.size()), &source));
    platform::TESelectAll(&source);
    platform::TECopy(&source);
    clickIn(gPanels.TEH.viewRect);
    ASSERT_TRUE(platform::TEPaste(&gPanels.TEH));
    ASSERT_EQ(gPanels.TEH.text.size(), 5000u);
    gMsg.shown = 0;
    pressOK();
    EXPECT_EQ(gMsg.shown, 1);
    EXPECT_NE(gMsg.last.find("too long"), std::string::npos) << gMsg.last;
    EXPECT_TRUE(filesIn(dir).empty());
    EXPECT_EQ(gData.len1, 0);  // the buffers were not touched

    // An over-long add-on is refused the same way.
    platform::TESetText("ABC", 3, &gPanels.TEH);
    const std::string addOn(300, '1');
    platform::TESetText(addOn.data(), int32_t(addOn.size()), &gPanels.TEX);
    gMsg.shown = 0;
    pressOK();
    EXPECT_EQ(gMsg.shown, 1);
    EXPECT_TRUE(filesIn(dir).empty());

    // Data that fits is made.
    platform::TESetText("", 0, &gPanels.TEX);
    pressOK();
    EXPECT_EQ(filesIn(dir).size(), 1u);
}

TEST_F(MainWindowOK, OKEmptiesTheOtherPanesFieldsAndAsksForTheHeadText) {
    const std::string dir = testsupport::freshFolder("head");
    outputTo(dir, kOutVector);
    // Pane 0: the first three serial fields are emptied.
    for (int i = 0; i < 3; ++i) platform::TESetText("12", 2, &gPanels.TEBack1[i]);
    ASSERT_EQ(parseCodeType("EAN 13"), 1);
    gSym.variation1 = 11;  // the variant with a text above the symbol
    platform::questionScript().textAnswers.push_back({false, "Above the bars"});
    platform::TESetText("400638133393", 12, &gPanels.TEH);
    doUpdate();
    pressOK();
    EXPECT_EQ(platform::questionScript().textAsked, 1);
    EXPECT_STREQ(gData.chHeadCode, "Above the bars");
    EXPECT_EQ(gData.len3, 14);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(gPanels.TEBack1[i].text, "") << i;

    // An answer longer than the head text's buffer is kept within it.
    platform::questionScript().textAnswers.push_back({false, std::string(200, 'H')});
    pressOK();
    EXPECT_LT(std::string(gData.chHeadCode).size(), sizeof gData.chHeadCode);

    // Pane 1: the data field is emptied.
    showPane(1);
    platform::TESetText("DATA", 4, &gPanels.TEH);
    pressOK();
    EXPECT_EQ(gPanels.TEH.text, "");
    EXPECT_EQ(gPictOut.sameFile, 0);
}

// The import pane's file box chooses the file the run then reads, although the
// field shows only that a file was chosen.
TEST_F(MainWindowOK, AnImportRunReadsTheFileChosenWithTheFileBox) {
    const std::string dir = testsupport::freshFolder("import_chosen");
    static std::string chosen;
    chosen = dir + "/records.csv";
    std::ofstream(chosen, std::ios::binary) << "A1\r\nB2\r\n";
    const std::string out = testsupport::freshFolder("import_chosen_out");
    platform::SetDialogAnswers(nullptr, nullptr, [](const char*, std::string* path) {
        *path = chosen;
        return true;
    });
    ASSERT_EQ(parseCodeType("Code 128"), 1);
    outputTo(out, kOutVector);
    showPane(2);
    clickIn(kImportFileBox);
    EXPECT_EQ(gPanels.TEBack2[1].text, "Set");
    const char* typed[][2] = {{"5", "1"}, {"6", "2"}, {"7", "0"}, {"8", "10"}};
    for (const auto& t : typed)
        platform::TESetText(t[1], int32_t(std::strlen(t[1])), &gPanels.TEBack2[std::atoi(t[0])]);
    pressOK();
    platform::SetDialogAnswers(nullptr, nullptr, nullptr);
    EXPECT_EQ(gMsg.last.find("could not be opened"), std::string::npos) << gMsg.last;
    EXPECT_EQ(testsupport::decodeEpsFolder(out, "Code128"), (std::vector<std::string>{"A1", "B2"}));
}

// A UPC-A file the desktop wrote opens again on the command line as the same
// symbol: its header carries the data as typed, not the form the encoder made.
TEST_F(MainWindowOK, AUpcAFileOpensAgainAsTheSameSymbol) {
    const std::string dir = testsupport::freshFolder("upca_made");
    const std::string again = testsupport::freshFolder("upca_again");
    ASSERT_EQ(parseCodeType("UPC A"), 1);
    outputTo(dir, kOutVector);
    doUpdate();
    clickIn(gPanels.TEH.viewRect);
    type("03600029145");
    pressOK();
    const std::vector<std::string> made = filesIn(dir);
    ASSERT_EQ(made.size(), 1u) << gMsg.last;
    const std::string command = "\"" STRIXEL_BINARY "\" --open \"" + made[0] + "\" '{saveto:\"" +
                                again + "/again.eps\"}' 2>/dev/null";
    EXPECT_EQ(std::system(command.c_str()), 0) << "the file was refused";
    EXPECT_EQ(testsupport::decodeEpsFolder(dir, "UPC-A"),
              (std::vector<std::string>{"036000291452"}));
    EXPECT_EQ(testsupport::decodeEpsFolder(again, "UPC-A"),
              (std::vector<std::string>{"036000291452"}));
}

// An EPS file opened for its settings shows them in the fields, its data too,
// and OK then makes the symbol the fields show: the same data, size, height,
// reduction and inks as the file it came from.
TEST_F(MainWindowOK, AnEpsFilesSettingsShowInTheFieldsAndOKMakesThem) {
    const std::string from = testsupport::freshFolder("eps_from");
    const std::string made = testsupport::freshFolder("eps_made");
    const std::string eps = from + "/c39.eps";
    const std::string record =
        "{type:\"Code 39\", data:\"HELLO\", size:\"150\", height:\"12\", bwr:\"15\", "
        "colour:\"0 100 100 0\", spotname:\"Red 032\", saveto:\"" +
        eps + "\"}";
    ASSERT_EQ(std::system(("\"" STRIXEL_BINARY "\" '" + record + "' 2>/dev/null").c_str()), 0);
    // Something typed before the file is opened does not stay.
    clickIn(gPanels.TEH.viewRect);
    type("OLD");
    ASSERT_TRUE(takeEpsSettings(eps));
    EXPECT_EQ(gPanels.TEH.text, "HELLO");
    EXPECT_EQ(gPanels.TESize.text, "150.00");
    EXPECT_EQ(gPanels.TEHeight.text, "12.00");
    EXPECT_EQ(gPanels.TEBWR.text, "15");
    EXPECT_EQ(gPanels.TECyan.text, "0");
    EXPECT_EQ(gPanels.TEMage.text, "100");
    EXPECT_EQ(gPanels.TEYell.text, "100");
    EXPECT_EQ(gPanels.TEBlac.text, "0");

    outputTo(made, kOutVector);
    pressOK();
    // This type adds its modulo-43 check character, B for HELLO.
    EXPECT_EQ(testsupport::decodeEpsFolder(from, "Code39"), (std::vector<std::string>{"HELLOB"}));
    EXPECT_EQ(testsupport::decodeEpsFolder(made, "Code39"), (std::vector<std::string>{"HELLOB"}))
        << gMsg.last;
    const std::vector<std::string> files = filesIn(made);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(epsOptionsRecordAt(files[0]), epsOptionsRecordAt(eps));
}

// A file made without an add-on or options text opens without one: the one an
// earlier file gave belongs to another symbol, and OK makes the file's own.
TEST_F(MainWindowOK, AnEpsFileWithoutAnAddOnOpensWithoutTheOneBefore) {
    const std::string from = testsupport::freshFolder("addon_from");
    const char* pairs[][2] = {
        {"type:\"EAN 13\", data:\"400638133393\", options:\"52495\"",
         "type:\"EAN 13\", data:\"501234567890\""},
        {"type:\"QRCode\", data:\"hello\", options:\"H5\"", "type:\"QRCode\", data:\"world\""},
    };
    for (const auto& [with, plain] : pairs) {
        SCOPED_TRACE(plain);
        const std::string withEps = from + "/with.eps", plainEps = from + "/plain.eps";
        const std::string command = "\"" STRIXEL_BINARY "\" '{" + std::string(with) +
                                    ", saveto:\"" + withEps + "\"}' '{" + plain + ", saveto:\"" +
                                    plainEps + "\"}' 2>/dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0);
        ASSERT_TRUE(takeEpsSettings(withEps));
        ASSERT_FALSE(gPanels.TEX.text.empty());
        ASSERT_TRUE(takeEpsSettings(plainEps));
        EXPECT_EQ(gPanels.TEX.text, "");

        const std::string made = testsupport::freshFolder("addon_made");
        outputTo(made, kOutVector);
        pressOK();
        const std::vector<std::string> files = filesIn(made);
        ASSERT_EQ(files.size(), 1u) << gMsg.last;
        EXPECT_EQ(epsOptionsRecordAt(files[0]), epsOptionsRecordAt(plainEps));
    }
}

// An add-on typed for a type that carries none is refused by OK, told once, as
// the command line refuses it, rather than left off the symbol unsaid.
TEST_F(MainWindowOK, AnAddOnTheTypeCannotCarryIsRefused) {
    constexpr int16_t kWithAddOnMenu = 253;
    for (const int16_t item : {3, 4}) {  // EAN-UCC 8 and EAN-UCC 8 2
        SCOPED_TRACE(item);
        reopen();
        const std::string dir = testsupport::freshFolder("ean8_addon");
        ASSERT_EQ(chooseCodeType(kWithAddOnMenu, item), CodeChoice::applied);
        outputTo(dir, kOutVector);
        doUpdate();
        clickIn(gPanels.TEH.viewRect);
        type("1234567");
        // The add-on field takes no keys for this type, but a paste reaches it.
        platform::TESetText("12", 2, &gPanels.TEX);
        gMsg.shown = 0;
        pressOK();
        EXPECT_TRUE(filesIn(dir).empty());
        EXPECT_EQ(gMsg.shown, 1);
        EXPECT_NE(gMsg.last.find("takes no add-on"), std::string::npos) << gMsg.last;
    }
}

// OK checks the single symbol as the command line does before making it: a
// height of 0 is the type's own, while bars too low to draw or narrower than the
// reduction are refused with a message and nothing is written.
TEST_F(MainWindowOK, HeightZeroIsTheTypesOwnAndUnscannableBarsAreRefused) {
    ASSERT_EQ(parseCodeType("EAN 13"), 1);
    doUpdate();
    auto enter = [](platform::TERec& field, const std::string& text) {
        clickIn(field.viewRect);  // selects the whole field
        type(text);
    };
    enter(gPanels.TEH, "501234567890");
    enter(gPanels.TEHeight, "0");
    const std::string own = testsupport::freshFolder("height_own");
    outputTo(own, kOutVector);
    pressOK();
    EXPECT_EQ(testsupport::decodeEpsFolder(own, "EAN-13"),
              (std::vector<std::string>{"5012345678900"}))
        << gMsg.last;

    const struct {
        const char *height, *reduction, *said;
    } refused[] = {{"1.5", "0", "2 mm or less"}, {"0", "999", "bars would vanish"}};
    for (const auto& r : refused) {
        SCOPED_TRACE(r.said);
        enter(gPanels.TEHeight, r.height);
        enter(gPanels.TEBWR, r.reduction);
        const std::string dir = testsupport::freshFolder("refused");
        outputTo(dir, kOutVector);
        gMsg.shown = 0;
        pressOK();
        EXPECT_NE(gMsg.last.find(r.said), std::string::npos) << gMsg.last;
        EXPECT_TRUE(filesIn(dir).empty());
    }
}

// A serial pane the count cannot run from (here an increment of 0) is refused
// with its message, and the item keeps the count it had.
TEST_F(MainWindowOK, ARefusedSerialPaneStoresNothing) {
    const char* fields[] = {"001", "005", "000", "3"};  // start, end, increment, width
    for (int32_t i = 0; i < 4; ++i)
        platform::TESetText(fields[i], int32_t(std::strlen(fields[i])), &gPanels.TEBack1[i]);
    gProd.background = 1;
    gLabel.serPos = "007";
    gMsg.shown = 0;
    EXPECT_FALSE(getTextData());
    EXPECT_EQ(gMsg.shown, 1);
    EXPECT_EQ(gLabel.serPos, "007");

    platform::TESetText("001", 3, &gPanels.TEBack1[2]);
    ASSERT_TRUE(getTextData()) << gMsg.last;
    EXPECT_EQ(gLabel.serPos, "001");
    EXPECT_EQ(gLabel.incAmount, "001");
}

// The print-time pane reads its fields; the length cut stays inside the buffers.
TEST_F(MainWindowOK, PrintTimeEntryIsReadBounded) {
    platform::TESetText("What is the lot?", 16, &gPanels.TEBack5[0]);
    platform::TESetText("3", 1, &gPanels.TEBack5[1]);
    platform::TESetText("ABCDEFGH", 8, &gPanels.TEH);
    platform::TESetText("4", 1, &gPanels.TEBack1[3]);
    gProd.background = 5;
    ASSERT_TRUE(getTextData());
    EXPECT_EQ(gLabel.textQuest, "What is the lot?");
    EXPECT_EQ(gLabel.numRepeat, 3);
    EXPECT_EQ(gLabel.tempNumRepeat, 3);
    EXPECT_EQ(gLabel.proMode, 3);
    EXPECT_EQ(gData.len1, 4);
    EXPECT_STREQ(gData.chMainCode, "ABCD");

    platform::TESetText("99999", 5, &gPanels.TEBack1[3]);
    ASSERT_TRUE(getTextData());
    EXPECT_EQ(gData.len1, 2047);
    EXPECT_STREQ(gData.chMainCode, "ABCDEFGH");

    platform::TESetText("0", 1, &gPanels.TEBack1[3]);
    const std::string question(300, 'Q');
    platform::TESetText(question.data(), int32_t(question.size()), &gPanels.TEBack5[0]);
    ASSERT_TRUE(getTextData());
    EXPECT_EQ(gData.len1, 0);
    EXPECT_EQ(gLabel.textQuest.size(), 127u);
}

// The file's header carries the whole data as typed, whatever form the encoder
// gave it: data starting with digits goes into Code 128's code set C, packed
// two digits a character, and the header must not be cut to that length.
TEST_F(MainWindowOK, TheHeaderKeepsTheWholeDataOfDigitLeadingData) {
    struct Made {
        const char* type;
        const char* data;
    };
    for (const Made& m : {Made{"Code 128", "501234567890"}, Made{"Code 128", "12345678X"},
                          Made{"Code 128", "12345678901234567890"}, Made{"Code 39", "1234567890AB"},
                          Made{"Codabar", "A1234567890B"}, Made{"Code 93", "12345678AB"},
                          Made{"ITF", "1540014128876"}, Made{"MSI", "1234567"},
                          Made{"GS1 128", "(01)1540014128876(17)251231(10)AB1"},
                          Made{"GS1 128", "\\10104006381333931"}, Made{"UPC E", "01234500006"}}) {
        SCOPED_TRACE(std::string(m.type) + " " + m.data);
        const std::string dir = testsupport::freshFolder("title");
        reopen();
        ASSERT_EQ(parseCodeType(m.type), 1);
        outputTo(dir, kOutVector);
        doUpdate();
        clickIn(gPanels.TEH.viewRect);
        type(m.data);
        pressOK();
        const std::vector<std::string> made = filesIn(dir);
        ASSERT_EQ(made.size(), 1u) << gMsg.last;
        const std::string eps = testsupport::slurp(made[0]);
        EXPECT_NE(eps.find(std::string("%%Title: ") + m.data + "\r"), std::string::npos)
            << eps.substr(0, eps.find("%%CreationDate"));
        EXPECT_NE(eps.find(std::string(", data:\"") + m.data + "\""), std::string::npos);
    }
}

// A scan makes the symbol it carries: the data source a serial or import run
// left, and the add-on or options of the symbol before, stay out of it.
TEST_F(MainWindowOK, AScanMakesTheSymbolItCarriesNotWhatCameBefore) {
    using Strings = std::vector<std::string>;
    // The keys a scanner types, Return included; the folder of what they make.
    const auto scan = [](const std::string& keys) {
        const std::string dir = testsupport::freshFolder("scanned");
        outputTo(dir, kOutVector);
        type(keys + "\r");
        return dir;
    };
    const auto optionsIn = [](const std::string& dir) {
        const std::vector<std::string> files = filesIn(dir);
        return files.size() == 1 ? epsOptionsRecordAt(files[0]) : "(not one file)";
    };

    // A serial run, then back to the data pane.
    ASSERT_EQ(parseCodeType("EAN 13"), 1);
    outputTo(testsupport::freshFolder("serials"), kOutVector);
    showPane(1);
    const char* serial[] = {"400638133393", "400638133395", "1", "12"};  // start, end, step, width
    for (int32_t i = 0; i < 4; ++i)
        platform::TESetText(serial[i], int32_t(std::strlen(serial[i])), &gPanels.TEBack1[i]);
    pressOK();
    showPane(0);
    std::string dir = scan("]E04006381333931");
    EXPECT_EQ(testsupport::decodeEpsFolder(dir, "EAN-13"), Strings{"4006381333931"})
        << optionsIn(dir);

    // An import run of the template <<1>>, then back to the data pane.
    reopen();
    static std::string chosen;
    chosen = testsupport::freshFolder("scan_records") + "/records.csv";
    std::ofstream(chosen, std::ios::binary) << "AB\r\nCD\r\n";
    platform::SetDialogAnswers(nullptr, nullptr, [](const char*, std::string* path) {
        *path = chosen;
        return true;
    });
    ASSERT_EQ(parseCodeType("Code 128"), 1);
    outputTo(testsupport::freshFolder("imported"), kOutVector);
    showPane(2);
    clickIn(kImportFileBox);
    const char* import[][2] = {{"4", "<<1>>"}, {"5", "1"}, {"6", "2"}, {"7", "0"}, {"8", "10"}};
    for (const auto& t : import)
        platform::TESetText(t[1], int32_t(std::strlen(t[1])), &gPanels.TEBack2[std::atoi(t[0])]);
    pressOK();
    platform::SetDialogAnswers(nullptr, nullptr, nullptr);
    showPane(0);
    dir = scan("]C0SCANNED99");
    EXPECT_EQ(testsupport::decodeEpsFolder(dir, "Code128"), Strings{"SCANNED99"}) << optionsIn(dir);

    // A symbol made with an add-on or options, then a scan: the scan empties the
    // field and the symbol has none either ("Z0" keeps the type).
    struct Before {
        const char *type, *data, *addOn, *scanned, *format, *reads;
    };
    for (const Before& b :
         {Before{"EAN 13", "400638133393", "52495", "]E04006381333931", "EAN-13", "4006381333931"},
          Before{"QRCode", "hello", "H7", "]Z0other", "QRCode", "other"}}) {
        SCOPED_TRACE(b.scanned);
        reopen();
        ASSERT_EQ(parseCodeType(b.type), 1);
        outputTo(testsupport::freshFolder("typed"), kOutVector);
        doUpdate();
        clickIn(gPanels.TEH.viewRect);
        type(b.data);
        key('\t');
        type(b.addOn);
        pressOK();
        ASSERT_NE(optionsIn(testsupport::tempPath("typed")).find(b.addOn), std::string::npos);
        dir = scan(b.scanned);
        EXPECT_EQ(gPanels.TEX.text, "");
        EXPECT_EQ(testsupport::decodeEpsFolder(dir, b.format), Strings{b.reads});
        EXPECT_EQ(optionsIn(dir).find("options:"), std::string::npos) << optionsIn(dir);
    }
}

}  // namespace
