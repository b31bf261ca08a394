// The page setup and print dialogs on the desktop: Qt's dialogs over the queues
// the printing system lists, their answers turned into the print platform's page
// format and print settings. The print dialog carries the program's extension:
// a font, a size of 10, 12 or 14 points and fractional widths.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/printing/printing.h"
#include "platform/toolbox/windows.h"

class QDialog;
class QPrinter;

struct PrintDialogExtension {
    int16_t gFontNumber = 0;
    int16_t gFontSize = 12;
    bool fractionalWidths = false;
    int32_t gDrawPrintSettingsStuff = 0;  // 1 after an accepted print dialog
};
extern PrintDialogExtension gPrintExtension;

// Runs a dialog over its printer; true when accepted. Unset, the dialog runs
// modally on a real desktop, and in tests (where nobody would answer) fails at
// once with toolbox::ModalStall. Tests set their answer here.
using PrintDialogRunner = std::function<bool(QDialog& dialog, QPrinter& printer)>;
void setPrintDialogRunner(PrintDialogRunner runner);

// The printer's page layout and settings as the print platform holds them, and back.
print::PageFormat pageFormatFromPrinter(const QPrinter& printer);
void printerFromPageFormat(const print::PageFormat& format, QPrinter* printer);
print::PrintSettings settingsFromPrinter(const QPrinter& printer, print::PrintSettings base);
void printerFromSettings(const print::PrintSettings& settings, QPrinter* printer);

// print::dialogs() become these dialogs (null restores the headless ones).
void useDesktopPrintDialogs(bool on = true);

// The page setup dialog: an accepted format is kept in print.prt. 0 (or the
// status of keeping it) when accepted, 128 when cancelled.
int32_t doPageSetUpDialog(toolbox::WindowPtr window);
// The print dialog for the window's document: an accepted answer becomes the
// destination of the next job. 0 accepted, 128 cancelled.
int32_t doPrintSettingsDialog(toolbox::WindowPtr window);
