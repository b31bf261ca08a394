// The prologs: TEXT resources 100 and 128 to 133, procsets of the dialects.
#pragma once

#include <cstdint>
#include <string_view>

// The prolog resource ids of each dialect.
constexpr int kPrologIll11 = 100;
constexpr int kPrologIll88 = 128;
constexpr int kPrologIll3 = 129;
constexpr int kPrologIll5Level2 = 130;
constexpr int kPrologIll5Main = 131;
constexpr int kPrologIll5Setup = 132;
constexpr int kPrologType3 = 133;

// Writes TEXT resource id to the open document as it is; a missing resource is
// a broken build and marks the document as failed.
void writeProlog(int id);
