// An offscreen world for drawing tests, made current while it lives, and the
// font numbers of names.
#pragma once

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "platform/quickdraw/pict.h"
#include "platform/quickdraw/quickdraw.h"

namespace qdtest {

struct World {
    qd::GWorldPtr w = nullptr;
    explicit World(qd::Rect r = {0, 0, 60, 80}, int depth = 32) {
        qd::NewGWorld(&w, depth, r);
        qd::SetGWorld(w);
    }
    ~World() { qd::DisposeGWorld(w); }
    World(const World&) = delete;
    World& operator=(const World&) = delete;
    qd::RGBColor at(int h, int v) const {
        qd::RGBColor c;
        qd::GetCPixel(h, v, &c);
        return c;
    }
    // The pixel as 0xRRGGBB.
    uint32_t rgb(int h, int v) const {
        const qd::RGBColor c = at(h, v);
        return ((c.red >> 8) << 16) | ((c.green >> 8) << 8) | (c.blue >> 8);
    }
    bool black(int h, int v) const { return at(h, v) == qd::RGBColor{0, 0, 0}; }
    // Every point (h, v) of `dark` black and none of `light`.
    using Points = std::vector<std::pair<int, int>>;
    ::testing::AssertionResult inked(const Points& dark, const Points& light = {}) const {
        for (auto [h, v] : dark)
            if (!black(h, v))
                return ::testing::AssertionFailure() << h << "," << v << " is not black";
        for (auto [h, v] : light)
            if (black(h, v)) return ::testing::AssertionFailure() << h << "," << v << " is black";
        return ::testing::AssertionSuccess();
    }
    int count(const qd::RGBColor& c) const {
        const qd::Rect b = qd::GWorldBounds(w);
        int n = 0;
        for (int v = b.top; v < b.bottom; ++v)
            for (int h = b.left; h < b.right; ++h) n += at(h, v) == c;
        return n;
    }
    int blacks() const { return count({0, 0, 0}); }
    // The first and the last row with black between columns h0 and h1.
    std::pair<int, int> inkRows(int h0, int h1) const {
        const qd::Rect b = qd::GWorldBounds(w);
        int top = b.bottom, bottom = -1;
        for (int v = b.top; v < b.bottom; ++v)
            for (int h = h0; h < h1; ++h)
                if (black(h, v)) top = std::min(top, v), bottom = std::max(bottom, v);
        return {top, bottom};
    }
    // Every pixel as 0xRRGGBB, row by row.
    std::vector<uint32_t> pixels() const {
        int stride = 0;
        const uint32_t* p = qd::GWorldPixels(w, &stride);
        const qd::Rect b = qd::GWorldBounds(w);
        std::vector<uint32_t> out;
        for (int y = 0; y < b.height(); ++y)
            for (int x = 0; x < b.width(); ++x) out.push_back(p[y * stride / 4 + x] & 0xFFFFFF);
        return out;
    }
};

inline int16_t fontNumber(const std::string& name) {
    unsigned char p[256];
    p[0] = static_cast<unsigned char>(name.size());
    std::memcpy(p + 1, name.data(), p[0]);
    int16_t num = -1;
    qd::GetFNum(p, &num);
    return num;
}

using PicturePtr = std::unique_ptr<qd::Picture, void (*)(qd::Picture*)>;

// PICT bytes read as a picture; null, with the reason in *error, when they do not read.
inline PicturePtr readPict(const std::string& bytes, std::string* error) {
    return {qd::ReadPict(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), error),
            qd::KillPicture};
}

// A picture, let go of, written as PICT (into *bytes) and read back.
inline PicturePtr writtenAndReadBack(qd::Picture* pic, std::string* bytes, std::string* error) {
    *bytes = qd::WritePict(*pic);
    qd::KillPicture(pic);
    return readPict(*bytes, error);
}

// The largest difference of one channel between two 0xRRGGBB colours.
inline int channelGap(uint32_t a, uint32_t b) {
    int gap = 0;
    for (int shift : {0, 8, 16}) {
        const int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
        gap = std::max(gap, d < 0 ? -d : d);
    }
    return gap;
}

}  // namespace qdtest
