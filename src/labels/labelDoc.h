// The open label: its sheet geometry and up to 100 item records. A barcode item
// carries a packed copy of the symbol settings and data; drawing, printing and
// export load an item into the current settings first (getItemData).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "symbology/host.h"

// Lengths in tenths of a point; the working copy labelBack2 and the print copy
// labelBack3 hold them times 1000.
struct LabelSheet {
    uint32_t leftMargin = 0;
    uint32_t topMargin = 0;
    uint32_t across = 0;  // count modulo 1280; the word / 1280 is the extra gutter column
    uint32_t down = 0;    // count modulo 1280; the word / 1280 is the extra gutter width
    uint32_t spaceAcross = 0;
    uint32_t spaceDown = 0;
    uint32_t labelWidth = 0;  // 0: single-code mode, no label layout open
    uint32_t labelHeight = 0;
    uint16_t shapeVersion = 0;  // low byte shape, high byte format version; 0x200 extended
    uint16_t reserved1 = 0;
    uint32_t backRed = 0;
    uint32_t backGreen = 0;
    uint32_t backBlue = 0;
    int16_t lastItem = -1;  // index of the last item; -1 none
    uint16_t reserved2 = 0;
    uint32_t sheetWidth = 0;
    uint32_t sheetHeight = 0;
    bool operator==(const LabelSheet&) const = default;
};

constexpr uint16_t kExtendedFormat = 0x200;  // in shapeVersion: records carry their handles

// The layout window's view; its first 20 bytes go into the document file.
struct LabelDesc {
    int16_t zoom = 100;  // percent
    uint16_t reserved1 = 0;
    uint32_t hOffset = 32;  // view offsets in pixels; loading a document resets them to 32
    uint32_t vOffset = 32;
    uint16_t measType = 2;  // gMeasType when the document was saved
    uint16_t reserved2 = 0;
    uint16_t reserved3 = 0;
    uint16_t reserved4 = 0;
};

constexpr int kMaxLabelItems = 100;
constexpr size_t kLabelItemSize = 2144;
constexpr size_t kLabelItemOldSize =
    2128;  // files without kExtendedFormat lack the last four handles
constexpr size_t kLabelItemTextSize = 255;

// Byte offsets of the item record; the record is also the unit of the label
// document file, so the layout is a file format.
namespace item {
constexpr size_t kind = 0, rectTop = 2, rectLeft = 4, rectBottom = 6, rectRight = 8;
constexpr size_t insetAmount = 10, orientPacked = 12, code = 14, siz = 16, hei = 18;
constexpr size_t bWidthRed = 20, customTeSize = 22, line = 24, lModePacked = 26;
constexpr size_t cuHeiPacked = 28, hgauge = 30, humanPacked = 32, aboveHu = 34;
constexpr size_t checkPacked = 36, variation1 = 38, transparent = 40, ratioPacked = 42;
constexpr size_t hgaugeJ = 44, attTopPacked = 46, black2 = 48, cyan2 = 50, magenta2 = 52;
constexpr size_t yellow2 = 54, black22 = 56, cyan22 = 58, magenta22 = 60, yellow22 = 62;
constexpr size_t nonLight = 64, stripExtra = 66, flushPacked = 68, selected = 70;
constexpr size_t len1 = 72, len2 = 76, teFace = 80, teJust = 82;
constexpr size_t fontAbove = 84, fontBelow = 339, defFont = 594, dataText = 849;
constexpr size_t addCode = 1104, serPos = 1359, incAmount = 1614, serEnd = 1869;
constexpr size_t dataHandle = 2124, taggedHandle = 2128, extraHandles = 2132;
constexpr size_t firstText = fontAbove;  // texts run from here to the data handle
}  // namespace item

enum ItemKind : uint16_t {
    kKindText = 2,
    kKindPicture = 3,
    kKindBarcode = 4,
    kKindRect = 6,
    kKindRectFilled = 7,
    kKindOval = 8,
    kKindOvalFilled = 9,
    kKindRoundRect = 10,
    kKindRoundRectFilled = 11,
    kKindLine = 12,
    kKindBackground = 16,
};

// Kinds whose data handle is a picture and whose offset 18 marks the picture's source.
bool isPictureKind(uint16_t kind);
// Sources of a picture item (offset 18): a placed EPS file (folder in the add-on
// field, name in the data field) and an image file linked by the path in its
// data field. Any other value: the picture is the item's own data handle.
constexpr uint16_t kPostScriptPicture = 101;
constexpr uint16_t kLinkedImage = 116;
// Rectangles, ovals, rounded rectangles and lines.
bool isShapeKind(uint16_t kind);
// The transpar_ent a new shape takes from the tool that made it: the outline
// tools (6, 8, 10) 1, the filled ones (7, 9, 11) 0; -1 for any other kind.
int32_t shapeTransparency(uint16_t kind);

struct LabelItem {
    std::array<uint8_t, kLabelItemSize> rec{};
    // The handles at offsets 2124 to 2140 live beside the record in memory.
    std::string dataHandle;  // externalH: text of kinds 2 and 4, picture data of 3 and 16
    bool hasDataHandle = false;
    std::string taggedBlock;  // the tagged item block
    // A barcode's data that its 254-byte field cannot hold as it is (too long, or
    // holding a VT, the field's separator) and an add-on longer than its field are
    // kept whole here, so that storing an item never changes the data a symbol
    // encodes.
    std::string longDataText;
    std::string longAddOn;
    std::string extraBlocks[3];
    // Empties everything kept beside the record.
    void clearBeside();

    // Words in the record's own (native) byte order.
    int16_t i16(size_t off) const { return static_cast<int16_t>(u16(off)); }
    uint16_t u16(size_t off) const;
    uint32_t u32(size_t off) const;
    void setI16(size_t off, int32_t v);  // the low 16 bits
    void setU32(size_t off, uint32_t v);
    // A text field: up to its NUL, or to the field's end when it has none.
    std::string text(size_t off) const;
    // Cut to 254 bytes so that the field always keeps its NUL.
    void setText(size_t off, std::string_view s);
};

struct Rect16 {
    int16_t top = 0, left = 0, bottom = 0, right = 0;
};

using LabelItemList = std::array<std::unique_ptr<LabelItem>, kMaxLabelItems>;

// The document and the state of the item last loaded, beside the item lists.
// Data sources of a text or barcode item (its proMode).
constexpr int32_t kProModePlain = 0, kProModeSerial = 1, kProModeImport = 2, kProModePrintTime = 3;

struct LabelDocumentState {
    Rect16 gSelRect;        // the union of the selected items' rectangles after select-all
    int32_t curIteTyp = 0;  // kinds of the selected items: 1 barcode, 2 picture, 4 text, 8 other
    Rect16 itRect;
    int32_t iteTyp = 0;
    int32_t proMode =
        0;  // data source of the item last loaded: 0 plain, 1 serial, 2 import, 3 print time
    int32_t selected = 0;
    std::string gItName = "Default";
    std::string externalH;
    bool hasExternalH = false;
    // Item settings that live beside SymbolSettings.
    int32_t alpha = 0;
    int32_t sepImp = 0;
    int32_t impoMode = 0;
    int32_t notDrawn = 0;
    int32_t tempNumRepeat = 0;
    int32_t numRepeat = 0;
    std::string textQuest;
    std::string serPos;
    std::string incAmount;
    std::string serEnd;
};

struct LabelDocument : LabelDocumentState {
    LabelItemList labelParts;
    // The internal clipboard (counted by labelBackClip) and the undo copy
    // (labelBackUndo): items owned by value, data included.
    LabelItemList labelClip;
    LabelItemList labelUndo;
};

extern LabelSheet labelBack;
extern LabelSheet labelBack2;     // the sheet setup window's working copy, lengths x 1000
extern LabelSheet labelBack3;     // the print copy for a sheet of single symbols, lengths x 1000
extern LabelSheet labelBackClip;  // its last index counts the items of the internal clipboard
extern LabelSheet labelBackUndo;
extern LabelDesc labelDesc;
extern LabelDocument gLabel;

// The sheet's counts across and down; the stored words carry the gutter above
// kGutterModulus: the label columns before it in the across word, its width in
// tenths of a point in the down word.
constexpr uint32_t kGutterModulus = 1280;
inline int32_t sheetAcross() { return int32_t(labelBack.across % kGutterModulus); }
inline int32_t sheetDown() { return int32_t(labelBack.down % kGutterModulus); }
inline int32_t getGutterExtraCol() { return int32_t(labelBack.across / kGutterModulus); }
inline int32_t getGutterExtraWidth() { return int32_t(labelBack.down / kGutterModulus); }
// The extra gutter's width (tenths of a point) where it stands between label
// columns, its column above 0 and before the last; else 0, as the labels are
// placed.
inline uint32_t gutterBetweenColumns(const LabelSheet& s) {
    const uint32_t column = s.across / kGutterModulus, across = s.across % kGutterModulus;
    return column > 0 && column < across ? s.down / kGutterModulus : 0;
}

// A sheet is refused when it is opened rather than let a run write a file for
// each of millions of label positions.
constexpr int64_t kMostLabelPositions = 10000;
// Why a label sheet cannot be printed or exported: 0 when it can, else the
// message number, with *detail (the counts, or the sheet's size and what its
// labels need, in millimetres). A sheet without a label width (single-code mode)
// is not judged; a label without a height, or one or a row of them passing the
// largest page where no sheet size is stored, is a damaged document.
uint16_t sheetFault(const LabelSheet& s, std::string* detail);
// sheetFault for the sheet setup's OK, with the messages that speak of the sheet
// being set up rather than of a document being opened.
uint16_t sheetFaultForSetup(const LabelSheet& s, std::string* detail);
// Why a sheet of single symbols (the print copy, lengths x 1000) cannot be
// written: 0 when it can, else the message number with *detail. Its page,
// grown to hold every label, must stay within the largest page, its positions
// within kMostLabelPositions.
uint16_t symbolSheetFault(const LabelSheet& copy, std::string* detail);
// A sheet without a label across or down: message number and counts, else 0.
// Printing and the press export refuse it before writing anything.
uint16_t emptySheetFault(const LabelSheet& s, std::string* detail);

constexpr uint32_t kSheetCopyScale = 1000;  // labelBack2 and labelBack3 against labelBack
// The words the copies hold times kSheetCopyScale: every length. The counts with
// their gutters, the shape, the colour and the last index are held as they are.
inline constexpr uint32_t LabelSheet::*kSheetCopyScaledWords[] = {
    &LabelSheet::leftMargin, &LabelSheet::topMargin,   &LabelSheet::spaceAcross,
    &LabelSheet::spaceDown,  &LabelSheet::labelWidth,  &LabelSheet::labelHeight,
    &LabelSheet::sheetWidth, &LabelSheet::sheetHeight,
};
// The sheet with its lengths (margins, gaps, label and sheet sizes) multiplied or
// divided by kSheetCopyScale; counts, shape, colour and last index as they are.
// Products that would pass 32 bits stop at the largest word.
LabelSheet sheetToCopy(const LabelSheet& s);
LabelSheet sheetFromCopy(const LabelSheet& s);

void initLabelItems();
// Frees the document's items. The undo copy goes with them: it belongs to the
// document being dropped and must not come back into the next one.
void killLabelItems();
void emptyUndoCopy();
int32_t addLabelItem();    // 0 added, 1 refused (message shown)
int32_t PasteLabelItem();  // the same
void clearItemData(int32_t index);
void setItemData(int32_t index, int32_t mode);
void getItemData(int32_t index);
void getItemRect(int32_t index);
int32_t getProMode(int32_t index);
void setTempNumRepeat(int32_t index);  // tempNumRepeat into bits 7-15 of offset 46
void setItemRect(int32_t index);       // itRect becomes the item's rectangle
void setItemDataSelItems(int32_t mode);
// The spot colour's name (or none) into item `index`, its other texts kept.
void setItemSpotColour(int32_t index);
void setSpotColourSelItems();
// The longest spot colour name an item keeps beside the font name `font` (its
// length byte and name, as stored): the two share one text field, which would
// cut a longer name.
size_t spotNameRoom(std::string_view font);
// That room beside the current font and the font of every item the spot
// colour would go to, whichever is least.
size_t spotNameRoomSelItems();
void setItemRectSelItems();
void addNewCode();
// The single symbol takes the data typed or scanned into the main window: the
// serial counter or import template an earlier run left no longer stands in.
void useTypedData();

// The document, its sheet copies and view, the unit, and the numbered channels
// (closed).
void resetLabelDocument();
