#include "app/desktop/settingsPanes.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/desktop/threeD.h"
#include "labels/labelDoc.h"
#include "labels/runs/itemOps.h"
#include "picture/PICout2.h"
#include "platform/resources.h"
#include "platform/toolbox/pstrings.h"
#include "platform/toolbox/textshapes.h"
#include "symbology/host.h"
#include "symbology/panels.h"
#include "symbology/state.h"

namespace {

// Selection kinds (the mask of the selected items' kinds).
constexpr int32_t kBarcodeKind = 1;
constexpr int32_t kBarcodeOrText = 5, kBarcodeOrShape = 9, kBarcodeTextOrShape = 13;

// Unit labels.
constexpr int32_t kUnitMm = 21, kUnitPercent = 38, kUnitInch = 98;

// Small bits of the mode words.
constexpr int32_t kBit1 = 1, kBit2 = 2, kBit4 = 4, kBit8 = 8, kBit128 = 128;

constexpr int32_t kButtonCaptions = 141, kButtonCaption = 17;
constexpr int32_t kPopUpMark = -1;  // a 3-D button that opens a menu

// Colour icons of the code header.
constexpr int32_t kOwnHeightIcon = 139, kAutoHeightIcon = 134;

constexpr qd::Rect rectLTRB(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    return {top, left, bottom, right};
}

// ---- Tables ----

struct FormatName {
    int32_t ill;
    const char* name;
};
// Vector output (tool 2 and 3) in the encapsulated form, by dialect.
constexpr FormatName kVectorDialects[] = {
    {25, "ILYT"}, {88, "Ill 88 eps"}, {93, "Ill 3 eps"}, {95, "Ill 5 eps"}, {2, "Type 3"}};
constexpr const char* kVectorOther = "Ill 1 eps";
constexpr const char* kPlainPostScript = "Pure PS";
constexpr const char* kJobPostScript = "PJL";
constexpr const char *kPictName = "Pict", *kTextName = "Text", *kTextUName = "Text U";
constexpr const char *kTiffName = "Tiff", *kBmpName = "BMP", *kTextFileName = "TextFile";
constexpr const char* kPdfName = "PDF";

struct ModeName {
    int32_t mode;
    const char* name;
};
constexpr ModeName kImportModes[] = {{0, "Comma"}, {1, "Tab"}, {2, "Merge"}, {4, "Invert"}};
constexpr const char* kImportModeOther = "Basic";
constexpr ModeName kJustifications[] = {{-1, "Right"}, {128, "Full"}, {1, "Centre"}};
constexpr const char* kJustificationOther = "Left";
constexpr const char* kSeparateReadable = "Seperate Readable";
constexpr const char* kSameFileReadable = "Same File Readable";
constexpr const char* kDefaultItemName = "Default";

// ---- Drawing helpers ----

void label(int32_t index, int32_t h, int32_t v) {
    platform::BuildStringItem(h, v, kPaneLabels, index);
}

void text(const char* s, int32_t h, int32_t v) {
    qd::MoveTo(h, v);
    qd::DrawText(s, 0, static_cast<int32_t>(std::strlen(s)));
}

int32_t widthOf(const char* s) { return qd::TextWidth(s, 0, static_cast<int32_t>(std::strlen(s))); }

void ground(const qd::Rect& r) {
    setGrey();
    qd::EraseRect(r);
}

void mark(int32_t h, int32_t v, bool on) { drawMark(h, v, on ? 1 : 0); }

// A box without its top edge, with a white edge inside.
void openBox(const qd::Rect& r) {
    NonTopBox(r);
    qd::ForeColor(qd::whiteColor);
    qd::MoveTo(r.left + 1, r.top);
    qd::LineTo(r.left + 1, r.bottom - 1);
    qd::LineTo(r.right - 1, r.bottom - 1);
    qd::LineTo(r.right - 1, r.top);
    qd::ForeColor(qd::blackColor);
}

// An etched double rule across h from..to, its rows from v to v + 3.
void doubleRule(int32_t from, int32_t to, int32_t v) {
    for (int32_t i = 0; i < 4; ++i) {
        if (i % 2 == 0)
            setForeDkGrey();
        else
            qd::ForeColor(qd::whiteColor);
        qd::MoveTo(from, v + i);
        qd::LineTo(to, v + i);
    }
    qd::ForeColor(qd::blackColor);
}

// A unit box: raised, with a small arrow at its bottom right.
void unitBox(const qd::Rect& r, bool framed) {
    if (framed) qd::FrameRect(r);
    ThreeD(r, 0);
    constexpr int32_t kArrowWidth = 5;
    const int32_t left = r.right - kArrowWidth - 3, top = r.bottom - 7;
    for (int32_t row = 0; row < 3; ++row) {
        qd::MoveTo(left + row, top + row);
        qd::LineTo(left + kArrowWidth - 1 - row, top + row);
    }
}

// The letter boxes of a group; the chosen one inverted.
struct LetterBox {
    int32_t h, v;
    unsigned char letter;
    int32_t value;  // the setting that chooses it
};
template <size_t N>
void letterBoxes(const LetterBox (&boxes)[N], int32_t chosen) {
    for (const LetterBox& b : boxes) {
        frameMark(b.h, b.v, b.letter);
        if (b.value == chosen) invertMark(b.h, b.v);
    }
}
void orientationBoxes(int32_t v, int32_t orient) {
    const LetterBox boxes[] = {
        {59, v, 'T', 0}, {74, v, 'B', 180}, {89, v, 'L', 270}, {104, v, 'R', 90}};
    letterBoxes(boxes, orient);
}

// Draws a Pascal text at (h, v) clipped to clip.
void clippedString(const unsigned char* s, int32_t h, int32_t v, const qd::Rect& clip) {
    const qd::ClipState saved = qd::GetClipState();
    qd::ClipRect(clip);
    qd::MoveTo(h, v);
    qd::DrawString(s);
    qd::SetClipState(saved);
}

bool layoutOpen() { return labelLayoutOpen(); }

// The kinds of the selected items; outside a layout the symbol is a barcode.
int32_t selectionKinds() { return layoutOpen() ? gLabel.curIteTyp : kBarcodeKind; }
bool holdsAny(int32_t kinds, int32_t test) { return (kinds & test) != 0; }

int32_t clampPercent(int32_t v) { return std::clamp(v, 0, 100); }

// A colour component from a percentage of ink (more ink, less light).
uint16_t lightOf(int32_t ink) {
    constexpr double kPerPercent = 655.355;
    const int32_t light = 100 - std::min(100, ink);
    return static_cast<uint16_t>(std::clamp(light * kPerPercent, 0.0, 65535.0));
}

// The 3-D button painter: a raised box with its caption centred; a pop-up
// button also shows a small arrow at the bottom right.
void draw3dButton(const unsigned char* title, const qd::Rect& r, int32_t state) {
    setGrey();
    qd::EraseRect(r);
    qd::ForeColor(qd::blackColor);
    qd::FrameRect(r);
    ThreeD(r, 0);
    qd::FontInfo info;
    qd::GetFontInfo(&info);
    const int32_t baseline = r.top + (r.height() + info.ascent - info.descent) / 2;
    const qd::ClipState saved = qd::GetClipState();
    qd::ClipRect({r.top + 1, r.left + 1, r.bottom - 1, r.right - 1});
    qd::MoveTo(r.left + (r.width() - qd::StringWidth(title)) / 2, baseline);
    qd::DrawString(title);
    qd::SetClipState(saved);
    if (state == kPopUpMark) {
        for (int32_t row = 0; row < 3; ++row) {
            qd::MoveTo(r.right - 8 + row, r.bottom - 6 + row);
            qd::LineTo(r.right - 4 - row, r.bottom - 6 + row);
        }
    }
}

void button(const qd::Rect& r) { Build3dButton(r, kPopUpMark, kButtonCaptions, kButtonCaption); }

// The colour of palette cell n, walking the colour cube from white.
qd::RGBColor paletteColour(int32_t n) {
    constexpr int32_t kStep = 0x3333, kFull = 0xFFFF;
    int32_t red = kFull, green = kFull, blue = kFull;
    for (int32_t i = 0; i < n; ++i) {
        if (blue > 0) {
            blue -= kStep;
        } else if (red != 0 || green != 0) {
            blue = kFull;
            if (green > 0) {
                green -= kStep;
            } else {
                red -= kStep;
                green = kFull;
            }
        }
    }
    return {static_cast<uint16_t>(red), static_cast<uint16_t>(green), static_cast<uint16_t>(blue)};
}

}  // namespace

// ---- Names --------------------------------------------------------------------------

const char* outputFormatName(int32_t tool, int32_t ill, int32_t purePost) {
    switch (tool) {
        case 0:
            return kPictName;
        case 1:
            return ill != 0 ? kTextUName : kTextName;
        case 2:
        case 3:
            if (purePost == 2) return kJobPostScript;
            if (purePost == 1) return kPlainPostScript;
            for (const FormatName& f : kVectorDialects)
                if (f.ill == ill) return f.name;
            return kVectorOther;
        case 4:
            return kTiffName;
        case 5:
        case 6:
            return kBmpName;
        case 7:
            return kTextFileName;
        case 8:
            return kPdfName;
        default:
            return "";
    }
}

const char* importModeName(int32_t impoMode) {
    for (const ModeName& m : kImportModes)
        if (m.mode == impoMode) return m.name;
    return kImportModeOther;
}

const char* justificationName(int32_t teJust) {
    for (const ModeName& m : kJustifications)
        if (m.mode == teJust) return m.name;
    return kJustificationOther;
}

// ---- Pane 0 -----------------------------------------------------------------------------

void DrawWindowHeader() {
    setPaneFont();
    ground(rectLTRB(0, 0, 138, 240));

    const qd::Rect heightUnit = rectLTRB(99, 162, 130, 179);
    unitBox(heightUnit, true);
    const int32_t hUnit = (gSym.hMode & (kBit1 | kBit2)) == 0 ? kUnitMm
                          : (gSym.hMode & kBit1)              ? kUnitPercent
                                                              : kUnitInch;
    label(hUnit, 106, 173);

    label(39, 106, 196);
    if (gSym.code == 4)
        label(40, 48, 85);
    else if (gSym.code == 6)
        label(41, 58, 85);
    else
        label(42, 53, 85);
    label(43, 46, 38);
    label(44, 77, 123);

    const qd::Rect codeBox = rectLTRB(3, 2, 134, 21);
    Draw3dMenuPop(codeBox, 0);
    DrawSICN(gSym.Hei != 0 ? kOwnHeightIcon : kAutoHeightIcon, 0, {21, 10});
    // The code type's name, yellow on a black rounded box.
    const qd::Rect nameBox = rectLTRB(30, 4, 111, 19);
    qd::ForeColor(qd::blackColor);
    qd::PaintRoundRect(nameBox, 4, 4);
    const size_t nameLength = strnlen(gSym.TeF, sizeof gSym.TeF);
    const int32_t nameWidth = qd::TextWidth(gSym.TeF, 0, static_cast<int32_t>(nameLength));
    const int32_t start = codeBox.left + 28 + std::max(3, (131 - nameWidth - 51) / 2);
    const qd::ClipState saved = qd::GetClipState();
    qd::ClipRect(nameBox);
    qd::ForeColor(qd::yellowColor);
    qd::MoveTo(start, 15);
    qd::DrawText(gSym.TeF, 0, static_cast<int32_t>(nameLength));
    qd::ForeColor(qd::blackColor);
    qd::SetClipState(saved);

    mark(113, 114, gOut.showDia == 0);

    ThreeD(rectLTRB(2, 142, 53, 158), 0);
    label((gSym.lMode & kBit2) ? 45 : 46, 7, 153);
    unitBox(rectLTRB(99, 142, 130, 158), false);
    if (gSym.spec & kBit2)
        label(kUnitInch, 107, 153);
    else if (!(gSym.lMode & kBit1))
        label(kUnitPercent, 110, 153);
    else
        label(kUnitMm, 107, 153);

    ThreeD(rectLTRB(2, 163, 53, 179), 0);
    if (gSym.lMode & kBit4)
        label(47, 7, 174);
    else
        label(48, 5, 174);

    Draw3dMenuPop(rectLTRB(2, 184, 53, 202), 0);
    label(49, 9, 196);

    unsigned char name[256];
    Draw3dPopupMenu(rectLTRB(3, 111, 72, 130),
                    platform::toPascal(outputFormatName(gOut.tool, gOut.ill, gOut.purePost), name));
}

void DrawBgFont() {
    setPaneFont();
    ground(rectLTRB(1, 0, 140, 240));
    openBox(rectLTRB(2, 139, 134, 203));
    openBox(rectLTRB(3, 31, 135, 130));
    doubleRule(2, 135, 23);
    doubleRule(2, 135, 132);
    doubleRule(2, 135, 205);

    label(80, 19, 156);
    label(81, 29, 175);
    label(82, 91, 175);
    label(83, 60, 175);
    label(84, 118, 175);
    label(36, 18, 45);
    button(rectLTRB(97, 144, 125, 161));

    mark(9, 165, gSym.TEface & kBit1);
    mark(71, 165, gSym.TEface & kBit2);
    mark(38, 165, gSym.TEface & kBit8);
    mark(97, 165, gSym.TEface & kBit128);
    orientationBoxes(35, gSym.orient);

    const qd::Rect justBox = rectLTRB(8, 183, 128, 200);
    Draw3dMenuPop(justBox, 0);
    const char* just = justificationName(gSym.TEjust);
    constexpr int32_t kJustWidth = 100;
    text(just, justBox.left + (kJustWidth - widthOf(just)) / 2, 196);

    const qd::Rect fontBox = rectLTRB(3, 2, 134, 21);
    Draw3dMenuPop(fontBox, 0);
    constexpr int32_t kFontNameWidth = 112;
    clippedString(gSym.fontBelow,
                  fontBox.left + (kFontNameWidth - qd::StringWidth(gSym.fontBelow)) / 2, 15,
                  rectLTRB(5, 4, 115, 19));

    DrawItemNameBox();
}

void DrawItemNameBox() {
    setPaneFont();
    if (gLabel.gItName.empty()) {
        gLabel.gItName = kDefaultItemName;
        setItemDataSelItems(2);
    }
    label(91, 10, 228);
    const qd::Rect box = rectLTRB(60, 215, 134, 235);
    Draw3dMenuPop(box, 0);
    unsigned char name[256];
    platform::toPascal(gLabel.gItName.c_str(), name);
    clippedString(name, (172 - qd::StringWidth(name)) / 2 + 3, 228,
                  {box.top + 2, box.left + 2, box.bottom - 2, box.right - 2});
}

// ---- Panes 1, 2 and 5 -------------------------------------------------------------------

void DrawBg1() {
    setPaneFont();
    label(65, 15, 100);
    label(66, 18, 79);
    if (!layoutOpen()) label(67, 22, 138);
    label(68, 13, 39);
    label(69, 25, 120);
    label(70, 16, 158);
    label(71, 11, 59);
    label(72, 11, 19);
    label(73, 11, 180);
    label(74, 101, 180);
    if (!layoutOpen()) mark(100, 128, gOut.showDia == 0);
    Draw3dMenuPop(rectLTRB(44, 147, 127, 164), gSym.anumer == 1);
    unsigned char alphabet[256];
    platform::toPascal(gPanels.TEBack1[4].text.c_str(), alphabet);
    Draw3dString(rectLTRB(44, 147, 127, 166), alphabet);
}

void DrawBg2() {
    setPaneFont();
    if (!layoutOpen()) label(67, 21, 56);
    label(85, 19, 16);
    label(86, 12, 118);
    label(79, 25, 158);
    label(87, 22, 36);
    label(88, 23, 138);
    label(89, 20, 177);
    label(90, 20, 196);
    Draw3dMenuPop(rectLTRB(11, 62, 126, 82), 0);
    text(gLabel.sepImp == 1 ? kSeparateReadable : kSameFileReadable, 19, 75);
    if (!layoutOpen()) mark(105, 46, gOut.showDia == 0);
    Draw3dMenuPop(rectLTRB(59, 3, 127, 20), 0);
    text(importModeName(gLabel.impoMode), 67, 15);
}

void DrawBg5() {
    setPaneFont();
    label(75, 25, 36);
    label(76, 31, 16);
    label(77, 18, 143);
    label(78, 14, 186);
    label(79, 25, 120);
}

// ---- Options ------------------------------------------------------------------------------

void DrawBg3() {
    setPaneFont();
    const int32_t kinds = selectionKinds();
    if (holdsAny(kinds, kBarcodeOrShape)) {
        ground(rectLTRB(0, 0, 136, 262));
        openBox(rectLTRB(4, 7, 131, 88));
        openBox(rectLTRB(4, 105, 130, 192));
        label(22, 28, 58);
        label(23, 50, 109);
        label(24, 16, 128);
        button(rectLTRB(85, 115, 112, 132));
        mark(29, 100, gSym.line != 0);
        mark(10, 49, gSym.transpar_ent != 0);
    }
    if (kinds != kBarcodeKind) return;
    label(25, 28, 30);
    label(26, 28, 44);
    label(27, 91, 46);
    label(28, 9, 73);
    label(29, 88, 73);
    label(30, 31, 145);
    label(97, 88, 145);
    label(31, 31, 162);
    label(32, 31, 179);
    label(33, 19, 214);
    label(34, 99, 213);
    label(35, 17, 229);
    mark(10, 21, gSym.Hgauge != 0);
    mark(10, 35, gSym.non_light != 0);
    mark(73, 36, gSym.cutMarks != 0);
    mark(11, 136, gSym.para == 1 && gSym.end_bars == 0);
    mark(71, 136, gSym.para == 1 && gSym.end_bars == 1);
    mark(11, 153, gSym.para == 0 && gSym.end_bars == 1);
    mark(11, 170, gSym.AboveHu != 0);
    const LetterBox gauge[] = {{84, 22, 'T', 1}, {99, 22, 'M', 0}, {114, 22, 'B', 2}};
    letterBoxes(gauge, gSym.HgaugeJ);
    if (layoutOpen()) {
        label(36, 18, 11);
        orientationBoxes(2, gSym.orient);
    }
}

void DrawBgCustomText() {
    setPaneFont();
    ground(rectLTRB(0, 0, 140, 262));
    const int32_t kinds = selectionKinds();
    if (!holdsAny(kinds, kBarcodeOrText)) return;
    const bool barcode = kinds == kBarcodeKind;
    openBox(rectLTRB(4, 7, 131, 255));
    if (barcode) {
        label(7, 84, 166);
        label(8, 28, 166);
        label(9, 28, 150);
        label(10, 39, 10);
    }
    label(12, 44, 27);
    label(13, 22, 69);
    label(14, 29, 89);
    mark(9, 79, gSym.TEface & kBit1);
    if (layoutOpen()) {
        label(15, 29, 109);
        label(16, 83, 89);
        label(17, 83, 109);
        mark(9, 99, gSym.TEface & kBit2);
        mark(62, 79, gSym.TEface & kBit8);
        mark(62, 99, gSym.TEface & kBit128);
    }
    button(rectLTRB(92, 57, 120, 74));
    Draw3dPopupMenu(rectLTRB(10, 32, 124, 52), gSym.fontBelow);
    unsigned char just[256];
    Draw3dPopupMenu(rectLTRB(10, 116, 124, 136),
                    platform::toPascal(justificationName(gSym.TEjust), just));
    if (!barcode) return;
    label(18, 28, 184);
    mark(10, 174, gSym.attTop != 0);
    mark(20, 1, gSym.human == 1);
    mark(10, 140, gSym.strip_extra == 1);
    mark(10, 235, gSym.strip_extra == 2);
    mark(14, 17, gSym.customTeSize != 0);
    mark(10, 156, gSym.flushBars == 0);
    mark(65, 156, gSym.textAsFont == 0);
    label(19, 10, 225);
    text(gSym.gBaseAdjust < 0 ? "-" : "+", 91, 225);
    button(rectLTRB(98, 213, 125, 230));
    label(20, 28, 245);
    label(34, 107, 245);
}

void DrawBgDimensions() {
    setPaneFont();
    ground(rectLTRB(0, 0, 139, 262));
    if (!layoutOpen()) return;
    openBox(rectLTRB(4, 95, 130, 238));
    qd::ForeColor(qd::blackColor);
    qd::MoveTo(10, 206);
    qd::LineTo(122, 206);
    label(1, 29, 150);
    label(2, 39, 107);
    label(3, 26, 175);
    label(4, 30, 128);
    label(5, 26, 196);
    label(6, 43, 226);
    mark(20, 216, gDriver.gridOn == 1);
}

// ---- Colours ------------------------------------------------------------------------------

void DrawBg4() {
    setPaneFont();
    ground(rectLTRB(0, 0, 140, 262));
    const int32_t kinds = selectionKinds();
    const bool nothing = kinds == 0;
    const bool colour2 = gPanels.colTab == 1;
    const bool colourItems = holdsAny(kinds, kBarcodeTextOrShape) || (nothing && colour2);
    if (colourItems) {
        openBox(rectLTRB(3, 31, 135, 133));
        label(50, 31, 67);
        label(51, 27, 105);
        label(52, 15, 124);
        label(53, 24, 86);
        for (int32_t v : {67, 86, 105, 125}) label(kUnitPercent, 120, v);
        if (!colour2 && gSym.customColour == 1) {
            constexpr int32_t kSpotWidth = 136;
            qd::MoveTo((kSpotWidth - qd::StringWidth(gSym.customCol)) / 2, 47);
            qd::DrawString(gSym.customCol);
        } else {
            label(54, 56, 47);
        }
        Draw3dMenuPop(rectLTRB(3, 2, 134, 21), 0);
        label(55, 26, 15);
        if (nothing) {
            const LabelItem* first = gLabel.labelParts[0].get();
            const bool backPicture =
                labelBack.lastItem >= 0 && first && first->i16(item::kind) == kKindBackground;
            mark(10, 142, backPicture);
            label(58, 32, 152);
            int32_t c = 0, m = 0, y = 0, k = 0;
            convertToCMYK(&c, &y, &m, &k, static_cast<int32_t>(labelBack.backRed & 0xFFFF),
                          static_cast<int32_t>(labelBack.backGreen & 0xFFFF),
                          static_cast<int32_t>(labelBack.backBlue & 0xFFFF));
            ShowColourBlock(kColourBlock, c, m, y, k, 0);
        } else if (!colour2) {
            label(56, 58, 179);
            mark(30, 169, gSym.overPrint != 0);
            label(57, 30, 152);
            button(rectLTRB(83, 140, 112, 157));
            mark(10, 142, gSym.line != 0);
            ShowColourBlock(kColourBlock, gSym.cyan2, gSym.magenta2, gSym.yellow2, gSym.black2, 1);
        } else {
            label(22, 28, 152);
            mark(10, 142, gSym.transpar_ent != 0);
            ShowColourBlock(kColourBlock, gSym.cyan22, gSym.magenta22, gSym.yellow22, gSym.black22,
                            0);
        }
    }
    if (kinds != kBarcodeKind && colourItems) DrawColourPallette(kPaletteRect);

    if (kinds == kBarcodeKind && !colour2) {
        // Scanning advice: bars need enough black or cyan.
        constexpr int32_t kEnough = 60;
        const int32_t c = gSym.cyan2, k = gSym.black2;
        setPaneFont(qd::bold);
        if (c < kEnough && k < kEnough) qd::ForeColor(qd::redColor);
        label(59, 30, 198);
        qd::ForeColor(qd::blackColor);
        label((c < k && k >= kEnough) ? 60 : (c < kEnough ? 61 : 60), 22, 218);
        label((k < c && c >= kEnough) ? 62 : (k < kEnough ? 63 : 62), 24, 232);
        label(64, 16, 249);
        setPaneFont();
    }
}

void ShowColourBlock(const qd::Rect& rect, int32_t c, int32_t m, int32_t y, int32_t k,
                     int32_t mode) {
    const qd::RGBColor colour{lightOf(clampPercent(c) + clampPercent(k)),
                              lightOf(clampPercent(m) + clampPercent(k)),
                              lightOf(clampPercent(y) + clampPercent(k))};
    ThreeD(rect, 1);
    qd::ForeColor(qd::blackColor);
    qd::FrameRect(rect);
    const qd::Rect inner{rect.top + 2, rect.left + 2, rect.bottom - 2, rect.right - 2};
    qd::RGBForeColor(colour);
    if (mode == 1) {
        setWhite();
        qd::EraseRect(inner);
        setGrey();
        const qd::ClipState saved = qd::GetClipState();
        qd::ClipRect(inner);
        qd::PenSize(3, 3);
        qd::MoveTo(inner.left, inner.top);
        qd::LineTo(inner.right - 3, inner.bottom - 3);
        qd::PenNormal();
        qd::SetClipState(saved);
    } else {
        qd::PaintRect(inner);
    }
    qd::ForeColor(qd::blackColor);
}

void DrawColourPallette(const qd::Rect& rect) {
    const int32_t cellW = rect.width() / kPaletteCells, cellH = rect.height() / kPaletteCells;
    int32_t n = 0;
    for (int32_t col = 0; col < kPaletteCells; ++col)
        for (int32_t row = 0; row < kPaletteCells; ++row, ++n) {
            qd::RGBForeColor(paletteColour(n));
            qd::PaintRect({rect.top + row * cellH, rect.left + col * cellW,
                           rect.top + (row + 1) * cellH, rect.left + (col + 1) * cellW});
        }
    qd::ForeColor(qd::blackColor);
}

void GetColourFromPallette(qd::RGBColor* out, const qd::Rect& rect, qd::Point point) {
    if (!out) return;
    const int32_t cellW = rect.width() / kPaletteCells, cellH = rect.height() / kPaletteCells;
    // The last pixels right of and below the grid belong to its last column and
    // row, so every point of the rectangle names a cell of the grid.
    const auto cellOf = [](int32_t offset, int32_t size) {
        return size > 0 ? std::clamp(offset / size, 0, kPaletteCells - 1) : 0;
    };
    const int32_t col = cellOf(point.h - rect.left, cellW);
    const int32_t row = cellOf(point.v - rect.top, cellH);
    *out = paletteColour(col * kPaletteCells + row);
}

void Build3dButton(const qd::Rect& rect, int32_t flag, int32_t list, int32_t index) {
    unsigned char title[256];
    platform::StringResourceGetString(title, list, index);
    draw3dButton(title, rect, flag);
}
