// The picture output's own state: the symbol's picture, the bar-font text as it
// will be written, and the text file that a run appends its lines to.
#pragma once

#include <cstdint>
#include <set>
#include <string>

#include "platform/files.h"
#include "platform/quickdraw/picture.h"

// Output kinds (OutputSettings::tool) and the files they make.
enum OutputKind : int32_t {
    kOutPicture = 0,      // a picture file: 512 zero bytes, then PICT
    kOutBarFontText = 1,  // the element list as text in the bar font
    kOutVector = 2,       // EPS, PostScript or PDF from the vector writer
    kOutPcEps = 3,        // EPS with the PC binary header and a TIFF preview
    kOutTiff = 4,         // TIFF at 600 dpi
    kOutBmp72 = 5,        // bitmap at 72 dpi
    kOutBmp300 = 6,       // bitmap at 300 dpi
    kOutTextLine = 7,     // one line a symbol appended to a text file
    kOutPdfFromEps = 8,   // an EPS turned into PDF by the system's converter
};
constexpr int32_t kIllUtf16Text = 2048;  // ill value: bar-font text as UTF-16
// Targets (OutputSettings::outToFile) besides 0, the clipboard, and 1, a file.
constexpr int32_t kOutToFileAppend = 2;       // bar-font text added to the chosen file
constexpr int32_t kOutToClipboardBitmap = 3;  // the 72 dpi bitmap on the clipboard, no file

struct PictureOutput {
    qd::Picture* Pict = nullptr;  // the current symbol's picture, owned here
    // The bar-font text converted for its file or the clipboard (UTF-16), kept
    // apart from the element list, which it can outgrow.
    bool textConverted = false;
    std::string convertedText;
    // A run appending lines: 1 once its first symbol made the file.
    int32_t sameFile = 0;
    std::string theFileName2;  // POSIX path of that file
    // The new version of that file while the run goes on: the run's lines are
    // added whole when it ends, or not at all.
    platform::FileRef textRunRef = 0;
    // A run's file could not be written: it was left as it was, without the
    // run's lines. A caller whose later lines would replace it asks.
    bool textFileFailed = false;
    // The folder remembered for files written without a dialog (naming mode 0 in
    // runs), chosen once.
    std::string gfoldername;
    // The file names a run has written in its folder: a record whose name is
    // taken gets a numbered one, so that no file of the run replaces another.
    std::set<std::string> runNames;
    // The import file chosen (POSIX path) and the read position in it.
    std::string impoFile;
    int32_t pos = 0;
};
extern PictureOutput gPictOut;

// Takes ownership of pic as the current picture (the previous one is disposed).
void setPict(qd::Picture* pic);
void disposePict();
// Disposes the picture and forgets everything, the text run too.
void resetPictureOutput();
// Ends a run of appended lines: its file is put in place with every line (false
// after a message when it cannot be), and later symbols start a new file.
bool endTextRun();
// Ends it leaving the file as it was before the run.
void abandonTextRun();
