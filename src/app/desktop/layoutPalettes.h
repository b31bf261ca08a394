// The layout editor's three small floating windows: the tool palette (the kind
// the next drag creates, rotation, the lock), the tab bar (the document
// commands of the File menu in one click) and the ruler.
#pragma once

#include <cstdint>
#include <string>

#include "platform/quickdraw/quickdraw.h"
#include "platform/toolbox/events.h"
#include "platform/toolbox/windows.h"

void ShowToolWin();
void ToolUpdate();
void DrawToolItem(int32_t column, int32_t row);
void doMouseTool(int16_t part, toolbox::WindowPtr window, const toolbox::EventRecord& event);
// Item 1 of the shape menu: a shape of the current tool filling the label.
void doShapeMenu(int32_t item);
// A 10-pixel three-D drag bar along the top, or the left side when vertical.
void DrawMiniDragBar(toolbox::WindowPtr window, int32_t vertical);
// state -1 adds a small pop-up mark at the bottom right.
void Draw3dButton(const std::string& title, const qd::Rect& rect, int32_t state);
void UpdateMousePos();

void ShowTabWin();
void TabUpdate();
void doMouseTab(int16_t part, toolbox::WindowPtr window, const toolbox::EventRecord& event);

struct RulerState {
    int32_t gROrient = 0;  // 0 horizontal, 1 vertical
};
extern RulerState gRuler;
void ShowRulerWin();
void InvalRuler();
void RulerUpdate();
void doMouseRuler(int16_t part, toolbox::WindowPtr window, const toolbox::EventRecord& event);

// Palette geometry the tests probe.
constexpr qd::Rect kLockButton{163, 8, 179, 43};
// Registers the palettes' update and click handlers.
void installLayoutPalettes();
// The palettes closed.
void disposeLayoutPalettes();
