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

std::vector<std::string> headerComments(const std::string& doc) {
    std::vector<std::string> out;
    for (const std::string& l : linesOf(doc)) {
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

}  // namespace vectortest
