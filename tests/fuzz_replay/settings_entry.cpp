// The settings-files target under a name of its own, for the replay test.
#define STRIXEL_FUZZ_ENTRY fuzzSettingsOneInput
#include "../../fuzz/targets/settings_target.cpp"
