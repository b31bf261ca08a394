#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli_run.h"
#include "support/reader.h"

namespace {

namespace fs = std::filesystem;

std::string slurp(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

std::string record(const std::string& type, const std::string& data, const std::string& saveto,
                   const std::string& more = "") {
    return "{type:\"" + type + "\", data:\"" + data + "\"" + more + ", saveto:\"" + saveto + "\"}";
}

TEST(CommandLine, WritesOneFilePerRecordByExtension) {
    const std::string eps = testsupport::tempPath("ean.eps");
    const std::string pdf = testsupport::tempPath("gs1.pdf");
    const std::string ps = testsupport::tempPath("c128.ps");
    CliRun r = run({record("EAN 13", "400638133393", eps),
                    record("EAN 128", "(01)1540014128876(17)251231(10)AB1", pdf),
                    record("Code 128", "ABC-123", ps)});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(slurp(eps).rfind("%!PS-Adobe-3.0 EPSF-3.0\r", 0), 0u);
    EXPECT_EQ(slurp(pdf).rfind("%PDF-1.4", 0), 0u);
    EXPECT_EQ(slurp(ps).rfind("%!PS-Adobe-3.0\r", 0), 0u);
    EXPECT_NE(slurp(eps).find("%%Options: {type:\"EAN-UCC 13\""), std::string::npos);
}

TEST(CommandLine, EveryDialectAndPostKindIsReachable) {
    struct {
        const char* flag;
        const char* file;
        const char* firstLine;
    } cases[] = {{"--dialect=ai1", "d.eps", "%!PS-Adobe-2.0 EPSF-1.2\r"},
                 {"--dialect=ai88", "d.eps", "%!PS-Adobe-2.0 EPSF-1.2\r"},
                 {"--dialect=ai3", "d.eps", "%!PS-Adobe-3.0 EPSF-3.0\r"},
                 {"--dialect=ai5", "d.eps", "%!PS-Adobe-3.0 EPSF-3.0\r"},
                 {"--dialect=press", "d.eps", "%!PS-Adobe-2.0 EPSF-1.2\r"},
                 {"--dialect=type3", "d.eps", "%!PS-Adobe-2.0\r"},
                 {"--dialect=pdf", "d.pdf", "%PDF-1.4"},
                 {"--dialect=ps", "d.ps", "%!PS-Adobe-3.0\r"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.flag);
        const std::string path = testsupport::tempPath(c.file);
        CliRun r = run({c.flag, record("EAN 13", "400638133393", path)});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(slurp(path).rfind(c.firstLine, 0), 0u);
    }
    const std::string job = testsupport::tempPath("job.ps");
    CliRun r = run({"--dialect=ai88", "--post=job", record("EAN 13", "400638133393", job)});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(slurp(job)[0], '\x1b');  // the printer job wrapper comes first
}

TEST(CommandLine, RecordsFromStandardInput) {
    const std::string a = testsupport::tempPath("a.eps");
    const std::string b = testsupport::tempPath("b.eps");
    CliRun r = run(
        {}, record("EAN 8", "9638507", a) + "\r\n\n" + record("UPC A", "03600029145", b) + "\n");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(fs::exists(a));
    EXPECT_TRUE(fs::exists(b));
}

TEST(CommandLine, BadRecordsFailAloneAndLeaveNoFile) {
    const std::string good = testsupport::tempPath("good.eps");
    struct {
        std::string record;
        std::string path;
        const char* says;
    } bad[] = {
        {record("Nonsense 77", "1", testsupport::tempPath("t1.eps")),
         testsupport::tempPath("t1.eps"), "unknown type"},
        {record("EAN 13", "40063813339A", testsupport::tempPath("t2.eps")),
         testsupport::tempPath("t2.eps"), "digits only"},
        {record("EAN 13", "400638133393", "/nonexistent-folder/t3.eps"),
         "/nonexistent-folder/t3.eps", "could not be created"},
        {"{type:\"EAN 13\", data:\"400638133393\", saveto:\"" + testsupport::tempPath("t4.eps") +
             "\"",
         testsupport::tempPath("t4.eps"), "closing brace"},
        {record("EAN 13", "400638133393", testsupport::tempPath("t5.eps"), ", colr:\"1\""),
         testsupport::tempPath("t5.eps"), "unknown key"},
        {record("QRCode", "snow \xe2\x98\x83", testsupport::tempPath("t6.eps")),
         testsupport::tempPath("t6.eps"), "\xe2\x98\x83"},
        {record("EAN 13", "4006", testsupport::tempPath("t7.eps")), testsupport::tempPath("t7.eps"),
         "EAN 13 needs 12 digits."},
        {record("EAN 13", "400638133393", testsupport::tempPath("t8.eps"), ", height:\"1\""),
         testsupport::tempPath("t8.eps"), "the height must be a number"},
        {record("EAN 13", "400638133393", testsupport::tempPath("t9.eps"), ", size:\"9.5\""),
         testsupport::tempPath("t9.eps"), "the size must be a number from 10 to 327"},
        {record("EAN 13", "400638133393", testsupport::tempPath("t10.eps"), ", size:\"big\""),
         testsupport::tempPath("t10.eps"), "the size must be a number"},
        // Values longer than their buffers, whatever the buffer.
        {record("Code 128", std::string(2048, 'A'), testsupport::tempPath("t11.eps")),
         testsupport::tempPath("t11.eps"), "the data is longer than 2047 bytes"},
        {record("QRCode", "A", testsupport::tempPath("t12.eps"),
                ", options:\"" + std::string(256, 'M') + "\""),
         testsupport::tempPath("t12.eps"), "the options are longer than 255 bytes"},
        {record("EAN 13", "400638133393", testsupport::tempPath("t13.eps"),
                ", spotname:\"" + std::string(256, 'S') + "\""),
         testsupport::tempPath("t13.eps"), "the spot colour name is longer than 255 bytes"},
        {record("EAN 13", "400638133393",
                testsupport::tempPath("") + std::string(1100, '/') + "t14.eps"),
         testsupport::tempPath("t14.eps"), "the file name (saveto) is longer than 1023 bytes"},
        // A lost closing quote takes in the next pair rather than encoding it.
        {"{type:\"Code 128\", data:\"ABC, size:\"80\", saveto:\"" +
             testsupport::tempPath("t15.eps") + "\"}",
         testsupport::tempPath("t15.eps"), "the data runs on into the size key"},
        {"{type:\"EAN 13\", data:\"4006", testsupport::tempPath("t16.eps"), "no closing quote"},
        {record("Code 128", "Cr\xe8me", testsupport::tempPath("t17.eps")),
         testsupport::tempPath("t17.eps"), "the data holds bytes that are not UTF-8: \\xE8"},
        {record("EAN 13", "400638133393", testsupport::tempPath("t18.eps"), ", colour:\"0 0 x\""),
         testsupport::tempPath("t18.eps"), "the colour must be four whole numbers"},
        {record("EAN 13", "400638133393", testsupport::tempPath("t19.eps"),
                ", color:\"0 0 0 101\""),
         testsupport::tempPath("t19.eps"), "the color must be four whole numbers"},
    };
    std::vector<std::string> args;
    for (const auto& b : bad) {
        fs::remove(b.path);  // left by an earlier run
        args.push_back(b.record);
    }
    args.push_back(record("EAN 13", "400638133393", good));
    CliRun r = run(args);
    EXPECT_EQ(r.status, 1);
    for (size_t i = 0; i < std::size(bad); ++i) {
        SCOPED_TRACE(bad[i].says);
        EXPECT_NE(r.err.find("record " + std::to_string(i + 1) + ": "), std::string::npos) << r.err;
        EXPECT_NE(r.err.find(bad[i].says), std::string::npos) << r.err;
        EXPECT_FALSE(fs::exists(bad[i].path));
        EXPECT_FALSE(fs::exists(bad[i].path + ".partial"));
    }
    EXPECT_TRUE(fs::exists(good));  // the other records still run
}

TEST(CommandLine, AFullDiskIsReportedAndDevicesAreNeverReplaced) {
    CliRun r = run({record("EAN 13", "400638133393", "/dev/full")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("disk may be full"), std::string::npos) << r.err;
    EXPECT_TRUE(fs::is_character_file("/dev/full"));
    EXPECT_FALSE(fs::exists("/dev/full.partial"));
}

TEST(CommandLine, UsageErrors) {
    EXPECT_EQ(run({"--dialect=ai99", "{}"}).status, 2);
    EXPECT_EQ(run({"--post=x", "{}"}).status, 2);
    EXPECT_EQ(run({"--frobnicate"}).status, 2);
    EXPECT_EQ(run({}, "").status, 2);
    CliRun help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* word :
         {"saveto", "options", "ai88", "pdf", "\"EAN-UCC 13\"", "\"QRCode\"", "job"})
        EXPECT_NE(help.out.find(word), std::string::npos) << word;
}

}  // namespace
