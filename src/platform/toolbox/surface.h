// An image the size of a window's content at the screen's pixel ratio, and the
// port that draws on it in content coordinates.
#pragma once

#include "platform/cairoLibrary.h"

#include <cstdint>

#include "platform/quickdraw/quickdraw.h"

namespace toolbox {

struct Surface {
    cairo_surface_t* image = nullptr;
    qd::GrafPort* port = nullptr;
    double ratio = 1;
};

// Erased to white.
Surface MakeSurface(int32_t width, int32_t height);
// A new image of the new size; the port stays the same object, its state kept.
void ResizeSurface(Surface& s, int32_t width, int32_t height);
void FreeSurface(Surface& s);
// 0xRRGGBB at a point in content coordinates (white outside).
uint32_t SurfacePixel(const Surface& s, int32_t h, int32_t v);

}  // namespace toolbox
