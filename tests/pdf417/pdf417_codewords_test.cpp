// Codewords of PDF417 data: compaction, the Macro PDF417 header and the cluster
// tables. Whole symbols read back elsewhere prove the error correction.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "pdf417/pdf417_compact.h"
#include "pdf417/pdf417_tables.h"
#include "support/cases.h"

namespace {

struct Encoded {
    int32_t result = 0;
    std::vector<int64_t> data;   // behind the length descriptor
    std::vector<int64_t> macro;  // the control block
};

Encoded encode(const std::string& text, int32_t byteComp = 0) {
    gPdf = Pdf417State{};
    gPdf.ByteComp = byteComp;
    std::vector<unsigned char> buf(text.begin(), text.end());
    Encoded e;
    e.result = pdfDataCodewords(buf.data(), buf.size());
    if (e.result == kPdfOk) {
        e.data.assign(gPdf.datall + 1, gPdf.datall + gPdf.codeindex);
        e.macro.assign(gPdf.macrostr, gPdf.macrostr + gPdf.macrolen);
    }
    return e;
}

TEST(PdfCompaction, KnownCodewords) {
    for (const auto& c : testsupport::readCases("pdf417/compaction.txt", 3)) {
        const Encoded e = encode(c[0], c[1] == "1");
        ASSERT_EQ(e.result, kPdfOk) << c.where;
        EXPECT_EQ(e.data, c.numbers(2)) << c.where;
    }
}

TEST(PdfMacroHeader, ControlBlockOrRefusal) {
    for (const auto& c : testsupport::readCases("pdf417/macro_headers.txt", 2)) {
        const Encoded e = encode(c[0]);
        if (c[1] == "bad") {
            EXPECT_EQ(e.result, kPdfBadMacro) << c.where;
        } else {
            ASSERT_EQ(e.result, kPdfOk) << c.where;
            EXPECT_EQ(e.macro, c.numbers(1)) << c.where;
        }
    }
    // A header text holds up to 199 characters.
    EXPECT_EQ(encode("*7;" + std::string(197, '1') + "*X").macro,
              (std::vector<int64_t>{928, 111, 107, 899}));
    EXPECT_EQ(encode("*7;" + std::string(198, '1') + "*X").result, kPdfBadMacro);
    EXPECT_EQ(encode(std::string("*7") + '\0' + "*X").result, kPdfBadMacro);
}

// Read-backs meet only some of the 2,787 patterns, so every one is held to what
// the standard says of all: 17 modules, four bars and four spaces of 1 to 6
// modules, a bar first, and the cluster number of its table.
TEST(PdfClusterTables, Invariants) {
    for (int t = 0; t < 3; ++t) {
        std::set<uint32_t> seen;
        for (int cw = 0; cw < kPdfCodewordValues; ++cw) {
            const uint32_t bits = PDF417_BITS[t][cw];
            ASSERT_EQ(bits >> 16, 1u) << "table " << t << " codeword " << cw;
            std::vector<int> w;  // element widths
            for (int b = 16; b >= 0; --b)
                if (b < 16 && (bits >> b & 1) == (bits >> (b + 1) & 1))
                    ++w.back();
                else
                    w.push_back(1);
            ASSERT_EQ(w.size(), 8u) << "table " << t << " codeword " << cw;
            for (int x : w) ASSERT_TRUE(x >= 1 && x <= 6);
            EXPECT_EQ((w[0] - w[2] + w[4] - w[6] + 9) % 9, 3 * t) << "codeword " << cw;
            seen.insert(bits);
        }
        EXPECT_EQ(seen.size(), static_cast<size_t>(kPdfCodewordValues));
        EXPECT_EQ(PDF417_BITS[t][kPdfCodewordValues], 0u);
    }
}

}  // namespace
