// Where things are in the main window: every text field, pop-up box and mark,
// in window-local pixels. Rectangles are written left, top, right, bottom as
// the layout sheet gives them.
#pragma once

#include <cstdint>

#include "platform/quickdraw/quickdraw.h"
#include "platform/textedit.h"

namespace mainlayout {

constexpr qd::Rect ltrb(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    return {top, left, bottom, right};
}

// The text fields, by the group they belong to and their index in it.
enum class Group : uint8_t {
    Out2,
    Type,
    H,
    X,
    Size,
    Height,
    BWR,
    Back1,
    Back2,
    Back3,
    Cyan,
    Mage,
    Yell,
    Blac,
    Line,
    Te1,
    Back5
};

struct FieldPlace {
    Group group;
    int8_t index;
    qd::Rect rect;
    const char* initial;
    int16_t just = platform::teCenter;
};

inline constexpr FieldPlace kFields[] = {
    {Group::Out2, 0, ltrb(-100, -100, 0, 0), ""},
    {Group::Type, 0, ltrb(21, -116, 115, -116), ""},
    {Group::H, 0, ltrb(8, 42, 129, 72), ""},
    {Group::X, 0, ltrb(40, 88, 96, 101), ""},
    {Group::Size, 0, ltrb(56, 143, 95, 157), ""},
    {Group::Height, 0, ltrb(56, 164, 95, 178), ""},
    {Group::BWR, 0, ltrb(56, 185, 95, 199), ""},
    {Group::Back1, 6, ltrb(45, 10, 126, 24), ""},
    {Group::Back1, 0, ltrb(45, 29, 126, 43), ""},
    {Group::Back1, 7, ltrb(45, 48, 126, 62), ""},
    {Group::Back1, 1, ltrb(45, 69, 126, 83), ""},
    {Group::Back1, 2, ltrb(45, 90, 126, 104), ""},
    {Group::Back1, 3, ltrb(100, 112, 126, 124), ""},
    {Group::Back1, 5, ltrb(100, 128, 126, 143), ""},
    {Group::Back1, 8, ltrb(45, 168, 90, 183), ""},
    {Group::Back1, 4, ltrb(46, 149, 105, 164), "Numeric"},
    {Group::Back2, 0, ltrb(61, 5, 106, 19), "TEXT"},
    {Group::Back2, 1, ltrb(74, 26, 126, 40), ""},
    {Group::Back2, 9, ltrb(105, 46, 120, 60), "X"},
    {Group::Back2, 2, ltrb(100, 66, 126, 80), "\t"},
    {Group::Back2, 3, ltrb(100, 86, 126, 100), "\r"},
    {Group::Back2, 4, ltrb(50, 86, 126, 120), "<<1>>"},
    {Group::Back2, 5, ltrb(100, 126, 126, 140), "1"},
    {Group::Back2, 6, ltrb(100, 146, 126, 160), ""},
    {Group::Back2, 7, ltrb(100, 166, 126, 180), "0"},
    {Group::Back2, 8, ltrb(100, 186, 126, 200), "1"},
    {Group::Back3, 2, ltrb(52, 64, 84, 77), "0"},
    {Group::Back3, 1, ltrb(52, 116, 84, 131), ""},
    {Group::Back3, 13, ltrb(52, 204, 84, 218), "0"},
    {Group::Back3, 14, ltrb(87, 220, 119, 234), "0"},
    {Group::Back3, 0, ltrb(55, 58, 85, 72), ""},
    {Group::Back3, 3, ltrb(55, 214, 85, 229), ""},
    {Group::Back3, 5, ltrb(55, 235, 95, 249), ""},
    {Group::Back3, 9, ltrb(74, 118, 110, 133), ""},
    {Group::Back3, 10, ltrb(74, 139, 110, 154), ""},
    {Group::Back3, 11, ltrb(74, 165, 110, 179), ""},
    {Group::Back3, 12, ltrb(74, 186, 110, 200), ""},
    {Group::Cyan, 0, ltrb(70, 56, 109, 70), "0"},
    {Group::Mage, 0, ltrb(70, 75, 109, 89), "0"},
    {Group::Yell, 0, ltrb(70, 94, 109, 108), "0"},
    {Group::Blac, 0, ltrb(70, 113, 109, 127), "100"},
    {Group::Line, 0, ltrb(53, 141, 81, 155), "0"},
    {Group::Te1, 0, ltrb(9, 50, 110, 121), "", platform::teFlushDefault},
    {Group::Te1, 1, ltrb(51, 145, 90, 159), ""},
    {Group::Back5, 0, ltrb(10, 150, 126, 165), ""},
    {Group::Back5, 1, ltrb(100, 175, 123, 190), ""},
};

// The OK button and the text item's scroll bar.
inline constexpr qd::Rect kOK = ltrb(5, 210, 130, 230);
inline constexpr qd::Rect kScrollBar = ltrb(111, 50, 127, 121);
inline constexpr int16_t kScrollMost = 400;

// Pop-up boxes: the hit rectangle and where the menu shows (h, v).
struct PopUp {
    int16_t menuId;
    qd::Rect box;
    int32_t h, v;
};
inline constexpr int16_t kFontMenu = -1, kOutputMenu = -2;
inline constexpr PopUp kCodeTypes{144, ltrb(24, 4, 125, 30), 5, 19};
inline constexpr PopUp kFontPane0{kFontMenu, ltrb(24, 4, 125, 30), 5, 19};
inline constexpr PopUp kFontOptions{kFontMenu, ltrb(10, 35, 124, 52), 10, 47};
inline constexpr PopUp kOutput{kOutputMenu, ltrb(3, 111, 72, 130), 5, 132};
inline constexpr PopUp kSize{251, ltrb(99, 142, 130, 158), 99, 158};
inline constexpr PopUp kHeightUnit{252, ltrb(99, 162, 130, 179), 99, 179};
inline constexpr PopUp kBarWidth{140, ltrb(2, 184, 53, 200), 2, 200};
inline constexpr PopUp kTextSizePane0{148, ltrb(97, 144, 125, 161), 97, 161};
inline constexpr PopUp kTextSizeOptions{148, ltrb(92, 57, 120, 74), 92, 74};
inline constexpr PopUp kJustPane0{135, ltrb(8, 183, 128, 198), 8, 198};
inline constexpr PopUp kJustOptions{135, ltrb(10, 116, 124, 134), 10, 134};
inline constexpr PopUp kDataFields{153, ltrb(60, 215, 134, 235), 60, 235};
inline constexpr PopUp kBaselineSign{154, ltrb(85, 214, 125, 229), 85, 229};
inline constexpr PopUp kLineOptions{147, ltrb(85, 115, 112, 132), 85, 132};
inline constexpr PopUp kLineColours{147, ltrb(83, 140, 112, 157), 93, 157};
inline constexpr PopUp kAlphabet{132, ltrb(47, 149, 106, 161), 10, 164};
inline constexpr PopUp kImportMode{137, ltrb(59, 3, 127, 20), 60, 19};
inline constexpr PopUp kImportOutput{150, ltrb(11, 62, 126, 82), 11, 82};
inline constexpr PopUp kColours{235, ltrb(7, 3, 131, 19), 9, 19};

// A mark drawn at (h, v) is hit in (h + 1, v + 1, h + 13, v + 11).
struct Mark {
    int32_t h, v;
};
constexpr qd::Rect markBox(Mark m) { return ltrb(m.h + 1, m.v + 1, m.h + 13, m.v + 11); }

// Pane 0.
inline constexpr qd::Rect kHeightIcon = ltrb(4, 4, 23, 30);
inline constexpr qd::Rect kSizeModeBox = ltrb(2, 142, 53, 158);
inline constexpr qd::Rect kHeightModeBox = ltrb(2, 163, 53, 179);
inline constexpr qd::Rect kPreviewBox = ltrb(110, 111, 127, 127);
inline constexpr Mark kTextStyles[] = {{9, 165}, {38, 165}, {71, 165}, {97, 165}};
inline constexpr int32_t kTextStyleBits[] = {1, 8, 2, 128};
inline constexpr Mark kTextOrients[] = {{59, 35}, {74, 35}, {89, 35}, {104, 35}};
inline constexpr int32_t kOrients[] = {0, 180, 270, 90};

// Pane 1.
inline constexpr qd::Rect kSerialPreviewBox = ltrb(100, 128, 126, 142);

// Pane 2.
inline constexpr qd::Rect kImportFileBox = ltrb(75, 26, 125, 39);
inline constexpr qd::Rect kImportPreviewBox = ltrb(105, 46, 120, 60);

// Pane 3, options 1 (human-readable text).
inline constexpr Mark kHuman{20, 1}, kStripExtra{10, 140}, kStripExtra2{10, 235};
inline constexpr Mark kCustomSize{14, 17}, kFlushBars{10, 156}, kTextAsFont{65, 156};
inline constexpr Mark kAttTop{10, 176};
inline constexpr Mark kOptionStyles[] = {{9, 79}, {9, 99}, {62, 79}, {62, 99}};
inline constexpr int32_t kOptionStyleBits[] = {1, 2, 8, 128};
// Pane 3, options 2 (dimensions).
inline constexpr Mark kGrid{20, 216};
// Pane 3, options 0 (bars and bearers).
inline constexpr Mark kLine{29, 100}, kTransparent{11, 49}, kPara{11, 137}, kBox{74, 137};
inline constexpr Mark kEndBars{11, 154}, kAboveHu{11, 171}, kHgauge{11, 22};
inline constexpr Mark kHgaugeJ[] = {{84, 22}, {99, 22}, {114, 22}};
inline constexpr int32_t kHgaugeJValues[] = {1, 0, 2};
inline constexpr Mark kBarOrients[] = {{59, 2}, {74, 2}, {89, 2}, {104, 2}};
inline constexpr Mark kNonLight{11, 35}, kCutMarks{74, 36};

// Pane 4.
inline constexpr Mark kOverPrint{30, 169}, kColourLine{10, 142};

}  // namespace mainlayout
