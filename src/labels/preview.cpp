#include "labels/preview.h"

#include <cstring>
#include <map>
#include <string>

#include "labels/itemFields.h"
#include "labels/labelDoc.h"
#include "symbology/host.h"
#include "symbology/messages.h"
#include "symbology/state.h"

PreviewHooks gPreviewHooks;

namespace {

constexpr size_t kRectBytes = 4 * sizeof(int16_t);
constexpr size_t kSelectedBytes = sizeof(int16_t);

// What each refused item was drawn from, by index; the key of the item being drawn.
std::map<int32_t, std::string> gRefused;
std::string gDrawing;

void appendField(std::string* key, std::string_view field) {
    *key += std::to_string(field.size());
    *key += ':';
    *key += field;
}

// The item as the preview encodes it: its record and what it keeps beside it,
// and the data loaded from them (an import item's record, a serial item's
// number). Where it lies and whether it is selected change nothing drawn.
std::string drawnFrom(const LabelItem& it) {
    std::string key(reinterpret_cast<const char*>(it.rec.data()), it.rec.size());
    std::memset(key.data() + item::rectTop, 0, kRectBytes);
    std::memset(key.data() + item::selected, 0, kSelectedBytes);
    for (const std::string* beside :
         {&it.dataHandle, &it.taggedBlock, &it.longDataText, &it.longAddOn, &it.extraBlocks[0],
          &it.extraBlocks[1], &it.extraBlocks[2]})
        appendField(&key, *beside);
    for (const char* loaded :
         {gData.chMainCode, gData.chAddCode, gData.chHeadCode, gData.chPrefix, gData.chSuffix})
        appendField(&key, loaded);
    return key;
}

}  // namespace

bool previewRefusalTold(int32_t index) {
    const LabelItem* it = itemAt(index);
    gDrawing = it ? drawnFrom(*it) : std::string();
    const auto kept = gRefused.find(index);
    return kept != gRefused.end() && kept->second == gDrawing;
}

void notePreviewDrawing(int32_t index, bool refused) {
    if (refused)
        gRefused[index] = std::move(gDrawing);
    else
        gRefused.erase(index);
    gDrawing.clear();
}

bool previewLeftOut(int32_t index) {
    // Only barcodes are refused: another item in a refused one's slot was never one.
    const LabelItem* it = itemAt(index);
    return it && it->u16(item::kind) == kKindBarcode && gRefused.count(index) != 0;
}

void forgetPreviewRefusals() { gRefused.clear(); }

void Disp2InvalRect(int32_t mode, const Rect16& rect) {
    if (gPreviewHooks.invalRect) gPreviewHooks.invalRect(mode, rect);
}

void updateDisp() {
    // Without a preview the text has been shown on standard error when it was raised.
    if (gPreviewHooks.showError) gPreviewHooks.showError(gMsg.gerrorstr);
    gMsg.gerrorstr[0] = 0;
}

bool layoutPreviewShowsMessage() {
    return gPreviewHooks.messageStored && gPreviewHooks.messageStored();
}
