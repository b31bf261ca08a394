// What the engine asks of the floors above it. The engine only declares these;
// the label document and the production run define them, so nothing in the
// engine includes a header from above.
#pragma once

#include <cstdint>

// True while a label layout is open: messages then go to the layout preview.
bool labelLayoutOpen();
// A message was stored for the layout preview: true when a preview window will
// draw it, false when none is there to show it.
bool layoutPreviewShowsMessage();
// The production run's entry mode: 0 normal, 1 serial numbers, 2 import,
// 3 print time (5 a serial run started from the print-time panel).
int32_t productionEntryMode();
// Stores the current settings into every selected label item (the label
// document's modes: 0 the colours, 2 the symbol's settings and data).
void setItemDataSelItems(int32_t mode);
