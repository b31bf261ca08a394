#include "labels/printDefaults.h"

#include <string>

#include "labels/channels.h"
#include "platform/byteorder.h"
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

// Opens the settings file for reading on the settings channel.
platform::OSErr openSettingsToRead(const char* name) {
    const std::string path = prefsPath(name);
    if (platform::pathKind(path) != platform::PathKind::file ||
        platform::FSSettingsTargetUsable(path) != platform::noErr) {
        return platform::fnfErr;  // a pipe would block the read for good: the defaults hold
    }
    return OPEN("O", kSettingsChannel, path.c_str());
}

// The bytes an earlier file holds after the words written now (a longer file of
// another version) are kept, as when the file was rewritten in place; a file
// larger than any settings file is not read.
constexpr int64_t kMostSettingsBytes = 64 * 1024;

std::string tailAfter(const std::string& path, size_t written) {
    std::string old;
    if (!platform::readRegularFile(path, kMostSettingsBytes, &old) || old.size() <= written)
        return {};
    return old.substr(written);
}

// The file is written whole through a temporary beside it: a failed write (a
// full disk) keeps the old file as it was and leaves no empty or half-written
// one, which the next run would take for no settings.
int16_t writeWords(const char* name, const int32_t* words, int count) {
    const std::string path = prefsPath(name);
    // A folder that cannot be made fails the write below, which says why.
    platform::createFolder(path.substr(0, path.rfind('/')));
    std::string bytes;
    for (int i = 0; i < count; ++i) {
        uint8_t word[4];
        platform::put32(word, static_cast<uint32_t>(words[i]), platform::ByteOrder::big);
        bytes.append(reinterpret_cast<const char*>(word), sizeof word);
    }
    bytes += tailAfter(path, bytes.size());
    const uint32_t oldType = gChannels.filTyp;
    DEF_OPEN(gChannels.creatTyp, kPrefsType);
    const platform::OSErr err =
        writeSettingsFile(kSettingsChannel, path.c_str(), bytes.data(), int32_t(bytes.size()));
    gChannels.filTyp = oldType;
    return int16_t(err);
}

void readWords(const char* name, int32_t* words, int count) {
    if (openSettingsToRead(name) != platform::noErr) return;
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
