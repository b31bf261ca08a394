// The barcode item of a vector page: places the symbol, paints its background,
// has bar painting draw bars and text, and adds bearers, end bars, special
// marks, cut marks, gauges and quiet-zone marks.
#include "vector/page.h"

#include <algorithm>
#include <cmath>

#include "labels/labelDoc.h"
#include "pdf417/DataMatrix.h"
#include "platform/textmetrics.h"
#include "symbology/codebars.h"
#include "symbology/state.h"
#include "vector/blocks.h"
#include "vector/chars.h"
#include "vector/codebars_paint.h"
#include "vector/dialect.h"
#include "vector/emit.h"
#include "vector/glyphs.h"
#include "vector/shapes.h"
#include "vector/sink.h"
#include "vector/textruns.h"
#include "vector/units.h"

namespace {

constexpr double kWidthToPoints = 0.0028346458;  // micrometres to points
constexpr double kGaugeWidth = 12;               // points: the H-gauge mark
constexpr double kCodeMargin = 12;               // points: ITF marks stand off the bearer frame
constexpr double kMarkWidth = 1;                 // stroke of the small-item and cut marks

// The serif marks of the retail ITF and EAN-8 variants instead of '>' and '<'.
bool serifMarks() {
    const int32_t code = gSym.code, v = gSym.variation1;
    return (code == 4 && (v == 6 || v == 9)) || (code == 3 && v == 7);
}

}  // namespace

SymbolExtent symbolExtent() {
    const int32_t code = gSym.code;
    SymbolExtent e;
    e.width = GetCodeWidth() * kWidthToPoints * gSym.Siz / 100 + 2 * gSym.line +
              2 * gSym.insetAmount + 2 * gSym.extraMargin;
    if (code != 38) e.width += 2;
    const bool square = code == 38 || code == 40;
    e.height = square ? e.width : postalHeight(gSym.Hei * kPointsPerMm);
    // A rectangular DataMatrix of the size asked for: its box is as high as its rows.
    int32_t rows = 0, cols = 0;
    if (code == 38 && datamatrix::sizeAskedForTaken(&rows, &cols)) e.height = e.width / cols * rows;
    return e;
}

namespace {

void translate(double x, double y) {
    Emit e;
    if (dialect::pdf())
        e.s("1 0 0 1 ").f(x).c(' ').f(y).s(" cm\r");
    else
        e.f(x).c(' ').f(y).s(" translate\r");
}

// A per-item turn: the centre (sx, sy) of the unturned symbol comes to the
// centre (cx, cy) of the item, turned by degrees (counter-clockwise, as the text
// matrices turn). The text writers then place their characters unturned inside.
void beginTurn(double cx, double cy, double sx, double sy, double degrees) {
    const double r = degrees * 3.14159265358979323846 / 180.0;
    const double cs = std::cos(r), sn = std::sin(r);
    Emit e;
    if (dialect::pdf()) {
        e.s("q\r1 0 0 1 ").f(cx).c(' ').f(cy).s(" cm\r");
        e.f(cs).c(' ').f(sn).c(' ').f(-sn).c(' ').f(cs).s(" 0 0 cm\r");
        e.s("1 0 0 1 ").f(-sx).c(' ').f(-sy).s(" cm\r");
    } else {
        e.s("gsave\r").f(cx).c(' ').f(cy).s(" translate\r").f(degrees).s(" rotate\r");
        e.f(-sx).c(' ').f(-sy).s(" translate\r");
    }
}

void endTurn() { TEInsert2(dialect::pdf() ? "Q\r" : "grestore\r"); }

// The digit of a gauge from an add-on character: '1' to '9' give 0 to 8.
int32_t addOnGauge(char ch) { return (ch >= '1' && ch <= '9') ? ch - '1' : 9; }

void drawGauges(double left, double right, double lower, double height, double hw, double t,
                int32_t s) {
    const int32_t code = gSym.code;
    const int32_t bw = trunc32(gSym.BWidthRed / (gSym.Siz * 0.5));
    if (gSym.Hgauge != 2)
        SetDrawTxtSize(trunc32(s * 10 * gSym.Siz * 0.01));
    else
        SetDrawTxtSize(bigText(code) ? 200 : 100);
    const double r = (gSym.line != 0 || gSym.para != 0 || gSym.end_bars != 0) ? hw : 0;
    double g = 0;
    const double line = gSym.line;
    switch (gSym.HgaugeJ) {
        case 2:
            if (gSym.AboveHu == 1)
                g = t - ((gSym.end_bars && !gSym.para) ? line : 0) + trunc32(line) + line;
            else
                g = line;
            g += 2;
            break;
        case 1:
            g = height - line - r - s + 2;
            break;
        default:
            g = height / 2 - s / 2.0 + (gSym.AboveHu == 1 ? s / 2.0 : 0);
            break;
    }
    const bool addOnDigits = code == 4 && gData.len2 >= 2;
    int32_t d1 = 9, d2 = 9;
    if (addOnDigits) {
        d1 = addOnGauge(gData.chAddCode[0]);
        d2 = addOnGauge(gData.chAddCode[1]);
    } else {
        d1 = (bw >= 2 && bw <= 7) ? bw + 1 : (bw == 0 || bw == 1) ? 1 : 9;
        d2 = (bw == 0 || bw == 1) ? 0 : bw <= 3 ? 2 : bw <= 5 ? 4 : bw <= 7 ? 6 : bw == 8 ? 8 : 9;
    }
    const int32_t gy = trunc32((lower + g) * kPerPoint);
    drawHGauge(d1, trunc32((2 * r + gSym.insetAmount + left) * kPerPoint), gy);
    drawHGauge(d2, trunc32((right - kGaugeWidth - 2 * r - gSym.insetAmount) * kPerPoint), gy);
    gSym.BW = 0;
}

void drawQuietZoneMarks(double left, double right, double lower, double hw, int32_t s) {
    const int32_t code = gSym.code;
    int16_t fnum = 0;
    platform::GetFNum(gSym.barFont, &fnum);
    platform::TextFont(fnum);
    if (gSym.customTeSize != 0) {
        SetDrawTxtSize(gSym.customTeSize * 10);
        s = gSym.customTeSize;
        platform::TextSize(static_cast<int16_t>(gSym.customTeSize));
    } else {
        SetDrawTxtSize(trunc32(gSym.Siz * (bigText(code) ? 2 : 1)));
        platform::TextSize(static_cast<int16_t>(gSym.Siz * (bigText(code) ? 0.2 : 0.1)));
    }
    const double r = (gSym.line != 0 || gSym.para == 1) ? 2 * hw : 0;
    double y = lower + r + gSym.insetAmount;
    if (gSym.gBaseAdjust < 0)
        y += s * 0.1 + gSym.gBaseAdjust / 2;
    else if (gSym.gBaseAdjust > 0)
        y += -s * 0.1 + gSym.gBaseAdjust / 2;
    y = trunc32(y);
    if (gSym.AboveHu == 1) y -= r;
    const bool serif = serifMarks();
    const unsigned char leftMark = serif ? 'P' : '>';
    const unsigned char rightMark = serif ? 'S' : '<';
    const double margin = code == 4 ? kCodeMargin : 0;
    const double xl = r + gSym.insetAmount + left + margin;
    const double xr = right - platform::TextWidth(&rightMark, 0, 1) - r - gSym.insetAmount - margin;
    const int32_t gy = trunc32(y * kPerPoint);
    auto mark = serif ? getCharacterOutPeacock : getCharacterOut;
    mark(&leftMark, trunc32(xl * kPerPoint), gy);
    mark(&rightMark, trunc32(xr * kPerPoint), gy);
}

}  // namespace

void EPSbcode(platform::FileRef refNum, int32_t item, const PageRect& itemRect, double x,
              double y) {
    const int32_t code = gSym.code, v = gSym.variation1;
    gBlock.gxyy = 0;
    gVec.filRef = refNum;

    // 1. The port measures in the bar font at the symbol's text size.
    int16_t fnum = 0;
    platform::GetFNum(gSym.barFont, &fnum);
    platform::TextFont(fnum);
    platform::SetFractEnable(true);
    platform::TextFace(0);
    const int32_t s = symbolTextUnit();
    platform::TextSize(static_cast<int16_t>(s));
    const double upper = itemRect.upper, left = itemRect.left, lower = itemRect.lower,
                 right = itemRect.right;

    // 2. The symbol's extent in points.
    const SymbolExtent extent = symbolExtent();
    const double R = left + extent.width;
    double height = extent.height;

    // 3. On a full sheet the symbol is centred in its label.
    if (labelBack3.labelWidth != 0) {
        x += (labelBack3.labelWidth * 0.0001 - (R - left)) / 2;
        y += (labelBack3.labelHeight * 0.0001 - height) / 2;
    }
    const bool moved = x != 0 || y != 0;
    if (moved) translate(x, y);
    const bool turned = gSym.orient != 0;
    const int32_t keepTrans2 = gVec.trans2;
    if (turned) {
        beginTurn((left + right) / 2, (upper + lower) / 2, (left + R) / 2, lower + height / 2,
                  gSym.orient);
        gVec.trans2 = 0;
    }

    // 4. Page set-up colours and the bar-height correction.
    doColour(kColourSetUp);
    if (gSym.lMode & 4) gBlock.gxyy = 2 * (gSym.gline - std::floor(gSym.gline));

    // 5. The background.
    if (gSym.transpar_ent == 0 && !dialect::type3()) {
        const ItemColours c = itemSecondColours(item);
        doBackColour(kColourFill, c.c, c.m, c.y, c.k);
        FillPostBox(left, lower + height + gSym.gBaseAdjust + gBlock.gxyy, R, lower);
    }
    // 6. Overprint, or the glyph procedure of the Type 3 font.
    if (dialect::type3())
        TEInsert2("/six {3237 0 -429 -353 3419 7409 Cache\r");
    else if (gSym.overPrint == 1)
        TEInsert2("1 O\r");

    // 7. Room for the text above.
    if ((code == 0 && v == 11) || code == 1 || (code == 2 && v == 0)) height += 2;

    // 8. Bars and text.
    drawCodebars(s, trunc32(lower), trunc32(upper - s), trunc32((right - left) - gSym.insetAmount),
                 trunc32(left), item, gSym.insetAmount + gSym.gline, trunc32(lower));

    // 9. Special marks of some retail variants.
    const double base = left + gSym.line + gSym.insetAmount;
    const double baseUp = lower + gSym.line + gSym.insetAmount;
    auto box = [](double x0, double y0, double x1, double y1) {
        FillPostBox(trunc32(x0), trunc32(y0), trunc32(x1), trunc32(y1));
    };
    if (code == 0 && (v == 1 || v == 3)) {
        doColour(kColourFill);
        const double a = v == 3 ? 30 : (gData.chMainCode[5] == '0' ? 45 : 39);
        const double end = gSym.Siz * (v == 3 ? 0.82 : 0.9);
        box(base + a * gSym.Siz / 100, baseUp - 2, base + end, baseUp);
    }
    if (code == 1 && v == 1 && gData.len2 >= 1) {
        doColour(kColourFill);
        const double x0 = base + gSym.extraMargin + gSym.Siz * 1.06;
        const double x1 = base + gSym.extraMargin + gSym.Siz * 1.5;
        for (int32_t k = 0; k < 3; ++k)
            box(x0, baseUp + height - 3 - 3 * k, x1, baseUp + height - 4 - 3 * k);
    }

    // 10. Bearers.
    const double hw = gSym.line > 1 ? trunc32(gSym.line / 2) : trunc32(gSym.line);
    const double o = (code == 16 && v == 3) ? 1 : 0;
    const double t = gSym.AboveHu == 1 ? std::max(gSym.customTeSize, s) : 0;
    const double e = gSym.extraMargin / 2.0;
    const double W = right - left;
    const int32_t keepInset = gSym.insetAmount;
    gSym.insetAmount = gSym.cutMarks != 1 ? 0 : (gSym.insetAmount / 10) * 10;
    const double in = gSym.insetAmount;
    const bool topLine = code == 4 && (v == 6 || v == 9);
    if (topLine) gSym.line = 2;
    if (gSym.line != 0) {
        const double line = gSym.line;
        const double L = trunc32(line);
        const double xl = hw - o + in - e + left;
        const double xr = R - hw - in + e;
        if (topLine) {
            DrawPostTopLine(hw - o + in + left, hw - o + t + in + lower, W - hw - in + left,
                            hw - L - in + upper, trunc32(line));
        } else if (gSym.para) {
            double bottom =
                lower + height - line / 2 + gBlock.gxyy - gSym.cuHei * kPointsPerMm - line;
            if (gSym.AboveHu == 1 && !(gSym.lMode & 4)) {
                bottom = hw - o + t + in + gSym.gBaseAdjust + lower;
                if (line == 5 && !gSym.end_bars) bottom += 1;
            } else if (gSym.AboveHu == 0) {
                bottom = hw - o + in + gSym.gBaseAdjust + lower;
            }
            DrawPostPara(xl, bottom, xr, lower + height - line / 2 + gBlock.gxyy, line);
        } else if (gSym.end_bars) {
            const double tEnd = gSym.AboveHu == 0 ? line : t;
            DrawPostEnd(xl, o + tEnd + in + gSym.gBaseAdjust + lower, xr, L - in + upper, line);
        } else {
            const double top = lower + height + gBlock.gxyy;
            double bottom = lower;
            // The box's edges are the middles of its bars. With the text under the
            // box its lower bar fills the room between the text line, t high, and
            // the bars, which begin gline above it, as the parallel bars do.
            if (gSym.AboveHu == 1)
                bottom = trunc32(gSym.cuHei) != trunc32(gSym.Hei)
                             ? top - gSym.cuHei * kPointsPerMm - 2 * gSym.gline
                             : lower + t + gSym.gline / 2;
            DrawPostBox(xl, bottom, xr, top, gSym.gline);
        }
    }
    if (topLine || (code == 3 && v == 7)) gSym.line = 0;
    if (keepInset > 0) gSym.insetAmount = keepInset;

    // 11. The small-item frame and cut marks.
    if (code == 9)
        DrawPostSmallItem(gSym.insetAmount + left + 1, height - gSym.insetAmount + lower,
                          W - 1 - gSym.insetAmount + left, height / 2 + lower, kMarkWidth);
    if (gSym.cutMarks == 1) DrawPostCutMarks(left, lower, left + W, lower + height, kMarkWidth);

    // 12. H-gauges: the bar-width reduction step as a mark on either side.
    if (gSym.Hgauge > 0) drawGauges(left, right, lower, height, hw, t, s);

    // 13. Quiet-zone marks; the two-dimensional and stacked symbols fill their box
    // and take none, and neither do Codabar and POSTNET, whose rows begin and end
    // at the box without a light margin: their marks would stand on the end bars
    // or letters.
    const bool stacked = code >= 37;
    const bool marks =
        (code > 3 && code != 8 && code != kSmallEanCode && code != 10 && code != 11 && code != 16 &&
         code != 25 && code != 26 && code != 31 && !stacked && gSym.non_light == 1) ||
        serifMarks();
    if (marks) drawQuietZoneMarks(left, right, lower, hw, s);

    // 14, 15. Close the overprint or the glyph procedure; undo the placement.
    if (dialect::type3())
        TEInsert2("Fill }def\r");
    else if (gSym.overPrint == 1)
        TEInsert2("0 O\r");
    if (turned) {
        endTurn();
        gVec.trans2 = keepTrans2;
    }
    if (moved) translate(-x, -y);
}
