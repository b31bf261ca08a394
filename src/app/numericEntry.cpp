#include "app/numericEntry.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "labels/itemFields.h"
#include "labels/labelDoc.h"
#include "labels/production.h"
#include "labels/runs/itemOps.h"
#include "labels/units.h"
#include "platform/numbers.h"
#include "symbology/Filters.h"
#include "symbology/panels.h"
#include "symbology/state.h"
#include "vector/Epsout.h"

NumericEntryHooks gNumericHooks;

namespace {

using platform::TERec;

constexpr int32_t kPercentMax = 100;
constexpr double kChannelPerPercent = 655.35;
constexpr int32_t kChannelMax = 65535;
constexpr double kMillimetresPerInch = 25.4;
constexpr double kInchesPerMillimetre = 0.03937007874015748;
constexpr double kLeastSize = 10;  // percent; a typed size below kSmallSize becomes this
constexpr double kSmallSize = 12;
constexpr double kLargestSize = 250;
constexpr double kTallestBars = 200;  // millimetres
constexpr int32_t kWidestStep = 5;    // the bar-font width step, and for some types 3
constexpr int32_t kNarrowWidestStep = 3;
constexpr int32_t kMostInset = 50;  // insetAmount and extraMargin from the text pane
constexpr int32_t kColourPane = 4, kTextPane = 3, kCodePane = 0;
constexpr int32_t kBarcodeKinds = 1;   // curIteTyp bit of a barcode
constexpr int32_t kStoreSettings = 0;  // setItemDataSelItems: the numeric settings alone
constexpr int32_t kStoreAll = 2;       // and the data

// The areas of the main window that show the colours being typed.
constexpr qd::Rect kColourAreas[] = {{22, 5, 47, 130}, {142, 97, 158, 133}, {165, 10, 240, 126}};

// Text pane (TEBack3) fields.
enum TextPaneField : int32_t {
    kTextSize = 0,
    kTextBearer = 1,
    kGrip = 2,
    kBaseShift = 3,
    kStyleEntry = 4,
    kTracking = 5,
    kItemTop = 9,
    kItemHeight = 12,
    kInset = 13,
    kExtraMargin = 14,
};

void beep() { platform::SysBeep(kRefusedBeep); }
bool isNumberKey(unsigned char k) {
    return (k >= '0' && k <= '9') || k == kKeyBackspace || k == '.' || k == '-';
}
double valueOf(int32_t whole, int32_t hundredths) { return whole + hundredths / 100.0; }
void showInt(TERec* field, int32_t v) { platform::SetWindowText(field, std::to_string(v).c_str()); }

void invalMain(const qd::Rect& r) {
    if (gNumericHooks.invalMain) gNumericHooks.invalMain(r);
}
void invalPreview(bool lessScrollBars) {
    if (gNumericHooks.invalPreview) gNumericHooks.invalPreview(lessScrollBars);
}

// The bearer is typed in two panes; both fields show it.
void takeBearer(const TERec* from, TERec* other, int32_t whole, int32_t hundredths) {
    platform::SetWindowText(other, from->text.c_str());
    gSym.line = gSym.gline = valueOf(whole, hundredths);
}

// A colour percentage as typed, within 0 to 100; the field shows what is used.
int32_t takePercent(TERec* field, int32_t whole) {
    const int32_t p = std::clamp(whole, 0, kPercentMax);
    if (p != whole) showInt(field, p);
    return p;
}

void colourKey(unsigned char key) {
    const int32_t f = gPanels.c_TE;
    TERec* fields[] = {&gPanels.TECyan, &gPanels.TEMage, &gPanels.TEYell, &gPanels.TEBlac,
                       &gPanels.TELine};
    if (f < kCyanField || f > kBearerField) return;
    if (key == '.' && f != kBearerField) return beep();
    TERec* field = fields[f - kCyanField];
    const bool itemSelected = gLabel.curIteTyp != 0;
    int32_t c = 0, y = 0, m = 0, k = 0;
    int32_t* percent[] = {&c, &m, &y, &k};
    if (itemSelected) {
        const bool second = gPanels.colTab != 0;
        percent[0] = second ? &gSym.cyan22 : &gSym.cyan2;
        percent[1] = second ? &gSym.magenta22 : &gSym.magenta2;
        percent[2] = second ? &gSym.yellow22 : &gSym.yellow2;
        percent[3] = second ? &gSym.black22 : &gSym.black2;
    } else {
        convertToCMYK(&c, &y, &m, &k, static_cast<int32_t>(labelBack.backRed),
                      static_cast<int32_t>(labelBack.backGreen),
                      static_cast<int32_t>(labelBack.backBlue));
    }
    int32_t whole = 0, hundredths = 0;
    GetFilteredNumbers(field, key, &whole, &hundredths);
    if (f == kBearerField) {
        takeBearer(field, &gPanels.TEBack3[kTextBearer], whole, hundredths);
    } else {
        *percent[f - kCyanField] = takePercent(field, whole);
        gSym.customColour = 0;
        for (const qd::Rect& r : kColourAreas) invalMain(r);
    }
    if (itemSelected) {
        setItemDataSelItems(kStoreSettings);
    } else if (f != kBearerField) {
        // The round trip through CMYK is not exact: the background changes only
        // when one of its colour fields does.
        int32_t r = 0, g = 0, b = 0;
        convertFromCMYK(c, y, m, k, &r, &g, &b);
        labelBack.backRed = static_cast<uint32_t>(r);
        labelBack.backGreen = static_cast<uint32_t>(g);
        labelBack.backBlue = static_cast<uint32_t>(b);
    }
}

void textPaneKey(unsigned char key) {
    const int32_t f = gPanels.c_TE3;
    if (f < 0 || f >= static_cast<int32_t>(std::size(gPanels.TEBack3))) return;
    TERec* field = &gPanels.TEBack3[f];
    int32_t whole = 0, hundredths = 0;
    GetFilteredNumbers(field, key, &whole, &hundredths);
    switch (f) {
        case kTextSize:
            gSym.customTeSize = whole;
            break;
        case kGrip:
            gSym.grip = whole;
            break;
        case kStyleEntry:
            gPanels.chStyle = whole;
            break;
        case kInset:
            gSym.insetAmount = whole;
            break;
        case kExtraMargin:
            gSym.extraMargin = whole;
            break;
        default:
            break;
    }
    if (f == kTextBearer) {
        takeBearer(field, &gPanels.TELine, whole, hundredths);
    } else if (f >= kItemTop && f <= kItemHeight) {
        setitemdimensions();
    } else {
        gSym.insetAmount = std::min(gSym.insetAmount, kMostInset);
        gSym.extraMargin = std::min(gSym.extraMargin, kMostInset);
        setItemDataSelItems(kStoreSettings);
    }
    invalPreview(labelLayoutOpen());
    if (f == kTracking) gSym.gTrackAdjust = whole;  // a whole number of units
    if (f == kBaseShift) gSym.gBaseAdjust = valueOf(whole, hundredths);
}

// The bar-font width step that a bar-width reduction gives at the current size.
int32_t widthStep() {
    const double d = std::trunc(gSym.Siz) * 0.5;
    int32_t step = 0;
    const bool plainVectorFile = gOut.tool == 2 || gOut.tool == 3;
    if (!(!labelLayoutOpen() && plainVectorFile && gEps.non_drawn != 1) && d > 0)
        step = static_cast<int32_t>(std::clamp(gSym.BWidthRed / d, 0.0, double{kWidestStep}));
    if (smallStepFamily(gSym.code)) step = std::min(step, kNarrowWidestStep);
    return std::max(step, 0);
}

void heightKey(double v) {
    switch (gSym.hMode) {
        case 2:
            gSym.Hei = v * kMillimetresPerInch;
            break;
        case 1: {
            // A percentage of the nominal height; a type without one keeps its height.
            const double nominal = nominalHeight(gSym.code, gSym.variation1);
            if (nominal > 0) gSym.Hei = nominal * gSym.Siz * 0.01 * v / 100;
            break;
        }
        default:
            gSym.Hei = v;
            break;
    }
    // A height of 0 is the type's own height, as on the command line: bars of no
    // height would make a symbol with no box and nothing to scan.
    gSym.Hei = gSym.Hei > 0 ? std::min(gSym.Hei, kTallestBars) : typeOwnHeight();
    gSym.cuHei = gSym.Hei;
}

void sizeKey(double v) {
    // A size in inches is a size in millimetres; either stays within the sizes
    // a symbol can take, so that nothing later divides by a size of 0.
    double siz = (gSym.spec & 2) ? v * kMillimetresPerInch : v;
    if (siz < kSmallSize) siz = kLeastSize;
    gSym.Siz = std::min(siz, kLargestSize);
    if (!(gSym.lMode & 1) && !(gSym.spec & 2)) WorkOutHeight(0);
    gSym.cLength = static_cast<int32_t>(gSym.Siz);
}

void codePaneKey(unsigned char key) {
    int32_t whole = 0, hundredths = 0;
    if (!(gLabel.curIteTyp & kBarcodeKinds)) {
        GetFilteredNumbers(&gPanels.TETe1[1], key, &whole, &hundredths);
        gSym.customTeSize = whole;
        setItemDataSelItems(kStoreSettings);
        return;
    }
    switch (gPanels.c_TE) {
        case kBarWidthField:
            GetFilteredNumbers(&gPanels.TEBWR, key, &whole, &hundredths);
            gSym.BWidthRed = whole;
            gSym.BW = widthStep();
            break;
        case kHeightField:
            GetFilteredNumbers(&gPanels.TEHeight, key, &whole, &hundredths);
            heightKey(valueOf(whole, hundredths));
            break;
        case kSizeField:
            GetFilteredNumbers(&gPanels.TESize, key, &whole, &hundredths);
            sizeKey(valueOf(whole, hundredths));
            break;
        default:
            return;
    }
    setItemDataSelItems(kStoreAll);
}

}  // namespace

int32_t TEGetLen(const TERec* field) { return static_cast<int32_t>(field->text.size()); }

void StringToDouble(double* value, const unsigned char* pstr) {
    const char* p = reinterpret_cast<const char*>(pstr + 1);
    const char* end = p + pstr[0];
    while (p < end && (*p == ' ' || *p == '\t')) ++p;
    if (p < end && *p == '+') ++p;
    double v = 0;
    const auto [stop, error] = std::from_chars(p, end, v);
    *value = error == std::errc() && std::isfinite(v) ? v : 0;
    (void)stop;
}

void DoubleToString(double value, unsigned char* pstr) {
    char buf[352];  // "%f" of the largest double
    const int n = platform::formatFixed(buf, sizeof buf, value);
    const size_t len = std::min<size_t>(n > 0 ? static_cast<size_t>(n) : 0, 255);
    pstr[0] = static_cast<unsigned char>(len);
    std::memcpy(pstr + 1, buf, len);
}

void FilterFloatingNumbers(TERec* field, unsigned char key) {
    const int32_t len = TEGetLen(field);
    const bool hasPoint = field->text.find('.') != std::string::npos;
    if (key == '.' && hasPoint) return beep();
    const bool wholeSelected = field->selStart == 0 && field->selEnd == len;
    if (key == kKeyBackspace || key == '.' ||
        len < (hasPoint ? kPointNumberLength : kNumberLength) || wholeSelected)
        platform::TEKey(key, field);
}

void GetFilteredNumbers(TERec* field, unsigned char key, int32_t* whole, int32_t* hundredths) {
    FilterFloatingNumbers(field, key);
    unsigned char p[256];
    const size_t n = std::min<size_t>(field->text.size(), 255);
    p[0] = static_cast<unsigned char>(n);
    std::memcpy(p + 1, field->text.data(), n);
    double v = 0;
    StringToDouble(&v, p);
    // Fields hold short numbers; anything beyond the range of a setting is cut.
    constexpr double kLargest = 1e9;
    v = std::clamp(v, -kLargest, kLargest);
    *whole = static_cast<int32_t>(v);
    *hundredths = static_cast<int32_t>((v - *whole + 0.005) * 100);
}

double nominalHeight(int32_t code, int32_t variant) {
    switch (code) {
        case 0:
        case 26:
            return variant == 3 ? 15 : 26.26;
        case 1:
        case 2:
        case 10:
        case 11:
            return 26.26;
        case 3:
        case 16:
        case 28:
            return 22;
        case 4:
        case 5:
        case 6:
        case 7:
        case 8:
        case 12:
        case 17:
        case 29:
        case 32:
            return 33;
        case 9:
            return 5;
        case 13:
        case 15:
        case 20:
        case 35:
        case 36:
        case 37:
            return 15;
        case 14:
        case 30:
            return 10;
        case 24:
            return 30;
        case 25:
            return 12;
        case 31:
            return 6;
        default:
            return 0;
    }
}

void WorkOutHeight(int32_t quiet) {
    const double nominal = nominalHeight(gSym.code, gSym.variation1);
    if (nominal > 0) gSym.Hei = nominal * gSym.Siz * 0.01;
    if (quiet) return;
    std::string shown;
    if (gSym.hMode == 1)
        shown = "100";
    else if (gSym.hMode == 2)
        shown = platform::formatC("%0.2f", gSym.Hei * kInchesPerMillimetre);
    else
        shown = platform::formatC("%0.3f", gSym.Hei);
    platform::SetWindowText(&gPanels.TEHeight, shown.c_str());
    if (gNumericHooks.redrawMain) gNumericHooks.redrawMain();
}

void convertFromCMYK(int32_t c, int32_t y, int32_t m, int32_t k, int32_t* red, int32_t* green,
                     int32_t* blue) {
    auto channel = [k](int32_t ink) {
        const int32_t covered = std::clamp(ink + k, 0, kPercentMax);
        return std::clamp(static_cast<int32_t>((kPercentMax - covered) * kChannelPerPercent), 0,
                          kChannelMax);
    };
    *red = channel(c);
    *green = channel(m);
    *blue = channel(y);
}

void Numeric3_Filter(unsigned char key) {
    if (!isNumberKey(key)) return beep();
    switch (gProd.background) {
        case kColourPane:
            colourKey(key);
            break;
        case kTextPane:
            textPaneKey(key);
            break;
        case kCodePane:
            codePaneKey(key);
            break;
        default:
            return;
    }
    invalPreview(false);
}
