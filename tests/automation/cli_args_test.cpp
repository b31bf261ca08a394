// What the command line takes: where records come from, how they may be laid
// out, and the flags that pick the kind of file.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli_run.h"
#include "support/reader.h"

namespace {

namespace fs = std::filesystem;

// A fresh path: nothing left there by an earlier run.
std::string fresh(const std::string& name) {
    const std::string p = testsupport::tempPath(name);
    fs::remove(p);
    return p;
}

std::string ean13(const std::string& saveto, const std::string& more = "") {
    return "{type:\"EAN 13\", data:\"400638133393\"" + more + ", saveto:\"" + saveto + "\"}";
}

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
    CliRun r = run({}, ean13(good) + "\n\n   \n" + "{type:\"EAN 13\", data:\"4\", saveto:\"" +
                           fresh("bad.eps") + "\"}\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("record 4: "), std::string::npos) << r.err;
    // Arguments count among the record arguments.
    r = run({"--dialect", "ai3", ean13(good),
             "{type:\"EAN 13\", data:\"4\", saveto:\"" + fresh("bad.eps") + "\"}"});
    EXPECT_NE(r.err.find("record 2: "), std::string::npos) << r.err;
}

TEST(CommandLineArguments, LayoutOfRecordsOnALine) {
    const std::string a = fresh("a.eps"), b = fresh("b.eps"), c = fresh("c.eps");
    // Blanks after the closing brace; two records on one line are both made.
    CliRun r = run({}, ean13(a) + " \t\n" + ean13(b) + " " + ean13(c) + "  \n");
    EXPECT_EQ(r.status, 0) << r.err;
    for (const std::string& p : {a, b, c}) EXPECT_TRUE(fs::exists(p)) << p;

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

TEST(CommandLineArguments, KeysGivenTwiceAndNulBytesAreRefused) {
    const std::string a = fresh("twice.eps");
    CliRun r = run({ean13(a, ", data:\"012345678905\""), ean13(a,
                                                               ", colour:\"0 0 0 100\", "
                                                               "color:\"100 0 0 0\"")});
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

TEST(CommandLineArguments, FlagsAndExtensionsMustAgree) {
    struct {
        std::vector<std::string> flags;
        const char* file;
        const char* says;
    } refused[] = {
        {{"--dialect=ai3"}, "x.pdf", "--dialect=ai3 writes PostScript, not a .pdf file"},
        {{"--dialect=pdf"}, "x.eps", "--dialect=pdf writes PDF, not a .eps file"},
        {{"--dialect=pdf"}, "x.PS", "--dialect=pdf writes PDF, not a .ps file"},
        {{"--dialect=ps"}, "x.eps", "--dialect=ps writes PostScript, not EPS"},
        {{"--post=job"}, "x.pdf", "--post=job is for PostScript files, not a .pdf file"},
        {{"--post=eps"}, "x.ps", "--post=eps writes EPS, not a .ps file"},
        {{}, "x.png", "must end in .eps, .ps, .pdf, .pic"},
        {{}, "no-extension", "must end in .eps, .ps, .pdf, .pic"},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.file);
        const std::string path = fresh(c.file);
        std::vector<std::string> args = c.flags;
        args.push_back(ean13(path));
        CliRun r = run(args);
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_FALSE(fs::exists(path));
    }
    // A device takes what the flags say.
    EXPECT_EQ(run({"--dialect=pdf", ean13("/dev/null")}).status, 0);
}

TEST(CommandLineArguments, ValuesAfterASpaceAndPostNumbers) {
    struct {
        std::vector<std::string> flags;
        const char* file;
        const char* begins;
    } cases[] = {
        {{"--dialect", "pdf"}, "s.pdf", "%PDF-1.4"},
        {{"--post", "ps"}, "s.ps", "%!PS-Adobe-3.0\r"},
        {{"--post", "0"}, "s.eps", "%!PS-Adobe-3.0 EPSF-3.0\r"},
        {{"--post=1"}, "s.ps", "%!PS-Adobe-3.0\r"},
        {{"--dialect", "ai88", "--post", "2"}, "s.ps", "\x1b"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.flags[0]);
        const std::string path = fresh(c.file);
        std::vector<std::string> args = c.flags;
        args.push_back(ean13(path));
        CliRun r = run(args);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(testsupport::slurp(path).rfind(c.begins, 0), 0u);
    }
    for (const std::vector<std::string>& usage : std::vector<std::vector<std::string>>{
             {"--dialect"}, {"--post", "3", "{}"}, {"-x", "{}"}, {"--dialect", "pdf"}}) {
        SCOPED_TRACE(usage[0]);
        EXPECT_EQ(run(usage).status, 2);
    }
}

TEST(CommandLineArguments, MessagesNameTheTypeAsTheUserDid) {
    CliRun r = run({"{type:\"upc a\", data:\"1234\", saveto:\"" + fresh("u.eps") + "\"}",
                    "{type:\"EAN 8\", data:\"12\", saveto:\"" + fresh("e.eps") + "\"}"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("record 1: upc a needs 11 digits."), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("record 2: EAN 8 needs 7 digits."), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("UPC-a"), std::string::npos) << r.err;
}

TEST(CommandLineArguments, HelpTellsEscapesExitStatusesAndWhatCanBeMade) {
    CliRun help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* said : {"\\dNNN", "\\1 \\2 \\3 \\4", "FNC1 (EAN Datamatrix)",
                             "data:\"say \"hi\", then go\"", "Exit status: 0", "1 some record",
                             "2 the command line", "--dialect NAME or --dialect=NAME"})
        EXPECT_NE(help.out.find(said), std::string::npos) << said;
    const size_t made = help.out.find("Code types that can be made");
    const size_t notYet = help.out.find("Code types that cannot be made yet");
    ASSERT_NE(made, std::string::npos);
    EXPECT_LT(help.out.find("\"Code 128\"", made), notYet);
    // A type that the help lists as not made yet is refused as such.
    if (notYet == std::string::npos) return;
    const size_t open = help.out.find('"', notYet);
    const std::string type = help.out.substr(open + 1, help.out.find('"', open + 1) - open - 1);
    CliRun r = run({"{type:\"" + type + "\", data:\"1\", saveto:\"" + fresh("n.eps") + "\"}"});
    EXPECT_NE(r.err.find("cannot be made yet"), std::string::npos) << type << ": " << r.err;
}

}  // namespace
