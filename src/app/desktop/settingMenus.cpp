#include "app/desktop/settingMenus.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <cstring>
#include <string>

#include "app/codeTypeMenus.h"
#include "app/colourLibraries.h"
#include "app/customTypes.h"
#include "app/defaultsFile.h"
#include "app/desktop/controlsPalette.h"
#include "app/desktop/eventLoop.h"
#include "app/desktop/preferencesWindow.h"
#include "app/preferences.h"
#include "labels/labelDoc.h"
#include "labels/labelFile.h"
#include "labels/printDefaults.h"
#include "labels/printState.h"
#include "labels/production.h"
#include "labels/runs/itemOps.h"
#include "labels/runs/printWindow.h"
#include "picture/outputstate.h"
#include "platform/questions.h"
#include "platform/toolbox/menus.h"
#include "symbology/messages.h"
#include "symbology/panels.h"
#include "symbology/state.h"
#include "vector/Epsout.h"

using namespace toolbox;

LayoutViewFlags gLayoutView;

namespace {

SettingMenuHooks gHooks;
std::vector<std::string> gCalls;

void record(const std::string& call) { gCalls.push_back(call); }

// Menu ids.
constexpr int16_t kSerialAlphabetMenu = 132, kOutputMenu = 133, kLayoutMenu = 134;
constexpr int16_t kJustMenu = 135, kImportModeMenu = 137, kThermalMenu = 138, kPortMenu = 139;
constexpr int16_t kBarWidthMenu = 140, kAlignMenu = 141, kFormatsMenu = 143, kZoomMenu = 145;
constexpr int16_t kShapeMenu = 146, kLineSizeMenu = 147, kTextSizeMenu = 148;
constexpr int16_t kImportOutputMenu = 150, kCustomMenu = 151, kMarksMenu = 152;
constexpr int16_t kFieldsMenu = 153, kBaselineMenu = 154, kScriptsMenu = 155;
constexpr int16_t kDirectionMenu = 156, kSpotMenu = 235, kOptionsMenu = 236, kColoursMenu = 237;
constexpr int16_t kSizeMenu = 251, kHeightUnitMenu = 252;

constexpr double kInchesPerMm = 0.03937007874015748;
constexpr uint16_t kMsgNoLayout = 2;

// Main-window places (window-local), from the window's layout.
constexpr qd::Rect kSizeField{143, 56, 157, 95};
constexpr qd::Rect kHeightField{164, 56, 178, 95};
constexpr qd::Rect kBarWidthField{185, 56, 199, 95};
constexpr qd::Rect kOutputBox{110, 10, 127, 70};
constexpr qd::Rect kColourPane{0, 0, 282, 136};
constexpr qd::Rect kColourSwatch{140, 115, 156, 131};
constexpr qd::Rect kColourHeader{22, 5, 47, 130};
constexpr qd::Point kLineMark{142, 10}, kBearerMark{100, 29}, kTextSizeMark{17, 14};
constexpr int32_t kColourPaneNumber = 4, kOptionsPaneNumber = 3, kCodePaneNumber = 0;
// Print-window places.
constexpr qd::Rect kCutMarksBox{204, 315, 222, 430};
constexpr qd::Rect kDirectionBox{188, 375, 206, 430};

void invalMain(const qd::Rect& r) {
    if (gWindows.wp) InvalWindowRect(gWindows.wp, r);
}
void redrawMain() {
    if (gWindows.wp) InvalWindowRect(gWindows.wp, gWindows.wp->portRect);
}
void invalPreview() {
    if (gWindows.disp2) InvalWindowRect(gWindows.disp2, gWindows.disp2->portRect);
}
// A check mark's box (drawn at h, v).
void invalMark(qd::Point at) {
    constexpr int32_t kMarkWidth = 13, kMarkHeight = 11;
    invalMain({at.v + 1, at.h + 1, at.v + kMarkHeight, at.h + kMarkWidth});
}
bool layoutOpen() { return labelBack.labelWidth != 0; }
bool noLayout() { return labelBack.labelWidth == 0 && labelBack.labelHeight == 0; }

// Code types and the Custom menu close the preview of a single symbol: the
// next one is made afresh.
void closeSinglePreview() {
    if (!noLayout() || !gWindows.disp2) return;
    if (gWindows.activeWindow == gWindows.disp2) gWindows.activeWindow = gWindows.wp;
    DisposeWindow(gWindows.disp2);
    gWindows.disp2 = nullptr;
}

std::string fixed2(double v) {
    char s[64];
    std::snprintf(s, sizeof s, "%0.2f", v);
    return s;
}
std::string whole(long v) { return std::to_string(v); }

void setMainField(const std::string& field, const std::string& text) {
    if (gHooks.setMainField)
        gHooks.setMainField(field, text);
    else
        record("setMainField " + field + " " + text);
}
void WorkOutHeight(int32_t quiet) {
    if (gHooks.WorkOutHeight)
        gHooks.WorkOutHeight(quiet);
    else
        record("WorkOutHeight " + whole(quiet));
}

void markItem(int16_t menuId, int16_t item, bool on) {
    if (MenuHandle m = GetMenuHandle(menuId)) CheckMenuItem(m, item, on);
}

// ---- Import, print window, fields, baseline --------------------------------------

void doImportOutputMenu(int16_t item) {
    gLabel.sepImp = item == 1 ? 0 : 1;
    setItemDataSelItems(0);
}

void doBaselineMenu(int16_t item) {
    if (item == 1 && gSym.gBaseAdjust < 0) gSym.gBaseAdjust = -gSym.gBaseAdjust;
    if (item == 2 && gSym.gBaseAdjust > 0) gSym.gBaseAdjust = -gSym.gBaseAdjust;
}

// ---- Height unit and size ----------------------------------------------------------

void doHeightUnitMenu(int16_t item) {
    constexpr int32_t kPercent = 1, kMm = 0, kInches = 2;
    constexpr double kWholeHeight = 100;
    if (item == 1) {
        gSym.hMode = kPercent;
        gSym.Hei = kWholeHeight;
        WorkOutHeight(0);
    } else if (item == 2 || item == 3) {
        gSym.hMode = item == 2 ? kMm : kInches;
        platform::SetWindowText(&gPanels.TEHeight,
                                fixed2(item == 2 ? gSym.Hei : gSym.Hei * kInchesPerMm).c_str());
        invalMain(kHeightField);
        redrawMain();
    }
    setItemDataSelItems(0);
}

constexpr double kSizePresets[] = {82, 90, 100, 110, 120, 135, 150, 165, 185, 200};
constexpr int16_t kFirstSizePreset = 5;

void doSizeMenu(int16_t item) {
    constexpr int32_t kLengthBit = 1, kLengthInInches = 2;
    std::string shown = fixed2(gSym.Siz);
    if (item == 1 || item == 2 || item == 3) {
        if (item == 1) gSym.lMode &= ~kLengthBit;
        if (item == 2) gSym.lMode |= kLengthBit;
        gSym.spec = item == 3 ? kLengthInInches : 0;
        gSym.Hei = gSym.cuHei;
        if (item == 1) {
            shown = fixed2(gSym.Siz);
            WorkOutHeight(0);
        } else if (item == 2) {
            shown = whole(gSym.cLength);
        } else {
            shown = fixed2(gSym.cLength * kInchesPerMm);
        }
    } else if (item >= kFirstSizePreset &&
               item < kFirstSizePreset + int16_t(std::size(kSizePresets))) {
        gSym.lMode &= ~kLengthBit;
        gSym.Siz = kSizePresets[item - kFirstSizePreset];
        shown = fixed2(gSym.Siz);
        WorkOutHeight(0);
    }
    platform::SetWindowText(&gPanels.TESize, shown.c_str());
    invalMain(kSizeField);
    redrawMain();
    setItemDataSelItems(0);
}

// ---- Bar-width reduction -----------------------------------------------------------

constexpr int32_t kBarWidthPresets[] = {40, 50, 80, 20, 60};  // items 4 to 8, micrometres
constexpr int16_t kFirstBarWidthPreset = 4;
constexpr int32_t kMostWidthStep = 5, kMostWidthStepFine = 3;
constexpr int32_t kFineBarCodes[] = {0, 1, 2, 3, 5, 7, 8, 10, 11, 13, 15};
constexpr int32_t kOutVectorTool = 2, kOutPictureTool = 3;

// The bar font's width step from the reduction and the size: one step per half
// percent of size. A size under 2 % has no whole half and takes no step.
int32_t widthStep() {
    if ((gOut.tool == kOutVectorTool || gOut.tool == kOutPictureTool) && gEps.non_drawn != 1)
        return 0;
    const auto perStep = int32_t(gSym.Siz * 0.5);
    int32_t bw = perStep > 0 ? gSym.BWidthRed / perStep : 0;
    bool fine = false;
    for (int32_t c : kFineBarCodes) fine = fine || c == gSym.code;
    bw = std::min(bw, fine ? kMostWidthStepFine : kMostWidthStep);
    return std::max(bw, 0);
}

void doBarWidthMenu(int16_t item) {
    if (item == 1 && gSym.BWidthRed > 0) gSym.BWidthRed = -gSym.BWidthRed;
    if (item == 2 && gSym.BWidthRed < 0) gSym.BWidthRed = -gSym.BWidthRed;
    if (item >= kFirstBarWidthPreset &&
        item < kFirstBarWidthPreset + int16_t(std::size(kBarWidthPresets)))
        gSym.BWidthRed = kBarWidthPresets[item - kFirstBarWidthPreset];
    if (item != 3) platform::SetWindowText(&gPanels.TEBWR, whole(gSym.BWidthRed).c_str());
    gSym.BW = widthStep();
    setItemDataSelItems(0);
    invalMain(kBarWidthField);
}

// ---- Small menus -------------------------------------------------------------------

void doZoomMenu(int16_t item) {
    constexpr int32_t kStep = 50, kLastSmall = 7;
    const int32_t zoom = item <= kLastSmall ? item * kStep : item * 100 - 400;
    labelDesc.zoom = int16_t(zoom);
}

constexpr const char* kAlphabetNames[] = {"Numeric", "AlphaNumeric", "Hexadecimal"};
void doAlphabetMenu(int16_t item) {
    if (item < 1 || item > 3) return;
    gLabel.alpha = item - 1;
    gPanels.TEBack1[4].text = kAlphabetNames[item - 1];
}

void doThermalMenu(int16_t item) {
    constexpr int16_t kDirectModel = 4, kTransferModel = 5;
    gThermal.thermalIte = item;
    if (item == kTransferModel) {
        gThermal.thermalIte = kDirectModel;
        gThermal.DThermal = 0;
    } else if (item == kDirectModel) {
        gThermal.DThermal = 1;
    }
}

void doImportModeMenu(int16_t item) {
    constexpr int16_t kModes = 5;
    if (item >= 1 && item <= kModes) gLabel.impoMode = item - 1;
    setItemDataSelItems(0);
}

// A new custom type takes its place in the Custom menu, which stays sorted.
void saveCustomType() {
    if (!SaveCustomCode()) return;
    BuildCustMenu();
    fillCustomMenu();
}

// ---- Layout commands ---------------------------------------------------------------

struct ViewToggle {
    int32_t LayoutViewFlags::*flag;
    const char* hide;
    const char* show;
};
constexpr ViewToggle kViewToggles[] = {
    {&LayoutViewFlags::showTypes, "Hide Item Types", "Show Item Types"},
    {&LayoutViewFlags::iteNumbers, "Hide Item Numbers", "Show Item Numbers"},
    {&LayoutViewFlags::showSpecs, "Hide Item Size", "Show Item Size"},
};
constexpr int16_t kFirstViewToggle = 4;

void setItemText(int16_t menuId, int16_t item, const std::string& text) {
    MenuHandle m = GetMenuHandle(menuId);
    if (!m) return;
    unsigned char p[256];
    p[0] = uint8_t(std::min<size_t>(text.size(), 255));
    std::memcpy(p + 1, text.data(), p[0]);
    SetMenuItemText(m, item, p);
}

void doLayoutMenu(int16_t item) {
    constexpr int16_t kBack = 1, kFront = 2, kPreferences = 8, kSaveCustom = 9;
    if (item == kBack) doCmdKeyDisp('B');
    if (item == kFront) doCmdKeyDisp('F');
    if (item >= kFirstViewToggle && item < kFirstViewToggle + 3) {
        const ViewToggle& t = kViewToggles[item - kFirstViewToggle];
        int32_t& flag = gLayoutView.*t.flag;
        flag = flag ? 0 : 1;
        setItemText(kLayoutMenu, item, flag ? t.hide : t.show);
        invalPreview();
    }
    if (item == kPreferences) {
        if (gHooks.SetPreferences)
            gHooks.SetPreferences();
        else
            record("SetPreferences");
    }
    if (item == kSaveCustom) saveCustomType();
}

// ---- Options -----------------------------------------------------------------------

constexpr int32_t kAskedFolderMode = 3, kFolderDialogMode = 2;
constexpr const char* kFolderPrompt = "What Folder do you want?";

void toggle(int32_t& v) { v = v ? 0 : 1; }

void doOptionsMenu(int16_t item) {
    switch (item) {
        case 1:
            gOut.fileDia = gOut.fileDia ? 0 : 1;
            break;
        case 2:
            SetAsDefault(defaultsFilePath().c_str(), kDefaultEntryName, 0);
            break;
        case 3:
            toggle(gOut.appID);
            break;
        case 4:
            gOut.fileDia = gOut.fileDia ? 0 : kFolderDialogMode;
            break;
        case 5:
            if (gOut.fileDia != 0) {
                gOut.fileDia = 0;
            } else {
                char folder[sizeof gOut.globFolS] = {};
                platform::LibAnswerS(kFolderPrompt, folder, int(sizeof folder));
                // A cancel (an empty answer) keeps the naming as it was.
                if (folder[0] != 0) {
                    copyBounded(gOut.globFolS, folder);
                    gOut.fileDia = kAskedFolderMode;
                }
            }
            break;
        case 6:
            toggle(gOut.fileTyp);
            break;
        case 8:
            saveCustomType();
            break;
        case 10:
            toggle(gOut.features);
            break;
        case 12:
            gPrefs.barco ^= 1;
            break;
        case 13:
            gPrefs.barco ^= 2;
            break;
        case 15:
            toggle(gPrefs.hideIF);
            break;
        case 16:
            toggle(gPrint.printScreen);
            break;
        case 17:
            toggle(gPrint.printForever);
            break;
        case 18:
            toggle(gPrintWin.startLabels);
            break;
        default:
            break;
    }
    setOptionMarks();
}

// ---- Colours -----------------------------------------------------------------------

void doColoursMenu(int16_t item) {
    constexpr int16_t kColourPaneItem = 5, kInks = 4;
    int32_t* inks[kInks] = {&gSym.black2, &gSym.cyan2, &gSym.magenta2, &gSym.yellow2};
    platform::TERec* fields[kInks] = {&gPanels.TEBlac, &gPanels.TECyan, &gPanels.TEMage,
                                      &gPanels.TEYell};
    constexpr int32_t kFull = 100;
    if (item >= 1 && item <= kInks) {
        *inks[item - 1] = kFull;
        fields[item - 1]->text = whole(kFull);
        setItemDataSelItems(0);
        invalPreview();
    } else if (item == kColourPaneItem) {
        gProd.background = kColourPaneNumber;
        if (gHooks.showColourPane)
            gHooks.showColourPane();
        else
            record("showColourPane");
    }
    if (gProd.background == kColourPaneNumber) invalMain(kColourPane);
}

// ---- Output format -----------------------------------------------------------------

struct OutputRow {
    int32_t tool, ill, purePost, outToFile, orient;
};
constexpr int32_t K = -1;                     // kept as it is
constexpr int32_t B = kOutToClipboardBitmap;  // the bitmap to the clipboard, no file
constexpr OutputRow kOutputRows[] = {
    {2, 1, 0, 1, 0},    {2, 88, 0, 1, 0}, {2, 93, 0, 1, 0}, {2, 95, 0, 1, 0},   {1, 0, K, 0, 0},
    {1, 2048, K, 1, 0}, {0, K, K, 0, K},  {0, K, K, 1, K},  {1, 2048, K, 2, 0}, {4, K, K, 0, 0},
    {5, K, K, 0, 0},    {6, K, K, 0, 0},  {3, 93, 0, 1, 0}, {3, 95, 0, 1, 0},   {2, 95, 1, 1, 0},
    {2, 95, 2, 1, 0},   {5, K, K, B, 0},  {2, 2, 0, 1, 0},  {2, 25, 0, 1, 0},   {7, K, 0, 0, 0},
    {2, 1115, 0, 1, 0}, {8, 95, 0, 1, 0}, {1, 0, 0, 1, 0},
};
constexpr OutputRow kOutputBeyond{3, K, 0, 1, 0};

void doOutputMenu(int16_t item) {
    if (item < 1) return;
    const OutputRow& r =
        size_t(item) <= std::size(kOutputRows) ? kOutputRows[item - 1] : kOutputBeyond;
    auto put = [](int32_t& to, int32_t v) {
        if (v != K) to = v;
    };
    put(gOut.tool, r.tool);
    put(gOut.ill, r.ill);
    put(gOut.purePost, r.purePost);
    put(gOut.outToFile, r.outToFile);
    put(gSym.orient, r.orient);
    invalMain(kOutputBox);
}

// ---- Custom menu -------------------------------------------------------------------

void doCustomMenu(int16_t item) {
    closeSinglePreview();
    gSym.smallFirstChar = 0;
    GetCustMenuItem(item);
    // A custom type brings its own file naming switches.
    setOptionMarks();
    redrawMain();
}

void doCodeTypeMenu(int16_t item, int16_t menuId) {
    closeSinglePreview();
    if (chooseCodeType(menuId, item) == CodeChoice::coupon) {
        if (gHooks.DataBarCouponDialog)
            gHooks.DataBarCouponDialog();
        else
            record("DataBarCouponDialog");
    }
    redrawMain();
}

}  // namespace

// ---- Public handlers ---------------------------------------------------------------

void doMarksMenu(int16_t item) {
    gPrintSwitches.pCutMarks = item - 1;
    if (gWindows.PrintWin) InvalWindowRect(gWindows.PrintWin, kCutMarksBox);
}

void doDirectionMenu(int16_t item) {
    gPrintSwitches.direction = int16_t(item - 1);
    if (gWindows.PrintWin) InvalWindowRect(gWindows.PrintWin, kDirectionBox);
}

void doFieldsMenu(int16_t item) {
    constexpr int16_t kNamedFields = 8;
    constexpr const char* kFieldPrompt = "What do you want to call this field?";
    if (item <= kNamedFields) {
        if (MenuHandle m = GetMenuHandle(kFieldsMenu)) {
            unsigned char name[256] = {};
            GetMenuItemText(m, item, name);
            gLabel.gItName.assign(reinterpret_cast<const char*>(name + 1), name[0]);
        }
        DeleteMenu(kFieldsMenu);
    } else {
        char name[256] = {};
        platform::LibAnswerS(kFieldPrompt, name, int(sizeof name));
        // A cancelled question keeps the name the item had.
        if (name[0] != 0) gLabel.gItName = name;
    }
    setItemDataSelItems(2);
}

void doLineSizeMenu(int16_t item) {
    constexpr double kWidths[] = {1, 2, 3, 4, 6, 8, 14, 255};  // points
    if (item < 1 || size_t(item) > std::size(kWidths)) return;
    gSym.line = gSym.gline = kWidths[item - 1];
    const std::string shown = whole(long(gSym.line));
    setMainField("TELine", shown);
    gPanels.TEBack3[1].text = shown;
    if (gProd.background == kOptionsPaneNumber)
        invalMark(kBearerMark);
    else
        invalMark(kLineMark);
    setItemDataSelItems(12);
}

void doTextJustMenu(int16_t item) {
    constexpr int32_t kJust[] = {0, 1, -1, 128};
    if (item < 1 || size_t(item) > std::size(kJust)) return;
    gSym.TEjust = kJust[item - 1];
    setItemDataSelItems(2);
}

void doTextSizeMenu(int16_t item) {
    constexpr int32_t kSizes[] = {8, 10, 12, 14, 18, 24, 48, 72, 127};
    if (item < 1 || size_t(item) > std::size(kSizes)) return;
    gSym.customTeSize = kSizes[item - 1];
    const std::string shown = whole(gSym.customTeSize);
    gPanels.TEBack3[0].text = shown;
    setMainField("TETe1[1]", shown);
    if (gProd.background != kCodePaneNumber) invalMark(kTextSizeMark);
    setItemDataSelItems(2);
}

int16_t doTextStyleMenu(int16_t item) { return item; }

void GetEditFieldRectangle(qd::Rect* rect, const platform::TERec& field) {
    if (rect) *rect = field.viewRect;
}

// Spot colour libraries: items 1 to 8 and 10 to 11 name a library (item 11
// names one that is not shipped), item 9 a free spot colour name.
struct SpotLibrary {
    const char* name;
    const char* example;
};
constexpr SpotLibrary kSpotLibraries[] = {
    {"Pantone\xA8", "Reflex Blue"},
    {"Pantone\xA8", "Reflex Blue"},
    {"Pantone S1-", "Reflex Blue"},
    {"Focoltone\xA8 ID", "1001"},
    {"Focoltone\xA8 Swatch", "1/1 FCS 1073"},
    {"TOYO88\xA8 CF", "0001"},
    {"TOYO91\xA8 PCF", "0004"},
    {"TRUMATCH\xA8", "Reflex Blue"},
    {"Spot Colour", ""},
    {"Pantone\xA8", "Reflex Blue"},
    {"Pantone\xA8", "Reflex Blue"},
};
constexpr int16_t kFreeSpotItem = 9;
constexpr const char* kColourPrompt = "What Colour do you want?";

// A spot colour name longer than an item keeps beside its font name would be
// cut where the bars are painted, while a file's header names it whole: it is
// told, and true given.
bool spotNameTooLong(size_t length) {
    const size_t room = spotNameRoomSelItems();
    if (length <= room) return false;
    const std::string sentence = "The spot colour name is longer than " + std::to_string(room) +
                                 " bytes, all that an item keeps beside its font name.";
    MessageText(sentence.c_str());
    return true;
}

void colourMenu(int16_t item) {
    if (item < 1 || size_t(item) > std::size(kSpotLibraries)) return;
    const SpotLibrary& lib = kSpotLibraries[item - 1];
    char answer[256] = {};
    copyBounded(answer, lib.example);
    const bool given = platform::LibAnswerS(kColourPrompt, answer, int(sizeof answer), lib.name,
                                            nullptr, false, nullptr);
    if (!given || answer[0] == 0) return;  // nothing asked for changes nothing
    if (item == kFreeSpotItem) {
        if (const char* reserved = reservedSpotName(answer)) {
            // The command line's words, as a sentence of their own.
            std::string sentence = std::string(reserved) + ".";
            sentence[0] = 'T';
            MessageText(sentence.c_str());
            return;
        }
        if (spotNameTooLong(std::strlen(answer))) return;
        pstrSet(gSym.customCol, answer);
        gSym.customColour = 1;
    } else {
        int32_t c = 0, m = 0, y = 0, k = 0;
        Str255 keptName;
        std::memcpy(keptName, gSym.customCol, sizeof keptName);
        const int32_t keptSpot = gSym.customColour;
        if (SearchLibrary(item, &c, &m, &y, &k, answer) == 1) {
            if (spotNameTooLong(gSym.customCol[0])) {
                std::memcpy(gSym.customCol, keptName, sizeof keptName);
                gSym.customColour = keptSpot;
                return;
            }
            if (gLabel.curIteTyp == 0) {
                // Cyan takes red away, magenta green, yellow blue; black all three.
                auto channel = [k](int32_t ink) {
                    return uint32_t((100 - std::min(100, ink + k)) * 655.35);
                };
                labelBack.backRed = channel(c);
                labelBack.backGreen = channel(m);
                labelBack.backBlue = channel(y);
            } else if (gPanels.colTab != 0) {
                gSym.cyan22 = c, gSym.magenta22 = m, gSym.yellow22 = y, gSym.black22 = k;
            } else {
                gSym.cyan2 = c, gSym.magenta2 = m, gSym.yellow2 = y, gSym.black2 = k;
            }
        }
    }
    // The colour pane's fields show the colours now stored, not the ones the
    // search found before they were.
    setColourItems(1);
    invalMain(kColourSwatch);
    invalMain(kColourHeader);
    setItemDataSelItems(0);
    // The numbers alone do not carry the name: without it a later load of the
    // item would pair the new colour with the name of the one before.
    setSpotColourSelItems();
    invalPreview();
}

namespace {

void settingChoice(int16_t item, int16_t menuId) {
    switch (menuId) {
        case kImportOutputMenu:
            doImportOutputMenu(item);
            break;
        case kMarksMenu:
            doMarksMenu(item);
            break;
        case kDirectionMenu:
            doDirectionMenu(item);
            break;
        case kFieldsMenu:
            doFieldsMenu(item);
            break;
        case kBaselineMenu:
            doBaselineMenu(item);
            break;
        case kHeightUnitMenu:
            doHeightUnitMenu(item);
            break;
        case kSizeMenu:
            doSizeMenu(item);
            break;
        case kLineSizeMenu:
            doLineSizeMenu(item);
            break;
        case kJustMenu:
            doTextJustMenu(item);
            break;
        case kTextSizeMenu:
            doTextSizeMenu(item);
            break;
        case kShapeMenu:
            if (gHooks.doShapeMenu)
                gHooks.doShapeMenu(item);
            else
                record("doShapeMenu " + whole(item));
            break;
        case kFormatsMenu:
            if (layoutOpen())
                callLoopHandler("DoSaveLayoutAs", nullptr, item);
            else
                Message(kMsgNoLayout);
            break;
        case kZoomMenu:
            doZoomMenu(item);
            break;
        case kAlignMenu:
            alignSelectedItems(item);
            break;
        case kBarWidthMenu:
            doBarWidthMenu(item);
            break;
        case kSerialAlphabetMenu:
            doAlphabetMenu(item);
            break;
        case kLayoutMenu:
            doLayoutMenu(item);
            break;
        case kThermalMenu:
            doThermalMenu(item);
            break;
        case kPortMenu:
            gThermal.pport = item;
            break;
        case kImportModeMenu:
            doImportModeMenu(item);
            break;
        case kOptionsMenu:
            doOptionsMenu(item);
            break;
        case kColoursMenu:
            doColoursMenu(item);
            break;
        case kCustomMenu:
            doCustomMenu(item);
            break;
        case kScriptsMenu:
            if (gHooks.GetScriptMenuItem)
                gHooks.GetScriptMenuItem(item);
            else
                record("GetScriptMenuItem " + whole(item));
            break;
        case kSpotMenu:
            colourMenu(item);
            break;
        case kOutputMenu:
            doOutputMenu(item);
            break;
        default:
            if (isCodeTypeMenu(menuId)) doCodeTypeMenu(item, menuId);
            break;
    }
}

}  // namespace

void doMenu(int16_t item, int16_t menuId) {
    // A choice that changes the selected items or the label (a size, a font, an
    // alignment, a shape) is undone on its own. A script may open another
    // document, whose undo copy starts empty: it is no edit of this one.
    if (menuId == kScriptsMenu) {
        settingChoice(item, menuId);
    } else {
        UndoPoint before;
        settingChoice(item, menuId);
        before.keepIfChanged();
    }
    HiliteMenu(0);
}

void fillCustomMenu() {
    MenuHandle m = GetMenuHandle(kCustomMenu);
    if (!m) return;
    while (CountMenuItems(m) > 0) DeleteMenuItem(m, 1);
    for (const CustomItem& c : gCustom.menu17) {
        // Added as the item's text: a name's own characters are no menu commands.
        MenuItem it;
        it.text = c.name.empty() ? " " : c.name;
        m->items.push_back(it);
    }
}

void setOptionMarks() {
    struct Mark {
        int16_t item;
        bool on;
    };
    const Mark marks[] = {
        {1, gOut.fileDia == 1},
        {3, gOut.appID == 1},
        {4, gOut.fileDia == kFolderDialogMode},
        {5, gOut.fileDia != 0 && gOut.fileDia != 1 && gOut.fileDia != kFolderDialogMode},
        {6, gOut.fileTyp == 0},
        {10, gOut.features == 1},
        {12, (gPrefs.barco & 1) != 0},
        {13, (gPrefs.barco & 2) != 0},
        {15, gPrefs.hideIF == 1},
        {16, gPrint.printScreen == 1},
        {17, gPrint.printForever == 1},
        {18, gPrintWin.startLabels == 1},
    };
    for (const Mark& k : marks) markItem(kOptionsMenu, k.item, k.on);
}

void installSettingMenus() {
    setLoopHandler("doMenu", [](WindowPtr, int32_t choice) {
        doMenu(int16_t(choice & 0xFFFF), int16_t(choice >> 16));
        return 1;
    });
    setLoopHandler("doMousePref", [](WindowPtr w, int32_t part) {
        return doMousePref(int16_t(part), w, gLoop.gmyEvent);
    });
    auto plain = [](void (*f)()) {
        return [f](WindowPtr, int32_t) {
            f();
            return 1;
        };
    };
    setLoopHandler("ShowControlsWin", plain(ShowControlsWin));
    setLoopHandler("ControlsUpdate", updateHandler(ControlsUpdate));
    setLoopHandler("DrawDragBar", plain(DrawDragBar));
    setLoopHandler("ChangeToSettingsWin", plain(ChangeToSettingsWin));
    setLoopHandler("SaveSettings", plain(SaveSettings));
    setLoopHandler("doMouseControls", [](WindowPtr, int32_t) {
        doMouseControls(gLoop.gmyEvent);
        return 1;
    });
    setLoopHandler("doKeysControls", [](WindowPtr, int32_t ch) {
        doKeysControls(static_cast<unsigned char>(ch));
        return 1;
    });
    // The argument names the button: 0 to 6, 7 the extra one.
    setLoopHandler("ButtonClick", [](WindowPtr, int32_t k) {
        constexpr int32_t kExtra = 7;
        ButtonClick(k == kExtra ? kControlsExtraButton : controlsButton(k));
        return 1;
    });
    if (!gHooks.SetPreferences) gHooks.SetPreferences = [] { showPreferences(); };
    BuildCustMenu();
    fillCustomMenu();
    setOptionMarks();
}

SettingMenuHooks& settingMenuHooks() { return gHooks; }
const std::vector<std::string>& settingMenuCalls() { return gCalls; }
void resetSettingMenus() {
    gHooks = SettingMenuHooks{};
    gCalls.clear();
    gLayoutView = LayoutViewFlags{};
}
