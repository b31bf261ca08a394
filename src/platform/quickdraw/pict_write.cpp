// The PICT version 2 writer.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/packbits.h"
#include "platform/quickdraw/pict.h"
#include "platform/quickdraw/pict_format.h"
#include "platform/quickdraw/port.h"

namespace qd {

namespace {

using namespace pict;

constexpr int32_t kMinCoordinate = -32767, kMaxCoordinate = 32767;
int16_t clamp16(int32_t v) {
    return static_cast<int16_t>(std::clamp(v, kMinCoordinate, kMaxCoordinate));
}

constexpr size_t kMostWord = 0xFFFF;
constexpr size_t kRegionHead = 10;  // the size word and the bounds
constexpr size_t kCommentHead = 8;  // the signature and the tag
constexpr size_t kPointBytes = 4;

// A pixel map row holds at most kMostRowBytes, 4 a pixel.
constexpr int kMostRowBytes = 0x3FFF;
constexpr int kMostRowPixels = kMostRowBytes / 4;

struct Writer {
    std::string out;

    void u8(int v) { out += static_cast<char>(v & 0xFF); }
    void u16(int v) {
        u8(v >> 8);
        u8(v);
    }
    void u32(uint32_t v) {
        u16(static_cast<int>(v >> 16));
        u16(static_cast<int>(v & 0xFFFF));
    }
    void i16(int32_t v) { u16(static_cast<uint16_t>(clamp16(v))); }
    void point(int32_t v, int32_t h) {
        i16(v);
        i16(h);
    }
    void rect(const Rect& r) {
        i16(r.top);
        i16(r.left);
        i16(r.bottom);
        i16(r.right);
    }
    void pattern(const Pattern& p) {
        for (uint8_t b : p.rows) u8(b);
    }
    void bytes(const std::string& s) { out += s; }
    void align() {
        if (out.size() % 2) u8(0);
    }
    void op(uint16_t code) {
        align();
        u16(code);
    }
    // A region's size is a 16-bit word: one with more lines than that holds
    // goes as its bounding box (the exact outline is in the comment before it).
    void region(const Rect& bounds, const std::string& scanlines) {
        const bool fits = scanlines.size() <= kMostWord - kRegionHead;
        u16(static_cast<int>(kRegionHead + (fits ? scanlines.size() : 0)));
        rect(bounds);
        if (fits) bytes(scanlines);
    }
};

// The inside of a polygon (even-odd, sampled at pixel centres) as region scan
// lines: each line lists where the inside flips against the line above. The
// points are taken as the outline's comment holds them, within 16-bit
// coordinates, so that the region read back is made again the same.
std::string regionLines(const std::vector<Point>& outline, Rect* bounds) {
    std::vector<Point> pts(outline.size());
    std::transform(outline.begin(), outline.end(), pts.begin(), [](const Point& p) {
        return Point{clamp16(p.v), clamp16(p.h)};
    });
    Rect b{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    for (const Point& p : pts) {
        b.top = std::min(b.top, p.v);
        b.left = std::min(b.left, p.h);
        b.bottom = std::max(b.bottom, p.v);
        b.right = std::max(b.right, p.h);
    }
    *bounds = b;
    if (pts.size() < 3 || b.empty()) return {};
    Writer w;
    std::vector<int32_t> above;
    for (int32_t y = b.top; y <= b.bottom; ++y) {
        std::vector<int32_t> edges;  // where the inside flips along this line
        if (y < b.bottom) {
            const double cy = y + 0.5;
            std::vector<double> xs;
            for (size_t i = 0; i < pts.size(); ++i) {
                const Point& p = pts[i];
                const Point& q = pts[(i + 1) % pts.size()];
                if ((p.v <= cy) != (q.v <= cy))
                    xs.push_back(p.h + (cy - p.v) * (q.h - p.h) / (q.v - p.v));
            }
            std::sort(xs.begin(), xs.end());
            for (size_t i = 0; i + 1 < xs.size(); i += 2) {
                // Pixels whose centres lie inside the span.
                const int32_t from = static_cast<int32_t>(std::ceil(xs[i] - 0.5));
                const int32_t to = static_cast<int32_t>(std::ceil(xs[i + 1] - 0.5));
                if (to > from) {
                    edges.push_back(from);
                    edges.push_back(to);
                }
            }
        }
        std::vector<int32_t> flips;
        std::set_symmetric_difference(above.begin(), above.end(), edges.begin(), edges.end(),
                                      std::back_inserter(flips));
        if (!flips.empty()) {
            w.i16(y);
            for (int32_t x : flips) w.i16(x);
            w.u16(kRegionEnd);
        }
        above = edges;
    }
    w.u16(kRegionEnd);
    return w.out;
}

void appComment(Writer& w, const char* tag, const std::string& payload) {
    w.op(kLongComment);
    w.u16(kAppComment);
    w.u16(static_cast<int>(kCommentHead + payload.size()));
    w.out.append(kSignature, 4);
    w.out.append(tag, 4);
    w.bytes(payload);
}

// PICT pixel maps are opaque: see-through pixels are shown over white.
uint32_t overWhite(uint32_t px) {
    const uint32_t a = px >> 24;
    if (a == 0xFF) return px;
    auto ch = [a](uint32_t c) { return (c * a + 255 * (255 - a) + 127) / 255; };
    return (ch((px >> 16) & 0xFF) << 16) | (ch((px >> 8) & 0xFF) << 8) | ch(px & 0xFF);
}

void clipOutline(Writer& w, const std::vector<Point>& points) {
    // An outline longer than a comment holds is left to the region.
    if (sizeof(int16_t) + points.size() * kPointBytes > kMostWord - kCommentHead) return;
    Writer pts;
    pts.i16(static_cast<int32_t>(points.size()));
    for (const Point& p : points) pts.point(p.v, p.h);
    appComment(w, kTagClip, pts.out);
}

void directBits(Writer& w, const PicOp& given) {
    // A map wider than a row holds, or higher than a coordinate reaches, goes in
    // as every n-th pixel: the reader scales it onto the same rectangle.
    PicOp fitted;
    if (given.a[1] > kMostRowPixels || given.a[2] > kMaxImageSide) {
        fitted = given;
        fitted.pixels =
            fittedPixels(given.pixels, &fitted.a[1], &fitted.a[2], kMostRowPixels, kMaxImageSide);
    }
    const PicOp& op = fitted.pixels.empty() ? given : fitted;
    const int width = op.a[1], height = op.a[2];
    const bool masked = !op.points.empty();
    if (masked) clipOutline(w, op.points);
    w.op(masked ? kDirectBitsRgn : kDirectBitsRect);
    const int rowBytes = width * 4;
    const bool unpacked = rowBytes < kLeastPackedRow;  // a map one pixel wide
    w.u32(kDirectBaseAddr);
    w.u16(rowBytes | kPixMapFlag);
    w.rect({0, 0, height, width});
    w.u16(0);  // version
    w.u16(unpacked ? kPackNone : kPackComponents);
    w.u32(0);          // packed size
    w.u32(72u << 16);  // resolutions
    w.u32(72u << 16);
    w.u16(kRGBDirect);
    w.u16(32);  // bits a pixel
    w.u16(3);   // components
    w.u16(8);   // bits a component
    w.u32(0);   // plane bytes
    w.u32(0);   // colour table
    w.u32(0);   // reserved
    w.rect({0, 0, height, width});
    w.rect(op.rect);
    w.i16(op.a[0]);
    if (masked) {
        Rect b;
        const std::string lines = regionLines(op.points, &b);
        w.region(b, lines);
    }
    std::vector<uint8_t> row(static_cast<size_t>(width) * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint32_t px = overWhite(op.pixels[static_cast<size_t>(y) * width + x]);
            row[x] = static_cast<uint8_t>(px >> 16);
            row[width + x] = static_cast<uint8_t>(px >> 8);
            row[2 * width + x] = static_cast<uint8_t>(px);
        }
        if (unpacked) {
            // Pixel after pixel, each an unused byte and its red, green and blue.
            for (int x = 0; x < width; ++x) {
                w.u8(0);
                for (int c = 0; c < 3; ++c) w.u8(row[c * width + x]);
            }
            continue;
        }
        std::string packed;
        platform::appendPackBits(row.data(), row.size(), kShortestRepeat, &packed);
        if (rowBytes > 250)
            w.u16(static_cast<int>(packed.size()));
        else
            w.u8(static_cast<int>(packed.size()));
        w.bytes(packed);
    }
}

struct TextState {
    int32_t numer[2] = {1, 1};  // h, v
    int32_t denom[2] = {1, 1};
    uint16_t frac = 0;
    Pattern fill = kBlack;
    int32_t ovalW = 0, ovalH = 0;
};

void text(Writer& w, const PicOp& op, const GrafPort& scratch, TextState& ts) {
    if (op.a[0] != ts.numer[0] || op.a[1] != ts.numer[1] || op.a[2] != ts.denom[0] ||
        op.a[3] != ts.denom[1]) {
        w.op(kTxRatio);
        w.point(op.a[1], op.a[0]);
        w.point(op.a[3], op.a[2]);
        ts.numer[0] = op.a[0];
        ts.numer[1] = op.a[1];
        ts.denom[0] = op.a[2];
        ts.denom[1] = op.a[3];
    }
    const auto frac = static_cast<uint16_t>(std::lround(scratch.st.penFrac * 65536) & 0xFFFF);
    if (frac != ts.frac) {
        w.op(kPnLocHFrac);
        w.u16(frac);
        ts.frac = frac;
    }
    // 255 bytes at most a text opcode.
    constexpr size_t kMaxText = 255;
    const size_t n = std::min(op.bytes.size(), kMaxText);
    w.op(kLongText);
    w.point(scratch.st.pen.v, scratch.st.pen.h);
    w.u8(static_cast<int>(n));
    w.out.append(op.bytes, 0, n);
}

void write(Writer& w, const PicOp& op, const GrafPort& scratch, TextState& ts) {
    switch (op.op) {
        case Op::MoveTo:
            break;  // the pen travels with the next line or text
        case Op::LineTo:
            w.op(kLine);
            w.point(scratch.st.pen.v, scratch.st.pen.h);
            w.point(op.a[1], op.a[0]);
            break;
        case Op::PenSize:
            w.op(kPnSize);
            w.point(op.a[1], op.a[0]);
            break;
        case Op::PenMode:
            w.op(kPnMode);
            w.i16(op.a[0]);
            break;
        case Op::PenPat:
            w.op(kPnPat);
            w.pattern(op.pat);
            break;
        case Op::BackPat:
            w.op(kBkPat);
            w.pattern(op.pat);
            break;
        case Op::ForeColor:
        case Op::BackColor:
            w.op(op.op == Op::ForeColor ? kRGBFgCol : kRGBBkCol);
            w.u16(op.a[0]);
            w.u16(op.a[1]);
            w.u16(op.a[2]);
            break;
        case Op::Shape: {
            const auto verb = static_cast<int>(op.a[0]);
            const auto kind = static_cast<ShapeKind>(op.a[1]);
            if (verb == static_cast<int>(Verb::Fill) && !(op.pat == ts.fill)) {
                w.op(kFillPat);
                w.pattern(op.pat);
                ts.fill = op.pat;
            }
            if (kind == ShapeKind::RoundRect && (op.a[2] != ts.ovalW || op.a[3] != ts.ovalH)) {
                w.op(kOvSize);
                w.point(op.a[3], op.a[2]);
                ts.ovalW = op.a[2];
                ts.ovalH = op.a[3];
            }
            static constexpr uint16_t kBase[] = {0x0030, 0x0040, 0x0050, 0x0060, 0x0070};
            w.op(static_cast<uint16_t>(kBase[static_cast<int>(kind)] + verb));
            if (kind == ShapeKind::Poly) {
                Rect b{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
                for (const Point& p : op.points) {
                    b.top = std::min(b.top, p.v);
                    b.left = std::min(b.left, p.h);
                    b.bottom = std::max(b.bottom, p.v);
                    b.right = std::max(b.right, p.h);
                }
                if (op.points.empty()) b = {};
                w.u16(static_cast<int>(10 + 4 * op.points.size()));
                w.rect(b);
                for (const Point& p : op.points) w.point(p.v, p.h);
            } else {
                w.rect(op.rect);
                if (kind == ShapeKind::Arc) {
                    w.i16(op.a[2]);
                    w.i16(op.a[3]);
                }
            }
            break;
        }
        case Op::ClipRect:
            w.op(kClip);
            w.region(op.rect, {});
            break;
        case Op::ClipPoly: {
            clipOutline(w, op.points);
            Rect b;
            const std::string lines = regionLines(op.points, &b);
            w.op(kClip);
            w.region(b, lines);
            break;
        }
        case Op::TextFont:
            if (!op.bytes.empty() && op.bytes.size() < 256) {
                w.op(kFontName);
                w.u16(static_cast<int>(3 + op.bytes.size()));
                w.i16(op.a[0]);
                w.u8(static_cast<int>(op.bytes.size()));
                w.bytes(op.bytes);
            }
            w.op(kTxFont);
            w.i16(op.a[0]);
            break;
        case Op::TextFace:
            w.op(kTxFace);
            w.u8(op.a[0]);
            break;
        case Op::TextSize:
            w.op(kTxSize);
            w.i16(op.a[0]);
            break;
        case Op::TextMode:
            w.op(kTxMode);
            w.i16(op.a[0]);
            break;
        case Op::FractEnable: {
            Writer on;
            on.u16(op.a[0] ? 1 : 0);
            appComment(w, kTagFract, on.out);
            break;
        }
        case Op::FillGroup: {
            Writer begins;
            begins.u16(op.a[0] ? 1 : 0);
            appComment(w, kTagFillGroup, begins.out);
            break;
        }
        case Op::Text:
            text(w, op, scratch, ts);
            break;
        case Op::Comment:
            if (op.bytes.empty()) {
                w.op(kShortComment);
                w.i16(op.a[0]);
            } else {
                w.op(kLongComment);
                w.i16(op.a[0]);
                w.u16(static_cast<int>(std::min<size_t>(op.bytes.size(), 32767)));
                w.out.append(op.bytes, 0, 32767);
            }
            break;
        case Op::Bits:
            directBits(w, op);
            break;
        case Op::Turn:
            break;  // turned groups are written as pixels (turnedGroup)
    }
}

// The end of the turned group that opens at ops[from]: its matching end, or
// the end of the picture.
size_t groupEnd(const std::vector<PicOp>& ops, size_t from) {
    int depth = 0;
    for (size_t i = from; i < ops.size(); ++i) {
        if (ops[i].op != Op::Turn) continue;
        depth += ops[i].a[3] == 1 ? 1 : -1;
        if (depth == 0) return i;
    }
    return ops.size();
}

// Whether the op only changes state (which the writer keeps in step) rather than
// making marks or clipping in the group's turned coordinates.
bool stateOnly(Op op) {
    switch (op) {
        case Op::Shape:
        case Op::LineTo:
        case Op::Text:
        case Op::Bits:
        case Op::ClipRect:
        case Op::ClipPoly:
        case Op::Turn:
            return false;
        default:
            return true;
    }
}

// PICT has no turned drawing: the group's marks become one pixel map over the
// ink they cover, drawn at kTurnDpi; its state changes and comments stay in place.
constexpr double kTurnDpi = 600;
constexpr int64_t kMostTurnPixels = int64_t{1} << 26;

void turnedGroup(Writer& w, const Picture& pic, size_t from, size_t to, GrafPort& scratch,
                 TextState& ts, int unitsPerInch) {
    const Rect frame = pic.frame;
    double scale = kTurnDpi / unitsPerInch;
    const double area = static_cast<double>(frame.width()) * frame.height() * scale * scale;
    if (area > static_cast<double>(kMostTurnPixels))
        scale *= std::sqrt(static_cast<double>(kMostTurnPixels) / area);
    // A pixel map row holds at most kMostRowBytes, and cairo's surface is at
    // most kMaxImageSide high.
    if (frame.width() * scale > kMostRowPixels)
        scale = static_cast<double>(kMostRowPixels) / frame.width();
    if (frame.height() * scale > kMaxImageSide)
        scale = static_cast<double>(kMaxImageSide) / frame.height();
    const int W = std::max(1, static_cast<int>(std::ceil(frame.width() * scale)));
    const int H = std::max(1, static_cast<int>(std::ceil(frame.height() * scale)));
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, W, H);
    GrafPort* render = NewPort(surface, frame, scale);
    render->st = scratch.st;
    SetPort(render);
    for (size_t i = from; i <= to && i < pic.ops.size(); ++i) replayOp(pic.ops[i]);
    while (render->turns > 0) EndTurn();
    FlushPort(render);
    SetPort(&scratch);
    for (size_t i = from; i <= to && i < pic.ops.size(); ++i) {
        if (stateOnly(pic.ops[i].op)) write(w, pic.ops[i], scratch, ts);
        replayOp(pic.ops[i]);
    }

    cairo_surface_flush(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    auto pixel = [&](int x, int y) {
        uint32_t px;
        std::memcpy(&px, data + static_cast<size_t>(y) * stride + x * 4, 4);
        return px;
    };
    int x0 = W, y0 = H, x1 = -1, y1 = -1;
    // No pixels when there was no memory for them: the group is left out.
    for (int y = 0; data != nullptr && y < H; ++y)
        for (int x = 0; x < W; ++x)
            if (pixel(x, y) >> 24) {
                x0 = std::min(x0, x), x1 = std::max(x1, x);
                y0 = std::min(y0, y), y1 = std::max(y1, y);
            }
    if (x1 >= 0) {
        // Whole units of the frame around the ink.
        PicOp op;
        op.op = Op::Bits;
        op.rect = {frame.top + static_cast<int32_t>(std::floor(y0 / scale)),
                   frame.left + static_cast<int32_t>(std::floor(x0 / scale)),
                   frame.top + static_cast<int32_t>(std::ceil((y1 + 1) / scale)),
                   frame.left + static_cast<int32_t>(std::ceil((x1 + 1) / scale))};
        const int px0 = static_cast<int>((op.rect.left - frame.left) * scale);
        const int py0 = static_cast<int>((op.rect.top - frame.top) * scale);
        const int pw = std::min(W - px0, static_cast<int>(std::lround(op.rect.width() * scale)));
        const int ph = std::min(H - py0, static_cast<int>(std::lround(op.rect.height() * scale)));
        op.a[0] = srcCopy;
        op.a[1] = pw;
        op.a[2] = ph;
        op.pixels.resize(static_cast<size_t>(pw) * ph);
        for (int y = 0; y < ph; ++y)
            for (int x = 0; x < pw; ++x) {
                const uint32_t px = pixel(px0 + x, py0 + y);
                const uint32_t a = px >> 24;
                auto un = [a](uint32_t c) { return a == 0 ? 0u : std::min(255u, c * 255 / a); };
                op.pixels[static_cast<size_t>(y) * pw + x] =
                    (a << 24) | (un((px >> 16) & 0xFF) << 16) | (un((px >> 8) & 0xFF) << 8) |
                    un(px & 0xFF);
            }
        directBits(w, op);
    }
    DisposePort(render);
    cairo_surface_destroy(surface);
}

}  // namespace

std::string WritePict(const Picture& pic, int unitsPerInch) {
    if (unitsPerInch <= 0) unitsPerInch = kPictPointsPerInch;
    Writer w;
    auto at72 = [unitsPerInch](int32_t v) {
        return static_cast<int32_t>(
            std::lround(static_cast<double>(v) * kPictPointsPerInch / unitsPerInch));
    };
    w.u16(0);  // the size, set below
    w.rect(
        {at72(pic.frame.top), at72(pic.frame.left), at72(pic.frame.bottom), at72(pic.frame.right)});
    w.u16(kVersion);
    w.u16(kVersion2);
    w.op(kHeader);
    w.i16(kExtendedHeader);
    w.u16(0);
    w.u32(static_cast<uint32_t>(unitsPerInch) << 16);
    w.u32(static_cast<uint32_t>(unitsPerInch) << 16);
    w.rect(pic.frame);
    w.u32(0);
    w.op(kDefHilite);

    // The pen's place and the text's fraction come from following the drawing.
    GrafPort* scratch = NewPort(nullptr, pic.frame);
    GrafPort* saved = GetPort();
    SetPort(scratch);
    TextState ts;
    for (size_t i = 0; i < pic.ops.size(); ++i) {
        const PicOp& op = pic.ops[i];
        if (op.op == Op::Turn && op.a[3] == 1) {
            const size_t end = groupEnd(pic.ops, i);
            turnedGroup(w, pic, i, end, *scratch, ts, unitsPerInch);
            i = end;
            continue;
        }
        write(w, op, *scratch, ts);
        replayOp(op);
    }
    SetPort(saved);
    DisposePort(scratch);

    w.op(kEndPic);
    w.out[0] = static_cast<char>((w.out.size() >> 8) & 0xFF);
    w.out[1] = static_cast<char>(w.out.size() & 0xFF);
    return w.out;
}

}  // namespace qd
