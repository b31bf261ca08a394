#include "labels/preview.h"

#include "labels/labelDoc.h"
#include "symbology/host.h"
#include "symbology/messages.h"

PreviewHooks gPreviewHooks;

void Disp2InvalRect(int32_t mode, const Rect16& rect) {
    if (gPreviewHooks.invalRect) gPreviewHooks.invalRect(mode, rect);
}

void updateDisp() {
    // Without a preview the text has been shown on standard error when it was raised.
    if (gPreviewHooks.showError) gPreviewHooks.showError(gMsg.gerrorstr);
    gMsg.gerrorstr[0] = 0;
}

bool layoutPreviewShowsMessage() {
    return gPreviewHooks.messageStored && gPreviewHooks.messageStored();
}
