// The EPS-settings target under a name of its own, for the replay test.
#define STRIXEL_FUZZ_ENTRY fuzzEpsSettingsOneInput
#include "../../fuzz/targets/epssettings_target.cpp"
