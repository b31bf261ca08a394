#include "app/preferences.h"

#include <algorithm>
#include <charconv>

#include "labels/channels.h"
#include "labels/printDefaults.h"
#include "labels/printState.h"
#include "labels/runs/printWindow.h"
#include "picture/PICout2.h"
#include "platform/byteorder.h"
#include "platform/files.h"
#include "symbology/messages.h"

PrefSettings gPrefs;

namespace {

constexpr uint16_t kMsgPreferencesNotSaved = 1613;
constexpr uint16_t kMsgPreferencesDamaged = 1614;
constexpr int64_t kMostPreferencesBytes = 64 * 1024;
constexpr int32_t kLowHalf = 0xFFFF;
constexpr int32_t kLightestShade = 0, kWhiteShade = 2;

// The nine settings in the file's order.
struct PrefSlots {
    int32_t* at[kPrefWords];
};
PrefSlots slots() {
    return {{&gPrefs.hideIF, &gPrint.printScreen, &gPrint.printForever, &gPrint.thermalPrint,
             &gDriver.askForRepeat, &gPrintWin.startLabels, &gThermal.gaplen, &gPrefs.greyInterface,
             &gPrefs.barco}};
}

// A field's text as a setting: decimal, never below 0; false when no number.
bool fieldNumber(const std::string& text, int32_t* value) {
    const char* first = text.data();
    const char* last = first + text.size();
    while (first < last && *first == ' ') ++first;
    int64_t v = 0;
    const auto [end, ec] = std::from_chars(first, last, v);
    if (ec == std::errc::result_out_of_range)
        v = end > first && *first == '-' ? 0 : INT32_MAX;
    else if (ec != std::errc() || end == first)
        return false;
    *value = int32_t(std::clamp<int64_t>(v, 0, INT32_MAX));
    return true;
}

}  // namespace

void resetPreferences() { gPrefs = PrefSettings{}; }

void startPreferences() {
    for (int32_t* s : slots().at) *s = 0;
    gPrint.printScreen = 1;
    gThermal.gaplen = 2;
    gPrefs.barco = 2;
}

std::string preferencesFilePath() { return platform::userPreferencesFolder() + "/" + kPrefDefName; }

void GetPrefernces() {
    const std::string path = preferencesFilePath();
    if (platform::pathKind(path) == platform::PathKind::missing) return;
    std::string bytes, why;
    if (!platform::readRegularFile(path, kMostPreferencesBytes, &bytes, &why)) {
        MessageWith(kMsgPreferencesDamaged, why);
        return;
    }
    const PrefSlots s = slots();
    const size_t words = std::min<size_t>(bytes.size() / 4, kPrefWords);
    for (size_t i = 0; i < words; ++i) {
        const int32_t w = int32_t(platform::get32(
            reinterpret_cast<const uint8_t*>(bytes.data() + 4 * i), platform::ByteOrder::big));
        if (s.at[i] == &gPrefs.barco)
            gPrefs.barco = (gPrefs.barco & ~kLowHalf) | (w & kLowHalf);
        else
            *s.at[i] = w;
    }
    if (gPrefs.greyInterface < kLightestShade || gPrefs.greyInterface > kWhiteShade)
        gPrefs.greyInterface = kLightestShade;
    if (words < kPrefWords && bytes.size() % 4 != 0) MessageWith(kMsgPreferencesDamaged, path);
}

int16_t SetPreferences() {
    const std::string path = preferencesFilePath();
    std::string bytes;
    for (int32_t* v : slots().at) {
        // barco keeps only its low half, sign-extended, as the file always had it.
        const int32_t w = v == &gPrefs.barco ? int32_t(int16_t(*v & kLowHalf)) : *v;
        uint8_t b[4];
        platform::put32(b, uint32_t(w), platform::ByteOrder::big);
        bytes.append(reinterpret_cast<const char*>(b), 4);
    }
    platform::OSErr err = platform::createFolder(platform::userPreferencesFolder());
    if (err == platform::noErr) {
        const uint32_t oldType = gChannels.filTyp;
        DEF_OPEN(gChannels.creatTyp, fourCC("pdef"));
        err =
            writeSettingsFile(kSettingsChannel, path.c_str(), bytes.data(), int32_t(bytes.size()));
        gChannels.filTyp = oldType;
    }
    if (err != platform::noErr) {
        const std::string why = platform::FSFailureText();
        MessageWith(kMsgPreferencesNotSaved, why.empty() ? path : why);
        return err;
    }
    return ThermalSetDefault();
}

void takePreferenceFields(const std::string& heat, const std::string& speed,
                          const std::string& striplen, const std::string& gaplen) {
    fieldNumber(heat, &gThermal.heat);
    fieldNumber(speed, &gThermal.speed);
    fieldNumber(striplen, &gThermal.striplen);
    fieldNumber(gaplen, &gThermal.gaplen);
}
