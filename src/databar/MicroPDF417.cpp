// MicroPDF417 as symbol kind 13 of the DataBar driver: the data bytes as they
// stand, no linear part and no separator.
#include <cstring>

#include "databar/RSSENC.h"
#include "pdf417/micropdf417.h"

void MicroPDF417(RssParams& params) {
    static MicroPdfRows rows;
    const auto* data = reinterpret_cast<const unsigned char*>(params.data);
    if (CC4encmicrobyte(data, std::strlen(params.data), rows) == 0) {
        rssRefuse(
            "The data is too long for a MicroPDF417 symbol: it holds at most 148 bytes. "
            "Shorten the data, or choose PDF417.");
        return;
    }
    constexpr int32_t kRowHeight = 2;  // modules
    for (int32_t r = 0; r < rows.rows; ++r) {
        PrintRow row;
        row.elmCnt = kMicroPdf4ColumnElements;
        std::memcpy(row.elements, rows.widths[r], kMicroPdf4ColumnElements);
        row.whtFirst = true;
        row.height = kRowHeight * params.pixMult;
        printElmnts(params, row);
    }
}
