#include "paint_fixture.h"

#include <algorithm>
#include <cmath>

#include "doc_fixture.h"
#include "labels/labelDoc.h"
#include "support/cases.h"
#include "support/symbol_data.h"
#include "symbology/appBits.h"
#include "symbology/info.h"
#include "symbology/rows.h"
#include "symbology/state.h"
#include "vector/page.h"

namespace painttest {

std::vector<Readable> readableSymbols() {
    std::vector<Readable> out;
    for (const testsupport::CaseLine& f : testsupport::readCases("vector/symbols.txt", 7)) {
        Readable r{f[0], {f.integer(1), f.integer(2), f[3], f[4]}, f[5], f[6]};
        if (r.want.empty()) r.want = r.spec.data;
        r.module = r.format == "QRCode" || r.format == "DataMatrix" || r.format == "PDF417";
        out.push_back(r);
    }
    return out;
}

Placed prepare(const SymbolSpec& s, const std::function<void()>& settings) {
    vectortest::resetAll();
    gDispatch = DispatchState{};
    gRows = RowState{};
    gSym.code = s.code;
    gSym.variation1 = s.variation;
    GetCodeText();
    if (s.siz > 0) gSym.Siz = s.siz;
    if (s.hei > 0) gSym.Hei = s.hei;
    gSym.BWidthRed = s.bwr;
    if (settings) settings();
    testsupport::setSymbolData(s.data, s.addOn);

    // The item takes the symbol's size, as the shell sizes a single symbol.
    const SymbolData keep = gData;
    Placed p;
    if (STRixel() == 0) {
        const SymbolExtent e = symbolExtent();
        p.width = static_cast<int>(std::ceil(e.width));
        p.height = static_cast<int>(std::ceil(e.height));
    }
    gData = keep;
    gDispatch = DispatchState{};
    gRows = RowState{};
    vectortest::addItem(kKindBarcode, 0, 0, p.height, p.width);
    setItemData(0, 2);
    return p;
}

std::string write(int ill, const std::function<void()>& alter) {
    setItemData(0, 2);
    if (alter) alter();
    gOut.ill = ill;
    return vectortest::writeEPSout();
}

std::string writeSymbol(const SymbolSpec& s, int ill, Placed* placed,
                        const std::function<void()>& settings) {
    Placed p = prepare(s, settings);
    if (placed) *placed = p;
    return write(ill);
}

testsupport::Rendered render(const std::string& doc, int ill, int dpi, const std::string& name) {
    const bool pdf = ill == 1115;
    std::string text = doc;
    if (ill == 2) text = vectortest::showType3Glyph(doc);
    const std::string path = testsupport::tempPath(name + (pdf ? ".pdf" : ".eps"));
    vectortest::writeFile(path, text);
    return testsupport::renderWithGhostscript(path, dpi, !pdf && ill != 2 && gOut.purePost == 0);
}

int probe(const testsupport::Bitmap& b, int dpi, double x, double y) {
    const int px = static_cast<int>(x * dpi / 72.0);
    const int py = b.height - 1 - static_cast<int>(y * dpi / 72.0);
    if (px < 0 || py < 0 || px >= b.width || py >= b.height) return -1;
    return b.at(px, py);
}

int darkestAround(const testsupport::Bitmap& b, int dpi, double x, double y, double r) {
    int best = 255;
    const double step = 72.0 / dpi;
    for (double yy = y - r; yy <= y + r; yy += step)
        for (double xx = x - r; xx <= x + r; xx += step) {
            const int v = probe(b, dpi, xx, yy);
            if (v >= 0) best = std::min(best, v);
        }
    return best;
}

}  // namespace painttest
