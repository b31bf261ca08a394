// The frame of every vector document (EPS, Illustrator, PostScript, PDF) and the
// page writers of a single label and a full sheet.
#pragma once

#include <cstdint>

#include "platform/files.h"

// Vector dialects (OutputSettings::ill). Comparisons between dialects compare
// the numbers, so 25 counts as lower than 88.
constexpr int32_t kIll11 = 1;      // Illustrator 1.1
constexpr int32_t kIll88 = 88;     // Illustrator 88
constexpr int32_t kIll3 = 93;      // Illustrator 3
constexpr int32_t kIll5 = 95;      // Illustrator 5
constexpr int32_t kIllPress = 25;  // Illustrator 5 for the digital press
constexpr int32_t kIllType3 = 2;   // Type 3 font
constexpr int32_t kIllPdf = 1115;  // PDF 1.4
bool knownDialect(int32_t ill);

// Room for every distinct font a label can name: 100 items, two fonts each, and
// the fixed header fonts.
constexpr int kFontSlots = 2 * 100 + 8;

// The sheet of a full-sheet document whose print sheet has no size, points.
constexpr int32_t kA4Width = 595;
constexpr int32_t kA4Height = 841;
constexpr double kSheetUnitsPerPoint = 10000;  // the print sheet counts 0.0001 point

// The state of the document being written; EpsStart renews it.
struct EpsDocument {
    unsigned char fontName[kFontSlots][256] = {};  // Pascal names; an empty slot ends the list
    int32_t fontCount = 0;
    uint8_t eol = 0;
    int32_t non_drawn = 0;  // 1 for the DataBar family: its text is drawn as outlines
    // The sheet of a full-sheet document in units of 0.0001 point: the print
    // sheet's size grown to hold every label, or A4 when the sheet has no size.
    double sheetWidth = 0;
    double sheetHeight = 0;
    int32_t sheetDefaulted = 0;  // 1 when the sheet had no size and A4 stands in
};
extern EpsDocument gEps;
void resetEpsDocument();

// Cuts text at gData.len1 and turns every byte below 32 into '-'; returns text.
char* trim32(char* text);
// The printed data as the title and the options line write it: chMainCode2 cut
// at len11, control bytes as '-'. out holds at least 2048 bytes. True when a
// control byte was replaced.
bool sanitisedPrintedData(char* out);

// Begins a document on the open file refNum: everything up to the first item.
void EpsStart(platform::FileRef refNum, int32_t yPos);
// Ends it: document trailer, job-wrapper end, text measurement back to normal.
void EpsEnd(platform::FileRef refNum);
void writeHeader(int32_t right, int32_t bottom, platform::FileRef refNum);
// "%%EndComments" and the prolog of the dialect.
void bombHeader(platform::FileRef refNum);
void MakeFontList();
void fontDefinitions();
void includeFont(const unsigned char* name, int32_t flag);
void includeFontEncoding(const unsigned char* name);
// The page trailer, once after the last item of a page.
void doTrailer();
void DocTrailer(platform::FileRef refNum);
// The printer job wrapper: end 0 the start, non-zero the end.
void DrawPostPjl(int32_t end);
constexpr int32_t kPjlStartLength = 52;
constexpr int32_t kPjlEndLength = 27;

// The whole document: a full sheet when the print sheet has a label width, else
// one page. Returns 0 when it was written, 1 when it was refused (an unknown
// dialect) or could not be written whole (a full disk); both are reported.
int32_t EPSout(platform::FileRef refNum, int32_t yPos);
int32_t EPSoutSingle(platform::FileRef refNum, int32_t yPos);
int32_t EPSoutFullSheet(platform::FileRef refNum, int32_t yPos);

// Message numbers (list 136) of the document writer.
constexpr uint16_t kMsgVectorWriteFailed = 90;
constexpr uint16_t kMsgUnknownDialect = 91;
