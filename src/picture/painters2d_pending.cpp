// Stand-ins for the module and row painters until they are built: they paint
// nothing, so a picture of such a symbol holds its background and marks only.
#include "picture/painters2d.h"

void DrawDatamatrixPC(int32_t, int32_t, int32_t, double) {}
void DrawMicroPDF417PC(int32_t, int32_t, int32_t, double, int32_t, int32_t, int32_t, int32_t) {}
void DrawRSSStackedPC(int32_t, int32_t, int32_t, double, int32_t, int32_t, int32_t, int32_t) {}
