// The painters of the two-dimensional and row symbols that the barcode item
// hands its element list to: DataMatrix and QR Code as module squares, PDF417
// and MicroPDF417 as module rows, DataBar and its composites as rows of bars.
// (x, y) is the top left where the modules start and u the module size, in
// output units; s is output units per point (1 on a label, 35 in a single
// symbol's picture). They paint through gHooks.bar_ptr.
#pragma once

#include <cstdint>

void DrawDatamatrixPC(int32_t x, int32_t y, int32_t u, double s);
// frameWidth: the width of the drawing frame, output units.
// The height the rows of a PDF417 or MicroPDF417 take when painted with row
// unit u, output units; the row height is set by the size, not the bar height.
int32_t MicroPDF417RowsHeight(int32_t u);
void DrawMicroPDF417PC(int32_t x, int32_t y, int32_t u, double s, int32_t a, int32_t b, int32_t c,
                       int32_t frameWidth);
void DrawRSSStackedPC(int32_t x, int32_t y, int32_t u, double s, int32_t a, int32_t b, int32_t c,
                      int32_t frameWidth);
