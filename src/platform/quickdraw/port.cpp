// Ports, offscreen worlds, pen and colour state, clips, and filling in the
// transfer modes.
#include "platform/quickdraw/port.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

namespace qd {
namespace {

constexpr uint16_t kFull = 0xFFFF;
// The 8-bit worlds show the colour cube: six steps a channel.
constexpr uint16_t kCubeStep = 0x3333;
// Largest side of an offscreen world: cairo's own limit.
constexpr int32_t kMaxWorldSide = kMaxImageSide;
constexpr int kErrParam = -50;
constexpr int kErrMemory = -108;
// Luminance weights of red, green and blue, in thousandths: a grey keeps its level.
constexpr uint32_t kLumaRed = 299, kLumaGreen = 587, kLumaBlue = 114, kLumaWhole = 1000;
constexpr uint8_t kFullInk = 0xFF;
// cairo packs one-bit pixels into 32-bit words of the machine's order: on a
// little-endian machine the first pixel is the least significant bit of byte 0.
constexpr bool kBitsLsbFirst = std::endian::native == std::endian::little;

GrafPort gNullPort;  // draws nowhere: the current port before any SetPort
GrafPort* gCurrent = nullptr;

cairo_surface_t* patternMask(const Pattern& pat) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_A8, 8, 8);
    cairo_surface_flush(s);
    unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) data[y * stride + x] = (pat.rows[y] >> (7 - x)) & 1 ? 0xFF : 0;
    cairo_surface_mark_dirty(s);
    return s;
}

bool allSet(const Pattern& pat) {
    return std::all_of(std::begin(pat.rows), std::end(pat.rows),
                       [](uint8_t r) { return r == 0xFF; });
}
bool noneSet(const Pattern& pat) {
    return std::all_of(std::begin(pat.rows), std::end(pat.rows), [](uint8_t r) { return r == 0; });
}

// Paints the source through the pattern's set bits, inside the current path.
void maskedFill(GrafPort& p, const Pattern& pat) {
    cairo_t* cr = p.cr;
    if (allSet(pat)) {
        cairo_fill_preserve(cr);
        return;
    }
    if (noneSet(pat)) return;
    cairo_save(cr);
    cairo_clip_preserve(cr);
    cairo_surface_t* m = patternMask(pat);
    cairo_pattern_t* mp = cairo_pattern_create_for_surface(m);
    cairo_pattern_set_extend(mp, CAIRO_EXTEND_REPEAT);
    cairo_pattern_set_filter(mp, CAIRO_FILTER_NEAREST);
    // Patterns stay put on the port's own grid, as the port scrolls.
    cairo_matrix_t mat;
    cairo_matrix_init_identity(&mat);
    cairo_pattern_set_matrix(mp, &mat);
    cairo_mask(cr, mp);
    cairo_pattern_destroy(mp);
    cairo_surface_destroy(m);
    cairo_restore(cr);
}

void pathOfClip(cairo_t* cr, const Clip& c) {
    if (c.kind == Clip::Box) {
        const Rect& r = c.rect;
        cairo_rectangle(cr, r.left, r.top, std::max(0, r.width()), std::max(0, r.height()));
    } else if (c.kind == Clip::Outline) {
        bool first = true;
        for (const Point& pt : c.poly.points) {
            if (first)
                cairo_move_to(cr, pt.h, pt.v);
            else
                cairo_line_to(cr, pt.h, pt.v);
            first = false;
        }
        cairo_close_path(cr);
    }
}

void setUpContext(GrafPort& p) {
    p.cr = cairo_create(p.surface);
    cairo_scale(p.cr, p.scale, p.scale);
    cairo_translate(p.cr, -p.bounds.left, -p.bounds.top);
    cairo_set_antialias(p.cr, CAIRO_ANTIALIAS_NONE);
}

// The bits of byte-sized group [from, to) of a one-bit row, 0 <= from < to <= 8.
uint8_t bitSpan(int from, int to) {
    const unsigned lsb = ((1u << to) - 1) & ~((1u << from) - 1);
    if (kBitsLsbFirst) return static_cast<uint8_t>(lsb);
    return static_cast<uint8_t>(((lsb & 0x01) << 7) | ((lsb & 0x02) << 5) | ((lsb & 0x04) << 3) |
                                ((lsb & 0x08) << 1) | ((lsb & 0x10) >> 1) | ((lsb & 0x20) >> 3) |
                                ((lsb & 0x40) >> 5) | ((lsb & 0x80) >> 7));
}

// Where pixels [x0, x1) of a one-bit row lie: the bytes they fill whole, and the
// bits they take of the bytes at their ends.
struct BitSpan {
    int first, last;  // the bytes at the ends
    uint8_t head, tail;
    // A span within eight bytes that the row holds from `first` on is changed as
    // one word: its bits in memory order.
    bool inWord = false;
    uint64_t word = 0;
    BitSpan(int x0, int x1, int rowBytes) : first(x0 >> 3), last((x1 - 1) >> 3) {
        head = bitSpan(x0 & 7, first == last ? ((x1 - 1) & 7) + 1 : 8);
        tail = bitSpan(0, ((x1 - 1) & 7) + 1);
        if (last - first < 8 && first + 8 <= rowBytes) {
            inWord = true;
            if constexpr (kBitsLsbFirst) {
                // Memory order is the word's order here: the span is bits
                // [x0, x1) counted from the first byte. Built with shifts, not
                // through bytes stored and read back as one word, which stalls
                // the load on every glyph run.
                const int from = x0 & 7, to = x1 - first * 8;  // 1 <= to <= 64
                const uint64_t below = to == 64 ? ~uint64_t{0} : (uint64_t{1} << to) - 1;
                word = below & ~((uint64_t{1} << from) - 1);
                return;
            }
            uint8_t bytes[8] = {};
            bytes[0] = head;
            for (int i = 1; i < last - first; ++i) bytes[i] = 0xFF;
            if (last > first) bytes[last - first] = tail;
            std::memcpy(&word, bytes, sizeof word);
        }
    }
};

enum class BitOp { set, clear, flip };

template <BitOp op, typename T>
void applyBits(T& b, T mask) {
    if constexpr (op == BitOp::set)
        b |= mask;
    else if constexpr (op == BitOp::clear)
        b &= static_cast<T>(~mask);
    else
        b ^= mask;
}

// The span set (ink), cleared or inverted in `rows` rows from `row` on.
template <BitOp op>
void spanBits(unsigned char* row, int stride, int rows, const BitSpan& s) {
    if (s.inWord) {
        // A bar: one load and one store a row.
        for (int y = 0; y < rows; ++y, row += stride) {
            uint64_t w;
            std::memcpy(&w, row + s.first, sizeof w);
            applyBits<op>(w, s.word);
            std::memcpy(row + s.first, &w, sizeof w);
        }
        return;
    }
    const size_t whole = s.last > s.first ? static_cast<size_t>(s.last - s.first - 1) : 0;
    for (int y = 0; y < rows; ++y, row += stride) {
        applyBits<op>(row[s.first], s.head);
        if (s.last == s.first) continue;
        // The end bytes first: a byte read just after a long fill of the bytes
        // beside it waits for the fill's stores.
        applyBits<op>(row[s.last], s.tail);
        uint8_t* mid = row + s.first + 1;
        for (size_t i = 0; i < whole; ++i) applyBits<op>(mid[i], uint8_t{0xFF});
    }
}

// Reverses a byte's bits: cairo's one-bit order against the files' (first pixel high).
uint8_t reversed(uint8_t b) {
    b = static_cast<uint8_t>((b & 0xF0) >> 4 | (b & 0x0F) << 4);
    b = static_cast<uint8_t>((b & 0xCC) >> 2 | (b & 0x33) << 2);
    return static_cast<uint8_t>((b & 0xAA) >> 1 | (b & 0x55) << 1);
}

bool inkBit(const unsigned char* row, int x) {
    const unsigned bit = kBitsLsbFirst ? (x & 7) : 7 - (x & 7);
    return (row[x >> 3] >> bit) & 1;
}

// One pixel of an image surface of any format the ports use, as 0x00RRGGBB.
uint32_t pixelAt(cairo_surface_t* s, int x, int y) {
    const unsigned char* row =
        cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s);
    switch (cairo_image_surface_get_format(s)) {
        case CAIRO_FORMAT_A1:
            return inkBit(row, x) ? 0 : 0xFFFFFFu;
        case CAIRO_FORMAT_A8: {
            const uint32_t g = 0xFFu - row[x];
            return g << 16 | g << 8 | g;
        }
        default: {
            uint32_t px;
            std::memcpy(&px, row + x * 4, 4);
            return px & 0xFFFFFFu;
        }
    }
}

uint16_t nearestStep(uint16_t c) {
    const int step = (c + kCubeStep / 2) / kCubeStep;
    return static_cast<uint16_t>(step * kCubeStep);
}

// Modes beyond the sixteen boolean ones (a printing pass sets one that only the
// printer driver reads) draw as plain copies rather than as whatever their low
// bits would say.
int16_t knownMode(int16_t mode) {
    return mode >= srcCopy && mode <= notPatBic ? mode : static_cast<int16_t>(patCopy);
}

}  // namespace

GrafPort& current() { return gCurrent ? *gCurrent : gNullPort; }

bool visible(const GrafPort& p) { return p.cr != nullptr && p.penVis >= 0; }

PicOp* record(GrafPort& p, Op op) {
    if (!p.recording) return nullptr;
    p.recording->ops.emplace_back();
    p.recording->ops.back().op = op;
    return &p.recording->ops.back();
}

void applyClip(GrafPort& p) {
    if (p.clipApplied || !p.cr) return;
    cairo_t* cr = p.cr;
    cairo_reset_clip(cr);
    cairo_new_path(cr);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    for (const Clip& c : p.outerClips)
        if (c.kind != Clip::Open) {
            pathOfClip(cr, c);
            cairo_clip(cr);
        }
    if (p.st.clip.kind != Clip::Open) {
        pathOfClip(cr, p.st.clip);
        cairo_clip(cr);
    }
    p.clipApplied = true;
}

namespace {
int64_t distance(const RGBColor& a, const RGBColor& b) {
    const int64_t dr = a.red - b.red, dg = a.green - b.green, db = a.blue - b.blue;
    return dr * dr + dg * dg + db * db;
}

// Ties go to the paper, so that white on white paper stays white.
bool nearerPaper(const GrafPort& p, const RGBColor& c) {
    const int64_t toPaper = distance(c, p.paper);
    return toPaper <= distance(c, p.ink) && toPaper <= distance(c, RGBColor{0, 0, 0});
}
}  // namespace

RGBColor showable(const GrafPort& p, const RGBColor& c) {
    if (p.depth == 1) {
        // Only white stays white (or what the threshold or the paper calls white);
        // every other colour prints.
        const bool white = p.byPaper ? nearerPaper(p, c)
                           : p.whiteFrom > 0
                               ? (c.red >> 8) >= p.whiteFrom
                               : c.red == kFull && c.green == kFull && c.blue == kFull;
        return white ? RGBColor{kFull, kFull, kFull} : RGBColor{0, 0, 0};
    }
    if (p.depth == kGreyDepth) {
        const auto level = static_cast<uint16_t>(
            (kLumaRed * c.red + kLumaGreen * c.green + kLumaBlue * c.blue + kLumaWhole / 2) /
            kLumaWhole);
        return {level, level, level};
    }
    if (p.depth == 8) return {nearestStep(c.red), nearestStep(c.green), nearestStep(c.blue)};
    return c;
}

bool inkWorld(const GrafPort& p) { return p.depth == 1 || p.depth == kGreyDepth; }

uint8_t inkOf(const GrafPort& p, const RGBColor& c) {
    return static_cast<uint8_t>(kFullInk - (showable(p, c).red >> 8));
}

void setSource(GrafPort& p, const RGBColor& colour) {
    if (inkWorld(p)) {
        // Ink replaces what lies below, as an opaque colour would.
        cairo_set_operator(p.cr, CAIRO_OPERATOR_SOURCE);
        cairo_set_source_rgba(p.cr, 0, 0, 0, inkOf(p, colour) / 255.0);
        return;
    }
    const RGBColor c = showable(p, colour);
    cairo_set_source_rgb(p.cr, c.red / 65535.0, c.green / 65535.0, c.blue / 65535.0);
}

namespace {
// Narrows r to what the port's bounds and rectangular clips let through; false
// when a clip is an outline, which only the path can follow.
bool clippedToBoxes(const GrafPort& p, Rect* r) {
    auto within = [r](const Rect& c) {
        r->top = std::max(r->top, c.top);
        r->left = std::max(r->left, c.left);
        r->bottom = std::min(r->bottom, c.bottom);
        r->right = std::min(r->right, c.right);
    };
    within(p.bounds);
    for (const Clip& c : p.outerClips) {
        if (c.kind == Clip::Outline) return false;
        if (c.kind == Clip::Box) within(c.rect);
    }
    if (p.st.clip.kind == Clip::Outline) return false;
    if (p.st.clip.kind == Clip::Box) within(p.st.clip.rect);
    return true;
}
}  // namespace

bool fillRunsDirect(GrafPort& p, const std::vector<PixelRun>& runs, int16_t givenMode) {
    const int16_t mode = knownMode(givenMode);
    if (p.depth != 1 || p.scale != 1 || p.turns > 0 || (mode & 4) || (mode & 3) == srcCopy)
        return false;
    constexpr int32_t kFar = std::numeric_limits<int32_t>::max();
    Rect clip{-kFar, -kFar, kFar, kFar};
    if (!clippedToBoxes(p, &clip)) return false;
    const int op = mode & 3;
    const bool ink = op == srcOr ? inkOf(p, p.st.fore) != 0 : inkOf(p, p.st.back) != 0;
    cairo_surface_flush(p.surface);
    unsigned char* data = cairo_image_surface_get_data(p.surface);
    const int stride = cairo_image_surface_get_stride(p.surface);
    for (const PixelRun& run : runs) {
        if (run.v < clip.top || run.v >= clip.bottom) continue;
        const int32_t h0 = std::max(run.h0, clip.left), h1 = std::min(run.h1, clip.right);
        if (h1 <= h0) continue;
        unsigned char* row = data + (run.v - p.bounds.top) * stride;
        const BitSpan span(h0 - p.bounds.left, h1 - p.bounds.left, stride);
        if (op == srcXor)
            spanBits<BitOp::flip>(row, stride, 1, span);
        else if (ink)
            spanBits<BitOp::set>(row, stride, 1, span);
        else
            spanBits<BitOp::clear>(row, stride, 1, span);
    }
    cairo_surface_mark_dirty(p.surface);
    return true;
}

bool fillBandDirect(GrafPort& p, const std::vector<Rect>& band, int16_t givenMode,
                    const Pattern& given) {
    const int16_t mode = knownMode(givenMode);
    if (band.empty() || p.depth != 1 || p.scale != 1 || p.turns > 0) return false;
    const bool set = allSet(given), clear = noneSet(given);
    const int op = mode & 3;
    // Inverting rectangles that overlap is not the same as inverting their union.
    if ((!set && !clear) || op == srcXor) return false;
    for (const Rect& r : band)
        if (r.top != band[0].top || r.bottom != band[0].bottom) return false;
    constexpr int32_t kFar = std::numeric_limits<int32_t>::max();
    Rect clip{-kFar, -kFar, kFar, kFar};
    if (!clippedToBoxes(p, &clip)) return false;
    const bool on = set != ((mode & 4) != 0);  // whether the pattern's bits are set
    if (op != srcCopy && !on) return true;     // nothing to change
    const int32_t top = std::max(band[0].top, clip.top);
    const int32_t bottom = std::min(band[0].bottom, clip.bottom);
    if (bottom <= top) return true;
    const bool ink = inkOf(p, (op == srcCopy && on) || op == srcOr ? p.st.fore : p.st.back) != 0;
    cairo_surface_flush(p.surface);
    unsigned char* data = cairo_image_surface_get_data(p.surface);
    const int stride = cairo_image_surface_get_stride(p.surface);
    // The bits every rectangle takes of a row; kept empty between calls.
    static std::vector<unsigned char> mask;
    if (mask.size() < static_cast<size_t>(stride)) mask.assign(static_cast<size_t>(stride), 0);
    int lo = stride, hi = -1;  // the bytes of the row that change
    int32_t left = kFar, right = -kFar;
    for (const Rect& r : band) {
        const int32_t h0 = std::max(r.left, clip.left), h1 = std::min(r.right, clip.right);
        if (h1 <= h0) continue;
        const BitSpan s(h0 - p.bounds.left, h1 - p.bounds.left, stride);
        mask[s.first] |= s.head;
        if (s.last > s.first) {
            mask[s.last] |= s.tail;
            std::memset(mask.data() + s.first + 1, 0xFF, static_cast<size_t>(s.last - s.first - 1));
        }
        lo = std::min(lo, s.first), hi = std::max(hi, s.last);
        left = std::min(left, h0), right = std::max(right, h1);
    }
    if (hi < lo) return true;
    // Whole vectors where the row has room: the mask's bytes past hi are zero and
    // change nothing, and no row ends in a byte at a time.
    constexpr size_t kVector = 16;
    const size_t n = std::min((static_cast<size_t>(hi - lo) + kVector) / kVector * kVector,
                              static_cast<size_t>(stride - lo));
    const unsigned char* bits = mask.data() + lo;
    unsigned char* row = data + (top - p.bounds.top) * stride + lo;
    for (int32_t y = top; y < bottom; ++y, row += stride) {
        if (ink)
            for (size_t i = 0; i < n; ++i) row[i] |= bits[i];
        else
            for (size_t i = 0; i < n; ++i) row[i] &= static_cast<unsigned char>(~bits[i]);
    }
    std::memset(mask.data() + lo, 0, n);
    cairo_surface_mark_dirty_rectangle(p.surface, left - p.bounds.left, top - p.bounds.top,
                                       right - left, bottom - top);
    return true;
}

bool pathRuns(const GrafPort& p, const cairo_path_t* path, std::vector<PixelRun>* out) {
    std::vector<PixelRun>& runs = *out;
    runs.clear();
    double l = HUGE_VAL, t = HUGE_VAL, r = -HUGE_VAL, b = -HUGE_VAL;
    for (int i = 0; i < path->num_data; i += path->data[i].header.length)
        for (int k = 1; k < path->data[i].header.length; ++k) {
            const auto& pt = path->data[i + k].point;
            l = std::min(l, pt.x), r = std::max(r, pt.x);
            t = std::min(t, pt.y), b = std::max(b, pt.y);
        }
    if (!(l <= r && t <= b)) return true;  // nothing to fill
    if (r - l > kMaxWorldSide || b - t > kMaxWorldSide) return false;
    // The box of the path with a pixel to spare, in port coordinates, and no
    // more of it than the port holds: a glyph larger than the world costs no
    // more than the world.
    const auto left =
        static_cast<int32_t>(std::max(std::floor(l) - 1, static_cast<double>(p.bounds.left)));
    const auto top =
        static_cast<int32_t>(std::max(std::floor(t) - 1, static_cast<double>(p.bounds.top)));
    const auto right =
        static_cast<int32_t>(std::min(std::ceil(r) + 1, static_cast<double>(p.bounds.right)));
    const auto bottom =
        static_cast<int32_t>(std::min(std::ceil(b) + 1, static_cast<double>(p.bounds.bottom)));
    if (right <= left || bottom <= top) return true;  // all of it outside the port
    const int w = right - left;
    const int h = bottom - top;
    cairo_surface_t* mask = cairo_image_surface_create(CAIRO_FORMAT_A1, w, h);
    // Drawn as the port draws it, shifted by whole pixels only.
    cairo_surface_set_device_offset(mask, -(left - p.bounds.left), -(top - p.bounds.top));
    cairo_t* cr = cairo_create(mask);
    cairo_translate(cr, -p.bounds.left, -p.bounds.top);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    cairo_append_path(cr, path);
    cairo_fill(cr);
    cairo_destroy(cr);
    cairo_surface_flush(mask);
    const unsigned char* data = cairo_image_surface_get_data(mask);
    const int stride = cairo_image_surface_get_stride(mask);
    for (int y = 0; y < h; ++y) {
        const unsigned char* row = data + y * stride;
        for (int x = 0; x < w;) {
            if (!inkBit(row, x)) {
                ++x;
                continue;
            }
            const int from = x;
            while (x < w && inkBit(row, x)) ++x;
            runs.push_back({top + y, left + from, left + x});
        }
    }
    cairo_surface_destroy(mask);
    return true;
}

bool fillRectDirect(GrafPort& p, const Rect& shape, int16_t givenMode, const Pattern& given) {
    const int16_t mode = knownMode(givenMode);
    if (p.depth == 0 || p.scale != 1 || p.turns > 0) return false;
    const bool set = allSet(given), clear = noneSet(given);
    if (!set && !clear) return false;
    const bool on = set != ((mode & 4) != 0);  // whether the pattern's bits are set
    Rect r = shape;
    if (!clippedToBoxes(p, &r)) return false;
    if (r.empty()) return true;
    const int op = mode & 3;
    if ((op == 1 || op == 2 || op == 3) && !on) return true;  // nothing to change
    const RGBColor& paint = (op == 0 && on) || op == 1 ? p.st.fore : p.st.back;
    cairo_surface_flush(p.surface);
    unsigned char* data = cairo_image_surface_get_data(p.surface);
    const int stride = cairo_image_surface_get_stride(p.surface);
    const int x0 = r.left - p.bounds.left, y0 = r.top - p.bounds.top;
    if (inkWorld(p)) {
        const uint8_t ink = op == 2 ? kFullInk : inkOf(p, paint);
        unsigned char* top = data + y0 * stride;
        if (p.depth == 1) {
            const BitSpan span(x0, x0 + r.width(), stride);
            if (op == 2)
                spanBits<BitOp::flip>(top, stride, r.height(), span);
            else if (ink)
                spanBits<BitOp::set>(top, stride, r.height(), span);
            else
                spanBits<BitOp::clear>(top, stride, r.height(), span);
        } else {
            for (int y = 0; y < r.height(); ++y) {
                unsigned char* row = top + y * stride;
                if (op == 2)
                    for (int x = 0; x < r.width(); ++x) row[x0 + x] ^= kFullInk;
                else
                    std::memset(row + x0, ink, static_cast<size_t>(r.width()));
            }
        }
        cairo_surface_mark_dirty_rectangle(p.surface, x0, y0, r.width(), r.height());
        return true;
    }
    uint32_t colour = 0;
    if (op != 2) {
        const RGBColor c = showable(p, paint);
        colour = 0xFF000000u | ((c.red >> 8) << 16) | ((c.green >> 8) << 8) | (c.blue >> 8);
    }
    for (int y = 0; y < r.height(); ++y) {
        auto* row = reinterpret_cast<uint32_t*>(data + (y0 + y) * stride) + x0;
        if (op == 2)
            for (int x = 0; x < r.width(); ++x) row[x] ^= 0xFFFFFFu;
        else
            std::fill(row, row + r.width(), colour);
    }
    cairo_surface_mark_dirty_rectangle(p.surface, x0, y0, r.width(), r.height());
    return true;
}

void fillPath(GrafPort& p, int16_t givenMode, const Pattern& given, bool smooth) {
    const int16_t mode = knownMode(givenMode);
    cairo_t* cr = p.cr;
    if (!p.clipApplied) {
        // Setting the clip takes the path: keep the one to fill.
        cairo_path_t* path = cairo_copy_path(cr);
        applyClip(p);
        cairo_append_path(cr, path);
        cairo_path_destroy(path);
    }
    cairo_set_antialias(cr, smooth && p.smooth ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
    Pattern pat = given;
    if (mode & 4)
        for (uint8_t& r : pat.rows) r = static_cast<uint8_t>(~r);
    switch (mode & 3) {
        case 0:  // copy: set bits in the fore colour, the others in the back colour
            if (!allSet(pat)) {
                setSource(p, p.st.back);
                cairo_fill_preserve(cr);
            }
            setSource(p, p.st.fore);
            maskedFill(p, pat);
            break;
        case 1:  // or
            setSource(p, p.st.fore);
            maskedFill(p, pat);
            break;
        case 2:  // xor: set bits invert what lies below
            // Ink worlds keep ink as alpha, which xor of an opaque source inverts.
            cairo_set_operator(cr, inkWorld(p) ? CAIRO_OPERATOR_XOR : CAIRO_OPERATOR_DIFFERENCE);
            cairo_set_source_rgb(cr, 1, 1, 1);
            maskedFill(p, pat);
            cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
            break;
        default:  // bic: set bits take the back colour
            setSource(p, p.st.back);
            maskedFill(p, pat);
            break;
    }
    cairo_new_path(cr);
}

// ---- Ports ------------------------------------------------------------------

GrafPort* NewPort(cairo_surface_t* surface, const Rect& bounds, double scale, bool smooth) {
    auto* p = new GrafPort;
    p->surface = surface;
    p->bounds = bounds;
    p->scale = scale > 0 ? scale : 1;
    p->smooth = smooth;
    if (surface) setUpContext(*p);
    return p;
}

void DisposePort(GrafPort* port) {
    if (!port || port == &gNullPort) return;
    if (gCurrent == port) gCurrent = nullptr;
    if (port->cr) cairo_destroy(port->cr);
    if (port->ownsSurface) cairo_surface_destroy(port->surface);
    delete port;
}

void SetPort(GrafPort* port) { gCurrent = port; }
GrafPort* GetPort() { return gCurrent; }

void FlushPort(GrafPort* port) {
    if (port && port->surface) cairo_surface_flush(port->surface);
}

// ---- Offscreen worlds ---------------------------------------------------------

GrafPort* newWorldPort(int depth, const Rect& bounds, int* err) {
    *err = 0;
    if ((depth != 1 && depth != 8 && depth != kGreyDepth && depth != 32) || bounds.empty() ||
        bounds.width() > kMaxWorldSide || bounds.height() > kMaxWorldSide) {
        *err = kErrParam;
        return nullptr;
    }
    const bool ink = depth == 1 || depth == kGreyDepth;
    const cairo_format_t format =
        depth == 1 ? CAIRO_FORMAT_A1 : (ink ? CAIRO_FORMAT_A8 : CAIRO_FORMAT_RGB24);
    cairo_surface_t* s = cairo_image_surface_create(format, bounds.width(), bounds.height());
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(s);
        *err = kErrMemory;
        return nullptr;
    }
    GrafPort* p = NewPort(s, bounds);
    p->ownsSurface = true;
    p->depth = depth;
    if (ink) return p;  // cairo's new surfaces hold no ink: white
    cairo_save(p->cr);
    cairo_set_source_rgb(p->cr, 1, 1, 1);
    cairo_paint(p->cr);
    cairo_restore(p->cr);
    return p;
}

int NewGWorld(GWorldPtr* world, int depth, const Rect& bounds) {
    int err = 0;
    *world = newWorldPort(depth, bounds, &err);
    return err;
}

void DisposeGWorld(GWorldPtr world) { DisposePort(world); }
void SetGWorld(GWorldPtr world) { SetPort(world); }
GWorldPtr GetGWorld() { return gCurrent; }
int GWorldDepth(GWorldPtr world) { return world ? world->depth : 0; }
Rect GWorldBounds(GWorldPtr world) { return world ? world->bounds : Rect{}; }

void SetGWorldWhiteFrom(GWorldPtr world, int redFrom) {
    if (!world) return;
    world->whiteFrom = std::clamp(redFrom, 0, 0xFF);
    world->byPaper = false;
}

void SetGWorldPaper(GWorldPtr world, const RGBColor& paper, const RGBColor& ink) {
    if (!world) return;
    world->byPaper = true;
    world->paper = paper;
    world->ink = ink;
}

const uint32_t* GWorldPixels(GWorldPtr world, int* stride) {
    if (!world || !world->surface || world->depth == 0) return nullptr;
    cairo_surface_flush(world->surface);
    if (inkWorld(*world)) {
        const int w = world->bounds.width(), h = world->bounds.height();
        world->rgbView.resize(static_cast<size_t>(w) * h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                world->rgbView[static_cast<size_t>(y) * w + x] = pixelAt(world->surface, x, y);
        *stride = w * 4;
        return world->rgbView.data();
    }
    *stride = cairo_image_surface_get_stride(world->surface);
    return reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(world->surface));
}

bool GWorldBitRow(GWorldPtr world, int y, uint8_t* out) {
    if (!world || world->depth != 1 || y < 0 || y >= world->bounds.height()) return false;
    cairo_surface_flush(world->surface);
    const unsigned char* row = cairo_image_surface_get_data(world->surface) +
                               y * cairo_image_surface_get_stride(world->surface);
    const int width = world->bounds.width(), bytes = (width + 7) / 8;
    static const auto kFlip = [] {
        std::array<uint8_t, 256> t{};
        for (int b = 0; b < 256; ++b)
            t[b] = static_cast<uint8_t>(
                ~(kBitsLsbFirst ? reversed(static_cast<uint8_t>(b)) : static_cast<uint8_t>(b)));
        return t;
    }();
    for (int i = 0; i < bytes; ++i) out[i] = kFlip[row[i]];
    if (width % 8) out[bytes - 1] &= static_cast<uint8_t>(0xFF00 >> (width % 8));
    return true;
}

bool GWorldGreyRow(GWorldPtr world, int y, uint8_t* out) {
    if (!world || world->depth != kGreyDepth || y < 0 || y >= world->bounds.height()) return false;
    cairo_surface_flush(world->surface);
    const unsigned char* row = cairo_image_surface_get_data(world->surface) +
                               y * cairo_image_surface_get_stride(world->surface);
    for (int x = 0; x < world->bounds.width(); ++x)
        out[x] = static_cast<uint8_t>(kFullInk - row[x]);
    return true;
}

bool GWorldRowRepeats(GWorldPtr world, int y) {
    if (!world || world->depth == 0 || y <= 0 || y >= world->bounds.height()) return false;
    cairo_surface_flush(world->surface);
    const int stride = cairo_image_surface_get_stride(world->surface);
    const unsigned char* row = cairo_image_surface_get_data(world->surface) + y * stride;
    const int width = world->bounds.width();
    const size_t bytes = static_cast<size_t>(world->depth == 1            ? (width + 7) / 8
                                             : world->depth == kGreyDepth ? width
                                                                          : width * 4);
    if (world->depth == 1 && width % 8) {
        // The bits past the last pixel are no part of the row.
        if (std::memcmp(row, row - stride, bytes - 1) != 0) return false;
        const unsigned bits =
            kBitsLsbFirst ? (1u << (width % 8)) - 1 : (0xFF00u >> (width % 8)) & 0xFFu;
        const unsigned char* above = row - stride;
        return ((row[bytes - 1] ^ above[bytes - 1]) & bits) == 0;
    }
    return std::memcmp(row, row - stride, bytes) == 0;
}

void GetCPixel(int32_t h, int32_t v, RGBColor* colour) {
    GrafPort& p = current();
    *colour = {kFull, kFull, kFull};
    if (!p.surface || cairo_surface_get_type(p.surface) != CAIRO_SURFACE_TYPE_IMAGE) return;
    cairo_surface_flush(p.surface);
    const int x = static_cast<int>((h - p.bounds.left) * p.scale);
    const int y = static_cast<int>((v - p.bounds.top) * p.scale);
    if (x < 0 || y < 0 || x >= cairo_image_surface_get_width(p.surface) ||
        y >= cairo_image_surface_get_height(p.surface))
        return;
    const uint32_t px = pixelAt(p.surface, x, y);
    // 8-bit channels widen as QuickDraw widens them: the byte twice.
    colour->red = static_cast<uint16_t>(((px >> 16) & 0xFF) * 0x101);
    colour->green = static_cast<uint16_t>(((px >> 8) & 0xFF) * 0x101);
    colour->blue = static_cast<uint16_t>((px & 0xFF) * 0x101);
}

// ---- Pen --------------------------------------------------------------------

void MoveTo(int32_t h, int32_t v) {
    GrafPort& p = current();
    if (PicOp* op = record(p, Op::MoveTo)) {
        op->a[0] = h;
        op->a[1] = v;
    }
    p.st.pen = {v, h};
    p.st.penFrac = 0;
}

void Move(int32_t dh, int32_t dv) {
    const Point at = current().st.pen;
    MoveTo(at.h + dh, at.v + dv);
}

void GetPen(Point* pt) { *pt = current().st.pen; }

void PenSize(int32_t width, int32_t height) {
    GrafPort& p = current();
    if (PicOp* op = record(p, Op::PenSize)) {
        op->a[0] = width;
        op->a[1] = height;
    }
    p.st.penWidth = std::max(0, width);
    p.st.penHeight = std::max(0, height);
}

void PenMode(int16_t mode) {
    GrafPort& p = current();
    if (PicOp* op = record(p, Op::PenMode)) op->a[0] = mode;
    p.st.penMode = mode;
}

void PenPat(const Pattern& pat) {
    GrafPort& p = current();
    if (PicOp* op = record(p, Op::PenPat)) op->pat = pat;
    p.st.penPat = pat;
}

void BackPat(const Pattern& pat) {
    GrafPort& p = current();
    if (PicOp* op = record(p, Op::BackPat)) op->pat = pat;
    p.st.backPat = pat;
}

void PenNormal() {
    PenSize(1, 1);
    PenMode(patCopy);
    PenPat(kBlack);
}

void HidePen() { --current().penVis; }
void ShowPen() { ++current().penVis; }

// ---- Colours ----------------------------------------------------------------

void RGBForeColor(const RGBColor& c) {
    GrafPort& p = current();
    if (PicOp* op = record(p, Op::ForeColor)) {
        op->a[0] = c.red;
        op->a[1] = c.green;
        op->a[2] = c.blue;
    }
    p.st.fore = c;
}

void RGBBackColor(const RGBColor& c) {
    GrafPort& p = current();
    if (PicOp* op = record(p, Op::BackColor)) {
        op->a[0] = c.red;
        op->a[1] = c.green;
        op->a[2] = c.blue;
    }
    p.st.back = c;
}

void GetForeColor(RGBColor* c) { *c = current().st.fore; }
void GetBackColor(RGBColor* c) { *c = current().st.back; }

namespace {
RGBColor oldColour(int32_t c) {
    switch (c) {
        case whiteColor:
            return {kFull, kFull, kFull};
        case redColor:
            return {0xDD6B, 0x08C2, 0x06A2};
        case greenColor:
            return {0x0000, 0x8000, 0x11B0};
        case blueColor:
            return {0x0000, 0x0000, 0xD400};
        case cyanColor:
            return {0x0241, 0xAB54, 0xEAFF};
        case magentaColor:
            return {0xF2D7, 0x0856, 0x84EC};
        case yellowColor:
            return {0xFC00, 0xF37D, 0x052F};
        default:
            return {0, 0, 0};
    }
}
}  // namespace

void ForeColor(int32_t c) { RGBForeColor(oldColour(c)); }
void BackColor(int32_t c) { RGBBackColor(oldColour(c)); }

// ---- Clipping -----------------------------------------------------------------

void ClipRect(const Rect& r) {
    GrafPort& p = current();
    if (PicOp* op = record(p, Op::ClipRect)) op->rect = r;
    p.st.clip = Clip{Clip::Box, r, {}};
    p.clipApplied = false;
}

void ClipPoly(const Polygon& poly) {
    GrafPort& p = current();
    if (PicOp* op = record(p, Op::ClipPoly)) op->points = poly.points;
    p.st.clip = Clip{Clip::Outline, {}, poly};
    p.clipApplied = false;
}

void ClipAll() {
    GrafPort& p = current();
    constexpr int32_t kFar = std::numeric_limits<int16_t>::max();
    if (PicOp* op = record(p, Op::ClipRect)) op->rect = {-kFar, -kFar, kFar, kFar};
    p.st.clip = Clip{};
    p.clipApplied = false;
}

void GetClip(Rect* r) {
    const Clip& c = current().st.clip;
    constexpr int32_t kFar = std::numeric_limits<int16_t>::max();
    if (c.kind == Clip::Box) {
        *r = c.rect;
    } else if (c.kind == Clip::Outline && !c.poly.points.empty()) {
        Rect b{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
        for (const Point& pt : c.poly.points) {
            b.top = std::min(b.top, pt.v);
            b.left = std::min(b.left, pt.h);
            b.bottom = std::max(b.bottom, pt.v);
            b.right = std::max(b.right, pt.h);
        }
        *r = b;
    } else {
        *r = {-kFar, -kFar, kFar, kFar};
    }
}

// ---- CopyBits -------------------------------------------------------------------

namespace {

// The pixels of r in src, 0xFFRRGGBB, row after row; white outside src.
std::vector<uint32_t> pixelsOf(GrafPort& src, const Rect& r) {
    std::vector<uint32_t> out(static_cast<size_t>(r.width()) * r.height(), 0xFFFFFFFFu);
    if (!src.surface || cairo_surface_get_type(src.surface) != CAIRO_SURFACE_TYPE_IMAGE) return out;
    cairo_surface_flush(src.surface);
    const int sw = cairo_image_surface_get_width(src.surface);
    const int sh = cairo_image_surface_get_height(src.surface);
    for (int y = 0; y < r.height(); ++y) {
        const int sy = r.top - src.bounds.top + y;
        if (sy < 0 || sy >= sh) continue;
        for (int x = 0; x < r.width(); ++x) {
            const int sx = r.left - src.bounds.left + x;
            if (sx >= 0 && sx < sw)
                out[static_cast<size_t>(y) * r.width() + x] =
                    pixelAt(src.surface, sx, sy) | 0xFF000000u;
        }
    }
    return out;
}

// cairo keeps colour channels multiplied by alpha.
uint32_t premultiplied(uint32_t px) {
    const uint32_t a = px >> 24;
    if (a == 0xFF) return px;
    auto ch = [a](uint32_t c) { return (c * a + 127) / 255; };
    return (a << 24) | (ch((px >> 16) & 0xFF) << 16) | (ch((px >> 8) & 0xFF) << 8) | ch(px & 0xFF);
}

}  // namespace

std::vector<uint32_t> fittedPixels(const std::vector<uint32_t>& pixels, int* w, int* h,
                                   int mostWidth, int mostHeight) {
    const int step = std::max((*w + mostWidth - 1) / mostWidth, (*h + mostHeight - 1) / mostHeight);
    if (step <= 1) return pixels;
    const int fw = std::max(1, *w / step), fh = std::max(1, *h / step);
    std::vector<uint32_t> out(static_cast<size_t>(fw) * fh);
    for (int y = 0; y < fh; ++y)
        for (int x = 0; x < fw; ++x)
            out[static_cast<size_t>(y) * fw + x] =
                pixels[static_cast<size_t>(y) * step * *w + static_cast<size_t>(x) * step];
    *w = fw;
    *h = fh;
    return out;
}

void drawBits(GrafPort& dst, const std::vector<uint32_t>& given, int w, int h, const Rect& dstRect,
              int16_t mode, const Polygon* mask) {
    if (w <= 0 || h <= 0 || given.size() != static_cast<size_t>(w) * h) return;
    if (PicOp* op = record(dst, Op::Bits)) {
        op->rect = dstRect;
        op->a[0] = mode;
        op->a[1] = w;
        op->a[2] = h;
        if (mask) op->points = mask->points;
        op->pixels = given;
    }
    if (!visible(dst) || dstRect.empty()) return;
    // A map longer than cairo's surfaces is drawn from every n-th pixel: the
    // destination holds far fewer anyway.
    std::vector<uint32_t> fitted;
    if (w > kMaxImageSide || h > kMaxImageSide) fitted = fittedPixels(given, &w, &h);
    const std::vector<uint32_t>& pixels = fitted.empty() ? given : fitted;
    // The or mode leaves the destination where the source is white.
    const bool whiteClear = (mode & 3) == srcOr;
    const bool ink = inkWorld(dst);
    // Ink worlds take the pixels' ink through their coverage: where a pixel is
    // opaque its ink replaces what lies below, as its colour would.
    cairo_surface_t* s =
        cairo_image_surface_create(ink ? CAIRO_FORMAT_A8 : CAIRO_FORMAT_ARGB32, w, h);
    cairo_surface_t* cover = ink ? cairo_image_surface_create(CAIRO_FORMAT_A8, w, h) : nullptr;
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS ||
        (cover && cairo_surface_status(cover) != CAIRO_STATUS_SUCCESS)) {
        cairo_surface_destroy(s);  // no memory for the copy: nothing drawn
        if (cover) cairo_surface_destroy(cover);
        return;
    }
    cairo_surface_flush(s);
    unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    unsigned char* coverData = cover ? cairo_image_surface_get_data(cover) : nullptr;
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(data + y * stride);
        for (int x = 0; x < w; ++x) {
            const uint32_t px = pixels[static_cast<size_t>(y) * w + x];
            const bool clear = whiteClear && px == 0xFFFFFFFFu;
            if (!ink) {
                row[x] = clear ? 0 : premultiplied(px);
                continue;
            }
            const RGBColor c{static_cast<uint16_t>((px >> 16 & 0xFF) * 0x101),
                             static_cast<uint16_t>((px >> 8 & 0xFF) * 0x101),
                             static_cast<uint16_t>((px & 0xFF) * 0x101)};
            data[y * stride + x] = inkOf(dst, c);
            coverData[y * stride + x] = clear ? 0 : static_cast<unsigned char>(px >> 24);
        }
    }
    cairo_surface_mark_dirty(s);
    if (cover) cairo_surface_mark_dirty(cover);
    cairo_t* cr = dst.cr;
    applyClip(dst);
    cairo_save(cr);
    cairo_new_path(cr);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_rectangle(cr, dstRect.left, dstRect.top, dstRect.width(), dstRect.height());
    cairo_clip(cr);
    if (mask && !mask->points.empty()) {
        pathOfClip(cr, Clip{Clip::Outline, {}, *mask});
        cairo_clip(cr);
    }
    cairo_matrix_t m;
    cairo_matrix_init_scale(&m, static_cast<double>(w) / dstRect.width(),
                            static_cast<double>(h) / dstRect.height());
    cairo_matrix_translate(&m, -dstRect.left, -dstRect.top);
    auto placed = [&m](cairo_surface_t* surface) {
        cairo_pattern_t* pat = cairo_pattern_create_for_surface(surface);
        cairo_pattern_set_filter(pat, CAIRO_FILTER_NEAREST);
        cairo_pattern_set_matrix(pat, &m);
        return pat;
    };
    cairo_pattern_t* pat = placed(s);
    cairo_set_source(cr, pat);
    if (cover) {
        cairo_pattern_t* coverPat = placed(cover);
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        cairo_mask(cr, coverPat);
        cairo_pattern_destroy(coverPat);
    } else {
        cairo_paint(cr);
    }
    cairo_pattern_destroy(pat);
    cairo_restore(cr);
    cairo_surface_destroy(s);
    if (cover) cairo_surface_destroy(cover);
}

void CopyBits(GrafPort* src, const Rect& srcRect, const Rect& dstRect, int16_t mode,
              const Polygon* mask) {
    if (!src || srcRect.empty() || dstRect.empty()) return;
    drawBits(current(), pixelsOf(*src, srcRect), srcRect.width(), srcRect.height(), dstRect, mode,
             mask);
}

void BeginTurn(double degrees, Point centre, Point shift) {
    GrafPort& p = current();
    if (PicOp* op = record(p, Op::Turn)) {
        op->a[0] = static_cast<int32_t>(std::lround(degrees * 1000));
        op->a[1] = centre.h;
        op->a[2] = centre.v;
        op->a[3] = 1;
        op->rect.left = shift.h;
        op->rect.top = shift.v;
    }
    ++p.turns;
    if (!p.cr) return;
    applyClip(p);  // the clip in force stays upright
    cairo_save(p.cr);
    cairo_translate(p.cr, shift.h + centre.h, shift.v + centre.v);
    cairo_rotate(p.cr, -degrees * M_PI / 180);
    cairo_translate(p.cr, -centre.h, -centre.v);
}

void EndTurn() {
    GrafPort& p = current();
    if (p.turns <= 0) return;
    if (PicOp* op = record(p, Op::Turn)) op->a[3] = 0;
    --p.turns;
    if (!p.cr) return;
    cairo_restore(p.cr);
    p.clipApplied = false;
}

ClipState GetClipState() {
    const Clip& c = current().st.clip;
    ClipState out;
    out.kind = c.kind == Clip::Open ? 0 : (c.kind == Clip::Box ? 1 : 2);
    out.rect = c.rect;
    out.poly = c.poly;
    return out;
}

void SetClipState(const ClipState& c) {
    if (c.kind == 1)
        ClipRect(c.rect);
    else if (c.kind == 2)
        ClipPoly(c.poly);
    else
        ClipAll();
}

}  // namespace qd
