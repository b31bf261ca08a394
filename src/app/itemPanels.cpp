#include "app/itemPanels.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "labels/labelDoc.h"
#include "symbology/appBits.h"
#include "symbology/panels.h"
#include "symbology/state.h"

namespace {

constexpr int32_t kProSerial = 1, kProImport = 2;
// The serial panel's fields by place, and the item panel's.
constexpr int kSerialStart = 0, kSerialEnd = 1, kSerialIncrement = 2, kSerialLength = 3,
              kSerialRepeat = 8;
constexpr int kImportLength = 6;
constexpr int kTextSize = 0, kInset = 13, kExtraMargin = 14;
constexpr int kItemText = 0, kItemTextSize = 1;  // TETe1

void put(platform::TERec& field, const std::string& text) {
    platform::TESetText(text.data(), static_cast<int32_t>(text.size()), &field);
}

std::string number(double v) {
    char s[32];
    std::snprintf(s, sizeof s, "%d", static_cast<int>(v));
    return s;
}

// The counter cut to the data length less the prefix and suffix.
std::string counter(const std::string& s) {
    const int32_t room = gData.len1 - static_cast<int32_t>(std::strlen(gData.chPrefix)) -
                         static_cast<int32_t>(std::strlen(gData.chSuffix));
    if (room <= 0) return {};
    return s.substr(0, static_cast<size_t>(room));
}

}  // namespace

void setPallitem(int32_t kind) {
    if (kind == kKindBarcode) GetCodeActualText();
    const bool runData = gLabel.proMode == kProSerial || gLabel.proMode == kProImport;
    put(gPanels.TEH, runData ? std::string() : std::string(gData.chMainCode));
    put(gPanels.TEX, gData.chAddCode);
    put(gPanels.TESize, number(gSym.Siz));
    put(gPanels.TEHeight, number(gSym.Hei));
    put(gPanels.TEBWR, std::to_string(gSym.BWidthRed));
    if (gLabel.proMode == kProSerial) {
        put(gPanels.TEBack1[kSerialStart], counter(gLabel.serPos));
        put(gPanels.TEBack1[kSerialIncrement], counter(gLabel.incAmount));
        put(gPanels.TEBack1[kSerialEnd], counter(gLabel.serEnd));
        put(gPanels.TEBack1[kSerialRepeat], std::to_string(gLabel.numRepeat));
    } else {
        for (int f : {kSerialStart, kSerialIncrement, kSerialEnd}) put(gPanels.TEBack1[f], "");
        put(gPanels.TEBack1[kSerialRepeat], "0");
    }
    put(gPanels.TEBack1[kSerialLength], std::to_string(gData.len1));
    put(gPanels.TEBack2[kImportLength], std::to_string(gData.len1));
    put(gPanels.TEBack3[kInset], std::to_string(gSym.insetAmount));
    put(gPanels.TEBack3[kExtraMargin], std::to_string(gSym.extraMargin));
    put(gPanels.TEBack3[kTextSize],
        gSym.customTeSize == 0 ? std::string("auto") : std::to_string(gSym.customTeSize));
}

void setPallText() {
    // The item's data ends in NULs; the field holds the words alone. A field
    // left with another item's words would give them to this one at the first key.
    const std::string& data = gLabel.externalH;
    const std::string words = gLabel.hasExternalH ? data.substr(0, data.find('\0')) : std::string();
    // A field already showing the words keeps its selection (a new item's one
    // space stays selected, so that the first key replaces it).
    if (gPanels.TETe1[kItemText].text != words) put(gPanels.TETe1[kItemText], words);
    put(gPanels.TETe1[kItemTextSize], number(gSym.customTeSize));
}
