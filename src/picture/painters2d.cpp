// The module and row painters of pictures: DataMatrix and QR Code as squares
// of their bands of four module rows, PDF417 and MicroPDF417 as module rows,
// DataBar and its composite components as rows laid out under the bar height.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "databar/RSSENC.h"
#include "labels/labelDoc.h"
#include "picture/hooks.h"
#include "picture/pictunits.h"
#include "picture/painters2d.h"
#include "picture/rowpaint.h"
#include "picture/services.h"
#include "platform/quickdraw/quickdraw.h"
#include "symbology/codebars.h"
#include "symbology/state.h"

namespace {

constexpr double kPointsPerUm = 0.0028346456692913383;  // 72 / 25400
constexpr double kFineUnitsPerUm = 1 / kUmPerFineUnit;
constexpr int32_t kModuleUm = 1000;      // a block-letter module at 100 %
constexpr double kRowStep = 0.05;        // of the row unit
constexpr double kHeaderGap = 0.2;       // of the row unit, under the coupon header
constexpr int32_t kHumanChars = 18;      // "(01)" and 14 digits
constexpr int32_t kFirstExpanded = 5;    // variants from here on print any length
constexpr double kTextSideRoom = 2;      // points kept free at either end of the text line
constexpr double kDescentOfSize = 0.22;  // the parentheses' depth under the baseline, of the size
constexpr double kPdfRowOfUnit = 0.3;    // PDF417 and MicroPDF417 row height

// The frame's units: points with a label layout open, else hundredths of a
// millimetre.
struct Units {
    bool label = true;
    int32_t H = 0;     // bar height
    double s = 1;      // units per point
    double u = 1;      // micrometres per unit
    double m = 1;      // magnification
    double perUm = 1;  // units per micrometre
};

Units frameUnits() {
    Units U;
    U.label = labelBack.labelWidth != 0;
    if (U.label) {
        U.H = static_cast<int32_t>(gSym.Hei * kHeightPointsPerMm);
        U.s = 1.0;
        U.u = kUmPerPoint;
        U.perUm = kPointsPerUm;
    } else {
        U.H = static_cast<int32_t>(gSym.Hei * kHeightFineUnitsPerMm);
        U.s = kFineUnitsPerPoint;
        U.u = kUmPerFineUnit;
        U.perUm = kFineUnitsPerUm;
    }
    U.m = gSym.Siz * 0.01;
    return U;
}

// The row unit: the caller's on a label; in hundredths of a millimetre it is
// computed from the magnification, since the caller's whole scale of 35 would
// make the rows short by almost a percent.
int32_t rowUnit(const Units& U, int32_t unit) {
    if (U.label) return unit;
    return static_cast<int32_t>(gSym.Siz * 0.1 * kUmPerPoint / kUmPerFineUnit);
}

int32_t width(unsigned char b) {
    const int32_t w = charToWidth(b);
    return w == kNoElement ? 0 : w;
}

// The rows of the list: [start, end) of each run of bytes ended by a 13. Bytes
// after the last 13 form a last row of their own.
struct Rows {
    int32_t count = 0;
    int32_t start[kRssMaxRows + 1] = {};
    int32_t end[kRssMaxRows + 1] = {};
    int32_t textRow = -1;  // the row holding the human-readable text, if any
};

bool holdsText(int32_t from, int32_t to) {
    for (int32_t i = from; i < to; ++i)
        if (charToWidth(gEl.chNum[i]) == kNoElement) return true;
    return false;
}

Rows listRows(int32_t maxRows) {
    Rows R;
    int32_t from = 0;
    const int32_t n = gEl.cu_len;
    for (int32_t i = 0; i < n && R.count < maxRows; ++i) {
        if (gEl.chNum[i] != kRowEnd) continue;
        R.start[R.count] = from;
        R.end[R.count] = i;
        ++R.count;
        from = i + 1;
    }
    if (from < n && R.count < maxRows + 1 && gEl.chNum[from] != 0) {
        R.start[R.count] = from;
        R.end[R.count] = n;
        ++R.count;
    }
    if (R.count > 0 && holdsText(R.start[R.count - 1], R.end[R.count - 1])) R.textRow = R.count - 1;
    return R;
}

// Paints the bar runs of one module row: from y (lifted by the bearer) down to
// the absolute bottom. shiftUm: how far the row stands right of the symbol's
// left edge, micrometres at 100 %. Every run is painted, the first one too: a
// row that opens with a bar (the start pattern of PDF417) keeps it.
void paintRowRuns(const Units& U, int32_t from, int32_t to, int32_t left, int32_t y, int32_t bottom,
                  int32_t margin, double shiftUm) {
    const int32_t reduction = gSym.BWidthRed / 10;
    int64_t p = 0;
    int32_t i = from;
    while (i < to) {
        int32_t w = 0;
        while (i < to && width(gEl.chNum[i]) > 0) w += width(gEl.chNum[i++]);
        if (w > 0) {
            const double wr = std::max(0.0, w * U.m - reduction);
            const double start = (static_cast<double>(p) + shiftUm) * U.m;
            const auto pos = static_cast<int32_t>(start / U.u + kWidthRound);
            // The right edge is cut as the left one is, so that whole units keep
            // the bars' widths on average.
            const int32_t wide = static_cast<int32_t>((start + wr) / U.u + kWidthRound) - pos;
            DrawBlockPict3(pos, wide, 0, left, y, 0, 0, bottom, margin, U.H, U.s);
        }
        p += w;
        while (i < to && width(gEl.chNum[i]) <= 0) p -= width(gEl.chNum[i++]);
    }
}

// Sets the font and size of the human-readable line; the size, output units.
int16_t setHumanFont(const Units& U) {
    if (std::memcmp(gSym.fontBelow, gSym.defFont, gSym.fontBelow[0] + 1) != 0) {
        int16_t fnum = 0;
        qd::GetFNum(gSym.fontBelow, &fnum);
        qd::TextFont(fnum);
    }
    if (gSym.customTeSize != 0) {
        const auto size = static_cast<int16_t>(gSym.customTeSize * U.s);
        TextSizeGC(size, gSym.customTeSize);
        return size;
    }
    const auto size = static_cast<int16_t>(U.m * U.s * 10);
    TextSizeGC(size, 10);
    return size;
}

void drawCentred(const unsigned char* text, int32_t count, double left, int32_t width,
                 int32_t baseline) {
    if (count <= 0) return;
    const int32_t tw = qd::TextWidth(text, 0, count);
    gHooks.drawstring_ptr(text, static_cast<int32_t>(left + (width - tw) * 0.5), baseline, count);
}

void paintDataBar(int32_t x, int32_t y, int32_t unitIn, int32_t xOffset, int32_t margin,
                  int32_t boxWidth) {
    const Units U = frameUnits();
    const int32_t unit = rowUnit(U, unitIn);
    const double r = unit * kRowStep;
    const int32_t v = gSym.variation1;
    const int32_t human = gSym.human;
    const Rows R = listRows(kRssMaxRows);
    int32_t N = R.count;
    if (human > 0 && R.textRow >= 0) --N;
    if (N <= 0) return;
    const int32_t left = x + xOffset;
    auto rowShift = [&](int32_t row) {
        return row < gRss.rowCount ? gRss.rowOffset[row] * static_cast<double>(width(kDarkModule))
                                   : 0.0;
    };
    auto paint = [&](int32_t row, double top, double bottom) {
        paintRowRuns(U, R.start[row], R.end[row], left, static_cast<int32_t>(y + top),
                     static_cast<int32_t>(bottom), margin, rowShift(row));
    };

    // The coupon's header above the symbol.
    double yo = 0;
    if (v == 7 && human == 1) {
        yo = unit;
        setHumanFont(U);
        drawCentred(reinterpret_cast<const unsigned char*>(gData.chHeadCode),
                    std::clamp(gData.len3, 0, static_cast<int32_t>(kHeadCodeSize)), x, boxWidth,
                    static_cast<int32_t>(y + yo - margin - xOffset));
        yo = static_cast<int32_t>(yo + kHeaderGap * unit);
    }

    // Where the composite component ends and the linear part begins. The
    // Expanded Stacked split is the generation's, so painting twice paints the
    // same symbol.
    int32_t separator = -1, linear = 0;
    int32_t stacked = gRss.stackrows[0];
    if (v == 2) {
        if (N >= 4) linear = N - 3, separator = N - 4;
    } else if (v == 3) {
        if (N >= 6) linear = N - 5, separator = N - 6;
    } else if (v == 6 || v == 7) {
        if (stacked > 0 && stacked < N) {
            separator = stacked;
            linear = stacked + 1;
            ++stacked;
        }
    } else if (N >= 2) {
        linear = N - 1, separator = N - 2;
    }

    if (separator >= 0) {
        const auto rowH = static_cast<int32_t>(4 * r);
        for (int32_t row = 0; row < separator; ++row) {
            paint(row, yo, static_cast<int32_t>(yo + y + 4 * r));
            yo += rowH;
        }
        paint(separator, yo, static_cast<int32_t>(yo + y + 2 * r));
        // The linear part starts under the separator, not over its lower half.
        yo += static_cast<int32_t>(2 * r);
    }

    const int32_t t = (human > 0 && v != 7) ? unit : 0;
    double h = U.H;
    if (v == 2) {
        h = (U.H - yo - t) * 0.5;
    } else if (v == 3) {
        h = (U.H - yo - t) * 0.5 - (human > 0 ? unit / 2 : 0);
    } else if (v == 6 || v == 7) {
        const int32_t d = N - stacked;
        const int32_t symbolRows = d - 3 * (d / 4);
        if (symbolRows <= 0) return;  // no linear rows
        h = (U.H - yo - t) / symbolRows - r;
    }
    double b = yo;
    const bool wide = v == 3 || v == 6 || v == 7;
    double e = 0, f = 0;
    int32_t state = 0;
    for (int32_t row = linear, c = 0; row < N; ++row, ++c) {
        if (v == 2) {
            state = std::min(c, 2);
        } else if (v == 6 || v == 7) {
            state = c == 0 ? 0 : (c % 4 == 0 ? 2 : 1);
        } else {
            state = c == 0 ? 0 : (c < 4 ? 1 : 2);
        }
        if (state == 2) b = f;  // under the separators
        // Each row ends where the next begins: a row drawn further down would
        // lay its bars over the separator and symbol rows under it.
        if (state == 0) {
            if (wide) {
                paint(row, b, static_cast<int32_t>(y + b + h - 1.5 * r));
                e = b + h - 1.5 * r;
            } else if (v == 2) {
                paint(row, b, static_cast<int32_t>(y + b + h - r));
                e = b + h - r;
            } else {
                paint(row, b, static_cast<int32_t>(y + h - t));
            }
        } else if (state == 1) {
            switch (c % 4) {
                case 1:
                    paint(row, e, static_cast<int32_t>(y + e + r));
                    if (!wide) f = e + r;
                    break;
                case 2:
                    paint(row, e + r, static_cast<int32_t>(y + 2 * r + e));
                    break;
                default:
                    paint(row, e + 2 * r, static_cast<int32_t>(y + e + 3 * r));
                    f = e + 3 * r;
                    break;
            }
        } else {
            double top = b;
            // The text allowance is kept under the last row already (h): a row
            // moved down by it too would stand over the text. Every symbol row
            // is as high as the first, so that the rows and their separators
            // fill the bar height as in the vector output.
            if (v == 6 || v == 7) {
                paint(row, top, static_cast<int32_t>(y + top + h - 1.5 * r));
                e = top + h - 1.5 * r;
            } else {
                paint(row, top, y + U.H - t);
            }
        }
    }

    if (human == 1 && v != 7 && R.textRow >= 0) {
        int32_t size = setHumanFont(U);
        const int32_t from = R.start[R.textRow];
        const int32_t line = R.end[R.textRow] - from;
        // The Expanded types print their whole line of element strings.
        const int32_t count = v < kFirstExpanded ? std::min(kHumanChars, line) : line;
        // The line stays inside the symbol's box: a line wider than the box is
        // set smaller, and its descenders stand on the box's lower edge.
        const int32_t room = boxWidth - static_cast<int32_t>(2 * kTextSideRoom * U.s);
        const int32_t tw = qd::TextWidth(gEl.chNum + from, 0, count);
        if (tw > room && tw > 0 && size > 0) {
            size = std::max(1, static_cast<int32_t>(static_cast<int64_t>(size) * room / tw));
            qd::TextSize(static_cast<int16_t>(size));
        }
        const auto descent = static_cast<int32_t>(kDescentOfSize * size + 0.5);
        drawCentred(gEl.chNum + from, count, x, boxWidth, y + U.H - margin - xOffset - descent);
    }
}

void fixRectangle(qd::Rect& r) {
    if (r.top > r.bottom) std::swap(r.top, r.bottom);
    if (r.left > r.right) std::swap(r.left, r.right);
}

}  // namespace

void DrawBlockPict3(int32_t x, int32_t width, int32_t, int32_t left, int32_t y, int32_t,
                    int32_t top, int32_t bottom, int32_t margin, int32_t, double scale) {
    const double lift = gSym.line * scale;
    qd::Rect r;
    r.left = x + left + margin;
    r.right = x + width + margin + left;
    if (r.right - r.left < 1) r.right = r.left + 1;
    r.top = static_cast<int32_t>((top + y) - lift);
    r.bottom = static_cast<int32_t>((bottom + margin) - lift);
    fixRectangle(r);
    gHooks.bar_ptr(r);
}

void DrawDatamatrixPC(int32_t x, int32_t y, int32_t, double) {
    const Units U = frameUnits();
    const double pitch = kModuleUm * U.m;  // micrometres
    int32_t d = static_cast<int32_t>(pitch) - gSym.BWidthRed;
    if (d < 0) d = 0;
    // Each module's far edges are cut as its near ones are, from its exact
    // place: modules cut to whole points one by one would leave a light line
    // between every few of them.
    auto near = [&](int32_t origin, int32_t k) {
        return static_cast<int32_t>(origin + static_cast<int32_t>(k * pitch) * U.perUm);
    };
    auto side = [&](int32_t origin, int32_t k) {
        const double start = static_cast<int32_t>(k * pitch);
        return static_cast<int32_t>(origin + (start + d) * U.perUm) - near(origin, k);
    };
    // The bands of four module rows, one block letter a column.
    std::vector<std::vector<int32_t>> bands(1);
    for (int32_t i = 0; i < gEl.cu_len; ++i) {
        const unsigned char b = gEl.chNum[i];
        if (b == 0) break;
        if (b == kRowEnd)
            bands.emplace_back();
        else
            bands.back().push_back((b - 'e') & 15);
    }
    auto dark = [&](size_t row, int32_t c) {
        const size_t band = row / 4;
        if (band >= bands.size() || c >= static_cast<int32_t>(bands[band].size())) return false;
        return (bands[band][c] & (8 >> (row % 4))) != 0;
    };
    // A reduction shrinks the dark areas, not their inside: a module's lower
    // edge reaches the next row where the module under it is dark, so that no
    // light seam cuts the symbol into rows.
    const bool reduced = gSym.BWidthRed > 0;
    const int32_t rows = static_cast<int32_t>(4 * bands.size());
    // Each row's run of dark modules is one rectangle, reduced at its two ends
    // only, and split where its lower edge changes; the symbol one filled path:
    // modules painted one by one show seams wherever a viewer smooths the edges
    // of each fill.
    qd::BeginFillGroup();
    for (int32_t row = 0; row < rows; ++row) {
        const int32_t my = near(y, row);
        const int32_t h = d == 0 ? 0 : side(y, row);
        const int32_t joined = std::max(my + h, near(y, row + 1));
        auto bottom = [&](int32_t c) {
            return reduced && dark(static_cast<size_t>(row + 1), c) ? joined : my + h;
        };
        const auto n = static_cast<int32_t>(bands[static_cast<size_t>(row / 4)].size());
        for (int32_t c = 0; c < n;) {
            if (!dark(static_cast<size_t>(row), c)) {
                ++c;
                continue;
            }
            int32_t last = c;
            while (last + 1 < n && dark(static_cast<size_t>(row), last + 1) &&
                   bottom(last + 1) == bottom(c))
                ++last;
            // A piece followed by more of its run meets the next piece; the
            // run's end is cut by the reduction.
            const bool runGoesOn = last + 1 < n && dark(static_cast<size_t>(row), last + 1);
            int32_t right = near(x, last + 1);
            if (!runGoesOn) right = d == 0 ? near(x, last) : near(x, last) + side(x, last);
            // The piece's width is at least a unit.
            qd::Rect r{my, near(x, c), bottom(c), right};
            if (r.right - r.left < 1) r.right = r.left + 1;
            gHooks.bar_ptr(r);
            c = last + 1;
        }
    }
    qd::EndFillGroup();
}

namespace {

// A row is three tenths of the row unit high (a little over three modules, the
// least the standard allows), as in the vector output and the symbol's box.
double pdfRowHeight(const Units& U, int32_t unitIn) { return kPdfRowOfUnit * rowUnit(U, unitIn); }

}  // namespace

int32_t MicroPDF417RowsHeight(int32_t unit) {
    const auto rows =
        static_cast<int32_t>(std::count(gEl.chNum, gEl.chNum + std::max(gEl.cu_len, 0), kRowEnd));
    return static_cast<int32_t>(rows * pdfRowHeight(frameUnits(), unit));
}

void DrawMicroPDF417PC(int32_t x, int32_t y, int32_t unitIn, double, int32_t xOffset,
                       int32_t margin, int32_t, int32_t) {
    const Units U = frameUnits();
    // Each row's edges are cut from its exact place so that the rows fill the
    // box without a gap or a drift.
    const double rowH = pdfRowHeight(U, unitIn);
    int32_t row = 0;
    int32_t from = 0;
    // Whatever follows the last 13 (the text row) is not painted.
    for (int32_t i = 0; i < gEl.cu_len; ++i) {
        if (gEl.chNum[i] != kRowEnd) continue;
        const auto top = static_cast<int32_t>(row * rowH);
        const auto bottom = static_cast<int32_t>((row + 1) * rowH);
        paintRowRuns(U, from, i, x + xOffset, y + top, y + bottom, margin, 0);
        ++row;
        from = i + 1;
    }
}

void DrawRSSStackedPC(int32_t x, int32_t y, int32_t u, double, int32_t a, int32_t b, int32_t,
                      int32_t frameWidth) {
    paintDataBar(x, y, u, a, b, frameWidth);
}

void DrawRSSStackedPC2(int32_t, int32_t, int32_t u, double, int32_t a, int32_t b, int32_t,
                       int32_t frameWidth) {
    paintDataBar(0, 0, u, a, b, frameWidth);
}
