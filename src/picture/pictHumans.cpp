// The human-readable text of a linear symbol in a picture: the header above the
// bars, the add-on digits, the main line (in a proportional font, or digit by
// digit in the bar font as the element list's text row places them) and the
// light-margin markers. Positions are kept in micrometres at the symbol and
// converted with the output unit.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "labels/labelDoc.h"
#include "labels/printState.h"
#include "picture/hooks.h"
#include "picture/pictpaint.h"
#include "picture/services.h"
#include "platform/quickdraw/quickdraw.h"
#include "symbology/codebars.h"
#include "symbology/state.h"
#include "vector/codebars_paint.h"
#include "vector/glyphs.h"
#include "vector/sink.h"
#include "vector/textruns.h"
#include "vector/units.h"

namespace {

constexpr int32_t kCell = 2310;          // default character advance, micrometres at scale 1
constexpr int32_t kAddOnLead = 1320;     // add-on digits start this far into the add-on
constexpr int32_t kAddOnPitch = 2970;    // and stand this far apart
constexpr int32_t kAddOnMarkBack = 660;  // the '<' after them
constexpr int32_t kNarrowGlyph = 1320;   // '(' ')' and the '?' gap of the bar font
constexpr int32_t kWideSpace = 2540, kNarrowSpace = 1016;  // count half in the text row
constexpr double kUmPerPoint = 352.7777777;
constexpr double kFinePerPoint = 35.277777777;  // hundredths of a millimetre per point
constexpr double kHeaderShift = 0.2;            // header baseline shift, of the text line
constexpr double kBelowShift = -0.1;            // text in a font other than the default
constexpr int32_t kHeaderPlainStart = 3300;     // header start, micrometres at scale 1
constexpr int32_t kHeaderFontStart = 3630;
constexpr int32_t kHeaderCode26Extra = 17820;
constexpr int32_t kHeaderHelveticaStart = 660;
constexpr double kIsmnPitch = 45.5;       // ISMN and ISBN-13 header pitch, hundredths mm at 100 %
constexpr double kHeader12Um = 4233.333;  // 12 points in micrometres
constexpr int32_t kMS128Width[2] = {193, 68086};  // the retail Code 128 line, by unit
constexpr int32_t kTextMax = 255;
constexpr double kHeaderGapUm = 40;      // between a header line and the bars
constexpr double kSmallDigitLift = 0.7;  // the 'N' or '^' before UPC-A's first digit
constexpr double kLineLift = 0.1;        // of the text size: a justified line over the box's foot
constexpr double kFontLineLift = 0.2;    // and more for a font other than the bar font
constexpr double kItfMarkOff = 12;       // points: ITF's marks stand off the bearer frame

// The item's text-as-font setting as pictures have it: they draw the bar font
// from its outlines whatever the item keeps.
constexpr int32_t kOutlinesDrawn = 0;

// Set while the line under the bars is drawn for a code whose line is its data:
// the bar font's letter codes are characters of the data there.
bool gDataLine = false;

bool among(int32_t v, std::initializer_list<int32_t> set) {
    for (int32_t s : set)
        if (v == s) return true;
    return false;
}

bool differsFromDefault(const unsigned char* font) { return !samePstr(font, gSym.defFont); }

void useFont(const unsigned char* name) {
    int16_t num = 0;
    qd::GetFNum(name, &num);
    qd::TextFont(num);
}

int16_t size16(double v) { return static_cast<int16_t>(std::clamp(v, 0.0, 32767.0)); }

int32_t headLength() {
    int32_t n = std::clamp(gData.len3, 0, static_cast<int32_t>(kHeadCodeSize));
    for (int32_t k = 0; k < n; ++k)
        if (gData.chHeadCode[k] == 0) return k;
    return n;
}

const unsigned char* head() { return reinterpret_cast<const unsigned char*>(gData.chHeadCode); }

// Where a header's micrometre offset lands. In hundredths of a millimetre the
// offset counts from the bearer; in points from the symbol's left edge.
int32_t headerX(const LinearFrame& f, double um) {
    if (f.fineUnits == 1) return static_cast<int32_t>((f.top + um) * 0.1) + f.top;
    return static_cast<int32_t>(um / f.u) + f.left + static_cast<int32_t>(gSym.line);
}

// ---------------------------------------------------------------- header

void isbnHeader(LinearFrame& f) {
    const int32_t v = gSym.variation1;
    const double m = f.m, s = f.s;
    useFont(gSym.fontAbove);
    TextSizeGC(size16(m * 10 * s), 10);
    const int32_t q = (v == 2 || v == 3) ? 0 : f.q;
    const int32_t x0 = static_cast<int32_t>(static_cast<int32_t>(q * m) / f.u) + f.left;
    TextSizeGC(size16(m * (v == 4 ? 6 : 8) * s), 8);
    const unsigned char* h = head();
    const int32_t n = headLength();
    const int32_t base = f.textHeight + f.top + f.margin;
    if (v == 2 || v == 3) {
        for (int32_t i = 0; i < n; ++i) {
            // The pitch is a length at the symbol: hundredths of a millimetre in micrometres.
            const auto d = static_cast<int32_t>(
                static_cast<int32_t>(i * kIsmnPitch * m * kFinePerPoint) / f.u);
            gHooks.drawstring_ptr(h + i, x0 + d, base, 1);
        }
        return;
    }
    if (v == 4) {
        if (n < 5) return;
        // Two lines from the header: its first four characters are the label,
        // the fifth is passed over; the second line ends in the ISBN-13 check digit.
        unsigned char line[4 + 9 + 20];
        auto build = [&](const char* middle, int32_t restMax) {
            int32_t k = 0;
            for (int32_t j = 0; j < 4; ++j) line[k++] = h[j];
            for (const char* c = middle; *c; ++c) line[k++] = static_cast<unsigned char>(*c);
            for (int32_t j = 5; j < n && j - 5 < restMax; ++j) line[k++] = h[j];
            return k;
        };
        int32_t k = build("-10: ", 20);
        gHooks.drawstring_ptr(line, x0 / 3 + x0 - f.left / 3,
                              static_cast<int32_t>(0.6 * f.textHeight + f.top + f.margin), k);
        f.Y = static_cast<int32_t>(f.Y + kHeaderShift * f.textHeight);
        k = build("-13: 978-", 16);
        if (k > 13) line[k - 1] = static_cast<unsigned char>(gData.chMainCode[12]);
        gHooks.drawstring_ptr(line, x0 - (x0 - f.left) / 4,
                              static_cast<int32_t>(1.2 * f.textHeight) + f.top + f.margin, k);
        return;
    }
    if (n > 1) gHooks.drawstring_ptr(h, x0, base, n - 1);
}

void plainHeader(LinearFrame& f) {
    const int32_t code = gSym.code;
    const double m = f.m, s = f.s;
    int32_t k = 0;
    const bool belowDiffers = differsFromDefault(gSym.fontBelow);
    if (belowDiffers) {
        useFont(gSym.fontBelow);
        k = static_cast<int32_t>(kHeaderShift * f.textHeight);
    }
    const bool drawn = !differsFromDefault(gSym.fontAbove);
    int32_t c = kHeaderPlainStart;
    if (drawn) {
        if (code == 26 || code == 27)
            TextSizeGC(size16(kHeader12Um * m / f.u), 12);
        else if (code == 14)
            TextSizeGC(size16(f.fineUnits == 1 ? (f.textHeight / 72) * 254 : f.textHeight), 20);
        else
            TextSizeGC(size16(f.textHeight), 10);
    } else {
        TextSizeGC(size16(m * 8 * s), 8);
        c = kHeaderFontStart;
    }
    if (code == 26) c += kHeaderCode26Extra;
    if (!drawn) return;
    double p = c * gVec.gCtexsize;
    const int32_t n = headLength();
    for (int32_t i = 0; i + 1 < n; ++i) {
        auto* ch = reinterpret_cast<unsigned char*>(gData.chHeadCode + i);
        if (belowDiffers) {
            if (*ch == '_') *ch = 'S';
            if (*ch == '^') *ch = 'N';
            if (*ch == '[') *ch = 'I';
        }
        const int32_t adv = gHooks.text_ptr(ch, headerX(f, p), f.textHeight + f.top - k);
        p += (adv != 0 ? adv : kCell) * gVec.gCtexsize;
    }
}

void helveticaHeader(LinearFrame& f) {
    useFont(gSym.gHelvetica);
    TextSizeGC(size16(f.m * 8 * f.s), 8);
    gHooks.drawstring_ptr(head(), headerX(f, kHeaderHelveticaStart * gVec.gCtexsize),
                          f.textHeight + f.top, headLength());
}

// ---------------------------------------------------------------- text under the bars

// The baseline of the main line for the current top, height and shift k.
double baselineOf(const LinearFrame& f, int32_t H, int32_t k) {
    return (f.Y + H - k - f.margin) - gSym.line * f.s;
}

// The baseline of the proportional line under the bars, where the vector
// output sets it: a tenth of the text size over the box's foot (not for ITF),
// a fifth more in a font other than the bar font, each in whole points.
int32_t proportionalBaseline(const LinearFrame& f) {
    const double T = f.textHeight / f.s;
    const bool barFont =
        pstrEquals(gSym.fontBelow, "Strixel") || pstrEquals(gSym.fontBelow, "STRixel");
    double o = gSym.code != 4 ? std::trunc(kLineLift * T) : 0;
    if (!barFont) o += std::trunc(kFontLineLift * T);
    return static_cast<int32_t>(baselineOf(f, f.H, 0) + gSym.line * f.s - o * f.s);
}

bool proportionalForm() {
    const int32_t code = gSym.code;
    return among(code, {4, 5, 6, 7, 8, 19, 20, 28, 30, 36}) ||
           (code == 0 && gSym.flushBars == 0 && gSym.strip_extra == 1);
}

// The text of the proportional line, at most 255 characters. fromRow: the
// text is the element list's text row, whose gap bytes ('?' and the space
// elements) place the characters instead of being shown.
int32_t proportionalText(unsigned char* out, bool* fromRow) {
    const int32_t code = gSym.code, v = gSym.variation1;
    *fromRow = false;
    int32_t n = 0;
    auto put = [&](unsigned char ch) {
        if (n < kTextMax) out[n++] = ch;
    };
    if (gLabel.proMode == 2 && gLabel.sepImp == 1) {
        for (int32_t i = 0; i < kTextMax && gPictServices.sepText[i] != 0; ++i)
            put(static_cast<unsigned char>(gPictServices.sepText[i]));
        return n;
    }
    if (code == 6) {
        if (v == 1) put('*');
        const int32_t len = std::clamp(gData.len1, 0, static_cast<int32_t>(kMainCodeSize));
        for (int32_t i = 0; i < len; ++i) put(static_cast<unsigned char>(gData.chMainCode[i]));
        if (v == 1) put('*');
        return n;
    }
    const int32_t start = textRowStart(gEl.chNum, gEl.cu_len);
    if (start < 0) return 0;
    const int32_t strip = gSym.strip_extra;
    if (strip != 0 && strip != 1 && strip != 2) return 0;
    *fromRow = true;
    for (int32_t i = start; i < gEl.cu_len; ++i) {
        const unsigned char ch = gEl.chNum[i];
        if (ch == kRowEnd || ch == 0) break;
        put(ch);
    }
    return n;
}

// A character of the text row that is shown; the others are gaps or nothing.
bool shownInRow(unsigned char ch) {
    if (typedCharacter(gSym.code, ch)) return true;
    if ((ch >= 37 && ch <= 57) || (ch >= 65 && ch <= 122) || (ch >= 174 && ch <= 183)) return true;
    if (ch != 0 && std::strchr("<> #$%+-/:;", ch) != nullptr) return true;
    return ch == '=' && gSym.code == 5 && gSym.variation1 == 13;
}

// How far the line moves on for one byte of its text, in micrometres, and
// whether the byte is drawn: characters by their width in the font they are
// set in, the gap bytes of a text row by their element widths, as the vector
// output sets the same line.
struct Step {
    bool draw = false;
    double advance = 0;
};
Step lineStep(unsigned char ch, bool fromRow, bool fontWidths, double scale) {
    const bool gap = ch == '?' && !typedCharacter(gSym.code, ch);
    if (!fromRow || (!gap && shownInRow(ch))) {
        if (fontWidths) {
            const char c = static_cast<char>(ch);
            return {true, static_cast<double>(MeasureTextInEPS(&c, 1, scale, gSym.fontBelow))};
        }
        const bool narrow = (ch == '(' || ch == ')') && !pstrEquals(gSym.fontBelow, "OCRB");
        return {true, (narrow ? kNarrowGlyph : kCell) * scale};
    }
    if (gap) return {false, (pstrEquals(gSym.fontBelow, "OCRB") ? kCell : kNarrowGlyph) * scale};
    const int32_t w = charToWidth(ch);
    if (w >= 0) return {};
    return {false, -w == kWideSpace || -w == kNarrowSpace ? -w / 2.0 : -w};
}

// The pitch of the main line, which the right marker keeps its distance by.
int32_t proportionalLine(LinearFrame& f, int32_t k) {
    const int32_t code = gSym.code, v = gSym.variation1;
    const double m = f.m, s = f.s;
    if (code != 4) {
        useFont(gSym.gHelvetica);
        qd::SetFractEnable(true);
    }
    if (gSym.customTeSize == 0) {
        if (among(code, {0, 19, 20, 28}))
            TextSizeGC(size16(m * s * 10), 10);
        else
            TextSizeGC(size16(m * s * 20), 20);
    } else {
        TextSizeGC(size16(gSym.customTeSize * s), gSym.customTeSize);
        gVec.gCtexsize = gVec.gCtexsize / m;
    }
    const double scale = gVec.gCtexsize;
    unsigned char text[kTextMax + 1];
    bool fromRow = false;
    const int32_t n = proportionalText(text, &fromRow);
    const bool barFont =
        pstrEquals(gSym.fontBelow, "Strixel") || pstrEquals(gSym.fontBelow, "STRixel");
    const bool fontWidths = !barFont && code > 3;
    double tw = 0;
    for (int32_t i = 0; i < n; ++i) tw += lineStep(text[i], fromRow, fontWidths, scale).advance;
    const bool ms128 = code == 5 && (v == 2 || v == 3);
    if (ms128) tw = kMS128Width[f.fineUnits == 1 ? 1 : 0];
    const int32_t bw =
        f.fineUnits == 1 ? f.boxWidth * 10 : static_cast<int32_t>(f.boxWidth * kUmPerPoint);
    const double quiet = f.q * f.wf * m;
    double xs = 0;
    if (gSym.TEjust == -1)
        xs = static_cast<int32_t>((bw - tw) + (gSym.line * -kUmPerPoint - quiet));
    else if (gSym.TEjust == 0)
        xs = static_cast<int32_t>(quiet + gSym.line * kUmPerPoint);
    else
        xs = static_cast<int32_t>((bw - tw) / 2);
    const auto P = static_cast<int32_t>(scale * kCell);
    // The line keeps to the box's foot with the text under the bearers too: they
    // stand the text's height above it, as in the vector output.
    const double Bp = baselineOf(f, f.H, k);
    const auto B = static_cast<int32_t>(Bp);
    const int32_t above = gPictServices.textAboPos - k + f.margin;
    if (ms128) {
        DrawMS128Text(reinterpret_cast<const char*>(text), n, 2,
                      static_cast<int32_t>(xs / f.u) + f.left + f.margin + gSym.extraMargin,
                      gSym.attTop == 0 ? B : above, m * s);
        return P;
    }
    int32_t y = above;
    if (gSym.attTop == 0) y = proportionalBaseline(f);
    for (int32_t i = 0; i < n; ++i) {
        const Step step = lineStep(text[i], fromRow, fontWidths, scale);
        if (step.draw) {
            const int32_t adv = gHooks.text_ptr(
                text + i, static_cast<int32_t>(xs / f.u) + f.left + gSym.extraMargin, y);
            if (adv != 0) {
                xs += adv * scale;
                continue;
            }
        }
        xs += step.advance;
    }
    return P;
}

bool textCharacter(unsigned char ch) {
    return (ch >= '0' && ch <= '9') || (ch >= 174 && ch <= 183) || (ch >= '%' && ch <= '(') ||
           (ch >= 65 && ch <= 96) || ch == '>' || ch == '<' || ch == '-';
}

bool boldDigit(int32_t n) {
    if (gSym.code != 0) return false;
    const int32_t v = gSym.variation1;
    return (v == 10 && n >= 7 && n <= 12) || (v == 7 && n >= 8 && n <= 12) ||
           (v == 8 && n >= 8 && n <= 13);
}

// UPC-A sets its first and last digits smaller, outside the bars.
bool smallUpcDigit(int32_t n) {
    const int32_t v = gSym.variation1;
    if (gSym.code != 10 || v == 2) return false;
    return n == 1 || (n == 12 && v != 3 && v != 4 && v != 5) || (n == 14 && (v == 3 || v == 4)) ||
           (n == 13 && v == 5);
}

int32_t barFontLine(LinearFrame& f, int32_t k) {
    const int32_t code = gSym.code, v = gSym.variation1;
    const double m = f.m, s = f.s;
    int32_t lift = 0;  // the extra baseline offset of code 24
    if (code == 10 && v == 2) {
        TextSizeGC(size16(m * 8 * s), 8);
        gVec.gCtexsize = gSym.Siz * 0.00825;
    } else if (code == 25 || (code == 0 && v == 12)) {
        TextSizeGC(size16(m * 9 * s), 9);
    } else if (code == 24) {
        TextSizeGC(size16(m * 20 * s), 20);
        lift = f.textHeight;
    }
    const auto P = static_cast<int32_t>(gVec.gCtexsize * kCell);
    gSym.bol = 0;
    int32_t H = f.H;
    // The header took a line and a gap from the bars; the text stays under them.
    if (headerCarrying()) H = static_cast<int32_t>((H - f.TL) - kHeaderShift * f.TL);
    double x = 0;
    if (code == 25 || (code == 0 && v == 12)) x = static_cast<int32_t>((x + P) + 0.45 * P);
    const int32_t start = symbolTextRowStart();
    if (start < 0) return P;
    const bool addOnData = gData.chAddCode[0] != 0 && gData.len2 > 0;
    int32_t n = 0;
    for (int32_t i = start; i < gEl.cu_len; ++i) {
        const unsigned char ch = gEl.chNum[i];
        if (ch == kRowEnd || ch == 0) break;
        if (!textCharacter(ch)) {
            const int32_t w = charToWidth(ch);
            if (w < 0)
                x += (-w == kWideSpace || -w == kNarrowSpace ? -w / 2.0 : -w) * gVec.gCtexsize;
            continue;
        }
        ++n;
        const bool small = smallUpcDigit(n);
        if (small) {
            TextSizeGC(size16(m * 8 * s), 8);
            if (n == 1 || n == 12) {
                // A length at the symbol, in micrometres.
                const double shift = (n == 12 && addOnData ? 1 : 3) * m * kFinePerPoint;
                x = static_cast<int32_t>(x + shift);
            }
            if (n == 1 && v >= 3 && v <= 6) {
                const unsigned char mark = v == 6 ? '^' : 'N';
                const auto base = static_cast<int32_t>(baselineOf(f, H, k) + lift);
                gHooks.text_ptr(
                    &mark, static_cast<int32_t>(x / f.u) + f.left + f.margin + gSym.extraMargin + 1,
                    static_cast<int32_t>(base - kSmallDigitLift * f.textHeight));
            }
        }
        gSym.bol = boldDigit(n) ? 1 : 0;
        if (ch == '<') k = 0;
        const int32_t adv = gHooks.text_ptr(
            &ch, static_cast<int32_t>(x / f.u) + f.left + f.margin + gSym.extraMargin,
            static_cast<int32_t>(baselineOf(f, H, k) + lift));
        if (small && (n == 1 || n == 12)) TextSizeGC(size16(f.textHeight), 10);
        x += adv != 0 ? adv * gVec.gCtexsize : P;
    }
    gSym.bol = 0;
    return P;
}

void addOnDigits(LinearFrame& f, int32_t k) {
    if (!f.addOnFound || !(gSym.code < 3 || among(gSym.code, {10, 11, 25, 26, 27}))) return;
    int32_t a = f.addOn + kAddOnLead;
    const int32_t y = gSym.variation1 < 255 ? (f.Y + f.rise - k) + f.margin
                                            : static_cast<int32_t>(baselineOf(f, f.H, k));
    auto at = [&](int32_t um) {
        return static_cast<int32_t>(static_cast<int32_t>(um * f.m) / f.u) + f.left + f.margin +
               gSym.extraMargin;
    };
    const int32_t n = std::clamp(gData.len2, 0, static_cast<int32_t>(kAddCodeSize));
    for (int32_t i = 0; i < n; ++i) {
        const auto* ch = reinterpret_cast<const unsigned char*>(gData.chAddCode + i);
        if (*ch == kRowEnd || *ch == 0) break;
        gHooks.text_ptr(ch, at(a), y);
        a += kAddOnPitch;
    }
    if (gSym.non_light == 1) {
        a -= kAddOnMarkBack;
        const unsigned char mark = '<';
        gHooks.text_ptr(&mark, at(a), y);
    }
}

// The font a character of the text line is drawn in.
const unsigned char* characterFont(unsigned char ch) {
    const int32_t code = gSym.code, v = gSym.variation1;
    if (code == 16 && v != 0 && v != 5) return gSym.defFont;
    if ((code == 16 || code == 25 || ch == '<' || ch == '>') && code != 4 && code != 5)
        return gSym.defFont;
    return gSym.fontBelow;
}

bool serifMarkers() {
    const int32_t code = gSym.code, v = gSym.variation1;
    return (code == 4 && (v == 6 || v == 9)) || (code == 3 && v == 7);
}

// The last argument, the main line's pitch, is not needed: the marks are
// placed by their own widths.
void lightMarginMarkers(LinearFrame& f, int32_t k, int32_t) {
    const int32_t code = gSym.code;
    const bool serif = serifMarkers();
    // Codabar's and POSTNET's rows have no light margin inside their box: no
    // marks, as in the vector output.
    if (!serif && !(code > 3 && !among(code, {8, kSmallEanCode, 10, 11, 16, 25, 26, 31}) &&
                    gSym.non_light == 1))
        return;
    Str255 keep;
    pstrCopy(keep, gSym.fontBelow);
    unsigned char leftMark = '>', rightMark = '<';
    if (serif) {
        pstrSet(gSym.fontBelow, "Times");
        leftMark = 'P';
        rightMark = 'S';
        f.Y = static_cast<int32_t>(f.Y - kHeaderShift * f.textHeight);
    }
    auto B = static_cast<int32_t>(baselineOf(f, f.H, k));
    // Beside the proportional line the marks stand a tenth of the text size
    // over the box's foot, as the vector output's do.
    if (!serif && proportionalForm() && gSym.attTop == 0) {
        const double lift = std::trunc(kLineLift * f.textHeight / f.s) * f.s;
        B = static_cast<int32_t>(baselineOf(f, f.H, 0) + gSym.line * f.s - lift);
    }
    // The marks stand where the vector output sets them: ITF's a little off
    // the bearers (points, taken at a printer port's scale of dots), the right
    // one ending at the box's right edge.
    const double point = f.s * gPrint.thermScale;
    const int32_t off = code == 4 ? static_cast<int32_t>(kItfMarkOff * point) : 0;
    gHooks.text_ptr(&leftMark, gSym.extraMargin + f.left + f.margin + off, B);
    useFont(characterFont(rightMark));
    const int32_t E = f.left + f.boxWidth - qd::TextWidth(&rightMark, 0, 1) - off;
    gHooks.text_ptr(&rightMark, E - (f.margin + gSym.extraMargin), B);
    if (serif) pstrCopy(gSym.fontBelow, keep);
}

}  // namespace

int32_t getCharacterOutPict(const unsigned char* text, int32_t x, int32_t y) {
    const unsigned char ch = *text;
    const unsigned char* font = characterFont(ch);
    useFont(font);
    qd::TextFace(gSym.bol == 1 ? qd::bold : 0);
    qd::MoveTo(x, y);
    // In a line of data a letter code shows as itself, in OCR-B as the vector
    // output sets it, where the bar font's outline would draw its letter.
    if (gDataLine && letterCode(ch) && setInOcrb(ch, gSym.code, font, kOutlinesDrawn, true))
        qd::DrawCharAsBarFontFallback(ch);
    else
        qd::DrawText(text, 0, 1);
    return charWidthCorrection(ch);
}

void getStringOutPict(const unsigned char* text, int32_t x, int32_t y, int32_t count) {
    qd::MoveTo(x, y);
    if (count > 0) qd::DrawText(text, 0, count);
}

void drawPictHeader(LinearFrame& f) {
    const int32_t code = gSym.code, v = gSym.variation1;
    if (code == 1)
        isbnHeader(f);
    else if (among(code, {26, 27, 14}) || (code == 2 && v == 0) || gSym.HaTex == 1)
        plainHeader(f);
    else if (code == 0 && v == 6)
        helveticaHeader(f);
    else
        return;
    // A gap of 40 micrometres: four hundredths of a millimetre, nothing in points.
    f.Y = f.Y + f.textHeight + static_cast<int32_t>(kHeaderGapUm / f.u);
}

void drawPictHumans(LinearFrame& f) {
    TextSizeGC(size16(f.textHeight), bigText(gSym.code) ? 20 : 10);
    int32_t k =
        differsFromDefault(gSym.fontBelow) ? static_cast<int32_t>(kBelowShift * f.textHeight) : 0;
    addOnDigits(f, k);
    // The pitch the right marker keeps; without a main line, that of the size set above.
    int32_t P = static_cast<int32_t>(gVec.gCtexsize * kCell);
    if (gSym.human == 1) {
        gDataLine = textLineIsData(gSym.code);
        if (proportionalForm())
            P = proportionalLine(f, k);
        else
            P = barFontLine(f, k);
        gDataLine = false;
    }
    lightMarginMarkers(f, k, P);
    gSym.bol = 0;
}
