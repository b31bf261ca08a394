// The PDF container: a file qpdf accepts, that pdftoppm renders without a word
// on standard error, whose cross-reference offsets land on their objects.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <cstring>
#include <sstream>

#include "doc_fixture.h"
#include "platform/numbers.h"
#include "support/reader.h"
#include "symbology/state.h"
#include "vector/Epsout.h"
#include "vector/pdf.h"
#include "vector/sink.h"
#include "vector/textruns.h"

using namespace vectortest;

namespace {

std::string pdfDocument(const std::string& content, int purePost = 0) {
    resetAll();
    gOut.ill = 1115;
    gOut.purePost = purePost;
    LabelItem* it = singleItem(200, 100);
    it->setText(item::fontBelow, "\x0eHelvetica-Bold");
    return writeDocument([&] { TEInsert2(content.c_str()); });
}

// Checks every in-use entry of the table against the object it names.
void expectTableMatches(const std::string& doc) {
    const size_t xref = doc.rfind("\rxref\r") + 1;
    ASSERT_GT(xref, 0u);
    const size_t sx = doc.rfind("startxref\r");
    ASSERT_NE(sx, std::string::npos);
    EXPECT_EQ(std::stoul(doc.substr(sx + 10)), xref);
    std::istringstream in(doc.substr(xref + 5));
    int first = 0, count = 0;
    in >> first >> count;
    ASSERT_GE(count, 8);  // objects 1 to 6 and at least the default font
    EXPECT_NE(doc.find(platform::formatC("/Size %d\r", count)), std::string::npos);
    size_t entries = doc.find('\r', xref + 5) + 1;
    for (int n = 0; n < count; ++n) {
        const std::string entry = doc.substr(entries + 20 * n, 20);
        ASSERT_EQ(entry.size(), 20u);
        EXPECT_EQ(entry.substr(18), " \r");
        if (n == 0) {
            EXPECT_EQ(entry, "0000000000 65535 f \r");
            continue;
        }
        const size_t offset = std::stoul(entry.substr(0, 10));
        EXPECT_EQ(doc.compare(offset, std::to_string(n).size() + 6, std::to_string(n) + " 0 obj"),
                  0)
            << "object " << n << " at " << offset;
    }
    EXPECT_EQ(doc.substr(doc.find("1 0 obj"), 7), "1 0 obj");
    EXPECT_EQ(doc.find("1 0 obj"), 9u);
}

TEST(Pdf, TableOffsetsAndStreamLengthAreExact) {
    const std::string content = "0 0 0 1 k\r10 10 m\r10 50 l\r60 50 l\r60 10 l\r10 10 l\rf\r";
    const std::string doc = pdfDocument(content);
    EXPECT_EQ(doc.rfind("%PDF-1.4\r1 0 obj\r<< /Type /Catalog\r/Pages 2 0 R\r>>\rendobj\r", 0), 0u);
    EXPECT_NE(doc.find("/MediaBox [0 0 200 100]\r"), std::string::npos);
    expectTableMatches(doc);
    // Object 5 counts the bytes between the line feed after "stream" and "endstream".
    const size_t start = doc.find("stream\r\n") + 8;
    const size_t end = doc.find("endstream\r");
    const size_t five = doc.find("5 0 obj\r");
    EXPECT_EQ(std::stoul(doc.substr(five + 8)), end - start);
    EXPECT_EQ(doc.substr(start, end - start), content);
    EXPECT_EQ(doc.substr(doc.size() - 6), "%%EOF\r");
    // The item's font is in the page's resources, an object that readers list.
    const std::string path = testsupport::tempPath("table.pdf");
    ASSERT_TRUE(writeFile(path, doc));
    EXPECT_EQ(testsupport::qpdfCheck(path).status, 0);
    const testsupport::RunResult f = testsupport::runCommand("pdffonts '" + path + "'");
    EXPECT_EQ(f.err, "");
    EXPECT_NE(f.out.find("Helvetica-Bold "), std::string::npos) << f.out;
}

TEST(Pdf, IgnoresTheJobWrapper) {
    const std::string doc = pdfDocument("", 2);
    EXPECT_EQ(doc.rfind("%PDF-1.4\r", 0), 0u);
    EXPECT_EQ(doc.substr(doc.size() - 6), "%%EOF\r");
    expectTableMatches(doc);
}

TEST(Pdf, FullSheetWithoutSizeIsA4) {
    unsizedSheet(1115, 100, 50, 1, 1);
    const std::string doc = writeDocument();
    EXPECT_NE(doc.find("/MediaBox [0 0 595 841]\r"), std::string::npos);
    EXPECT_EQ(labelBack3.sheetWidth, 0u);
    labelBack3.sheetWidth = 6123400;
    labelBack3.sheetHeight = 7920000;
    EXPECT_NE(writeDocument().find("/MediaBox [0 0 612.340000 792.000000]\r"), std::string::npos);
}

// Mac OS Roman signs that PDF's MacRomanEncoding lacks or reads otherwise (the
// euro sign as "currency") come back as typed; text without them keeps the
// plain encoding name.
TEST(Pdf, TextReadsBackTheMacOsRomanSignsAsTyped) {
    const auto textDocument = [](const char* text) {
        resetAll();
        gOut.ill = 1115;
        singleItem(200, 100);
        return writeDocument([text] {
            TextPosition(10, 50);
            DrawTextEPS(text, 0, static_cast<int32_t>(std::strlen(text)) - 1);
        });
    };
    const std::string doc = textDocument("\xDB \xAD \xB0 \xB9 \xBD 5\xB2");
    expectTableMatches(doc);
    const std::string path = testsupport::tempPath("signs.pdf");
    ASSERT_TRUE(writeFile(path, doc));
    EXPECT_EQ(testsupport::qpdfCheck(path).status, 0);
    const testsupport::RunResult t = testsupport::runCommand("pdftotext '" + path + "' -");
    std::string line = t.out.substr(0, t.out.find('\n'));
    // The glyph Omega reads back as either code of the letter (the ohm sign).
    if (const size_t ohm = line.find("\u2126"); ohm != std::string::npos)
        line.replace(ohm, 3, "\u03A9");
    EXPECT_EQ(line, "€ ≠ ∞ π Ω 5≤") << t.err;

    EXPECT_NE(textDocument("Price 5").find("/Encoding /MacRomanEncoding >>"), std::string::npos);
}

// A spot colour is one plate: met again with other process numbers, it keeps its
// first space rather than naming a second one.
TEST(Pdf, OneSpaceForEachSpotName) {
    gPdfDoc = PdfState{};
    gPdfDoc.spotSpaces = true;
    const unsigned char gold[] = "\x04Gold", silver[] = "\x06Silver";
    const int32_t first = pdfSpotSpace(gold, 0, 20, 80, 0);
    EXPECT_EQ(pdfSpotSpace(gold, 0, 0, 0, 100), first);
    EXPECT_NE(pdfSpotSpace(silver, 0, 0, 0, 40), first);
    ASSERT_EQ(gPdfDoc.spots.size(), 2u);
    EXPECT_EQ(gPdfDoc.spots[static_cast<size_t>(first)].m, 20);
    gPdfDoc = PdfState{};
}

}  // namespace
