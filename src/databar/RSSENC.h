// The GS1 DataBar driver and its row output, shared by every DataBar encoder
// and the composite components.
//
// How an encoder of this family works (the contract for every member):
//   - mainRSS14A(kind) (code type 37; MicroPDF417 has its own entry) empties the element list,
//   fills an RssParams record
//     (setparams, then the kind and the Expanded segments) and calls the
//     encoder of the kind with it. The record's `data` is a private copy of
//     chMainCode that the encoder may cut in place ('|' ends the linear data;
//     the composite data follows it, already through the GS1 AI filter with
//     '#' for FNC1).
//   - The encoder lays out each row as a PrintRow (element widths in modules,
//     guards, colour of the first module, direction, height in modules) and
//     hands it to printElmnts, which appends the row to the element list as
//     module bytes (kDarkModule, kLightModule) ended by 13, and records its
//     height in gRss.rowHeight. Composite rows come from ccPattern (CC.h).
//   - A refusal calls rssRefuse(text): the user sees the text, errFlag becomes
//     1, and the driver clears the list. Nothing is drawn then.
//   - After the encoder the driver writes the printed text into chMainCode2
//     ("(01)", 13 digits and the check digit, for kinds 1 to 5; Expanded
//     writes its bracketed AI text there itself) and,
//     when the text is shown (human 1), the text row after the last symbol row
//     (Humans1). chMainCode keeps the data.
//   - The dispatcher has already run the GS1 AI filter ('#' for FNC1): over the
//     part after '|' for variants 0 to 4, over the whole data for 5 to 7.
//   - Composite components: CC2enc/CC3enc/CC4enc (CC.h) fill gCc.ccPattern;
//     write its rows light first, kCcRowHeight high, then cnvSeparator of the
//     linear row that faces the component. PrintRow.offset places each row
//     across (the element list starts every row at its first module), so that
//     component and linear rows stand as ISO/IEC 24723 aligns them; the
//     painter reads it from gRss.rowOffset.
#pragma once

#include <cstdint>
#include <span>

#include "symbology/state.h"

// Symbol kinds (the argument of mainRSS14A).
constexpr int32_t kRssOmni = 1;
constexpr int32_t kRssTruncated = 2;
constexpr int32_t kRssStacked = 3;
constexpr int32_t kRssStackedOmni = 4;
constexpr int32_t kRssLimited = 5;
constexpr int32_t kRssExpanded = 6;

constexpr int32_t kRssDataSize = 2437;  // 2436 characters and the terminator
constexpr int32_t kRssDefaultSegments = 22;
constexpr int32_t kRssStackedSegments = 4;   // Expanded Stacked without an option
constexpr int32_t kRssMaxRowElements = 512;  // the separator between two rows of 20 segments
constexpr int32_t kRssMaxRows = 128;
constexpr int32_t kRssMaxFinders = 11;

struct RssParams {
    int32_t kind = kRssOmni;
    int32_t pixMult = 1;                     // pixels per module
    int32_t Xundercut = 0;                   // pixels taken from dark and given to light elements
    int32_t Yundercut = 0;                   // extra row ends after each row
    int32_t sepHt = 1;                       // separator height in modules
    int32_t segWidth = kRssDefaultSegments;  // Expanded: segments per row
    char data[kRssDataSize] = {};
};

struct PrintRow {
    int32_t elmCnt = 0;
    bool guards = false;    // one module of each colour before and after the elements
    int32_t height = 0;     // in pixels (modules x pixMult)
    bool whtFirst = false;  // the first written module is light
    bool reverse = false;   // elements written from the last to the first
    int32_t offset = 0;     // modules the row stands right of the symbol's left edge
    // The first element of each finder pattern (five elements) in the row, for
    // the separator next to it.
    int32_t finderCount = 0;
    int32_t finderAt[kRssMaxFinders] = {};
    uint8_t elements[kRssMaxRowElements] = {};
};

struct RssState {
    int32_t errFlag = 0;        // 1 after any encoding error of the current symbol
    int32_t linFlag = 0;        // 0 building a composite component, 1 building Expanded
    int32_t stackrows[8] = {};  // Expanded Stacked: [0] the rows of the composite part
    // The height in modules and the offset from the symbol's left edge of every
    // row written, top to bottom, beside the element list (which records
    // neither); rowCount counts the symbol rows (not the text row).
    int32_t rowCount = 0;
    int32_t rowHeight[kRssMaxRows] = {};
    int32_t rowOffset[kRssMaxRows] = {};
};
extern RssState gRss;
void resetDataBarState();

// The single entry of code type 37 (kinds 1 to 6). Returns errFlag: 0 built,
// 1 refused (the user has been told).
int32_t mainRSS14A(int32_t kind);
void setparams(RssParams* params);

// Appends one row to the element list (see the contract above).
void printElmnts(const RssParams& params, const PrintRow& row);
// Appends `width` module bytes of one colour.
void printEPSElm(int32_t width, bool dark);

// The widths of one DataBar character half: value-to-widths of ISO/IEC 24724.
// The array holds `elements` widths and is valid until the next call.
const int32_t* getRSSwidths(int32_t value, int32_t modules, int32_t elements, int32_t maxWidth,
                            int32_t noNarrow);
// n things taken r at a time.
int32_t combins(int32_t n, int32_t r);

// One group of character values of ISO/IEC 24724 (Limited and Expanded): its
// first value, odd and even module counts, widest odd and even element and the
// number of even-set combinations.
struct DataBarGroup {
    int32_t first;
    int32_t oddModules;
    int32_t evenModules;
    int32_t oddWidest;
    int32_t evenWidest;
    int32_t evenCombinations;
};
// The 2 x half widths of a character of `value` in the group it falls in, the
// odd set at the even places. `oddNoNarrow` is the odd set's noNarrow flag; the
// even set takes the other.
void dataBarCharWidths(std::span<const DataBarGroup> groups, int32_t value, int32_t half,
                       bool oddNoNarrow, uint8_t* out);

// The separator row between a linear row (with guards) and a composite component
// or another linear row: light where the row is dark and the other way round,
// single modules over the light parts of its finder patterns (row.finderAt),
// and 4 light modules at either end. Static storage, valid until the next call.
const PrintRow& cnvSeparator(const RssParams& params, const PrintRow& row);

// Reports a refusal of the current symbol: the text reaches the user and errFlag
// is set.
void rssRefuse(const char* text);

// The checks of a record cut at its '|', refused (false) with the message:
// linear data that is empty would be encoded as a made-up item number (the
// name says what it is, for example "its item number (up to 13 digits)"), and
// a '|' with nothing after it as an empty component (null: no '|').
bool linearPresent(const char* linear, const char* linearName);
constexpr const char* kItemNumber = "its item number (up to 13 digits)";
bool componentPresent(const char* component);

// The members of the family; each reads params.data, writes rows and sets
// errFlag.
void RSS14(RssParams& params);
void RSS14S(RssParams& params);
void RSS14SO(RssParams& params);
void RSSLim(RssParams& params);
void RSSExp(RssParams& params);
