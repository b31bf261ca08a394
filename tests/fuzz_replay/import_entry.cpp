// The import-run target under a name of its own, for the replay test.
#define STRIXEL_FUZZ_ENTRY fuzzImportOneInput
#include "../../fuzz/targets/import_target.cpp"
