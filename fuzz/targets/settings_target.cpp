// The settings files of the preferences and data folders, as anyone might
// leave them: the same bytes as Print.def, Therm.def, print.prt, data.dfb, the
// defaults file, a custom code type, Pref.def and a spot colour library in
// turn. Each is read without a fault; settings read and written again must read
// back to what was written (the defaults record: whole).
#include <stdlib.h>  // mkdtemp

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

#include "app/colourLibraries.h"
#include "app/customTypes.h"
#include "app/defaultsFile.h"
#include "app/preferences.h"
#include "fuzz_common.h"
#include "labels/printDefaults.h"
#include "labels/datafields.h"
#include "platform/files.h"
#include "platform/printing/printing.h"

namespace {

using fuzzing::fail;

constexpr size_t kMostSettings = 64 * 1024;

// A home of this process for the settings files; both folders point into it.
const std::string& home() {
    static const std::string folder = [] {
        char tmpl[] = "/tmp/strixel-settings-XXXXXX";
        const std::string f = ::mkdtemp(tmpl) ? tmpl : "/tmp";
        platform::createFolder(f + "/config/strixel");
        platform::createFolder(f + "/data/strixel");
        return f;
    }();
    return folder;
}

void put(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A file read, written, read and written again: the two writes agree.
void roundTrip(const char* name, const std::string& bytes, void (*read)(), int16_t (*write)()) {
    const std::string path = platform::userPreferencesFolder() + "/" + name;
    put(path, bytes);
    resetPrintDefaults();
    read();
    if (write() != 0) return;
    const std::string once = slurp(path);
    resetPrintDefaults();
    read();
    if (write() != 0) return;
    if (slurp(path) != once) fail(std::string(name) + " read back is written differently");
}

void pageFormat(const std::string& bytes) {
    print::PageFormat format;
    if (print::unflattenPageFormat(bytes, &format)) {
        const std::string once = print::flattenPageFormat(format);
        print::PageFormat again;
        if (!print::unflattenPageFormat(once, &again) || print::flattenPageFormat(again) != once)
            fail("a page format read back is written differently");
    }
    put(print::pageFormatPath(), bytes);
    const print::PageFormat loaded = print::loadPageFormat();
    if (!(loaded.pageWidth() > 0 && loaded.pageHeight() > 0))
        fail("a page format loaded without a page");
}

void dataFields(const std::string& bytes) {
    put(dataFieldsPath(), bytes);
    for (const char* field :
         {"Name", "Company", "Address", "Phone", "Web", "Logo", "Misc", "Zip"}) {
        unsigned char name[kFieldTextSize] = {};
        name[0] = static_cast<unsigned char>(std::strlen(field));
        std::memcpy(name + 1, field, name[0]);
        unsigned char text[kFieldTextSize] = {};
        std::string logo;
        GetFieldData(name, text, &logo);
        if (logo.size() > bytes.size()) fail("a logo longer than its file");
    }
}

// The defaults file and a custom type: read, written, and the written record
// reads whole.
void defaultsRecords(const std::string& bytes) {
    const std::string path = defaultsFilePath();
    put(path, bytes);
    char name[kMostNameBytes];
    GetTheDefault(path.c_str(), name, sizeof name, 0);
    if (SetAsDefault(path.c_str(), kDefaultEntryName, 0) == 0) {
        const DefaultsParse again = parseDefaultsRecord(slurp(path));
        if (again.damaged || again.fields.size() != size_t(kDefaultsRecordFields))
            fail("a defaults record written does not read whole");
    }
    platform::createFolder(customFolderPath());
    put(customFolderPath() + "/fuzzed", bytes);
    BuildCustMenu();
    for (size_t i = 1; i <= gCustom.menu17.size(); ++i) GetCustMenuItem(int32_t(i));
}

void preferences(const std::string& bytes) {
    put(preferencesFilePath(), bytes);
    startPreferences();
    GetPrefernces();
    if (gPrefs.greyInterface < 0 || gPrefs.greyInterface > 2)
        fail("an interface shade out of range");
    if (SetPreferences() != 0) return;
    const std::string once = slurp(preferencesFilePath());
    startPreferences();
    GetPrefernces();
    if (SetPreferences() == 0 && slurp(preferencesFilePath()) != once)
        fail("Pref.def read back is written differently");
}

void colourLibrary(const std::string& bytes) {
    const std::string folder = platform::userDataFolder() + "/Colours";
    platform::createFolder(folder);
    put(folder + "/" + libraryFileName(8), bytes);
    int32_t c = -1, m = -1, y = -1, k = -1;
    for (const char* name : {"a", "0", " ", "Strixel"}) {
        if (SearchLibrary(8, &c, &m, &y, &k, name) == 1) {
            for (int32_t v : {c, m, y, k})
                if (v < 0 || v > 100) fail("a library colour out of 0 to 100");
            if (gSym.customCol[0] == 0) fail("a spot colour found without a name");
        }
    }
}

}  // namespace

extern "C" int STRIXEL_FUZZ_ENTRY(const uint8_t* in, size_t n) {
    if (n > kMostSettings) return 0;
    const std::string bytes(reinterpret_cast<const char*>(in), n);
    const fuzzing::KeptVariable config("XDG_CONFIG_HOME", home() + "/config");
    const fuzzing::KeptVariable data("XDG_DATA_HOME", home() + "/data");
    resetWorld();
    resetMessages();
    gMsg.quiet = true;
    roundTrip(kPrintDefName, bytes, PrintGetDefault, PrintSetDefault);
    roundTrip(kThermDefName, bytes, ThermalGetDefault, ThermalSetDefault);
    pageFormat(bytes);
    dataFields(bytes);
    resetWorld();
    gMsg.quiet = true;
    defaultsRecords(bytes);
    resetWorld();
    gMsg.quiet = true;
    preferences(bytes);
    resetWorld();
    gMsg.quiet = true;
    colourLibrary(bytes);
    resetWorld();
    return 0;
}
