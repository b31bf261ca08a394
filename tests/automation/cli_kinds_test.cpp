// Every output kind through the command line: --kind and the extensions, the
// text kinds, PDF from EPS, and the failures that must leave nothing behind.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "cli_run.h"
#include "support/reader.h"

namespace {

namespace fs = std::filesystem;

std::string fresh(const std::string& name) {
    const std::string p = testsupport::tempPath(name);
    fs::remove_all(p);
    return p;
}

std::string ean13(const std::string& saveto, const std::string& data = "400638133393",
                  const std::string& more = "") {
    return "{type:\"EAN 13\", data:\"" + data + "\"" + more + ", saveto:\"" + saveto + "\"}";
}

TEST(CommandLineKinds, KindsMustAgreeWithTheFileName) {
    struct {
        std::vector<std::string> flags;
        const char* file;
        const char* says;
    } refused[] = {
        {{"--kind=tiff"}, "x.eps", "--kind=tiff writes files ending in .tif .tiff"},
        {{"--kind=bmp72"}, "x.tif", "--kind=bmp72 writes files ending in .bmp"},
        {{"--kind=pc-eps", "--dialect=pdf"}, "x.eps", "needs an EPS dialect"},
        {{"--kind=pc-eps", "--post=ps"}, "x.eps", "--kind=pc-eps writes EPS"},
        {{"--dialect=ai5"}, "x.tif", "--dialect is for EPS, PostScript and PDF files"},
        {{"--kind=text", "--post=job"}, "x.txt", "--post is for EPS, PostScript and PDF files"},
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
    EXPECT_EQ(run({"--kind=gif", ean13(fresh("x.gif"))}).status, 2);
    // The help lists every kind with its number.
    const CliRun help = run({"--help"});
    for (const char* kind : {"picture", "text-utf16", "vector", "pc-eps", "tiff", "bmp72", "bmp300",
                             "text-line", "pdf-from-eps"})
        EXPECT_NE(help.out.find(std::string("  ") + kind + " "), std::string::npos) << kind;
}

TEST(CommandLineKinds, BarFontTextInMacRomanAndUtf16) {
    const std::string plain = fresh("bars.txt"), wide = fresh("wide.txt"),
                      byNumber = fresh("n.txt");
    CliRun r = run({ean13(plain)});
    ASSERT_EQ(r.status, 0) << r.err;
    r = run({"--kind=text-utf16", ean13(wide)});
    ASSERT_EQ(r.status, 0) << r.err;
    r = run({"--kind=1", ean13(byNumber)});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string a = testsupport::slurp(plain), w = testsupport::slurp(wide);
    ASSERT_FALSE(a.empty());
    EXPECT_EQ(testsupport::slurp(byNumber), a);
    // Each byte one 16-bit unit, each carriage return a CR LF pair, after FE FF.
    size_t returns = 0;
    for (char c : a) returns += c == '\r';
    ASSERT_EQ(w.size(), 2 + 2 * a.size() + 2 * returns);
    EXPECT_EQ(w.substr(0, 2), "\xFE\xFF");
    EXPECT_EQ(w.substr(2, 2), std::string("\0", 1) + a[0]);
}

TEST(CommandLineKinds, TextLinesOfARunGoToOneFile) {
    const std::string path = fresh("lines");
    {
        std::ofstream old(path);
        old << "from an earlier run\r";
    }
    const std::string low = ", height:\"4\"";
    CliRun r = run({"--kind=text-line"}, ean13(path, "400638133393", low) + "\n" +
                                             ean13(path, "400638133394", low) + "\n" +
                                             ean13(path, "400638133395", low) + "\n");
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string text = testsupport::slurp(path);
    size_t returns = 0;
    for (char c : text) returns += c == '\r';
    EXPECT_EQ(returns, 3u) << text;
    EXPECT_EQ(text.find("earlier"), std::string::npos);
    EXPECT_EQ(text.back(), '\r');
}

TEST(CommandLineKinds, PdfFromEpsPassesQpdf) {
    if (!testsupport::requireProgram("ps2pdf", "ghostscript")) return;
    const std::string folder = fresh("pdf-from-eps");
    fs::create_directories(folder);
    CliRun r = run({"--kind=pdf-from-eps", ean13(folder + "/-dash.pdf")});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string pdf = folder + "/-dash.pdf";
    EXPECT_EQ(testsupport::qpdfCheck(pdf).status, 0);
    // Only the PDF is left: neither the EPS nor a temporary.
    size_t files = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(folder)) ++files;
    EXPECT_EQ(files, 1u);
    const testsupport::Rendered page = testsupport::renderWithGhostscript(pdf, 300, false);
    ASSERT_TRUE(page.ok) << page.err;
    const testsupport::Decoded d = testsupport::decode(page.bitmap, "EAN-13");
    EXPECT_EQ(d.text, "4006381333931") << d.error;
}

TEST(CommandLineKinds, WithoutTheConverterTheEpsIsKept) {
    const std::string folder = fresh("no-converter");
    fs::create_directories(folder);
    const std::string keepPath = getenv("PATH") ? getenv("PATH") : "";
    setenv("PATH", folder.c_str(), 1);
    CliRun r = run({"--kind=8", ean13(folder + "/x.pdf")});
    setenv("PATH", keepPath.c_str(), 1);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("EPS file was kept"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(folder + "/x.pdf"));
    EXPECT_EQ(testsupport::slurp(folder + "/x.eps").rfind("%!PS-Adobe-3.0 EPSF-3.0", 0), 0u);
}

// An unwritable folder, a full disk and a name that is a folder: a message, exit
// status 1, nothing left behind and the file of that name as it was.
TEST(CommandLineKinds, FailuresLeaveNothingBehind) {
    const std::string folder = fresh("refusing");
    fs::create_directories(folder + "/a-folder.txt");
    fs::create_directories(folder + "/a-folder.pdf");
    const std::string old = folder + "/old.txt";
    {
        std::ofstream f(old);
        f << "old";
    }
    for (const char* kind : {"text", "text-line", "vector", "pdf-from-eps"}) {
        SCOPED_TRACE(kind);
        const bool vector = std::string(kind) == "vector" || std::string(kind) == "pdf-from-eps";
        const std::string ext = vector ? ".pdf" : ".txt";
        CliRun r = run({std::string("--kind=") + kind, ean13(folder + "/a-folder" + ext)});
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find("could not"), std::string::npos) << r.err;
        r = run({std::string("--kind=") + kind, ean13("/dev/full")});
        EXPECT_EQ(r.status, 1) << r.err;
        if (getuid() != 0) {
            ::chmod(folder.c_str(), 0555);
            r = run({std::string("--kind=") + kind, ean13(vector ? folder + "/new.pdf" : old)});
            ::chmod(folder.c_str(), 0755);
            EXPECT_EQ(r.status, 1) << r.err;
        }
        EXPECT_EQ(testsupport::slurp(old), "old");
        size_t entries = 0;
        for ([[maybe_unused]] const auto& e : fs::directory_iterator(folder)) ++entries;
        EXPECT_EQ(entries, 3u);
    }
}

}  // namespace
