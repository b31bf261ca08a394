// Codewords of PDF417 data: compaction, the Macro PDF417 header, the character
// set, error correction and the cluster tables.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "pdf417/pdf417_compact.h"
#include "pdf417/pdf417_ec.h"
#include "pdf417/pdf417_tables.h"

namespace {

struct Encoded {
    int32_t result = 0;
    std::vector<int32_t> data;   // behind the length descriptor
    std::vector<int32_t> macro;  // the control block
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

using V = std::vector<int32_t>;

TEST(PdfTextCompaction, KnownCodewords) {
    EXPECT_EQ(encode("PDF417").data, (V{453, 178, 121, 239}));
    EXPECT_EQ(encode("AB").data, (V{1}));
    EXPECT_EQ(encode("Ab").data, (V{27, 59}));
    EXPECT_EQ(encode("A1").data, (V{28, 59}));
    EXPECT_EQ(encode("A1B").data, (V{28, 58, 59}));    // back to Alpha by latch 28
    EXPECT_EQ(encode("aBc").data, (V{810, 811, 89}));  // Lower keeps, B by alpha shift
    EXPECT_EQ(encode("A,").data, (V{28, 419}));        // a comma latches to Mixed
    EXPECT_EQ(encode("A!").data, (V{29, 329}));        // punctuation by shift
    EXPECT_EQ(encode("a b").data, (V{810, 781}));      // space stays in Lower
}

TEST(PdfTextCompaction, BytesOutsideTheSubModesTravelByByteShift) {
    // Mac OS Roman e-acute travels as Latin-1 0xE9 (233).
    EXPECT_EQ(encode("\x8E").data, (V{913, 233}));
    // An odd value count is padded before the shift.
    EXPECT_EQ(encode("A\x8E").data, (V{29, 913, 233}));
    EXPECT_EQ(encode(std::string(1, '\0')).data, (V{913, 0}));
}

TEST(PdfByteCompaction, ModeByLength) {
    EXPECT_EQ(encode("A", 1).data, (V{913, 65}));
    V six = encode("ABCDEF", 1).data;
    ASSERT_EQ(six.size(), 6u);
    EXPECT_EQ(six[0], 924);
    V seven = encode("ABCDEFG", 1).data;
    ASSERT_EQ(seven.size(), 7u);
    EXPECT_EQ(seven[0], 901);
    EXPECT_EQ(seven[6], 'G');
    // Six bytes are one 48-bit number in five base-900 digits.
    uint64_t v = 0;
    for (int i = 1; i <= 5; ++i) v = v * 900 + static_cast<uint64_t>(six[i]);
    EXPECT_EQ(v, 0x414243444546ull);
    EXPECT_TRUE(encode("", 1).data.empty());
}

TEST(PdfMacroHeader, ControlBlock) {
    Encoded e = encode("*L7;12\\3*HELLO");
    ASSERT_EQ(e.result, kPdfOk);
    EXPECT_EQ(e.macro, (V{928, 111, 107, 12, 3, 922}));
    EXPECT_EQ(e.data, encode("HELLO").data);

    EXPECT_EQ(encode("*7*X").macro, (V{928, 111, 107, 1}));
    EXPECT_EQ(encode("*7;*X").macro, (V{928, 111, 107}));
    EXPECT_EQ(encode("*800;5*X").macro, (V{928, 112, 0, 5}));
    EXPECT_EQ(encode("*99998;1000\\\\7;ignored*X").macro, (V{928, 222, 198, 899, 7}));
}

TEST(PdfMacroHeader, BadHeadersAreRefused) {
    for (const char* bad : {"**X", "*7X", "*L*X", "*", "*;12*X", "*L;12*X", "*100000*X", "*-1*X",
                            "*7;1a*X", "*7;-3*X", "*x7*X"}) {
        EXPECT_EQ(encode(bad).result, kPdfBadMacro) << bad;
    }
    // A header text holds up to 199 characters.
    EXPECT_EQ(encode("*7;" + std::string(197, '1') + "*X").macro, (V{928, 111, 107, 899}));
    EXPECT_EQ(encode("*7;" + std::string(198, '1') + "*X").result, kPdfBadMacro);
    EXPECT_EQ(encode(std::string("*7") + '\0' + "*X").result, kPdfBadMacro);
}

TEST(PdfErrorCorrection, GeneratorCoefficients) {
    const V level1{522, 568, 723, 809};
    const V level2{237, 308, 436, 284, 646, 653, 428, 379};
    for (int j = 0; j < 4; ++j) EXPECT_EQ(pdfGeneratorCoeff(4, j), level1[j]);
    for (int j = 0; j < 8; ++j) EXPECT_EQ(pdfGeneratorCoeff(8, j), level2[j]);
    // Every generator vanishes at its roots 3^1..3^k.
    for (int level = 1; level <= 8; ++level) {
        const int k = pdfEcCount(level);
        for (int i = 1; i <= k; i += 37) {
            int root = 1;
            for (int p = 0; p < i; ++p) root = root * 3 % 929;
            long value = 1;  // the leading coefficient
            for (int j = k - 1; j >= 0; --j) value = (value * root + pdfGeneratorCoeff(k, j)) % 929;
            EXPECT_EQ(value, 0) << "level " << level << " root 3^" << i;
        }
    }
}

TEST(PdfErrorCorrection, KnownLevel1Codewords) {
    gPdf = Pdf417State{};
    const int32_t list[] = {5, 453, 178, 121, 239};
    std::memcpy(gPdf.datall, list, sizeof list);
    gPdf.codeindex = 5;
    generateEC(gPdf.datall, 5, 4);
    EXPECT_EQ(V(gPdf.datall + 5, gPdf.datall + gPdf.codeindex), (V{452, 327, 657, 619}));
}

// Element widths of a 17-module pattern, first element a bar.
std::vector<int> widths(uint32_t bits) {
    std::vector<int> w;
    int prev = -1;
    for (int b = 16; b >= 0; --b) {
        int bit = bits >> b & 1;
        if (bit == prev)
            ++w.back();
        else
            w.push_back(1);
        prev = bit;
    }
    return w;
}

TEST(PdfClusterTables, Invariants) {
    for (int t = 0; t < 3; ++t) {
        std::set<uint32_t> seen;
        for (int cw = 0; cw < kPdfCodewordValues; ++cw) {
            const uint32_t bits = PDF417_BITS[t][cw];
            ASSERT_EQ(bits >> 17, 0u);
            ASSERT_EQ(bits >> 16 & 1, 1u) << "starts with a bar";
            const std::vector<int> w = widths(bits);
            ASSERT_EQ(w.size(), 8u) << "table " << t << " codeword " << cw;
            for (int x : w) ASSERT_TRUE(x >= 1 && x <= 6);
            const int cluster = (w[0] - w[2] + w[4] - w[6] + 9) % 9;
            ASSERT_EQ(cluster, 3 * t) << "table " << t << " codeword " << cw;
            seen.insert(bits);
        }
        EXPECT_EQ(seen.size(), static_cast<size_t>(kPdfCodewordValues));
        EXPECT_EQ(PDF417_BITS[t][kPdfCodewordValues], 0u);
    }
}

}  // namespace
