// The application's preferences: a few switches and the thermal printer's gap,
// kept in Pref.def in the user's preferences folder as nine signed 32-bit
// big-endian words. Most of the switches live with the part that uses them;
// the ones with no other home are kept here.
#pragma once

#include <cstdint>
#include <string>

struct PrefSettings {
    int32_t hideIF = 0;         // 1: the main window is placed off-screen
    int32_t greyInterface = 0;  // interface shade: 0 light, 1 medium, 2 white
    int32_t barco = 2;          // two option bits, 1 and 2
    int32_t iBrow = 0;          // 0: the help page is shown at start-up
    int32_t iLock = 0;          // 1: the layout's items are locked (kept in the defaults file)
};
extern PrefSettings gPrefs;

void resetPreferences();  // gPrefs back to its start values
// The start values of every switch the preferences file holds, wherever it
// lives (the print window's switch starts on); start-up sets them before the
// file is read.
void startPreferences();

inline constexpr const char* kPrefDefName = "Pref.def";
constexpr int kPrefWords = 9;
std::string preferencesFilePath();

// Reads Pref.def when it exists: words a short file lacks keep their values, an
// interface shade outside 0 to 2 becomes 0, and only the low 16 bits of barco
// are replaced. A file cut inside a word is shown as a message.
void GetPrefernces();
// Writes Pref.def whole, then the thermal printer's settings file. The first
// failure's status (shown as a message), or 0.
int16_t SetPreferences();

// The preferences window's four number fields (heat, speed, strip length, gap
// length) as typed: a decimal number, at least 0; a field that holds no number
// keeps its setting.
void takePreferenceFields(const std::string& heat, const std::string& speed,
                          const std::string& striplen, const std::string& gaplen);
