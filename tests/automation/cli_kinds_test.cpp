// Every output kind through the command line: the text kinds, PDF from EPS,
// images read back, and the failures that must leave nothing behind.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "cli_run.h"
#include "support/grey_image.h"
#include "support/reader.h"

namespace {

namespace fs = std::filesystem;

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

// The bar-font text carries the bar-width reduction as thinner bar glyphs: the
// bars' bytes (128 and above) take the step the reduction gives at the size (at
// most 3 for Code 128), the spaces and the text stay; in a file of its own and in
// a text line alike.
TEST(CommandLineKinds, BarFontTextShowsTheReduction) {
    for (const char* kind : {"--kind=text", "--kind=text-line"}) {
        SCOPED_TRACE(kind);
        std::string texts[3];
        const char* reductions[] = {"0", "60", "200"};  // steps 0, 1 and 3 at 100 %
        for (int k = 0; k < 3; ++k) {
            const std::string path = fresh("reduced-" + std::to_string(k) + ".txt");
            const CliRun r = run({kind, record("Code 128", "ABC", path,
                                               std::string(", bwr:\"") + reductions[k] + "\"")});
            ASSERT_EQ(r.status, 0) << r.err;
            texts[k] = testsupport::slurp(path);
        }
        for (const int step : {1, 3}) {
            const std::string& reduced = texts[step == 1 ? 1 : 2];
            ASSERT_EQ(reduced.size(), texts[0].size());
            int risen = 0;
            for (size_t i = 0; i < reduced.size(); ++i) {
                const auto plain = static_cast<unsigned char>(texts[0][i]);
                const int by = static_cast<unsigned char>(reduced[i]) - plain;
                if (plain < 128) {
                    EXPECT_EQ(by, 0) << "byte " << i;
                }
                risen += by == step;
            }
            EXPECT_GT(risen, 10);  // the narrow bars
        }
    }
}

TEST(CommandLineKinds, TextLinesOfARunGoToOneFile) {
    const std::string path = fresh("lines");
    {
        std::ofstream old(path);
        old << "from an earlier run\r";
    }
    const std::string low = ", height:\"4\"";
    CliRun r = run({"--kind=text-line"}, ean13(path, low) + "\n" +
                                             record("EAN 13", "400638133394", path, low) + "\n" +
                                             record("EAN 13", "400638133395", path, low) + "\n" +
                                             record("Code 128", "12345678", path, low) + "\n");
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string text = testsupport::slurp(path);
    size_t returns = 0;
    for (char c : text) returns += c == '\r';
    EXPECT_EQ(returns, 4u) << text;
    EXPECT_EQ(text.find("earlier"), std::string::npos);
    EXPECT_EQ(text.back(), '\r');
}

// Lines going to another file and back add to the first file's lines: only the
// command's first line for a file replaces it, for records and import runs alike.
TEST(CommandLineKinds, TextLinesComingBackToAFileAreAdded) {
    const std::string a = fresh("back-a.txt"), b = fresh("back-b.txt");
    const std::string sameA = fresh("back-same-a.txt"), sameB = fresh("back-same-b.txt");
    std::ofstream(a) << "from an earlier run\r";
    const std::string imports = fresh("back.csv");
    std::ofstream(imports) << "I1\nI2\n";
    const std::string importTo = "{type:\"Code 128\", data:\"<<1>>\", import:\"" + imports;
    CliRun r = run({"--kind=text-line", record("Code 128", "11", a), record("Code 128", "22", b),
                    record("Code 128", "33", a), importTo + "\", saveto:\"" + b + "\"}",
                    importTo + "\", saveto:\"" + a + "\"}"});
    ASSERT_EQ(r.status, 0) << r.err;
    // The same lines, each file's in one unbroken run.
    ASSERT_EQ(run({"--kind=text-line", record("Code 128", "11", sameA),
                   record("Code 128", "33", sameA), importTo + "\", saveto:\"" + sameA + "\"}"})
                  .status,
              0);
    ASSERT_EQ(run({"--kind=text-line", record("Code 128", "22", sameB),
                   importTo + "\", saveto:\"" + sameB + "\"}"})
                  .status,
              0);
    EXPECT_EQ(testsupport::slurp(a), testsupport::slurp(sameA));
    EXPECT_EQ(testsupport::slurp(b), testsupport::slurp(sameB));
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

// A folder put first on PATH with a ps2pdf of the given script body.
std::string converterFolder(const std::string& name, const std::string& body) {
    const std::string bin = fresh(name);
    fs::create_directories(bin);
    std::ofstream(bin + "/ps2pdf") << "#!/bin/sh\n" << body << "\n";
    fs::permissions(bin + "/ps2pdf", fs::perms::owner_all | fs::perms::group_read |
                                         fs::perms::group_exec | fs::perms::others_read |
                                         fs::perms::others_exec);
    return bin;
}

CliRun withConverter(const std::string& bin, const std::vector<std::string>& args) {
    const std::string keepPath = getenv("PATH") ? getenv("PATH") : "";
    setenv("PATH", (bin + ":" + keepPath).c_str(), 1);
    CliRun r = run(args);
    setenv("PATH", keepPath.c_str(), 1);
    return r;
}

// A converter that exits 0 after its output was cut short (a full disk) makes
// no PDF: the EPS is kept, and the message says why, not to install it. A
// whole PDF ends in its cross-reference offset and end mark, blanks after.
TEST(CommandLineKinds, APdfCutShortIsNoSuccess) {
    const std::string folder = fresh("pdf-cut-short");
    fs::create_directories(folder);
    const std::string pdf = folder + "/x.pdf";
    const std::string head = "%PDF-1.4\n1 0 obj\n<< >>\nendobj\n";
    const std::string whole = head + "xref\n0 1\n0000000000 65535 f \ntrailer\n<< >>\nstartxref\n" +
                              std::to_string(head.size()) + "\n%%EOF\n\n";
    for (const std::string& made :
         {head, head + "xref\n0 1\n", whole.substr(0, whole.size() - 4)}) {
        const std::string bin =
            converterFolder("cut-bin", "cat > \"$3\" <<'END'\n" + made + "\nEND");
        const CliRun r = withConverter(bin, {"--kind=pdf-from-eps", ean13(pdf)});
        EXPECT_EQ(r.status, 1) << made;
        EXPECT_NE(r.err.find("The PDF file could not be written"), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find("Install Ghostscript"), std::string::npos) << r.err;
        EXPECT_FALSE(fs::exists(pdf));
        EXPECT_EQ(testsupport::slurp(folder + "/x.eps").rfind("%!PS-Adobe-3.0 EPSF-3.0", 0), 0u);
        fs::remove(folder + "/x.eps");
    }
    const std::string bin = converterFolder("whole-bin", "cat > \"$3\" <<'END'\n" + whole + "END");
    const CliRun r = withConverter(bin, {"--kind=pdf-from-eps", ean13(pdf)});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(testsupport::slurp(pdf), whole);
}

// A failing converter keeps the EPS beside the PDF's name and says so, but
// never over the EPS file the command reads its settings from.
TEST(CommandLineKinds, TheKeptEpsNeverReplacesTheOpenedOne) {
    const std::string folder = fresh("kept-eps");
    fs::create_directories(folder);
    const std::string opened = folder + "/x.eps";
    ASSERT_EQ(run({record("Code 128", "ORIGINAL", opened)}).status, 0);
    const std::string before = testsupport::slurp(opened);
    const std::string bin = converterFolder("failing-bin", "exit 1");
    CliRun r = withConverter(bin, {"--kind=pdf-from-eps", "--open", opened,
                                   "{data:\"NEWDATA\", saveto:\"" + folder + "/x.pdf\"}"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("the file --open reads (x.eps)"), std::string::npos) << r.err;
    EXPECT_EQ(testsupport::slurp(opened), before);
    EXPECT_FALSE(fs::exists(folder + "/x.pdf"));
    // Another name's EPS is kept, and the message names where.
    r = withConverter(bin, {"--kind=pdf-from-eps", "--open", opened,
                            "{data:\"NEWDATA\", saveto:\"" + folder + "/y.pdf\"}"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("/y.eps)"), std::string::npos) << r.err;
    EXPECT_NE(testsupport::slurp(folder + "/y.eps").find("NEWDATA"), std::string::npos);
    EXPECT_EQ(testsupport::slurp(opened), before);
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
    for (const char* kind : {"text", "text-line", "vector", "pdf-from-eps", "tiff"}) {
        SCOPED_TRACE(kind);
        const bool vector = std::string(kind) == "vector" || std::string(kind) == "pdf-from-eps";
        const bool image = std::string(kind) == "tiff";
        const std::string ext = vector ? ".pdf" : image ? ".tif" : ".txt";
        if (image) fs::create_directories(folder + "/a-folder.tif");
        CliRun r = run({std::string("--kind=") + kind, ean13(folder + "/a-folder" + ext)});
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find("could not"), std::string::npos) << r.err;
        r = run({std::string("--kind=") + kind, ean13("/dev/full")});
        EXPECT_EQ(r.status, 1) << r.err;
        if (getuid() != 0) {
            ::chmod(folder.c_str(), 0555);
            r = run({std::string("--kind=") + kind, ean13(vector  ? folder + "/new.pdf"
                                                          : image ? folder + "/new.tif"
                                                                  : old)});
            ::chmod(folder.c_str(), 0755);
            EXPECT_EQ(r.status, 1) << r.err;
        }
        EXPECT_EQ(testsupport::slurp(old), "old");
        size_t entries = 0;
        for ([[maybe_unused]] const auto& e : fs::directory_iterator(folder)) ++entries;
        EXPECT_EQ(entries, image ? 4u : 3u);
    }
}

// An image file read by our own reader (libtiff, or a PGM) as grey pixels.
testsupport::Bitmap greyOf(const std::string& path) { return testsupport::greyOfImage(path); }

std::string decodeEan(const testsupport::Bitmap& b) {
    return testsupport::decode(testsupport::padBitmap(b, 40), "EAN-13").text;
}

// An image wider than a side may be is refused with that reason and the size
// that fits, not taken for a lack of memory; no file is written.
TEST(CommandLineKinds, AnImageWiderThanItsSideMayBeSaysSo) {
    const std::string data(253, 'W');
    for (const char* ext : {".tif", ".bmp"}) {
        SCOPED_TRACE(ext);
        const std::string path = fresh(std::string("wide") + ext);
        const CliRun r = run({record("Code 128", data, path, ", size:\"200\"")});
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find("holds at most 32767 pixels a side"), std::string::npos) << r.err;
        EXPECT_FALSE(fs::exists(path));
    }
}

TEST(CommandLineKinds, TiffIsReadBackAtItsTrueSize) {
    const std::string tif = fresh("ean.tif"), eps = fresh("ean.eps"), red = fresh("red.tif");
    ASSERT_EQ(run({ean13(tif), ean13(eps), ean13(red, ", colour:\"0 100 100 0\"")}).status, 0);
    const testsupport::Bitmap b = greyOf(tif);
    EXPECT_EQ(decodeEan(b), "4006381333931");
    EXPECT_EQ(decodeEan(greyOf(red)), "4006381333931");
    // The pixels at 600 dpi give the EPS's bounding box.
    const std::string text = testsupport::slurp(eps);
    const size_t at = text.find("%%BoundingBox: ");
    ASSERT_NE(at, std::string::npos);
    int llx = 0, lly = 0, urx = 0, ury = 0;
    ASSERT_EQ(
        std::sscanf(text.c_str() + at, "%%%%BoundingBox: %d %d %d %d", &llx, &lly, &urx, &ury), 4);
    EXPECT_NEAR(b.width, (urx - llx) * 600.0 / 72, 1);
    EXPECT_NEAR(b.height, (ury - lly) * 600.0 / 72, 1);
    if (!testsupport::requireProgram("tiffinfo", "libtiff-tools")) return;
    const testsupport::RunResult info = testsupport::runCommand("tiffinfo " + red);
    EXPECT_NE(info.out.find("palette color"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("PackBits"), std::string::npos) << info.out;
}

TEST(CommandLineKinds, BitmapsReadByImageMagick) {
    if (!testsupport::requireProgram("/usr/bin/convert", "imagemagick")) return;
    const std::string bmp = fresh("ean.bmp"), big = fresh("big72.bmp");
    ASSERT_EQ(run({ean13(bmp)}).status, 0);
    ASSERT_EQ(run({"--kind=bmp72", ean13(big, ", size:\"200\"")}).status, 0);
    for (const std::string& path : {bmp, big}) {
        const std::string pgm = path + ".pgm";
        ASSERT_EQ(
            testsupport::runCommand("/usr/bin/convert " + path + " -depth 8 pgm:" + pgm).status, 0);
        testsupport::Bitmap b;
        ASSERT_TRUE(testsupport::readPGM(pgm, &b)) << path;
        EXPECT_EQ(decodeEan(b), "4006381333931") << path;
    }
}

// The EPS and the preview TIFF of a PC EPS file, written apart by the header's
// offsets to eps and tif.
void splitPcEps(const std::string& path, const std::string& eps, const std::string& tif) {
    const std::string file = testsupport::slurp(path);
    ASSERT_GT(file.size(), 30u);
    auto word = [&file](size_t at) {
        uint32_t v = 0;
        for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<uint8_t>(file[at + i]);
        return v;
    };
    EXPECT_EQ(file.substr(0, 4), "\xC5\xD0\xD3\xC6");
    const uint32_t psAt = word(4), psLength = word(8), tiffAt = word(20), tiffLength = word(24);
    EXPECT_EQ(psAt, 30u);
    EXPECT_EQ(tiffAt, psAt + psLength);
    EXPECT_EQ(tiffAt + tiffLength, file.size());
    EXPECT_EQ(file.substr(28, 2), "\xFF\xFF");
    std::ofstream(eps, std::ios::binary) << file.substr(psAt, psLength);
    std::ofstream(tif, std::ios::binary) << file.substr(tiffAt, tiffLength);
}

TEST(CommandLineKinds, PcEpsHeaderEpsAndPreview) {
    const std::string path = fresh("pc.eps");
    ASSERT_EQ(run({"--kind=pc-eps", ean13(path)}).status, 0);
    const std::string eps = fresh("pc-part.eps"), tif = fresh("pc-preview.tif");
    ASSERT_NO_FATAL_FAILURE(splitPcEps(path, eps, tif));
    const testsupport::Rendered page = testsupport::renderWithGhostscript(eps, 300);
    ASSERT_TRUE(page.ok) << page.err;
    EXPECT_EQ(decodeEan(page.bitmap), "4006381333931");
    const testsupport::Bitmap preview = greyOf(tif);
    EXPECT_EQ(preview.width, 109);  // one pixel a point
    if (!testsupport::requireProgram("tiffinfo", "libtiff-tools")) return;
    const testsupport::RunResult info = testsupport::runCommand("tiffinfo " + tif);
    EXPECT_NE(info.out.find("Bits/Sample: 1"), std::string::npos) << info.out;
}

// A one-bit preview shows every bar colour black, however light: red, yellow and
// a light grey are above the red threshold that black and white are judged by.
TEST(CommandLineKinds, PcEpsPreviewShowsColouredBars) {
    for (const char* colour : {"0 0 0 100", "0 100 100 0", "0 0 100 0", "0 0 0 40"}) {
        SCOPED_TRACE(colour);
        const std::string path = fresh("colour.eps"), tif = fresh("colour.tif");
        const std::string more = std::string(", size:\"200\", colour:\"") + colour + "\"";
        ASSERT_EQ(run({"--kind=pc-eps", ean13(path, more)}).status, 0);
        ASSERT_NO_FATAL_FAILURE(splitPcEps(path, fresh("colour-part.eps"), tif));
        EXPECT_EQ(decodeEan(greyOf(tif)), "4006381333931");
    }
}

TEST(CommandLineKinds, PictureFileDrawnByAnotherProgram) {
    const std::string path = fresh("ean.pic");
    ASSERT_EQ(run({ean13(path)}).status, 0);
    const std::string file = testsupport::slurp(path);
    ASSERT_GT(file.size(), 512u + 10);
    EXPECT_EQ(file.substr(0, 512), std::string(512, '\0'));
    if (!testsupport::requireProgram("soffice", "libreoffice")) return;
    const std::string out = fresh("lo");
    const testsupport::RunResult r = testsupport::runCommand(
        "soffice -env:UserInstallation=file://" + out +
        "/profile --headless --convert-to pdf --outdir " + out + " " + path);
    ASSERT_EQ(r.status, 0) << r.err;
    // The import takes the frame's units as points: the page is large, so a low
    // resolution shows the symbol at a readable size.
    const testsupport::RunResult png =
        testsupport::runCommand("pdftoppm -r 20 -gray " + out + "/ean.pdf " + out + "/page");
    ASSERT_EQ(png.status, 0) << png.err;
    testsupport::Bitmap b;
    ASSERT_TRUE(testsupport::readPGM(out + "/page-1.pgm", &b));
    EXPECT_EQ(decodeEan(b), "4006381333931");
}

// The module and row painters draw every two-dimensional family into pictures,
// so image files of them read back as their data.
TEST(CommandLineKinds, TwoDimensionalSymbolsInTiffReadBack) {
    for (const auto& c : testsupport::readCases("automation/readback_tiff.txt", 4)) {
        SCOPED_TRACE(c[0]);
        const std::string path = fresh(c[0]);
        CliRun r = run({record(c[2], path)});
        ASSERT_EQ(r.status, 0) << r.err;
        const testsupport::Decoded d =
            testsupport::decode(testsupport::padBitmap(greyOf(path), 40), c[1]);
        EXPECT_TRUE(d.ok) << d.error;
        EXPECT_EQ(d.text, c[3]);
    }
}

}  // namespace
