#include "labels/labelDoc.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

#include "labels/channels.h"
#include "labels/itemFields.h"
#include "labels/labelFile.h"
#include "labels/preview.h"
#include "labels/production.h"
#include "labels/sheetTemplates.h"
#include "labels/units.h"
#include "platform/byteorder.h"
#include "platform/numbers.h"
#include "symbology/messages.h"
#include "symbology/state.h"

LabelSheet labelBack;
LabelSheet labelBack2;
LabelSheet labelBack3;
LabelSheet labelBackClip;
LabelSheet labelBackUndo;
LabelDesc labelDesc;
LabelDocument gLabel;

namespace {

constexpr uint16_t kMsgSheetEmpty = 1450;
constexpr uint16_t kMsgSheetTooSmall = 1451;
constexpr uint16_t kMsgSheetTooManyLabels = 1452;
constexpr uint16_t kMsgLabelSizeDamaged = 1456;
// The sheet setup's words for the same faults: its sheet is no document's yet.
constexpr uint16_t kMsgSetupSheetTooSmall = 1457;
constexpr uint16_t kMsgSetupTooManyLabels = 1458;
constexpr uint16_t kMsgSetupRowTooLong = 1459;
// A sheet of single symbols about to be written.
constexpr uint16_t kMsgSymbolSheetTooLarge = 1462;
constexpr uint16_t kMsgSymbolSheetTooManyLabels = 1463;
// The largest page PDF allows, 200 inches: without a stored sheet size nothing
// else bounds a label or a row of labels.
constexpr double kMostPageTenths = 144000;
// Lengths from the sheet set-up are rounded on their way through millimetres: a
// row of labels may pass the paper's edge by that much.
constexpr double kFitSlackTenths = 30;  // about a millimetre
constexpr double kTenthsPerMm = 7200.0 / 254.0;

// The length of `count` labels of `size` with `gap` between them, after `margin`.
double rowLength(uint32_t margin, uint32_t count, uint32_t size, uint32_t gap) {
    return double(margin) + double(count) * size + double(count - 1) * gap;
}

std::string mmText(double tenths) { return platform::formatC("%.1f", tenths / kTenthsPerMm); }

constexpr int32_t kMessageNoMemory = 30;
constexpr int32_t kMessageTooManyItems = 31;
constexpr uint16_t kTempRepeatKeep = 0x7F;  // bits 0-6 of offset 46

using platform::kNativeOrder;

uint32_t scaled(uint32_t v, bool up) {
    if (!up) return v / kSheetCopyScale;
    const uint64_t p = uint64_t{v} * kSheetCopyScale;
    return p > std::numeric_limits<uint32_t>::max() ? std::numeric_limits<uint32_t>::max()
                                                    : static_cast<uint32_t>(p);
}

LabelSheet scaledSheet(const LabelSheet& s, bool up) {
    LabelSheet r = s;
    for (uint32_t LabelSheet::*f : kSheetCopyScaledWords) r.*f = scaled(s.*f, up);
    return r;
}

}  // namespace

uint16_t LabelItem::u16(size_t off) const {
    return platform::get16(rec.data() + off, kNativeOrder);
}
uint32_t LabelItem::u32(size_t off) const {
    return platform::get32(rec.data() + off, kNativeOrder);
}
void LabelItem::setI16(size_t off, int32_t v) {
    platform::put16(rec.data() + off, static_cast<uint16_t>(v), kNativeOrder);
}
void LabelItem::setU32(size_t off, uint32_t v) {
    platform::put32(rec.data() + off, v, kNativeOrder);
}
void LabelItem::clearBeside() {
    dataHandle.clear();
    hasDataHandle = false;
    taggedBlock.clear();
    longDataText.clear();
    longAddOn.clear();
    for (auto& b : extraBlocks) b.clear();
}

std::string LabelItem::text(size_t off) const {
    const char* p = reinterpret_cast<const char*>(rec.data() + off);
    return std::string(p, strnlen(p, kLabelItemTextSize));
}
void LabelItem::setText(size_t off, std::string_view s) {
    size_t n = s.size() < kLabelItemTextSize - 1 ? s.size() : kLabelItemTextSize - 1;
    std::memcpy(rec.data() + off, s.data(), n);
    std::memset(rec.data() + off + n, 0, kLabelItemTextSize - n);
}

bool isPictureKind(uint16_t kind) { return kind == kKindPicture || kind == kKindBackground; }

bool isShapeKind(uint16_t kind) { return kind >= kKindRect && kind <= kKindLine; }

int32_t shapeTransparency(uint16_t kind) {
    switch (kind) {
        case kKindRect:
        case kKindOval:
        case kKindRoundRect:
            return 1;
        case kKindRectFilled:
        case kKindOvalFilled:
        case kKindRoundRectFilled:
            return 0;
        default:
            return -1;
    }
}

LabelSheet sheetToCopy(const LabelSheet& s) { return scaledSheet(s, true); }
LabelSheet sheetFromCopy(const LabelSheet& s) { return scaledSheet(s, false); }

bool labelLayoutOpen() { return labelBack.labelWidth != 0; }

void initLabelItems() {
    labelBack = LabelSheet{};
    labelBack.leftMargin = 162;
    labelBack.topMargin = 389;
    labelBack.across = 2;
    labelBack.down = 8;
    labelBack.labelHeight = 960;
    labelBack.backRed = labelBack.backGreen = labelBack.backBlue = 65535;
    labelBack.lastItem = -1;
    labelBackClip.lastItem = -1;
    for (auto& p : gLabel.labelParts) p.reset();
    forgetPreviewRefusals();
}

void killLabelItems() {
    // Each record owns its data handle and blocks; freeing the record frees them.
    for (auto& p : gLabel.labelParts) p.reset();
    labelBack.lastItem = -1;
    emptyUndoCopy();
    forgetPreviewRefusals();
}

void emptyUndoCopy() {
    for (auto& p : gLabel.labelUndo) p.reset();
    labelBackUndo = LabelSheet{};
}

namespace {

// A batch makes one item a record and drops it at the next reset: the last one
// dropped is emptied and serves again, its texts keeping their storage.
std::unique_ptr<LabelItem> gSpareItem;

std::unique_ptr<LabelItem> newLabelItem() {
    if (gSpareItem) {
        gSpareItem->rec.fill(0);
        gSpareItem->clearBeside();
        return std::move(gSpareItem);
    }
    return std::unique_ptr<LabelItem>(new (std::nothrow) LabelItem());
}

}  // namespace

int32_t addLabelItem() {
    if (labelBack.lastItem + 1 >= kMaxLabelItems) {
        Message(kMessageTooManyItems);
        return 1;
    }
    const int16_t last = labelBack.lastItem;
    ++labelBack.lastItem;
    auto& p = gLabel.labelParts[static_cast<size_t>(labelBack.lastItem)];
    p = newLabelItem();
    if (!p) {
        labelBack.lastItem = last;
        Message(kMessageNoMemory);
        return 1;
    }
    clearItemData(labelBack.lastItem);
    return 0;
}

int32_t PasteLabelItem() { return addLabelItem(); }

void clearItemData(int32_t index) {
    LabelItem* it = itemAt(index);
    if (!it) return;
    const uint16_t kind = it->u16(item::kind);
    const bool barcode = kind == kKindBarcode;
    it->rec.fill(0);
    it->setI16(item::kind, kind);
    it->setI16(item::siz, gSym.Siz == 0 ? 100 : clampedWord(gSym.Siz, 0, 0xFFFF));
    it->setI16(item::hei, gSym.Hei == 0 ? 26 : clampedWord(gSym.Hei, 0, 0x7FFF));
    it->setI16(item::customTeSize, barcode ? 0 : 12);
    it->setI16(item::humanPacked, 1);
    it->setI16(item::black2, 100);
    it->setI16(item::nonLight, 1);
    it->setI16(item::flushPacked, 1);
    if (barcode) {
        it->setU32(item::len1, 12);
        gData.len1 = 12;
        gData.len11 = 12;
        unsigned char font[256];
        pstrSet(font, "Strixel");
        it->setText(item::fontAbove, pascalText(font));
        it->setText(item::fontBelow, pascalText(font));
        it->setText(item::defFont, pascalText(font));
    } else {
        it->setU32(item::len1, static_cast<uint32_t>(gData.len1));
        it->setText(item::fontBelow, pascalText(gSym.gHelvetica));
    }
    it->setText(item::dataText, kSampleData);
    it->clearBeside();
}

void getItemRect(int32_t index) {
    LabelItem* it = itemAt(index);
    if (!it) return;
    gLabel.itRect = {it->i16(item::rectTop), it->i16(item::rectLeft), it->i16(item::rectBottom),
                     it->i16(item::rectRight)};
}

int32_t getProMode(int32_t index) {
    LabelItem* it = itemAt(index);
    return it ? it->u16(item::humanPacked) / 2 : 0;
}

void setTempNumRepeat(int32_t index) {
    LabelItem* it = itemAt(index);
    if (!it) return;
    const int32_t repeat = clampedInt(gLabel.tempNumRepeat, 0, kRepeatMax);
    it->setI16(item::attTopPacked, (it->u16(item::attTopPacked) & kTempRepeatKeep) + 128 * repeat);
}

void setItemRect(int32_t index) {
    LabelItem* it = itemAt(index);
    if (!it) return;
    Rect16 old{it->i16(item::rectTop), it->i16(item::rectLeft), it->i16(item::rectBottom),
               it->i16(item::rectRight)};
    Disp2InvalRect(kInvalidateSelection, old);
    it->setI16(item::rectTop, gLabel.itRect.top);
    it->setI16(item::rectLeft, gLabel.itRect.left);
    it->setI16(item::rectBottom, gLabel.itRect.bottom);
    it->setI16(item::rectRight, gLabel.itRect.right);
    Disp2InvalRect(kInvalidateSelection, gLabel.itRect);
}

namespace {

// Every selected item, or every item when no label layout is open.
template <typename F>
void forSelectedItems(F apply) {
    for (int32_t i = 0; i <= labelBack.lastItem; ++i) {
        LabelItem* it = itemAt(i);
        if (!it) continue;
        if (!labelLayoutOpen() || it->i16(item::selected) == 1) apply(i);
    }
}

}  // namespace

void setItemDataSelItems(int32_t mode) {
    forSelectedItems([mode](int32_t i) { setItemData(i, mode); });
}

void setSpotColourSelItems() { forSelectedItems(setItemSpotColour); }

size_t spotNameRoomSelItems() {
    size_t room = spotNameRoom(pascalBytes(gSym.fontAbove));
    forSelectedItems([&room](int32_t i) {
        std::string font = itemAt(i)->text(item::fontAbove);
        if (const size_t vt = font.find(kVT, 1); vt != std::string::npos) font.resize(vt);
        room = std::min(room, spotNameRoom(font));
    });
    return room;
}

void setItemRectSelItems() {
    forSelectedItems([](int32_t i) { setItemRect(i); });
}

void addNewCode() {
    if (labelLayoutOpen()) return;
    killLabelItems();
    if (addLabelItem() != 0) return;
    LabelItem* it = itemAt(labelBack.lastItem);
    it->setI16(item::selected, 1);
    it->setI16(item::kind, kKindBarcode);
}

void useTypedData() {
    gLabel.serPos.clear();
    gLabel.proMode = kProModePlain;
}

void resetLabelDocument() {
    if (!gSpareItem) gSpareItem = std::move(gLabel.labelParts[0]);
    labelBack = LabelSheet{};
    labelBack2 = LabelSheet{};
    labelBack3 = LabelSheet{};
    labelBackClip = LabelSheet{};
    labelBackUndo = LabelSheet{};
    labelDesc = LabelDesc{};
    // Item by item: a batch's reset visits 300 slots, most of them empty, and
    // builds no second document to move in.
    static_cast<LabelDocumentState&>(gLabel) = LabelDocumentState{};
    for (LabelItemList* list : {&gLabel.labelParts, &gLabel.labelClip, &gLabel.labelUndo})
        for (auto& item : *list)
            if (item) item.reset();
    gDocFile = DocumentFileState{};
    gSheetSetup = SheetSetupState{};
    resetChannels();
    resetUnits();
    forgetPreviewRefusals();
}

namespace {

// A length beyond the largest page where no sheet size bounds it.
bool pastLargestPage(double tenths, uint32_t sheetSize) {
    return sheetSize == 0 && tenths > kMostPageTenths;
}

}  // namespace

uint16_t sheetFault(const LabelSheet& s, std::string* detail) {
    if (s.labelWidth == 0) return 0;  // single-code mode
    if (s.labelHeight == 0 || pastLargestPage(s.labelWidth, s.sheetWidth) ||
        pastLargestPage(s.labelHeight, s.sheetHeight)) {
        *detail = "a label of " + mmText(s.labelWidth) + " x " + mmText(s.labelHeight) + " mm";
        return kMsgLabelSizeDamaged;
    }
    const uint32_t across = s.across % kGutterModulus, down = s.down % kGutterModulus;
    if (across == 0 || down == 0) return 0;  // nothing to lay out; a run refuses it
    double width = rowLength(s.leftMargin, across, s.labelWidth, s.spaceAcross);
    width += gutterBetweenColumns(s);
    const double height = rowLength(s.topMargin, down, s.labelHeight, s.spaceDown);
    if (pastLargestPage(width, s.sheetWidth) || pastLargestPage(height, s.sheetHeight)) {
        *detail = std::to_string(across) + " x " + std::to_string(down) + " labels need " +
                  mmText(width) + " x " + mmText(height) + " mm";
        return kMsgLabelSizeDamaged;
    }
    const bool wide = s.sheetWidth != 0 && width > s.sheetWidth + kFitSlackTenths;
    const bool tall = s.sheetHeight != 0 && height > s.sheetHeight + kFitSlackTenths;
    if (!wide && !tall) {
        if (int64_t{across} * down <= kMostLabelPositions) return 0;
        *detail = std::to_string(across) + " x " + std::to_string(down) + " labels";
        return kMsgSheetTooManyLabels;
    }
    *detail = "the sheet is " + mmText(s.sheetWidth) + " x " + mmText(s.sheetHeight) + " mm; its " +
              std::to_string(across) + " x " + std::to_string(down) + " labels need " +
              mmText(width) + " x " + mmText(height) + " mm";
    return kMsgSheetTooSmall;
}

uint16_t sheetFaultForSetup(const LabelSheet& s, std::string* detail) {
    switch (const uint16_t fault = sheetFault(s, detail)) {
        case kMsgSheetTooSmall:
            return kMsgSetupSheetTooSmall;
        case kMsgSheetTooManyLabels:
            return kMsgSetupTooManyLabels;
        case kMsgLabelSizeDamaged:
            return kMsgSetupRowTooLong;
        default:
            return fault;
    }
}

uint16_t symbolSheetFault(const LabelSheet& copy, std::string* detail) {
    if (copy.labelWidth == 0) return 0;  // a single symbol
    const uint32_t across = copy.across % kGutterModulus, down = copy.down % kGutterModulus;
    if (across == 0 || down == 0) return 0;
    // In tenths of a point, the copy's fractions kept: it is written as it is.
    auto tenths = [&](uint32_t LabelSheet::*word) { return double(copy.*word) / kSheetCopyScale; };
    const double width =
        tenths(&LabelSheet::leftMargin) + across * tenths(&LabelSheet::labelWidth) +
        (across - 1) * tenths(&LabelSheet::spaceAcross) + gutterBetweenColumns(copy);
    const double height = tenths(&LabelSheet::topMargin) + down * tenths(&LabelSheet::labelHeight) +
                          (down - 1) * tenths(&LabelSheet::spaceDown);
    // The page grows to hold the labels; a sheet stored without a size is A4.
    const bool sized = copy.sheetWidth != 0 && copy.sheetHeight != 0;
    const double pageW = std::max(width, sized ? tenths(&LabelSheet::sheetWidth) : 0);
    const double pageH = std::max(height, sized ? tenths(&LabelSheet::sheetHeight) : 0);
    if (pageW > kMostPageTenths || pageH > kMostPageTenths) {
        *detail = std::to_string(across) + " x " + std::to_string(down) + " labels on a page of " +
                  mmText(pageW) + " x " + mmText(pageH) + " mm";
        return kMsgSymbolSheetTooLarge;
    }
    if (int64_t{across} * down <= kMostLabelPositions) return 0;
    *detail = std::to_string(across) + " x " + std::to_string(down) + " labels";
    return kMsgSymbolSheetTooManyLabels;
}

uint16_t emptySheetFault(const LabelSheet& s, std::string* detail) {
    const uint32_t across = s.across % kGutterModulus, down = s.down % kGutterModulus;
    if (across != 0 && down != 0) return 0;
    *detail = std::to_string(across) + " across, " + std::to_string(down) + " down";
    return kMsgSheetEmpty;
}
