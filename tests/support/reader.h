// Outside readers for the tests: a rasteriser for element lists and module
// matrices, zxing-cpp in process, and the command-line readers (Ghostscript,
// qpdf, pdftoppm, zbarimg). A symbol is right when an outside reader reads back
// exactly its data.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

// 8-bit grey, 0 black, 255 white, row-major.
struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;
    uint8_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

struct LinearOptions {
    double pixelsPerMicrometre = 1.0 / 110.0;  // 330 um modules are 3 pixels
    int rowHeight = 60;                        // pixels per bar row
    int quietZone = 40;                        // pixels on every side
    bool firstRowOnly = false;                 // only the first bar row
};

// Bar rows of an element list (width bytes, charToWidth of the current code
// type); rows holding a byte that is no element (the text line) are left out.
Bitmap rasteriseElementList(const unsigned char* chNum, int cu_len, const LinearOptions& opt = {});
// Only row `row` (from 0) of the bar rows.
Bitmap rasteriseElementRow(const unsigned char* chNum, int cu_len, int row,
                           const LinearOptions& opt = {});

// Module rows (190 dark, 59 light, 13 ends a row), as PDF417 and DataBar write them.
Bitmap rasteriseModuleRows(const unsigned char* chNum, int cu_len, int moduleWidth = 4,
                           int rowHeight = 12, int quietModules = 4);
// The block letters' matrix without the light rows that pad the last band (the
// matrix symbols written as block letters all end in a dark row).
std::vector<std::vector<bool>> blockLetterSymbol(const unsigned char* chNum, int cu_len);
// What is wrong with the form of a block-letter list of a rows x cols symbol
// (bands of cols letters 'e'..'t' each ended by 13, a NUL behind the last);
// empty when nothing is.
std::string blockLetterFault(const unsigned char* chNum, int cu_len, int rows, int cols);
// Block letters 'e' + v, one per column of a band of four module rows, 13 ends a band.
Bitmap rasteriseBlockLetters(const unsigned char* chNum, int cu_len, int moduleSize = 4,
                             int quietModules = 4);
// The module matrix that block letters describe (true = dark), rows of equal length.
std::vector<std::vector<bool>> blockLettersToMatrix(const unsigned char* chNum, int cu_len);
// A matrix of '1'/'X' (dark) and '0'/' '/'.' (light) lines.
Bitmap rasteriseMatrix(const std::vector<std::string>& rows, int moduleWidth = 4, int rowHeight = 4,
                       int quietModules = 4);
Bitmap rasteriseMatrix(const std::vector<std::vector<bool>>& m, int moduleWidth = 4,
                       int rowHeight = 4, int quietModules = 4);

// The bitmap inside a white margin of `margin` pixels.
Bitmap padBitmap(const Bitmap& b, int margin);
// The ink of the bitmap (pixels below 128) inside a white margin.
Bitmap cropToInk(const Bitmap& b, int margin);
// The `count` whole rows of b from row `top` on.
Bitmap rowsOf(const Bitmap& b, int top, int count);
// b turned clockwise by `quarters` quarter turns.
Bitmap turnedClockwise(const Bitmap& b, int quarters = 1);

struct Decoded {
    bool ok = false;
    std::string format;       // zxing's name of the symbology
    std::string text;         // UTF-8
    std::string bytes;        // the raw content bytes
    std::string symbologyId;  // "]C1", "]d2", ...
    std::string error;
    // Structured append (Macro PDF417, ...): the symbol's place, the file ID, and
    // whether it is the last; index -1 when the symbol is not one of a sequence.
    int sequenceIndex = -1;
    std::string sequenceId;
    bool lastInSequence = false;
};

// How the reader takes symbols with options of their own.
struct ReadOptions {
    bool code39FullAscii = false;   // read Code 39 character pairs as ASCII
    bool code39Check = false;       // the last Code 39 character must be the modulo-43 check
    bool codabarStartStop = false;  // keep Codabar's start and stop letters in the text
};
// zxing-cpp in process. `format` narrows the search ("EAN-13", "Code128", "QRCode",
// "DataMatrix", "PDF417", ...; empty = any).
Decoded decode(const Bitmap& bmp, const std::string& format = "", const ReadOptions& opt = {});
// The same, for EAN/UPC symbols that must carry a 2- or 5-digit add-on; the text
// is the main number, a space, and the add-on.
Decoded decodeWithAddOn(const Bitmap& bmp, const std::string& format = "");

// Writes the bitmap as a binary PGM (for zbarimg and for looking at failures).
bool writePGM(const Bitmap& bmp, const std::string& path);
// Reads a binary PGM of depth 255; false for any other file or a cut-short one.
bool readPGM(const std::string& path, Bitmap* bmp);

// Runs a shell command: its exit status (-1 when it did not exit), standard output and error.
struct RunResult {
    int status = -1;
    std::string out;
    std::string err;
};
RunResult runCommand(const std::string& command);
// Fails the current test, naming `package`, when `program` is not on PATH.
bool requireProgram(const std::string& program, const std::string& package);

// Ghostscript renders an EPS (with -dEPSCrop), PostScript or PDF file at dpi.
struct Rendered {
    bool ok = false;
    Bitmap bitmap;
    std::string err;  // Ghostscript's standard error
};
Rendered renderWithGhostscript(const std::string& path, int dpi = 300, bool epsCrop = true);
// Many EPS files in one Ghostscript run (-dEPSCrop), one bitmap each in order;
// an empty bitmap for a page that could not be read. Without anti-aliasing
// Ghostscript darkens every pixel a fill touches, so each bar gains up to a pixel;
// anti-aliased, a pixel is as grey as it is covered, and reads dark past half.
std::vector<Bitmap> renderEpsFiles(const std::vector<std::string>& paths, int dpi = 300,
                                   bool antiAlias = false);
// The Ghostscript option that renders fills anti-aliased.
inline constexpr const char* kGhostscriptAntiAlias = " -dGraphicsAlphaBits=4";
// The symbol of each EPS file of a folder (names in order), read by zxing-cpp;
// "unread: ..." for one that cannot be read.
std::vector<std::string> decodeEpsFolder(const std::string& folder, const std::string& format);
// The symbols of a file of text lines (bar-font text, one line a symbol): each
// line holds `rows` carriage returns of its element list and ends with one more.
// Each is rasterised and read by zxing-cpp; "unread: ..." for one that cannot be.
std::vector<std::string> decodeTextLines(const std::string& path, int rows,
                                         const std::string& format, bool blockLetters = false);
// The bounding box that Ghostscript's bbox device finds ("%%HiResBoundingBox" values).
bool inkBoundingBox(const std::string& path, double* llx, double* lly, double* urx, double* ury);
RunResult qpdfCheck(const std::string& path);
// Grey pages outPrefix-1.pgm, outPrefix-2.pgm, ... at dpi.
RunResult pdftoppm(const std::string& path, const std::string& outPrefix, int dpi = 150);
// Page `page` (from 1) of a PDF as a grey bitmap at dpi, through pdftoppm's pages
// next to the PDF; false, with a failure, when a step fails.
bool pdfPage(const std::string& pdf, int dpi, int page, Bitmap* out);
// A PICT file (the picture's bytes behind the 512-byte file header) through
// LibreOffice's import to PDF and pdftoppm at dpi without smoothing: the path of
// the page, a grey PGM or a colour PPM; empty, with a failure, when a step fails.
std::string pictThroughLibreOffice(const std::string& pictBytes, int dpi, bool grey);
// zbarimg on a PGM; its output lines ("EAN-13:4006381333931", ...).
RunResult zbarimg(const std::string& path);

// zint's module rows of data (raw bytes) with the given options ("-b 84 --cols=4"),
// '1' for a dark module; rows are padded with light modules to whole nibbles.
// Empty when zint refuses the data.
std::vector<std::string> zintRows(const std::string& options, const std::string& data);
// ours equals zint's row but for the light modules that pad zint's row.
bool sameModules(const std::string& ours, const std::string& zint);
// The module rows (190 dark, 59 light) of an element list up to its last 13.
std::vector<std::string> moduleRowStrings(const unsigned char* chNum, int cu_len);

std::string tempPath(const std::string& name);     // a fresh path in a per-test folder
std::string freshFolder(const std::string& name);  // tempPath made an empty folder
std::string slurp(const std::string& path);        // a file's bytes; empty when unreadable

}  // namespace testsupport
