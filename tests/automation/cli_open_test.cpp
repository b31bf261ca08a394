// --open: a label document written as its label, and the settings of an EPS
// file given back through its options line.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "app/world.h"
#include "automation/options.h"
#include "cli_run.h"
#include "labels/labelDoc.h"
#include "labels/labelFile.h"
#include "symbology/appBits.h"
#include "symbology/messages.h"
#include "symbology/state.h"
#include "support/label_document.h"

namespace {

namespace fs = std::filesystem;

std::string optionsLine(const std::string& eps) {
    const size_t at = eps.find("%%Options: ");
    return at == std::string::npos ? "" : eps.substr(at, eps.find('\r', at) - at);
}

std::string withoutDate(std::string eps) {
    const size_t at = eps.find("%%CreationDate:");
    if (at != std::string::npos) eps.erase(at, eps.find('\r', at) - at);
    return eps;
}

// What zxing-cpp reads from an EPS file.
std::string readEps(const std::string& path, const std::string& format) {
    const testsupport::Rendered page = testsupport::renderWithGhostscript(path, 400, true);
    EXPECT_TRUE(page.ok) << page.err;
    return page.ok ? testsupport::decode(page.bitmap, format).text : "";
}

struct CliOpen : ::testing::Test {
    fs::path dir;
    void SetUp() override {
        char tmpl[] = "/tmp/strixel-open-XXXXXX";
        ASSERT_NE(::mkdtemp(tmpl), nullptr);
        dir = tmpl;
    }
    void TearDown() override { fs::remove_all(dir); }
    // A document of one text item on labels of 60 x 30 mm, across x down a sheet.
    std::string saveTextLabel(uint32_t across, uint32_t down) {
        testsupport::startLabelDocument(1700, 850, across, down);
        LabelItem& t = testsupport::addItemOfKind(kKindText, 10, 10, 30, 150);
        t.setI16(item::humanPacked, 2 * 3);
        testsupport::setItemText(t, "Opened label");
        return testsupport::saveLabelDocument((dir / "sheet.labl").string());
    }
};

TEST_F(CliOpen, AnEpsGivesBackTheSettingsThatMadeIt) {
    const std::string first = (dir / "first.eps").string();
    const std::string second = (dir / "second.eps").string();
    CliRun r =
        run({"{type:\"Code 128\", data:\"STRIXEL-42\", size:\"120\", height:\"15\", "
             "bwr:\"20\", colour:\"10 20 30 40\", saveto:\"" +
             first + "\"}"});
    ASSERT_EQ(r.status, 0) << r.err;
    r = run({"--open", first, "{saveto:\"" + second + "\"}"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string a = optionsLine(testsupport::slurp(first)),
                      b = optionsLine(testsupport::slurp(second));
    EXPECT_NE(a.find("STRIXEL-42"), std::string::npos) << a;
    EXPECT_EQ(a, b);
    // The record's keys change what the file gave.
    r = run({"--open", first, "{data:\"OTHER\", saveto:\"" + second + "\"}"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(optionsLine(testsupport::slurp(second)).find("OTHER"), std::string::npos);
}

// An add-on, a 2-D symbol's options text and separators typed into a number
// come back with the rest: the file made again from the opened one is the same.
TEST_F(CliOpen, AFileOpenedAgainMakesTheSameFile) {
    std::vector<std::string> records = {
        "{type:\"EAN 13\", data:\"400638133393\", options:\"52495\"",
        "{type:\"QRCode\", data:\"hello\", options:\"H5\"",
        "{type:\"Datamatrix\", data:\"hello\", options:\"24X24\"",
        "{type:\"ITF NC\", data:\"12-34-56\"",
        "{type:\"ISBN-13\", data:\"978-3-16-148410\"",
        // The title repeats the data: a "%%" in it starts no comment, and the
        // longest data's lines are read whole.
        "{type:\"QRCode\", data:\"50%% off\"",
        "{type:\"QRCode\", data:\"" + std::string(1500, 'L') + "\"",
    };
    for (const std::string& record : records) {
        SCOPED_TRACE(record);
        const std::string first = (dir / "first.eps").string();
        const std::string second = (dir / "second.eps").string();
        CliRun r = run({record + ", saveto:\"" + first + "\"}"});
        ASSERT_EQ(r.status, 0) << r.err;
        r = run({"--open", first, "{saveto:\"" + second + "\"}"});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(withoutDate(testsupport::slurp(first)), withoutDate(testsupport::slurp(second)));
    }
}

// SCC 14 by its name comes in the bearer box its menu item gives, with the digits
// under it, and a file of it opened again keeps the box.
TEST_F(CliOpen, Scc14ComesInItsBearerBoxTypedOrOpened) {
    const std::string first = (dir / "scc.eps").string();
    const std::string second = (dir / "scc_again.eps").string();
    CliRun r = run({record("SCC 14", "1234567890123", first)});
    ASSERT_EQ(r.status, 0) << r.err;
    r = run({"--open", first, "{saveto:\"" + second + "\"}"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(withoutDate(testsupport::slurp(first)), withoutDate(testsupport::slurp(second)));

    const testsupport::Bitmap padded = rendered(first);
    EXPECT_EQ(testsupport::decode(padded, "ITF").text, "12345678901231");
    const testsupport::Bitmap b = testsupport::cropToInk(padded, 0);
    ASSERT_GT(b.height, 0);
    // The ink's top row is the upper bearer and its first column the box's left
    // side, from the top down past the middle of the bars.
    constexpr int kIn = 2, kDark = 80;
    int gaps = 0;
    for (int x = 0; x < b.width; ++x) gaps += b.at(x, kIn) > kDark;
    for (int y = 0; y < b.height / 2; ++y) gaps += b.at(kIn, y) > kDark;
    EXPECT_EQ(gaps, 0) << "no bearer box";
}

// The type's name in the options line reads back as the same code, variant and
// check setting for every code type: a display name such as "Code 39" stands for
// more than one.
TEST_F(CliOpen, EveryTypeOpensAgainAsTheSameSymbol) {
    const std::string first = (dir / "first.eps").string();
    const std::string second = (dir / "second.eps").string();
    for (const auto& c : testsupport::readCases("automation/sweep.txt", 5)) {
        SCOPED_TRACE(c.where + " " + c[0]);
        CliRun r = run({"{" + c[1] + ", saveto:\"" + first + "\"}"});
        ASSERT_EQ(r.status, 0) << r.err;
        r = run({"--open", first, "{saveto:\"" + second + "\"}"});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(withoutDate(testsupport::slurp(first)), withoutDate(testsupport::slurp(second)));
    }
    ASSERT_EQ(run({record("Code 39 NC", "CODE39", first)}).status, 0);
    ASSERT_EQ(run({"--open", first, "{saveto:\"" + second + "\"}"}).status, 0);
    EXPECT_EQ(readEps(second, "Code39"), "CODE39");
}

// A record naming another type than the opened file's gets what a record of that
// type gets on its own (check characters, text line, fonts); the file gives its
// data and colour only.
TEST_F(CliOpen, ARecordOfAnotherTypeGetsThatTypesOwnSettings) {
    const std::string colour = ", colour:\"10 20 30 40\", spotname:\"Gold\"";
    const char* opened[] = {
        "type:\"Codabar\", data:\"A40156B\"", "type:\"Laetus Standard\", data:\"1234\"",
        "type:\"ITF NC HALLMARK\", data:\"12345678\"", "type:\"IKEA\", data:\"1234567\"",
        "type:\"EAN 13 Text Below Addon\", data:\"501234567890\", options:\"52495\""};
    const char* retyped[] = {
        "type:\"Code 93\", data:\"TEST93\"",       "type:\"EAN 13\", data:\"400638133393\"",
        "type:\"Code 128\", data:\"Strixel-128\"", "type:\"HIBC Code 39\", data:\"+A1230\"",
        "type:\"ITF\", data:\"1234567\"",          "type:\"Code 39\", data:\"CODE39\""};
    const std::string file = (dir / "opened.eps").string(), plain = (dir / "plain.eps").string(),
                      again = (dir / "again.eps").string();
    for (const char* o : opened) {
        ASSERT_EQ(run({record(o + colour, file)}).status, 0);
        for (const char* t : retyped) {
            SCOPED_TRACE(std::string(o) + " -> " + t);
            ASSERT_EQ(run({record(t + colour, plain)}).status, 0);
            const CliRun r = run({"--open", file, record(t, again)});
            ASSERT_EQ(r.status, 0) << r.err;
            EXPECT_EQ(withoutDate(testsupport::slurp(again)),
                      withoutDate(testsupport::slurp(plain)));
        }
    }
    ASSERT_EQ(run({record("Codabar", "A40156B", file)}).status, 0);
    ASSERT_EQ(run({"--open", file, record("Code 93", "TEST93", again)}).status, 0);
    EXPECT_EQ(readEps(again, "Code93"), "TEST93");
}

// A record naming the opened file's own type, by any of its names, changes none of
// the file's settings: the file is the one a record without the type makes.
TEST_F(CliOpen, NamingTheFilesOwnTypeKeepsItsSettings) {
    const char* made[][2] = {
        {"type:\"EAN 13\", data:\"400638133393\", options:\"52495\"", "EAN 13"},
        {"type:\"QRCode\", data:\"hello\", options:\"H5\"", "QRCode"},
        {"type:\"Code 39\", data:\"CODE39\", options:\"3\"", "Code 39"},
        {"type:\"Littlewoods\", data:\"400638133393\"", "Littlewoods"},  // its type adds an inset
    };
    const std::string settings = ", size:\"120\", height:\"30\", bwr:\"15\", colour:\"1 2 3 4\"";
    const std::string file = (dir / "made.eps").string(), plain = (dir / "plain.eps").string(),
                      typed = (dir / "typed.eps").string();
    for (const auto& [keys, type] : made) {
        SCOPED_TRACE(keys);
        ASSERT_EQ(run({record(keys + settings, file)}).status, 0);
        // The record's other keys still change the file's settings.
        const std::string named = "type:\"" + std::string(type) + "\"";
        const std::pair<std::string, std::string> records[] = {
            {"{saveto:\"" + plain + "\"}", record(named, typed)},
            {record("size:\"90\"", plain), record(named + ", size:\"90\"", typed)}};
        for (const auto& [untyped, withType] : records) {
            ASSERT_EQ(run({"--open", file, untyped}).status, 0);
            ASSERT_EQ(run({"--open", file, withType}).status, 0);
            EXPECT_EQ(withoutDate(testsupport::slurp(typed)),
                      withoutDate(testsupport::slurp(plain)));
        }
    }
    // A name of the type with a setting of its own keeps that setting.
    ASSERT_EQ(run({record("ISBN OCR A", "316148410", file, settings)}).status, 0);
    ASSERT_EQ(run({record("ISBN OCR B", "316148410", plain, settings)}).status, 0);
    ASSERT_EQ(run({"--open", file, record("type:\"ISBN OCR B\"", typed)}).status, 0);
    EXPECT_EQ(withoutDate(testsupport::slurp(typed)), withoutDate(testsupport::slurp(plain)));
}

// An options line that was edited or damaged is refused, naming the file, rather
// than read in part or as the default type.
TEST_F(CliOpen, ADamagedOptionsLineIsRefused) {
    const std::string good = (dir / "good.eps").string();
    ASSERT_EQ(run({record("QRCode", "hello", good)}).status, 0);
    const std::string text = testsupport::slurp(good);
    const struct {
        const char *from, *to, *said;
    } edits[] = {
        {"type:\"QRCode\"", "type:\"QR Code\"", "names the unknown type \"QR Code\""},
        {"type:\"QRCode\", ", "", "names no type"},
        {"spotname:\"\"", "spotname:\"None\"", "the spot colour name \"None\" is kept"},
        {"spotname:\"\"", "spotname:\"Gold\tBlue\"", "holds a control character"},
        {"bwr:\"0\"", "bwr:\"0\", size:\"50\"", "gives the key \"size\" twice"},
        {"bwr:\"0\"", "bwr:\"0\", saveto:\"x.eps\"", "the key \"saveto\""},
        {"spotname:\"\"}", "spotname:\"}", "is not well formed"},
    };
    const std::string out = (dir / "out.eps").string();
    for (const auto& e : edits) {
        SCOPED_TRACE(e.to);
        std::string edited = text;
        edited.replace(edited.find(e.from), std::strlen(e.from), e.to);
        const std::string path = (dir / "edited.eps").string();
        std::ofstream(path, std::ios::binary) << edited;
        for (const std::string& rec : {"{saveto:\"" + out + "\"}", record("Code 128", "A", out)}) {
            const CliRun r = run({"--open", path, rec});
            EXPECT_EQ(r.status, 1);
            EXPECT_NE(r.err.find("options line of the EPS file " + path), std::string::npos)
                << r.err;
            EXPECT_NE(r.err.find(e.said), std::string::npos) << r.err;
            EXPECT_FALSE(fs::exists(out));
        }
    }
}

// Data with a control character cannot stand in the options line: the file opened
// again asks for data instead of making a symbol of other data.
TEST_F(CliOpen, DataTheOptionsLineCannotKeepIsAskedFor) {
    const std::string first = (dir / "tab.eps").string(), second = (dir / "again.eps").string();
    CliRun r = run({"{type:\"QRCode\", data:\"a\tb\", saveto:\"" + first + "\"}"});
    ASSERT_EQ(r.status, 0) << r.err;
    r = run({"--open", first, "{saveto:\"" + second + "\"}"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("control characters"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(second));
}

TEST_F(CliOpen, ALabelDocumentIsWrittenAsItsLabel) {
    const std::string doc = saveTextLabel(1, 1);

    const std::string pdf = (dir / "sheet.pdf").string();
    CliRun r = run({"--open", doc, "{saveto:\"" + pdf + "\"}"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(testsupport::slurp(pdf).rfind("%PDF-", 0), 0u);
    const std::string eps = (dir / "sheet.eps").string();
    r = run({"--open", doc, "{saveto:\"" + eps + "\"}"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string text = testsupport::slurp(eps);
    EXPECT_NE(text.find("Opened label"), std::string::npos);
    EXPECT_NE(text.find("%%BoundingBox: 0 0 170 85"), std::string::npos);

    r = run({"--open", doc, "{type:\"EAN 13\", saveto:\"" + eps + "\"}"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("give saveto or printer"), std::string::npos) << r.err;

    // The label's EPS holds no symbol's settings to open again.
    r = run({"--open", eps, "{saveto:\"" + (dir / "again.eps").string() + "\"}"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("open the label document instead"), std::string::npos) << r.err;
}

// The box of a label file is the label, even when it is lower than the bars of a
// symbol at the type's own height.
TEST_F(CliOpen, ALowLabelsBoxIsTheLabel) {
    testsupport::startLabelDocument(1700, 400, 1, 1);
    testsupport::addSerialEan13Item(400638133393LL);
    const std::string doc = testsupport::saveLabelDocument((dir / "low.labl").string());
    const std::string eps = (dir / "low.eps").string();
    const CliRun r = run({"--open", doc, "{saveto:\"" + eps + "\"}"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string text = testsupport::slurp(eps);
    EXPECT_NE(text.find("%%BoundingBox: 0 0 170 40\r"), std::string::npos) << text.substr(0, 600);
}

TEST_F(CliOpen, ThePressDialectExportsTheSheet) {
    const std::string doc = saveTextLabel(2, 2);
    CliRun r = run(
        {"--open", doc, "--dialect", "press", "{saveto:\"" + (dir / "Job A.eps").string() + "\"}"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(fs::file_size(dir / "Job_A.jb"), 1792u + 4 * 256);
    EXPECT_TRUE(fs::exists(dir / "Job_A_F1_4.pg"));
    EXPECT_TRUE(fs::exists(dir / "Job_A_va_4_0.ps"));
    EXPECT_FALSE(fs::exists(dir / "Job A.eps"));
}

// A serial item with prefix LOT and suffix X, from 0098: a Code 128 symbol and a
// text. Label files and the press export show the value as printed labels do.
TEST_F(CliOpen, SerialItemsKeepTheirPrefixAndSuffixInLabelFiles) {
    testsupport::startLabelDocument(3000, 1500, 1, 2);
    for (const uint16_t kind : {kKindBarcode, kKindText}) {
        const bool barcode = kind == kKindBarcode;
        LabelItem& it = barcode ? testsupport::addItemOfKind(kind, 10, 10, 60, 190)
                                : testsupport::addItemOfKind(kind, 70, 10, 95, 190);
        gLabel.itRect = {it.i16(item::rectTop), it.i16(item::rectLeft), it.i16(item::rectBottom),
                         it.i16(item::rectRight)};
        gSym = SymbolSettings{};
        if (barcode) {
            gSym.code = 5;  // Code 128
            GetCodeText();
        }
        gSym.Siz = 60;
        gSym.customTeSize = 12;
        copyBounded(gData.chMainCode, "0098");
        copyBounded(gData.chMainCode2, "0098");
        copyBounded(gData.chPrefix, "LOT");
        copyBounded(gData.chSuffix, "X");
        gData.len1 = gData.len11 = 8;
        gLabel.serPos = "0098";
        gLabel.incAmount = "1";
        gLabel.serEnd = "9999";
        gLabel.proMode = 1;
        setItemData(labelBack.lastItem, 2);
    }
    const std::string doc = testsupport::saveLabelDocument((dir / "serial.labl").string());
    const std::string eps = (dir / "serial.eps").string();
    CliRun r = run({"--open", doc, "{saveto:\"" + eps + "\"}"});
    ASSERT_EQ(r.status, 0) << r.err;
    const testsupport::Rendered page = testsupport::renderWithGhostscript(eps);
    ASSERT_TRUE(page.ok) << page.err;
    EXPECT_EQ(testsupport::decode(page.bitmap, "Code128").text, "LOT0098X");
    EXPECT_NE(testsupport::slurp(eps).find("(LOT0098X)"), std::string::npos);

    r = run({"--open", doc, "--dialect", "press", "{saveto:\"" + (dir / "j.eps").string() + "\"}"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(testsupport::slurp((dir / "j_va_1_1.ps").string()).find("(LOT0098X)"),
              std::string::npos);
    EXPECT_NE(testsupport::slurp((dir / "j_va_2_1.ps").string()).find("(LOT0099X)"),
              std::string::npos);
}

// A barcode item with bearers keeps their width: the frame is drawn at it,
// clear of the bars, and the label file reads back.
TEST_F(CliOpen, AnItemsBearersKeepTheirWidth) {
    constexpr double kBearer = 14;  // points
    testsupport::startLabelDocument(4800, 2200, 1, 1);
    LabelItem& it = testsupport::addItemOfKind(kKindBarcode, 10, 10, 200, 460);
    gLabel.itRect = {it.i16(item::rectTop), it.i16(item::rectLeft), it.i16(item::rectBottom),
                     it.i16(item::rectRight)};
    gSym = SymbolSettings{};
    ASSERT_EQ(parseCodeType("UPC A"), 1);
    gSym.line = gSym.gline = kBearer;
    copyBounded(gData.chMainCode, "01234567890");
    copyBounded(gData.chMainCode2, "01234567890");
    gData.len1 = gData.len11 = 0;
    setItemData(labelBack.lastItem, 2);
    const std::string doc = testsupport::saveLabelDocument((dir / "bearers.labl").string());
    const std::string eps = (dir / "bearers.eps").string();
    const CliRun r = run({"--open", doc, "{saveto:\"" + eps + "\"}"});
    ASSERT_EQ(r.status, 0) << r.err;
    const testsupport::Rendered page = testsupport::renderWithGhostscript(eps);
    ASSERT_TRUE(page.ok) << page.err;
    EXPECT_EQ(testsupport::decode(page.bitmap, "UPC-A").text, "012345678905");
}

// A QR Code item's data longer than the item's text field is saved and
// printed whole, not as the field's first 252 characters.
TEST_F(CliOpen, LongBarcodeDataIsPrintedWhole) {
    testsupport::startLabelDocument(2800, 2800, 1, 1);
    LabelItem& it = testsupport::addItemOfKind(kKindBarcode, 20, 20, 260, 260);
    gLabel.itRect = {it.i16(item::rectTop), it.i16(item::rectLeft), it.i16(item::rectBottom),
                     it.i16(item::rectRight)};
    gSym = SymbolSettings{};
    ASSERT_EQ(parseCodeType("QRCode"), 1);
    std::string data;
    for (int i = 0; data.size() < 300; ++i) data += "LONG" + std::to_string(i) + "-";
    data.resize(300);
    copyBounded(gData.chMainCode, data.c_str());
    copyBounded(gData.chMainCode2, data.c_str());
    gData.len1 = gData.len11 = static_cast<int32_t>(data.size());
    setItemData(labelBack.lastItem, 2);
    const std::string doc = testsupport::saveLabelDocument((dir / "long.labl").string());
    const std::string pdf = (dir / "long.pdf").string();
    const CliRun r = run({"--open", doc, "{printer:\"" + pdf + "\"}"});
    ASSERT_EQ(r.status, 0) << r.err;
    testsupport::Bitmap page;
    ASSERT_TRUE(testsupport::pdfPage(pdf, 300, 1, &page));
    EXPECT_EQ(testsupport::decode(page, "QRCode").text, data);
}

TEST_F(CliOpen, BadFilesAreReportedAndMakeNothing) {
    CliRun r = run({"--open", (dir / "missing.labl").string(), "{saveto:\"x.eps\"}"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("no such file"), std::string::npos);
    const fs::path junk = dir / "junk.labl";
    std::ofstream(junk) << "not a document at all, just some text that goes on for a while";
    const fs::path out = dir / "out.eps";
    r = run({"--open", junk.string(), "{saveto:\"" + out.string() + "\"}"});
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(r.err.empty());
    EXPECT_FALSE(fs::exists(out));
}

// A record whose saveto names the file the command reads is refused and the
// file stays as it was: later records still read it whole.
TEST_F(CliOpen, AnOutputNeverReplacesAFileTheCommandReads) {
    const std::string opened = (dir / "e.eps").string(), later = (dir / "f.eps").string();
    ASSERT_EQ(run({ean13(opened)}).status, 0);
    const std::string before = testsupport::slurp(opened);
    CliRun r = run({"--open", opened, record("Code 128", "HELLO", opened),
                    record("data:\"400638133395\"", later)});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("saveto names the file --open reads"), std::string::npos) << r.err;
    EXPECT_EQ(testsupport::slurp(opened), before);
    const std::string settings = optionsLine(testsupport::slurp(later));
    EXPECT_NE(settings.find("type:\"EAN"), std::string::npos) << settings;

    // Records read from standard input that is that very file.
    const std::string records = (dir / "recs.eps").string(), other = (dir / "o.eps").string();
    const std::string lines = ean13(records) + "\n" + record("Code 39", "XYZ", other) + "\n";
    std::ofstream(records, std::ios::binary) << lines;
    const int kept = ::dup(STDIN_FILENO), file = ::open(records.c_str(), O_RDONLY);
    ASSERT_GE(file, 0);
    ::dup2(file, STDIN_FILENO);
    r = run({"-"}, lines);
    ::dup2(kept, STDIN_FILENO);
    ::close(kept);
    ::close(file);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("saveto names the file the records are read from"), std::string::npos)
        << r.err;
    EXPECT_EQ(testsupport::slurp(records), lines);
    EXPECT_TRUE(fs::exists(other));
}

}  // namespace
