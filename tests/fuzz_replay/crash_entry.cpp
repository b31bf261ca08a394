// The crash target under a name of its own, for the replay test.
#define STRIXEL_FUZZ_ENTRY fuzzCrashOneInput
#include "../../fuzz/targets/crash_target.cpp"
