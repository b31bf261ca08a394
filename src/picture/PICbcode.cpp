#include "picture/PICbcode.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "labels/labelDoc.h"
#include "pdf417/DataMatrix.h"
#include "picture/colours.h"
#include "picture/hooks.h"
#include "picture/painters2d.h"
#include "picture/pictpaint.h"
#include "picture/picttext.h"
#include "picture/services.h"
#include "platform/textmetrics.h"
#include "symbology/codebars.h"
#include "symbology/state.h"
#include "vector/codebars_paint.h"
#include "vector/page.h"
#include "vector/units.h"

namespace {

constexpr double kPointsPerMmBox = 2.8346;
constexpr double kPointsPerUm = 2.8346456692913385e-5;  // per percent of magnification
constexpr double kPointsPerUmItem = 0.0028346458;
constexpr double kFinePerPoint = 35.27777777777778;
constexpr int32_t kFineNum = 2540, kFineDen = 72;  // points to hundredths of a millimetre
constexpr int32_t kItemScale = 35;                 // the item's pen scale in such a picture
constexpr double kSymbolLead = 1;                  // points from the box's left edge
constexpr int32_t kWindowLeft = 200, kWindowTop = 120;
constexpr int32_t kUpcNoAddOnExtra = 4;   // points: UPC-A's check digit right of the bars
constexpr double kIssnExtra = 0.2;        // of the text size, room for the ISSN header
constexpr int32_t kCutMark = 10;          // points
constexpr int32_t kGaugeWidth = 12;       // points, hWidth once marks are drawn
constexpr int32_t kGaugeRightFine = 450;  // hundredths of a millimetre
constexpr int32_t kGaugeBigText = 20, kGaugeText = 10;
// The H mark, hundredths of a millimetre from its bottom left.
constexpr double kHLeft0 = 141, kHLeft1 = 221, kHRight0 = 241, kHRight1 = 321, kHHeight = 707.7,
                 kHBarTop = 391, kHBarBottom = 291;
constexpr const char* kUpcBarFontLine = "0;;;;;;;566666;;;;666668;;;;;4";
constexpr int32_t kUpcBarFontChars = 29;

// A symbol as wide as a damaged document may make it is held at the unit's range.
int32_t toFine(int32_t points) { return sum32(int64_t{points} * kFineNum / kFineDen, 0); }

// The height of a square symbol's box of width w; a rectangular DataMatrix of
// the size asked for is as high as its rows.
double squareHeight(double w) {
    int32_t rows = 0, cols = 0;
    if (gSym.code == 38 && datamatrix::sizeAskedForTaken(&rows, &cols)) return w / cols * rows;
    return w;
}

bool square() { return gSym.code == 38 || gSym.code == 40; }

struct Extras {
    int32_t a = 0;
    int32_t e = 0;
    double f = 0;
};

Extras extrasFor(int32_t t, bool anyIssnVariant) {
    Extras x;
    if (gSym.code == 10 && gData.len2 == 0) x.a = kUpcNoAddOnExtra;
    if (gSym.code == 24 || gSym.code == 14) x.e = t;
    if (gSym.code == 2 && (anyIssnVariant ? gSym.variation1 < 255 : gSym.variation1 == 0))
        x.f = t * kIssnExtra;
    return x;
}

void penLine(int32_t h0, int32_t v0, int32_t h1, int32_t v1) {
    qd::MoveTo(h0, v0);
    qd::LineTo(h1, v1);
}

void bearers(const qd::Rect& frame, double s, int32_t t) {
    const int32_t code = gSym.code, v = gSym.variation1;
    const bool topOnly = code == 4 && (v == 6 || v == 9);
    if (gSym.line == 0 && !topOnly) return;
    if (topOnly) gSym.line = 2;
    const auto p = static_cast<int32_t>(gSym.line * s);
    qd::PenSize(p, p);
    const int32_t inset =
        static_cast<int32_t>((gSym.cutMarks == 1 ? (gSym.insetAmount / 10) * 10 : 0) * s);
    qd::Rect r{frame.top + inset, frame.left + inset, 0, frame.right - inset};
    if (gSym.AboveHu == 1)
        r.bottom =
            frame.bottom -
            static_cast<int32_t>(std::max(t, gSym.customTeSize != 0 ? gSym.customTeSize : 0) * s) -
            inset;
    else
        r.bottom = frame.bottom - inset - static_cast<int32_t>(gSym.gBaseAdjust * s);
    if (topOnly) {
        r.bottom -= p;
        penLine(r.left + p, r.top, r.right - 2 * p, r.top);
        gSym.line = 0;
    } else if (gSym.para == 0 && gSym.end_bars == 0) {
        qd::FrameRect(r);
    } else if (gSym.para == 1) {
        r.bottom -= p;
        penLine(r.left + p, r.top, r.right - 2 * p, r.top);
        if (gSym.end_bars != 1) penLine(r.left + p, r.bottom, r.right - 2 * p, r.bottom);
    } else {
        r.bottom -= p;
        penLine(r.left, r.top + p, r.left, r.bottom);
        penLine(r.right - p, r.top + p, r.right - p, r.bottom);
    }
    qd::PenSize(1, 1);
}

// The L of a cut mark at each corner, inside the frame.
void cutMarks(const qd::Rect& fr, double s) {
    const auto w = std::max<int32_t>(1, static_cast<int32_t>(s));
    const auto m = static_cast<int32_t>(kCutMark * s);
    qd::PenSize(w, w);
    const int32_t l = fr.left + m - 1, r = fr.right - m;
    const int32_t t = fr.top + m, b = fr.bottom - m - w;
    const int32_t rightSide = fr.right - w, bottomSide = fr.bottom - w;
    penLine(l, fr.top, l, t);
    penLine(l, t, fr.left, t);
    penLine(r, fr.top, r, t);
    penLine(r, t, rightSide, t);
    penLine(l, bottomSide, l, b);
    penLine(l, b, fr.left, b);
    penLine(r, bottomSide, r, b);
    penLine(r, b, rightSide, b);
    qd::PenSize(1, 1);
}

void smallEanFrame(const qd::Rect& fr, double s, int32_t t, int32_t inset) {
    const auto w = std::max<int32_t>(1, static_cast<int32_t>(s));
    qd::PenSize(w, w);
    const int32_t l = fr.left + inset, r = fr.right - inset - w, top = fr.top + inset;
    const int32_t bottom = fr.top + static_cast<int32_t>(t * s) / 2 + inset;
    penLine(l, bottom, l, top);
    penLine(l, top, r, top);
    penLine(r, top, r, bottom);
    qd::PenSize(1, 1);
}

// Codablock F: each row's bars painted from their element widths, measured at
// half, as the vector writer paints them. The bar font of this program has no
// element glyphs to set the rows with, and rows stepped by the text size ran out
// of the box at other sizes than 100 %: the rows share the bar height instead.
// The bars go through the bar hook, as every other symbol's do.
void codablockRows(int32_t x, int32_t y, double s, bool label) {
    const int32_t rows =
        static_cast<int32_t>(std::count(gEl.chNum, gEl.chNum + std::max(gEl.cu_len, 0), kRowEnd));
    if (rows == 0) return;
    const double unit = (label ? 1 : s) * kPointsPerUm * gSym.Siz * 0.5;
    const double height = std::trunc(gSym.Hei * kPointsPerMmBox) * (label ? 1 : s);
    int32_t row = 0;
    double run = 0;  // micrometres from the row's start
    // One filled path: rows painted bar by bar show seams between them wherever a
    // viewer smooths the edges of each fill, and the symbol reads as nothing.
    qd::BeginFillGroup();
    for (int32_t i = 0; i < gEl.cu_len; ++i) {
        const unsigned char b = gEl.chNum[i];
        if (b == kRowEnd) {
            ++row;
            run = 0;
            continue;
        }
        const int32_t w = charToWidth(b);
        if (w == kNoElement) continue;
        if (w > 0) {
            const auto top = static_cast<int32_t>(y + height * row / rows);
            const auto bottom = static_cast<int32_t>(y + height * (row + 1) / rows);
            gHooks.bar_ptr({top, x + static_cast<int32_t>(std::lround(run * unit)), bottom,
                            x + static_cast<int32_t>(std::lround((run + w) * unit))});
        }
        run += std::abs(w);
    }
    qd::EndFillGroup();
}

void gaugeMarks(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t t, int32_t p,
                bool fine) {
    int16_t fnum = 0;
    qd::GetFNum(gSym.barFont, &fnum);
    qd::TextFont(fnum);
    if (gSym.Hgauge == 2) t = bigText(gSym.code) ? kGaugeBigText : kGaugeText;
    const int32_t boxH = bottom - top;
    const double line = gSym.line;
    int32_t y = 0;
    switch (gSym.HgaugeJ) {
        case 0:
            y = top + boxH / 2 + (gSym.AboveHu == 0 ? t / 2 : 0);
            break;
        case 1:
            y = static_cast<int32_t>(top + line + t + gSym.insetAmount + 2);
            break;
        default: {
            double d = line;
            if (gSym.AboveHu == 1) {
                double c = std::max(t, gSym.customTeSize != 0 ? gSym.customTeSize : 0);
                if (gSym.end_bars != 0 && gSym.para == 0) c -= line;
                d += c;
            }
            y = static_cast<int32_t>(bottom - d);
            break;
        }
    }
    gPictServices.hWidth = kGaugeWidth;
    if (fine) {
        const int32_t fy = toFine(y);
        drawHGaugePict('H', toFine(left + gSym.insetAmount) + p, fy);
        drawHGaugePict('H', toFine(right) - kGaugeRightFine - p, fy);
    } else {
        drawHGaugePict('H', left + p + gSym.insetAmount, y);
        // The mark stands left of its x: its width inside the box.
        drawHGaugePict('H', right - p - gSym.insetAmount - kGaugeWidth, y);
    }
}

}  // namespace

int32_t pictTextSize() {
    const int32_t code = gSym.code;
    if (code == 14) return static_cast<int32_t>(gSym.Siz * 0.05);
    return static_cast<int32_t>(gSym.Siz * (bigText(code) ? 0.2 : 0.1));
}

void MeasureBarCodeBox(qd::Rect* frame, qd::Rect* window) {
    const int32_t t = pictTextSize();
    const Extras x = extrasFor(t, false);
    if (gSym.code == 10) {
        // The bar font at 100 %: the UPC-A digit and text line widths.
        int16_t fnum = 0;
        platform::GetFNum(gSym.barFont, &fnum);
        platform::TextFont(fnum);
        platform::SetFractEnable(true);
        platform::TextFace(0);
        platform::TextSize(kGaugeText);
        const unsigned char zero = '0';
        gPictServices.cwid = platform::TextWidth(&zero, 0, 1);
        gPictServices.strwid =
            platform::TextWidth(kUpcBarFontLine, 0, kUpcBarFontChars) + (gData.len2 == 0 ? 2 : -1);
    }
    const double wExact = GetCodeWidth() * gSym.Siz * kPointsPerUm + 2 * gSym.line + x.a +
                          2 * gSym.insetAmount + 2 * gSym.extraMargin + 2;
    const auto W = static_cast<int32_t>(wExact);
    double hmm = postalHeight(gSym.Hei * kPointsPerMmBox) + x.e + x.f - gSym.gBaseAdjust;
    if (square()) hmm = squareHeight(W);
    const auto H = static_cast<int32_t>(hmm);
    *window = {kWindowTop, kWindowLeft, kWindowTop + H, kWindowLeft + W};
    if (labelBack.labelWidth != 0) {
        *frame = {0, 0, H, W};
        return;
    }
    const int32_t fw = toFine(W);
    int32_t hf = static_cast<int32_t>(hmm * kFinePerPoint);
    if (square()) hf = trunc32(squareHeight(fw));
    if (gSym.lMode & 4)
        hf += static_cast<int32_t>((gSym.gline - static_cast<int32_t>(gSym.gline)) * kFinePerPoint);
    *frame = {0, 0, hf, fw};
}

void holdPaintedRows() {
    if (labelBack.labelWidth == 0 || (gSym.code != 41 && gSym.code != 42)) return;
    // The row unit PICbcode paints with: the text size of the whole size.
    const auto unit = static_cast<int32_t>(static_cast<int32_t>(gSym.Siz) * 0.1);
    const int32_t needed = gSym.insetAmount + MicroPDF417RowsHeight(unit);
    const double box = postalHeight(gSym.Hei * kPointsPerMmBox) - gSym.gBaseAdjust;
    // Half a point over the whole points the box is cut to.
    if (static_cast<int32_t>(box) < needed)
        gSym.Hei = (needed + gSym.gBaseAdjust + 0.5) / kPointsPerMmBox;
}

void drawHGaugePict(unsigned char, int32_t x, int32_t y) {
    // Hundredths of a millimetre; the same size in points on a label.
    const double k = labelBack.labelWidth != 0 ? 1 / kFinePerPoint : 1;
    auto dx = [&](double d) { return x + static_cast<int32_t>(d * k); };
    auto dy = [&](double d) { return static_cast<int32_t>(y - d * k); };
    qd::PaintRect({dy(kHHeight), dx(kHLeft0), y, dx(kHLeft1)});
    qd::PaintRect({dy(kHHeight), dx(kHRight0), y, dx(kHRight1)});
    qd::PaintRect({dy(kHBarTop), dx(kHLeft0), dy(kHBarBottom), dx(kHRight1)});
}

void PICbcode(int32_t left, int32_t top, int32_t* outRight, int32_t* outBottom, int32_t i) {
    const double keepSiz = gSym.Siz;
    gSym.Siz = static_cast<int32_t>(gSym.Siz);
    gSym.bol = 0;
    const int32_t code = gSym.code;
    const int32_t t = pictTextSize();
    const Extras x = extrasFor(t, true);
    const bool label = labelBack.labelWidth != 0;

    auto right =
        static_cast<int32_t>(left + GetCodeWidth() * kPointsPerUmItem * gSym.Siz * 0.01 +
                             2 * gSym.line + x.a + 2 * gSym.insetAmount + 2 * gSym.extraMargin + 2);
    auto bottom = static_cast<int32_t>(top + postalHeight(gSym.Hei * kPointsPerMmBox) + x.e + x.f);
    if (square()) bottom = top + static_cast<int32_t>(squareHeight(right - left));
    *outRight = right;
    *outBottom = bottom;

    qd::Rect frame{top, left, bottom, right};
    double s = 1;
    if (!label) {
        frame = {0, 0, toFine(bottom), toFine(right)};
        if (square()) frame.bottom = trunc32(squareHeight(frame.right));
        s = kItemScale;
    }

    if (gSym.transpar_ent == 0) {
        const ItemColours c = itemSecondColours(i);
        setBackColourInPict(c.c, c.m, c.y, c.k);
        qd::PaintRect(frame);
    }
    setColourInPict();

    bearers(frame, s, t);
    const int32_t inset =
        static_cast<int32_t>((gSym.cutMarks == 1 ? (gSym.insetAmount / 10) * 10 : 0) * s);
    if (code == 9) smallEanFrame(frame, s, t, inset);
    if (gSym.cutMarks == 1) cutMarks(frame, s);

    const double xPt = gSym.insetAmount + gSym.line + left + gSym.extraMargin + kSymbolLead;
    const double yPt = x.a + x.e + gSym.line + gSym.insetAmount + top;
    const auto mx = static_cast<int32_t>(label ? xPt : (xPt - left) * s);
    const auto my = static_cast<int32_t>(label ? yPt : (yPt - top) * s);
    const auto u = static_cast<int32_t>(gSym.Siz * s * 0.1);
    const int32_t margin = static_cast<int32_t>(gSym.insetAmount + gSym.line);
    const int32_t barHeight = (bottom - top) - margin - t;
    bool linear = false;
    switch (code) {
        case 38: {
            // DataMatrix fills its box from the left edge, as in the vector output:
            // the point the other symbols keep there would cut its last column.
            const double dmPt = xPt - kSymbolLead;
            DrawDatamatrixPC(static_cast<int32_t>(label ? dmPt : (dmPt - left) * s), my, u, s);
            break;
        }
        case 40:
            DrawDatamatrixPC(mx, my, u, s);
            break;
        case 39:
            codablockRows(mx, my, s, label);
            break;
        case 41:
        case 42:
            DrawMicroPDF417PC(mx, my, u, s, 0, 0, 0, frame.width());
            break;
        case 37:
            DrawRSSStackedPC(mx, my, u, s, 0, 0, 0, frame.width());
            break;
        default:
            linear = true;
            if (label)
                DrawPictBarcode(t, static_cast<int32_t>(top + gSym.line), barHeight, right - left,
                                left, i, margin, 0);
            else
                DrawPictBarcode(toFine(t), toFine(static_cast<int32_t>(gSym.line)),
                                static_cast<int32_t>(barHeight * kFinePerPoint), toFine(right),
                                toFine(left), i, toFine(margin), 1);
            break;
    }

    if (linear && gSym.Hgauge > 0)
        gaugeMarks(left, top, right, bottom, t, static_cast<int32_t>(gSym.line * s), !label);

    qd::PenNormal();
    gSym.Siz = keepSiz;
}
