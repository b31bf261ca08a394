#include "app/scanner.h"

#include <algorithm>
#include <cstring>

#include "automation/options.h"
#include "labels/labelDoc.h"
#include "labels/runs/ProcessBarcodes.h"
#include "platform/numbers.h"
#include "symbology/Filters.h"
#include "symbology/appBits.h"
#include "symbology/host.h"
#include "symbology/panels.h"
#include "symbology/state.h"

ScanCapture gScan;

void resetScanner() { gScan = ScanCapture{}; }

namespace {

constexpr char kReturn = 13;
constexpr char kEnter = 3;
constexpr char kScanStart = ']';
constexpr int16_t kBeepTicks = 1;
constexpr size_t kIdLength = 2;
constexpr size_t kEanDigits = 13;
constexpr int32_t kIsbn13Variant = 3;

// Identifiers that name one type whatever the data.
struct IdRow {
    const char* id;
    const char* typeName;  // empty: the current type stays
};
constexpr IdRow kIdTable[] = {
    {"C0", "Code 128"},   {"C1", "EAN 128"}, {"C2", "Code 128"}, {"C3", "Code 128"},
    {"A0", "Code 39 NC"}, {"A1", "Code 39"}, {"A2", "Code 39"},  {"A4", "Code 39 Full Ascii"},
    {"B0", "Telepen"},    {"B1", "Telepen"}, {"B2", "Telepen"},  {"B4", "Telepen"},
    {"D0", ""},           {"E4", "EAN 8"},   {"F0", "Codabar"},  {"G0", "Code 93"},
    {"H0", "Code 11"},    {"I0", "ITF"},     {"K0", ""},         {"L0", ""},
    {"M0", "MSI"},        {"N0", ""},        {"O0", ""},         {"P0", "PLESSEY"},
    {"R0", "2 OF 5"},     {"S0", ""},        {"T0", ""},         {"Z0", ""},
};

bool allDigits(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "E0": EAN and UPC sent as thirteen digits. A shorter type gets the digits it
// encodes itself (its own prefix and check digit are made again).
ScanChoice eanChoice(std::string_view data) {
    ScanChoice c;
    c.known = true;
    c.dropsCheckDigit = true;
    c.data = std::string(data);
    const bool ean13 = data.size() == kEanDigits && allDigits(data);
    // An EAN-8 comes padded with five zeros ahead of its eight digits.
    if (data.size() >= 5 && data.substr(0, 5) == "00000") {
        c.typeName = "EAN 8";
        if (ean13) c.data = std::string(data.substr(5));
    } else if (!data.empty() && data[0] == '0') {
        c.typeName = "UPC A";
        if (ean13) c.data = std::string(data.substr(1));
    } else if (data.substr(0, 3) == "977") {
        c.typeName = "ISSN -OCRB";
        // 977, the seven ISSN digits, two of issue (kept: they tell the issues
        // apart), the check digit
        if (ean13) {
            c.data = std::string(data.substr(3, 9));
            c.dropsCheckDigit = false;
        }
    } else if (data.substr(0, 4) == "9790") {
        c.typeName = "ISMN";
    } else if (data.substr(0, 3) == "978" || data.substr(0, 3) == "979") {
        // The thirteen-digit form keeps the 979 prefixes that ten digits cannot show.
        c.typeName = "ISBN -OCRB";
        c.variation1 = kIsbn13Variant;
    } else {
        c.typeName = "EAN 13";
    }
    return c;
}

// The text shown in the data field: retail digits without the check digit
// that the code type adds itself, other data as it stands.
std::string fieldText(const ScanChoice& c) {
    if (c.dropsCheckDigit && !c.data.empty()) return c.data.substr(0, c.data.size() - 1);
    return c.data;
}

}  // namespace

ScanChoice scanChoice(std::string_view buffer) {
    ScanChoice c;
    if (buffer.size() < kIdLength) return c;
    const std::string_view id = buffer.substr(0, kIdLength);
    const std::string_view data = buffer.substr(kIdLength);
    if (id == "E0") return eanChoice(data);
    if (id == "X0") {
        c.known = true;
        c.data = std::string(data);
        if (buffer.size() == kUpcScanLength) {
            c.typeName = "UPC A";
            c.dropsCheckDigit = true;
        }
        return c;
    }
    for (const IdRow& row : kIdTable)
        if (id == row.id) {
            c.known = true;
            c.typeName = row.typeName;
            c.data = std::string(data);
            c.dropsCheckDigit = id == "E4";
            return c;
        }
    return c;
}

void GetCodeIdType() {
    const ScanChoice c = scanChoice(gScan.buffer);
    gScan.buffer.clear();
    if (!c.known) return;
    // Data that the data buffers cannot hold whole is refused, never cut.
    if (c.data.size() >= kMainCodeSize) {
        platform::SysBeep(kBeepTicks);
        return;
    }
    pstrCopy(gSym.defFont, gSym.barFont);
    if (!c.typeName.empty()) parseCodeType(c.typeName.c_str());
    if (c.variation1 >= 0) gSym.variation1 = c.variation1;
    GetCodeText();
    defaults();
    gSym.human = 1;
    gSym.non_light = 1;
    // The scan carries no add-on, options or run: the symbol before left them in
    // the buffers, and the window shows the add-on field GetCodeText emptied.
    takeAddOn(gPanels.TEX.text.c_str(), static_cast<int32_t>(gPanels.TEX.text.size()));
    useTypedData();
    copyBounded(gData.chMainCode, c.data.c_str());
    copyBounded(gData.chMainCode2, c.data.c_str());
    gData.len1 = gData.len11 = static_cast<int32_t>(c.data.size());
    gPanels.TEH.text = fieldText(c);
    if (!labelLayoutOpen()) addNewCode();
    gData.len1 = gData.len11 = static_cast<int32_t>(strnlen(gData.chMainCode, kMainCodeSize));
    setItemData(0, 4);
    ProcessBarcodes();
}

bool scanKey(unsigned char c) {
    if (!gScan.capturing) {
        if (c != kScanStart) return false;
        gScan.capturing = true;
        gScan.buffer.clear();
        return true;
    }
    if (c == kReturn || c == kEnter) {
        gScan.capturing = false;
        GetCodeIdType();
        return true;
    }
    // Tab belongs to the data (GS1 field separators, tabbed scanners).
    if (gScan.buffer.size() >= kScanCapacity) {
        platform::SysBeep(kBeepTicks);
        return true;
    }
    gScan.buffer.push_back(static_cast<char>(c));
    return true;
}
