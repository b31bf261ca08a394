// Label documents the command-line targets open: one barcode item on each
// label of a sheet of 2 by 3, its data plain, imported or asked at printing.
#pragma once

#include <cstdint>
#include <string>

#include "app/world.h"
#include "automation/options.h"
#include "labels/labelDoc.h"
#include "labels/labelFile.h"
#include "symbology/messages.h"
#include "symbology/state.h"

namespace fuzzing {

// How the item gets its data.
constexpr int32_t kProModePlain = 0, kProModeImport = 2, kProModePrintTime = 3;

// The sheet, in tenths of a point.
constexpr int32_t kDocAcross = 2, kDocDown = 3, kDocMargin = 300, kDocLabelWidth = 2500,
                  kDocLabelHeight = 2000, kDocGap = 100;

// Saves the document at `path`: its item of code type `type` holds `data` (the
// template of an import, which reads `importFile`); `question` is what a
// print-time item asks. False when it cannot be made.
inline bool saveOneItemDocument(const char* type, const std::string& data, int32_t proMode,
                                const std::string& question, const std::string& importFile,
                                const std::string& path) {
    resetWorld();
    resetMessages();
    gMsg.quiet = true;
    initLabelItems();
    labelBack.leftMargin = labelBack.topMargin = kDocMargin;
    labelBack.across = kDocAcross;
    labelBack.down = kDocDown;
    labelBack.spaceAcross = labelBack.spaceDown = kDocGap;
    labelBack.labelWidth = kDocLabelWidth;
    labelBack.labelHeight = kDocLabelHeight;
    if (addLabelItem() != 0 || parseCodeType(type) != 1) return false;
    gLabel.labelParts[0]->setI16(item::kind, kKindBarcode);
    gLabel.itRect = {40, 20, 160, 230};
    copyBounded(gData.chMainCode, data.c_str());
    copyBounded(gData.chMainCode2, data.c_str());
    gData.len1 = gData.len11 = 0;  // the data keeps its own length
    gLabel.serPos = proMode == kProModeImport ? data : "";
    gLabel.textQuest = question;
    gLabel.proMode = proMode;
    gLabel.notDrawn = 0;
    setItemRect(0);
    setItemData(0, 2);
    gDocFile.impoFile = importFile;
    const bool saved = saveDocumentTo(path) == 0;
    resetWorld();
    return saved;
}

}  // namespace fuzzing
