// The controls palette: a floating launcher of large buttons for the file
// commands and the editing windows, which widens into a small form of the
// personal data fields.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/textedit.h"
#include "platform/toolbox/events.h"
#include "platform/toolbox/windows.h"

constexpr int32_t kPaletteWidth = 200, kFormWidth = 600, kPaletteHeight = 400;
constexpr int kFormFields = 7;

struct ControlsState {
    platform::TEHandle TEchan[kFormFields] = {};
    int gcTE = -1;          // the field keys go to
    int32_t gPrefWin = 0;   // 1 while the form is shown
    int32_t geditMode = 1;  // 1 while the editing windows are shown
};
extern ControlsState gControls;

void ShowControlsWin();
void ControlsUpdate();
void DrawDragBar();
void doMouseControls(const toolbox::EventRecord& event);
void doKeysControls(unsigned char ch);
// A button's press: sunken, a moment, raised again.
void ButtonClick(const qd::Rect& r);
void ChangeToSettingsWin();
void SaveSettings();
void closeControlsWin();

// The button rectangles (window-local): k from 0 to 6, and the extra one.
qd::Rect controlsButton(int k);
inline constexpr qd::Rect kControlsExtraButton{360, 360, 390, 540};
inline constexpr qd::Rect kPictureWell{290, 420, 340, 470};

// File commands the palette runs (the File menu's items); recorded while unset.
void setControlsFileCommand(std::function<void(int32_t item)> command);
