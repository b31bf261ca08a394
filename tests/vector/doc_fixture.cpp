#include "app/world.h"
#include "doc_fixture.h"

#include <fstream>
#include <regex>

#include <gtest/gtest.h>

#include "labels/production.h"
#include "platform/files.h"
#include "symbology/messages.h"
#include "symbology/state.h"
#include "vector/Epsout.h"
#include "vector/fontnames.h"
#include "vector/page.h"
#include "vector/pdf.h"
#include "vector/sink.h"
#include "vector_fixture.h"

namespace vectortest {

void resetAll() {
    resetWorld();
    initLabelItems();
    labelBack.labelWidth = 0;
    labelBack3 = LabelSheet{};
    resetProduction();
    resetEpsDocument();
    gMsg.quiet = true;
}

LabelItem* addItem(int kind, int top, int left, int bottom, int right) {
    if (addLabelItem() != 0) return nullptr;
    LabelItem* it = gLabel.labelParts[static_cast<size_t>(labelBack.lastItem)].get();
    it->setI16(item::kind, kind);
    it->setI16(item::rectTop, top);
    it->setI16(item::rectLeft, left);
    it->setI16(item::rectBottom, bottom);
    it->setI16(item::rectRight, right);
    return it;
}

LabelItem* singleItem(int width, int height) {
    LabelItem* it = addItem(kKindBarcode, 0, 0, height, width);
    if (it) {
        it->setText(item::fontAbove, "\x07Strixel");
        it->setText(item::fontBelow, "\x07Strixel");
    }
    return it;
}

std::string simpleDocument(int ill, int purePost, const std::function<void()>& page) {
    resetAll();
    gOut.ill = ill;
    gOut.purePost = purePost;
    gSym.code = 5;
    copyBounded(gSym.TeF, "Code 128");
    copyBounded(gData.chMainCode2, "ABC123");
    gData.len1 = gData.len11 = 6;
    LabelItem* it = singleItem(200, 100);
    it->setText(item::fontBelow, "\x09Helvetica");
    return writeDocument(page);
}

void unsizedSheet(int ill, int width, int height, int across, int down) {
    freshItem(ill, width, height);
    labelBack3.labelWidth = 100 * 10000;
    labelBack3.labelHeight = 50 * 10000;
    labelBack3.across = across;
    labelBack3.down = down;
}

LabelItem* freshItem(int ill, int width, int height) {
    resetAll();
    gOut.ill = ill;
    return singleItem(width, height);
}

void sheetOfSixteen() {
    labelBack.labelWidth = 1000;
    labelBack.labelHeight = 500;
    labelBack3.labelWidth = 100 * 10000;
    labelBack3.labelHeight = 50 * 10000;
    labelBack3.across = 2;
    labelBack3.down = 8;
    labelBack3.leftMargin = 20 * 10000;
    labelBack3.topMargin = 30 * 10000;
    labelBack3.spaceAcross = 10 * 10000;
    labelBack3.spaceDown = 10 * 10000;
    labelBack3.sheetWidth = 300 * 10000;
    labelBack3.sheetHeight = 520 * 10000;
}

std::vector<Label> labels(const std::string& doc, int ill) {
    const bool pdf = ill == 1115;
    const std::regex place(pdf ? "q\r1 0 0 1 ([0-9.-]+) ([0-9.-]+) cm\r"
                               : "gsave\r([0-9.-]+) ([0-9.-]+) translate\r");
    const std::regex run("\\(([^()\\\\]*)\\)");
    std::vector<Label> out;
    for (auto m = std::sregex_iterator(doc.begin(), doc.end(), place); m != std::sregex_iterator();
         ++m) {
        Label l;
        l.x = std::stod((*m)[1]);
        l.y = std::stod((*m)[2]);
        const size_t from = static_cast<size_t>(m->position() + m->length());
        const size_t to = doc.find(pdf ? "\rQ\r" : "\rgrestore\r", from);
        l.body = doc.substr(from, to - from);
        std::smatch t;
        if (std::regex_search(l.body, t, run)) l.text = t[1];
        out.push_back(l);
    }
    return out;
}

void expectSixteenPositions(const std::vector<Label>& at, int ill) {
    ASSERT_EQ(at.size(), 16u) << "ill " << ill;
    for (int n = 0; n < 16; ++n) {
        EXPECT_DOUBLE_EQ(at[n].x, n < 8 ? 20 : 130) << n;
        EXPECT_DOUBLE_EQ(at[n].y, 520 - (30 + 60 * (n % 8) + 50)) << n;
    }
}

std::string writeDocument(const std::function<void()>& page) {
    platform::FileRef ref = platform::FSOpenMemory();
    EpsStart(ref, 0);
    if (gOut.ill == kIllPdf) pdfContentStart();
    if (page) page();
    doTrailer();
    if (gOut.ill == kIllPdf) pdfContentEnd();
    EpsEnd(ref);
    std::string out = platform::FSMemoryContents(ref);
    platform::FSClose(ref);
    return out;
}

std::string writeEPSout(int* result) {
    platform::FileRef ref = platform::FSOpenMemory();
    int r = EPSout(ref, 0);
    if (result) *result = r;
    std::string out = platform::FSMemoryContents(ref);
    platform::FSClose(ref);
    return out;
}

std::vector<std::string> lines(const std::string& doc) { return linesOf(doc); }

std::vector<std::string> headerComments(const std::string& doc) {
    std::vector<std::string> out;
    for (const std::string& l : lines(doc)) {
        if (l == "%%EndComments") break;
        if (l.rfind("%%", 0) == 0) out.push_back(l);
    }
    return out;
}

bool writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream f(path, std::ios::binary);
    f << bytes;
    return static_cast<bool>(f);
}

std::string showType3Glyph(const std::string& doc) {
    return doc + "\r/TEST findfont 1 scalefont setfont 0 0 moveto (6) show showpage\r";
}

std::string withStackProbes(const std::string& doc) {
    const size_t first = doc.find('\r', doc.find("%!PS")) + 1;
    const size_t eof = doc.rfind("%%EOF");
    if (first == 0 || eof == std::string::npos || eof < first) return doc;
    return doc.substr(0, first) +
           "count /StrixelOps exch def countdictstack /StrixelDicts exch def\r" +
           doc.substr(first, eof - first) +
           "count StrixelOps ne { operands_left_on_the_stack } if\r"
           "countdictstack StrixelDicts ne { dictionary_stack_unbalanced } if\r" +
           doc.substr(eof);
}

namespace {

// The colour and line set-up that every barcode item begins with.
std::string setUp(int ill) {
    std::string s;
    if (ill == 1115) return "0 0 0 1 k\r0 J 0 j 0.057 w 4 M []0 d\r";
    if (ill > 87) s += "0 A\r";
    s += "u\r";
    if (ill > 87) s += "0 O 0 R\r";
    s += "0 0 0 1 k\r0 G\r0 i 0 J 0 j\r1 w 4 M []0 d\r";
    if (ill == 93 || ill == 95)
        s += "%AI3_Note:\r0 D\r";
    else
        s += "%%Note:\r";
    return s;
}

std::string colours(int ill) {
    std::string s = "0 .05 1 .40 k\r.50 0 0 0 K\r";
    if (ill > 87 && ill != 1115) s += "0 R\r";
    if (ill > 87) s += "1 G\r0 G\r";
    if (ill > 87 && ill != 1115) {
        s += "0 .05 1 .40 (Spot \\(A\\)) 0 x\r";
        s += "0 .05 1 .40 (Spot \\(A\\)) 0 X\r";
        s += "1 O\r0 O\r";
    }
    return s;
}

std::string shapes(int ill) {
    const bool pdf = ill == 1115;
    const char* L = pdf ? "l" : "L";
    const char* C = pdf ? "c" : "C";
    std::string s;
    // stroked rectangle with its centre mark, filled rectangle, stroked oval, line
    s += std::string("1 w\r10 10 m\r10 30 ") + L + "\r40 30 " + L + "\r40 10 " + L + "\r10 10 " +
         L + "\rs\r25 20 m\rS\r\r";
    s += std::string("0 w\r45 10 m\r45 30 ") + L + "\r60 30 " + L + "\r60 10 " + L + "\r45 10 " +
         L + "\rf\r";
    s += std::string("2 w\r65 20 m\r65 25 70 30 75 30 ") + C + "\r80 30 85 25 85 20 " + C +
         "\r85 15 80 10 75 10 " + C + "\r70 10 65 15 65 20 " + C + "\rs\r";
    s += std::string("1 w\r90 10 m\r100 30 ") + L + "\rS\r\r";
    // a frame drawn as a filled band: a compound path with a hole
    if (ill == 93 || ill == 95 || ill == 25 || pdf) {
        s += pdf ? "" : "*u\r";
        s += "105 10 m\r105 30 l\r125 30 l\r125 10 l\r105 10 l\r";
        s += pdf ? "h\r" : "f\r";
        s += "107 12 m\r123 12 l\r123 28 l\r107 28 l\r107 12 l\rf\r";
        s += pdf ? "" : "*U\r";
    }
    // bars, filled and stroked, in the fixed-point forms of bar painting
    s += std::string("130.0000 10.000000 m\r132.5000 10.000000 ") + L + "\r132.5000 30.000000 " +
         L + "\r130.0000 30.000000 " + L + "\r130.0000 10.000000 " + L + "\rf\r";
    s += std::string("0.1234 w\r134.000000 10.000000 m\r136.000000 10.000000 ") + L +
         "\r136.000000 30.000000 " + L + "\r134.000000 30.000000 " + L + "\r134.000000 10.000000 " +
         L + "\rs\r0 w\r";
    // a glyph with a counter: outer contour, then the counter painted white or
    // cut out, by dialect
    const std::string glyphOuter =
        "140.000000 10.000000 m\r150.000000 10.000000 l\r150.000000 30.000000 l\r"
        "140.000000 30.000000 l\r140.000000 10.000000 l\r";
    const std::string counter =
        "143.000000 13.000000 m\r143.000000 27.000000 l\r147.000000 27.000000 l\r"
        "147.000000 20.000000 147.000000 15.000000 145.000000 13.000000 c\r"
        "143.000000 13.000000 l\r";
    if (pdf)
        s += glyphOuter + "h\r" + counter + "f\r";
    else if (ill >= 93)
        s += "*u\r" + glyphOuter + "f\r" + counter + "f\r*U\r";
    else if (ill == 25)
        s += "*u\r" + glyphOuter + "f\r0 0 0 0 k\r" + counter + "f\r*U\r";
    else
        s += glyphOuter + "f\r0 0 0 0 k\r" + counter + "f\r0 .05 1 .40 k\r";
    return s;
}

std::string text(int ill) {
    std::string s;
    if (ill == 1115) {
        return "BT\r/Helvetica 12.0000 Tf\r1 0 0 1 10 60 Tm\r(a\\(b\\)c \\\\ \216) Tj\rET\r"
               "BT\r/Helvetica 8.0000 Tf\r0 1 -1 0 180 40 Tm\r(turned) Tj\rET\r";
    }
    if (ill < 91) {
        s += "/_Helvetica 12.0000 12.0000 0 0 z\r[1 0 0 1 10 60]e\r";
        s += ill == 88 ? "10 " : "";
        s += "(a\\(b\\)c \\\\ \216)t\rT\r";
        s += "/_Times-Roman 8.0000 8.0000 0 0 z\r[0 1 -1 0 180 40]e\r";
        s += ill == 88 ? "5 " : "";
        s += "(turned)t\rT\r";
        s += "/_NoSuchFont 8.0000 8.0000 0 0 z\r[1 0 0 1 100 60]e\r";
        s += ill == 88 ? "6 " : "";
        s += "(missing)t\rT\r";
        return s;
    }
    const std::string attrs =
        "0 Ts\r100 Tz\r0 Tt\r0 TA\r0 0 5 TC\r100 100 200 TW\r0 0 0 Ti\r0 Ta\r0 0 2 2 3 Th\r"
        "0 Tq\r0 0 Tl\r0 Tc\r0 Tw\r";
    s += "0 To\r1 0 0 1 10 10 0 Tp\rTP\r0 Tr\r/_Helvetica 12.0000 Tf\rTO\r";
    s += "0 To\r1 0 0 1 10 60 0 Tp\rTP\r0 Tr\r" + attrs + "(a\\(b\\)c \\\\ \216)Tx\r(\\r)TX\rTO\r";
    s += "0 To\r1 0 0 1 10 10 0 Tp\rTP\r0 Tr\r/_NoSuchFont 8.0000 Tf\rTO\r";
    s += "0 To\r0 1 -1 0 180 40 0 Tp\rTP\r0 Tr\r" + attrs + "(missing)Tx\r(\\r)TX\rTO\r";
    return s;
}

}  // namespace

std::string coveragePage(int ill) {
    std::string s;
    if (ill == 2) {
        // Page-level items, then a barcode item as the glyph "six".
        s += "1 w\r10 10 m\r10 30 L\r40 30 L\r40 10 L\r10 10 L\rs\r25 20 m\rS\r\r";
        s += "2 w\r65 20 m\r65 25 70 30 75 30 C\r80 30 85 25 85 20 C\r85 15 80 10 75 10 C\r"
             "70 10 65 15 65 20 C\rs\r";
        s += "1 w\r90 10 m\r100 30 L\rS\r\r";
        s += "0 w\r45 10 m\r45 30 L\r60 30 L\r60 10 L\r45 10 L\rf\r";
        s += "/_Helvetica 12.0000 12.0000 0 0 z\r[1 0 0 1 10 60]e\r(a\\(b\\)c \216)t\rT\r";
        s += "/six {3237 0 -429 -353 3419 7409 Cache\r";
        s += "110.000000 40.000000 moveto\r112.000000 40.000000 rlineto\r"
             "112.000000 80.000000 rlineto\r110.000000 80.000000 rlineto closepath\r";
        s += "115.000000 40.000000 moveto\r118.000000 40.000000 rlineto\r"
             "118.000000 80.000000 rlineto\r115.000000 80.000000 rlineto closepath\r";
        s += "120.000000 40.000000 m\r130.000000 40.000000 l\r130.000000 60.000000 l\r"
             "125.000000 65.000000 120.000000 62.000000 120.000000 60.000000 c\r"
             "120.000000 40.000000 l\rf\r0 0 0 0 k\r"
             "123.000000 43.000000 m\r127.000000 43.000000 l\r127.000000 57.000000 l\r"
             "123.000000 57.000000 l\r123.000000 43.000000 l\rf\r";
        s += "132.000000 40.000000 moveto\r134.000000 40.000000 rlineto\r"
             "134.000000 80.000000 rlineto\r132.000000 80.000000 rlineto closepath\r";
        s += "Fill }def\r";
        return s;
    }
    const bool pdf = ill == 1115;
    s += pdf ? "q\r1 0 0 1 2 1 cm\r" : "gsave\r2 1 translate\r";
    s += setUp(ill) + colours(ill) + shapes(ill) + text(ill);
    s += pdf ? "Q\r" : "grestore\r";
    if (!pdf) s += "5 5 translate\r-5 -5 translate\r";
    return s;
}

}  // namespace vectortest
