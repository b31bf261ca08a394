// Drawn pixels against a golden PNG under tests/data/: a channel may differ by
// at most kChannelSlack, and at most `oddPixelsMost` pixels may differ by more
// (anti-aliasing that moves with a library's version).
//
// With STRIXEL_WRITE_GOLDEN set the picture is written instead, and the test is
// marked skipped; look at the picture before committing it.
#pragma once

#include <cairo.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/toolbox/windows.h"

namespace goldenimage {

constexpr int kChannelSlack = 24;

using Surface = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;

inline int channel(uint32_t rgb, int shift) { return static_cast<int>((rgb >> shift) & 0xFF); }

// An RGB image to draw into pixel by pixel.
inline Surface makeImage(int width, int height) {
    Surface image(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height),
                  cairo_surface_destroy);
    cairo_surface_flush(image.get());
    return image;
}

inline void setPixel(cairo_surface_t* image, int x, int y, uint32_t rgb) {
    unsigned char* data = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    *reinterpret_cast<uint32_t*>(data + y * stride + x * 4) = rgb;
}

inline uint32_t pixel(cairo_surface_t* image, int x, int y) {
    const unsigned char* data = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    return *reinterpret_cast<const uint32_t*>(data + y * stride + x * 4);
}

// The window's pixels into the image, its left edge at column `at`.
inline void copyWindow(cairo_surface_t* image, toolbox::WindowPtr w, int at = 0) {
    const int width = w->portRect.width(), height = w->portRect.height();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) setPixel(image, at + x, y, toolbox::WindowPixel(w, x, y));
}

inline void expectMatchesGolden(cairo_surface_t* drawn, const std::string& golden,
                                int oddPixelsMost) {
    cairo_surface_mark_dirty(drawn);
    if (std::getenv("STRIXEL_WRITE_GOLDEN")) {
        std::filesystem::create_directories(std::filesystem::path(golden).parent_path());
        ASSERT_EQ(cairo_surface_write_to_png(drawn, golden.c_str()), CAIRO_STATUS_SUCCESS);
        GTEST_SKIP() << "wrote " << golden;
    }
    Surface owned(cairo_image_surface_create_from_png(golden.c_str()), cairo_surface_destroy);
    cairo_surface_t* g = owned.get();
    ASSERT_EQ(cairo_surface_status(g), CAIRO_STATUS_SUCCESS) << "no golden at " << golden;
    const int width = cairo_image_surface_get_width(drawn);
    const int height = cairo_image_surface_get_height(drawn);
    ASSERT_EQ(cairo_image_surface_get_width(g), width) << golden;
    ASSERT_EQ(cairo_image_surface_get_height(g), height) << golden;
    int odd = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint32_t a = pixel(drawn, x, y), b = pixel(g, x, y);
            for (int shift : {0, 8, 16})
                if (std::abs(channel(a, shift) - channel(b, shift)) > kChannelSlack) {
                    ++odd;
                    break;
                }
        }
    EXPECT_LE(odd, oddPixelsMost) << "pixels unlike " << golden;
}

}  // namespace goldenimage
