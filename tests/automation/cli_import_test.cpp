// Import runs through the command line: the "import" key, EPS files a record and
// text lines, each symbol read back by an outside reader.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "cli_run.h"
#include "labels/production.h"
#include "platform/questions.h"
#include "support/reader.h"

namespace {

namespace fs = std::filesystem;

struct CommandLineImport : ::testing::Test {
    std::string dir;
    void SetUp() override {
        dir = testsupport::tempPath("import");
        fs::remove_all(dir);
        fs::create_directories(dir + "/out");
    }
    // n records "R0001,name 1" ... with CR LF line ends.
    std::string records(int n) {
        const std::string path = dir + "/records.csv";
        std::ofstream f(path, std::ios::binary);
        for (int i = 1; i <= n; ++i) {
            char line[64];
            std::snprintf(line, sizeof line, "R%04d,name %d\r\n", i, i);
            f << line;
        }
        return path;
    }
    static std::string record(const std::string& import, const std::string& saveto,
                              const std::string& more = "") {
        return "{type:\"Code 128\", data:\"<<1>>\"" + more + ", import:\"" + import +
               "\", saveto:\"" + saveto + "\"}";
    }
};

std::vector<std::string> numbered(int first, int last) {
    std::vector<std::string> want;
    for (int i = first; i <= last; ++i) {
        char r[32];
        std::snprintf(r, sizeof r, "R%04d", i);
        want.emplace_back(r);
    }
    return want;
}

TEST_F(CommandLineImport, AThousandRecordsAsEpsFilesAndAsTextLines) {
    const std::string file = records(1000);
    CliRun r = run({record(file + "|1|0|1000", dir + "/out/")});
    ASSERT_EQ(r.status, 0) << r.err;
    const platform::GaugeRecord& g = platform::gaugeRecord();
    EXPECT_EQ(g.title, "Importing codes");
    EXPECT_EQ(g.updates, 1001);  // once a record, then full
    EXPECT_EQ(g.done, 1000);
    EXPECT_EQ(g.total, 1000);
    EXPECT_FALSE(g.open);
    EXPECT_EQ(gProd.gcite, 0);
    EXPECT_EQ(gProd.gemode, 0);
    EXPECT_EQ(gProd.ghnum, 0);
    EXPECT_EQ(testsupport::decodeEpsFolder(dir + "/out", "Code128"), numbered(1, 1000));

    const std::string lines = dir + "/lines.txt";
    r = run({"--kind=text-line", record(file, lines)});
    ASSERT_EQ(r.status, 0) << r.err;
    // One line a record: the rows of its element list, then a CR.
    const std::string all = testsupport::slurp(lines);
    const auto crs = static_cast<int>(std::count(all.begin(), all.end(), '\r'));
    EXPECT_EQ(testsupport::decodeTextLines(lines, crs / 1000 - 1, "Code128"), numbered(1, 1000));
}

TEST_F(CommandLineImport, StartTitleAndCountNameTheFiles) {
    const std::string file = records(10);
    const CliRun r = run({record(file + "|3|2|4", dir + "/out/", ", size:\"50\"")});
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir + "/out"))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names,
              (std::vector<std::string>{"name-3.EPS", "name-4.EPS", "name-5.EPS", "name-6.EPS"}));
}

// A folder names no extension for the flags to contradict: every wrapping they
// give is written, a file a record, named as the run names its EPS files.
TEST_F(CommandLineImport, EveryWrappingWritesAFileARecord) {
    const std::string file = records(2);
    const struct {
        std::vector<std::string> flags;
        const char* starts;  // the file's first line
        const char* ext;
    } cases[] = {
        {{"--dialect=ps"}, "%!PS-Adobe-3.0\r", ".EPS"},
        {{"--dialect=ps-job"}, "\x1b%-12345X@PJL JOB\r", ".EPS"},
        {{"--post=ps"}, "%!PS-Adobe-3.0\r", ".EPS"},
        {{"--kind=vector", "--post=2"}, "\x1b%-12345X@PJL JOB\r", ".EPS"},
        {{"--kind=vector", "--dialect=pdf"}, "%PDF-1.4\r", ".PDF"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.flags.back());
        fs::remove_all(dir + "/out");
        fs::create_directories(dir + "/out");
        std::vector<std::string> args = c.flags;
        args.push_back(record(file, dir + "/out/"));
        const CliRun r = run(args);
        ASSERT_EQ(r.status, 0) << r.err;
        for (const std::string& want : numbered(1, 2)) {
            const std::string made = dir + "/out/" + want + c.ext;
            EXPECT_EQ(testsupport::slurp(made).rfind(c.starts, 0), 0u) << made;
            const testsupport::Rendered page = testsupport::renderWithGhostscript(made, 300, false);
            ASSERT_TRUE(page.ok) << page.err;
            EXPECT_EQ(testsupport::decode(testsupport::cropToInk(page.bitmap, 80), "Code128").text,
                      want);
        }
    }
}

// Only a '|' of the template parts the data from the add-on; one in a field is
// data, in Code 128 and QR Code alike, as a file of text lines too.
TEST_F(CommandLineImport, OnlyTheTemplatesBarStartsTheAddOn) {
    const std::string file = dir + "/bars.csv";
    std::ofstream(file, std::ios::binary) << "ABC|DEF\nPART-1|H\n";
    const std::vector<std::string> whole{"ABC|DEF", "PART-1|H"};
    for (const std::string type : {"Code 128", "QRCode"}) {
        SCOPED_TRACE(type);
        fs::remove_all(dir + "/out");
        fs::create_directories(dir + "/out");
        const std::string keys = "{type:\"" + type + "\", data:\"<<1>>\", import:\"" + file;
        const CliRun r = run({keys + "\", saveto:\"" + dir + "/out/\"}"});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(
            testsupport::decodeEpsFolder(dir + "/out", type == "QRCode" ? "QRCode" : "Code128"),
            whole);
    }
    const std::string lines = fresh("bar-lines.txt");
    const CliRun r = run({"--kind=text-line", "{type:\"Code 128\", data:\"<<1>>\", import:\"" +
                                                  file + "\", saveto:\"" + lines + "\"}"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string all = testsupport::slurp(lines);
    const auto crs = static_cast<int>(std::count(all.begin(), all.end(), '\r'));
    EXPECT_EQ(testsupport::decodeTextLines(lines, crs / 2 - 1, "Code128"), whole);
}

// Accented text, given in UTF-8 or read from a UTF-8 file, reads back as it was
// written, never as Japanese; a file written in Shift-JIS still gives Kanji.
TEST_F(CommandLineImport, AccentedTextIsNotTakenForShiftJis) {
    const std::string utf8 = dir + "/accents.csv";
    std::ofstream(utf8, std::ios::binary) << "l\u2019\u00e9t\u00e9_2024\n";
    const std::string sjis = dir + "/sjis.csv";
    std::ofstream(sjis, std::ios::binary) << "\x93\xFA\x96\x7B\x8C\xEA\n";
    const struct {
        std::string keys;
        std::vector<std::string> want;
    } cases[] = {
        {"data:\"<<1>>\", import:\"" + utf8 + "\", saveto:\"" + dir + "/out/\"",
         {"l\u2019\u00e9t\u00e9_2024"}},
        {"data:\"<<1>>\", import:\"" + sjis + "\", saveto:\"" + dir + "/out/\"",
         {"\u65e5\u672c\u8a9e"}},
        {"data:\"l\u2019\u00e9t\u00e9_v2\", saveto:\"" + dir + "/out/q.eps\"",
         {"l\u2019\u00e9t\u00e9_v2"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keys);
        fs::remove_all(dir + "/out");
        fs::create_directories(dir + "/out");
        const CliRun r = run({"{type:\"QRCode\", " + c.keys + "}"});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(testsupport::decodeEpsFolder(dir + "/out", "QRCode"), c.want);
    }
}

// The add-on comes from the template's '|' and belongs to its record alone: a
// record with an empty add-on field has none (not the one before it), and
// without a '|' every record takes the run's add-on (its options), as the files'
// names show.
TEST_F(CommandLineImport, AnAddOnBelongsToItsRecordAlone) {
    const std::string file = dir + "/addons.csv";
    std::ofstream(file, std::ios::binary) << "400638133393,first,52495\n978020137962,second\n";
    const struct {
        std::string templ, options;
        std::vector<std::string> names;
    } cases[] = {{"<<1>>|<<3>>", "", {"first52495.EPS", "second.EPS"}},
                 {"<<1>>|<<3>>", "12", {"first52495.EPS", "second.EPS"}},
                 {"<<1>>", "12", {"first12.EPS", "second12.EPS"}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.templ + " " + c.options);
        fs::remove_all(dir + "/out");
        fs::create_directories(dir + "/out");
        const std::string more = c.options.empty() ? "" : ", options:\"" + c.options + "\"";
        const CliRun r = run({"{type:\"EAN 13\", data:\"" + c.templ + "\"" + more + ", import:\"" +
                              file + "|1|2\", saveto:\"" + dir + "/out/\"}"});
        ASSERT_EQ(r.status, 0) << r.err;
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir + "/out"))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, c.names);
    }
    // An add-on of a length the type cannot draw fails its record, as it fails a plain one.
    std::ofstream(file, std::ios::binary) << "400638133393,third,123\n";
    const CliRun r = run({"{type:\"EAN 13\", data:\"<<1>>|<<3>>\", import:\"" + file +
                          "|1|2\", saveto:\"" + dir + "/out/\"}"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("takes an add-on of 2 or 5 digits; the add-on has 3"), std::string::npos)
        << r.err;
    for (const auto& e : fs::directory_iterator(dir + "/out"))
        EXPECT_NE(e.path().filename().string().rfind("third", 0), 0u) << e.path();
}

// A good record before it does not let a later record's add-on through: each
// add-on the type cannot carry fails its own record, in files of every kind (no
// cd.EPS whose symbol holds only c).
TEST_F(CommandLineImport, EveryRecordsStrayAddOnIsRefused) {
    const struct {
        const char *type, *lines, *kind, *says;
    } cases[] = {
        {"EAN 13", "400638133393,12\n400638133393,123\n", "", "the add-on has 3"},
        {"EAN 13", "400638133393,12\n400638133393,1234\n", "--kind=tiff", "the add-on has 4"},
        {"UPC A", "03600029145,12\n03600029145,1\n", "", "the add-on has 1"},
        {"EAN 8", "9638507\n1234567,12\n", "", "EAN 8 takes no add-on"},
        {"Code 128", "e\nc,d\n", "", "Code 128 takes no add-on"},
    };
    const std::string file = dir + "/stray.csv";
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.type) + " " + c.kind);
        fs::remove_all(dir + "/out");
        fs::create_directories(dir + "/out");
        std::ofstream(file, std::ios::binary) << c.lines;
        std::vector<std::string> args = {"{type:\"" + std::string(c.type) +
                                         "\", data:\"<<1>>|<<2>>\", import:\"" + file +
                                         "\", saveto:\"" + dir + "/out/\"}"};
        if (*c.kind) args.insert(args.begin(), c.kind);
        const CliRun r = run(args);
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find("import record 2"), std::string::npos) << r.err;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_EQ(std::distance(fs::directory_iterator(dir + "/out"), fs::directory_iterator{}), 1);
    }
}

// Records whose data reading or building would change (a field or the built
// data cut, NUL bytes left out) are not made: each is named, the others are
// made, and the run fails. A UTF-16 file is refused whole.
TEST_F(CommandLineImport, RecordsThatWouldChangeAreNotMade) {
    const std::string file = dir + "/long.csv";
    std::string accented;
    for (int i = 0; i < 200; ++i) accented += "\xC3\xA9";  // é, 400 bytes in all
    std::ofstream(file, std::ios::binary)
        << accented << "\n"
        << std::string(200, 'A') << "," << std::string(200, 'B') << "\n"
        << std::string("B\0C\n", 4) << "GOOD\n";
    const std::string keys = "{type:\"Datamatrix\", data:\"<<1>><<2>>\", import:\"";
    CliRun r = run({keys + file + "\", saveto:\"" + dir + "/out/\"}"});
    EXPECT_EQ(r.status, 1);
    for (const char* says : {"record 1, import record 1 (line 1): A field of the import file is "
                             "longer than 255 characters",
                             "record 1, import record 2 (line 2): The data built from an import "
                             "record is longer than 254 characters",
                             "record 1, import record 3 (line 3): The import file holds NUL bytes"})
        EXPECT_NE(r.err.find(says), std::string::npos) << r.err;
    EXPECT_EQ(testsupport::decodeEpsFolder(dir + "/out", "DataMatrix"),
              std::vector<std::string>{"GOOD"});

    const std::string utf16 = dir + "/utf16.csv";
    std::ofstream(utf16, std::ios::binary) << std::string(
        "\xFF\xFE"
        "A\0B\0\n\0",
        8);
    fs::remove_all(dir + "/out");
    fs::create_directories(dir + "/out");
    r = run({keys + utf16 + "\", saveto:\"" + dir + "/out/\"}"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("is text in UTF-16: save it as UTF-8"), std::string::npos) << r.err;
    EXPECT_TRUE(fs::is_empty(dir + "/out"));
}

// A file's lines may end in CR, LF or CR LF, mixed as files that several
// programs wrote are: each ends one record, and no CR is data.
TEST_F(CommandLineImport, MixedLineEndsEachEndARecord) {
    for (const char* bytes : {"AAA\nBBB\r\nCCC\rDDD\n", "AAA\r\nBBB\nCCC\r\nDDD"}) {
        SCOPED_TRACE(testing::PrintToString(std::string(bytes)));
        const std::string file = dir + "/mixed.csv";
        std::ofstream(file, std::ios::binary) << bytes;
        fs::remove_all(dir + "/out");
        fs::create_directories(dir + "/out");
        const CliRun r = run({record(file, dir + "/out/")});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(testsupport::decodeEpsFolder(dir + "/out", "Code128"),
                  (std::vector<std::string>{"AAA", "BBB", "CCC", "DDD"}));
    }
}

// Every import record that cannot be made (an empty one too) is named by its
// number among the file's records and its line, and fails the run, which makes
// the others; past ten such records the rest are counted.
TEST_F(CommandLineImport, EachFailedRecordIsNamed) {
    const std::string file = dir + "/ean.csv";
    std::ofstream(file, std::ios::binary)
        << "4006381333931\nABCDEFGHIJKLM\n\n,2\n400638133393\n12345\n";
    const std::string keys = "{type:\"EAN 13\", data:\"<<1>>\", import:\"" + file;
    const std::string lines = fresh("ean-lines.txt");
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{keys + "\", saveto:\"" + dir + "/out/\"}"},
          {"--kind=text-line", keys + "|2\", saveto:\"" + lines + "\"}"}}) {
        SCOPED_TRACE(args.back());
        const CliRun r = run(args);
        EXPECT_EQ(r.status, 1);
        std::vector<std::string> said;  // what each line names
        std::istringstream err(r.err);
        for (std::string line; std::getline(err, line);)
            said.push_back(line.substr(0, line.find("): ") + 1));
        EXPECT_EQ(said, (std::vector<std::string>{"strixel: record 1, import record 2 (line 2)",
                                                  "strixel: record 1, import record 3 (line 4)",
                                                  "strixel: record 1, import record 5 (line 6)"}))
            << r.err;
        EXPECT_NE(r.err.find("(line 4): The data built from an import record is empty"),
                  std::string::npos);
        EXPECT_NE(r.err.find("(line 6): EAN 13 needs 12 digits."), std::string::npos);
    }
    EXPECT_EQ(testsupport::decodeEpsFolder(dir + "/out", "EAN13"),
              (std::vector<std::string>{"4006381333931", "4006381333931"}));

    std::ofstream(file, std::ios::binary) << "1\n1\n1\n1\n1\n1\n1\n1\n1\n1\n1\n1\n";
    const CliRun r = run({keys + "\", saveto:\"" + dir + "/out/\"}"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("import record 10 (line 10): EAN 13 needs 12 digits.\nstrixel: record 1: "
                         "2 more import records could not be made (12 in all)\n"),
              std::string::npos)
        << r.err;
}

// A record whose own file cannot be written (a folder has its name) fails alone:
// the records after it are still made. A run that cannot go on says where it stopped.
TEST_F(CommandLineImport, ARecordWhoseFileCannotBeWrittenFailsAlone) {
    const std::string file = records(4);
    fs::create_directories(dir + "/out/name-2.EPS");
    const CliRun r = run({record(file + "|1|2", dir + "/out/")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err.rfind("strixel: record 1, import record 2 (line 2): ", 0), 0u) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    for (const char* made : {"name-1.EPS", "name-3.EPS", "name-4.EPS"})
        EXPECT_TRUE(fs::is_regular_file(dir + "/out/" + made)) << made;
    // The text lines of a run are one file, put in place whole or not at all:
    // the run stops, and says where and that the file was not written.
    const CliRun lines = run({"--kind=text-line", record(file, dir + "/missing/lines.txt")});
    EXPECT_EQ(lines.status, 1);
    EXPECT_NE(lines.err.find("record 1: the run stopped at import record 1, and " + dir +
                             "/missing/lines.txt was not written: it is as it was before the "
                             "run\n"),
              std::string::npos)
        << lines.err;
}

TEST_F(CommandLineImport, BadRequestsAreRefused) {
    const std::string file = records(2);
    const struct {
        std::vector<std::string> args;
        const char* says;
    } refused[] = {
        {{record(dir + "/none.csv", dir + "/out/")}, "could not be opened"},
        {{record(file + "|0", dir + "/out/")}, "start record must be a whole number from 1"},
        {{record(file + "|1|x", dir + "/out/")}, "title field must be a whole number"},
        {{record(file + "|1|0|0", dir + "/out/")}, "record count must be a whole number from 1"},
        {{record(file + "|1|0|1|9", dir + "/out/")}, "FILE|START|TITLE|COUNT"},
        // An empty name (a script's variable that came out empty) is no file either,
        // not a record without an import.
        {{record("", dir + "/out/template.eps")}, "FILE|START|TITLE|COUNT"},
        // A record read gives 19 fields: a title or marker past them names nothing.
        {{record(file + "|1|20", dir + "/out/")},
         "title field must be a whole number from 0 to 19"},
        {{record(file + "|1|21", dir + "/out/")}, "a record gives at most 19 fields"},
        {{"{type:\"Code 128\", data:\"<<20>>\", import:\"" + file + "\", saveto:\"" + dir +
          "/out/\"}"},
         "marker <<20>> names a field no record fills"},
        {{"{type:\"Code 128\", data:\"X<<0x3>>\", import:\"" + file + "\", saveto:\"" + dir +
          "/out/\"}"},
         "marker <<0x3>> is no field number"},
        {{record(file, dir + "/one.eps")}, "saveto must name a folder"},
        {{"--kind=text-line", record(file, dir + "/out/")}, "text lines go into one file"},
    };
    for (const auto& c : refused) {
        const CliRun r = run(c.args);
        EXPECT_EQ(r.status, 1) << c.says;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
    }
    EXPECT_TRUE(fs::is_empty(dir + "/out"));
}

// Blank lines, between the records or after the last, make no symbol; fields
// past the 19th are left out with a warning, and the run still succeeds.
TEST_F(CommandLineImport, BlankLinesMakeNothingAndExtraFieldsAreSaid) {
    for (const char* bytes : {"111\n222\n\n", "\r\n111\r\n\r\n , \r\n222\r\n\r\n"}) {
        SCOPED_TRACE(testing::PrintToString(std::string(bytes)));
        const std::string file = dir + "/blank.csv";
        std::ofstream(file, std::ios::binary) << bytes;
        fs::remove_all(dir + "/out");
        fs::create_directories(dir + "/out");
        const std::string sku =
            "{type:\"Code 128\", data:\"SKU<<1>>\", import:\"" + file + "\", saveto:\"";
        CliRun r = run({sku + dir + "/out/\"}"});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err, "");
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir + "/out"))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, (std::vector<std::string>{"SKU111.EPS", "SKU222.EPS"}));

        const std::string lines = dir + "/blank-lines.txt";
        fs::remove(lines);
        r = run({"--kind=text-line", sku + lines + "\"}"});
        ASSERT_EQ(r.status, 0) << r.err;
        const std::string all = testsupport::slurp(lines);
        const auto crs = static_cast<int>(std::count(all.begin(), all.end(), '\r'));
        EXPECT_EQ(testsupport::decodeTextLines(lines, crs / 2 - 1, "Code128"),
                  (std::vector<std::string>{"SKU111", "SKU222"}));
    }

    std::string wide;
    for (int f = 1; f <= 25; ++f) {
        if (f > 1) wide += ',';
        wide += 'F';
        wide += std::to_string(f);
    }
    const std::string file = dir + "/wide.csv";
    std::ofstream(file, std::ios::binary) << wide << "\n";
    fs::remove_all(dir + "/out");
    fs::create_directories(dir + "/out");
    const CliRun r = run({"{type:\"Code 128\", data:\"<<19>>\", import:\"" + file +
                          "|1|2\", saveto:\"" + dir + "/out/\"}"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("record 1: warning: A record of the import file has more than 19 "
                         "fields; the fields after the 19th were left out"),
              std::string::npos)
        << r.err;
    EXPECT_EQ(testsupport::decodeEpsFolder(dir + "/out", "Code128"),
              (std::vector<std::string>{"F19"}));
}

}  // namespace

// A run's text lines are the element lists its records' data make, whatever
// the code type: the same bytes as single records of that data give, a refused
// record leaving no line and the run going on past it.
// In one command, an import run's text lines go after the lines earlier records
// put in the file, and later records' and runs' after them.
TEST_F(CommandLineImport, TextLinesOfRunsAndRecordsShareTheirFile) {
    const std::string file = dir + "/two.csv";
    std::ofstream(file, std::ios::binary) << "X1\nX2\n";
    const std::string lines = fresh("shared-lines.txt");
    const std::string imported =
        "{type:\"Code 128\", data:\"<<1>>\", import:\"" + file + "\", saveto:\"" + lines + "\"}";
    const CliRun r = run({"--kind=text-line", ::record("Code 128", "AAA", lines), imported,
                          imported, ::record("Code 128", "CCC", lines)});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string single = fresh("shared-single.txt");
    std::vector<std::string> args{"--kind=text-line"};
    for (const char* datum : {"AAA", "X1", "X2", "X1", "X2", "CCC"})
        args.push_back(::record("Code 128", datum, single));
    ASSERT_EQ(run(args).status, 0);
    EXPECT_EQ(testsupport::slurp(lines), testsupport::slurp(single));
}

TEST_F(CommandLineImport, TextLinesAreTheSingleRecordsLines) {
    const std::string file = dir + "/mixed.csv";
    std::ofstream(file, std::ios::binary) << "400638133393\r\n12\r\n978014300723\r\n";
    struct Case {
        const char* type;
        const char* templ;
    };
    for (const Case& c :
         {Case{"EAN 13", "<<1>>"}, Case{"Code 128", "SKU <<1>>"}, Case{"QRCode", "<<1>>-Q"}}) {
        SCOPED_TRACE(c.type);
        const std::string lines = fresh("import-lines.txt");
        const CliRun r =
            run({"--kind=text-line", "{type:\"" + std::string(c.type) + "\", data:\"" + c.templ +
                                         "\", import:\"" + file + "\", saveto:\"" + lines + "\"}"});
        const std::string single = fresh("single-lines.txt");
        std::vector<std::string> args{"--kind=text-line"};  // one command line: one file
        for (const char* datum : {"400638133393", "12", "978014300723"}) {
            std::string data = c.templ;
            data.replace(data.find("<<1>>"), 5, datum);
            args.push_back(::record(c.type, data, single));
        }
        run(args);
        EXPECT_EQ(testsupport::slurp(lines), testsupport::slurp(single));
        // Only EAN 13 refuses a record ("12"); the run says so and still writes the rest.
        EXPECT_EQ(r.status, std::string(c.type) == "EAN 13" ? 1 : 0) << r.err;
    }
}

// A run never writes over its own import file: not a record's file named like
// it, nor text lines saved to it.
TEST_F(CommandLineImport, ARunNeverReplacesItsImportFile) {
    const std::string file = dir + "/out/a.EPS";
    const std::string held = "4006381000011,a\n4006381000028,b\n";
    std::ofstream(file, std::ios::binary) << held;
    CliRun r =
        run({"{type:\"Code 39\", import:\"" + file + "|1|2\", saveto:\"" + dir + "/out/\"}"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("would replace the import file"), std::string::npos) << r.err;
    EXPECT_EQ(testsupport::slurp(file), held);

    const std::string text = dir + "/imp.txt";
    std::ofstream(text, std::ios::binary) << held;
    r = run({"--kind=text-line", record(text, text, ", height:\"3\"")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("saveto names the import file"), std::string::npos) << r.err;
    EXPECT_EQ(testsupport::slurp(text), held);
}
