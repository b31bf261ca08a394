// The script-record target under a name of its own, for the replay test.
#define STRIXEL_FUZZ_ENTRY fuzzRecordsOneInput
#include "../../fuzz/targets/records_target.cpp"
