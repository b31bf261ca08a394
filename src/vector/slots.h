// The slot of a key in a table of kept page code. Keys made from places a few
// hundredths of a point apart differ in a few low bits only: every bit of the
// key is mixed into the slot, or such places share slots and drive each other
// out symbol after symbol.
#pragma once

#include <cstddef>
#include <cstdint>

// Folds part into a key for slotOf: the golden ratio's multiplier first spreads
// what the key holds so far.
inline uint64_t foldKey(uint64_t key, uint64_t part) { return key * 0x9E3779B97F4A7C15ull + part; }

inline size_t slotOf(uint64_t key, size_t slots) {
    key ^= key >> 33;
    key *= 0xFF51AFD7ED558CCDull;
    key ^= key >> 33;
    return static_cast<size_t>(key % slots);
}
