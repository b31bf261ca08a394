#include <algorithm>
#include <cmath>
#include <cstring>

#include "support/reader.h"
#include "symbology/codebars.h"

namespace testsupport {
namespace {

using Row = std::vector<int32_t>;  // signed widths of one bar row

std::vector<Row> barRows(const unsigned char* chNum, int cu_len) {
    std::vector<Row> rows;
    Row row;
    bool allElements = true;
    for (int i = 0; i < cu_len; ++i) {
        unsigned char b = chNum[i];
        if (b == kRowEnd) {
            if (allElements && !row.empty()) rows.push_back(row);
            row.clear();
            allElements = true;
            continue;
        }
        int32_t w = charToWidth(b);
        if (w == kNoElement)
            allElements = false;
        else
            row.push_back(w);
    }
    if (allElements && !row.empty()) rows.push_back(row);
    return rows;
}

Bitmap paintRows(const std::vector<Row>& rows, const LinearOptions& opt) {
    int widest = 0;
    for (const Row& r : rows) {
        double um = 0;
        for (int32_t w : r) um += std::abs(w);
        widest = std::max(widest, static_cast<int>(std::lround(um * opt.pixelsPerMicrometre)));
    }
    Bitmap bmp;
    bmp.width = widest + 2 * opt.quietZone;
    bmp.height = static_cast<int>(rows.size()) * opt.rowHeight + 2 * opt.quietZone;
    bmp.pixels.assign(static_cast<size_t>(bmp.width) * bmp.height, 255);
    for (size_t r = 0; r < rows.size(); ++r) {
        double x = 0;
        for (int32_t w : rows[r]) {
            int x0 = static_cast<int>(std::lround(x * opt.pixelsPerMicrometre));
            x += std::abs(w);
            int x1 = static_cast<int>(std::lround(x * opt.pixelsPerMicrometre));
            if (w <= 0) continue;
            for (int y = 0; y < opt.rowHeight; ++y) {
                int py = opt.quietZone + static_cast<int>(r) * opt.rowHeight + y;
                for (int px = x0; px < x1; ++px)
                    bmp.pixels[static_cast<size_t>(py) * bmp.width + opt.quietZone + px] = 0;
            }
        }
    }
    return bmp;
}

}  // namespace

Bitmap rasteriseElementList(const unsigned char* chNum, int cu_len, const LinearOptions& opt) {
    std::vector<Row> rows = barRows(chNum, cu_len);
    if (opt.firstRowOnly && !rows.empty()) rows.resize(1);
    return paintRows(rows, opt);
}

Bitmap rasteriseElementRow(const unsigned char* chNum, int cu_len, int row,
                           const LinearOptions& opt) {
    std::vector<Row> rows = barRows(chNum, cu_len);
    std::vector<Row> one;
    if (row >= 0 && row < static_cast<int>(rows.size())) one.push_back(rows[row]);
    return paintRows(one, opt);
}

Bitmap rasteriseMatrix(const std::vector<std::vector<bool>>& m, int moduleWidth, int rowHeight,
                       int quietModules) {
    size_t cols = 0;
    for (const auto& r : m) cols = std::max(cols, r.size());
    Bitmap bmp;
    bmp.width = static_cast<int>(cols + 2 * quietModules) * moduleWidth;
    bmp.height = static_cast<int>(m.size()) * rowHeight + 2 * quietModules * moduleWidth;
    bmp.pixels.assign(static_cast<size_t>(bmp.width) * bmp.height, 255);
    for (size_t r = 0; r < m.size(); ++r)
        for (size_t c = 0; c < m[r].size(); ++c) {
            if (!m[r][c]) continue;
            for (int y = 0; y < rowHeight; ++y)
                for (int x = 0; x < moduleWidth; ++x) {
                    int py = quietModules * moduleWidth + static_cast<int>(r) * rowHeight + y;
                    int px = static_cast<int>(quietModules + c) * moduleWidth + x;
                    bmp.pixels[static_cast<size_t>(py) * bmp.width + px] = 0;
                }
        }
    return bmp;
}

Bitmap rasteriseMatrix(const std::vector<std::string>& rows, int moduleWidth, int rowHeight,
                       int quietModules) {
    std::vector<std::vector<bool>> m;
    for (const std::string& s : rows) {
        std::vector<bool> r;
        for (char c : s) r.push_back(c == '1' || c == 'X' || c == '#');
        m.push_back(r);
    }
    return rasteriseMatrix(m, moduleWidth, rowHeight, quietModules);
}

Bitmap rasteriseModuleRows(const unsigned char* chNum, int cu_len, int moduleWidth, int rowHeight,
                           int quietModules) {
    std::vector<std::vector<bool>> m;
    std::vector<bool> row;
    for (int i = 0; i < cu_len; ++i) {
        unsigned char b = chNum[i];
        if (b == kRowEnd) {
            if (!row.empty()) m.push_back(row);
            row.clear();
        } else if (b == kDarkModule || b == kLightModule) {
            row.push_back(b == kDarkModule);
        }
    }
    if (!row.empty()) m.push_back(row);
    return rasteriseMatrix(m, moduleWidth, rowHeight, quietModules);
}

std::vector<std::vector<bool>> blockLettersToMatrix(const unsigned char* chNum, int cu_len) {
    std::vector<std::vector<bool>> m;
    std::vector<std::vector<bool>> band(4);
    auto flush = [&]() {
        if (!band[0].empty())
            for (auto& r : band) m.push_back(r);
        for (auto& r : band) r.clear();
    };
    for (int i = 0; i < cu_len && chNum[i] != 0; ++i) {
        unsigned char b = chNum[i];
        if (b == kRowEnd) {
            flush();
            continue;
        }
        int v = b - 'e';
        if (v < 0 || v > 15) continue;
        for (int k = 0; k < 4; ++k) band[k].push_back((v >> (3 - k)) & 1);
    }
    flush();
    // Rows past the symbol's last row come out light; decoders take them as quiet zone.
    return m;
}

std::vector<std::vector<bool>> blockLetterSymbol(const unsigned char* chNum, int cu_len) {
    auto m = blockLettersToMatrix(chNum, cu_len);
    while (!m.empty() && std::find(m.back().begin(), m.back().end(), true) == m.back().end())
        m.pop_back();
    return m;
}

std::string blockLetterFault(const unsigned char* chNum, int cu_len, int rows, int cols) {
    const int bands = (rows + 3) / 4;
    if (cu_len != bands * (cols + 1))
        return "length " + std::to_string(cu_len) + ", not " + std::to_string(bands * (cols + 1));
    if (chNum[cu_len] != 0) return "no NUL behind the list";
    for (int i = 0; i < cu_len; ++i) {
        const unsigned char c = chNum[i];
        if (i % (cols + 1) == cols ? c != kRowEnd : c < 'e' || c > 't')
            return "byte " + std::to_string(c) + " at " + std::to_string(i);
    }
    // Rows of the last band below the symbol are light.
    const int light = (1 << (bands * 4 - rows)) - 1;
    for (int i = (bands - 1) * (cols + 1); i < cu_len - 1; ++i)
        if ((chNum[i] - 'e') & light) return "dark module below the symbol at " + std::to_string(i);
    return {};
}

Bitmap rasteriseBlockLetters(const unsigned char* chNum, int cu_len, int moduleSize,
                             int quietModules) {
    return rasteriseMatrix(blockLettersToMatrix(chNum, cu_len), moduleSize, moduleSize,
                           quietModules);
}

Bitmap padBitmap(const Bitmap& b, int margin) {
    Bitmap out;
    out.width = b.width + 2 * margin;
    out.height = b.height + 2 * margin;
    out.pixels.assign(static_cast<size_t>(out.width) * out.height, 255);
    for (int y = 0; y < b.height; ++y)
        std::memcpy(&out.pixels[static_cast<size_t>(y + margin) * out.width + margin],
                    &b.pixels[static_cast<size_t>(y) * b.width], static_cast<size_t>(b.width));
    return out;
}

Bitmap rowsOf(const Bitmap& b, int top, int count) {
    Bitmap out{b.width, count, {}};
    for (int y = top; y < top + count; ++y)
        out.pixels.insert(out.pixels.end(), b.pixels.begin() + y * b.width,
                          b.pixels.begin() + (y + 1) * b.width);
    return out;
}

Bitmap cropToInk(const Bitmap& b, int margin) {
    int x0 = b.width, y0 = b.height, x1 = -1, y1 = -1;
    for (int y = 0; y < b.height; ++y)
        for (int x = 0; x < b.width; ++x)
            if (b.at(x, y) < 128) {
                x0 = std::min(x0, x);
                x1 = std::max(x1, x);
                y0 = std::min(y0, y);
                y1 = std::max(y1, y);
            }
    if (x1 < 0) return padBitmap(b, margin);
    Bitmap c;
    c.width = x1 - x0 + 1;
    c.height = y1 - y0 + 1;
    c.pixels.resize(static_cast<size_t>(c.width) * c.height);
    for (int y = 0; y < c.height; ++y)
        std::memcpy(&c.pixels[static_cast<size_t>(y) * c.width],
                    &b.pixels[static_cast<size_t>(y + y0) * b.width + x0],
                    static_cast<size_t>(c.width));
    return padBitmap(c, margin);
}

Bitmap turnedClockwise(const Bitmap& b, int quarters) {
    Bitmap out = b;
    for (int q = 0; q < quarters % 4; ++q) {
        Bitmap t;
        t.width = out.height;
        t.height = out.width;
        t.pixels.resize(out.pixels.size());
        for (int y = 0; y < t.height; ++y)
            for (int x = 0; x < t.width; ++x)
                t.pixels[static_cast<size_t>(y) * t.width + x] = out.at(y, out.height - 1 - x);
        out = t;
    }
    return out;
}

}  // namespace testsupport
