#include "picture/driverdata.h"

#include <algorithm>
#include <cstring>

#include "labels/importfile.h"
#include "labels/itemFields.h"
#include "labels/labelDoc.h"
#include "labels/labelFile.h"
#include "labels/printState.h"
#include "labels/production.h"
#include "QRCode/QREncode.h"
#include "labels/serial.h"
#include "picture/PICout2.h"
#include "picture/colours.h"
#include "picture/placedPictures.h"
#include "labels/datafields.h"
#include "platform/questions.h"
#include "symbology/Filters.h"
#include "symbology/messages.h"
#include "symbology/state.h"
#include "vector/page.h"

namespace {

constexpr char kAddOnMark = '|';
constexpr const char* kDefaultFieldName = "Default";
constexpr unsigned char kLogoLetter = 'L';
constexpr const char* kRepeatQuestion = "How Many";
constexpr int32_t kPlainTextSize = 10;  // customTeSize when unset
constexpr uint16_t kMsgImportNotOpened = 34;

// The first text or barcode item whose data comes from the import file; -1 when none does.
int32_t firstImportItem() {
    for (int32_t i = 0; i <= labelBack.lastItem && i < kMaxLabelItems; ++i) {
        const LabelItem* it = itemAt(i);
        if (!it) continue;
        const uint16_t kind = it->u16(item::kind);
        if ((kind == kKindText || kind == kKindBarcode) && getProMode(i) == kProModeImport)
            return i;
    }
    return -1;
}

// A text item's answer as typed: the separator filter and the add-on mark are
// a barcode's; the item's length only cuts it.
void fitTextItemData(const char* text) {
    size_t n = strnlen(text, kMainCodeSize - 1);
    if (gData.len1 > 0) n = std::min(n, static_cast<size_t>(gData.len1));
    std::memcpy(gData.chMainCode, text, n);
    gData.chMainCode[n] = 0;
    copyBounded(gData.chMainCode2, gData.chMainCode);
    gData.len1 = gData.len11 = static_cast<int32_t>(n);
}

// The item's data text with its prefix and suffix fields kept.
void storeDataText(LabelItem* it, const std::string& data) {
    it->setText(item::dataText, data + kVT + gData.chPrefix + kVT + gData.chSuffix);
    it->longDataText.clear();
}

}  // namespace

void fitItemData(const std::string& text) {
    const int32_t length = gData.len1;
    std::string main = text, addOn;
    if (const size_t bar = main.find(kAddOnMark); bar != std::string::npos) {
        addOn = main.substr(bar + 1);
        main.resize(bar);
    }
    Gettw(main.c_str(), static_cast<int32_t>(main.size()), addOn.c_str(),
          static_cast<int32_t>(addOn.size()));
    if (length > 0) {
        SetToLength(gData.chMainCode, static_cast<int32_t>(std::strlen(gData.chMainCode)),
                    std::min<int32_t>(length, kRunTextSize - 1));
        copyBounded(gData.chMainCode2, gData.chMainCode);
    }
    gData.len1 = gData.len11 = static_cast<int32_t>(std::strlen(gData.chMainCode));
}

void readPreviewImportRecord() {
    platform::FileRef file = 0;
    char recordEnd = 0;
    if (gDocFile.impoFile.empty() ||
        openImportFile(documentPath(gDocFile.impoFile), &file, &recordEnd) != platform::noErr)
        return;
    // Read through the run's channel without disturbing a run's own file.
    const platform::FileRef runFile = gProd.vimportRef;
    const int32_t separate = gProd.sepIm;
    gProd.vimportRef = file;
    gProd.sepIm = 0;
    GetImportItems();
    const bool foreign = qrencode::gQROrigin.foreignBytes;
    closeImportFile(file);
    qrencode::gQROrigin.foreignBytes = foreign;  // the preview draws this record
    gProd.vimportRef = runFile;
    gProd.sepIm = separate;
}

bool labelHasImportItem() { return firstImportItem() >= 0; }

bool readDocumentImportRecords(int32_t count, std::vector<ImportedRecord>* records) {
    records->clear();
    // The record's fields are split by the item's import mode, as a print run splits them.
    if (const int32_t first = firstImportItem(); first >= 0) getItemData(first);
    platform::FileRef file = 0;
    char recordEnd = 0;
    std::string why;
    if (gDocFile.impoFile.empty() || openImportFile(documentPath(gDocFile.impoFile), &file,
                                                    &recordEnd, &why) != platform::noErr) {
        MessageWith(kMsgImportNotOpened, why);
        return false;
    }
    const ProductionSettings keep = gProd;
    gProd.vimportRef = file;
    gProd.sepIm = 0;
    gProd.gfini[1] = recordEnd;
    gProd.importLine = 0;
    // Any message while a record is read means it is not the record the file holds.
    const int32_t shownBefore = gMsg.shown;
    bool ended = false;
    while (!ended && static_cast<int32_t>(records->size()) < count && gMsg.shown == shownBefore) {
        ended = GetImportItems() == 1;
        if (gMsg.shown != shownBefore || importRecordBlank()) continue;
        records->emplace_back();
        std::memcpy(records->back().fields, gProd.importItems, sizeof(ImportRecord));
        records->back().line = gProd.importLine;
        records->back().foreign = qrencode::gQROrigin.foreignBytes;
    }
    closeImportFile(file);
    gProd = keep;
    return gMsg.shown == shownBefore;
}

// A logo is a picture: it is held to the same size.
static_assert(kLogoMostBytes == kMostPictureBytes);

void fillPersonalField(int32_t i, uint16_t kind) {
    const std::string& name = gLabel.gItName;
    LabelItem* it = itemAt(i);
    if (name.empty() || name == kDefaultFieldName || !it) return;
    unsigned char pascalName[kFieldTextSize] = {};
    pascalName[0] = static_cast<unsigned char>(std::min<size_t>(name.size(), kFieldSlot - 1));
    std::memcpy(pascalName + 1, name.data(), pascalName[0]);
    unsigned char text[kFieldTextSize] = {};
    std::string logo;
    // Only a picture item takes the logo's bytes; others would read them for nothing.
    const bool picture = kind == kKindPicture;
    // A field that cannot be read, or is empty, leaves the item as it is rather
    // than blank it.
    if (!GetFieldData(pascalName, text, picture ? &logo : nullptr)) return;
    if (picture) {
        if (pascalName[1] != kLogoLetter || logo.empty()) return;
        it->dataHandle = logo;
        it->hasDataHandle = true;
        gLabel.externalH = logo;
        gLabel.hasExternalH = true;
        return;
    }
    if ((kind != kKindText && kind != kKindBarcode) || text[0] == 0) return;
    const std::string value(reinterpret_cast<const char*>(text + 1), text[0]);
    copyBounded(gData.chMainCode, value.c_str());
    copyBounded(gData.chMainCode2, value.c_str());
    storeDataText(it, value);
    gLabel.externalH = value;
    gLabel.hasExternalH = true;
    it->dataHandle = value;
    it->hasDataHandle = true;
    gData.len1 = gData.len11 = static_cast<int32_t>(value.size());
}

bool askPrintTime(int32_t i) {
    LabelItem* it = itemAt(i);
    if (!it) return true;
    if (gLabel.numRepeat == gLabel.tempNumRepeat) {
        const bool repeat = gDriver.askForRepeat == 1;
        char answer[kRunTextSize] = {};
        int32_t count = 0;
        if (gPrint.printTimeAnswer) {
            // A script answers every question alike; an empty answer would be
            // asked for again and again.
            copyBounded(answer, gPrint.printTimeAnswer->c_str());
            count = 1;
            if (answer[0] == 0) return false;
        }
        // An empty answer asks again; a cancel ends the job (it would ask forever).
        while (answer[0] == 0) {
            if (!platform::LibAnswerS(gLabel.textQuest.c_str(), answer, sizeof answer, "",
                                      repeat ? kRepeatQuestion : "", repeat, &count))
                return false;
        }
        if (repeat) gPrint.rnLabels = count;
        if (it->u16(item::kind) == kKindText)
            fitTextItemData(answer);
        else
            fitItemData(answer);
        storeDataText(it, gData.chMainCode);
    }
    if (gLabel.numRepeat > 1) {
        if (--gLabel.tempNumRepeat <= 0) gLabel.tempNumRepeat = gLabel.numRepeat;
        setTempNumRepeat(i);
    }
    return true;
}

bool plainTextSymbol() {
    // The same rule as the vector files': one height below which bars are not drawn.
    return setAsBarFontText();
}

void givePlainTextSize() {
    if (gSym.customTeSize == 0) gSym.customTeSize = kPlainTextSize;
}

int32_t plainTextWidth() {
    givePlainTextSize();
    int16_t font = 0;
    qd::GetFNum(gSym.fontBelow, &font);
    qd::TextFont(font);
    qd::TextFace(0);
    qd::TextSize(static_cast<int16_t>(gSym.customTeSize));
    return qd::TextWidth(gData.chMainCode, 0, static_cast<int32_t>(std::strlen(gData.chMainCode)));
}

void drawPlainTextSymbol(qd::Rect* r) {
    const int32_t width = plainTextWidth();
    *r = {r->top, r->left, r->top + gSym.customTeSize, r->left + width};
    if (gSym.transpar_ent == 0) {
        setBackColourInPict(gSym.cyan22, gSym.magenta22, gSym.yellow22, gSym.black22);
        qd::PaintRect(*r);
        qd::PenMode(qd::srcOr);
    }
    setColourInPict();
    qd::MoveTo(r->left, r->bottom);
    qd::DrawText(gData.chMainCode, 0, static_cast<int32_t>(std::strlen(gData.chMainCode)));
}

void previewImportData(int32_t i, bool label) {
    LabelItem* it = itemAt(i);
    if (!it) return;
    std::string text = gData.chMainCode;
    if (label) {
        const std::string templ = it->text(item::serPos);
        if (!gDocFile.impoFile.empty()) {
            char built[kImportBuiltSize] = {};
            GetImportBuilt(built, templ.c_str());
            text = built;
        } else {
            text = templ;
        }
        storeDataText(it, text);
    }
    fitItemData(text);
}
