// The outside readers proven on symbols made by another encoder (zxing-cpp's
// writer, once, committed as module matrices), before our encoders exist.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "support/cases.h"
#include "support/reader.h"
#include "symbology/codebars.h"

namespace {

using namespace testsupport;

// A module matrix of the data folder, one row of '0' and '1' a line.
std::vector<std::string> loadMatrix(const std::string& name) {
    std::vector<std::string> rows;
    for (const CaseLine& c : readCases(name, 1)) rows.push_back(c[0]);
    return rows;
}

struct KnownSymbol {
    const char* file;
    const char* format;
    const char* text;
    int rowHeight;  // pixels per module row; PDF417 rows are three modules high
};
const KnownSymbol kSymbols[] = {
    {"qrcode_matrix.txt", "QRCode", "Strixel QR test 0123456789", 4},
    {"datamatrix_matrix.txt", "DataMatrix", "Strixel DataMatrix test", 4},
    {"pdf417_matrix.txt", "PDF417", "Strixel PDF417 test 0123456789", 12},
};

TEST(Harness, DecodesKnownMatricesInProcess) {
    for (const KnownSymbol& s : kSymbols) {
        const Bitmap bmp = rasteriseMatrix(loadMatrix(s.file), 4, s.rowHeight, 4);
        const Decoded d = decode(bmp, s.format);
        EXPECT_TRUE(d.ok) << s.file << ": " << d.error;
        EXPECT_EQ(d.text, s.text) << s.file;
        EXPECT_EQ(d.format, s.format) << s.file;
        // Any format: the reader must not see something else in it.
        EXPECT_EQ(decode(bmp).text, s.text) << s.file;
    }
}

TEST(Harness, AnUnreadableBitmapIsNoSymbol) {
    Bitmap blank;
    blank.width = blank.height = 100;
    blank.pixels.assign(100 * 100, 255);
    EXPECT_FALSE(decode(blank).ok);
    EXPECT_FALSE(decode(Bitmap{}).ok);
}

// Block letters: each column of a band of four module rows is 'e' + v, v having 8
// for a dark top row down to 1 for a dark fourth row; 13 ends a band, NUL the list.
std::string toBlockLetters(const std::vector<std::string>& rows) {
    std::string out;
    for (size_t band = 0; band < rows.size(); band += 4) {
        for (size_t c = 0; c < rows[0].size(); ++c) {
            int v = 0;
            for (size_t k = 0; k < 4; ++k) {
                const bool dark = band + k < rows.size() && rows[band + k][c] == '1';
                v = v * 2 + (dark ? 1 : 0);
            }
            out.push_back(static_cast<char>('e' + v));
        }
        out.push_back(static_cast<char>(kRowEnd));
    }
    return out;
}

TEST(Harness, BlockLettersRoundTrip) {
    for (const KnownSymbol& s : {kSymbols[0], kSymbols[1]}) {
        const std::vector<std::string> rows = loadMatrix(s.file);
        std::string letters = toBlockLetters(rows);
        const int count = static_cast<int>(letters.size());
        letters.push_back('\0');
        const auto* list = reinterpret_cast<const unsigned char*>(letters.data());

        EXPECT_EQ(blockLetterFault(list, count, static_cast<int>(rows.size()),
                                   static_cast<int>(rows[0].size())),
                  "")
            << s.file;
        const std::vector<std::vector<bool>> m = blockLettersToMatrix(list, count);
        // Whole bands: the rows below the symbol's last row come back light.
        ASSERT_EQ(m.size(), (rows.size() + 3) / 4 * 4) << s.file;
        for (size_t r = 0; r < m.size(); ++r)
            for (size_t c = 0; c < m[r].size(); ++c)
                EXPECT_EQ(m[r][c], r < rows.size() && rows[r][c] == '1')
                    << s.file << " " << r << "," << c;

        const Decoded d = decode(rasteriseBlockLetters(list, count), s.format);
        EXPECT_TRUE(d.ok) << s.file << ": " << d.error;
        EXPECT_EQ(d.text, s.text) << s.file;
    }
}

TEST(Harness, ModuleRowsAsPdf417Writes) {
    // 190 dark, 59 light, 13 ends a row.
    std::string list;
    for (const std::string& row : loadMatrix("pdf417_matrix.txt")) {
        for (char c : row) list.push_back(static_cast<char>(c == '1' ? kDarkModule : kLightModule));
        list.push_back(static_cast<char>(kRowEnd));
    }
    const Decoded d =
        decode(rasteriseModuleRows(reinterpret_cast<const unsigned char*>(list.data()),
                                   static_cast<int>(list.size())),
               "PDF417");
    EXPECT_TRUE(d.ok) << d.error;
    EXPECT_EQ(d.text, kSymbols[2].text);
}

TEST(Harness, HandWrittenEpsDecodesThroughGhostscript) {
    const std::string eps = tempPath("qrcode_matrix.eps");
    {
        std::ifstream in(std::string(STRIXEL_TEST_DATA) + "/qrcode_matrix.eps", std::ios::binary);
        std::ofstream out(eps, std::ios::binary);
        out << in.rdbuf();
    }
    const Rendered r = renderWithGhostscript(eps, 300);
    ASSERT_TRUE(r.ok) << r.err;
    EXPECT_EQ(r.err, "");
    // 66 points at 300 dpi.
    EXPECT_EQ(r.bitmap.width, 275);
    const Decoded d = decode(r.bitmap, "QRCode");
    EXPECT_TRUE(d.ok) << d.error;
    EXPECT_EQ(d.text, kSymbols[0].text);

    double llx, lly, urx, ury;
    ASSERT_TRUE(inkBoundingBox(eps, &llx, &lly, &urx, &ury));
    // The ink lies inside the four-module quiet zone (the bbox device rounds a little).
    EXPECT_NEAR(llx, 8, 0.05);
    EXPECT_NEAR(urx, 58, 0.05);

    // zbarimg, the second outside reader, agrees.
    const std::string pgm = tempPath("qrcode.pgm");
    ASSERT_TRUE(writePGM(r.bitmap, pgm));
    EXPECT_NE(zbarimg(pgm).out.find(kSymbols[0].text), std::string::npos);
}

TEST(Harness, PgmFilesRoundTripAndCutShortOnesAreRefused) {
    Bitmap b;
    b.width = 3;
    b.height = 2;
    b.pixels = {0, 255, 7, 8, 9, 10};
    const std::string path = tempPath("b.pgm");
    ASSERT_TRUE(writePGM(b, path));
    Bitmap back;
    ASSERT_TRUE(readPGM(path, &back));
    EXPECT_EQ(back.width, 3);
    EXPECT_EQ(back.height, 2);
    EXPECT_EQ(back.pixels, b.pixels);
    for (const char* text :
         {"P5\n3 2\n255", "P5\n3 2\n255\n\x01\x02", "P5\n3\n", "P6\n3 2\n255\n123456", ""}) {
        std::ofstream(path, std::ios::binary) << text;
        EXPECT_FALSE(readPGM(path, &back)) << text;
    }
}

TEST(Harness, AMissingReaderFailsNamingItsPackage) {
    EXPECT_NONFATAL_FAILURE(requireProgram("strixel-no-such-reader", "strixel-reader-package"),
                            "install the Debian package strixel-reader-package");
    EXPECT_TRUE(requireProgram("sh", "dash"));
}

}  // namespace
