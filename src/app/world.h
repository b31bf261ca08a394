// The whole program's state, reset between command-line records and test cases.
#pragma once

// Puts every subsystem's state back to its start values. Each subsystem resets
// only its own; this is the one place that knows them all.
void resetWorld();
