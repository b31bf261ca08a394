#include "labels/production.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "labels/importfile.h"
#include "labels/labelDoc.h"
#include "labels/serial.h"
#include "QRCode/QREncode.h"
#include "labels/datafields.h"
#include "symbology/info.h"
#include "symbology/messages.h"
#include "symbology/state.h"

ProductionSettings gProd;

void resetProduction() {
    gProd = ProductionSettings{};
    qrencode::gQROrigin = {};
}

int32_t productionEntryMode() { return gProd.background; }

namespace {

constexpr uint16_t kMsgSerialDataTooLong = 1303;
constexpr char kVT = 11;
constexpr char kAddOnMark = '|';
constexpr size_t kDataFieldMax = kLabelItemTextSize - 1;
constexpr int32_t kRunSerial = 1, kRunImport = 2;

LabelItem* runItem() { return gLabel.labelParts[0].get(); }

int32_t serialLast() { return gProd.gtlen - gProd.gelen - 1; }

// What follows the data in item 0's data text: VT, prefix, VT, suffix. A serial
// value keeps the item's own prefix and suffix, whichever item was loaded last.
std::string affixes(const LabelItem* it) {
    // The field's copy of the data never holds a VT: the first one starts the affixes.
    const std::string data = it->text(item::dataText);
    const size_t vt = data.find(kVT);
    return vt == std::string::npos ? std::string() : data.substr(vt);
}

void storeData(LabelItem* it, const char* data) {
    it->setText(item::dataText, data);
    it->longDataText.clear();
}

void storeAddOn(LabelItem* it, const char* addOn) {
    it->setText(item::addCode, addOn);
    it->longAddOn.clear();
    copyBounded(gData.chAddCode, addOn);
}

// The add-on counter form: the main data stays, the add-on counts in decimal,
// zero-padded to its own width. false once the count has passed its end.
bool advanceAddOnCounter(LabelItem* it) {
    const std::string next = nextAddOnCounter(it->text(item::addCode), gProd.gincr, gProd.gfini);
    if (next.empty()) return false;
    storeAddOn(it, next.c_str());
    return true;
}

// false once the run has passed its end: a label after it would repeat a
// number already written, so the positions left stay empty.
bool advanceSerial(LabelItem* it) {
    if (gProd.gaddn != 0) return advanceAddOnCounter(it);
    SerialNo(gProd.gstar, gProd.gfini, gProd.gincr, serialLast(), gProd.galpha, gProd.gcurr);
    if (gProd.gcurr[0] == 0) return false;
    const std::string data = gProd.gcurr + affixes(it);
    if (data.size() > kDataFieldMax) return true;  // refused before the first label
    storeData(it, data.c_str());
    it->setText(item::serPos, data);  // text items print this copy
    return true;
}

SheetRun advanceImport() {
    // The run's record count is reached: the next record stays unread.
    if (gProd.ghnum > 0 && gProd.gcite > gProd.ghnum) return SheetRun::done;
    bool ended = false;
    // A record that cannot be encoded has been reported, and a blank line is no
    // record: the next one takes its place.
    do {
        ended = GetImportItems() == 1;
    } while ((gProd.importRecordBad || importRecordBlank()) && !ended);
    if (ended && (importRecordBlank() || gProd.importRecordBad)) return SheetRun::done;
    buildImportData();
    // A last record without a record end still gets its label.
    return ended ? SheetRun::last : SheetRun::more;
}

}  // namespace

int32_t buildImportData() {
    LabelItem* it = runItem();
    if (!it) return 0;
    // Only a '|' of the template itself parts the data from the add-on: one
    // that a field brings is data (Code 128 and QR Code encode it).
    const std::string templ = it->text(item::serPos);
    const size_t bar = templ.find(kAddOnMark);
    char built[kImportBuiltSize];
    bool whole = GetImportBuilt(built, templ.substr(0, bar).c_str());
    if (bar != std::string::npos) {
        char addOn[kImportBuiltSize];
        whole = GetImportBuilt(addOn, templ.substr(bar + 1).c_str()) && whole;
        storeAddOn(it, addOn);
    }
    if (!whole) gProd.importRecordChanged = true;
    const auto length = static_cast<int32_t>(std::strlen(built));
    gData.len1 = gData.len11 = length;
    it->setU32(item::len1, static_cast<uint32_t>(length));
    storeData(it, built);
    return length;
}

int32_t sheetRunCheck() {
    const LabelItem* it = runItem();
    if (gProd.gcite == 0 || gProd.gemode != kRunSerial || gProd.gaddn != 0 || !it) return 0;
    char probe[kRunTextSize];
    copyBounded(probe, gProd.gcurr);
    if (SerialNo(gProd.gstar, gProd.gfini, gProd.gincr, serialLast(), gProd.galpha, probe) ==
        SerialStep::refused)
        return 1;
    // The values written are the counted ones, of the serial width, and the end text.
    const size_t width = gProd.gcurr[0] ? static_cast<size_t>(serialLast() + 1) : 0;
    const size_t value = std::max(width, it->text(item::serEnd).size());
    if (value + affixes(it).size() > kDataFieldMax) {
        Message(kMsgSerialDataTooLong);
        return 1;
    }
    return 0;
}

SheetRun sheetRunAdvance() {
    ++gProd.gcite;
    LabelItem* it = runItem();
    if (!it) return SheetRun::more;
    if (gProd.gemode == kRunSerial && !advanceSerial(it)) return SheetRun::done;
    if (gProd.gemode == kRunImport) return advanceImport();
    return SheetRun::more;
}

void sheetRunEndSheet() {
    // A record read now would be lost: the run reads it again for its next sheet.
    if (gProd.gemode == kRunImport) {
        ++gProd.gcite;
        return;
    }
    sheetRunAdvance();
}
