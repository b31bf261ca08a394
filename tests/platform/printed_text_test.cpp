// Text on printed pages is set in embedded fonts: each font once however often
// it is used, the text searchable, and the page looking as the same text does
// when its outlines are filled into pixels.
#include <gtest/gtest.h>

#include <cairo.h>

#include <iterator>
#include <sstream>
#include <string>

#include "platform/printing/printing.h"
#include "platform/quickdraw/quickdraw.h"
#include "qd_world.h"
#include "support/fonts.h"
#include "support/reader.h"

namespace {

using qdtest::fontNumber;

constexpr int kDpi = 150;
constexpr double kPointsPerInch = 72;
constexpr int kDark = 128;

// One page of text in points: an installed font, the bar font (its "A" has no
// outline of its own and comes from OCR-B), underlined text, and text in the
// modes that invert and clear.
void drawTexts() {
    qd::TextSize(24);
    qd::TextFont(fontNumber("Helvetica"));
    qd::MoveTo(36, 72);
    qd::DrawString(reinterpret_cast<const unsigned char*>("\x0eStrixel labels"));
    qd::TextFont(fontNumber("Strixel"));
    qd::MoveTo(36, 144);
    qd::DrawString(reinterpret_cast<const unsigned char*>("\x07<0123A>"));
    qd::TextFont(fontNumber("Times"));
    qd::TextFace(qd::underline);
    qd::MoveTo(36, 216);
    qd::DrawString(reinterpret_cast<const unsigned char*>("\x0aWide world"));
    qd::TextFace(0);
    // Over a black band: text that inverts (outlines: no font can invert) and
    // text that clears to the background colour.
    qd::PaintRect({240, 30, 300, 300});
    qd::TextFont(fontNumber("Helvetica"));
    qd::TextMode(qd::srcXor);
    qd::MoveTo(36, 280);
    qd::DrawString(
        reinterpret_cast<const unsigned char*>("\x06"
                                               "Invert"));
    qd::TextMode(qd::srcBic);
    qd::MoveTo(160, 280);
    qd::DrawString(
        reinterpret_cast<const unsigned char*>("\x05"
                                               "Clear"));
    qd::TextMode(qd::srcOr);
}

// A PDF of `pages` pages of the texts, at 72 dots an inch so that port units
// are points.
std::string printTexts(int pages) {
    const std::string path = testsupport::tempPath("text.pdf");
    print::PageFormat format;
    format.resolution = {72, 72};
    print::PrintSession s;
    EXPECT_EQ(s.beginDocument(print::settingsFor(path), format), print::kPrintNoErr);
    for (int page = 0; page < pages; ++page) {
        if (!s.beginPage()) break;
        drawTexts();
        EXPECT_EQ(s.endPage(), print::kPrintNoErr);
    }
    EXPECT_EQ(s.endDocument(), print::kPrintNoErr);
    return path;
}

// The lines of pdffonts below its heading.
std::vector<std::string> fontLines(const std::string& pdf) {
    std::istringstream in(testsupport::runCommand("pdffonts '" + pdf + "'").out);
    std::vector<std::string> lines;
    int n = 0;
    for (std::string line; std::getline(in, line);)
        if (++n > 2 && !line.empty()) lines.push_back(line);
    return lines;
}

// Whether each pixel is dark: the page's text filled as outlines into pixels at
// the resolution the PDF is rendered at.
std::vector<bool> outlinesFilled(int width, int height) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    qd::GrafPort* port = qd::NewPort(surface, {0, 0, height, width}, kDpi / kPointsPerInch, true);
    qd::SetPort(port);
    qd::EraseRect({0, 0, height, width});
    drawTexts();
    qd::FlushPort(port);
    qd::SetPort(nullptr);
    qd::DisposePort(port);
    cairo_surface_flush(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    std::vector<bool> dark;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            dark.push_back((data[y * stride + x * 4 + 1]) < kDark);  // the green channel
    cairo_surface_destroy(surface);
    return dark;
}

TEST(PrintedText, EachFontIsEmbeddedOnceAndTheTextReads) {
    ASSERT_TRUE(testsupport::useTestFonts());
    const std::string pdf = printTexts(3);
    ASSERT_EQ(testsupport::qpdfCheck(pdf).status, 0);
    // Helvetica, the bar font, OCR-B for its "A", and Times, each once whatever
    // the number of pages, embedded, with its characters' Unicode.
    const std::vector<std::string> fonts = fontLines(pdf);
    ASSERT_EQ(fonts.size(), 4u) << testsupport::runCommand("pdffonts '" + pdf + "'").out;
    int type3 = 0;
    for (const std::string& f : fonts) {
        // The columns end: embedded, subset, Unicode, object number, generation.
        std::istringstream words(f);
        std::vector<std::string> w{std::istream_iterator<std::string>(words), {}};
        ASSERT_GE(w.size(), 5u) << f;
        EXPECT_EQ(w[w.size() - 5], "yes") << f;
        EXPECT_EQ(w[w.size() - 3], "yes") << f;
        type3 += f.find("Type 3") != std::string::npos;
    }
    // The bar font is drawn from its own outlines; a font program cairo cannot
    // subset (this OCR-B) is drawn from its outlines the same way.
    EXPECT_GE(type3, 1);

    const std::string text = testsupport::runCommand("pdftotext '" + pdf + "' -").out;
    size_t at = 0;
    for (int page = 0; page < 3; ++page)
        for (const char* want : {"Strixel labels", "0123", "A", "Wide world"}) {
            at = text.find(want, at);
            ASSERT_NE(at, std::string::npos) << want << " on page " << page + 1 << ":\n" << text;
        }
}

TEST(PrintedText, PagesLookAsTheFilledOutlinesDo) {
    ASSERT_TRUE(testsupport::useTestFonts());
    const std::string pdf = printTexts(1);
    testsupport::Bitmap page;
    ASSERT_TRUE(testsupport::pdfPage(pdf, kDpi, 1, &page));
    const std::vector<bool> filled = outlinesFilled(page.width, page.height);
    // Anti-aliasing and the renderer's own placing of glyphs may move an edge by a
    // pixel; a glyph in the wrong place, size or font leaves ink that has no ink
    // of the other within a pixel.
    auto near = [&](int x, int y, auto dark) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const int nx = x + dx, ny = y + dy;
                if (nx >= 0 && ny >= 0 && nx < page.width && ny < page.height && dark(nx, ny))
                    return true;
            }
        return false;
    };
    auto printed = [&](int x, int y) { return page.at(x, y) < kDark; };
    auto wanted = [&](int x, int y) { return bool(filled[y * page.width + x]); };
    int ink = 0, differ = 0;
    for (int y = 0; y < page.height; ++y)
        for (int x = 0; x < page.width; ++x) {
            ink += wanted(x, y);
            differ +=
                (printed(x, y) && !near(x, y, wanted)) || (wanted(x, y) && !near(x, y, printed));
        }
    ASSERT_GT(ink, 3000);
    // The black band holds most of the ink; the text's strokes hold some 8,000.
    constexpr int kStrayPixels = 80;
    EXPECT_LT(differ, kStrayPixels) << differ << " of " << ink << " pixels of ink differ";
}

}  // namespace
