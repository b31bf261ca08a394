// Item rotation and the width of the current symbol.
#include <cstdlib>

#include "labels/labelDoc.h"
#include "symbology/codebars.h"
#include "symbology/state.h"
#include "vector/page.h"
#include "vector/sink.h"

void SetOrient(int32_t kind, const Rect16& rect, double angle) {
    switch (kind) {
        case 200:
        case 150:
            gVec.trans2 = static_cast<int32_t>(angle);
            gVec.trans2Width = rect.right - rect.left;
            gVec.trans2Height = rect.bottom - rect.top;
            break;
        case 201:
        case 151:
            gVec.trans2 = 0;
            gVec.trans2Width = 0;
            gVec.trans2Height = 0;
            break;
        default:
            break;
    }
}

int32_t GetCodeWidth() {
    const int32_t code = gSym.code;
    const unsigned char* list = gEl.chNum;
    const int32_t n = gEl.cu_len;
    if (code == 38 || code == 40) {  // block letters: one byte per module column
        int32_t columns = 0;
        while (columns < n && list[columns] != kRowEnd) ++columns;
        return columns * 1000;
    }
    int32_t i = 1;  // the DataBar and Codablock rows start at once
    if (code != 37 && code != 39) i = linearPaintStart(list, n);
    int32_t sum = 0;
    for (; i < n && list[i] != kRowEnd; ++i) {
        const int32_t w = charToWidth(list[i]);
        if (w != kNoElement) sum += std::abs(w);
    }
    if (code != 4 && code != 23) sum += 330;

    float factor = 1;
    switch (code) {
        case 5:
        case 7:
            factor = 2;
            break;
        case 19:
        case 20:
        case 21:
        case 24:
        case 28:
        case 30:
        case 31:
        case 32:
        case 35:
        case 36:
            factor = 0.5f;
            break;
        case 17:
            if (gSym.variation1 == 1) factor = 1.5f;
            break;
        default:
            break;
    }
    const int32_t width = static_cast<int32_t>(static_cast<float>(sum) * factor);
    if (code == 39) return static_cast<int32_t>(width / 2 + factor * 2640);
    return width;
}
