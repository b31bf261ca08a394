// Drawing an image into a port, scaled and turned. The image goes in as a
// copied pixel map, so that pictures record it like any other bitmap.
#include <algorithm>
#include <cmath>

#include "platform/quickdraw/image.h"
#include "platform/quickdraw/port.h"

namespace qd {
namespace {

constexpr int32_t kDefaultSide = 100;
// A turned image is resampled at its own resolution, but to no more than this.
constexpr double kMaxTurnedPixels = 16.0 * 1024 * 1024;

// The pixels turned a quarter clockwise, quarters times.
std::vector<uint32_t> quarterTurns(const Image& img, int quarters, int* w, int* h) {
    std::vector<uint32_t> out(img.pixels.size());
    const int iw = img.width, ih = img.height;
    *w = quarters % 2 ? ih : iw;
    *h = quarters % 2 ? iw : ih;
    for (int y = 0; y < *h; ++y)
        for (int x = 0; x < *w; ++x) {
            int sx = x, sy = y;
            if (quarters == 1) {
                sx = y;
                sy = ih - 1 - x;
            } else if (quarters == 2) {
                sx = iw - 1 - x;
                sy = ih - 1 - y;
            } else if (quarters == 3) {
                sx = iw - 1 - y;
                sy = x;
            }
            out[static_cast<size_t>(y) * *w + x] = img.pixels[static_cast<size_t>(sy) * iw + sx];
        }
    return out;
}

// The image as a cairo surface; null when cairo cannot make one (the caller
// gives it no more than kMaxImageSide a side).
cairo_surface_t* surfaceOf(const Image& img) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, img.width, img.height);
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(s);
        return nullptr;
    }
    cairo_surface_flush(s);
    unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < img.height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(data + y * stride);
        for (int x = 0; x < img.width; ++x) {
            const uint32_t px = img.pixels[static_cast<size_t>(y) * img.width + x];
            const uint32_t a = px >> 24;
            auto ch = [a](uint32_t c) { return (c * a + 127) / 255; };
            row[x] = (a << 24) | (ch((px >> 16) & 0xFF) << 16) | (ch((px >> 8) & 0xFF) << 8) |
                     ch(px & 0xFF);
        }
    }
    cairo_surface_mark_dirty(s);
    return s;
}

// Any other angle: the image is resampled into its turned bounding box, and the
// turned outline masks the copy.
void drawTurned(const Image& img, const Rect& dst, double angle) {
    const double cx = (dst.left + dst.right) / 2.0, cy = (dst.top + dst.bottom) / 2.0;
    const double rad = angle * M_PI / 180, c = std::cos(rad), s = std::sin(rad);
    Polygon outline;
    double l = 1e300, t = 1e300, r = -1e300, b = -1e300;
    for (auto [x, y] : {std::pair<double, double>{dst.left, dst.top},
                        {dst.right, dst.top},
                        {dst.right, dst.bottom},
                        {dst.left, dst.bottom}}) {
        const double tx = cx + (x - cx) * c - (y - cy) * s;
        const double ty = cy + (x - cx) * s + (y - cy) * c;
        outline.points.push_back(
            {static_cast<int32_t>(std::lround(ty)), static_cast<int32_t>(std::lround(tx))});
        l = std::min(l, tx);
        t = std::min(t, ty);
        r = std::max(r, tx);
        b = std::max(b, ty);
    }
    const Rect box{static_cast<int32_t>(std::floor(t)), static_cast<int32_t>(std::floor(l)),
                   static_cast<int32_t>(std::ceil(b)), static_cast<int32_t>(std::ceil(r))};
    if (box.empty()) return;
    double k = std::max(1.0, std::max(static_cast<double>(img.width) / dst.width(),
                                      static_cast<double>(img.height) / dst.height()));
    const double area = static_cast<double>(box.width()) * box.height();
    if (area * k * k > kMaxTurnedPixels) k = std::max(1.0, std::sqrt(kMaxTurnedPixels / area));
    // A box too large to resample is left out.
    if (area > kMaxTurnedPixels || box.width() > kMaxImageSide || box.height() > kMaxImageSide)
        return;
    k = std::min(k, static_cast<double>(kMaxImageSide) / std::max(box.width(), box.height()));
    const int w = static_cast<int>(std::ceil(box.width() * k));
    const int h = static_cast<int>(std::ceil(box.height() * k));
    // An image longer than cairo's surfaces is resampled from every n-th pixel.
    Image fitted;
    const Image* source = &img;
    if (img.width > kMaxImageSide || img.height > kMaxImageSide) {
        fitted.width = img.width;
        fitted.height = img.height;
        fitted.pixels = fittedPixels(img.pixels, &fitted.width, &fitted.height);
        source = &fitted;
    }
    cairo_surface_t* src = surfaceOf(*source);
    cairo_surface_t* out = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    if (src == nullptr || cairo_surface_status(out) != CAIRO_STATUS_SUCCESS) {
        if (src) cairo_surface_destroy(src);
        cairo_surface_destroy(out);
        return;
    }
    cairo_t* cr = cairo_create(out);
    cairo_scale(cr, static_cast<double>(w) / box.width(), static_cast<double>(h) / box.height());
    cairo_translate(cr, -box.left, -box.top);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, rad);
    cairo_translate(cr, -cx, -cy);
    cairo_translate(cr, dst.left, dst.top);
    cairo_scale(cr, static_cast<double>(dst.width()) / source->width,
                static_cast<double>(dst.height()) / source->height);
    cairo_set_source_surface(cr, src, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
    cairo_rectangle(cr, 0, 0, source->width, source->height);
    cairo_fill(cr);
    cairo_destroy(cr);
    cairo_surface_destroy(src);
    cairo_surface_flush(out);

    std::vector<uint32_t> pixels(static_cast<size_t>(w) * h);
    const unsigned char* data = cairo_image_surface_get_data(out);
    const int stride = cairo_image_surface_get_stride(out);
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(data + y * stride);
        for (int x = 0; x < w; ++x) {
            const uint32_t px = row[x], a = px >> 24;
            auto ch = [a](uint32_t v) { return a ? std::min(255u, (v * 255 + a / 2) / a) : 0; };
            pixels[static_cast<size_t>(y) * w + x] = (a << 24) | (ch((px >> 16) & 0xFF) << 16) |
                                                     (ch((px >> 8) & 0xFF) << 8) | ch(px & 0xFF);
        }
    }
    cairo_surface_destroy(out);
    drawBits(current(), pixels, w, h, box, srcCopy, &outline);
}

}  // namespace

void DrawImage(const Image& img, const Rect& given, double angle) {
    if (img.width <= 0 || img.height <= 0 ||
        img.pixels.size() != static_cast<size_t>(img.width) * img.height)
        return;
    Rect dst = given;
    if (dst.height() == 0) dst.bottom = dst.top + kDefaultSide;
    if (dst.width() == 0) dst.right = dst.left + kDefaultSide;
    if (dst.empty() || !std::isfinite(angle)) return;
    double turn = std::fmod(angle, 360.0);
    if (turn < 0) turn += 360;
    const double quarters = turn / 90;
    if (std::fabs(quarters - std::round(quarters)) > 1e-9) {
        drawTurned(img, dst, turn);
        return;
    }
    const int q = static_cast<int>(std::lround(quarters)) % 4;
    int w = 0, h = 0;
    const std::vector<uint32_t> pixels = quarterTurns(img, q, &w, &h);
    Rect box = dst;
    if (q % 2) {
        // The rectangle turned a quarter about its centre.
        const int32_t dw = dst.width(), dh = dst.height();
        box.left = dst.left + (dw - dh) / 2;
        box.right = box.left + dh;
        box.top = dst.top + (dh - dw) / 2;
        box.bottom = box.top + dw;
    }
    drawBits(current(), pixels, w, h, box, srcCopy, nullptr);
}

}  // namespace qd
