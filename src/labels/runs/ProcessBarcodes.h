// The production run.
#pragma once

// Turns the current settings into finished output by the entry mode
// (background): one symbol, one per serial number, or one per import record,
// each drawn and delivered by the output dispatch; with a print sheet set up the
// run may be handed whole to the sheet writer.
void ProcessBarcodes();

// Delivers the symbol just drawn by the output settings, as the run does and as
// the preview's click does. true when delivered.
bool deliverSymbol();
