// The PICT version 2 reader: each opcode becomes the drawing call it stands
// for, recorded into a new picture on a port that draws nowhere.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>

#include "platform/quickdraw/pict.h"
#include "platform/quickdraw/pict_format.h"
#include "platform/quickdraw/port.h"

namespace qd {
namespace pict {

bool unpackBits(const uint8_t* d, size_t size, uint8_t* out, size_t n) {
    size_t i = 0, o = 0;
    while (o < n) {
        if (i >= size) return false;
        const int c = static_cast<int8_t>(d[i++]);
        if (c >= 0) {
            const size_t count = static_cast<size_t>(c) + 1;
            if (i + count > size || o + count > n) return false;
            std::memcpy(out + o, d + i, count);
            i += count;
            o += count;
        } else if (c != -128) {
            const size_t count = static_cast<size_t>(1 - c);
            if (i >= size || o + count > n) return false;
            std::memset(out + o, d[i++], count);
            o += count;
        }
    }
    return true;
}

}  // namespace pict

namespace {

using namespace pict;

// The largest pixel map read: 64 million pixels.
constexpr size_t kMaxPixels = size_t{1} << 26;

struct Damaged {
    std::string why;
};

struct Reader {
    const uint8_t* d;
    size_t size;
    size_t at = 0;

    void need(size_t n) const {
        if (n > size || at > size - n) throw Damaged{"the picture ends early"};
    }
    int u8() {
        need(1);
        return d[at++];
    }
    int u16() {
        need(2);
        const int v = (d[at] << 8) | d[at + 1];
        at += 2;
        return v;
    }
    int16_t i16() { return static_cast<int16_t>(u16()); }
    uint32_t u32() {
        const uint32_t hi = static_cast<uint32_t>(u16());
        return (hi << 16) | static_cast<uint32_t>(u16());
    }
    Point point() {
        const int16_t v = i16();
        return {v, i16()};
    }
    Rect rect() {
        Rect r;
        r.top = i16();
        r.left = i16();
        r.bottom = i16();
        r.right = i16();
        return r;
    }
    Pattern pattern() {
        Pattern p;
        for (uint8_t& b : p.rows) b = static_cast<uint8_t>(u8());
        return p;
    }
    std::string bytes(size_t n) {
        need(n);
        std::string s(reinterpret_cast<const char*>(d + at), n);
        at += n;
        return s;
    }
    void skip(size_t n) {
        need(n);
        at += n;
    }
    void align() {
        if (at % 2) skip(1);
    }
    // A region: its bounds; its scan lines are skipped.
    Rect region() {
        const int n = u16();
        if (n < 10) throw Damaged{"a region is too short"};
        const Rect r = rect();
        skip(static_cast<size_t>(n - 10));
        return r;
    }
};

struct State {
    std::map<int, std::string> fontNames;
    Pattern fill = kBlack;
    Point oval;
    Point numer{1, 1}, denom{1, 1};
    uint16_t frac = 0;
    Rect lastShape[5];
    std::vector<Point> lastPoly;
    std::vector<Point> pendingClip;
    bool havePendingClip = false;
    Point textAt;
};

void play(PicOp op) { replayOp(op); }

PicOp make(Op kind) {
    PicOp op;
    op.op = kind;
    return op;
}

// Moves the pen there unless it is there already (with the text's fraction).
void penTo(Point pt, double frac = 0) {
    GrafPort& p = current();
    if (p.st.pen == pt && std::fabs(p.st.penFrac - frac) < 1e-9) return;
    MoveTo(pt.h, pt.v);
    p.st.penFrac = frac;
}

void text(Reader& r, State& s, Point at) {
    const int n = r.u8();
    PicOp op = make(Op::Text);
    op.bytes = r.bytes(static_cast<size_t>(n));
    op.a[0] = s.numer.h;
    op.a[1] = s.numer.v;
    op.a[2] = s.denom.h;
    op.a[3] = s.denom.v;
    s.textAt = at;
    penTo(at, s.frac / 65536.0);
    play(op);
}

void shape(Reader& r, State& s, int code) {
    const int kindIndex = (code >> 4) - 3;  // 0x30 rectangles ... 0x70 polygons
    const bool same = (code & 8) != 0;
    const int verb = code & 7;
    if (verb > 4) throw Damaged{"an unknown drawing verb"};
    PicOp op = make(Op::Shape);
    op.a[0] = verb;
    op.a[1] = kindIndex;
    const auto kind = static_cast<ShapeKind>(kindIndex);
    if (kind == ShapeKind::Poly) {
        if (!same) {
            const int n = r.u16();
            if (n < 10 || (n - 10) % 4) throw Damaged{"a polygon's size is wrong"};
            r.rect();
            s.lastPoly.clear();
            for (int i = 0; i < (n - 10) / 4; ++i) s.lastPoly.push_back(r.point());
        }
        op.points = s.lastPoly;
    } else {
        if (!same) s.lastShape[kindIndex] = r.rect();
        op.rect = s.lastShape[kindIndex];
        if (kind == ShapeKind::Arc) {
            op.a[2] = r.i16();
            op.a[3] = r.i16();
        } else if (kind == ShapeKind::RoundRect) {
            op.a[2] = s.oval.h;
            op.a[3] = s.oval.v;
        }
    }
    if (verb == static_cast<int>(Verb::Fill)) op.pat = s.fill;
    play(op);
}

void directBits(Reader& r, State& s, bool masked) {
    r.u32();  // base address
    const int rowBytes = r.u16() & 0x3FFF;
    const Rect bounds = r.rect();
    r.u16();  // version
    int packType = r.i16();
    r.u32();  // packed size
    r.u32();  // resolutions
    r.u32();
    r.u16();  // pixel type
    const int pixelSize = r.u16();
    const int cmpCount = r.u16();
    r.u16();  // component size
    r.skip(12);
    r.rect();  // source rectangle: the whole map
    const Rect dst = r.rect();
    const int mode = r.i16();
    if (masked) r.region();
    const int width = bounds.width(), height = bounds.height();
    if (pixelSize != 32 || (cmpCount != 3 && cmpCount != 4) || width <= 0 || height <= 0 ||
        rowBytes < width * 4 || static_cast<size_t>(width) * height > kMaxPixels)
        throw Damaged{"a pixel map is not one this reader knows"};
    if (packType == 0) packType = kPackComponents;
    // Every row takes some bytes: a map claiming more rows than are left is damage,
    // found before its pixels are allocated.
    const bool unpacked = rowBytes < kLeastPackedRow || packType == kPackNone;
    const size_t leastRow = unpacked ? static_cast<size_t>(rowBytes) : 2;
    if (static_cast<size_t>(height) * leastRow > r.size - r.at)
        throw Damaged{"the picture ends early"};
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    std::vector<uint8_t> row(static_cast<size_t>(width) * cmpCount);
    for (int y = 0; y < height; ++y) {
        if (unpacked) {
            const std::string raw = r.bytes(static_cast<size_t>(rowBytes));
            for (int x = 0; x < width; ++x) {
                const auto* px = reinterpret_cast<const uint8_t*>(raw.data()) + x * 4;
                pixels[static_cast<size_t>(y) * width + x] =
                    0xFF000000u | (px[1] << 16) | (px[2] << 8) | px[3];
            }
            continue;
        }
        if (packType != kPackComponents) throw Damaged{"a pixel map's packing is not known"};
        const size_t n =
            rowBytes > 250 ? static_cast<size_t>(r.u16()) : static_cast<size_t>(r.u8());
        r.need(n);
        if (!unpackBits(r.d + r.at, n, row.data(), row.size()))
            throw Damaged{"a pixel map's row does not unpack"};
        r.at += n;
        const size_t c0 = cmpCount == 4 ? width : 0;  // alpha comes first when present
        for (int x = 0; x < width; ++x)
            pixels[static_cast<size_t>(y) * width + x] = 0xFF000000u | (row[c0 + x] << 16) |
                                                         (row[c0 + width + x] << 8) |
                                                         row[c0 + 2 * width + x];
    }
    PicOp op = make(Op::Bits);
    op.rect = dst;
    op.a[0] = mode;
    op.a[1] = width;
    op.a[2] = height;
    op.pixels = std::move(pixels);
    if (masked && s.havePendingClip) op.points = s.pendingClip;  // the mask's own outline
    s.havePendingClip = false;
    play(op);
}

void comment(Reader& r, State& s, bool longForm) {
    const int kind = r.i16();
    std::string data;
    if (longForm) data = r.bytes(static_cast<size_t>(r.u16()));
    if (kind == kAppComment && data.size() >= 8 && data.compare(0, 4, kSignature) == 0) {
        Reader inner{reinterpret_cast<const uint8_t*>(data.data()) + 8, data.size() - 8};
        if (data.compare(4, 4, kTagClip) == 0) {
            const int n = inner.i16();
            if (n < 0) throw Damaged{"a clip outline is damaged"};
            s.pendingClip.clear();
            for (int i = 0; i < n; ++i) s.pendingClip.push_back(inner.point());
            s.havePendingClip = true;
            return;
        }
        if (data.compare(4, 4, kTagFillGroup) == 0) {
            PicOp op = make(Op::FillGroup);
            op.a[0] = inner.u16() != 0;
            play(op);
            return;
        }
        if (data.compare(4, 4, kTagFract) == 0) {
            PicOp op = make(Op::FractEnable);
            op.a[0] = inner.u16() != 0;
            play(op);
            return;
        }
    }
    PicOp op = make(Op::Comment);
    op.a[0] = kind;
    op.bytes = data;
    play(op);
}

void readOps(Reader& r, State& s, Picture& pic) {
    for (;;) {
        r.align();
        const int code = r.u16();
        switch (code) {
            case kNop:
            case kDefHilite:
                break;
            case kHeader: {
                const int16_t version = r.i16();
                r.skip(2 + 8);
                const Rect src = r.rect();
                r.skip(4);
                if (version == kExtendedHeader) pic.frame = src;
                break;
            }
            case kClip: {
                const Rect b = r.region();
                if (s.havePendingClip) {
                    ClipPoly({s.pendingClip});
                    s.havePendingClip = false;
                } else {
                    ClipRect(b);  // a region other than ours: its bounds
                }
                break;
            }
            case kBkPat:
                BackPat(r.pattern());
                break;
            case kPnPat:
                PenPat(r.pattern());
                break;
            case kFillPat:
                s.fill = r.pattern();
                break;
            case kTxFont: {
                const int16_t id = r.i16();
                PicOp op = make(Op::TextFont);
                op.a[0] = id;
                if (auto it = s.fontNames.find(id); it != s.fontNames.end()) op.bytes = it->second;
                play(op);
                break;
            }
            case kFontName: {
                const int len = r.u16();
                const size_t end = r.at + static_cast<size_t>(len);
                const int16_t id = r.i16();
                const int n = r.u8();
                s.fontNames[id] = r.bytes(static_cast<size_t>(n));
                if (end < r.at) throw Damaged{"a font name is damaged"};
                r.skip(end - r.at);
                break;
            }
            case kTxFace:
                TextFace(static_cast<int16_t>(r.u8()));
                break;
            case kTxMode:
                TextMode(r.i16());
                break;
            case kTxSize:
                TextSize(r.i16());
                break;
            case kPnSize: {
                const Point p = r.point();
                PenSize(p.h, p.v);
                break;
            }
            case kPnMode:
                PenMode(r.i16());
                break;
            case kOvSize:
                s.oval = r.point();
                break;
            case kTxRatio:
                s.numer = r.point();
                s.denom = r.point();
                break;
            case kPnLocHFrac:
                s.frac = static_cast<uint16_t>(r.u16());
                break;
            case kRGBFgCol:
            case kRGBBkCol: {
                RGBColor c;
                c.red = static_cast<uint16_t>(r.u16());
                c.green = static_cast<uint16_t>(r.u16());
                c.blue = static_cast<uint16_t>(r.u16());
                code == kRGBFgCol ? RGBForeColor(c) : RGBBackColor(c);
                break;
            }
            case kLine: {
                const Point from = r.point(), to = r.point();
                penTo(from);
                LineTo(to.h, to.v);
                break;
            }
            case kLineFrom: {
                const Point to = r.point();
                LineTo(to.h, to.v);
                break;
            }
            case kShortLine: {
                const Point from = r.point();
                const int dh = static_cast<int8_t>(r.u8()), dv = static_cast<int8_t>(r.u8());
                penTo(from);
                LineTo(from.h + dh, from.v + dv);
                break;
            }
            case kShortLineFrom: {
                const int dh = static_cast<int8_t>(r.u8()), dv = static_cast<int8_t>(r.u8());
                Line(dh, dv);
                break;
            }
            case kLongText:
                text(r, s, r.point());
                break;
            case kDHText: {
                const int dh = r.u8();
                text(r, s, {s.textAt.v, s.textAt.h + dh});
                break;
            }
            case kDVText: {
                const int dv = r.u8();
                text(r, s, {s.textAt.v + dv, s.textAt.h});
                break;
            }
            case kDHDVText: {
                const int dh = r.u8(), dv = r.u8();
                text(r, s, {s.textAt.v + dv, s.textAt.h + dh});
                break;
            }
            case kDirectBitsRect:
            case kDirectBitsRgn:
                directBits(r, s, code == kDirectBitsRgn);
                break;
            case kShortComment:
            case kLongComment:
                comment(r, s, code == kLongComment);
                break;
            case kEndPic:
                return;
            default:
                if (code >= 0x0030 && code < 0x0080) {
                    shape(r, s, code);
                    break;
                }
                char what[64];
                std::snprintf(what, sizeof what, "opcode 0x%04X is not one this reader knows",
                              code);
                throw Damaged{what};
        }
    }
}

}  // namespace

Picture* ReadPict(const unsigned char* data, size_t size, std::string* error) {
    Reader r{data, size};
    GrafPort* scratch = NewPort(nullptr, {});
    GrafPort* saved = GetPort();
    SetPort(scratch);
    Picture* pic = nullptr;
    try {
        r.u16();  // the size word: only its low 16 bits, so not to be trusted
        const Rect frame = r.rect();
        if (r.u16() != kVersion || r.u16() != kVersion2) throw Damaged{"not a version 2 picture"};
        pic = OpenPicture(frame);
        State s;
        readOps(r, s, *pic);
        ClosePicture();
    } catch (const Damaged& d) {
        if (error) *error = d.why;
        ClosePicture();
        KillPicture(pic);
        pic = nullptr;
    }
    SetPort(saved);
    DisposePort(scratch);
    return pic;
}

}  // namespace qd
