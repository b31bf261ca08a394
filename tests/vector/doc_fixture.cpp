#include "app/world.h"
#include "doc_fixture.h"

#include <fstream>

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
