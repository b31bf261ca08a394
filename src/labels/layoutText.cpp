#include "labels/layoutText.h"

#include <cstring>

#include "labels/channels.h"
#include "labels/itemFields.h"
#include "labels/labelDoc.h"
#include "labels/units.h"
#include "platform/numbers.h"
#include "symbology/appBits.h"
#include "symbology/messages.h"

namespace {

constexpr uint16_t kMsgLayoutNotSaved = 1404;
constexpr const char* kHeader = "<<GTML>>\r";
constexpr size_t kValueOffset = 9;  // "<<" and a four-letter tag name, ">>" and CR
constexpr size_t kItemNameMost = 255;
constexpr const char* kDefaultName = "Default";
constexpr int32_t kBoldFace = 1;
constexpr double kTenthsPerPoint = 10;

// The names the export gives the first code types.
constexpr const char* kTypeNames[] = {"EAN 13", "ISBN",     "ISSN",   "EAN 8",
                                      "ITF",    "Code 128", "Code 39"};

// A text up to its first NUL.
std::string untilNul(const std::string& s) { return s.substr(0, std::strlen(s.c_str())); }

// Lengths in tenths of a point, in millimetres.
double mm(double tenths) {
    const int32_t saved = gUnits.gMeasType;
    gUnits.gMeasType = kMeasMillimetre;
    const double v = convertToMeas(tenths);
    gUnits.gMeasType = saved;
    return v;
}

std::string itemLine(const LabelItem& it) {
    const double top = it.i16(item::rectTop), left = it.i16(item::rectLeft);
    const double bottom = it.i16(item::rectBottom), right = it.i16(item::rectRight);
    const double x = mm(left * kTenthsPerPoint), y = mm(top * kTenthsPerPoint);
    switch (it.u16(item::kind)) {
        case kKindBarcode: {
            const std::string data = it.text(item::dataText);
            return platform::formatC(
                "<Barcode|X=%g|Y=%g|W=%g|H=%g|Data=%s|Type=%s>\r", x, y,
                static_cast<double>(it.u16(item::siz) / 100),
                static_cast<double>(it.i16(item::hei) / 100),
                data.substr(0, data.find(kVT)).c_str(),
                layoutTypeName(it.i16(item::code), it.i16(item::variation1)).c_str());
        }
        case kKindText: {
            std::string line = platform::formatC("<Text|X=%g|Y=%g|W=%g|H=%g|Data=", x, y,
                                                 mm((right - left) * kTenthsPerPoint),
                                                 mm((bottom - top) * kTenthsPerPoint));
            if (it.hasDataHandle) line += untilNul(it.dataHandle);
            const std::string font = it.text(item::fontBelow);
            const size_t n = font.empty() ? 0 : static_cast<uint8_t>(font[0]);
            const int16_t just = it.i16(item::teJust);
            line += platform::formatC("|Font=%s|Size=%d|Style=%s|Align=%s>\r",
                                      font.substr(1, n < font.size() ? n : font.size() - 1).c_str(),
                                      it.i16(item::customTeSize),
                                      (it.i16(item::teFace) & kBoldFace) ? "Bold" : "",
                                      just == -1  ? "Right"
                                      : just == 1 ? "Centre"
                                                  : "Left");
            return line;
        }
        default:
            return {};
    }
}

}  // namespace

std::string layoutTypeName(int32_t code, int32_t variation1) {
    if (code >= 0 && code < static_cast<int32_t>(std::size(kTypeNames))) return kTypeNames[code];
    const char* name = codeTypeName(code, variation1);
    return name ? name : std::to_string(code);
}

std::string layoutText() {
    const LabelSheet& s = labelBack;
    std::string out = platform::formatC(
        "<Label|T=%g|L=%g|A=%d|D=%d|W=%g|H=%g>\r", mm(s.topMargin), mm(s.leftMargin),
        static_cast<int>(s.across), static_cast<int>(s.down), mm(s.labelWidth), mm(s.labelHeight));
    for (int32_t i = 0; i <= s.lastItem && i < kMaxLabelItems; ++i)
        if (const LabelItem* it = itemAt(i)) out += itemLine(*it);
    return out;
}

void SaveLayoutModeLabel() {
    const std::string text = layoutText();
    int32_t n = static_cast<int32_t>(text.size());
    platform::FSWrite(channelRef(kDocumentChannel), &n, text.data());
}

int32_t saveLayoutTextTo(const std::string& path) {
    DEF_OPEN(fourCC("SXLD"), fourCC("TEXT"));
    const std::string text = layoutText();
    if (writeWholeFile(kDocumentChannel, path.c_str(), text.data(),
                       static_cast<int32_t>(text.size())) != platform::noErr) {
        Message(kMsgLayoutNotSaved);
        return 1;
    }
    return 0;
}

void SetTaggedItem(int32_t index) {
    LabelItem* it = itemAt(index);
    if (!it) return;
    // Made in place: a batch's item keeps the block's storage from record to record.
    std::string& block = it->taggedBlock;
    block.assign(kHeader);
    block += "<<Item>>\r";
    block += gLabel.gItName;
    block += "<<\\Item>>\r";
    const std::string text = gLabel.hasExternalH ? untilNul(gLabel.externalH) : std::string();
    if (!text.empty()) block += "<<Text>>\r" + text + "<<\\Text>>\r";
}

bool GetTaggedItem(std::string_view text, char* tag, std::string* value) {
    const size_t open = text.find("<<");
    if (open == std::string_view::npos) return false;
    const size_t close = text.find("<<\\", open + 2);
    if (close == std::string_view::npos || open + 2 >= text.size()) return false;
    const char letter = text[open + 2];
    if (!std::strchr("FILORT", letter) || letter == 0) return false;
    // A field too short to hold its tag name has no value.
    const size_t from = open + kValueOffset;
    *tag = letter;
    if (from < close)
        value->assign(text.substr(from, close - from));
    else
        value->clear();
    return true;
}

void ProcessItemHandle(int32_t index) {
    LabelItem* it = itemAt(index);
    if (!it) return;
    // An item without a name of its own is "Default": keeping the name loaded
    // before would print another item's data field in it.
    gLabel.gItName = kDefaultName;
    const std::string& block = it->taggedBlock;
    if (block.compare(0, std::strlen(kHeader) - 1, kHeader, std::strlen(kHeader) - 1) != 0) return;
    const size_t lineEnd = block.find('\r');
    char tag = 0;
    std::string value;
    if (lineEnd == std::string::npos ||
        !GetTaggedItem(std::string_view(block).substr(lineEnd + 1), &tag, &value) || tag != 'I' ||
        value.empty())
        return;
    gLabel.gItName = value.substr(0, kItemNameMost);
}
