// Every display name of the 2 of 5 family, the pharmacode, the SICK code,
// Plessey and MSI reaches its encoder from the command line. Interleaved 2 of 5
// reads back with zxing-cpp and zbarimg from EPS, PostScript and PDF; the other
// families render without a Ghostscript error and refuse what they cannot hold.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "automation/cli.h"
#include "support/reader.h"

namespace {

int run(const std::vector<std::string>& args, std::string* errors) {
    std::vector<const char*> argv{"strixel"};
    for (const std::string& a : args) argv.push_back(a.c_str());
    std::istringstream in;
    std::ostringstream out, err;
    const int status = runCommandLine(static_cast<int>(argv.size()), argv.data(), in, out, err);
    *errors = err.str();
    return status;
}

std::string record(const std::string& type, const std::string& data, const std::string& path,
                   const std::string& more = "") {
    return "{type:\"" + type + "\", data:\"" + data + "\"" + more + ", saveto:\"" + path + "\"}";
}

char gs1Check(const std::string& d) {
    int sum = 0;
    for (size_t i = 0; i < d.size(); ++i) sum += (d[d.size() - 1 - i] - '0') * (i % 2 == 0 ? 3 : 1);
    return static_cast<char>('0' + (10 - sum % 10) % 10);
}

std::string withCheck(const std::string& d) { return d + gs1Check(d); }

struct Named {
    const char* type;
    const char* data;
    std::string want;
};

const std::vector<Named>& interleavedNames() {
    static const std::vector<Named> names = {
        {"ITF", "1234567", withCheck("1234567")},
        {"ITF-UCC", "1540014128876", "15400141288763"},
        {"ITF NC", "12345678", "12345678"},
        {"Next", "M1234567", withCheck("231234567")},
        {"ITF Space", "1234567890123", withCheck("1234567890123")},
        {"ITF Check", "1234567", withCheck("1234567")},
        {"ITF 3551", "1234567", withCheck("1234567")},
        {"Peacocks ITF", "0123456", withCheck("0123456")},
        {"Accessorize10", "1234567890", withCheck("12345678900")},
        {"Accessorize12", "1234567890", withCheck("12345678900")},
        {"Peacocks New ITF", "1234567", withCheck("1234567")},
        {"EAN14 ITF-UCC", "1540014128876", "15400141288763"},
        {"SCC 14", "1540014128876", "15400141288763"},
        {"ITF 12551", "1234567", withCheck("1234567")},
        {"Next 9", "12345678", withCheck("912345678")},
        {"ITF6 NoCheck", "123456", "123456"},
        {"ITF NC HALLMARK", "12345678", "12345678"},
        {"ITF ICELAND", "1234567", withCheck("1234567")},
        {"DUN 16", "123456789012345", withCheck("123456789012345")},
        {"ITF Ethel Austin", "12345678901234", "12345678901234"},
        {"IKEA", "1234567", "91234567"},
    };
    return names;
}

std::string zxingRead(const std::string& path, bool eps) {
    const testsupport::Rendered r = testsupport::renderWithGhostscript(path, 400, eps);
    EXPECT_TRUE(r.ok) << r.err;
    if (!r.ok) return {};
    return testsupport::decode(testsupport::cropToInk(r.bitmap, 80), "ITF").text;
}

std::string zbarRead(const std::string& path, bool eps) {
    const testsupport::Rendered r = testsupport::renderWithGhostscript(path, 300, eps);
    if (!r.ok) return {};
    const std::string pgm = path + ".pgm";
    testsupport::writePGM(testsupport::cropToInk(r.bitmap, 80), pgm);
    const testsupport::RunResult z = testsupport::zbarimg(pgm);
    const std::string out = z.out.substr(0, z.out.find('\n'));
    return out.rfind("I2/5:", 0) == 0 ? out.substr(5) : out;
}

TEST(CommandLineTwoOfFive, EveryInterleavedNameReadsFromEpsPostScriptAndPdf) {
    if (!testsupport::requireProgram("zbarimg", "zbar-tools")) return;
    const struct {
        const char* flag;
        const char* ext;
    } outputs[] = {{"--dialect=ai88", ".eps"}, {"--dialect=ps", ".ps"}, {"--dialect=pdf", ".pdf"}};
    for (const Named& n : interleavedNames())
        for (const auto& o : outputs) {
            SCOPED_TRACE(std::string(n.type) + " " + o.flag);
            const std::string path = testsupport::tempPath(std::string("itf") + o.ext);
            std::string err;
            ASSERT_EQ(run({o.flag, record(n.type, n.data, path)}, &err), 0) << err;
            const bool eps = std::string(o.ext) == ".eps";
            EXPECT_EQ(zxingRead(path, eps), n.want);
            EXPECT_EQ(zbarRead(path, eps), n.want);
        }
}

TEST(CommandLineTwoOfFive, HelpListsTheFamiliesAmongWhatCanBeMade) {
    std::vector<const char*> argv{"strixel", "--help"};
    std::istringstream in;
    std::ostringstream out, err;
    ASSERT_EQ(runCommandLine(static_cast<int>(argv.size()), argv.data(), in, out, err), 0);
    const std::string help = out.str();
    const size_t made = help.find("Code types that can be made");
    const size_t notYet = help.find("Code types that cannot be made yet");
    ASSERT_LT(made, notYet);
    for (const char* name : {"\"ITF\"", "\"ITF-UCC\"", "\"ITF6 NoCheck\"", "\"DUN 16\"",
                             "\"ITF Ethel Austin\"", "\"IKEA\"", "\"2 OF 5 Matrix\"",
                             "\"Laetus Mini\"", "\"SICK\"", "\"PLESSEY\"", "\"MSI 10-10\""}) {
        const size_t at = help.find(name, made);
        EXPECT_LT(at, notYet) << name;
    }
}

TEST(CommandLineTwoOfFive, OddLengthsGetTheFamilysMessage) {
    const std::string path = testsupport::tempPath("odd.eps");
    std::string err;
    EXPECT_EQ(run({record("ITF-UCC", "123456789012", path)}, &err), 1);
    EXPECT_NE(err.find("wrong number of digits"), std::string::npos) << err;
    EXPECT_EQ(run({record("Peacocks ITF", "012345678901", path)}, &err), 1);
    EXPECT_NE(err.find("begins with 0"), std::string::npos) << err;
}

// The families no reader decodes: a file that Ghostscript renders with ink.
TEST(CommandLineTwoOfFive, OtherFamiliesWriteEveryOutput) {
    const struct {
        const char* type;
        const char* data;
        const char* more;
    } named[] = {
        {"2 OF 5", "12345", ""},
        {"2 OF 5 A", "12345", ""},
        {"2 OF 5 B", "12345", ""},
        {"2 OF 5 Matrix", "12345", ""},
        {"Laetus Standard", "1234", ""},
        {"Laetus Mini", "1234", ""},
        {"Laetus Bar Input", "0110", ""},
        {"SICK", "1234", ""},
        {"SICK", "10", ", options:\"8\""},
        {"PLESSEY", "1234ABCD", ""},
        {"MSI", "1234567", ""},
        {"Belgian MSI", "123456", ""},
        {"MSI 10-10", "1234567", ""},
    };
    for (const auto& n : named)
        for (const char* ext : {".eps", ".ps", ".pdf"}) {
            SCOPED_TRACE(std::string(n.type) + ext);
            const std::string path = testsupport::tempPath(std::string("sym") + ext);
            std::string err;
            ASSERT_EQ(run({record(n.type, n.data, path, n.more)}, &err), 0) << err;
            const testsupport::Rendered r =
                testsupport::renderWithGhostscript(path, 150, std::string(ext) == ".eps");
            ASSERT_TRUE(r.ok) << r.err;
            int ink = 0;
            for (uint8_t p : r.bitmap.pixels) ink += p < 128;
            EXPECT_GT(ink, 100);
        }
}

TEST(CommandLineTwoOfFive, RefusalsLeaveNoFile) {
    const struct {
        const char* type;
        const char* data;
        const char* more;
        const char* says;
    } refused[] = {
        {"Laetus Standard", "2", "", "3 to 131070"},
        {"Laetus Standard", "131071", "", "3 to 131070"},
        {"Laetus Bar Input", "0", "", "3 to 131070"},
        {"SICK", "0", "", "1 to 32767"},
        {"SICK", "32768", "", "1 to 32767"},
        {"SICK", "8", ", options:\"3\"", "bit count"},
        {"MSI", "12A4", "", "digits only"},
        {"PLESSEY", "12G4", "", "A to F"},
        {"2 OF 5", "12X4", "", "digits only"},
        {"ITF NC", "12X456", "", "digits only"},
    };
    for (const auto& r : refused) {
        SCOPED_TRACE(std::string(r.type) + " " + r.data);
        const std::string path = testsupport::tempPath("refused.eps");
        std::string err;
        EXPECT_EQ(run({record(r.type, r.data, path, r.more)}, &err), 1);
        EXPECT_NE(err.find(r.says), std::string::npos) << err;
        EXPECT_TRUE(testsupport::slurp(path).empty());
    }
}

}  // namespace
