#include "platform/toolbox/surface.h"

#include <algorithm>
#include <cmath>

#include "platform/quickdraw/port.h"
#include "platform/toolbox/qt_glue.h"

namespace toolbox {

namespace {

constexpr uint32_t kWhitePixel = 0xFFFFFF;

cairo_surface_t* newImage(int32_t width, int32_t height, double ratio) {
    const int w = std::max(1, int(std::lround(width * ratio)));
    const int h = std::max(1, int(std::lround(height * ratio)));
    cairo_surface_t* img = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
    cairo_t* cr = cairo_create(img);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_destroy(cr);
    return img;
}

// The port's context on its (new) image: port units scaled to pixels, the
// content's top left at the image's.
void attach(qd::GrafPort& p, cairo_surface_t* img, double ratio) {
    if (p.cr) cairo_destroy(p.cr);
    p.surface = img;
    p.scale = ratio;
    p.cr = cairo_create(img);
    cairo_scale(p.cr, ratio, ratio);
    cairo_translate(p.cr, -p.bounds.left, -p.bounds.top);
    cairo_set_antialias(p.cr, CAIRO_ANTIALIAS_NONE);
    p.clipApplied = false;
}

}  // namespace

Surface MakeSurface(int32_t width, int32_t height) {
    Surface s;
    s.ratio = DesktopPixelRatio();
    s.image = newImage(width, height, s.ratio);
    s.port = qd::NewPort(s.image, qd::Rect{0, 0, height, width}, s.ratio, true);
    return s;
}

void ResizeSurface(Surface& s, int32_t width, int32_t height) {
    cairo_surface_t* old = s.image;
    s.image = newImage(width, height, s.ratio);
    s.port->bounds = qd::Rect{0, 0, height, width};
    attach(*s.port, s.image, s.ratio);
    if (old) cairo_surface_destroy(old);
}

void FreeSurface(Surface& s) {
    if (s.port) qd::DisposePort(s.port);
    if (s.image) cairo_surface_destroy(s.image);
    s = Surface{};
}

uint32_t SurfacePixel(const Surface& s, int32_t h, int32_t v) {
    if (!s.image) return kWhitePixel;
    cairo_surface_flush(s.image);
    const int x = int(std::floor(h * s.ratio)), y = int(std::floor(v * s.ratio));
    if (x < 0 || y < 0 || x >= cairo_image_surface_get_width(s.image) ||
        y >= cairo_image_surface_get_height(s.image))
        return kWhitePixel;
    const unsigned char* row =
        cairo_image_surface_get_data(s.image) + y * cairo_image_surface_get_stride(s.image);
    return reinterpret_cast<const uint32_t*>(row)[x] & kWhitePixel;
}

}  // namespace toolbox
