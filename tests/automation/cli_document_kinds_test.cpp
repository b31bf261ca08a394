// Label documents through the command line: the press export's files, every
// output kind of a document, and the messages of a print or an import that
// cannot be done.
#include <cups/cups.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/world.h"
#include "automation/options.h"
#include "cli_run.h"
#include "labels/labelDoc.h"
#include "labels/labelFile.h"
#include "labels/printDefaults.h"
#include "labels/serial.h"
#include "platform/byteorder.h"
#include "symbology/messages.h"
#include "symbology/state.h"
#include "support/label_document.h"

namespace {

namespace fs = std::filesystem;

// Items of the generated documents.
enum Extra { kNone, kRoundRect };

struct Doc {
    std::string serialStart = "1001";
    uint32_t across = 2, down = 4;
    Extra extra = kNone;
    std::string serialIncrement = "1", serialEnd = "9999";
    int32_t serialBase = kSerialDecimal;
};

void barcodeItem(const char* type, const std::string& data, Rect16 at, int32_t proMode,
                 const Doc& serial = {}) {
    ASSERT_EQ(addLabelItem(), 0);
    const int32_t i = labelBack.lastItem;
    gLabel.labelParts[size_t(i)]->setI16(item::kind, kKindBarcode);
    gLabel.itRect = at;
    gSym = SymbolSettings{};
    ASSERT_TRUE(parseCodeType(type));
    gSym.Siz = 100;
    gSym.Hei = 12;
    copyBounded(gData.chMainCode, data.c_str());
    copyBounded(gData.chMainCode2, data.c_str());
    gData.len1 = gData.len11 = int32_t(data.size());
    gData.chPrefix[0] = gData.chSuffix[0] = 0;
    gLabel.proMode = proMode;
    gLabel.serPos.clear();
    if (proMode == 1) {
        gLabel.serPos = data;
        gLabel.incAmount = serial.serialIncrement;
        gLabel.serEnd = serial.serialEnd;
        gLabel.alpha = serial.serialBase;
    }
    setItemRect(i);
    setItemData(i, 2);
    gLabel.alpha = kSerialDecimal;
}

// A sheet of labels of 200 x 100 points: a serial Code 128, a fixed Code 128 and a
// fixed text, and what `extra` adds.
std::string makeDocument(const fs::path& path, const Doc& d) {
    testsupport::startLabelDocument(2000, 1000, d.across, d.down);
    labelBack.leftMargin = labelBack.topMargin = 300;
    barcodeItem("Code 128", d.serialStart, {5, 10, 50, 150}, 1, d);
    barcodeItem("Code 128", "FIX42", {52, 10, 98, 130}, 0);
    LabelItem& t = testsupport::addItemOfKind(kKindText, 10, 160, 30, 198);
    t.setI16(item::humanPacked, 1);
    testsupport::setItemText(t, "FIXED");
    if (d.extra == kRoundRect) testsupport::addItemOfKind(kKindRoundRect, 2, 2, 98, 198);
    return testsupport::saveLabelDocument(path.string());
}

// The rows from `top` to `bottom` (fractions of the height) of a bitmap.
testsupport::Bitmap band(const testsupport::Bitmap& b, double top, double bottom) {
    testsupport::Bitmap out;
    const int from = int(b.height * top), to = int(b.height * bottom);
    out.width = b.width;
    out.height = to - from;
    out.pixels.assign(b.pixels.begin() + ptrdiff_t(from) * b.width,
                      b.pixels.begin() + ptrdiff_t(to) * b.width);
    return testsupport::padBitmap(out, 40);
}

// A name field: its bytes up to the first zero byte.
std::string field(const std::string& bytes, size_t at, size_t width) {
    const std::string f = bytes.substr(at, width);
    return f.substr(0, f.find('\0'));
}

std::vector<std::string> filesIn(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& f : fs::directory_iterator(dir)) names.push_back(f.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

struct CliDocumentKinds : ::testing::Test {
    fs::path dir;
    void SetUp() override {
        char tmpl[] = "/tmp/strixel-docs-XXXXXX";
        ASSERT_NE(::mkdtemp(tmpl), nullptr);
        dir = tmpl;
    }
    void TearDown() override {
        if (!std::getenv("KEEP")) fs::remove_all(dir);
    }
    CliRun write(const std::string& doc, const std::string& out,
                 std::vector<std::string> flags = {}) {
        flags.insert(flags.begin(), {"--open", doc});
        flags.push_back("{saveto:\"" + (dir / out).string() + "\"}");
        return run(flags);
    }
};

// Every name the job and page files give is a file of the export, each
// position's serial item carries its own number, and the fixed part holds
// what does not vary.
TEST_F(CliDocumentKinds, ThePressFilesNameEachOtherAndCountTheSerial) {
    const std::string doc = makeDocument(dir / "doc.labl", {});
    const fs::path out = dir / "press";
    fs::create_directory(out);
    const CliRun r = run({"--open", doc, "--dialect", "press",
                          "{saveto:\"" + (out / "Spring 2.eps").string() + "\"}"});
    ASSERT_EQ(r.status, 0) << r.err;

    std::vector<std::string> named = {"Spring_2.jb"}, items;
    const std::string job = testsupport::slurp(out / "Spring_2.jb");
    ASSERT_EQ(job.size(), 1792u + 8 * 256);
    for (size_t n = 0; n < 8; ++n) {
        const std::string page = field(job, 1792 + 256 * n + 2, 32);
        named.push_back(page);
        const std::string pg = testsupport::slurp(out / page);
        ASSERT_EQ(pg.size(), 768u + 256) << page;  // the static record and one variable item
        EXPECT_EQ(field(pg, 0, 16), page);
        named.push_back(field(pg, 512 + 2, 30));
        items.push_back(field(pg, 768 + 2, 30));
        named.push_back(items.back());
    }
    std::sort(named.begin(), named.end());
    named.erase(std::unique(named.begin(), named.end()), named.end());
    EXPECT_EQ(named, filesIn(out));  // every file named, and no file left unnamed
    for (size_t n = 0; n < items.size(); ++n) {
        const testsupport::Bitmap b = rendered((out / items[n]).string(), 300);
        EXPECT_EQ(testsupport::decode(testsupport::padBitmap(b, 40), "Code128").text,
                  std::to_string(1001 + n))
            << items[n];
    }

    const testsupport::Bitmap fixed = rendered((out / "Spring_2.ps").string(), 300);
    EXPECT_EQ(testsupport::decode(band(fixed, 0.45, 1), "Code128").text, "FIX42");
    EXPECT_FALSE(testsupport::decode(band(fixed, 0, 0.45), "Code128").ok);
    EXPECT_NE(testsupport::slurp(out / "Spring_2.ps").find("(FIXED)"), std::string::npos);
}

// A job name whose files' names would be cut in the press's name fields is
// refused before anything is written. The fields hold the file names' UTF-8
// bytes, and the message counts what they count.
TEST_F(CliDocumentKinds, APressNameTooLongForItsFieldsIsRefused) {
    const std::string doc = makeDocument(dir / "doc.labl", {});
    CliRun r = write(doc, "Customer Labels Spring.eps", {"--dialect", "press"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("at most 8 bytes for a sheet of 8 labels"), std::string::npos) << r.err;
    EXPECT_EQ(filesIn(dir), std::vector<std::string>{"doc.labl"});
    r = write(doc, "Éléphant.eps", {"--dialect", "press"});  // 8 letters
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("too long (10 bytes)"), std::string::npos) << r.err;
    r = write(doc, "Été_1.eps", {"--dialect", "press"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(testsupport::slurp(dir / "Été_1.jb").rfind("Été_1", 0), 0u);
    // Eight fit a sheet of eight; a sheet of ten takes one fewer.
    r = write(doc, "Spring12.eps", {"--dialect", "press"});
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string ten = makeDocument(dir / "ten.labl", {.across = 2, .down = 5});
    r = write(ten, "Spring12.eps", {"--dialect", "press"});
    EXPECT_NE(r.err.find("at most 7 bytes"), std::string::npos) << r.err;
}

// A serial count that passes its end value before the sheet's last position
// would give the labels after it the end value again (or one never counted):
// the export is refused before any file is made. A count that ends on the last
// position gives every label its own number.
TEST_F(CliDocumentKinds, APressSerialThatEndsBeforeTheLastLabelIsRefused) {
    const struct {
        Doc doc;
        const char* why;
    } refused[] = {
        {{.serialStart = "0001", .serialEnd = "0003"}, "run out after label 3 of the 8 labels"},
        {{.serialStart = "0FFA",
          .serialIncrement = "0003",
          .serialEnd = "0FFF",
          .serialBase = kSerialHex},
         "run out after label 2 of the 8 labels"},
    };
    for (const auto& c : refused) {
        const std::string doc = makeDocument(dir / "doc.labl", c.doc);
        const CliRun r = write(doc, "j.eps", {"--dialect", "press"});
        EXPECT_EQ(r.status, 1) << c.why;
        EXPECT_NE(r.err.find(c.why), std::string::npos) << r.err;
        EXPECT_EQ(filesIn(dir), std::vector<std::string>{"doc.labl"});
    }
    const std::string doc =
        makeDocument(dir / "doc.labl", {.serialStart = "0001", .serialEnd = "0008"});
    const CliRun r = write(doc, "j.eps", {"--dialect", "press"});
    ASSERT_EQ(r.status, 0) << r.err;
    const testsupport::Bitmap last = rendered((dir / "j_va_8_0.ps").string(), 300);
    EXPECT_EQ(testsupport::decode(testsupport::padBitmap(last, 40), "Code128").text, "0008");
}

// The press's files are EPS: a .ps name or PostScript wrapping would write an
// ordinary label and no job, for a document and a single symbol alike.
TEST_F(CliDocumentKinds, ThePressDialectRefusesPostScriptFiles) {
    const std::string doc = makeDocument(dir / "doc.labl", {});
    const struct {
        const char* out;
        std::vector<std::string> flags;
    } cases[] = {{"j.ps", {"--dialect", "press"}},
                 {"j.ps", {"--dialect", "press", "--post", "job"}},
                 {"j.eps", {"--dialect", "press", "--post", "ps"}}};
    for (const auto& c : cases) {
        const CliRun r = write(doc, c.out, c.flags);
        EXPECT_EQ(r.status, 1) << c.out;
        EXPECT_NE(r.err.find("--dialect=press writes the press's EPS files"), std::string::npos)
            << r.err;
        EXPECT_EQ(filesIn(dir), std::vector<std::string>{"doc.labl"});
    }
    const CliRun r =
        run({"--dialect", "press",
             "{type:\"Code 128\", data:\"ABC\", saveto:\"" + (dir / "s.ps").string() + "\"}"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("not a .ps file"), std::string::npos) << r.err;
    EXPECT_EQ(filesIn(dir), std::vector<std::string>{"doc.labl"});
}

// Only saveto's extension leaves the job's name: "lot.7.eps" and "lot.8.eps"
// are two jobs, neither overwriting the other.
TEST_F(CliDocumentKinds, APressJobNameKeepsItsInnerDots) {
    const std::string doc = makeDocument(dir / "doc.labl", {});
    for (const char* out : {"lot.7.eps", "lot.8.eps"})
        ASSERT_EQ(write(doc, out, {"--dialect", "press"}).status, 0) << out;
    for (const char* job : {"lot.7", "lot.8"}) {
        const std::string jb = testsupport::slurp(dir / (std::string(job) + ".jb"));
        ASSERT_FALSE(jb.empty()) << job;
        EXPECT_EQ(field(jb, 1792 + 2, 32), std::string(job) + "_F1_1.pg");
        EXPECT_TRUE(fs::exists(dir / (std::string(job) + "_va_8_0.ps"))) << job;
    }
    EXPECT_FALSE(fs::exists(dir / "lot.jb"));
}

// Each output kind writes the whole label (both its barcodes read back), or is
// refused before a file is made.
TEST_F(CliDocumentKinds, EachOutputKindWritesTheLabelOrRefusesIt) {
    const std::string doc = makeDocument(dir / "doc.labl", {});
    for (const char* out : {"label.eps", "label.pdf"}) {
        const CliRun r = write(doc, out);
        ASSERT_EQ(r.status, 0) << out << r.err;
        const testsupport::Rendered page =
            testsupport::renderWithGhostscript((dir / out).string(), 300, true);
        ASSERT_TRUE(page.ok) << page.err;
        EXPECT_EQ(testsupport::decode(band(page.bitmap, 0, 0.45), "Code128").text, "1001") << out;
        EXPECT_EQ(testsupport::decode(band(page.bitmap, 0.45, 1), "Code128").text, "FIX42") << out;
    }
    const struct {
        std::string out, kind;
    } refused[] = {{"b.txt", ""},          {"b.tif", ""},       {"b.bmp", ""},
                   {"b.pic", ""},          {"b.eps", "pc-eps"}, {"b.txt", "text-line"},
                   {"b.txt", "text-utf16"}};
    for (const auto& k : refused) {
        std::vector<std::string> flags;
        if (!k.kind.empty()) flags = {"--kind", k.kind};
        const CliRun r = write(doc, k.out, flags);
        EXPECT_EQ(r.status, 1) << k.out << " " << k.kind;
        EXPECT_NE(r.err.find("a label document is written as EPS, PostScript or PDF"),
                  std::string::npos)
            << r.err;
        EXPECT_FALSE(fs::exists(dir / k.out)) << k.out << " " << k.kind;
    }
}

// An item the vector writer cannot draw is not silently left out.
TEST_F(CliDocumentKinds, ALabelWithARoundedRectangleIsRefusedInVectorFiles) {
    const std::string doc = makeDocument(dir / "round.labl", {.extra = kRoundRect});
    for (const auto& flags : {std::vector<std::string>{}, {"--dialect", "press"}}) {
        const CliRun r = write(doc, "round.eps", flags);
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find("item 4 of the label is a rounded rectangle"), std::string::npos)
            << r.err;
        EXPECT_EQ(filesIn(dir), std::vector<std::string>{"round.labl"});
    }
}

// A Type 3 font file holds one symbol: a label of two barcode items would keep
// only the last one's glyph.
TEST_F(CliDocumentKinds, ATypeThreeFontOfTwoBarcodeItemsIsRefused) {
    const std::string doc = makeDocument(dir / "two.labl", {});
    const CliRun r = write(doc, "two.eps", {"--dialect", "type3"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("item 2 of the label is a second barcode item"), std::string::npos)
        << r.err;
    EXPECT_EQ(filesIn(dir), std::vector<std::string>{"two.labl"});
}

// The letters the built-in outlines lack are set in OCR-B: the header names it
// whenever the page uses it, for a single symbol and a label alike, and not
// otherwise.
TEST_F(CliDocumentKinds, TheHeaderNamesTheOcrbTheTextFallsBackOn) {
    testsupport::startLabelDocument(2000, 1000, 1, 1);
    barcodeItem("Code 93", "LOT93", {5, 10, 90, 190}, 0);
    const std::string label = testsupport::saveLabelDocument((dir / "c93.labl").string());
    const std::vector<std::string> records = {"{type:\"Code 93\", data:\"CODE93\"",
                                              "{type:\"Codabar\", data:\"A123B\"",
                                              "{type:\"Code 93\", data:\"1234\""};
    int used = 0;
    for (const char* ext : {"eps", "ps"}) {
        for (size_t n = 0; n <= records.size(); ++n) {
            const std::string file = (dir / ("f" + std::to_string(n) + "." + ext)).string();
            const std::string saveto = "saveto:\"" + file + "\"}";
            const CliRun r = n < records.size() ? run({records[n] + ", " + saveto})
                                                : run({"--open", label, "{" + saveto});
            ASSERT_EQ(r.status, 0) << r.err;
            const std::string bytes = testsupport::slurp(file);
            const bool sets = bytes.find("/_OCRB-Regular ") != std::string::npos;
            used += sets;
            EXPECT_EQ(bytes.find("%%DocumentFonts: OCRB-Regular\r") != std::string::npos, sets)
                << file;
        }
    }
    EXPECT_EQ(used, 6);  // all but the digits
}

// What a user is told when a file, an import or a print cannot be done: what is
// wrong, and what to do.
TEST_F(CliDocumentKinds, MessagesNameWhatIsWrong) {
    const std::string doc = makeDocument(dir / "doc.labl", {});
    const std::string records = (dir / "records.txt").string();
    std::ofstream(records) << "A1,B1\nA2,B2\n";
    fs::create_directory(dir / "out");
    const std::string import =
        "{type:\"Code 128\", data:\"<<1>>\", saveto:\"" + (dir / "out").string() + "/\", import:\"";
    // More items than a label holds, written into the document's header.
    std::string bytes = testsupport::slurp(doc);
    const bool big = bytes[48] == 0;
    const uint16_t many = 9999;
    bytes[48] = char(big ? many >> 8 : many & 0xFF);
    bytes[49] = char(big ? many & 0xFF : many >> 8);
    std::ofstream(dir / "many.labl", std::ios::binary) << bytes;

    const struct {
        std::vector<std::string> args;
        int status;
        std::string says;
    } cases[] = {
        {{"--open", dir.string(), "{saveto:\"x.eps\"}"}, 2, "is a folder"},
        {{"--open", (dir / "many.labl").string(), "{saveto:\"" + (dir / "m.eps").string() + "\"}"},
         1,
         "holds more items than a label can (a label holds at most 100 items)"},
        {{import + dir.string() + "\"}"}, 1, "is a folder; name a text file"},
        {{"{type:\"Code 128\", data:\"<<5>>\", saveto:\"" + (dir / "out").string() +
          "/\", import:\"" + records + "\"}"},
         1,
         "names field 5, but the records of the import file hold at most 2 fields"},
        {{import + records + "|1234567890\"}"}, 1, "from 1 to 999999999"},
        {{import + records + "|1|0|1234567890\"}"}, 1, "from 1 to 999999999"},
    };
    for (const auto& c : cases) {
        const CliRun r = run(c.args);
        EXPECT_EQ(r.status, c.status) << c.args.back();
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
    }
    EXPECT_FALSE(fs::exists(dir / "m.eps"));
    EXPECT_TRUE(fs::is_empty(dir / "out"));
}

struct CliPrintSettings : CliDocumentKinds {
    std::string config;
    void SetUp() override {
        CliDocumentKinds::SetUp();
        config = (dir / "config").string();
        setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    }
    void TearDown() override {
        unsetenv("XDG_CONFIG_HOME");
        CliDocumentKinds::TearDown();
    }
    std::vector<int32_t> thermWords() const {
        const std::string bytes = testsupport::slurp(config + "/strixel/Therm.def");
        std::vector<int32_t> words;
        for (size_t at = 0; at + 4 <= bytes.size(); at += 4)
            words.push_back(int32_t(platform::get32(
                reinterpret_cast<const uint8_t*>(bytes.data() + at), platform::ByteOrder::big)));
        return words;
    }
};

// A file named in capitals is still a file, and the thermal keys are kept for
// the next run, each beside the others kept before.
TEST_F(CliPrintSettings, FileExtensionsInAnyCaseAndThermalKeysKept) {
    const std::string pdf = (dir / "Sheet.PDF").string(), ps = (dir / "Sheet.Ps").string();
    const std::string head = "{type:\"Code 128\", data:\"KEPT\", printer:\"";
    CliRun r = run({head + pdf + "\", stripper:\"1\", cutter:\"1\"}"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(testsupport::slurp(pdf).rfind("%PDF-", 0), 0u);
    r = run({head + ps + "\", continuous:\"1\"}"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(testsupport::slurp(ps).rfind("%!PS", 0), 0u);
    const ThermalSettings defaults;
    const std::vector<int32_t> want = {defaults.thermalIte,
                                       defaults.pport,
                                       1,
                                       1,
                                       1,
                                       defaults.heat,
                                       defaults.striplen,
                                       defaults.DThermal,
                                       defaults.speed,
                                       defaults.gaplen};
    EXPECT_EQ(thermWords(), want);
}

// With the printing system down the message says so and names the server.
TEST_F(CliPrintSettings, APrintingSystemThatCannotBeReachedIsNamed) {
    const std::string socket = (dir / "no-cups.sock").string();
    setenv("CUPS_SERVER", socket.c_str(), 1);
    cupsSetServer(socket.c_str());
    const CliRun r = run({"{type:\"Code 128\", data:\"X\", printer:\"q1\"}"});
    cupsSetServer(nullptr);
    unsetenv("CUPS_SERVER");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("the printing system cannot be reached at " + socket), std::string::npos)
        << r.err;
}

}  // namespace
