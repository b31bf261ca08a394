#include "labels/runs/itemOps.h"

#include <algorithm>
#include <cctype>
#include <new>
#include <string>
#include <vector>

#include "labels/itemFields.h"
#include "labels/labelRecords.h"
#include "labels/preview.h"
#include "labels/production.h"
#include "picture/PICout2.h"
#include "platform/desktop.h"
#include "platform/quickdraw/pict.h"
#include "symbology/messages.h"
#include "symbology/panels.h"
#include "symbology/state.h"

namespace {

constexpr int32_t kMessageNoCopy = 32;
constexpr size_t kTextItemMost = 4096;
constexpr int32_t kLabelUnits = 10;  // tenths of a point
constexpr int32_t kPercent = 100;
constexpr int32_t kChannelMax = 65535;
constexpr int32_t kAlignHorizontal = 1, kAlignVertical = 2;

Rect16 rectOf(const LabelItem& it) {
    return {it.i16(item::rectTop), it.i16(item::rectLeft), it.i16(item::rectBottom),
            it.i16(item::rectRight)};
}

void setRect(LabelItem* it, const Rect16& r) {
    it->setI16(item::rectTop, r.top);
    it->setI16(item::rectLeft, r.left);
    it->setI16(item::rectBottom, r.bottom);
    it->setI16(item::rectRight, r.right);
}

void invalidate(const LabelItem& it) { Disp2InvalRect(kInvalidateSelection, rectOf(it)); }

bool isSelected(const LabelItem* it) { return it && it->i16(item::selected) == 1; }

// A deep copy of one item; null (after message 30's cousin, 32) when memory runs out.
std::unique_ptr<LabelItem> copyItem(const LabelItem& it) {
    std::unique_ptr<LabelItem> c(new (std::nothrow) LabelItem(it));
    if (!c) Message(kMessageNoCopy);
    return c;
}

void copyList(const LabelItemList& from, const LabelSheet& fromSheet, LabelItemList& to,
              LabelSheet& toSheet) {
    deleteAllItems(to, toSheet);
    toSheet = fromSheet;
    for (int32_t i = 0; i <= fromSheet.lastItem && i < kMaxLabelItems; ++i) {
        const auto& p = from[static_cast<size_t>(i)];
        if (p) to[static_cast<size_t>(i)] = copyItem(*p);
    }
}

// The layout window shows the label again.
void redrawLayout() {
    if (labelLayoutOpen() && gDriver.disp2) PICout2(0, 0, 0);
}

int32_t floorHalf(int32_t v) { return v >= 0 ? v / 2 : -((-v + 1) / 2); }

// The lowest slot an item may be sent to: above a background in slot 0.
int32_t bottomSlot() {
    const LabelItem* first = itemAt(0);
    return first && first->u16(item::kind) == kKindBackground ? 1 : 0;
}

}  // namespace

void deleteLabelItem(int32_t index) {
    LabelItem* it = itemAt(index);
    if (!it || index > labelBack.lastItem) return;
    invalidate(*it);
    auto& parts = gLabel.labelParts;
    const auto at = parts.begin() + index;
    std::rotate(at, at + 1, parts.begin() + labelBack.lastItem + 1);
    parts[static_cast<size_t>(labelBack.lastItem)].reset();
    --labelBack.lastItem;
}

void deleteSelectedItems() {
    for (int32_t i = labelBack.lastItem; i >= 0; --i)
        if (isSelected(itemAt(i))) deleteLabelItem(i);
}

void deleteAllItems(LabelItemList& list, LabelSheet& sheet) {
    for (auto& p : list) p.reset();
    sheet.lastItem = -1;
    // The loaded item's data is a copy of the document's: emptying the clipboard
    // or the undo copy must not take it.
    if (&list != &gLabel.labelParts) return;
    emptyUndoCopy();
    forgetPreviewRefusals();
    gLabel.externalH.clear();
    gLabel.hasExternalH = false;
    gLabel.curIteTyp = 0;
}

void selectLabelItem(int32_t flag, int32_t index) {
    LabelItem* it = itemAt(index);
    if (!it) return;
    it->setI16(item::selected, flag);
    invalidate(*it);
}

void selectAllItems(int32_t flag) {
    bool first = true;
    for (int32_t i = 0; i <= labelBack.lastItem; ++i) {
        LabelItem* it = itemAt(i);
        if (!it) continue;
        it->setI16(item::selected, flag);
        if (flag == 0 || it->u16(item::kind) == kKindBackground) continue;
        const Rect16 r = rectOf(*it);
        Rect16& u = gLabel.gSelRect;
        if (first) {
            u = r;
            first = false;
        } else {
            u = {std::min(u.top, r.top), std::min(u.left, r.left), std::max(u.bottom, r.bottom),
                 std::max(u.right, r.right)};
        }
    }
    gLabel.selected = flag;
}

int32_t allFlag() {
    for (int32_t i = 0; i <= labelBack.lastItem; ++i) {
        const LabelItem* it = itemAt(i);
        if (it && !isSelected(it)) return 0;
    }
    return 1;
}

int32_t searchItemTypes() {
    int32_t mask = 0;
    for (int32_t i = 0; i <= labelBack.lastItem; ++i) {
        const LabelItem* it = itemAt(i);
        if (!isSelected(it)) continue;
        switch (it->u16(item::kind)) {
            case kKindText:
                mask |= 4;
                break;
            case kKindPicture:
                mask |= 2;
                break;
            case kKindBarcode:
                mask |= 1;
                break;
            default:
                mask |= 8;
                break;
        }
    }
    if (mask == 0 && !labelLayoutOpen()) mask = 1;
    gLabel.curIteTyp = mask;
    return mask;
}

void alignSelectedItems(int32_t mode) {
    const auto W = static_cast<int32_t>(labelBack.labelWidth / kLabelUnits);
    const auto H = static_cast<int32_t>(labelBack.labelHeight / kLabelUnits);
    for (int32_t i = 0; i <= labelBack.lastItem; ++i) {
        LabelItem* it = itemAt(i);
        if (!isSelected(it)) continue;
        invalidate(*it);
        Rect16 r = rectOf(*it);
        auto word = [](int32_t v) {
            return static_cast<int16_t>(clampedInt(v, INT16_MIN, INT16_MAX));
        };
        if (mode & kAlignHorizontal) {
            const int32_t w = r.right - r.left;
            r.left = word(floorHalf(W - w));
            r.right = word(r.left + w);
        }
        if (mode & kAlignVertical) {
            const int32_t h = r.bottom - r.top;
            r.top = word(floorHalf(H - h));
            r.bottom = word(r.top + h);
        }
        setRect(it, r);
        invalidate(*it);
    }
}

void objToBottom(int32_t index) {
    const int32_t target = bottomSlot();
    if (!itemAt(index) || index <= target || index > labelBack.lastItem) return;
    auto& parts = gLabel.labelParts;
    std::rotate(parts.begin() + target, parts.begin() + index, parts.begin() + index + 1);
}

void putObjOnTop(int32_t index) {
    if (!itemAt(index) || index >= labelBack.lastItem) return;
    auto& parts = gLabel.labelParts;
    std::rotate(parts.begin() + index, parts.begin() + index + 1,
                parts.begin() + labelBack.lastItem + 1);
}

// Both walks look at the same slot again after a move, and stop before the
// items already moved, so the moved items keep their order among themselves.
void sendToBack() {
    const int32_t base = bottomSlot();
    int32_t moved = 0;
    for (int32_t i = labelBack.lastItem; i >= base + moved;) {
        LabelItem* it = itemAt(i);
        if (!isSelected(it)) {
            --i;
            continue;
        }
        invalidate(*it);
        objToBottom(i);
        ++moved;
    }
}

void bringToFront(int32_t) {
    int32_t moved = 0;
    for (int32_t i = 0; i <= labelBack.lastItem - moved;) {
        LabelItem* it = itemAt(i);
        if (!isSelected(it)) {
            ++i;
            continue;
        }
        invalidate(*it);
        putObjOnTop(i);
        ++moved;
    }
}

// The copy takes the whole record and everything the source keeps beside it:
// storing the loaded settings into a fresh record would reset a picture's source
// and natural size, and sharing the source's data would leave the copy with
// nothing once the source is deleted.
void duplicateLabelItem(int32_t index) {
    const LabelItem* src = itemAt(index);
    if (!src || addLabelItem() != 0) return;
    getItemData(index);
    auto copy = copyItem(*src);
    LabelItem* dst = itemAt(labelBack.lastItem);
    if (copy) {
        *dst = *copy;
    } else {
        dst->setI16(item::kind, src->u16(item::kind));
        setRect(dst, rectOf(*src));
    }
    dst->setI16(item::selected, 1);
    selectLabelItem(0, index);
    invalidate(*dst);
}

void duplicateLabelItems() {
    const int32_t last = labelBack.lastItem;
    for (int32_t i = 0; i <= last; ++i)
        if (isSelected(itemAt(i))) duplicateLabelItem(i);
}

void putOnClipboard() {
    deleteAllItems(gLabel.labelClip, labelBackClip);
    for (int32_t i = 0; i <= labelBack.lastItem; ++i) {
        const LabelItem* it = itemAt(i);
        if (!isSelected(it)) continue;
        auto copy = copyItem(*it);
        if (!copy) continue;
        gLabel.labelClip[static_cast<size_t>(++labelBackClip.lastItem)] = std::move(copy);
    }
}

void pasteObjs() {}

void CopyLabelItem(int32_t index) {
    const LabelItem* it = itemAt(index);
    if (!it) return;
    uint8_t rec[kLabelItemSize];
    encodeItemRecord(*it, platform::kNativeOrder, rec, kLabelItemSize);
    platform::ZeroScrap();
    platform::PutScrapFlavor("LABL", std::string(reinterpret_cast<const char*>(rec), sizeof rec));
    if (it->hasDataHandle) platform::PutScrapFlavor("EXTR", it->dataHandle);
    platform::UnloadScrap();
}

// Paste has no effect, so a cut is kept in the undo copy first.
void CutLabelItem(int32_t index) {
    if (!itemAt(index)) return;
    if (labelLayoutOpen()) putUndoBuffer();
    CopyLabelItem(index);
    deleteLabelItem(index);
}

void putPICTonClip(const qd::Picture* picture) {
    if (!picture) return;
    platform::ZeroScrap();
    platform::PutScrapPict(qd::WritePict(*picture));
    platform::UnloadScrap();
}

void putUndoBuffer() { copyList(gLabel.labelParts, labelBack, gLabel.labelUndo, labelBackUndo); }

bool anyItemSelected() {
    for (int32_t i = 0; i <= labelBack.lastItem; ++i)
        if (isSelected(itemAt(i))) return true;
    return false;
}

namespace {

// The same item but perhaps for its selection.
bool sameItem(const LabelItem& a, const LabelItem& b) {
    constexpr size_t kPastSelected = item::selected + sizeof(int16_t);
    const auto sameBytes = [&](size_t from, size_t to) {
        return std::equal(a.rec.begin() + from, a.rec.begin() + to, b.rec.begin() + from);
    };
    return sameBytes(0, item::selected) && sameBytes(kPastSelected, kLabelItemSize) &&
           a.hasDataHandle == b.hasDataHandle && a.dataHandle == b.dataHandle &&
           a.taggedBlock == b.taggedBlock && a.longDataText == b.longDataText &&
           a.longAddOn == b.longAddOn &&
           std::equal(std::begin(a.extraBlocks), std::end(a.extraBlocks),
                      std::begin(b.extraBlocks));
}

bool sameDocument(const LabelItemList& items, const LabelSheet& sheet) {
    if (!(sheet == labelBack)) return false;
    for (int32_t i = 0; i <= sheet.lastItem && i < kMaxLabelItems; ++i) {
        const LabelItem* kept = items[static_cast<size_t>(i)].get();
        const LabelItem* now = itemAt(i);
        if (!kept || !now ? kept != now : !sameItem(*kept, *now)) return false;
    }
    return true;
}

}  // namespace

UndoPoint::UndoPoint() { copyList(gLabel.labelParts, labelBack, items_, sheet_); }

void UndoPoint::keepIfChanged() {
    if (!labelLayoutOpen() || sameDocument(items_, sheet_)) return;
    std::swap(gLabel.labelUndo, items_);
    labelBackUndo = sheet_;
}

ItemOpsHooks gItemOpsHooks;

void doUndo() {
    if (!labelLayoutOpen() || labelBackUndo.lastItem < 0) return;
    std::swap(gLabel.labelParts, gLabel.labelUndo);
    std::swap(labelBack, labelBackUndo);
    // Any item of either state may have moved, and the sheet with them.
    Disp2InvalRect(kInvalidateWindow, Rect16{});
    if (gItemOpsHooks.selectionReplaced) gItemOpsHooks.selectionReplaced();
}

void setTextItems(const platform::TERec& field) {
    if (field.text.empty()) return;
    std::string data = field.text.substr(0, kTextItemMost);
    data.append(2, '\0');
    for (int32_t i = 0; i <= labelBack.lastItem; ++i) {
        LabelItem* it = itemAt(i);
        if (!isSelected(it) || it->u16(item::kind) != kKindText) continue;
        it->dataHandle = data;
        it->hasDataHandle = true;
        gLabel.externalH = data;
        gLabel.hasExternalH = true;
        invalidate(*it);
    }
    redrawLayout();
}

void setPictureItems(const qd::Picture* picture) {
    if (!picture) return;
    const std::string bytes = qd::WritePict(*picture);
    if (bytes.empty()) {
        Message(kMessageNoCopy);
        return;
    }
    for (int32_t i = 0; i <= labelBack.lastItem; ++i) {
        LabelItem* it = itemAt(i);
        if (!isSelected(it) || !isPictureKind(it->u16(item::kind))) continue;
        // The picture is the item's own now: a file it named before would
        // otherwise keep the saved document from carrying the picture.
        const uint16_t source = it->u16(item::hei);
        if (source == kLinkedImage || source == kPostScriptPicture) it->setI16(item::hei, 0);
        it->dataHandle = bytes;
        it->hasDataHandle = true;
        gLabel.externalH = bytes;
        gLabel.hasExternalH = true;
        invalidate(*it);
    }
}

void convertToCMYK(int32_t* c, int32_t* y, int32_t* m, int32_t* k, int32_t red, int32_t green,
                   int32_t blue) {
    auto percent = [](int32_t channel) {
        return static_cast<int32_t>(kPercent - channel * double{kPercent} / kChannelMax);
    };
    *c = percent(red);
    *m = percent(green);
    *y = percent(blue);
    *k = 0;
    if (*c == *m && *m == *y && *c != 0) {
        *k = *c;
        *c = *m = *y = 0;
    }
}

void setColourItems(int32_t update) {
    int32_t c = 0, y = 0, m = 0, k = 0;
    if (gLabel.curIteTyp != 0) {
        const bool fill = gPanels.colTab == 1;
        c = fill ? gSym.cyan22 : gSym.cyan2;
        m = fill ? gSym.magenta22 : gSym.magenta2;
        y = fill ? gSym.yellow22 : gSym.yellow2;
        k = fill ? gSym.black22 : gSym.black2;
    } else {
        convertToCMYK(&c, &y, &m, &k, static_cast<int32_t>(labelBack.backRed),
                      static_cast<int32_t>(labelBack.backGreen),
                      static_cast<int32_t>(labelBack.backBlue));
    }
    auto put = [](platform::TERec& field, int32_t v) {
        const std::string t = std::to_string(v);
        platform::TESetText(t.data(), static_cast<int32_t>(t.size()), &field);
    };
    put(gPanels.TEBlac, k);
    put(gPanels.TEYell, y);
    put(gPanels.TECyan, c);
    put(gPanels.TEMage, m);
    (void)update;  // the main window redraws its fields once it exists
}

void doCmdKeyDisp(char key) {
    const bool label = labelLayoutOpen();
    switch (std::toupper(static_cast<unsigned char>(key))) {
        case 'A':
            if (!label) return;
            putUndoBuffer();
            selectAllItems(allFlag() == 1 ? 0 : 1);
            break;
        // With nothing selected these change nothing: the last edit stays undoable.
        case 'B':
            if (!label || !anyItemSelected()) return;
            putUndoBuffer();
            sendToBack();
            break;
        // Copy and paste leave the document as it is, so they keep the undo copy:
        // after a cut, undo is the only way back.
        case 'C':
            putOnClipboard();
            break;
        case 'D':
            if (!label || !anyItemSelected()) return;
            putUndoBuffer();
            duplicateLabelItems();
            break;
        case 'F': {
            if (!label || !anyItemSelected()) return;
            putUndoBuffer();
            std::vector<int32_t> chosen;
            for (int32_t i = 0; i <= labelBack.lastItem; ++i)
                if (isSelected(itemAt(i))) chosen.push_back(i);
            for (int32_t i : chosen) bringToFront(i);
            break;
        }
        case 'V':
            pasteObjs();
            break;
        case 'X':
            if (label && anyItemSelected()) putUndoBuffer();
            putOnClipboard();
            deleteSelectedItems();
            break;
        case 'Z':
            if (label) doUndo();
            break;
        default:
            break;
    }
}
