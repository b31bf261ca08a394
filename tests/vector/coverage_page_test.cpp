// A page that uses every operator the item writers can emit, framed with a
// procset that defines exactly the operators listed for its dialect and checks
// that nothing is left on the operand stack, then inside the real document
// frame; Ghostscript must render it without an error, and the PDF form must
// pass qpdf and pdftoppm.
#include <fstream>
#include <map>
#include <regex>

#include "doc_fixture.h"
#include "support/cases.h"
#include "support/locale.h"
#include "support/reader.h"
#include "symbology/state.h"
#include "vector/Epsout.h"
#include "vector/chars.h"
#include "vector_fixture.h"

namespace {

// tests/data/vector/procset.txt: every operator of the page code with a
// definition strict about its operands, and the operators of each dialect.
struct Procset {
    std::map<std::string, std::string> definitions;
    std::map<int32_t, std::string> operators;
};

const Procset& procsetData() {
    static const Procset p = [] {
        Procset out;
        for (const testsupport::CaseLine& c : testsupport::readCases("vector/procset.txt", 3)) {
            if (c[0] == "dialect")
                out.operators[c.integer(1)] = c[2];
            else
                out.definitions[c[1]] = c[2];
        }
        return out;
    }();
    return p;
}

struct CoveragePage : VectorTest {
    // Writes the page, from fresh settings, and returns its bytes.
    std::string page(int32_t ill) {
        freshWorld();
        initLabelItems();
        EXPECT_EQ(addLabelItem(), 0);
        dialect(ill);
        writeItems();
        return written();
    }

    // Every writer, on a page of 300 x 300 points.
    static void writeItems() {
        pstrSet(gSym.fontBelow, "Helvetica");
        gSym.cyan2 = gSym.magenta2 = gSym.yellow2 = 0;
        gSym.black2 = 100;
        gSym.customColour = 0;
        doColour(kColourSetUp);
        DrawPostBox(20, 280, 120, 200, 6);      // a frame: its middle stays white
        DrawPostCircle(140, 280, 280, 200, 6);  // a ring
        doBackColour(kColourFill, 0, 0, 0, 100);
        FillPostCircle(20, 180, 120, 120);  // a filled oval
        FillPostBox(140, 180, 280, 120, 1);
        DrawPostLine(110, 10, 60, 100, 1);
        gSym.end_bars = 1;
        DrawPostPara(70, 60, 290, 110, 2);
        gSym.para = 1;  // without its lower bar
        DrawPostPara(70, 62, 290, 108, 1);
        DrawPostTopLine(70, 60, 290, 100, 2);
        DrawPostEnd(70, 60, 290, 100, 1);
        DrawPostSmallItem(72, 62, 288, 98, 1);
        DrawPostCutMarks(0, 0, 300, 300, 1);

        doColour(kColourComment);
        doColour(kColourStroke);
        doColour(kColourFill);
        for (int32_t mode = 0; mode <= 3; ++mode) doBackColour(mode, 10, 20, 30, 40);
        gSym.customColour = 1;  // a spot colour through every colour writer
        pstrSet(gSym.customCol, "Spot (1)");
        for (int32_t mode = 0; mode <= 3; ++mode) {
            doColour(mode);
            doBackColour(mode, 10, 20, 30, 40);
        }
        gSym.customColour = 0;
        doBackColour(kColourFill, 0, 0, 0, 100);

        SetDrawTxtSize(100);
        pmoveto(0, 0, 5000000, 1000000);
        plineto(2000, 0, 5000000, 1000000);
        pcurveto(2000, 2000, 0, 2000, 0, 0, 5000000, 1000000);
        pfill();
        SetDrawTxtSize2(100);
        drawHGauge(2, 8000000, 1000000);
        pcolourwhite();
        doBackColour(kColourFill, 0, 0, 0, 100);

        for (int32_t angle : {0, 90, 180, 270, 45}) {
            gVec.trans2 = angle;
            SetAnyEpsFontP(800000, 800000, gSym.fontBelow, 0);
            TextPositionAccurate(11000000, 4000000);
            DrawTextEPS("(a)\\", 0, 3);
            TextPosition(120, 30);
            DrawTextEPS("Text", 0, 3);
        }
        gVec.trans2 = 0;

        gSym.customTeSize = 8;
        gSym.cyan22 = 20;
        gLabel.externalH = "A text item long enough to wrap\rover lines";
        gLabel.hasExternalH = true;
        EpsTextItem(0, {60, 150, 10, 240});
        DrawMS128Text("123456789012345678", 18, 1, 14000000, 1500000, 0.5);

        gSym.Hei = 10;
        gBlock.gxyy = 0.5;
        DrawBlock(0, 33000, 10, 1, 0, 2, 0, 10, 250, 0);
        DrawBlockg(100000, 33000, 10, 1, 0, 0, 0, 10, 250, 0);
        DrawMultiLineBlock(200000, 33000, 2, 0, 0, 0, 4, 10, 250, 0);
        DrawMultiLineBlockg(300000, 33000, 2, 0, 0, 0, 4, 10, 250, 0);
        DrawBlock2(400000, 66000, 10, 0, 0, 0, 20, 12, 250, 0);
        Draw2DBlock(27000000, 100000, 25000, 0, 1500000, 0, 0, 0);
    }

    std::string procset(int32_t ill) {
        std::string ps =
            "/StrixelTest 120 dict def StrixelTest begin\n/_cp false def\n/_tm matrix def\n"
            "/_fn {64 string cvs dup length 1 sub 1 exch getinterval cvn findfont} def\n"
            "/_show {gsave _tm concat 0 0 moveto show grestore} def\n";
        std::istringstream ops(procsetData().operators.at(ill));
        for (std::string op; ops >> op;) {
            std::string def = procsetData().definitions.at(op);
            if (ill == 88 && op == "t") def = "{exch pop _show}";  // count (text) t
            ps += "/" + op + " " + def + " def\n";
        }
        return ps;
    }

    std::string eps(int32_t ill) {
        return "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 300 300\n%%EndComments\n" +
               procset(ill) + page(ill) + "\ncount 0 ne {STACKLEFT} if end showpage\n%%EOF\n";
    }

    static std::string save(const std::string& name, const std::string& bytes) {
        const std::string path = testsupport::tempPath(name);
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
};

bool dark(const testsupport::Bitmap& b, int x, int y) { return b.at(x, b.height - 1 - y) < 128; }

// The frame and the ring stay white inside; the filled oval is ink.
void expectFrameRingAndOval(const testsupport::Bitmap& b, int ill) {
    EXPECT_FALSE(dark(b, 70, 240)) << ill;   // inside the frame
    EXPECT_TRUE(dark(b, 20, 240)) << ill;    // on it
    EXPECT_FALSE(dark(b, 210, 240)) << ill;  // inside the ring
    EXPECT_TRUE(dark(b, 140, 240)) << ill;
    EXPECT_TRUE(dark(b, 70, 150)) << ill;  // the filled oval
}

TEST_F(CoveragePage, EveryPostScriptDialectRendersWithoutAnError) {
    for (const auto& [ill, ops] : procsetData().operators) {
        const std::string path = save("page" + std::to_string(ill) + ".eps", eps(ill));
        const testsupport::Rendered r = testsupport::renderWithGhostscript(path, 72);
        ASSERT_TRUE(r.ok) << "dialect " << ill << ": " << r.err;
        ASSERT_EQ(r.bitmap.width, 300);
        expectFrameRingAndOval(r.bitmap, ill);
        EXPECT_FALSE(dark(r.bitmap, 23, 177)) << ill;  // outside it, in its corner
    }
}

// The same items inside the document frame with the program's own prologs, as
// EPS, plain PostScript and inside the job wrapper; the PostScript must leave its
// stacks as it found them, the PDF must pass qpdf and render quietly in pdftoppm.
TEST_F(CoveragePage, ItemsRenderInTheRealFrame) {
    for (int ill : vectortest::kDialects) {
        for (int purePost : {0, 1, 2}) {
            SCOPED_TRACE("dialect " + std::to_string(ill) + " pure " + std::to_string(purePost));
            vectortest::resetAll();
            resetShapeState();
            resetBlockState();
            gOut.ill = ill;
            gOut.purePost = purePost;
            vectortest::singleItem(300, 300);
            std::string doc = vectortest::writeDocument(writeItems);
            ASSERT_EQ(gVec.writeFailed, 0);
            const bool pdf = ill == 1115;
            if (!pdf) doc = vectortest::withStackProbes(doc);
            if (ill == 2) doc = vectortest::showType3Glyph(doc);
            const std::string path = save(pdf ? "frame.pdf" : "frame.eps", doc);
            const testsupport::Rendered r =
                testsupport::renderWithGhostscript(path, 72, !pdf && purePost == 0);
            ASSERT_TRUE(r.ok) << r.err;
            EXPECT_EQ(r.err.find("Error"), std::string::npos) << r.err;
            ASSERT_GE(r.bitmap.width, 300);
            expectFrameRingAndOval(r.bitmap, ill);
            if (pdf) {
                const testsupport::RunResult check = testsupport::qpdfCheck(path);
                EXPECT_EQ(check.status, 0) << check.out << check.err;
                EXPECT_EQ(testsupport::pdftoppm(path, path + "-ppm").err, "");
                // The fonts the page selects are in its resources, listed by readers.
                const testsupport::RunResult f = testsupport::runCommand("pdffonts '" + path + "'");
                EXPECT_EQ(f.status, 0) << f.err;
                EXPECT_NE(f.out.find("Helvetica "), std::string::npos) << f.out;
            }
        }
    }
}

// A label of fractions on a sheet, through the whole document writer.
std::string fractionalDocument(int ill, int purePost) {
    vectortest::resetAll();
    gOut.ill = ill;
    gOut.purePost = purePost;
    gSym.Siz = 87.5;
    gSym.Hei = 22.85;
    gSym.gBaseAdjust = -1.5;
    copyBounded(gData.chMainCode2, "0123");
    gData.len1 = gData.len11 = 4;
    vectortest::singleItem(150, 40);
    labelBack.labelWidth = 1500;
    labelBack.labelHeight = 400;
    vectortest::addItem(kKindText, 5, 5, 20, 140)->setText(item::fontBelow, "\x09Helvetica");
    vectortest::addItem(kKindOval, 5, 5, 30, 60);
    labelBack3.labelWidth = 1500000;
    labelBack3.labelHeight = 400000;
    labelBack3.across = 2;
    labelBack3.down = 3;
    labelBack3.sheetWidth = 5955000;
    labelBack3.sheetHeight = 8420500;
    // The creation date is the clock's, not a number of ours.
    return std::regex_replace(vectortest::writeEPSout(), std::regex("%%CreationDate: [^\r]*"),
                              "%%CreationDate:");
}

// Pages and whole documents: carriage returns only, and the same bytes under a
// locale that writes a decimal comma.
TEST_F(CoveragePage, SameBytesUnderACommaLocale) {
    std::map<int32_t, std::string> pages, docs;  // docs by dialect * 10 + purePost
    for (int32_t ill : vectortest::kDialects) {
        pages[ill] = page(ill);
        EXPECT_EQ(pages[ill].find('\n'), std::string::npos) << ill;
        for (int pp : {0, 1, 2}) docs[ill * 10 + pp] = fractionalDocument(ill, pp);
    }
    EXPECT_NE(docs[10].find("height:\"22.850000\""), std::string::npos);
    ASSERT_TRUE(testsupport::enterCommaLocale());
    for (int32_t ill : vectortest::kDialects) {
        EXPECT_EQ(page(ill), pages[ill]) << ill;
        for (int pp : {0, 1, 2}) EXPECT_EQ(fractionalDocument(ill, pp), docs[ill * 10 + pp]) << ill;
    }
    testsupport::leaveCommaLocale();
}

}  // namespace
