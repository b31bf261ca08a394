#include "vector/blocks.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "symbology/codebars.h"
#include "symbology/state.h"
#include "vector/dialect.h"
#include "vector/emit.h"
#include "vector/sink.h"
#include "vector/slots.h"
#include "vector/textruns.h"
#include "vector/units.h"

BlockState gBlock;

void resetBlockState() { gBlock = BlockState{}; }

namespace {

constexpr double kUnit = 1e-5;  // a position unit in points

enum class Paint { fill, stroke };

// The operators of one rectangle in the dialect: first point, the three next
// points, and the closing point with the paint operator.
struct RectOps {
    std::string_view first;
    std::string_view next;
    std::string_view close;
};
RectOps rectOps(Paint paint) {
    if (dialect::type3()) return {" moveto\r", " rlineto\r", " rlineto closepath\r"};
    const bool fill = paint == Paint::fill;
    if (dialect::pdf()) return {" m\r", " l\r", fill ? " l\rf\r" : " l\rs\r"};
    return {" m\r", " L\r", fill ? " L\rf\r" : " L\rs\r"};
}

// The closed path (x0, y0), (x1, y0), (x1, y1), (x0, y1), (x0, y0). The Type 3
// font dialect draws it with rlineto, so its points after the first are the
// steps from one corner to the next.
template <typename Num, typename Write>
void rectangle(Emit& e, Paint paint, Num x0, Num y0, Num x1, Num y1, Write write) {
    const RectOps ops = rectOps(paint);
    auto pt = [&](Num x, Num y, std::string_view op) {
        write(e, x, y);
        e.s(op);
    };
    pt(x0, y0, ops.first);
    if (dialect::type3()) {
        pt(x1 - x0, y0 - y0, ops.next);
        pt(x0 - x0, y1 - y0, ops.next);
        pt(x0 - x1, y0 - y0, ops.next);
        pt(x0 - x0, y0 - y1, ops.close);
        return;
    }
    pt(x1, y0, ops.next);
    pt(x1, y1, ops.next);
    pt(x0, y1, ops.next);
    pt(x0, y0, ops.close);
}

uint64_t bitsOf(double v) {
    uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    return bits;
}

// Writes the closed path of a rectangle; its bytes are left in path (which
// holds kPathRoom) and their count returned, or 0 when its numbers were too
// long for that road and went to the page code another way.
constexpr size_t kWord = 32;  // a FixedText of a bar edge is shorter: copied whole
constexpr size_t kPathRoom = 5 * (2 * kWord + kWord);
size_t writeRectPath(Paint paint, double x0, double y0, double x1, double y1, char* path) {
    if (dialect::type3()) {
        Emit e;
        rectangle(e, paint, x0, y0, x1, y1,
                  [](Emit& out, double x, double y) { out.f(x).c(' ').f(y); });
        return 0;
    }
    // Each edge is formatted once for its two corners, and the path is put
    // together in whole words before it goes to the page code.
    const FixedText left(x0), lower(y0), right(x1), upper(y1);
    const RectOps ops = rectOps(paint);
    if (left.length >= kWord || lower.length >= kWord || right.length >= kWord ||
        upper.length >= kWord) {
        Emit e;
        e.f(left).c(' ').f(lower).s(ops.first);
        e.f(right).c(' ').f(lower).s(ops.next);
        e.f(right).c(' ').f(upper).s(ops.next);
        e.f(left).c(' ').f(upper).s(ops.next);
        e.f(left).c(' ').f(lower).s(ops.close);
        return 0;
    }
    char* at = path;
    auto corner = [&at](const FixedText& x, const FixedText& y, std::string_view op) {
        std::memcpy(at, x.text, kWord);
        at += x.length;
        *at++ = ' ';
        std::memcpy(at, y.text, kWord);
        at += y.length;
        std::memcpy(at, op.data(), op.size());
        at += op.size();
    };
    corner(left, lower, ops.first);
    corner(right, lower, ops.next);
    corner(right, upper, ops.next);
    corner(left, upper, ops.next);
    corner(left, lower, ops.close);
    const size_t length = static_cast<size_t>(at - path);
    writeRaw(path, static_cast<int32_t>(length));  // numbers and operators: no NUL
    return length;
}

bool gRecording = false;
PaintedBars gRecorded;

void recordBar(double x0, double y0, double x1, double y1) {
    if (!gRecording) return;
    const double l = std::min(x0, x1), r = std::max(x0, x1);
    const double lo = std::min(y0, y1), up = std::max(y0, y1);
    PaintedBars& b = gRecorded;
    b = b.any ? PaintedBars{std::min(b.left, l), std::min(b.lower, lo), std::max(b.right, r),
                            std::max(b.upper, up), true}
              : PaintedBars{l, lo, r, up, true};
}

void realRect(Paint paint, double x0, double y0, double x1, double y1) {
    recordBar(x0, y0, x1, y1);
    closePdfText();
    char path[kPathRoom];
    writeRectPath(paint, x0, y0, x1, y1, path);
}

// The page code of a linear bar, kept by its corners and operators: the symbols
// of a batch put their bars at the same places again and again (an EAN-13 batch
// at a few thousand). The texts fill their table in order and a table of slots
// finds them, so that one symbol touches a page or two of either. Plain data,
// zeroed as a global is.
struct BarText {
    uint64_t x0, y0, x1, y1;  // the corners' bits
    uint32_t ops;             // 1 + 2 * pdf + fill
    uint32_t length;
    char text[160];  // longer paths are not kept
};
constexpr size_t kBarTexts = 8192;
constexpr size_t kBarSlots = 2 * kBarTexts;
BarText gBarTexts[kBarTexts];
uint16_t gBarSlots[kBarSlots];  // 1 + the index of a text, 0 for none
size_t gBarTextsUsed = 0;

void keptRect(Paint paint, double x0, double y0, double x1, double y1) {
    recordBar(x0, y0, x1, y1);
    closePdfText();
    char path[kPathRoom];
    if (dialect::type3()) {
        writeRectPath(paint, x0, y0, x1, y1, path);
        return;
    }
    const uint32_t opsKey = 1 + (dialect::pdf() ? 2 : 0) + (paint == Paint::fill ? 1 : 0);
    const uint64_t a = bitsOf(x0), b = bitsOf(y0), c = bitsOf(x1), d = bitsOf(y1);
    const uint64_t key = foldKey(foldKey(foldKey(foldKey(a, b), c), d), opsKey);
    uint16_t& slot = gBarSlots[slotOf(key, kBarSlots)];
    if (slot != 0) {
        const BarText& kept = gBarTexts[slot - 1];
        if (kept.ops == opsKey && kept.x0 == a && kept.y0 == b && kept.x1 == c && kept.y1 == d) {
            writeRaw(kept.text, static_cast<int32_t>(kept.length));
            return;
        }
    }
    const size_t length = writeRectPath(paint, x0, y0, x1, y1, path);
    if (length == 0 || length > sizeof BarText::text) return;
    if (slot == 0) {
        if (gBarTextsUsed == kBarTexts) return;  // full: what is kept stays
        slot = static_cast<uint16_t>(++gBarTextsUsed);
    }
    BarText& kept = gBarTexts[slot - 1];  // a new text, or the one this slot held
    kept.x0 = a;
    kept.y0 = b;
    kept.x1 = c;
    kept.y1 = d;
    kept.ops = opsKey;
    kept.length = static_cast<uint32_t>(length);
    std::memcpy(kept.text, path, length);
}

bool hasHeaderLine() {
    const int32_t code = gSym.code, v = gSym.variation1;
    return code == 1 || (code == 2 && v == 0) || (code == 0 && (v == 6 || v == 11)) || code == 14 ||
           code == 26 || code == 27 || gSym.HaTex == 1;
}

// The top edge of a linear bar, before the base y and gxyy are added.
double barTop(double T, double inset, double rise) {
    double yT = gSym.Hei * kPointsPerMm - 2 * inset;
    if (hasHeaderLine()) {
        yT -= 1.2 * T;
        if (gSym.code == 1 && gSym.variation1 == 4) yT -= 0.4 * T;
    }
    return yT - rise + inset;
}

bool shortBars() { return (gSym.lMode & 4) != 0; }

// The ordinary bars of EAN-13, ISBN, ISSN and EAN-8 at their default height
// stop 22.85 mm x magnification below the top.
constexpr double kDefaultBarHeightPerSize = 0.2626;  // mm per percent
constexpr double kDefaultBarStopPerSize = 0.2285;
bool defaultHeightBars(double drop) {
    return gSym.code >= 0 && gSym.code <= 3 && drop == 0 &&
           static_cast<int64_t>(gSym.Hei) ==
               static_cast<int64_t>(gSym.Siz * kDefaultBarHeightPerSize);
}

double shortBarBottom(double drop, double inset, double cuHei) {
    return (gSym.Hei - cuHei) * kPointsPerMm - drop - 2 * inset;
}

// The bottom edge of a linear bar, before the base y and gxyy are added.
double barBottom(Paint paint, double drop, double inset, double top) {
    double yB = top - drop;
    if (shortBars())
        yB = shortBarBottom(drop, inset, gSym.cuHei);
    else if (paint == Paint::fill && defaultHeightBars(drop))
        // The inset raises the text line below by as much as it lowers the
        // top: the bars end that much higher too, or an inset symbol (cut
        // marks, the retail variants with an inset) sets its digits on them.
        yB = shortBarBottom(drop, inset, gSym.Siz * kDefaultBarStopPerSize) + 2 * inset;
    if (gSym.AboveHu != 1) yB += inset;
    return yB;
}

// A linear bar's rectangle; `stroke` selects the outline form.
void linearBar(Paint paint, int32_t x, int32_t w, double T, double inset, double drop, double rise,
               double top, int32_t left, int32_t baseY) {
    const double x0 = (x + left * kPerPoint + static_cast<int64_t>(inset) * kPerPoint) * kUnit;
    const double x1 = x0 + w * kUnit;
    const double y0 = barTop(T, inset, rise) + baseY + gBlock.gxyy;
    if (paint == Paint::fill && !shortBars() && defaultHeightBars(drop))
        gSym.cuHei = gSym.Siz * kDefaultBarStopPerSize;
    double yB = barBottom(paint, drop, inset, top);
    if (paint == Paint::stroke) yB = static_cast<double>(static_cast<int64_t>(yB));
    keptRect(paint, x0, y0, x1, yB + baseY + gBlock.gxyy);
}

void multiLineBar(Paint paint, int32_t x, int32_t w, int32_t inset, int32_t textY, int32_t drop,
                  int32_t rise, int32_t top, int32_t left) {
    const int64_t x0 = x + static_cast<int64_t>(inset) * kPerPoint + left * kPerPoint;
    const int64_t x1 = x0 + w;
    const int64_t yTop = static_cast<int64_t>(textY) + top - rise;
    const int64_t yBottom = static_cast<int64_t>(textY) + top - drop;
    recordBar(x0 * kUnit, static_cast<double>(yTop), x1 * kUnit, static_cast<double>(yBottom));
    closePdfText();
    Emit e;  // the whole path, one piece of text
    rectangle(e, paint, x0, yTop, x1, yBottom,
              [](Emit& out, int64_t px, int64_t py) { out.fixed5(px).c(' ').i(py); });
}

}  // namespace

void startBarRecord() {
    gRecorded = {};
    gRecording = true;
}

PaintedBars stopBarRecord() {
    gRecording = false;
    return gRecorded;
}

double linearBarHeight(double T, double inset, double drop, double rise, double top) {
    return barTop(T, inset, rise) - barBottom(Paint::fill, drop, inset, top);
}

void DrawBlock(int32_t x, int32_t w, double T, double inset, int32_t textY, double drop,
               double rise, double top, int32_t left, int32_t baseY) {
    linearBar(Paint::fill, x, w, T, inset, drop, rise, top, left, baseY);
}

void DrawBlockg(int32_t x, int32_t w, double T, double inset, int32_t textY, double drop,
                int32_t rise, int32_t top, int32_t left, int32_t baseY) {
    linearBar(Paint::stroke, x, w, T, inset, drop, rise, top, left, baseY);
}

void DrawMultiLineBlock(int32_t x, int32_t w, int32_t T, int32_t inset, int32_t textY, int32_t drop,
                        int32_t rise, int32_t top, int32_t left, int32_t baseY) {
    multiLineBar(Paint::fill, x, w, inset, textY, drop, rise, top, left);
}

void DrawMultiLineBlockg(int32_t x, int32_t w, int32_t T, int32_t inset, int32_t textY,
                         int32_t drop, int32_t rise, int32_t top, int32_t left, int32_t baseY) {
    multiLineBar(Paint::stroke, x, w, inset, textY, drop, rise, top, left);
}

void DrawBlock2(int32_t x, int32_t w, int32_t T, int32_t inset, int32_t rowY, double drop,
                double rowTop, double rowBottom, int32_t left, int32_t baseY) {
    const double x0 = (x + left * kPerPoint + static_cast<int64_t>(inset) * kPerPoint) * kUnit;
    const double x1 = x0 + w * kUnit;
    const double yTop = inset + rowTop + baseY;
    const double yBottom = baseY + rowBottom;
    if (x0 == x1 || yTop == yBottom) return;
    realRect(Paint::fill, x0, yTop, x1, yBottom);
}

void Draw2DBlock(int32_t x, int32_t w, double quarter, int32_t offset, double y, double drop,
                 double rise, double top, int32_t wide, double upTo) {
    const double x0 = (x + offset * kPerPoint) * kUnit;
    const double side = (static_cast<int64_t>(x) + w + offset * kPerPoint) * kUnit - x0;
    const double x1 = (static_cast<int64_t>(x) + std::max(w, wide) + offset * kPerPoint) * kUnit;
    const double y0 = (y + quarter) * kUnit + offset - rise;
    // A square of the module width, unless it reaches a neighbour.
    realRect(Paint::fill, x0, y0, x1, std::max(y0 + side, upTo * kUnit + offset - rise));
}

void padToLen(unsigned char* s, int32_t n) {
    if (n > 255) n = 255;
    const int32_t len = s[0];
    if (len >= n) return;
    const int32_t sign = (len > 0 && s[1] == '-') ? 1 : 0;
    const int32_t pad = n - len;
    std::memmove(s + 1 + sign + pad, s + 1 + sign, static_cast<size_t>(len - sign));
    std::memset(s + 1 + sign, '0', static_cast<size_t>(pad));
    s[0] = static_cast<unsigned char>(n);
}

double GetTextPosAboveCode(double a, double t) {
    const double p = gSym.Hei * kPointsPerMm - a - t;
    const bool barFontText =
        pstrEquals(gSym.fontBelow, "STRixel") || samePstr(gSym.fontBelow, gSym.barFont);
    if (barFontText) return gSym.textAsFont == 1 ? p + 0.2 * t : p;
    return (gSym.code == 16 || gSym.code == 25) ? p : p + 0.2 * t;
}

int32_t getLeftMarginEPS() {
    int32_t sum = 0;
    for (int32_t k = 0; k < gEl.cu_len; ++k) {
        const int32_t w = charToWidth(gEl.chNum[k]);
        if (w >= 0) break;
        sum -= w;
    }
    return sum;
}
