// The picture, image and print paths against the EPS of the same symbol: the
// same rows, the same text, every mark inside the box.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "app/world.h"
#include "automation/options.h"
#include "cli_run.h"
#include "labels/labelDoc.h"
#include "labels/labelFile.h"
#include "picture/symbolbox.h"
#include "support/grey_image.h"
#include "support/label_document.h"
#include "support/reader.h"
#include "symbology/messages.h"
#include "symbology/state.h"

namespace {

constexpr int kDpi = 600;

// An image file as grey pixels, read by our own reader (libtiff).
testsupport::Bitmap imageOf(const std::string& path) {
    std::string error;
    const testsupport::Bitmap b = testsupport::greyOfImage(path, &error);
    if (!error.empty()) ADD_FAILURE() << path << ": " << error;
    return b;
}

struct InkRows {
    int first = -1, last = -1;
};
// The first and last rows (or columns) holding ink.
InkRows inkSpan(const testsupport::Bitmap& b, bool columns) {
    InkRows r;
    const int outer = columns ? b.width : b.height, inner = columns ? b.height : b.width;
    for (int a = 0; a < outer; ++a)
        for (int c = 0; c < inner; ++c)
            if ((columns ? b.at(a, c) : b.at(c, a)) < 128) {
                if (r.first < 0) r.first = a;
                r.last = a;
                break;
            }
    return r;
}
InkRows inkRows(const testsupport::Bitmap& b) { return inkSpan(b, false); }
InkRows inkColumns(const testsupport::Bitmap& b) { return inkSpan(b, true); }

// PDF417's rows are as high in the TIFF as in the EPS, and fill the picture's
// box down to its bottom.
TEST(OutputsAgree, StackedRowsAsHighInTiffAsInEps) {
    for (const char* type : {"PDF417", "Micro PDF417"}) {
        SCOPED_TRACE(type);
        const std::string tif = fresh("rows.tif"), eps = fresh("rows.eps");
        const std::string keys =
            std::string("type:\"") + type + "\", data:\"PDF417 symbol text, 2024\"";
        ASSERT_EQ(run({record(keys, tif), record(keys, eps)}).status, 0);
        const testsupport::Bitmap image = imageOf(tif);
        const InkRows tiffInk = inkRows(image);
        const testsupport::Rendered page = testsupport::renderWithGhostscript(eps, kDpi);
        ASSERT_TRUE(page.ok) << page.err;
        const InkRows epsInk = inkRows(page.bitmap);
        ASSERT_GE(tiffInk.first, 0);
        EXPECT_NEAR(tiffInk.last - tiffInk.first, epsInk.last - epsInk.first, 4);
        EXPECT_GE(tiffInk.last, image.height - 16) << "a blank band under the rows";
        // The reader takes PDF417 only; MicroPDF417's rows are the same painter's.
        if (std::string(type) == "PDF417") {
            EXPECT_EQ(testsupport::decode(testsupport::padBitmap(image, 40), "PDF417").text,
                      "PDF417 symbol text, 2024");
        }
    }
}

// A DataMatrix fills its box from the left edge in the TIFF as in the EPS, so
// that its last column is whole.
TEST(OutputsAgree, DataMatrixAsWideInTiffAsInEps) {
    const std::string tif = fresh("dm.tif"), eps = fresh("dm.eps");
    const std::string keys = R"(type:"Datamatrix", data:"HELLO WORLD 123", size:"327")";
    ASSERT_EQ(run({record(keys, tif), record(keys, eps)}).status, 0);
    const testsupport::Bitmap image = imageOf(tif);
    const testsupport::Rendered page = testsupport::renderWithGhostscript(eps, kDpi);
    ASSERT_TRUE(page.ok) << page.err;
    const InkRows tiffInk = inkColumns(image), epsInk = inkColumns(page.bitmap);
    ASSERT_GE(tiffInk.first, 0);
    EXPECT_NEAR(tiffInk.last - tiffInk.first, epsInk.last - epsInk.first, 2);
    EXPECT_LT(tiffInk.last, image.width - 1) << "the last column runs off the picture";
}

// The box of a QR Code or DataMatrix EPS is its modules, as the PDF's page is,
// whatever bar height the record gives.
TEST(OutputsAgree, MatrixSymbolBoxIgnoresTheBarHeight) {
    for (const char* keys : {R"(type:"QRCode", data:"hello", height:"100")",
                             R"(type:"Datamatrix", data:"hello", options:"8X32", height:"50")"}) {
        SCOPED_TRACE(keys);
        const std::string eps = fresh("m.eps"), pdf = fresh("m.pdf");
        ASSERT_EQ(run({record(keys, eps), record(keys, pdf)}).status, 0);
        const std::string text = testsupport::slurp(eps), page = testsupport::slurp(pdf);
        double box[4] = {}, media[4] = {};
        const size_t at = text.find("%%BoundingBox: "), mediaAt = page.find("/MediaBox [");
        ASSERT_NE(at, std::string::npos);
        ASSERT_NE(mediaAt, std::string::npos);
        ASSERT_EQ(std::sscanf(text.c_str() + at, "%%%%BoundingBox: %lf %lf %lf %lf", &box[0],
                              &box[1], &box[2], &box[3]),
                  4);
        ASSERT_EQ(std::sscanf(page.c_str() + mediaAt, "/MediaBox [%lf %lf %lf %lf", &media[0],
                              &media[1], &media[2], &media[3]),
                  4);
        EXPECT_NEAR(box[3] - box[1], media[3] - media[1], 1);
    }
}

}  // namespace

// A label document of one text item whose stored magnification is 0.
std::string textItemOfNoSize(const std::string& folder, const char* font, int16_t magnification = 0,
                             int16_t points = 12) {
    testsupport::startLabelDocument(1700, 850, 1, 1);
    LabelItem& t = testsupport::addItemOfKind(kKindText, 10, 10, 40, 160);
    t.setI16(item::siz, magnification);
    t.setI16(item::customTeSize, points);
    t.setI16(item::black2, 100);
    std::string name(1, static_cast<char>(std::strlen(font)));
    t.setText(item::fontBelow, name + font);
    testsupport::setItemText(t, "SIZE 0 TEXT");
    return testsupport::saveLabelDocument(folder + "/nosize.labl");
}

// Ghostscript reads the text of an item stored with magnification 0, in EPS and PDF.
TEST(OutputsAgree, TextItemOfMagnificationZeroIsDrawn) {
    const std::string folder = fresh("nosize");
    std::filesystem::create_directories(folder);
    for (const char* font : {"Helvetica", "Strixel"}) {
        SCOPED_TRACE(font);
        const std::string doc = textItemOfNoSize(folder, font);
        for (const char* ext : {".eps", ".pdf"}) {
            SCOPED_TRACE(ext);
            const std::string out = folder + "/nosize" + ext;
            const CliRun r = run({"--open", doc, "{saveto:\"" + out + "\"}"});
            ASSERT_EQ(r.status, 0) << r.err;
            const testsupport::Rendered page =
                testsupport::renderWithGhostscript(out, 150, std::string(ext) == ".eps");
            ASSERT_TRUE(page.ok) << page.err;
            EXPECT_GE(inkRows(page.bitmap).first, 0) << "no ink";
        }
    }
}

// A text item stored with a point size of 0 is set at one point, as printing
// sets it: a font scaled to nothing would stop the PostScript interpreter.
TEST(OutputsAgree, TextItemOfPointSizeZeroRendersInEveryDialect) {
    const std::string folder = fresh("size0");
    std::filesystem::create_directories(folder);
    const std::string doc = textItemOfNoSize(folder, "Helvetica", 100, 0);
    for (const char* dialect : {"ai1", "ai88", "ai3", "ai5", "ps", "ps-job"}) {
        SCOPED_TRACE(dialect);
        const bool eps = std::strncmp(dialect, "ai", 2) == 0;
        const std::string out = folder + "/size0" + (eps ? ".eps" : ".ps");
        const CliRun r =
            run({std::string("--dialect=") + dialect, "--open", doc, "{saveto:\"" + out + "\"}"});
        ASSERT_EQ(r.status, 0) << r.err;
        const testsupport::Rendered page = testsupport::renderWithGhostscript(out, 300, eps);
        EXPECT_TRUE(page.ok) << page.err;
    }
}

// A text item is set at its point size whatever magnification it was stored
// with (that of the symbol current when it was made), as printing sets it.
TEST(OutputsAgree, TextItemSizeIgnoresItsStoredMagnification) {
    const std::string folder = fresh("textsize");
    std::filesystem::create_directories(folder);
    int widths[2] = {};
    const int16_t magnifications[2] = {100, 222};
    for (int k = 0; k < 2; ++k) {
        const std::string doc = textItemOfNoSize(folder, "Helvetica", magnifications[k]);
        const std::string out = folder + "/size" + std::to_string(k) + ".pdf";
        ASSERT_EQ(run({"--open", doc, "{saveto:\"" + out + "\"}"}).status, 0);
        const testsupport::Rendered page = testsupport::renderWithGhostscript(out, 150, false);
        ASSERT_TRUE(page.ok) << page.err;
        const InkRows columns = inkColumns(page.bitmap);
        ASSERT_GE(columns.first, 0) << "no ink";
        widths[k] = columns.last - columns.first;
    }
    EXPECT_NEAR(widths[1], widths[0], 2);
}

// A turned text item stands in its rectangle turned about its centre, as
// printing and the layout turn it, not turned about its first letter.
TEST(OutputsAgree, TurnedTextStaysInItsTurnedRectangle) {
    const std::string folder = fresh("turned");
    std::filesystem::create_directories(folder);
    // A 200 x 100 point label; the item's rectangle x 10 to 110, y 20 to 40 (y down).
    struct Turn {
        int16_t degrees;
        int left, top, right, bottom;  // the turned rectangle, within the label
    };
    for (const Turn& t : {Turn{180, 10, 20, 110, 40}, Turn{90, 50, 0, 70, 80}}) {
        SCOPED_TRACE(t.degrees);
        testsupport::startLabelDocument(2000, 1000, 1, 1);
        LabelItem& item = testsupport::addItemOfKind(kKindText, 20, 10, 40, 110);
        item.setI16(item::customTeSize, 12);
        item.setI16(item::siz, 100);
        item.setI16(item::black2, 100);
        item.setI16(item::transparent, 1);
        item.setI16(item::orientPacked, static_cast<int16_t>(t.degrees * 2));
        item.setText(item::fontBelow, "\x09Helvetica");
        testsupport::setItemText(item, "ROTATE ME");
        const std::string doc = testsupport::saveLabelDocument(folder + "/turned.labl");
        const std::string out = folder + "/turned.pdf";
        ASSERT_EQ(run({"--open", doc, "{saveto:\"" + out + "\"}"}).status, 0);
        const testsupport::Rendered page = testsupport::renderWithGhostscript(out, 72, false);
        ASSERT_TRUE(page.ok) << page.err;
        const InkRows rows = inkRows(page.bitmap), columns = inkColumns(page.bitmap);
        ASSERT_GE(rows.first, 0) << "no ink";
        constexpr int kSlack = 1;  // pixels of a point each
        EXPECT_GE(columns.first, t.left - kSlack);
        EXPECT_LE(columns.last, t.right + kSlack);
        EXPECT_GE(rows.first, t.top - kSlack);
        EXPECT_LE(rows.last, t.bottom + kSlack);
    }
}

// A fixed text's escapes are expanded in the label files as printing expands
// them: the date and the byte escape show, not the typed backslashes.
TEST(OutputsAgree, FixedTextEscapesShowInLabelFilesAsPrinted) {
    const std::string folder = fresh("escapes");
    std::filesystem::create_directories(folder);
    testsupport::startLabelDocument(3000, 1000, 1, 1);
    LabelItem& item = testsupport::addItemOfKind(kKindText, 10, 10, 60, 290);
    item.setI16(item::customTeSize, 12);
    item.setI16(item::siz, 100);
    item.setI16(item::black2, 100);
    item.setText(item::fontBelow, "\x09Helvetica");
    testsupport::setItemText(item, "Made \\<Date-DD/MM/YY> \\d065\\nNEXT");
    const std::string doc = testsupport::saveLabelDocument(folder + "/escapes.labl");
    // The run reads the system clock; a run across midnight shows either day.
    const auto shown = [] {
        const std::time_t now = std::time(nullptr);
        std::tm t{};
        ::localtime_r(&now, &t);
        char date[16];
        std::strftime(date, sizeof date, "%d/%m/%y", &t);
        return "Made " + std::string(date) + " A";
    };
    const std::string before = shown();
    const std::string eps = folder + "/escapes.eps", pdf = folder + "/escapes.pdf",
                      printed = folder + "/printed.pdf";
    const CliRun r = run({"--open", doc, "{saveto:\"" + eps + "\"}", "{saveto:\"" + pdf + "\"}",
                          "{printer:\"" + printed + "\", number:\"1\"}"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string after = shown();
    const auto holds = [&](const std::string& text) {
        return text.find(before) != std::string::npos || text.find(after) != std::string::npos;
    };
    std::ifstream in(eps, std::ios::binary);
    const std::string epsText((std::istreambuf_iterator<char>(in)), {});
    EXPECT_TRUE(holds(epsText)) << "the EPS shows no \"" << before << "\"";
    // The line feed escape starts a line of its own, in every file.
    EXPECT_NE(epsText.find("(NEXT)"), std::string::npos);
    for (const std::string& file : {pdf, printed}) {
        const std::string text = testsupport::runCommand("pdftotext '" + file + "' -").out;
        EXPECT_TRUE(holds(text)) << file << ": " << text;
        EXPECT_NE(text.find("\nNEXT"), std::string::npos) << file << ": " << text;
    }
}

// The glyphs of the text line under a linear symbol's bars, as column runs of
// ink, in fractions of the bars' width from their left edge.
struct TextLine {
    std::vector<std::pair<double, double>> glyphs;
};
TextLine textUnderBars(const testsupport::Bitmap& b) {
    auto runsIn = [&](int y, int* first, int* last) {
        int runs = 0;
        bool ink = false;
        for (int x = 0; x < b.width; ++x) {
            const bool now = b.at(x, y) < 128;
            if (now && !ink) {
                ++runs;
                if (*first < 0) *first = x;
            }
            if (now) *last = x;
            ink = now;
        }
        return runs;
    };
    const InkRows rows = inkRows(b);
    TextLine t;
    if (rows.first < 0) return t;
    const int barRow = rows.first + (rows.last - rows.first) / 4;
    int left = -1, right = -1;
    const int barRuns = runsIn(barRow, &left, &right);
    if (barRuns < 2) return t;
    // The bars end where the first and last bars do (the text may reach up
    // between the bars).
    int barsEnd = barRow;
    while (barsEnd + 1 <= rows.last && b.at(left, barsEnd + 1) < 128 &&
           b.at(right, barsEnd + 1) < 128)
        ++barsEnd;
    std::vector<bool> column(static_cast<size_t>(b.width), false);
    for (int y = barsEnd + 2; y <= rows.last; ++y)
        for (int x = 0; x < b.width; ++x)
            if (b.at(x, y) < 128) column[static_cast<size_t>(x)] = true;
    const double span = right - left;
    for (int x = 0; x < b.width; ++x) {
        if (!column[static_cast<size_t>(x)] || (x > 0 && column[static_cast<size_t>(x - 1)]))
            continue;
        int e = x;
        while (e + 1 < b.width && column[static_cast<size_t>(e + 1)]) ++e;
        t.glyphs.push_back({(x - left) / span, (e - left) / span});
    }
    return t;
}

// The printed text line of a symbol stands as the EPS's does: the same
// characters in the same places, no '?' of the gaps, no mark over a character.
// Both have the quiet-zone marks '>' and '<' at their ends.
TEST(OutputsAgree, PrintedTextLineMatchesTheEps) {
    const std::string cases[][2] = {
        {"EAN 128", "(01)12345678901231(10)AB1"},
        {"EAN14 ITF-UCC", "1540014128876"},
        {"Code 128", "ABC123"},
        {"Code 39", "STRIX-39"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c[0]);
        const std::string keys = "type:\"" + c[0] + "\", data:\"" + c[1] + "\"";
        const std::string eps = fresh("line.eps"), pdf = fresh("line-printed.pdf");
        const CliRun r = run({record(keys, eps), "{" + keys + ", printer:\"" + pdf + "\"}"});
        ASSERT_EQ(r.status, 0) << r.err;
        const testsupport::Rendered e = testsupport::renderWithGhostscript(eps, kDpi);
        const testsupport::Rendered p = testsupport::renderWithGhostscript(pdf, kDpi, false);
        ASSERT_TRUE(e.ok && p.ok) << e.err << p.err;
        const TextLine want = textUnderBars(e.bitmap), got = textUnderBars(p.bitmap);
        // A mark over a character, or a '?' shown, changes the count.
        ASSERT_EQ(got.glyphs.size(), want.glyphs.size());
        ASSERT_GE(want.glyphs.size(), 3u);
        // The quiet-zone marks at either end stand by their own rules.
        for (size_t i = 1; i + 1 < want.glyphs.size(); ++i) {
            EXPECT_NEAR(got.glyphs[i].first, want.glyphs[i].first, 0.02) << "glyph " << i;
            EXPECT_NEAR(got.glyphs[i].second, want.glyphs[i].second, 0.02) << "glyph " << i;
        }
    }
}

// Codabar's bars reach its box's ends, with no light margin inside: it takes no
// quiet-zone marks, so its start and stop letters show whole, in the EPS and in
// print alike.
TEST(OutputsAgree, CodabarLettersFreeOfMarks) {
    const std::string keys = "type:\"Codabar\", data:\"A40156B\"";
    const std::string eps = fresh("marks.eps"), pdf = fresh("marks-printed.pdf");
    const CliRun r = run({record(keys, eps), "{" + keys + ", printer:\"" + pdf + "\"}"});
    ASSERT_EQ(r.status, 0) << r.err;
    const testsupport::Rendered e = testsupport::renderWithGhostscript(eps, kDpi);
    const testsupport::Rendered p = testsupport::renderWithGhostscript(pdf, kDpi, false);
    ASSERT_TRUE(e.ok && p.ok) << e.err << p.err;
    // A mark over a letter would join it into one blot, or add one at either end.
    EXPECT_EQ(textUnderBars(e.bitmap).glyphs.size(), 7u);
    EXPECT_EQ(textUnderBars(p.bitmap).glyphs.size(), 7u);
}

// The ink of an EPS file, moved well inside the page first so that ink left of
// or under the origin is seen too.
bool inkOfEps(const std::string& eps, double ink[4]) {
    const std::string moved = eps + ".moved.ps";
    std::ofstream(moved, std::ios::binary) << "100 100 translate\n" << testsupport::slurp(eps);
    if (!testsupport::inkBoundingBox(moved, &ink[0], &ink[1], &ink[2], &ink[3])) return false;
    for (int k = 0; k < 4; ++k) ink[k] -= 100;
    return true;
}

// Every mark of the stacked, DataBar and composite symbols stays inside the
// box the EPS declares, and inside the TIFF's picture.
TEST(OutputsAgree, BoxHoldsAllTheInk) {
    const char* records[] = {
        R"(type:"Databar 14", data:"2001234567890")",
        R"(type:"Databar 14 Truncated", data:"2001234567890")",
        R"(type:"Databar 14 Stacked", data:"2001234567890")",
        R"(type:"Databar 14 Stacked Omnidirectional", data:"2001234567890")",
        R"(type:"Databar Limited", data:"1501234567890")",
        R"(type:"Databar Expanded", data:"(01)98898765432106(3202)012345")",
        R"(type:"Databar", data:"(01)98898765432106(3202)012345(15)991231")",
        R"(type:"Databar 14", data:"2001234567890|(10)ABC123")",
        R"(type:"Databar Limited", data:"1501234567890|(21)12345678")",
        R"(type:"Databar Expanded", data:"(01)98898765432106|(10)ABC")",
        R"(type:"Databar Limited", data:"0361234567890|(91)ABCDEFGHIJKLMNOPQRSTUVWXYZ1234", height:"40")",
        R"(type:"Databar", data:"(01)98898765432106(3202)012345(15)991231|(21)A1B2C3D4E5F6G7", options:"6")",
        R"(type:"Micro PDF417", data:"MicroPDF417 text")",
        R"(type:"PDF417", data:"PDF417 text")",
    };
    for (const char* keys : records) {
        SCOPED_TRACE(keys);
        const std::string eps = fresh("box.eps"), tif = fresh("box.tif");
        const CliRun r = run({record(keys, eps), record(keys, tif)});
        ASSERT_EQ(r.status, 0) << r.err;
        const std::string text = testsupport::slurp(eps);
        const size_t at = text.find("%%BoundingBox: ");
        ASSERT_NE(at, std::string::npos);
        double box[4] = {};
        ASSERT_EQ(std::sscanf(text.c_str() + at, "%%%%BoundingBox: %lf %lf %lf %lf", &box[0],
                              &box[1], &box[2], &box[3]),
                  4);
        double ink[4] = {};
        ASSERT_TRUE(inkOfEps(eps, ink));
        constexpr double kPixel = 0.05;  // the bbox device's own resolution
        EXPECT_GE(ink[0], box[0] - kPixel);
        EXPECT_GE(ink[1], box[1] - kPixel);
        EXPECT_LE(ink[2], box[2] + kPixel);
        EXPECT_LE(ink[3], box[3] + kPixel);
        // A mark cut by the picture's edge leaves ink in its outermost pixels.
        const testsupport::Bitmap image = imageOf(tif);
        ASSERT_GT(image.width, 2);
        for (int y = 0; y < image.height; ++y) {
            EXPECT_GE(image.at(0, y), 128) << "ink on the left edge, row " << y;
            EXPECT_GE(image.at(image.width - 1, y), 128) << "ink on the right edge, row " << y;
            if (image.at(0, y) < 128 || image.at(image.width - 1, y) < 128) break;
        }
        for (int x = 0; x < image.width; ++x) {
            EXPECT_GE(image.at(x, image.height - 1), 128) << "ink on the lower edge, column " << x;
            if (image.at(x, image.height - 1) < 128) break;
        }
    }
}

struct InkBox {
    int x0 = -1, y0 = -1, x1 = -1, y1 = -1;
};
InkBox inkBox(const testsupport::Bitmap& b) {
    InkBox k;
    for (int y = 0; y < b.height; ++y)
        for (int x = 0; x < b.width; ++x) {
            if (b.at(x, y) >= 128) continue;
            if (k.x0 < 0 || x < k.x0) k.x0 = x;
            if (x > k.x1) k.x1 = x;
            if (k.y0 < 0) k.y0 = y;
            k.y1 = y;
        }
    return k;
}

// A label of 400 x 300 points, one on a sheet without margins, holding one
// barcode item of `type` (or, when type is null, a framed square in its
// corner) whose rectangle's top left is (left, top) and which is 40 points
// higher than its symbol.
std::string oneItemLabel(const std::string& path, const char* type, const char* data, int left,
                         int top) {
    testsupport::startLabelDocument(4000, 3000, 1, 1);
    EXPECT_EQ(addLabelItem(), 0);
    LabelItem& it = *gLabel.labelParts[0];
    if (type == nullptr) {
        it.setI16(item::kind, kKindRectFilled);
        it.setI16(item::rectRight, 10);
        it.setI16(item::rectBottom, 10);
        it.setI16(item::black2, 100);
        it.setI16(item::black22, 100);
        return testsupport::saveLabelDocument(path);
    }
    EXPECT_EQ(parseCodeType(type), 1) << type;
    copyBounded(gData.chMainCode, data);
    copyBounded(gData.chMainCode2, data);
    gData.len1 = gData.len11 = static_cast<int32_t>(std::strlen(data));
    it.setI16(item::kind, kKindBarcode);
    setItemData(0, 4);
    EXPECT_TRUE(sizeSingleSymbol(0));
    const int w = it.i16(item::rectRight) - it.i16(item::rectLeft);
    const int h = it.i16(item::rectBottom) - it.i16(item::rectTop);
    it.setI16(item::rectLeft, static_cast<int16_t>(left));
    it.setI16(item::rectTop, static_cast<int16_t>(top));
    it.setI16(item::rectRight, static_cast<int16_t>(left + w));
    it.setI16(item::rectBottom, static_cast<int16_t>(top + h + 40));
    return testsupport::saveLabelDocument(path);
}

// Every kind of barcode item stands in the same place in the exported label
// (EPS and PDF) as on the printed sheet, wherever it is on the label.
TEST(OutputsAgree, ExportPlacesItemsWherePrintingDoes) {
    const char* kinds[][2] = {
        {"EAN 13", "400638133393"},  {"Code 128", "P-128"},       {"QRCode", "Placed QR"},
        {"Datamatrix", "Placed DM"}, {"PDF417", "Placed PDF417"}, {"Databar 14", "2001234567890"},
    };
    const int places[][2] = {{10, 10}, {100, 60}, {180, 140}};
    constexpr int kPlaceDpi = 144;
    constexpr int kSlack = 3;  // pixels: the paths round to whole points differently
    const std::string folder = fresh("placed");
    std::filesystem::create_directories(folder);
    // Where the label's corner is on the printed page.
    const std::string corner = folder + "/corner.pdf";
    ASSERT_EQ(run({"--open", oneItemLabel(folder + "/corner.labl", nullptr, nullptr, 0, 0),
                   "{printer:\"" + corner + "\", number:\"1\"}"})
                  .status,
              0);
    const testsupport::Rendered c = testsupport::renderWithGhostscript(corner, kPlaceDpi, false);
    ASSERT_TRUE(c.ok) << c.err;
    const InkBox origin = inkBox(c.bitmap);
    ASSERT_GE(origin.x0, 0);
    for (const auto& k : kinds) {
        for (const auto& at : places) {
            SCOPED_TRACE(std::string(k[0]) + " at " + std::to_string(at[0]) + "," +
                         std::to_string(at[1]));
            const std::string doc =
                oneItemLabel(folder + "/" + std::string(k[0]) + ".labl", k[0], k[1], at[0], at[1]);
            const std::string eps = folder + "/placed.eps", pdf = folder + "/placed.pdf",
                              printed = folder + "/printed.pdf";
            const CliRun r =
                run({"--open", doc, "{saveto:\"" + eps + "\"}", "{saveto:\"" + pdf + "\"}",
                     "{printer:\"" + printed + "\", number:\"1\"}"});
            ASSERT_EQ(r.status, 0) << r.err;
            const testsupport::Rendered e = testsupport::renderWithGhostscript(eps, kPlaceDpi);
            const testsupport::Rendered d =
                testsupport::renderWithGhostscript(pdf, kPlaceDpi, false);
            const testsupport::Rendered p =
                testsupport::renderWithGhostscript(printed, kPlaceDpi, false);
            ASSERT_TRUE(e.ok && d.ok && p.ok) << e.err << d.err << p.err;
            InkBox want = inkBox(p.bitmap);
            ASSERT_GE(want.x0, 0) << "nothing printed";
            want = {want.x0 - origin.x0, want.y0 - origin.y0, want.x1 - origin.x0,
                    want.y1 - origin.y0};
            for (const InkBox& got : {inkBox(e.bitmap), inkBox(d.bitmap)}) {
                EXPECT_NEAR(got.x0, want.x0, kSlack);
                EXPECT_NEAR(got.y0, want.y0, kSlack);
                EXPECT_NEAR(got.x1, want.x1, kSlack);
                EXPECT_NEAR(got.y1, want.y1, kSlack);
            }
        }
    }
}
