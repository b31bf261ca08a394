// Block-letter output of the matrix symbols (DataMatrix, QR Code).
#pragma once

#include <cstddef>
#include <cstdint>

#include "symbology/state.h"

// Writes a matrix held [column][row], non-zero dark, into gEl in bands of four
// module rows from the top: one letter 'e' + v per column, v the four modules
// with the top one highest (rows below the symbol light), each band ended by 13,
// then a NUL. false, gEl untouched, when it would not fit or the size passes m.
template <size_t N>
bool writeBlockLetters(const unsigned char (&m)[N][N], int32_t width, int32_t height) {
    if (width < 0 || height < 0 || static_cast<size_t>(width) > N ||
        static_cast<size_t>(height) > N)
        return false;
    const int32_t bands = (height + 3) / 4;
    if (static_cast<size_t>(bands) * static_cast<size_t>(width + 1) + 1 > kElementListSize)
        return false;
    gEl.clear();
    for (int32_t top = 0; top < height; top += 4) {
        for (int32_t x = 0; x < width; ++x) {
            int32_t v = 0;
            for (int32_t y = top; y < top + 4; ++y) v = 2 * v + ((y < height && m[x][y]) ? 1 : 0);
            gEl.put(static_cast<unsigned char>('e' + v));
        }
        gEl.put(13);
    }
    return gEl.terminate();
}
