#include "app/desktop/controlsPalette.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "app/desktop/eventLoop.h"
#include "app/layoutGeometry.h"
#include "labels/datafields.h"
#include "labels/labelDoc.h"
#include "picture/placedPictures.h"
#include "platform/resources.h"
#include "platform/toolbox/textshapes.h"
#include "platform/toolbox/numbered.h"
#include "symbology/state.h"

using namespace toolbox;

ControlsState gControls;

namespace {

constexpr int32_t kTitleList = 139, kTitleIndex = 8;
constexpr int32_t kButtonList = 141, kFormList = 137, kQuitList = 140, kQuitIndex = 16;
constexpr int32_t kButtonLeft = 20, kButtonTop = 100, kButtonStep = 40;
constexpr int32_t kButtonWidth = 170, kButtonHeight = 30, kButtons = 7;
constexpr int32_t kFieldLeft = 360, kFieldRight = 540, kLabelOffset = 140;
constexpr int32_t kPaletteBarHeight = 20, kDragBarWidth = 215, kDragFrom = 20;
constexpr qd::Rect kFieldRects[kFormFields] = {
    {50, kFieldLeft, 65, kFieldRight},   {75, kFieldLeft, 90, kFieldRight},
    {100, kFieldLeft, 160, kFieldRight}, {170, kFieldLeft, 230, kFieldRight},
    {240, kFieldLeft, 255, kFieldRight}, {315, kFieldLeft, 330, kFieldRight},
    {265, kFieldLeft, 280, kFieldRight},
};
// Under the last stored field, beside the picture well.
constexpr qd::Rect kRemovePicture{290, 250, 310, 415};
constexpr qd::Rect kFormPanel{30, 200, 350, 550};
constexpr qd::Rect kPromptBox{20, 30, 80, 170};
constexpr qd::RGBColor kMauve{0xEA00, 0xEA00, 0xEA00};
constexpr qd::RGBColor kOrange{0xFFFF, 0xCECE, 0x9C9C};
constexpr qd::RGBColor kDarkGrey{0x4000, 0x4000, 0x4000};
constexpr int16_t kGeneva = 3, kHelvetica = 21, kSmall = 9, kButtonSize = 12;
constexpr uint32_t kPressTicks = 10;
// File commands of the buttons.
constexpr int32_t kOpenCommand = 2, kNewCommand = 9, kPrintCommand = 11, kExampleCommand = 202,
                  kQuitCommand = 14;
// The form's fields by data-field name; field 5 is neither loaded nor saved.
struct FormField {
    int index;
    char name;
};
constexpr FormField kStoredFields[] = {{0, 'N'}, {1, 'C'}, {2, 'A'}, {3, 'P'}, {4, 'W'}, {6, 'M'}};

std::function<void(int32_t)> gFileCommand;
std::vector<int32_t> gRecordedCommands;
LabelItem gLabTemp;  // the form's picture, in a label item's picture slot

void fileCommand(int32_t item) {
    if (gFileCommand)
        gFileCommand(item);
    else
        gRecordedCommands.push_back(item);
}

bool contains(const qd::Rect& r, qd::Point p) {
    return p.h >= r.left && p.h < r.right && p.v >= r.top && p.v < r.bottom;
}

void drawCentred(const std::string& text, const qd::Rect& r, int32_t baseline) {
    const int32_t w = qd::TextWidth(text.data(), 0, int32_t(text.size()));
    qd::MoveTo(r.left + (r.right - r.left - w) / 2, baseline);
    qd::DrawText(text.data(), 0, int32_t(text.size()));
}

void bevel(const qd::Rect& r, bool sunken) {
    const qd::RGBColor light{0xFFFF, 0xFFFF, 0xFFFF}, dark{0x7777, 0x7777, 0x7777};
    qd::RGBForeColor(sunken ? dark : light);
    qd::MoveTo(r.left, r.bottom - 1);
    qd::LineTo(r.left, r.top);
    qd::LineTo(r.right - 1, r.top);
    qd::RGBForeColor(sunken ? light : dark);
    qd::LineTo(r.right - 1, r.bottom - 1);
    qd::LineTo(r.left, r.bottom - 1);
    qd::RGBForeColor({0, 0, 0});
}

void drawButton(const qd::Rect& r, const std::string& title) {
    qd::RGBForeColor(kOrange);
    qd::PaintRect(r);
    bevel(r, false);
    qd::TextFont(kHelvetica);
    qd::TextSize(kButtonSize);
    qd::TextFace(qd::bold);
    drawCentred(title, r, r.top + 19);
    qd::TextFace(0);
}

std::string buttonTitle(int k) {
    constexpr int32_t kFormShown = 3, kPaletteShown = 4, kFirstCommand = 5, kEditOn = 9,
                      kEditOff = 10;
    if (k == 0)
        return platform::StringResourceText(kButtonList,
                                            gControls.gPrefWin ? kFormShown : kPaletteShown);
    if (k >= 1 && k <= 4) return platform::StringResourceText(kButtonList, kFirstCommand + k - 1);
    if (k == 5)
        return platform::StringResourceText(kButtonList, gControls.geditMode ? kEditOn : kEditOff);
    return platform::StringResourceText(kQuitList, kQuitIndex);
}

void deacChan() {
    for (platform::TEHandle f : gControls.TEchan)
        if (f) platform::TEDeactivate(f);
}

void setFieldText(int i, const std::string& t) {
    if (gControls.TEchan[i]) platform::TESetText(t.data(), int32_t(t.size()), gControls.TEchan[i]);
}

void fillForm() {
    // Without the file the field reader answers each field's own name; the
    // form stays empty instead.
    if (platform::pathKind(dataFieldsPath()) == platform::PathKind::missing) return;
    for (const FormField& f : kStoredFields) {
        const unsigned char name[2] = {1, static_cast<unsigned char>(f.name)};
        unsigned char text[kFieldTextSize] = {};
        // A file that cannot be read (a pipe, say) leaves the form empty too.
        if (!GetFieldData(name, text, nullptr)) return;
        setFieldText(f.index, std::string(reinterpret_cast<const char*>(text + 1), text[0]));
    }
    const unsigned char logo[2] = {1, 'L'};
    unsigned char text[kFieldTextSize] = {};
    std::string picture;
    GetFieldData(logo, text, &picture);
    gLabTemp.dataHandle = picture;
    gLabTemp.hasDataHandle = !picture.empty();
}

void showEditingWindows(bool on) {
    for (WindowPtr w : {gWindows.ToolWin, gWindows.RulerWin, gWindows.wp, gWindows.TabWin})
        if (w) on ? ShowWindow(w) : HideWindow(w);
    if (gWindows.disp2) InvalWindowRect(gWindows.disp2, gWindows.disp2->portRect);
}

}  // namespace

qd::Rect controlsButton(int k) {
    const int32_t top = kButtonTop + kButtonStep * k;
    return {top, kButtonLeft, top + kButtonHeight, kButtonLeft + kButtonWidth};
}

void setControlsFileCommand(std::function<void(int32_t)> command) {
    gFileCommand = std::move(command);
    gRecordedCommands.clear();
}

void closeControlsWin() {
    for (platform::TEHandle& f : gControls.TEchan) {
        if (f) platform::TEDispose(f);
        f = nullptr;
    }
    if (gWindows.ControlsWin) DisposeWindow(gWindows.ControlsWin);
    if (gWindows.activeWindow == gWindows.ControlsWin) gWindows.activeWindow = nullptr;
    gWindows.ControlsWin = nullptr;
    gControls.gcTE = -1;
    gControls.gPrefWin = 0;
}

void ShowControlsWin() {
    closeControlsWin();
    const qd::Rect desk = DesktopBounds();
    const int32_t left = (desk.right - desk.left) / 2 - 300;
    const int32_t top = (desk.bottom - desk.top) / 2 - 200;
    const qd::Rect r{top, left, top + kPaletteHeight, left + kPaletteWidth};
    gWindows.ControlsWin =
        BuildWindowItem(r, kTitleList, kTitleIndex, true, plainDBox, nullptr, false, 1);
    WindowPtr w = gWindows.ControlsWin;
    qd::SetPort(w->port);
    for (int i = 0; i < kFormFields; ++i) {
        gControls.TEchan[i] = platform::TEStyleNew(kFieldRects[i], kFieldRects[i]);
        platform::TESetStyle(kGeneva, kSmall, 0, gControls.TEchan[i]);
        platform::TEDeactivate(gControls.TEchan[i]);
    }
    platform::TEActivate(gControls.TEchan[0]);
    gControls.gcTE = 0;
    gLabTemp = LabelItem{};
    ControlsUpdate();
}

void DrawDragBar() {
    WindowPtr w = gWindows.ControlsWin;
    if (!w) return;
    const qd::Rect bar{0, 0, kPaletteBarHeight, w->portRect.right};
    qd::RGBForeColor(kDarkGrey);
    qd::PaintRect(bar);
    qd::RGBForeColor({0, 0, 0});
    qd::FrameRect(bar);
    qd::RGBForeColor({0xFFFF, 0xFFFF, 0xFFFF});
    qd::TextFont(kGeneva);
    qd::TextSize(kSmall);
    qd::TextFace(qd::bold);
    std::string text;
    if (gSym.TeF[0] != 0 && labelBack.labelWidth == 0) {
        text = std::string(gSym.TeF) + " " +
               std::string(gData.chMainCode2,
                           size_t(std::clamp<int32_t>(gData.len11, 0, int32_t(kMainCodeSize))));
    } else {
        text =
            "Layout and Labelling Mode - Choose an item from the right hand pallette and "
            "click on the label to place it";
    }
    qd::MoveTo(5, 14);
    qd::DrawText(text.data(), 0, int32_t(text.size()));
    qd::TextFace(0);
    qd::RGBForeColor({0, 0, 0});
}

void ControlsUpdate() {
    WindowPtr w = gWindows.ControlsWin;
    if (!w) return;
    qd::SetPort(w->port);
    qd::RGBBackColor(kMauve);
    qd::EraseRect({0, 0, kPaletteHeight, kFormWidth});
    DrawDragBar();
    qd::RGBForeColor({0, 0, 0});
    const unsigned char* prompt = reinterpret_cast<const unsigned char*>(
        "\x31"
        "Choose what you wish to do from the buttons below");
    platform::BuildTextItem(prompt, platform::kLineHeightFromFont, kPromptBox, "Helvetica", kSmall,
                            0, 0, platform::shapeCentre, platform::shapeMiddle);
    for (int k = 0; k < kButtons; ++k) drawButton(controlsButton(k), buttonTitle(k));
    drawButton(kControlsExtraButton, platform::StringResourceText(kButtonList, 11));

    // The form, beside the buttons, seen once the window is wide.
    qd::RGBBackColor(kMauve);
    bevel(kFormPanel, true);
    qd::TextFont(kGeneva);
    qd::TextSize(kSmall);
    const std::string heading = platform::StringResourceText(kFormList, 3);
    qd::MoveTo(kFormPanel.left + 10, kFormPanel.top + 15);
    qd::DrawText(heading.data(), 0, int32_t(heading.size()));
    constexpr int kLabelled[] = {0, 1, 2, 3, 4, 6, 5};
    for (int n = 0; n < kFormFields; ++n) {
        const qd::Rect& r = kFieldRects[kLabelled[n]];
        const std::string label = platform::StringResourceText(kFormList, 4 + n);
        qd::MoveTo(r.left - kLabelOffset, r.top + 11);
        qd::DrawText(label.data(), 0, int32_t(label.size()));
        qd::RGBBackColor({0xFFFF, 0xFFFF, 0xFFFF});
        qd::EraseRect(r);
        bevel({r.top - 1, r.left - 1, r.bottom + 1, r.right + 1}, true);
        platform::TEUpdate(r, gControls.TEchan[kLabelled[n]]);
        qd::RGBBackColor(kMauve);
    }
    drawButton(kRemovePicture, platform::StringResourceText(kButtonList, 12));
    bevel(kPictureWell, true);
    if (gLabTemp.hasDataHandle) {
        qd::FrameRect({kPictureWell.top + 2, kPictureWell.left + 2, kPictureWell.bottom - 2,
                       kPictureWell.right - 2});
    }
}

void ButtonClick(const qd::Rect& r) {
    if (!gWindows.ControlsWin) return;
    qd::SetPort(gWindows.ControlsWin->port);
    bevel(r, true);
    uint32_t after = 0;
    Delay(kPressTicks, &after);
    bevel(r, false);
}

void doMouseControls(const EventRecord& event) {
    WindowPtr w = gWindows.ControlsWin;
    if (!w) return;
    qd::SetPort(w->port);
    qd::Point p = event.where;
    GlobalToLocal(&p);
    if (contains({0, 0, kPaletteBarHeight, kDragBarWidth}, p) && p.h >= kDragFrom) {
        DragWindow(w, event.where, DesktopBounds());
        return;
    }
    if (contains(kControlsExtraButton, p)) {
        ButtonClick(kControlsExtraButton);
        fileCommand(kNewCommand);
        return;
    }
    for (int k = 0; k < kButtons; ++k) {
        if (!contains(controlsButton(k), p)) continue;
        ButtonClick(controlsButton(k));
        constexpr int32_t kCommands[] = {0, kOpenCommand, kNewCommand, kPrintCommand,
                                         kExampleCommand};
        if (k == 0) {
            gControls.gPrefWin = gControls.gPrefWin ? 0 : 1;
            ChangeToSettingsWin();
        } else if (k <= 4) {
            fileCommand(kCommands[k]);
        } else if (k == 5) {
            gControls.geditMode = gControls.geditMode ? 0 : 1;
            gLayout.geditMode = static_cast<uint16_t>(gControls.geditMode);
            showEditingWindows(gControls.geditMode == 1);
        } else {
            fileCommand(kQuitCommand);
        }
        if (gWindows.ControlsWin)
            InvalWindowRect(gWindows.ControlsWin, gWindows.ControlsWin->portRect);
        return;
    }
    for (int i = 0; i < kFormFields; ++i) {
        if (!contains(kFieldRects[i], p) || !gControls.TEchan[i]) continue;
        deacChan();
        platform::TEActivate(gControls.TEchan[i]);
        platform::TEClick(p, false, gControls.TEchan[i]);
        gControls.gcTE = i;
        return;
    }
    if (contains(kRemovePicture, p)) {
        ButtonClick(kRemovePicture);
        gLabTemp.dataHandle.clear();
        gLabTemp.hasDataHandle = false;
        InvalWindowRect(w, kPictureWell);
    } else if (contains(kPictureWell, p)) {
        doPictTool(0, 1, &gLabTemp);
        InvalWindowRect(w, kPictureWell);
    }
}

void doKeysControls(unsigned char ch) {
    if (gControls.gcTE < 0 || !gControls.TEchan[gControls.gcTE]) return;
    platform::TEKey(ch, gControls.TEchan[gControls.gcTE]);
    if (gWindows.ControlsWin) InvalWindowRect(gWindows.ControlsWin, kFieldRects[gControls.gcTE]);
}

void ChangeToSettingsWin() {
    WindowPtr w = gWindows.ControlsWin;
    if (!w) return;
    if (w->portRect.right - w->portRect.left == kPaletteWidth) {
        SizeWindow(w, kFormWidth, kPaletteHeight, true);
        if (gWindows.disp2) HideWindow(gWindows.disp2);
        fillForm();
    } else {
        SaveSettings();
        SizeWindow(w, kPaletteWidth, kPaletteHeight, true);
        if (gWindows.disp2) ShowWindow(gWindows.disp2);
    }
    InvalWindowRect(w, w->portRect);
}

void SaveSettings() {
    for (const FormField& f : kStoredFields) {
        if (!gControls.TEchan[f.index]) continue;
        const std::string& t = gControls.TEchan[f.index]->text;
        unsigned char value[256] = {};
        value[0] = uint8_t(std::min<size_t>(t.size(), 255));
        std::memcpy(value + 1, t.data(), value[0]);
        const unsigned char name[2] = {1, static_cast<unsigned char>(f.name)};
        SaveFieldData(name, value, nullptr);
    }
    const unsigned char logo[2] = {1, 'L'};
    const unsigned char none[1] = {0};
    SaveFieldData(logo, none, &gLabTemp.dataHandle);
    const unsigned char done[2] = {1, 'Z'};
    const unsigned char one[2] = {1, '1'};
    SaveFieldData(done, one, nullptr);
}
