#include "paint_fixture.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "doc_fixture.h"
#include "labels/labelDoc.h"
#include "symbology/appBits.h"
#include "symbology/info.h"
#include "symbology/rows.h"
#include "symbology/state.h"
#include "vector/page.h"

namespace painttest {

namespace {

void setData(const SymbolSpec& s) {
    copyBounded(gData.chMainCode, s.data.c_str());
    copyBounded(gData.chMainCode2, s.data.c_str());
    gData.len1 = gData.len11 = static_cast<int32_t>(s.data.size());
    copyBounded(gData.chAddCode, s.addOn.c_str());
    copyBounded(gData.chAddCode2, s.addOn.c_str());
    gData.len2 = gData.len22 = static_cast<int32_t>(s.addOn.size());
}

}  // namespace

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
    setData(s);

    // The item takes the symbol's size, as the shell sizes a single symbol.
    const SymbolData keep = gData;
    Placed p;
    if (STRixel() == 0) {
        const bool square = gSym.code == 38 || gSym.code == 40;
        double w = GetCodeWidth() * 0.0028346458 * gSym.Siz / 100 + 2 * gSym.line +
                   2 * gSym.insetAmount + 2 * gSym.extraMargin + (gSym.code == 38 ? 0 : 2);
        p.width = static_cast<int>(std::ceil(w));
        p.height = static_cast<int>(std::ceil(square ? w : gSym.Hei * 2.8346456));
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

testsupport::Bitmap padded(const testsupport::Bitmap& b, int margin) {
    testsupport::Bitmap out;
    out.width = b.width + 2 * margin;
    out.height = b.height + 2 * margin;
    out.pixels.assign(static_cast<size_t>(out.width) * out.height, 255);
    for (int y = 0; y < b.height; ++y)
        std::memcpy(&out.pixels[static_cast<size_t>(y + margin) * out.width + margin],
                    &b.pixels[static_cast<size_t>(y) * b.width], static_cast<size_t>(b.width));
    return out;
}

testsupport::Bitmap inkOnly(const testsupport::Bitmap& b, int margin) {
    int x0 = b.width, y0 = b.height, x1 = -1, y1 = -1;
    for (int y = 0; y < b.height; ++y)
        for (int x = 0; x < b.width; ++x)
            if (b.at(x, y) < 128) {
                x0 = std::min(x0, x);
                x1 = std::max(x1, x);
                y0 = std::min(y0, y);
                y1 = std::max(y1, y);
            }
    if (x1 < 0) return padded(b, margin);
    testsupport::Bitmap c;
    c.width = x1 - x0 + 1;
    c.height = y1 - y0 + 1;
    c.pixels.resize(static_cast<size_t>(c.width) * c.height);
    for (int y = 0; y < c.height; ++y)
        std::memcpy(&c.pixels[static_cast<size_t>(y) * c.width],
                    &b.pixels[static_cast<size_t>(y + y0) * b.width + x0],
                    static_cast<size_t>(c.width));
    return padded(c, margin);
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
