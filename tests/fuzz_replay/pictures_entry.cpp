// The pictures target under a name of its own, for the replay test.
#define STRIXEL_FUZZ_ENTRY fuzzPicturesOneInput
#include "../../fuzz/targets/pictures_target.cpp"
