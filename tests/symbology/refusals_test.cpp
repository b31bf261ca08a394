#include "symbol_support.h"

namespace {

using LinearRefusals = symtest::World;

// Data a linear family cannot carry: result 1, a message, nothing drawn.
TEST_F(LinearRefusals, EveryFamily) { symtest::expectRefusals("symbology/linear_refusals.txt"); }

}  // namespace
