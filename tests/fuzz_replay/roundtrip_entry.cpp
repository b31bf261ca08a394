// The round-trip target under a name of its own, for the replay test.
#define STRIXEL_FUZZ_ENTRY fuzzRoundTripOneInput
#include "../../fuzz/targets/roundtrip_target.cpp"
