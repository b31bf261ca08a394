// The defaults file and the custom code-type files: one record of the current
// symbol settings, output choices and main-window texts, kept between runs.
//
// On disk the record is a run of signed 32-bit big-endian words with no header;
// the name, the data text and the add-on text are each a length word followed by
// the bytes and a zero, the fonts and the spot colour's name a length word and
// their Pascal bytes. A
// record that stops at a field boundary is an older version's and keeps the
// settings it lacks; anything else that does not add up ends the record there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The name the defaults file keeps its record under, and the file's name in the
// user's preferences folder.
inline constexpr const char* kDefaultEntryName = "Default";
inline constexpr const char* kDefaultsFileName = "strixel6.def";

// Field limits of the record: texts with their zero, and the whole file read.
constexpr int32_t kMostNameBytes = 256;
constexpr int32_t kMostDataBytes = 2048;
constexpr int32_t kMostAddOnBytes = 256;
constexpr int32_t kMostFontBytes = 256;
constexpr int32_t kDefaultsRecordFields = 60;
constexpr int64_t kMostDefaultsFileBytes = 64 * 1024;

// One field of the record as stored: a word, or a text's bytes (zero dropped).
struct DefaultsField {
    int32_t word = 0;
    std::string text;
};

// What a record's bytes hold: the fields that read whole, in order, and whether
// the bytes ended somewhere other than a field boundary or broke a limit.
struct DefaultsParse {
    std::vector<DefaultsField> fields;
    bool damaged = false;
};

// The current settings as a record named `name` (NUL-terminated, at most 255
// bytes), and its bytes. The writer's own rules apply: a size below 10 with a
// label laid out is first made 100, a positive height unit is stored as 0.
std::vector<DefaultsField> currentDefaultsRecord(const char* name);
std::string encodeDefaultsRecord(const std::vector<DefaultsField>& fields);
DefaultsParse parseDefaultsRecord(const std::string& bytes);
// Applies the fields in order, as read; isCustom takes the code-type name from
// the record's name instead of the code type's own texts. false when a value
// lies outside what the settings can hold: the fields before it are applied.
bool applyDefaultsRecord(const std::vector<DefaultsField>& fields, bool isCustom);

// The POSIX path of the defaults file.
std::string defaultsFilePath();

// Writes the current settings to path (a POSIX path) under name, whole, through
// a temporary file that replaces the old one only when complete. A failure is
// shown as a message and returned.
int16_t SetAsDefault(const char* path, const char* name, int32_t spare);
// Reads the record at path into the current settings and fields. 0 when there is
// no file (nothing changes); 1 when read. The stored name goes to nameOut (at
// most nameSize bytes with the NUL). A damaged record applies what read whole
// before the damage and shows a message.
int32_t GetTheDefault(const char* path, char* nameOut, size_t nameSize, int32_t isCustom);

// Shows the current data, add-on, size, height, bar-width reduction and inks in
// the main window's fields, as reading a record does, for settings taken
// another way (an EPS file's options line): OK then makes what the fields show.
void showSymbolSettings();

// Called after a record has been applied, so that a main window can redraw its
// fields and menu marks; none headless.
using DefaultsShownHook = void (*)();
void setDefaultsShownHook(DefaultsShownHook hook);
