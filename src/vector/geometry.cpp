// Item rotation and the width of the current symbol.
#include <algorithm>
#include <cstdlib>

#include "databar/RSSENC.h"
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

namespace {

// The widest of the DataBar rows after the first (which ends at `from`), each
// measured as the first is and moved by its offset: the linear part of an
// Expanded composite is wider than the component over it. The text row counts
// for nothing.
int32_t widestDataBarRow(const unsigned char* list, int32_t n, int32_t from) {
    int32_t widest = 0;
    int32_t row = 1;
    for (int32_t i = from + 1; i < n && row < gRss.rowCount; ++row) {
        int32_t sum = 0;
        bool text = false;
        for (++i; i < n && list[i] != kRowEnd; ++i) {
            const int32_t w = charToWidth(list[i]);
            if (w == kNoElement)
                text = true;
            else
                sum += std::abs(w);
        }
        if (!text) widest = std::max(widest, sum + gRss.rowOffset[row] * charToWidth(kDarkModule));
    }
    return widest;
}

}  // namespace

int32_t GetCodeWidth() {
    const int32_t code = gSym.code;
    const unsigned char* list = gEl.chNum;
    const int32_t n = gEl.cu_len;
    if (code == 38 || code == 40) {  // block letters: one byte per module column
        int32_t columns = 0;
        while (columns < n && list[columns] != kRowEnd) ++columns;
        return columns * 1000;
    }
    if (code == kSmallEanCode) return smallEanLineWidth() + 330;
    int32_t i = 1;  // the DataBar and Codablock rows start at once
    if (code != 37 && code != 39) i = linearPaintStart(list, n);
    int32_t sum = 0;
    const int32_t* widths = elementWidths();  // one table for the whole list
    // Every bar the painters draw, thinned ones included: the frame, the item's
    // box and its turn centre are this width.
    for (; i < n && list[i] != kRowEnd; ++i) {
        const int32_t w = barRowWidth(widths, list[i]);
        if (w != kNoElement) sum += std::abs(w);
    }
    if (code == 37) {
        if (gRss.rowCount > 0) sum += gRss.rowOffset[0] * charToWidth(kDarkModule);
        sum = std::max(sum, widestDataBarRow(list, n, i));
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
