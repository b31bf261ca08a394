// The print window's switches (Print.def) and the thermal printer's settings
// (Therm.def), kept between runs in the user's preferences folder as 32-bit
// big-endian words on the settings channel.
#pragma once

#include <cstdint>

struct PrintSwitches {
    int32_t iOrient = 0;    // fill order
    int32_t pCutMarks = 0;  // cut marks on printed sheets
    int32_t formP = 1;      // forms printing
    int32_t fourSheet = 4;  // 0 or 4: four-up sheets
    int16_t direction = 0;  // 0 to 3: "B Up", "T Dn", "S TDn", "S BUp"
    bool operator==(const PrintSwitches&) const = default;
};
extern PrintSwitches gPrintSwitches;

struct ThermalSettings {
    int32_t thermalIte = 4;  // printer model 1 to 5
    int32_t pport = 1;       // port: item of the port menu
    int32_t stripper = 0;
    int32_t cutter = 0;
    int32_t continuous = 0;
    int32_t heat = 10;
    int32_t striplen = 10;
    int32_t DThermal = 1;  // 1 direct thermal, else thermal transfer
    int32_t speed = 5;
    int32_t gaplen = 2;
};
extern ThermalSettings gThermal;

void resetPrintDefaults();  // both back to their defaults

// The two files' names in the user's preferences folder.
inline constexpr const char* kPrintDefName = "Print.def";
inline constexpr const char* kThermDefName = "Therm.def";

// Writers return the file status; readers leave the settings as they are when the
// file is missing, and keep the values of words a short file does not hold.
int16_t PrintSetDefault();
void PrintGetDefault();
int16_t ThermalSetDefault();
void ThermalGetDefault();

// The model name of a thermal printer (1 to 5) as a Pascal string; an unknown
// model gives an empty one.
const unsigned char* GetThermalString(int32_t model);
