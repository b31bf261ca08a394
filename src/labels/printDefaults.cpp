#include "labels/printDefaults.h"

#include <string>

#include "labels/channels.h"
#include "platform/files.h"

PrintSwitches gPrintSwitches;
ThermalSettings gThermal;

void resetPrintDefaults() {
    gPrintSwitches = PrintSwitches{};
    gThermal = ThermalSettings{};
}

namespace {

constexpr uint32_t kPrefsType = fourCC("pdef");

std::string prefsPath(const char* name) { return platform::userPreferencesFolder() + "/" + name; }

// Opens the settings file on the settings channel, making its folder first when
// writing.
platform::OSErr openSettings(const char* name, bool forWriting) {
    const std::string path = prefsPath(name);
    if (path.empty()) return platform::bdNamErr;
    if (forWriting) {
        platform::OSErr err = platform::createFolder(path.substr(0, path.rfind('/')));
        if (err == platform::noErr) err = platform::FSSettingsTargetUsable(path);
        if (err != platform::noErr) return err;
        DEF_OPEN(gChannels.creatTyp, kPrefsType);
    } else if (platform::pathKind(path) != platform::PathKind::file ||
               platform::FSSettingsTargetUsable(path) != platform::noErr) {
        return platform::fnfErr;  // a pipe would block the read for good: the defaults hold
    }
    return OPEN("O", kSettingsChannel, path.c_str());
}

int16_t writeWords(const char* name, const int32_t* words, int count) {
    const uint32_t oldType = gChannels.filTyp;
    platform::OSErr err = openSettings(name, true);
    gChannels.filTyp = oldType;
    if (err != platform::noErr) return int16_t(err);
    for (int i = 0; i < count && err == platform::noErr; ++i)
        err = bswrite(kSettingsChannel, words[i]);
    const platform::OSErr closed = CLOSE(kSettingsChannel);
    return int16_t(err != platform::noErr ? err : closed);
}

void readWords(const char* name, int32_t* words, int count) {
    if (openSettings(name, false) != platform::noErr) return;
    for (int i = 0; i < count; ++i)
        if (bsread(kSettingsChannel, &words[i]) != platform::noErr) break;
    CLOSE(kSettingsChannel);
}

}  // namespace

int16_t PrintSetDefault() {
    const PrintSwitches& s = gPrintSwitches;
    const int32_t words[] = {s.iOrient, s.pCutMarks, s.formP, s.fourSheet, s.direction};
    return writeWords(kPrintDefName, words, 5);
}

void PrintGetDefault() {
    PrintSwitches& s = gPrintSwitches;
    int32_t words[] = {s.iOrient, s.pCutMarks, s.formP, s.fourSheet, s.direction};
    readWords(kPrintDefName, words, 5);
    s.iOrient = words[0];
    s.pCutMarks = words[1];
    s.formP = words[2];
    s.fourSheet = words[3];
    s.direction = int16_t(words[4]);
}

int16_t ThermalSetDefault() {
    const ThermalSettings& t = gThermal;
    const int32_t words[] = {t.thermalIte, t.pport,    t.stripper, t.cutter, t.continuous,
                             t.heat,       t.striplen, t.DThermal, t.speed,  t.gaplen};
    return writeWords(kThermDefName, words, 10);
}

void ThermalGetDefault() {
    ThermalSettings& t = gThermal;
    int32_t* fields[] = {&t.thermalIte, &t.pport,    &t.stripper, &t.cutter, &t.continuous,
                         &t.heat,       &t.striplen, &t.DThermal, &t.speed,  &t.gaplen};
    int32_t words[10];
    for (int i = 0; i < 10; ++i) words[i] = *fields[i];
    readWords(kThermDefName, words, 10);
    for (int i = 0; i < 10; ++i) *fields[i] = words[i];
}

const unsigned char* GetThermalString(int32_t model) {
    switch (model) {
        case 1:
            return reinterpret_cast<const unsigned char*>(
                "\x0A"
                "CItoh EZ-4");
        case 2:
            return reinterpret_cast<const unsigned char*>(
                "\x08"
                "TEC B470");
        case 3:
            return reinterpret_cast<const unsigned char*>(
                "\x08"
                "TEC B570");
        case 4:
            return reinterpret_cast<const unsigned char*>(gThermal.DThermal == 1 ? "\x0C"
                                                                                   "Thermal 4 DT"
                                                                                 : "\x0C"
                                                                                   "Thermal 4 TT");
        case 5:
            return reinterpret_cast<const unsigned char*>(
                "\x07"
                "Datamax");
        default:
            return reinterpret_cast<const unsigned char*>("");
    }
}
