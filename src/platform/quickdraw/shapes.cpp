// Lines and the five verbs (frame, paint, erase, invert, fill) on rectangles,
// round rectangles, ovals, arcs and polygons.
#include <algorithm>
#include <array>
#include <cmath>

#include "platform/quickdraw/port.h"

namespace qd {
namespace {

void ellipse(cairo_t* cr, double l, double t, double r, double b) {
    if (r <= l || b <= t) return;
    cairo_save(cr);
    cairo_translate(cr, (l + r) / 2, (t + b) / 2);
    cairo_scale(cr, (r - l) / 2, (b - t) / 2);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_close_path(cr);
    cairo_restore(cr);
}

void rectPath(cairo_t* cr, double l, double t, double r, double b) {
    if (r > l && b > t) cairo_rectangle(cr, l, t, r - l, b - t);
}

void roundRectPath(cairo_t* cr, double l, double t, double r, double b, double ow, double oh) {
    if (r <= l || b <= t) return;
    const double rx = std::min(ow, r - l) / 2, ry = std::min(oh, b - t) / 2;
    if (rx <= 0 || ry <= 0) {
        rectPath(cr, l, t, r, b);
        return;
    }
    cairo_new_sub_path(cr);
    auto corner = [&](double cx, double cy, double from) {
        cairo_save(cr);
        cairo_translate(cr, cx, cy);
        cairo_scale(cr, rx, ry);
        cairo_arc(cr, 0, 0, 1, from, from + M_PI / 2);
        cairo_restore(cr);
    };
    corner(r - rx, t + ry, -M_PI / 2);
    corner(r - rx, b - ry, 0);
    corner(l + rx, b - ry, M_PI / 2);
    corner(l + rx, t + ry, M_PI);
    cairo_close_path(cr);
}

// The wedge of the oval in r from startAngle through arcAngle (degrees, from
// twelve o'clock, clockwise).
void wedgePath(cairo_t* cr, double l, double t, double r, double b, int32_t start, int32_t arc,
               bool reverse) {
    if (r <= l || b <= t) return;
    const double a0 = (start - 90) * M_PI / 180, a1 = (start + arc - 90) * M_PI / 180;
    cairo_save(cr);
    cairo_translate(cr, (l + r) / 2, (t + b) / 2);
    cairo_scale(cr, (r - l) / 2, (b - t) / 2);
    if (!reverse) {
        cairo_move_to(cr, 0, 0);
        if (arc >= 0)
            cairo_arc(cr, 0, 0, 1, a0, a1);
        else
            cairo_arc_negative(cr, 0, 0, 1, a0, a1);
    } else {
        if (arc >= 0)
            cairo_arc_negative(cr, 0, 0, 1, a1, a0);
        else
            cairo_arc(cr, 0, 0, 1, a1, a0);
        cairo_line_to(cr, 0, 0);
    }
    cairo_close_path(cr);
    cairo_restore(cr);
}

void polyPath(cairo_t* cr, const std::vector<Point>& pts) {
    if (pts.empty()) return;
    cairo_move_to(cr, pts[0].h, pts[0].v);
    for (size_t i = 1; i < pts.size(); ++i) cairo_line_to(cr, pts[i].h, pts[i].v);
    cairo_close_path(cr);
}

// The area the pen rectangle sweeps going from a to b: the convex hull of the
// pen at both ends.
void sweepPath(cairo_t* cr, Point a, Point b, int32_t pw, int32_t ph) {
    std::array<std::pair<double, double>, 8> c{{{a.h, a.v},
                                                {a.h + pw, a.v},
                                                {a.h + pw, a.v + ph},
                                                {a.h, a.v + ph},
                                                {b.h, b.v},
                                                {b.h + pw, b.v},
                                                {b.h + pw, b.v + ph},
                                                {b.h, b.v + ph}}};
    std::sort(c.begin(), c.end());
    auto cross = [](auto o, auto p, auto q) {
        return (p.first - o.first) * (q.second - o.second) -
               (p.second - o.second) * (q.first - o.first);
    };
    std::array<std::pair<double, double>, 16> hull;
    size_t k = 0;
    for (size_t i = 0; i < c.size(); ++i) {
        while (k >= 2 && cross(hull[k - 2], hull[k - 1], c[i]) <= 0) --k;
        hull[k++] = c[i];
    }
    for (size_t i = c.size() - 1, lo = k + 1; i-- > 0;) {
        while (k >= lo && cross(hull[k - 2], hull[k - 1], c[i]) <= 0) --k;
        hull[k++] = c[i];
    }
    cairo_move_to(cr, hull[0].first, hull[0].second);
    for (size_t i = 1; i + 1 < k; ++i) cairo_line_to(cr, hull[i].first, hull[i].second);
    cairo_close_path(cr);
}

struct Shape {
    ShapeKind kind;
    Rect r;
    int32_t p1 = 0, p2 = 0;  // oval size, or start and arc angles
    const std::vector<Point>* points = nullptr;
};

// The outline of a shape, inset by (dx, dy) on every side.
void outline(cairo_t* cr, const Shape& s, double dx, double dy, bool reverse) {
    const double l = s.r.left + dx, t = s.r.top + dy, r = s.r.right - dx, b = s.r.bottom - dy;
    switch (s.kind) {
        case ShapeKind::Rect:
            if (!reverse) {
                rectPath(cr, l, t, r, b);
            } else if (r > l && b > t) {
                cairo_move_to(cr, l, t);
                cairo_line_to(cr, l, b);
                cairo_line_to(cr, r, b);
                cairo_line_to(cr, r, t);
                cairo_close_path(cr);
            }
            break;
        case ShapeKind::Oval:
            ellipse(cr, l, t, r, b);
            break;
        case ShapeKind::RoundRect:
            roundRectPath(cr, l, t, r, b, s.p1 - 2 * dx, s.p2 - 2 * dy);
            break;
        case ShapeKind::Arc:
            wedgePath(cr, l, t, r, b, s.p1, s.p2, reverse);
            break;
        case ShapeKind::Poly:
            polyPath(cr, *s.points);
            break;
    }
}

bool smoothKind(ShapeKind k) {
    return k == ShapeKind::Oval || k == ShapeKind::RoundRect || k == ShapeKind::Arc;
}

void framePoly(GrafPort& p, const std::vector<Point>& pts) {
    cairo_set_fill_rule(p.cr, CAIRO_FILL_RULE_WINDING);
    for (size_t i = 0; i + 1 < pts.size(); ++i)
        sweepPath(p.cr, pts[i], pts[i + 1], p.st.penWidth, p.st.penHeight);
}

// Rectangles painted, erased, inverted or filled straight into a world's pixels.
bool directFill(GrafPort& p, Verb verb, const Rect& r, const Pattern* fillPat) {
    switch (verb) {
        case Verb::Paint:
            return fillRectDirect(p, r, p.st.penMode, p.st.penPat);
        case Verb::Erase:
            return fillRectDirect(p, r, patCopy, p.st.backPat);
        case Verb::Invert:
            return fillRectDirect(p, r, patXor, kBlack);
        case Verb::Fill:
            return fillRectDirect(p, r, patCopy, fillPat ? *fillPat : kBlack);
        default:
            return false;
    }
}

// A painted rectangle joins the open fill group; rectangles painted in another
// pen state are filled first.
void groupRect(GrafPort& p, const Rect& r) {
    FillGroup& g = p.group;
    if (!g.rects.empty() && (g.mode != p.st.penMode || !(g.pat == p.st.penPat) ||
                             !(g.fore == p.st.fore) || !(g.back == p.st.back)))
        flushFillGroup(p);
    if (g.rects.empty()) {
        g.mode = p.st.penMode;
        g.pat = p.st.penPat;
        g.fore = p.st.fore;
        g.back = p.st.back;
    }
    if (!r.empty()) g.rects.push_back(r);
}

void draw(Verb verb, const Shape& s, const Pattern* fillPat) {
    GrafPort& p = current();
    if (PicOp* op = record(p, Op::Shape)) {
        op->a[0] = static_cast<int32_t>(verb);
        op->a[1] = static_cast<int32_t>(s.kind);
        op->a[2] = s.p1;
        op->a[3] = s.p2;
        op->rect = s.r;
        if (fillPat) op->pat = *fillPat;
        if (s.points) op->points = *s.points;
    }
    if (!visible(p)) return;
    if (s.kind == ShapeKind::Rect && directFill(p, verb, s.r, fillPat)) return;
    if (p.group.depth > 0 && verb == Verb::Paint && s.kind == ShapeKind::Rect) {
        groupRect(p, s.r);
        return;
    }
    cairo_t* cr = p.cr;
    cairo_new_path(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    const bool smooth = smoothKind(s.kind);
    switch (verb) {
        case Verb::Frame: {
            const int32_t pw = p.st.penWidth, ph = p.st.penHeight;
            if (pw <= 0 || ph <= 0) return;
            if (s.kind == ShapeKind::Poly) {
                framePoly(p, *s.points);
            } else if (2 * pw >= s.r.width() || 2 * ph >= s.r.height()) {
                outline(cr, s, 0, 0, false);  // the frame fills the shape
            } else {
                outline(cr, s, 0, 0, false);
                outline(cr, s, pw, ph, true);
            }
            fillPath(p, p.st.penMode, p.st.penPat, smooth);
            return;
        }
        case Verb::Paint:
            outline(cr, s, 0, 0, false);
            fillPath(p, p.st.penMode, p.st.penPat, smooth);
            return;
        case Verb::Erase:
            outline(cr, s, 0, 0, false);
            fillPath(p, patCopy, p.st.backPat, smooth);
            return;
        case Verb::Invert:
            outline(cr, s, 0, 0, false);
            fillPath(p, patXor, kBlack, smooth);
            return;
        case Verb::Fill:
            outline(cr, s, 0, 0, false);
            fillPath(p, patCopy, fillPat ? *fillPat : kBlack, smooth);
            return;
    }
}

Shape rect(const Rect& r) { return {ShapeKind::Rect, r}; }
Shape oval(const Rect& r) { return {ShapeKind::Oval, r}; }
Shape rrect(const Rect& r, int32_t w, int32_t h) { return {ShapeKind::RoundRect, r, w, h}; }
Shape arc(const Rect& r, int32_t a, int32_t b) { return {ShapeKind::Arc, r, a, b}; }
Shape poly(const Polygon& p) { return {ShapeKind::Poly, {}, 0, 0, &p.points}; }

}  // namespace

void flushFillGroup(GrafPort& p) {
    FillGroup& g = p.group;
    if (g.rects.empty() || !p.cr) {
        g.rects.clear();
        return;
    }
    const RGBColor fore = p.st.fore, back = p.st.back;
    p.st.fore = g.fore;
    p.st.back = g.back;
    cairo_new_path(p.cr);
    // Non-zero winding: the rectangles all turn one way, so where two overlap
    // their union is filled.
    cairo_set_fill_rule(p.cr, CAIRO_FILL_RULE_WINDING);
    for (const Rect& r : g.rects) rectPath(p.cr, r.left, r.top, r.right, r.bottom);
    fillPath(p, g.mode, g.pat, false);
    p.st.fore = fore;
    p.st.back = back;
    g.rects.clear();
}

void LineTo(int32_t h, int32_t v) {
    GrafPort& p = current();
    if (PicOp* op = record(p, Op::LineTo)) {
        op->a[0] = h;
        op->a[1] = v;
    }
    const Point from = p.st.pen;
    p.st.pen = {v, h};
    if (!visible(p) || p.st.penWidth <= 0 || p.st.penHeight <= 0) return;
    cairo_new_path(p.cr);
    cairo_set_fill_rule(p.cr, CAIRO_FILL_RULE_WINDING);
    sweepPath(p.cr, from, p.st.pen, p.st.penWidth, p.st.penHeight);
    fillPath(p, p.st.penMode, p.st.penPat, false);
}

void Line(int32_t dh, int32_t dv) {
    const Point at = current().st.pen;
    LineTo(at.h + dh, at.v + dv);
}

void FrameRect(const Rect& r) { draw(Verb::Frame, rect(r), nullptr); }
void PaintRect(const Rect& r) { draw(Verb::Paint, rect(r), nullptr); }
void EraseRect(const Rect& r) { draw(Verb::Erase, rect(r), nullptr); }
void InvertRect(const Rect& r) { draw(Verb::Invert, rect(r), nullptr); }
void FillRect(const Rect& r, const Pattern& pat) { draw(Verb::Fill, rect(r), &pat); }
void FrameOval(const Rect& r) { draw(Verb::Frame, oval(r), nullptr); }
void PaintOval(const Rect& r) { draw(Verb::Paint, oval(r), nullptr); }
void EraseOval(const Rect& r) { draw(Verb::Erase, oval(r), nullptr); }
void InvertOval(const Rect& r) { draw(Verb::Invert, oval(r), nullptr); }
void FrameRoundRect(const Rect& r, int32_t w, int32_t h) {
    draw(Verb::Frame, rrect(r, w, h), nullptr);
}
void PaintRoundRect(const Rect& r, int32_t w, int32_t h) {
    draw(Verb::Paint, rrect(r, w, h), nullptr);
}
void EraseRoundRect(const Rect& r, int32_t w, int32_t h) {
    draw(Verb::Erase, rrect(r, w, h), nullptr);
}
void InvertRoundRect(const Rect& r, int32_t w, int32_t h) {
    draw(Verb::Invert, rrect(r, w, h), nullptr);
}
void FrameArc(const Rect& r, int32_t a, int32_t b) { draw(Verb::Frame, arc(r, a, b), nullptr); }
void PaintArc(const Rect& r, int32_t a, int32_t b) { draw(Verb::Paint, arc(r, a, b), nullptr); }
void EraseArc(const Rect& r, int32_t a, int32_t b) { draw(Verb::Erase, arc(r, a, b), nullptr); }
void InvertArc(const Rect& r, int32_t a, int32_t b) { draw(Verb::Invert, arc(r, a, b), nullptr); }
void FramePoly(const Polygon& p) { draw(Verb::Frame, poly(p), nullptr); }
void PaintPoly(const Polygon& p) { draw(Verb::Paint, poly(p), nullptr); }
void ErasePoly(const Polygon& p) { draw(Verb::Erase, poly(p), nullptr); }

// For replaying a picture: one shape op, placed at r (its oval size or angles
// p1 and p2, its points pts).
void drawShapeOp(const PicOp& op, const Rect& r, int32_t p1, int32_t p2,
                 const std::vector<Point>& pts) {
    const auto kind = static_cast<ShapeKind>(op.a[1]);
    const auto verb = static_cast<Verb>(op.a[0]);
    draw(verb, {kind, r, p1, p2, kind == ShapeKind::Poly ? &pts : nullptr},
         verb == Verb::Fill ? &op.pat : nullptr);
}

}  // namespace qd
