// The print request of a record: the printer keys, a plain symbol printed once a
// page, and the keys' faults.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "cli_run.h"
#include "support/reader.h"

namespace {

struct CliPrint : ::testing::Test {
    void SetUp() override {
        const std::string config = testsupport::tempPath("config");
        std::filesystem::remove_all(config);
        setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    }
    void TearDown() override { unsetenv("XDG_CONFIG_HOME"); }
};

TEST_F(CliPrint, PlainSymbolOnceAPage) {
    const std::string pdf = testsupport::tempPath("symbols.pdf");
    const CliRun r = run({"{type:\"Code 128\", data:\"PRINT 42\", printer:\"" + pdf +
                          "\", number:\"2\", cutter:\"1\"}"});
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_EQ(testsupport::pdftoppm(pdf, pdf, 300).status, 0);
    for (const char* page : {"-1.pgm", "-2.pgm"}) {
        testsupport::Bitmap b;
        ASSERT_TRUE(testsupport::readPGM(pdf + page, &b)) << page;
        EXPECT_EQ(testsupport::decode(b, "Code128").text, "PRINT 42") << page;
    }
}

TEST_F(CliPrint, PrinterKeysAreChecked) {
    const std::string pdf = testsupport::tempPath("none.pdf");
    const std::string head = "{type:\"Code 128\", data:\"X\", ";
    const struct {
        std::string record, says;
    } faults[] = {
        {head + "number:\"2\", saveto:\"" + pdf + "\"}", "the key \"number\" needs printer"},
        {head + "printer:\"" + pdf + "\", number:\"2.5\"}", "the number must be a number"},
        {head + "printer:\"" + pdf + "\", stripper:\"2\"}", "the stripper must be a number"},
        {head + "printer:\"NoSuchQueue\"}", "Error -30873"},
        {head + "printer:\"" + pdf + "\", answer:\"7\"}", "applies to an opened label document"},
        {head + "answer:\"7\", saveto:\"" + pdf + "\"}", "applies to an opened label document"},
    };
    for (const auto& f : faults) {
        const CliRun r = run({f.record});
        EXPECT_EQ(r.status, 1) << f.record;
        EXPECT_NE(r.err.find(f.says), std::string::npos) << r.err;
    }
    EXPECT_FALSE(std::filesystem::exists(pdf));
    const CliRun help = run({"--help"});
    for (const char* key : {"printer ", "number ", "continuous, stripper, cutter"})
        EXPECT_NE(help.out.find(key), std::string::npos) << key;
}

}  // namespace
