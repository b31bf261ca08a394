// Recording and replaying pictures.
#include "platform/quickdraw/picture.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/quickdraw/port.h"
#include "platform/textmetrics.h"

namespace qd {

bool operator==(const Point& a, const Point& b) { return a.v == b.v && a.h == b.h; }

bool PicOp::operator==(const PicOp& o) const {
    return op == o.op && std::memcmp(a, o.a, sizeof a) == 0 && rect == o.rect && pat == o.pat &&
           points == o.points && bytes == o.bytes && pixels == o.pixels;
}

namespace {

// Room for the ops of a usual symbol's picture, so that recording one does not
// move the list as it grows.
constexpr size_t kOpsReserved = 256;

// Keeps in the picture p records the calls that take the state from `fresh` to
// `st`: a picture starts from a fresh port's state, so its own calls alone decide
// how it looks, and a picture replayed into one being recorded brings its state
// in and out.
void recordDifferences(GrafPort& p, const DrawState& fresh, const DrawState& st) {
    if (st.penWidth != fresh.penWidth || st.penHeight != fresh.penHeight)
        if (PicOp* op = record(p, Op::PenSize)) {
            op->a[0] = st.penWidth;
            op->a[1] = st.penHeight;
        }
    if (st.penMode != fresh.penMode)
        if (PicOp* op = record(p, Op::PenMode)) op->a[0] = st.penMode;
    if (!(st.penPat == fresh.penPat))
        if (PicOp* op = record(p, Op::PenPat)) op->pat = st.penPat;
    if (!(st.backPat == fresh.backPat))
        if (PicOp* op = record(p, Op::BackPat)) op->pat = st.backPat;
    if (!(st.fore == fresh.fore))
        if (PicOp* op = record(p, Op::ForeColor)) {
            op->a[0] = st.fore.red;
            op->a[1] = st.fore.green;
            op->a[2] = st.fore.blue;
        }
    if (!(st.back == fresh.back))
        if (PicOp* op = record(p, Op::BackColor)) {
            op->a[0] = st.back.red;
            op->a[1] = st.back.green;
            op->a[2] = st.back.blue;
        }
    if (st.font != fresh.font)
        if (PicOp* op = record(p, Op::TextFont)) {
            op->a[0] = st.font;
            op->bytes = platform::fontNameOf(st.font);
        }
    if (st.face != fresh.face)
        if (PicOp* op = record(p, Op::TextFace)) op->a[0] = st.face;
    if (st.size != fresh.size)
        if (PicOp* op = record(p, Op::TextSize)) op->a[0] = st.size;
    if (st.textMode != fresh.textMode)
        if (PicOp* op = record(p, Op::TextMode)) op->a[0] = st.textMode;
    if (st.fract != fresh.fract)
        if (PicOp* op = record(p, Op::FractEnable)) op->a[0] = st.fract ? 1 : 0;
    const bool sameClip = st.clip.kind == fresh.clip.kind && st.clip.rect == fresh.clip.rect &&
                          st.clip.poly.points == fresh.clip.poly.points;
    if (!sameClip) {
        constexpr int32_t kFar = 32767;
        if (st.clip.kind == Clip::Outline) {
            if (PicOp* op = record(p, Op::ClipPoly)) op->points = st.clip.poly.points;
        } else if (PicOp* op = record(p, Op::ClipRect)) {
            op->rect = st.clip.kind == Clip::Box ? st.clip.rect : Rect{-kFar, -kFar, kFar, kFar};
        }
    }
    if (!(st.pen == fresh.pen))
        if (PicOp* op = record(p, Op::MoveTo)) {
            op->a[0] = st.pen.h;
            op->a[1] = st.pen.v;
        }
}

// A text ratio numer/denom scaled by to/from, both terms halved until they
// fit 32 bits (a damaged picture's large ratio onto a large destination).
void scaledRatio(int32_t* numer, int32_t* denom, int32_t to, int32_t from) {
    int64_t n = int64_t{*numer} * to, d = int64_t{*denom} * from;
    while (n > INT32_MAX || n < -INT32_MAX || d > INT32_MAX || d < -INT32_MAX) n /= 2, d /= 2;
    *numer = static_cast<int32_t>(n);
    *denom = static_cast<int32_t>(d);
}

// Maps picture coordinates onto the destination, as whole units.
struct Mapping {
    Rect from, to;
    bool sameSize = from.width() == to.width() && from.height() == to.height();
    bool identity = sameSize && from.left == to.left && from.top == to.top;
    int32_t h(int32_t x) const {
        if (sameSize) return x - from.left + to.left;
        if (from.width() == 0) return to.left;
        return to.left + static_cast<int32_t>(static_cast<int64_t>(x - from.left) * to.width() /
                                              from.width());
    }
    int32_t v(int32_t y) const {
        if (sameSize) return y - from.top + to.top;
        if (from.height() == 0) return to.top;
        return to.top + static_cast<int32_t>(static_cast<int64_t>(y - from.top) * to.height() /
                                             from.height());
    }
    // A length, never shrunk to nothing when it was something.
    int32_t dh(int32_t d) const {
        if (sameSize || from.width() == 0) return d;
        const int64_t m = static_cast<int64_t>(d) * to.width() / from.width();
        return d > 0 && m == 0 ? 1 : static_cast<int32_t>(m);
    }
    int32_t dv(int32_t d) const {
        if (sameSize || from.height() == 0) return d;
        const int64_t m = static_cast<int64_t>(d) * to.height() / from.height();
        return d > 0 && m == 0 ? 1 : static_cast<int32_t>(m);
    }
    Rect rect(const Rect& r) const {
        return identity ? r : Rect{v(r.top), h(r.left), v(r.bottom), h(r.right)};
    }
    std::vector<Point> points(const std::vector<Point>& ps) const {
        std::vector<Point> out;
        out.reserve(ps.size());
        for (const Point& p : ps) out.push_back({v(p.v), h(p.h)});
        return out;
    }
};

void replay(const PicOp& op, const Mapping& m) {
    switch (op.op) {
        case Op::MoveTo:
            MoveTo(m.h(op.a[0]), m.v(op.a[1]));
            break;
        case Op::LineTo:
            LineTo(m.h(op.a[0]), m.v(op.a[1]));
            break;
        case Op::PenSize:
            PenSize(m.dh(op.a[0]), m.dv(op.a[1]));
            break;
        case Op::PenMode:
            PenMode(static_cast<int16_t>(op.a[0]));
            break;
        case Op::PenPat:
            PenPat(op.pat);
            break;
        case Op::BackPat:
            BackPat(op.pat);
            break;
        case Op::ForeColor:
            RGBForeColor({static_cast<uint16_t>(op.a[0]), static_cast<uint16_t>(op.a[1]),
                          static_cast<uint16_t>(op.a[2])});
            break;
        case Op::BackColor:
            RGBBackColor({static_cast<uint16_t>(op.a[0]), static_cast<uint16_t>(op.a[1]),
                          static_cast<uint16_t>(op.a[2])});
            break;
        case Op::Shape: {
            const bool oval = static_cast<ShapeKind>(op.a[1]) == ShapeKind::RoundRect;
            const Rect r = m.rect(op.rect);
            const int32_t p1 = oval ? m.dh(op.a[2]) : op.a[2];
            const int32_t p2 = oval ? m.dv(op.a[3]) : op.a[3];
            if (op.points.empty() || m.identity)
                drawShapeOp(op, r, p1, p2, op.points);
            else
                drawShapeOp(op, r, p1, p2, m.points(op.points));
            break;
        }
        case Op::ClipRect:
            ClipRect(m.rect(op.rect));
            break;
        case Op::ClipPoly:
            ClipPoly({m.points(op.points)});
            break;
        case Op::TextFont: {
            // Font numbers belong to the process; the name finds this process's one.
            int16_t num = static_cast<int16_t>(op.a[0]);
            if (!op.bytes.empty() && op.bytes.size() < 256) {
                unsigned char name[256];
                name[0] = static_cast<unsigned char>(op.bytes.size());
                std::memcpy(name + 1, op.bytes.data(), op.bytes.size());
                GetFNum(name, &num);
            }
            TextFont(num);
            break;
        }
        case Op::TextFace:
            TextFace(static_cast<int16_t>(op.a[0]));
            break;
        case Op::TextSize:
            TextSize(static_cast<int16_t>(op.a[0]));
            break;
        case Op::TextMode:
            TextMode(static_cast<int16_t>(op.a[0]));
            break;
        case Op::FractEnable:
            SetFractEnable(op.a[0] != 0);
            break;
        case Op::Text: {
            Point numer{op.a[1], op.a[0]}, denom{op.a[3], op.a[2]};
            if (!m.sameSize) {
                scaledRatio(&numer.v, &denom.v, m.to.height(), m.from.height());
                scaledRatio(&numer.h, &denom.h, m.to.width(), m.from.width());
            }
            StdText(op.bytes.data(), static_cast<int32_t>(op.bytes.size()), numer, denom);
            break;
        }
        case Op::Comment:
            PicComment(static_cast<int16_t>(op.a[0]), static_cast<int16_t>(op.bytes.size()),
                       op.bytes.data());
            break;
        case Op::FillGroup:
            if (op.a[0] == 1)
                BeginFillGroup();
            else
                EndFillGroup();
            break;
        case Op::Turn:
            if (op.a[3] == 1)
                BeginTurn(op.a[0] / 1000.0, {m.v(op.a[2]), m.h(op.a[1])},
                          {m.dv(op.rect.top), m.dh(op.rect.left)});
            else
                EndTurn();
            break;
        case Op::Bits: {
            Polygon mask{m.points(op.points)};
            drawBits(current(), op.pixels, op.a[1], op.a[2], m.rect(op.rect),
                     static_cast<int16_t>(op.a[0]), op.points.empty() ? nullptr : &mask);
            break;
        }
    }
}

// How many ops from `from` on paint rectangles between the same two rows of the
// destination, as a linear symbol's bars or a row of modules do; their
// rectangles in `band`.
size_t sameRowsBand(const std::vector<PicOp>& ops, size_t from, const Mapping& m,
                    std::vector<Rect>* band) {
    const auto paintedRect = [](const PicOp& op) {
        return op.op == Op::Shape && op.a[0] == static_cast<int32_t>(Verb::Paint) &&
               op.a[1] == static_cast<int32_t>(ShapeKind::Rect);
    };
    band->clear();
    for (size_t i = from; i < ops.size() && paintedRect(ops[i]); ++i) {
        const Rect r = m.rect(ops[i].rect);
        if (!band->empty() && (r.top != band->front().top || r.bottom != band->front().bottom))
            break;
        band->push_back(r);
    }
    return band->size();
}

}  // namespace

void replayOp(const PicOp& op) {
    const Rect none{};
    replay(op, Mapping{none, none});
}

Picture* OpenPicture(const Rect& frame) {
    GrafPort& p = current();
    auto* pic = new Picture;
    pic->frame = frame;
    pic->ops.reserve(kOpsReserved);
    p.recording = pic;
    recordDifferences(p, DrawState{}, p.st);
    HidePen();
    return pic;
}

void ClosePicture() {
    GrafPort& p = current();
    if (!p.recording) return;
    p.recording = nullptr;
    ShowPen();
}

void KillPicture(Picture* p) {
    if (GrafPort* port = GetPort(); port && port->recording == p) port->recording = nullptr;
    delete p;
}

void PicComment(int16_t kind, int16_t dataSize, const void* data) {
    GrafPort& p = current();
    if (PicOp* op = record(p, Op::Comment)) {
        op->a[0] = kind;
        if (data && dataSize > 0) op->bytes.assign(static_cast<const char*>(data), dataSize);
    }
}

void BeginFillGroup() {
    GrafPort& p = current();
    if (PicOp* op = record(p, Op::FillGroup)) op->a[0] = 1;
    ++p.group.depth;
}

void EndFillGroup() {
    GrafPort& p = current();
    if (p.group.depth == 0) return;
    if (PicOp* op = record(p, Op::FillGroup)) op->a[0] = 0;
    if (--p.group.depth == 0) flushFillGroup(p);
}

void DrawPicture(const Picture* pic, const Rect& dst) {
    if (!pic) return;
    GrafPort& p = current();
    const DrawState saved = p.st;
    const size_t outer = p.outerClips.size();
    if (p.st.clip.kind != Clip::Open) p.outerClips.push_back(p.st.clip);
    recordDifferences(p, saved, DrawState{});
    p.st = DrawState{};
    p.clipApplied = false;
    const Mapping m{pic->frame, dst};
    const int turns = p.turns;
    const int groups = p.group.depth;
    // Bars filled a band of rows at a time where nothing else needs each one
    // drawn (or recorded) on its own.
    static std::vector<Rect> band;
    for (size_t i = 0; i < pic->ops.size();) {
        const bool bands = !p.recording && p.group.depth == 0 && visible(p) && p.depth == 1;
        const size_t n = bands ? sameRowsBand(pic->ops, i, m, &band) : 0;
        if (n > 1 && fillBandDirect(p, band, p.st.penMode, p.st.penPat)) {
            i += n;
            continue;
        }
        for (const size_t end = i + std::max<size_t>(n, 1); i < end;) replay(pic->ops[i++], m);
    }
    // A picture cut short inside a group still has its rectangles filled.
    while (p.group.depth > groups) EndFillGroup();
    while (p.turns > turns) EndTurn();
    p.outerClips.resize(outer);
    recordDifferences(p, p.st, saved);
    p.st = saved;
    p.clipApplied = false;
}

}  // namespace qd
