// The layout preview as the document model sees it. The model says which part
// of the preview its change has spoiled and when the error text of an item is
// to be shown; a front end that draws a preview registers where these go.
// Headless nothing is registered and nothing is drawn.
#pragma once

#include <cstdint>

struct Rect16;

struct PreviewHooks {
    // A rectangle of the preview to draw again (mode kInvalidateSelection: the
    // item as drawn, rotated).
    void (*invalRect)(int32_t mode, const Rect16& rect) = nullptr;
    // The error text to show over the item being drawn.
    void (*showError)(const char* text) = nullptr;
    // A message waits in the error text: the window is to be drawn again. False
    // when there is no window to draw it.
    bool (*messageStored)() = nullptr;
};
extern PreviewHooks gPreviewHooks;

// Invalidates a rectangle of the layout preview.
void Disp2InvalRect(int32_t mode, const Rect16& rect);
// Shows the layout preview's error text over the item being drawn, then empties it.
void updateDisp();

// An item the layout preview cannot draw is told once. Its message may be a
// modal box, and every redraw would raise it again: until the item or the data
// loaded to draw it changes, the preview leaves it out without a word.
// previewRefusalTold is asked with the item's data loaded, before it is encoded;
// notePreviewDrawing then says how that went.
bool previewRefusalTold(int32_t index);
void notePreviewDrawing(int32_t index, bool refused);
// True when the preview's last pass left item index out.
bool previewLeftOut(int32_t index);
// A document closed or loaded: its items are other items.
void forgetPreviewRefusals();
