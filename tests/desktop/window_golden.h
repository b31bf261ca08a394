// A window's pixels against a golden PNG under tests/data/desktop/: a channel
// may differ by at most kChannelSlack, and at most kOddPixelsMost pixels may
// differ by more (anti-aliasing that moves with a library's version), the
// tolerance of the toolbox's test card.
//
// To draw a golden again on purpose (after a change to how the window looks):
//   STRIXEL_WRITE_GOLDEN=1 QT_QPA_PLATFORM=offscreen build-test/tests/test_desktop
//       --gtest_filter='*Golden*'
// then look at the picture before committing it.
#pragma once

#include <cairo.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/toolbox/windows.h"

namespace windowgolden {

constexpr int kChannelSlack = 24;
constexpr int kOddPixelsMost = 200;

inline int channel(uint32_t rgb, int shift) { return static_cast<int>((rgb >> shift) & 0xFF); }

using Surface = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;

inline void expectMatches(toolbox::WindowPtr w, const std::string& name) {
    const std::string golden = std::string(STRIXEL_TEST_DATA) + "/desktop/" + name;
    const int width = w->portRect.width(), height = w->portRect.height();
    Surface owned(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height),
                  cairo_surface_destroy);
    cairo_surface_t* drawn = owned.get();
    cairo_surface_flush(drawn);
    const int stride = cairo_image_surface_get_stride(drawn);
    unsigned char* data = cairo_image_surface_get_data(drawn);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            *reinterpret_cast<uint32_t*>(data + y * stride + x * 4) = toolbox::WindowPixel(w, x, y);
    cairo_surface_mark_dirty(drawn);
    if (std::getenv("STRIXEL_WRITE_GOLDEN")) {
        std::filesystem::create_directories(std::filesystem::path(golden).parent_path());
        ASSERT_EQ(cairo_surface_write_to_png(drawn, golden.c_str()), CAIRO_STATUS_SUCCESS);
        GTEST_SKIP() << "wrote " << golden;
    }
    Surface ownedGolden(cairo_image_surface_create_from_png(golden.c_str()), cairo_surface_destroy);
    cairo_surface_t* g = ownedGolden.get();
    ASSERT_EQ(cairo_surface_status(g), CAIRO_STATUS_SUCCESS) << "no golden at " << golden;
    ASSERT_EQ(cairo_image_surface_get_width(g), width);
    ASSERT_EQ(cairo_image_surface_get_height(g), height);
    const int gStride = cairo_image_surface_get_stride(g);
    const unsigned char* gData = cairo_image_surface_get_data(g);
    int odd = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint32_t a = *reinterpret_cast<const uint32_t*>(data + y * stride + x * 4);
            const uint32_t b = *reinterpret_cast<const uint32_t*>(gData + y * gStride + x * 4);
            for (int shift : {0, 8, 16})
                if (std::abs(channel(a, shift) - channel(b, shift)) > kChannelSlack) {
                    ++odd;
                    break;
                }
        }
    EXPECT_LE(odd, kOddPixelsMost) << "pixels unlike " << golden;
}

}  // namespace windowgolden
