// The Laetus pharmacode's bar writer, shared with the SICK code's bar bytes.
#pragma once

#include <cstdint>

// Appends the bars (each followed by its space) of a pharmacode value; the
// value lies in the one-track range 3 to 131070.
void getLaetus(int32_t value);
// The value of a bar-input pattern: '0' a thin bar, any other character a
// thick one, read from the right; above the range when it has over 16 bars.
int64_t pharmacodedecode(const char* pattern, int32_t n);
