// Symbols made by the command line, rendered by Ghostscript (and pdftoppm), read
// back by zxing-cpp: every dialect must carry exactly the data.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <sstream>
#include <tuple>
#include <string>
#include <vector>

#include "cli_run.h"
#include "support/grey_image.h"

namespace {

const char* const kDialects[][2] = {{"--dialect=ai1", ".eps"},   {"--dialect=ai88", ".eps"},
                                    {"--dialect=ai3", ".eps"},   {"--dialect=ai5", ".eps"},
                                    {"--dialect=press", ".eps"}, {"--dialect=pdf", ".pdf"},
                                    {"--dialect=ps", ".ps"}};

// Cases: name | zxing format ("+": with an EAN add-on) | the record's keys | the text read.
std::vector<testsupport::CaseLine> cases(const char* file) {
    return testsupport::readCases(std::string("automation/") + file, 4);
}

bool make(const std::vector<std::string>& args) {
    const CliRun r = run(args);
    EXPECT_EQ(r.status, 0) << r.err;
    return r.status == 0;
}

// The text read, after the symbology identifier when the case expects one.
std::string read(const std::string& path, const testsupport::CaseLine& c) {
    const testsupport::Bitmap b = rendered(path);
    const bool addOn = c[1].back() == '+';
    const std::string format = addOn ? c[1].substr(0, c[1].size() - 1) : c[1];
    const testsupport::Decoded d =
        addOn ? testsupport::decodeWithAddOn(b, format) : testsupport::decode(b, format);
    return c[3][0] == ']' ? d.symbologyId + d.text : d.text;
}

TEST(CommandLineSymbols, ReadBackInEveryDialect) {
    for (const auto& dialect : kDialects)
        for (const auto& c : cases("readback.txt")) {
            SCOPED_TRACE(c[0] + " " + dialect[0]);
            const std::string path = testsupport::tempPath(c[0] + dialect[1]);
            if (make({dialect[0], record(c[2], path)})) {
                EXPECT_EQ(read(path, c), c[3]);
            }
        }
}

TEST(CommandLineSymbols, ReadBackFromTheEps) {
    for (const auto& c : cases("readback_eps.txt")) {
        SCOPED_TRACE(c[0]);
        const std::string path = testsupport::tempPath(c[0] + ".eps");
        if (!make({record(c[2], path)})) continue;
        EXPECT_EQ(read(path, c), c[3]);
        // The symbol stands inside its box; a low one keeps its bars, not only the text.
        double llx = 0, lly = 0, urx = 0, ury = 0;
        ASSERT_TRUE(testsupport::inkBoundingBox(path, &llx, &lly, &urx, &ury));
        EXPECT_GE(llx, -0.01);
        EXPECT_GE(lly, -0.01);
        if (c[0].rfind("low", 0) == 0) {
            EXPECT_GT(urx - llx, 60);
        }
    }
    // The coupon shows its whole header.
    EXPECT_NE(testsupport::slurp(testsupport::tempPath("coupon.eps")).find("0614141-654321"),
              std::string::npos);
}

// A PDF417 whose rows come out under 2 mm at a small size is still drawn as a
// symbol, never set as its text.
TEST(CommandLineSymbols, ASmallPdf417IsDrawn) {
    const std::string path = testsupport::tempPath("pdf417_22.eps");
    ASSERT_TRUE(make({record("type:\"PDF417\", data:\"Small PDF417\", size:\"22\"", path)}));
    EXPECT_EQ(testsupport::decode(rendered(path, 2400), "PDF417").text, "Small PDF417");
}

TEST(CommandLineSymbols, BarWidthReductionStillReads) {
    for (const auto& c : cases("readback.txt")) {
        SCOPED_TRACE(c[0]);
        const std::string path = testsupport::tempPath(c[0] + "_bwr.eps");
        if (make({record(c[2] + ", bwr:\"20\"", path)})) {
            EXPECT_EQ(read(path, c), c[3]);
        }
    }
}

// The document's own "%%HiResBoundingBox:" or "%%BoundingBox:" (llx, lly, urx, ury).
std::array<double, 4> declaredBox(const std::string& path, const char* comment) {
    const std::string doc = testsupport::slurp(path);
    const size_t at = doc.find(comment);
    std::array<double, 4> box{-1, -1, -1, -1};
    if (at == std::string::npos) return box;
    std::istringstream numbers(doc.substr(at + std::string(comment).size(), 80));
    numbers >> box[0] >> box[1] >> box[2] >> box[3];
    return box;
}

TEST(CommandLineSymbols, InkInsideTheBoxAndTheBoxFitsTheSymbol) {
    for (const auto& c : cases("readback.txt")) {
        SCOPED_TRACE(c[0]);
        const std::string path = testsupport::tempPath(c[0] + "_box.eps");
        if (!make({record(c[2], path)})) continue;
        double llx = 0, lly = 0, urx = 0, ury = 0;
        ASSERT_TRUE(testsupport::inkBoundingBox(path, &llx, &lly, &urx, &ury));
        const auto box = declaredBox(path, "%%HiResBoundingBox: ");
        EXPECT_GE(llx, box[0] - 0.01);
        EXPECT_GE(lly, box[1] - 0.01);
        EXPECT_LE(urx, box[2] + 0.01);
        EXPECT_LE(ury, box[3] + 0.01);
        // The declared box holds the symbol with its light margins, not a page
        // around it. Interleaved 2 of 5 sets its light-margin marks 12 points in
        // from each side.
        const double slack = c[1] == "ITF" ? 30 : 6;
        EXPECT_LE((box[2] - box[0]) - (urx - llx), slack);
        EXPECT_LE((box[3] - box[1]) - (ury - lly), 6.0);
    }
}

TEST(CommandLineSymbols, PdfPassesQpdfAndPdftoppm) {
    const std::string path = testsupport::tempPath("ean.pdf");
    ASSERT_TRUE(make({ean13(path)}));
    testsupport::RunResult q = testsupport::qpdfCheck(path);
    EXPECT_EQ(q.status, 0) << q.out << q.err;
    testsupport::RunResult p = testsupport::pdftoppm(path, testsupport::tempPath("page"));
    EXPECT_EQ(p.status, 0);
    EXPECT_EQ(p.err, "");
    testsupport::RunResult f = testsupport::runCommand("pdffonts '" + path + "'");
    EXPECT_EQ(f.status, 0) << f.err;
    EXPECT_NE(f.out.find("Helvetica "), std::string::npos) << f.out;
}

// Every row of a tall PDF417 stands inside its box, the last one too.
TEST(CommandLineSymbols, TallPdf417StaysInItsBox) {
    const std::string data(150, 'x');
    const std::string path = testsupport::tempPath("tallpdf.eps");
    ASSERT_TRUE(make({record("PDF417", data, path)}));
    double llx = 0, lly = 0, urx = 0, ury = 0;
    ASSERT_TRUE(testsupport::inkBoundingBox(path, &llx, &lly, &urx, &ury));
    EXPECT_GE(lly, -0.01);
    EXPECT_EQ(read(path, {"", {"", "PDF417", "", data}}), data);
}

// A linear symbol whose text needs more height than it has had its bars painted
// upside down, above the bounding box; the lowest heights that leave the bars
// room stay in their box (the lower ones are refused).
TEST(CommandLineSymbols, TheLowestLinearSymbolsStayInTheirBox) {
    for (const char* keys : {R"(type:"EAN 13", data:"400638133393", size:"100", height:"4")",
                             R"(type:"Code 128", data:"ABC123", size:"100", height:"8")",
                             R"(type:"Code 128", data:"ABC123", size:"327", height:"24")"}) {
        SCOPED_TRACE(keys);
        const std::string path = testsupport::tempPath("low.eps");
        ASSERT_TRUE(make({record(keys, path)}));
        double llx = 0, lly = 0, urx = 0, ury = 0;
        ASSERT_TRUE(testsupport::inkBoundingBox(path, &llx, &lly, &urx, &ury));
        EXPECT_GE(lly, -0.5);
        EXPECT_LE(ury, declaredBox(path, "%%BoundingBox:")[3] + 0.5);
    }
}

// UPC-A's check digit stands right of the bars, past the quiet zone; at a
// large size it reached past the bounding box (and was cut off where the
// symbol was placed). Every check digit, since each has a place of its own.
TEST(CommandLineSymbols, UpcCheckDigitStaysInItsBox) {
    for (char last = '0'; last <= '9'; ++last) {
        const std::string data = std::string("0720005829") + last;
        SCOPED_TRACE(data);
        const std::string path = testsupport::tempPath("upc327.eps");
        ASSERT_TRUE(make({record("UPC A", data, path, ", size:\"327\"")}));
        double llx = 0, lly = 0, urx = 0, ury = 0;
        ASSERT_TRUE(testsupport::inkBoundingBox(path, &llx, &lly, &urx, &ury));
        EXPECT_LE(urx, declaredBox(path, "%%BoundingBox:")[2]);
    }
}

// The ink of a PostScript file moved 100 points up and right, moved back: ink
// left of or below the page's corner counts too.
std::array<double, 4> inkAnywhere(const std::string& path) {
    const testsupport::RunResult r = testsupport::runCommand(
        "gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=bbox -c '100 100 translate' -f '" + path + "'");
    const std::string all = r.err + r.out;
    std::istringstream in(all.substr(std::min(all.size(), all.find("%%HiResBoundingBox:") + 19)));
    std::array<double, 4> box{};
    for (double& v : box) in >> v, v -= 100;
    return box;
}

// The lowest edge of the dark rectangles (the bars) of an EPS this program
// wrote; `rest` gets the document without them: its text and marks. The
// prolog is passed over.
double lowestBar(const std::string& doc, std::string* rest) {
    double lowest = 1e9, y = 0;
    std::vector<std::string> path;
    bool dark = false;
    const size_t setUp = doc.find("%%EndSetup");
    *rest = doc.substr(0, setUp);
    std::istringstream in(doc.substr(setUp));
    for (std::string line; std::getline(in, line, '\r');) {
        std::string w[5];
        std::istringstream(line) >> w[0] >> w[1] >> w[2] >> w[3] >> w[4];
        if (w[2] == "m" || w[2] == "L") {
            path.push_back(line);
            y = path.size() == 1 ? std::stod(w[1]) : std::min(y, std::stod(w[1]));
            continue;
        }
        if (w[4] == "k") dark = w[3] != "0";
        if (line == "f" && path.size() == 5 && dark) {
            lowest = std::min(lowest, y);
        } else {
            for (const std::string& p : path) *rest += p + '\r';
            *rest += line + '\r';
        }
        path.clear();
    }
    return lowest;
}

// Royal Mail, KIX and POSTNET hang their bars a text unit a band from the box's
// top whatever the height set: at larger sizes (and POSTNET at its own) the
// bars ran out of the box and over the text line.
TEST(CommandLineSymbols, PostalSymbolsStandWholeInTheirBox) {
    for (const auto& [type, data, bands] :
         {std::tuple{"Royal Mail", "SN34RD1A", 3}, std::tuple{"KIX NL", "SN34RD1A", 3},
          std::tuple{"Postnet ZIP 4+", "12345", 2}})
        for (int size : {50, 100, 200}) {
            SCOPED_TRACE(std::string(type) + " at " + std::to_string(size) + " %");
            const std::string eps = testsupport::tempPath("postal.eps");
            const std::string tif = testsupport::tempPath("postal.tif");
            const std::string keys = ", size:\"" + std::to_string(size) + "\"";
            ASSERT_TRUE(make({record(type, data, eps, keys), record(type, data, tif, keys)}));
            const auto box = declaredBox(eps, "%%HiResBoundingBox: ");
            const auto ink = inkAnywhere(eps);
            for (int k : {0, 1}) {
                EXPECT_GE(ink[k], box[k] - 0.05);
                EXPECT_LE(ink[k + 2], box[k + 2] + 0.05);
            }
            const std::string text = testsupport::tempPath("postal_text.eps");
            std::string rest;
            const double barsBottom = lowestBar(testsupport::slurp(eps), &rest);
            std::ofstream(text, std::ios::binary) << rest;
            const auto textInk = inkAnywhere(text);
            EXPECT_LE(textInk[3], barsBottom);
            if (bands == 3) {  // the line, not the light-margin marks alone
                EXPECT_GT(textInk[3] - textInk[1], size / 10);
            }

            // The picture: the full bars as long as their bands, a light row under them.
            const testsupport::Bitmap b = testsupport::greyOfImage(tif);
            ASSERT_GT(b.height, 0);
            int run = 0, under = 0;
            for (int x = 0; x < b.width; ++x)
                for (int y = 0, start = 0; y <= b.height; ++y)
                    if (y == b.height || b.at(x, y) >= 128) {
                        if (y - start > run) run = y - start, under = y;
                        start = y + 1;
                    }
            const double pixelsPerPoint = b.height / (box[3] - box[1]);
            EXPECT_GE(run, 0.95 * bands * (size / 10) * pixelsPerPoint);
            int darkUnder = 0;
            for (int x = 0; x < b.width && under < b.height; ++x) darkUnder += b.at(x, under) < 128;
            EXPECT_EQ(darkUnder, 0);
            if (bands == 3) {  // the text line's room
                EXPECT_LT(under, b.height - size / 10 * pixelsPerPoint);
            }
        }
}

}  // namespace
