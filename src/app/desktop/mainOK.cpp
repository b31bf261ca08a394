// The main window's OK: the pane's fields into the data buffers, the single
// item made or the selected items updated, and the production run started.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/desktop/eventLoop.h"
#include "app/desktop/mainWindow.h"
#include "labels/importfile.h"
#include "labels/labelDoc.h"
#include "labels/preview.h"
#include "labels/production.h"
#include "labels/runs/ProcessBarcodes.h"
#include "labels/runs/itemOps.h"
#include "labels/serial.h"
#include "picture/PICout2.h"
#include "picture/outputstate.h"
#include "platform/questions.h"
#include "symbology/Filters.h"
#include "symbology/info.h"
#include "symbology/messages.h"
#include "symbology/panels.h"
#include "symbology/state.h"

namespace {

constexpr uint16_t kMsgDataTooLong = 1470;
constexpr uint16_t kMsgAddOnTooLong = 1471;
constexpr int32_t kHeadTextCode = 0, kHeadTextVariant = 11;
constexpr const char* kHeadTextQuestion = "Enter text for above?";
constexpr int32_t kStoreAll = 2;
constexpr int32_t kPrefixField = 6, kSuffixField = 7, kLengthField = 3;
constexpr size_t kMostQuestion = 127;
constexpr int32_t kFieldRead = 254;
constexpr int32_t kProSerial = 1, kProImport = 2, kProManual = 3;

void emptyField(platform::TERec* te) { platform::TESetText("", 0, te); }

void affix(int32_t field, char* destination) {
    const std::string& t = gPanels.TEBack1[field].text;
    GetAnyField(t.c_str(), static_cast<int32_t>(std::min<size_t>(t.size(), kFieldRead)),
                destination);
}

// A whole number at the start of a field's text (0 for none).
int32_t fieldNumber(const platform::TERec& te) {
    return static_cast<int32_t>(std::strtol(te.text.c_str(), nullptr, 10));
}

}  // namespace

bool getTextData() {
    const std::string& data = gPanels.TEH.text;
    const std::string& addOn = gPanels.TEX.text;
    // The buffers keep their sizes; what does not fit is refused, never cut.
    if (data.size() >= kMainCodeSize) {
        Message(kMsgDataTooLong);
        return false;
    }
    if (addOn.size() >= kAddCodeSize) {
        Message(kMsgAddOnTooLong);
        return false;
    }
    Gettw(data.c_str(), static_cast<int32_t>(data.size()), addOn.c_str(),
          static_cast<int32_t>(addOn.size()));
    switch (gProd.background) {
        case 0:
            useTypedData();
            break;
        case 1: {
            affix(kPrefixField, gData.chPrefix);
            affix(kSuffixField, gData.chSuffix);
            int32_t length = 0;
            char start[kRunTextSize], end[kRunTextSize], increment[kRunTextSize],
                current[kRunTextSize];
            start[0] = end[0] = increment[0] = current[0] = 0;
            // Refused (the user has been told): the item keeps its last good count.
            if (GetSerialText(&length, start, end, increment, current) != 0) return false;
            gLabel.serPos = start;
            gLabel.serEnd = end;
            gLabel.incAmount = increment;
            gData.len1 = length;
            gLabel.proMode = kProSerial;
            break;
        }
        case 2: {
            gLabel.proMode = kProImport;
            ImportSettings s;
            GetImportText(&s);
            // The run builds each record's data from the template the item keeps.
            gLabel.serPos = s.templateText;
            gData.len1 = s.length;
            break;
        }
        case 5:
            gLabel.serPos.clear();
            gLabel.proMode = kProManual;
            GetManualEntry();
            break;
        default:
            break;
    }
    return true;
}

void GetManualEntry() {
    const std::string& question = gPanels.TEBack5[0].text;
    if (!question.empty()) gLabel.textQuest = question.substr(0, kMostQuestion);
    if (!gPanels.TEBack5[1].text.empty()) {
        gLabel.numRepeat = fieldNumber(gPanels.TEBack5[1]);
        if (gLabel.numRepeat > 0) gLabel.tempNumRepeat = gLabel.numRepeat;
    }
    const platform::TERec& length = gPanels.TEBack1[kLengthField];
    if (length.text.empty()) return;
    const int32_t n = fieldNumber(length);
    if (n < 1) {
        gData.len1 = gData.len11 = 0;
        return;
    }
    // The cut stays inside the buffers whatever the field says.
    const int32_t cut = std::min<int32_t>(n, static_cast<int32_t>(kMainCodeSize) - 1);
    gData.len1 = gData.len11 = cut;
    gData.chMainCode[cut] = 0;
    gData.chMainCode2[cut] = 0;
}

void doOKButton() {
    const int32_t bg = gProd.background;
    if (bg == 1) emptyField(&gPanels.TEH);
    if (bg == 0) {
        if (gSym.code == kHeadTextCode && gSym.variation1 == kHeadTextVariant) {
            char answer[kHeadCodeSize] = {};
            platform::LibAnswerS(kHeadTextQuestion, answer, sizeof answer);
            copyBounded(gData.chHeadCode, answer);
            gData.len3 = static_cast<int32_t>(std::strlen(gData.chHeadCode));
        }
        for (int32_t i = 0; i < 3; ++i) emptyField(&gPanels.TEBack1[i]);
    }
    if (bg != 0) gPictOut.sameFile = 0;
    Rect16 preview;
    if (gWindows.disp2) {
        const qd::Rect r = gWindows.disp2->portRect;
        preview = {static_cast<int16_t>(r.top), static_cast<int16_t>(r.left),
                   static_cast<int16_t>(r.bottom), static_cast<int16_t>(r.right)};
    }
    mirrorNumberFields(true);
    if (!getTextData()) return;
    const int32_t saved = gData.len1;
    addNewCode();
    gData.len11 = gData.len1 = saved;
    // What OK changes in the selected items is undone on its own.
    UndoPoint before;
    setItemDataSelItems(kStoreAll);
    before.keepIfChanged();
    if (gWindows.disp2) Disp2InvalRect(0, preview);
    if (labelBack.labelWidth != 0) return;
    // A single symbol's add-on that its type cannot carry is refused, told once by
    // this OK, as the command line refuses it; previews and runs still drop it.
    gDispatch.refuseStrayAddOn = bg == 0;
    ProcessBarcodes();
    gDispatch.refuseStrayAddOn = false;
    if (bg == 0 && gProd.runFaults != 0 && gWindows.disp2 && mainWindowHooks().dropPreview)
        mainWindowHooks().dropPreview();
    // Without "deliver at once" the symbol waits in the preview for its click.
    if (gOut.showDia == 0 && gDriver.disp2 && gProd.runFaults == 0 && mainWindowHooks().showPreview)
        mainWindowHooks().showPreview();
}
