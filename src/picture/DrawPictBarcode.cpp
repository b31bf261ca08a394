// The bars of a linear symbol in a picture: one filled rectangle per run of bar
// elements of the painted row, with guard drops, add-on rises and the bar-width
// reduction; the four-state and two-height codes paint one band per row.
#include <algorithm>
#include <cstdint>
#include <utility>

#include "labels/labelDoc.h"
#include "picture/hooks.h"
#include "picture/pictunits.h"
#include "picture/pictpaint.h"
#include "picture/services.h"
#include "symbology/codebars.h"
#include "symbology/state.h"
#include "vector/blocks.h"
#include "vector/codebars_paint.h"
#include "vector/sink.h"
#include "vector/units.h"

namespace {

constexpr double kHeaderGap = 0.2;      // of the text line, between header and bars
constexpr double kTextAboveLead = 1.2;  // text lines taken by text above the bars
constexpr int32_t kRoyalMailRows = 3;
constexpr int32_t kPostnetRows = 2;
constexpr double kFourStateLead = 1;  // points between the box and the first bar

bool among(int32_t v, std::initializer_list<int32_t> set) {
    for (int32_t s : set)
        if (v == s) return true;
    return false;
}

// Code 128 and GS1-128 elements are measured at half, the 2 of 5 family, the
// postal codes and a few others at double their painted width.
double widthFactor(int32_t code) {
    if (code == 5 || code == 7) return 2.0;
    if (among(code, {19, 20, 21, 24, 28, 30, 31, 32, 35, 36})) return 0.5;
    return 1.0;
}

bool addOnFamily(int32_t code) { return code < 3 || among(code, {10, 11, 25, 26, 27}); }

// The width of one byte of a bar row. A bar made thinner by the bar-font step
// BW reads as the bar it was made from; bytes that are no element count 0.
int32_t elementWidth(const int32_t* widths, unsigned char b) {
    const int32_t w = barRowWidth(widths, b);
    return w == kNoElement ? 0 : w;
}

void paintBar(const LinearFrame& f, int32_t& b, int32_t x, int32_t w, LinearFrame& out, double wf,
              int32_t e) {
    ++b;
    int32_t drop = 0;
    int32_t rise = 0;
    if (f.fineUnits == 1) {
        drop = static_cast<int32_t>(CheckDrop(b, f.textHeight / 10)) * 10;
        rise = CheckTopDrop(b, f.textHeight / 10) * 10;
    } else {
        drop = static_cast<int32_t>(CheckDrop(b, f.textHeight));
        rise = CheckTopDrop(b, f.textHeight);
    }
    if (!out.addOnFound && rise > 0 && addOnFamily(gSym.code)) {
        out.addOnFound = true;
        out.addOn = x;
    }
    if (gSym.variation1 > 254) rise = 0;
    out.rise = rise;
    int32_t wr = static_cast<int32_t>(w * f.m * wf - gSym.BWidthRed / 10);
    if (wr < 0) wr = 0;
    // The extra left offset is in points; a micrometre at the symbol is a
    // micrometre whatever the output unit.
    const double start = static_cast<int32_t>(x * f.m * wf) + e * kUmPerPoint;
    const auto pos = static_cast<int32_t>(start / f.u + kWidthRound);
    int32_t width = static_cast<int32_t>(wr / f.u + kWidthRound);
    // In points a bar cut to whole units on its own loses most of a unit: its
    // right edge is cut as its left edge is, so bars keep their width on average.
    if (f.fineUnits == 0) width = static_cast<int32_t>((start + wr) / f.u + kWidthRound) - pos;
    // The four-state bars start a point in from the box, as the vector output
    // sets them: the left light-margin mark stands in that point, not in the
    // gap behind the first bar.
    if (gSym.code == 30 || gSym.code == 31)
        DrawMultiLineBlockPict2(pos + static_cast<int32_t>(kFourStateLead * f.s), width,
                                f.textHeight, f.left, f.Y, drop, rise, f.TL, f.margin, f.H);
    else
        DrawBlockPict2(pos, width, f.textHeight, f.left, f.Y, drop, rise, f.TL, f.margin, f.H, f.s);
}

// Paints the row from i; returns the index of its end (a 13 or cu_len).
int32_t paintRow(LinearFrame& f, int32_t i, int32_t& b, double wf, int32_t e) {
    const int32_t n = gEl.cu_len;
    const int32_t* widths = elementWidths();
    int32_t x = 0;
    while (i < n && gEl.chNum[i] != kRowEnd) {
        const int32_t w0 = elementWidth(widths, gEl.chNum[i]);
        if (w0 <= 0) {
            x -= w0;
            ++i;
            continue;
        }
        int32_t w = 0;
        while (i < n && gEl.chNum[i] != kRowEnd) {
            const int32_t wi = elementWidth(widths, gEl.chNum[i]);
            if (wi < 0) break;
            w += wi;
            ++i;
        }
        paintBar(f, b, x, w, f, wf, e);
        x += w;
    }
    return i;
}

void fixRectangle(qd::Rect& r) {
    if (r.top > r.bottom) std::swap(r.top, r.bottom);
    if (r.left > r.right) std::swap(r.left, r.right);
}

}  // namespace

bool headerCarrying() {
    const int32_t code = gSym.code, v = gSym.variation1;
    return code == 1 || (code == 2 && v == 0) || (code == 0 && (v == 6 || v == 11)) ||
           among(code, {26, 27, 14}) || gSym.HaTex == 1;
}

void DrawBlockPict2(int32_t x, int32_t width, int32_t, int32_t left, int32_t y, int32_t drop,
                    int32_t rise, int32_t textLine, int32_t margin, int32_t barHeight,
                    double scale) {
    int32_t h = barHeight;
    if (headerCarrying()) h = h - textLine - static_cast<int32_t>(textLine * kHeaderGap);
    h = h - margin - textLine;
    if (gSym.AboveHu == 1) h += margin;
    const double lift = gSym.line * scale;
    qd::Rect r;
    r.left = x + left + margin;
    r.right = x + width + left + margin;
    r.bottom = static_cast<int32_t>((h + y + drop) - lift);
    r.top = static_cast<int32_t>((rise + y + margin) - lift);
    if (r.right - r.left < 1) r.right = r.left + 1;
    fixRectangle(r);
    gHooks.bar_ptr(r);
}

void DrawMultiLineBlockPict2(int32_t x, int32_t width, int32_t, int32_t left, int32_t y,
                             int32_t drop, int32_t rise, int32_t, int32_t margin, int32_t) {
    qd::Rect r;
    r.left = x + left + margin;
    r.right = x + width + left + margin;
    r.bottom = y + margin + drop;
    r.top = y + margin + rise;
    if (r.right - r.left < 1) r.right = r.left + 1;
    fixRectangle(r);
    gHooks.bar_ptr(r);
}

void DrawPictBarcode(int32_t textHeight, int32_t top, int32_t, int32_t boxWidth, int32_t left,
                     int32_t, int32_t margin, int32_t fineUnits) {
    const int32_t code = gSym.code;
    LinearFrame f;
    f.textHeight = textHeight;
    f.top = top;
    f.boxWidth = boxWidth;
    f.left = left;
    f.margin = margin;
    f.fineUnits = fineUnits;
    f.q = getLeftMarginEPS();
    const int32_t e =
        (labelBack.labelWidth != 0 && gSym.extraMargin > 0) ? gSym.extraMargin + 1 : 0;
    if (fineUnits == 1) {
        f.H = static_cast<int32_t>(gSym.Hei * kHeightFineUnitsPerMm);
        f.s = kFineUnitsPerPoint;
        f.u = kUmPerFineUnit;
    } else {
        f.H = static_cast<int32_t>(gSym.Hei * kHeightPointsPerMm);
        f.s = 1.0;
        f.u = kUmPerPoint;
    }
    // A postal symbol's box may be higher than the height set: its text line
    // stands at the foot of that box.
    const double setPoints = gSym.Hei * kHeightPointsPerMm;
    const double boxPoints = postalHeight(setPoints);
    if (boxPoints > setPoints) f.H = static_cast<int32_t>(boxPoints * f.s);
    gSym.multi_line = 1;
    f.m = gSym.Siz * 0.01;
    gVec.gCtexsize = 1.0;
    const double wf = widthFactor(code);
    f.wf = wf;
    f.Y = top;

    drawPictHeader(f);

    int32_t i = 0;
    if (code == 30 || code == 31) {
        gSym.multi_line = code == 30 ? kRoyalMailRows : kPostnetRows;
    } else {
        i = linearPaintStart(gEl.chNum, gEl.cu_len);
    }

    if (gSym.attTop == 1 && code > 3) {
        const int32_t custom = static_cast<int32_t>(gSym.customTeSize * f.s);
        double y = f.Y;
        if (gSym.customTeSize != 0 && custom > textHeight)
            y += custom + kHeaderGap * textHeight;
        else
            y += kTextAboveLead * textHeight;
        f.Y = static_cast<int32_t>(y);
        gPictServices.textAboPos =
            static_cast<int32_t>((f.Y - 2 - textHeight / 2) - kHeaderGap * textHeight);
    }
    f.TL = textHeight;
    if (gSym.customTeSize != 0 && code != 30 && code != 31)
        f.TL = std::max(textHeight, static_cast<int32_t>(gSym.customTeSize * f.s));

    int32_t b = 0;
    while (i < gEl.cu_len) {
        i = paintRow(f, i, b, wf, e);
        --gSym.multi_line;
        if (gSym.multi_line <= 0 || i >= gEl.cu_len) break;
        ++i;  // past the 13: the next band of a four-state code
    }
    gSym.multi_line = 0;

    drawPictHumans(f);
}
