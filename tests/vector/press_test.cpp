// The digital-press export: the job file, the page files and the PostScript
// file of every variable item at every label position.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "automation/options.h"
#include "doc_fixture.h"
#include "labels/labelFile.h"
#include "labels/production.h"
#include "labels/serial.h"
#include "platform/numbers.h"
#include "paint_fixture.h"
#include "picture/symbolbox.h"
#include "support/cases.h"
#include "support/reader.h"
#include "symbology/messages.h"
#include "symbology/state.h"
#include "vector/Epsout.h"
#include "vector/press.h"

using namespace vectortest;

namespace {

namespace fs = std::filesystem;

std::string readAll(const fs::path& p) { return testsupport::slurp(p); }

void set(char (&dst)[kRunTextSize], const char* text) {
    std::snprintf(dst, sizeof dst, "%s", text);
}

std::string serial(int n) {
    char s[8];
    std::snprintf(s, sizeof s, "%04d", n);
    return s;
}

struct Press : ::testing::Test {
    fs::path dir;
    void SetUp() override {
        resetAll();
        gMsg.quiet = true;
        gOut.tool = 2;
        gOut.ill = kIllPress;
        gOut.purePost = 0;
        char tmpl[] = "/tmp/strixel-press-XXXXXX";
        ASSERT_NE(::mkdtemp(tmpl), nullptr);
        dir = tmpl;
        gPress = PressState{};
        gPress.folder = dir.string();
        // 2 across, 3 down: labels of 150 x 70 points.
        labelBack.leftMargin = 200;
        labelBack.topMargin = 300;
        labelBack.across = 2;
        labelBack.down = 3;
        labelBack.spaceAcross = 100;
        labelBack.spaceDown = 50;
        labelBack.labelWidth = 1500;
        labelBack.labelHeight = 700;
    }
    void TearDown() override {
        if (!std::getenv("KEEP")) fs::remove_all(dir);
    }

    // Item 0: a Code 128 item whose data a serial run counts.
    static void serialBarcode(const char* type = "Code 128") {
        parseCodeType(type);
        copyBounded(gData.chMainCode, "0001");
        copyBounded(gData.chMainCode2, "0001");
        gData.len1 = gData.len11 = 4;
        gSym.Hei = 10;
        ASSERT_EQ(addLabelItem(), 0);
        gLabel.labelParts[0]->setI16(item::kind, kKindBarcode);
        gLabel.proMode = 1;
        gLabel.serPos = "0001";
        setItemData(0, 4);
        ASSERT_TRUE(sizeSingleSymbol(0));
        gProd.gcite = 1;
        gProd.gemode = 1;
        gProd.gtlen = 4;
        set(gProd.gstar, "0001");
        set(gProd.gcurr, "0001");
        set(gProd.gfini, "9999");
        set(gProd.gincr, "0001");
    }
    // Item 1: a text item filled at print time.
    static void variableText() {
        LabelItem* t = addItem(kKindText, 40, 10, 60, 140);
        t->setText(item::fontBelow, "\x09Helvetica");
        t->setI16(item::customTeSize, 12);
        t->setI16(item::humanPacked, 2 * 3);
        t->dataHandle = std::string("Variable text\0\0", 15);
        t->hasDataHandle = true;
    }
    // Item 0: an EAN-13 item taking each position's record of the file it returns.
    fs::path eanImportItem() {
        parseCodeType("EAN 13");
        copyBounded(gData.chMainCode, "<<1>>");
        copyBounded(gData.chMainCode2, "<<1>>");
        EXPECT_EQ(addLabelItem(), 0);
        gLabel.labelParts[0]->setI16(item::kind, kKindBarcode);
        gLabel.itRect = {5, 5, 65, 145};  // wide enough for the symbol's bars
        gLabel.proMode = 2;
        gLabel.serPos = "<<1>>";
        setItemRect(0);
        setItemData(0, 2);
        gDocFile.impoFile = (dir / "records.txt").string();
        return gDocFile.impoFile;
    }
};

// The files of tests/data/vector/press_files.txt: zero bytes of their size with
// the fields put in at their offsets.
std::map<std::string, std::string> expectedPressFiles() {
    std::map<std::string, std::string> files;
    for (const testsupport::CaseLine& c : testsupport::readCases("vector/press_files.txt", 3)) {
        if (c[1] == "size")
            files[c[0]].assign(static_cast<size_t>(c.integer(2)), '\0');
        else
            files[c[0]].replace(static_cast<size_t>(c.integer(1)), c[2].size(), c[2]);
    }
    return files;
}

TEST_F(Press, ExponentForm) {
    for (const testsupport::CaseLine& c : testsupport::readCases("vector/exponents.txt", 2))
        EXPECT_EQ(expComponent(std::stod(c[0])), c[1]) << c.where;
    EXPECT_EQ(pressJobName("Job A 2"), "Job_A_2");
    // A document's extension is no part of the press files' names.
    EXPECT_EQ(pressJobName("pj.labl"), "pj");
    EXPECT_EQ(pressJobName(".hidden"), ".hidden");
}

TEST_F(Press, ASheetOfSixWithAVariableTextAndASerialBarcode) {
    serialBarcode();
    variableText();
    // A file left from an earlier, longer export is cut to its new length.
    std::ofstream(dir / "Job_A.jb", std::ios::binary) << std::string(10000, 'x');
    ASSERT_EQ(pressExport("Job A"), 0) << gMsg.last;

    // The job file and a page file per position, every byte.
    const std::map<std::string, std::string> want = expectedPressFiles();
    ASSERT_EQ(want.size(), 7u);
    for (const auto& [name, bytes] : want) EXPECT_EQ(readAll(dir / name), bytes) << name;

    // Twelve PostScript files, each rendering alone; the barcode of position p
    // carries the p-th serial number.
    int files = 0;
    for (const auto& f : fs::directory_iterator(dir)) files += f.path().extension() == ".ps";
    EXPECT_EQ(files, 13);  // and the fixed part of the label
    EXPECT_TRUE(fs::exists(dir / "Job_A.ps"));
    for (int p = 1; p <= 6; ++p) {
        for (int i = 0; i < 2; ++i) {
            const fs::path ps =
                dir / ("Job_A_va_" + std::to_string(p) + "_" + std::to_string(i) + ".ps");
            ASSERT_TRUE(fs::exists(ps)) << ps;
            const std::string doc = readAll(ps);
            EXPECT_EQ(doc.find("%%Page: 1 1"), doc.rfind("%%Page: 1 1"));  // once
            const std::string probed = (dir / "probed.ps").string();
            ASSERT_TRUE(writeFile(probed, withStackProbes(doc)));
            const testsupport::Rendered r = testsupport::renderWithGhostscript(probed, 300);
            ASSERT_TRUE(r.ok) << r.err;
            EXPECT_EQ(r.err.find("Error"), std::string::npos) << r.err;
            if (i == 0) {
                EXPECT_EQ(testsupport::decode(testsupport::padBitmap(r.bitmap, 60), "Code128").text,
                          serial(p))
                    << ps;
            } else {
                EXPECT_NE(doc.find("(Variable text)"), std::string::npos);
                int ink = 0;
                for (uint8_t px : r.bitmap.pixels) ink += px < 128;
                EXPECT_GT(ink, 100);
            }
        }
    }
}

// A symbol in a rectangle larger than itself hangs from the rectangle's top
// left corner at its own size in its press file, as on the label: a DataMatrix
// is not stretched to the rectangle's width, a Code 128 not set at its bottom.
TEST_F(Press, AVariableSymbolKeepsItsSizeAndPlaceInALargerRectangle) {
    for (const char* type : {"Code 128", "Datamatrix"}) {
        SCOPED_TRACE(type);
        serialBarcode(type);
        LabelItem& it = *gLabel.labelParts[0];
        const int top = it.i16(item::rectTop);
        const int height = it.i16(item::rectBottom) - top;
        it.setI16(item::rectBottom, static_cast<int16_t>(top + height + 40));
        it.setI16(item::rectRight, static_cast<int16_t>(it.i16(item::rectRight) + 20));
        ASSERT_EQ(pressExport("Big"), 0) << gMsg.last;
        const std::string ps = (dir / "Big_va_1_0.ps").string();
        const testsupport::Rendered r = testsupport::renderWithGhostscript(ps, 300);
        ASSERT_TRUE(r.ok) << r.err;
        const std::string format = std::string(type) == "Code 128" ? "Code128" : "DataMatrix";
        EXPECT_EQ(testsupport::decode(testsupport::cropToInk(r.bitmap, 40), format).text, "0001");
        // 40 points (167 pixels) of the rectangle are left below the symbol.
        int lowestInk = -1;
        for (int y = 0; y < r.bitmap.height; ++y)
            for (int x = 0; x < r.bitmap.width; ++x)
                if (r.bitmap.at(x, y) < 128) lowestInk = y;
        EXPECT_LT(lowestInk, r.bitmap.height - 150);
        TearDown();  // a fresh document and folder for the next type
        SetUp();
    }
}

// The numbers of the page record naming `file`: top, left, height, width (mm).
std::array<double, 4> pageRecord(const std::string& pg, const std::string& file) {
    constexpr size_t kNumberWidth = 14;
    const size_t at = pg.find(std::string("\0\0\0\x0F", 4), pg.find(file + '\0')) + 4;
    std::array<double, 4> v{};
    for (size_t k = 0; k < v.size(); ++k) v[k] = std::stod(pg.substr(at + kNumberWidth * k, 14));
    return v;
}

// The ink's extent in pixels: left, top, right, bottom.
std::array<int, 4> inkExtent(const testsupport::Bitmap& b) {
    std::array<int, 4> e{b.width, b.height, -1, -1};
    for (int y = 0; y < b.height; ++y)
        for (int x = 0; x < b.width; ++x)
            if (b.at(x, y) < 128)
                e = {std::min(e[0], x), std::min(e[1], y), std::max(e[2], x), std::max(e[3], y)};
    return e;
}

// Item 0 of a one-label sheet of 300 points square, as the EPS label has it
// and as the press makes it up from the file of position 1 placed at its
// record; their ink stands in the same place. Returns the press's page.
testsupport::Bitmap pressPageMatchesLabel(const fs::path& dir, const std::string& job) {
    constexpr double kPointsPerMm = 72 / 25.4;
    constexpr int kSide = 300;
    const std::string file = job + "_va_1_0.ps";
    const std::array<double, 4> rec = pageRecord(readAll(dir / (job + "_F1_1.pg")), file);
    const std::string item = readAll(dir / file);
    // The file's box is the place its record gives.
    EXPECT_NE(item.find(platform::formatC("%%%%BoundingBox: 0 0 %d %d",
                                          static_cast<int>(std::lround(rec[3] * kPointsPerMm)),
                                          static_cast<int>(std::lround(rec[2] * kPointsPerMm)))),
              std::string::npos)
        << item.substr(0, 200);
    const std::string page =
        platform::formatC(
            "%%!PS\n<< /PageSize [%d %d] >> setpagedevice\n/showpage {} def\n"
            "gsave %f %f translate save\n",
            kSide, kSide, rec[1] * kPointsPerMm, kSide - (rec[0] + rec[2]) * kPointsPerMm) +
        item + "\nrestore grestore systemdict /showpage get exec\n";
    const int keep = gOut.ill;
    gOut.ill = kIll5;
    const std::string label = writeEPSout();
    gOut.ill = keep;
    EXPECT_TRUE(writeFile((dir / "press.ps").string(), page));
    EXPECT_TRUE(writeFile((dir / "label.eps").string(), label));
    const testsupport::Rendered pressed =
        testsupport::renderWithGhostscript((dir / "press.ps").string(), 300, false);
    const testsupport::Rendered labelled =
        testsupport::renderWithGhostscript((dir / "label.eps").string(), 300);
    EXPECT_TRUE(pressed.ok && labelled.ok) << pressed.err << labelled.err;
    const std::array<int, 4> want = inkExtent(labelled.bitmap), got = inkExtent(pressed.bitmap);
    EXPECT_GE(want[2], 0);
    for (size_t k = 0; k < 4; ++k) EXPECT_NEAR(got[k], want[k], 5) << k;  // 1.2 points
    return pressed.bitmap;
}

// A turned variable symbol's file is as large as the turned symbol, which it
// holds whole, and the press prints it where the label has it.
TEST_F(Press, ATurnedVariableSymbolKeepsItsPlaceAndReads) {
    for (const int turn : {90, 180, 270}) {
        SCOPED_TRACE(turn);
        labelBack.across = labelBack.down = 1;
        labelBack.labelWidth = labelBack.labelHeight = 3000;
        serialBarcode();
        LabelItem& it = *gLabel.labelParts[0];
        it.setI16(item::orientPacked, static_cast<int16_t>(turn * 2));
        for (const size_t side : {item::rectTop, item::rectLeft, item::rectBottom, item::rectRight})
            it.setI16(side, static_cast<int16_t>(it.i16(side) + 100));
        ASSERT_EQ(pressExport("Turn"), 0) << gMsg.last;
        const testsupport::Bitmap page = pressPageMatchesLabel(dir, "Turn");
        const testsupport::Bitmap upright = testsupport::turnedClockwise(page, turn / 90);
        EXPECT_EQ(testsupport::decode(testsupport::cropToInk(upright, 40), "Code128").text, "0001");
        TearDown();
        SetUp();
    }
}

// A variable text is laid out in its file as the label lays it out: centred
// in its rectangle, and turned with it.
TEST_F(Press, AVariableTextIsCentredAndTurnedAsOnTheLabel) {
    for (const int turn : {0, 90}) {
        SCOPED_TRACE(turn);
        labelBack.across = labelBack.down = 1;
        labelBack.labelWidth = labelBack.labelHeight = 3000;
        variableText();
        LabelItem& it = *gLabel.labelParts[0];
        it.setI16(item::teJust, 1);
        it.setI16(item::orientPacked, static_cast<int16_t>(turn * 2));
        it.setI16(item::rectTop, 130);
        it.setI16(item::rectLeft, 50);
        it.setI16(item::rectBottom, 160);
        it.setI16(item::rectRight, 250);
        ASSERT_EQ(pressExport("Text"), 0) << gMsg.last;
        pressPageMatchesLabel(dir, "Text");
        TearDown();
        SetUp();
    }
}

// Import items take the records of the document's import file, one a position
// in the positions' order (a blank line is no record), as a printed sheet does;
// a file with fewer records than positions, or a record a symbol cannot take,
// refuses the export rather than give a label the template or no symbol.
TEST_F(Press, ImportItemsTakeARecordAPosition) {
    const auto importItem = [](const char* type, const char* templ) {
        parseCodeType(type);
        copyBounded(gData.chMainCode, templ);
        copyBounded(gData.chMainCode2, templ);
        gData.len1 = gData.len11 = 0;
        ASSERT_EQ(addLabelItem(), 0);
        gLabel.labelParts[0]->setI16(item::kind, kKindBarcode);
        gLabel.itRect = {5, 5, 65, 65};
        gLabel.proMode = 2;
        gLabel.serPos = templ;
        setItemRect(0);
        setItemData(0, 2);
    };
    importItem("QRCode", "<<1>>-<<2>>");
    LabelItem* text = addItem(kKindText, 5, 70, 25, 145);
    text->setText(item::fontBelow, "\x09Helvetica");
    text->setI16(item::customTeSize, 12);
    text->setI16(item::humanPacked, 2 * 2);
    text->setText(item::serPos, "T<<2>>");
    text->setText(item::dataText, "T<<2>>");
    fs::path records = dir / "records.txt";
    std::ofstream(records) << "R1,a\n\nR2,b\nR3,c\nR4,d\nR5,e\nR6,f\nR7,g\n";
    gDocFile.impoFile = records.string();
    ASSERT_EQ(pressExport("Imp"), 0) << gMsg.last;
    const char fields[] = "abcdef";
    for (int p = 1; p <= 6; ++p) {
        const std::string at = "Imp_va_" + std::to_string(p);
        const testsupport::Rendered r =
            testsupport::renderWithGhostscript((dir / (at + "_0.ps")).string(), 300);
        ASSERT_TRUE(r.ok) << r.err;
        EXPECT_EQ(testsupport::decode(testsupport::padBitmap(r.bitmap, 40), "QRCode").text,
                  "R" + std::to_string(p) + "-" + fields[p - 1]);
        EXPECT_NE(readAll(dir / (at + "_1.ps")).find(std::string("(T") + fields[p - 1] + ")"),
                  std::string::npos);
    }
    // The document keeps its templates.
    EXPECT_EQ(gLabel.labelParts[1]->text(item::dataText), "T<<2>>");

    const auto refused = [&](const char* content, const char* why) {
        std::ofstream(records) << content;
        gMsg.shown = 0;
        EXPECT_EQ(pressExport("Refused"), 1);
        EXPECT_NE(gMsg.last.find(why), std::string::npos) << gMsg.last;
        EXPECT_FALSE(fs::exists(dir / "Refused_va_1_0.ps"));
    };
    refused("R1,a\nR2,b\n", "holds 2 records for the 6 labels");
    TearDown();
    SetUp();
    importItem("EAN 13", "<<1>>");
    records = dir / "records.txt";
    gDocFile.impoFile = records.string();
    refused("R1\nR2\nR3\nR4\nR5\nR6\n", "cannot be encoded");
}

// Every file of a folder, by name.
std::map<std::string, std::string> folderFiles(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& f : fs::directory_iterator(folder))
        files[f.path().filename().string()] = readAll(f.path());
    return files;
}

// An export refused at the third position leaves the folder as it was: no file
// of the job in a fresh folder, an earlier export's files byte for byte. A
// smaller job over a larger one leaves none of the larger one's numbered files.
TEST_F(Press, ARefusedExportLeavesTheFolderAsItWas) {
    const fs::path records = eanImportItem();
    const fs::path job = dir / "job";
    fs::create_directory(job);
    gPress.folder = job.string();
    const std::string good = "590123412345\n400638133393\n";
    const std::string refused = good + "40063813339X\n400638133393\n590123412345\n400638133393\n";
    std::ofstream(records) << refused;
    EXPECT_EQ(pressExport("Job"), 1);
    EXPECT_TRUE(fs::is_empty(job));

    const std::string other = "400638133393\n590123412345\n";
    std::ofstream(records) << other << other << other;
    ASSERT_EQ(pressExport("Job"), 0) << gMsg.last;
    const std::map<std::string, std::string> earlier = folderFiles(job);
    EXPECT_EQ(earlier.size(), 14u);  // job, fixed, 6 pages, 6 items
    std::ofstream(records) << refused;
    EXPECT_EQ(pressExport("Job"), 1);
    EXPECT_EQ(folderFiles(job), earlier);

    std::ofstream(job / "Job_va_07_0.ps") << "not the job's";
    labelBack.down = 2;
    std::ofstream(records) << good << good;
    ASSERT_EQ(pressExport("Job"), 0) << gMsg.last;
    std::vector<std::string> names;
    for (const auto& [name, bytes] : folderFiles(job)) names.push_back(name);
    EXPECT_EQ(names, (std::vector<std::string>{"Job.jb", "Job.ps", "Job_F1_1.pg", "Job_F1_2.pg",
                                               "Job_F1_3.pg", "Job_F1_4.pg", "Job_va_07_0.ps",
                                               "Job_va_1_0.ps", "Job_va_2_0.ps", "Job_va_3_0.ps",
                                               "Job_va_4_0.ps"}));
}

constexpr uid_t kNobody = 65534;
constexpr const char* kFirstRecords = "400638133393\n590123412345\n";
constexpr const char* kNextRecords = "590123412345\n400638133393\n";

// Runs the export in a child process, as nobody when the tests run as root
// (who may write anywhere); true when it fails with a message holding `why`.
bool exportFailsAsAPlainUser(const char* name, const std::string& why) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::geteuid() == 0 && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) ::_exit(2);
        const bool failed = pressExport(name) == 1 && gMsg.last.find(why) != std::string::npos;
        if (!failed) std::fprintf(stderr, "%s\n", gMsg.last.c_str());
        ::_exit(failed ? 0 : 1);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// A job file that cannot be replaced (it lies, through a link, in a folder the
// user may not write to) stops the export naming it, and every file replaced
// before it is put back: the earlier job stays whole, the link a link.
TEST_F(Press, AJobThatCannotBeReplacedWholeLeavesTheEarlierOneWhole) {
    const fs::path records = eanImportItem();
    const fs::path job = dir / "job", locked = dir / "locked";
    fs::create_directory(job);
    fs::create_directory(locked);
    fs::permissions(dir, fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    fs::permissions(job, fs::perms::all);
    gPress.folder = job.string();
    std::ofstream(records) << kFirstRecords << kFirstRecords << kFirstRecords;
    ASSERT_EQ(pressExport("Job"), 0) << gMsg.last;
    // The job file goes in last, after every other file has been replaced.
    fs::rename(job / "Job.jb", locked / "Job.jb");
    fs::create_symlink(locked / "Job.jb", job / "Job.jb");
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                fs::perms::group_exec | fs::perms::others_read |
                                fs::perms::others_exec);
    const std::map<std::string, std::string> earlier = folderFiles(job);
    std::ofstream(records) << kNextRecords << kNextRecords << kNextRecords;
    EXPECT_TRUE(exportFailsAsAPlainUser(
        "Job", "(" + (locked / "Job.jb").string() + ": Permission denied)"));
    EXPECT_EQ(folderFiles(job), earlier);  // nor any staging folder left
    EXPECT_TRUE(fs::is_symlink(job / "Job.jb"));
    fs::permissions(locked, fs::perms::owner_all);
}

// The press files replace an earlier job's as every output replaces its file:
// each keeps the old one's permissions, owner and group, and a symbolic link
// stays one, the file it leads to rewritten.
TEST_F(Press, ReplacedFilesKeepTheirModeOwnerAndLinks) {
    const fs::path records = eanImportItem();
    const fs::path job = dir / "job", real = dir / "real";
    fs::create_directory(job);
    fs::create_directory(real);
    gPress.folder = job.string();
    std::ofstream(records) << kFirstRecords << kFirstRecords << kFirstRecords;
    ASSERT_EQ(pressExport("Job"), 0) << gMsg.last;
    fs::rename(job / "Job_va_1_0.ps", real / "Job_va_1_0.ps");
    fs::create_symlink(real / "Job_va_1_0.ps", job / "Job_va_1_0.ps");
    const std::string linkedBefore = readAll(real / "Job_va_1_0.ps");
    const bool root = ::geteuid() == 0;  // root may give the files to another user
    constexpr mode_t kPrivate = 0600;
    for (const auto& f : fs::directory_iterator(job)) {
        ASSERT_EQ(::chmod(f.path().c_str(), kPrivate), 0);
        if (root) {
            ASSERT_EQ(::chown(f.path().c_str(), kNobody, kNobody), 0);
        }
    }
    std::ofstream(records) << kNextRecords << kNextRecords << kNextRecords;
    ASSERT_EQ(pressExport("Job"), 0) << gMsg.last;
    EXPECT_EQ(folderFiles(job).size(), 14u);
    for (const auto& f : fs::directory_iterator(job)) {
        struct stat st {};
        ASSERT_EQ(::stat(f.path().c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, kPrivate) << f.path();
        if (root) {
            EXPECT_EQ(st.st_uid, kNobody) << f.path();
            EXPECT_EQ(st.st_gid, kNobody) << f.path();
        }
    }
    EXPECT_TRUE(fs::is_symlink(job / "Job_va_1_0.ps"));
    EXPECT_NE(readAll(real / "Job_va_1_0.ps"), linkedBefore);
}

// The press prints no more of an item's file than its box, the item's
// rectangle: a record whose symbol grows past it, though the label has room,
// refuses the export, naming the position; nothing is made. A rectangle that
// holds the longer symbol has it exported whole.
TEST_F(Press, AVariableSymbolGrownPastItsRectangleIsRefused) {
    // Two labels of 400 points square, an import item sized to the first
    // record's symbol, turned by `turn` degrees.
    const auto importItem = [this](int turn) -> LabelItem& {
        labelBack.across = 2;
        labelBack.down = 1;
        labelBack.labelWidth = labelBack.labelHeight = 4000;
        parseCodeType("Code 128");
        copyBounded(gData.chMainCode, "ABC");
        copyBounded(gData.chMainCode2, "ABC");
        gData.len1 = gData.len11 = 0;
        gSym.Siz = 50;
        gSym.Hei = 10;
        EXPECT_EQ(addLabelItem(), 0);
        LabelItem& it = *gLabel.labelParts[0];
        it.setI16(item::kind, kKindBarcode);
        gLabel.proMode = kProModeImport;
        gLabel.serPos = "<<1>>";
        setItemData(0, 2);
        EXPECT_TRUE(sizeSingleSymbol(0));
        for (const size_t side : {item::rectTop, item::rectLeft, item::rectBottom, item::rectRight})
            it.setI16(side, static_cast<int16_t>(it.i16(side) + 150));
        it.setI16(item::orientPacked, static_cast<int16_t>(turn * 2));
        const fs::path records = dir / "records.txt";
        std::ofstream(records) << "ABC\nABCDEFGHIJKL\n";
        gDocFile.impoFile = records.string();
        return it;
    };
    for (const int turn : {0, 90}) {
        SCOPED_TRACE(turn);
        importItem(turn);
        EXPECT_EQ(pressExport("Cut"), 1);
        EXPECT_NE(gMsg.last.find("points past the right edge of its rectangle, the box of its "
                                 "press file"),
                  std::string::npos)
            << gMsg.last;
        EXPECT_EQ(gPress.faultAt, "label 2 (import file line 2)");
        EXPECT_EQ(folderFiles(dir).size(), 1u);  // the records alone
        TearDown();
        SetUp();
    }
    LabelItem& it = importItem(0);
    it.setI16(item::rectRight, static_cast<int16_t>(it.i16(item::rectRight) + 110));
    ASSERT_EQ(pressExport("Cut"), 0) << gMsg.last;
    const testsupport::Rendered r =
        testsupport::renderWithGhostscript((dir / "Cut_va_2_0.ps").string(), 300);
    ASSERT_TRUE(r.ok) << r.err;
    EXPECT_EQ(testsupport::decode(testsupport::padBitmap(r.bitmap, 40), "Code128").text,
              "ABCDEFGHIJKL");
}

// A run handed to the sheet keeps item 0's value bare, its prefix and suffix
// after it: every position shows them, as on the printed sheet.
TEST_F(Press, AHandedOverRunShowsThePrefixAndSuffixAtEveryPosition) {
    serialBarcode();
    LabelItem& it = *gLabel.labelParts[0];
    it.setText(item::dataText, "0001\vLOT\vX");
    it.setU32(item::len1, 8);
    labelBack.labelWidth = 3000;  // room for the longer symbol
    it.setI16(item::rectRight, static_cast<int16_t>(it.i16(item::rectRight) + 130));
    gProd.gtlen = 8;
    gProd.gelen = 4;
    ASSERT_EQ(pressExport("Run"), 0) << gMsg.last;
    for (int p = 1; p <= 6; ++p) {
        const fs::path ps = dir / ("Run_va_" + std::to_string(p) + "_0.ps");
        const testsupport::Rendered r = testsupport::renderWithGhostscript(ps.string(), 300);
        ASSERT_TRUE(r.ok) << r.err;
        EXPECT_EQ(testsupport::decode(testsupport::padBitmap(r.bitmap, 60), "Code128").text,
                  "LOT" + serial(p) + "X");
    }
}

// A document's serial item that cannot count on refuses the export before any
// file is made, as printing refuses it, rather than give the positions after
// the first the end value (or, by an increment of zeros, all the first value);
// a value the symbol cannot show refuses it and leaves no file.
TEST_F(Press, ASerialItemThatCannotCountRefusesTheExport) {
    struct Case {
        const char *type, *start, *increment, *end;
        int32_t base;
        const char* why;
    };
    for (const Case& c : {Case{"Code 128", "10005", "-1", "99999", 0, "serial number"},
                          Case{"Code 128", "1A05", "1", "9999", 0, "serial number"},
                          Case{"Code 128", "0001", "1", "99999", 0, "serial number"},
                          Case{"Code 39", "AY", "1", "~~", kSerialBase94, "\"[\""},
                          Case{"Code 128", "0001", "0", "9999", 0, "increment above zero"},
                          Case{"Code 128", "0001", "0000", "9999", 0, "increment above zero"}}) {
        SCOPED_TRACE(c.start + std::string(" by ") + c.increment + " to " + c.end);
        serialBarcode(c.type);
        gSym.Siz = 50;  // percent: Code 39 stays on the 150-point label
        gProd.gcite = 0;
        gLabel.serPos = c.start;
        gLabel.incAmount = c.increment;
        gLabel.serEnd = c.end;
        gLabel.alpha = c.base;
        copyBounded(gData.chMainCode, c.start);
        gData.len1 = gData.len11 = static_cast<int32_t>(std::strlen(c.start));
        setItemData(0, 4);
        EXPECT_EQ(pressExport("Ser"), 1);
        EXPECT_NE(gMsg.last.find(c.why), std::string::npos) << gMsg.last;
        EXPECT_TRUE(fs::is_empty(dir));
        TearDown();
        SetUp();
    }
}

TEST_F(Press, NoVariableItemGivesOnlyTheStaticRecord) {
    addItem(kKindText, 10, 10, 30, 90)->setI16(item::humanPacked, 1);
    ASSERT_EQ(pressExport("plain"), 0);
    const std::string pg = readAll(dir / "plain_F1_6.pg");
    ASSERT_EQ(pg.size(), 768u);
    EXPECT_EQ(pg.substr(312, 6), "+00001");
    // Only the fixed part: the whole label.
    for (const auto& f : fs::directory_iterator(dir))
        if (f.path().extension() == ".ps") {
            EXPECT_EQ(f.path().filename(), "plain.ps");
        }
    EXPECT_TRUE(fs::exists(dir / "plain.ps"));
}

// A damaged document's label, some 15,000 km square: its size in the page
// file's fine units is held at the field's end instead of wrapping round.
TEST_F(Press, AHugeLabelSizeIsHeldAtTheFieldsEnd) {
    labelBack.across = labelBack.down = 1;
    labelBack.labelWidth = labelBack.labelHeight = 4'000'000'000u;
    // A sheet to hold them: without one, labels past the largest page are refused.
    labelBack.sheetWidth = labelBack.sheetHeight = UINT32_MAX;
    addItem(kKindText, 10, 10, 30, 90)->setI16(item::humanPacked, 1);
    ASSERT_EQ(pressExport("huge"), 0);
    const std::string pg = readAll(dir / "huge_F1_1.pg");
    const size_t at = pg.find("+02147483647");
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(pg.substr(at + 12, 12), "+02147483647");
    EXPECT_EQ(pg.find("+-"), std::string::npos);
}

TEST_F(Press, AFileThatCannotBeWrittenStopsTheExport) {
    variableText();
    gPress.folder = (dir / "missing").string();
    gMsg.shown = 0;
    EXPECT_EQ(pressExport("Job"), 1);
    EXPECT_EQ(gMsg.shown, 1);
    EXPECT_TRUE(fs::is_empty(dir));
    // A folder in the first page file's place: no file of the job is left.
    gPress.folder = dir.string();
    fs::create_directory(dir / "Job_F1_1.pg");
    EXPECT_EQ(pressExport("Job"), 1);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

}  // namespace
