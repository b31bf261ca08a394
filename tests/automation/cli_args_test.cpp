// What the command line takes: where records come from, how they may be laid
// out, the flags that pick the kind of file, and what help and usage say.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli_run.h"

namespace {

namespace fs = std::filesystem;

TEST(CommandLineArguments, ALoneDashReadsStandardInputInItsPlace) {
    const std::string a = fresh("a.eps"), b = fresh("b.eps"), c = fresh("c.eps");
    // (Appended, not added: GCC 12 warns falsely about "literal" + a temporary.)
    std::string input = "\n";
    input += ean13(b) + "\n";
    CliRun r = run({ean13(a), "-", ean13(c)}, input);
    EXPECT_EQ(r.status, 0) << r.err;
    for (const std::string& p : {a, b, c}) EXPECT_TRUE(fs::exists(p)) << p;
}

TEST(CommandLineArguments, RecordNumbersCountInputLines) {
    const std::string good = fresh("good.eps");
    CliRun r = run({}, ean13(good) + "\n\n   \n" + record("EAN 13", "4", fresh("bad.eps")) + "\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("record 4: "), std::string::npos) << r.err;
    // Arguments count among the record arguments.
    r = run({"--dialect", "ai3", ean13(good), record("EAN 13", "4", fresh("bad.eps"))});
    EXPECT_NE(r.err.find("record 2: "), std::string::npos) << r.err;
}

TEST(CommandLineArguments, LayoutOfRecordsOnALine) {
    const std::string a = fresh("a.eps"), b = fresh("b.eps"), c = fresh("c.eps");
    // Blanks after the closing brace, CR LF line ends; two records on one line are both made.
    CliRun r = run({}, ean13(a) + " \t\r\n\n" + ean13(b) + " " + ean13(c) + "  \n");
    EXPECT_EQ(r.status, 0) << r.err;
    for (const std::string& p : {a, b, c}) EXPECT_TRUE(fs::exists(p)) << p;

    // A records file saved with the UTF-8 mark before its first record.
    const std::string marked = fresh("marked.eps");
    r = run({}, "\xEF\xBB\xBF" + ean13(marked) + "\r\n");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(fs::exists(marked));

    // Anything else after a record is refused, naming the line and the place on it.
    const std::string d = fresh("d.eps");
    std::string input = "\n";
    input += ean13(d) + " trailing words\n";
    r = run({}, input);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(
                  "record 2: the record is not well formed: text after the record's closing brace"),
              std::string::npos)
        << r.err;
    std::string junk = "x";
    junk += ean13(d);
    r = run({junk});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("record 1: the record must begin with its opening brace"),
              std::string::npos)
        << r.err;
}

// Tabs and line breaks part pairs as blanks do (a record argument is often written
// over several lines): each pair is read as its own, never as the end of the
// value before it, and a quote inside the data is still typed as it is.
TEST(CommandLineArguments, TabsAndLineBreaksPartPairs) {
    const std::string path = fresh("parted.eps");
    const std::string head =
        "{type:\"QRCode\", saveto:\"" + path + "\", data:\"say \"hi\", then go\"";
    const auto madeWithSize = [&path](const CliRun& r) {
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(testsupport::decode(rendered(path), "QRCode").text, "say \"hi\", then go");
        EXPECT_NE(testsupport::slurp(path).find("size:\"200.000000\""), std::string::npos);
        fs::remove(path);
    };
    for (const char* tail : {",\n  size:\"200\"}", ",\tsize:\"200\"}", ", size\t:\t\"200\"}",
                             "\t,\r\n\tsize\n:\n\"200\"\n}"}) {
        SCOPED_TRACE(tail);
        madeWithSize(run({head + tail}));
    }
    // Standard input, one record a line, as the desktop's scripts are run.
    madeWithSize(run({}, head + ",\tsize:\"200\"}\n"));
}

TEST(CommandLineArguments, KeysGivenTwiceAndNulBytesAreRefused) {
    const std::string a = fresh("twice.eps");
    CliRun r = run({ean13(a, ", data:\"012345678905\""),
                    ean13(a, ", colour:\"0 0 0 100\", color:\"100 0 0 0\"")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("record 1: the key \"data\" is given twice"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("record 2: the key \"color\" is given twice"), std::string::npos) << r.err;
    std::string withNul = ean13(a);
    withNul.insert(withNul.find("4006") + 4, 1, '\0');
    r = run({}, withNul + "\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("record 1: the record holds a NUL byte"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(a));
}

// Bad records among good ones fail alone, numbered by their place, and leave no
// file; values past their buffers and records cut short among them.
TEST(CommandLineArguments, BadRecordsFailAloneAndLeaveNoFile) {
    const std::string good = fresh("good.eps");
    const std::string t = fresh("t.eps");
    const struct {
        std::string record;
        std::string path;
        const char* says;
    } bad[] = {
        {ean13("/nonexistent-folder/t.eps"), "/nonexistent-folder/t.eps",
         "The file could not be created"},
        {"{type:\"EAN 13\", data:\"400638133393\", saveto:\"" + t + "\"", t,
         "the record is not well formed: the record has no closing brace"},
        {record("Code 128", std::string(2048, 'A'), t), t, "the data is longer than 2047 bytes"},
        {record("QRCode", "A", t, ", options:\"" + std::string(256, 'M') + "\""), t,
         "the options are longer than 255 bytes"},
        {ean13(t, ", spotname:\"" + std::string(256, 'S') + "\""), t,
         "the spot colour name is longer than 255 bytes"},
        {ean13(testsupport::tempPath("") + std::string(1100, '/') + "t.eps"), t,
         "the file name (saveto) is longer than 1023 bytes"},
        // A lost closing quote takes in the next pair rather than encoding it.
        {"{type:\"Code 128\", data:\"ABC, size:\"80\", saveto:\"" + t + "\"}", t,
         "the data runs on into the size key"},
        {"{type:\"EAN 13\", data:\"4006", t,
         "the record is not well formed: a value has no closing quote"},
    };
    std::vector<std::string> args;
    for (const auto& b : bad) args.push_back(b.record);
    args.push_back(ean13(good));
    CliRun r = run(args);
    EXPECT_EQ(r.status, 1);
    for (size_t i = 0; i < std::size(bad); ++i) {
        SCOPED_TRACE(bad[i].says);
        EXPECT_NE(r.err.find("record " + std::to_string(i + 1) + ": " + bad[i].says),
                  std::string::npos)
            << r.err;
        EXPECT_FALSE(fs::exists(bad[i].path));
        EXPECT_FALSE(fs::exists(bad[i].path + ".partial"));
    }
    EXPECT_TRUE(fs::exists(good));  // the other records still run
}

TEST(CommandLineArguments, EachDialectAndPostKindBeginsItsFile) {
    for (const auto& c : testsupport::readCases("automation/beginnings.txt", 3)) {
        SCOPED_TRACE(c[0] + " " + c[1]);
        const std::string path = fresh(c[1]);
        std::vector<std::string> args = words(c[0]);
        args.push_back(ean13(path));
        const CliRun r = run(args);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(testsupport::slurp(path).rfind(c[2], 0), 0u);
    }
    // The EPS names the type by its full name in its options line.
    const std::string eps = fresh("named.eps");
    ASSERT_EQ(run({ean13(eps)}).status, 0);
    EXPECT_NE(testsupport::slurp(eps).find("%%Options: {type:\"EAN-UCC 13\""), std::string::npos);
    // A device takes what the flags say, and is never replaced.
    EXPECT_EQ(run({"--dialect=pdf", ean13("/dev/null")}).status, 0);
    const CliRun full = run({ean13("/dev/full")});
    EXPECT_EQ(full.status, 1);
    EXPECT_NE(full.err.find("disk may be full"), std::string::npos) << full.err;
    EXPECT_TRUE(fs::is_character_file("/dev/full"));
    EXPECT_FALSE(fs::exists("/dev/full.partial"));
}

TEST(CommandLineArguments, MessagesNameTheTypeAsTheUserDid) {
    CliRun r =
        run({record("upc a", "1234", fresh("u.eps")), record("EAN 8", "12", fresh("e.eps"))});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("record 1: upc a needs 11 digits."), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("record 2: EAN 8 needs 7 digits."), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("UPC-a"), std::string::npos) << r.err;
}

TEST(CommandLineArguments, UsageErrorsAndHelp) {
    for (const auto& c : testsupport::readCases("automation/usage.txt", 1)) {
        SCOPED_TRACE(c[0]);
        EXPECT_EQ(run(words(c[0])).status, 2);
    }
    const CliRun help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    const size_t made = help.out.find("Code types that can be made");
    const size_t notYet = help.out.find("Code types that cannot be made yet");
    ASSERT_NE(made, std::string::npos);
    for (const auto& c : testsupport::readCases("automation/help.txt", 1)) {
        const size_t at = help.out.find(c[0], c[0][0] == '"' ? made : 0);
        EXPECT_NE(at, std::string::npos) << c[0];
        EXPECT_LT(at, notYet) << c[0];
    }
    // Every output kind with its number.
    for (const char* kind : {"picture", "text-utf16", "vector", "pc-eps", "tiff", "bmp72", "bmp300",
                             "text-line", "pdf-from-eps"})
        EXPECT_NE(help.out.find(std::string("  ") + kind + " "), std::string::npos) << kind;
    // A type that the help lists as not made yet is refused as such.
    if (notYet == std::string::npos) return;
    const size_t open = help.out.find('"', notYet);
    const std::string type = help.out.substr(open + 1, help.out.find('"', open + 1) - open - 1);
    const CliRun r = run({record(type, "1", fresh("n.eps"))});
    EXPECT_NE(r.err.find("cannot be made yet"), std::string::npos) << type << ": " << r.err;
}

}  // namespace
