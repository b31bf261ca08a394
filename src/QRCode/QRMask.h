// The eight QR Code data masks and the penalty score that picks one.
#pragma once

#include <cstdint>

#include "QRCode/QRTables.h"

namespace qrmask {

// Whether mask `mask` inverts the module at row i, column j.
bool maskCondition(int32_t mask, int32_t i, int32_t j);

// Takes the unmasked matrix (module flags, [column][row]) of a symbol of `size`
// modules; countPenalty then scores a mask on it without changing it.
void loadMatrix(const uint8_t (*moduleData)[MAX_MODULESIZE], int32_t size);

// The penalty of the symbol under `mask`, its format modules counted light:
// runs longer than 5 (length - 2 each), 2 x 2 blocks of one colour (3 each),
// 1011101 with a light module on both sides (40 each) and the distance of the
// light share from one half (10 per 5 %).
int32_t countPenalty(int32_t mask);

}  // namespace qrmask
