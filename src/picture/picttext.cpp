#include "picture/picttext.h"

#include <cstring>

#include "picture/PICbcode.h"
#include "platform/quickdraw/quickdraw.h"
#include "symbology/codebars.h"
#include "symbology/state.h"
#include "vector/units.h"

namespace {

constexpr int32_t kKeepPen = -1000;
constexpr double kMmPerPoint = 25.4 / 72;
constexpr double kOtherFontScale = 1.1;  // digits in a font other than the bar font
constexpr double kUmPerPoint = 352.7777777;

// The size numerator of a barcode item's text at a plain size.
int32_t plainSizeNumerator(const unsigned char* text, int32_t count) {
    const int32_t code = gSym.code, v = gSym.variation1;
    auto digit = [](unsigned char c) { return c >= '0' && c <= '9'; };
    int32_t k = 10;
    if (code == 14) k = 5;
    if (bigText(code)) k = 20;
    if (code == 10 && v == 2 && count > 0 && digit(text[0])) k = 8;
    if ((code == 25 || (code == 0 && v == 12)) && count >= 6 && digit(text[count - 6])) k = 9;
    return k;
}

void useFont(const unsigned char* name, int16_t face) {
    int16_t num = 0;
    qd::GetFNum(name, &num);
    qd::TextFont(num);
    qd::TextFace(face);
}

}  // namespace

void DrawScaledText(int32_t x, int32_t y, double base, double scale, const unsigned char* text,
                    int32_t count, double size, int32_t mode) {
    if (!text || count <= 0) return;
    qd::DrawChar(' ');
    if (x != kKeepPen) qd::MoveTo(x, y);
    const double factor = size != 0 ? base * scale * 0.01 / size : 1;
    const bool exact = mode == 1 && factor == 1;
    const int32_t code = gSym.code;
    const auto siz = static_cast<int32_t>(gSym.Siz);
    qd::TextFace(gSym.bol ? qd::bold : 0);
    if (exact) {
        // The caller's size is the drawing's.
        qd::TextSize(static_cast<int16_t>(size));
        qd::DrawText(text, 0, count);
    } else if (siz % 10 == 0 && code != 37 && code != 41) {
        const int32_t k = plainSizeNumerator(text, count);
        qd::TextSize(static_cast<int16_t>(k * gSym.Siz * 0.01));
        qd::DrawText(text, 0, count);
    } else {
        const auto h = static_cast<int32_t>(factor * 100);
        qd::Point numer{h, h}, denom{100, 100};
        switch (mode) {
            case 1:
                numer.v = denom.v = 1;
                break;
            case 2:
                numer.v = 1;
                denom.v = 10;
                break;
            case 3:
                numer.v = 2;
                denom.v = 1;
                break;
            case 4:
                numer.v = 1;
                denom.v = 5;
                break;
            default:
                break;
        }
        qd::StdText(text, count, numer, denom);
    }
}

int32_t DrawStyledText(const unsigned char* text, int32_t count, int32_t showPen, double spacing) {
    if (!text || count <= 0) return 0;
    if (showPen == 0) qd::HidePen();
    qd::Point start;
    qd::GetPen(&start);
    if (spacing == 0) {
        qd::DrawText(text, 0, count);
    } else {
        for (int32_t i = 0; i < count; ++i) {
            qd::DrawChar(text[i]);
            if (i + 1 == count) break;
            qd::Point pen;
            qd::GetPen(&pen);
            if (spacing > 0)
                qd::MoveTo(start.h + static_cast<int32_t>((i + 1) * spacing), pen.v);
            else
                qd::MoveTo(pen.h + static_cast<int32_t>(-spacing), pen.v);
        }
    }
    qd::Point end;
    qd::GetPen(&end);
    if (showPen == 0) qd::ShowPen();
    return end.h - start.h;
}

int32_t GetBarcodeTextSize(double* outSize) {
    int32_t size = 0;
    if (gSym.code != 38 && gSym.code != 40)
        size = gSym.customTeSize != 0 ? gSym.customTeSize : pictTextSize();
    if (outSize) *outSize = size * kMmPerPoint;
    return size;
}

void PrintHumansEANUPC() {
    const int32_t code = gSym.code, v = gSym.variation1;
    const int32_t start = textRowStart(gEl.chNum, gEl.cu_len);
    if (start < 0) return;
    const double k = samePstr(gSym.barFont, gSym.fontBelow) ? 1 : kOtherFontScale;
    double size = gSym.customTeSize != 0 ? gSym.customTeSize * k
                                         : gSym.Siz * k * (code == 10 && v == 2 ? 0.08 : 0.1);
    // A "-Bold" font name is the font before it, set bold.
    Str255 below;
    pstrCopy(below, gSym.fontBelow);
    int16_t face = 0;
    for (int32_t i = 1; i + 4 <= below[0]; ++i)
        if (std::memcmp(below + i, "-Bold", 5) == 0 && i + 4 == below[0]) {
            below[0] = static_cast<unsigned char>(i - 1);
            face = qd::bold;
            break;
        }
    int32_t n = 0;
    for (int32_t i = start; i < gEl.cu_len; ++i) {
        const unsigned char ch = gEl.chNum[i];
        if (ch == ':' || ch == ';' || ch == '?' || ch == '=') {
            // A spacing code moves the pen by its element's width at the magnification.
            qd::Move(static_cast<int32_t>(-charToWidth(ch) * gSym.Siz * 0.01 / kUmPerPoint), 0);
            continue;
        }
        ++n;
        gSym.bol = code == 0 && ((v == 10 && n >= 7 && n <= 12) || (v == 7 && n >= 8 && n <= 12) ||
                                 (v == 8 && n >= 8 && n <= 13));
        if (ch == '<' || ch == '>')
            useFont(gSym.barFont, 0);
        else
            useFont(below, static_cast<int16_t>(face | (gSym.bol ? qd::bold : 0)));
        double sz = size;
        if (code == 0 && gSym.smallFirstChar == 1 && n == 1) sz = gSym.Siz * k * 0.07;
        qd::TextSize(static_cast<int16_t>(sz));
        qd::DrawChar(ch);
    }
    gSym.bol = 0;
}
