// The document target under a name of its own, for the replay test.
#define STRIXEL_FUZZ_ENTRY fuzzDocumentOneInput
#include "../../fuzz/targets/document_target.cpp"
