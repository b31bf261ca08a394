#include "picture/rotate.h"

#include <cmath>
#include <cstring>
#include <algorithm>

qd::Point ccpt;

namespace {

constexpr double kRadiansPerDegree = 0.017453292519943295;
constexpr double kFixedOne = 65536.0;
constexpr char kCopyPage[] = "copypage";

void putBig(unsigned char* at, uint32_t v, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) {
        at[i] = static_cast<unsigned char>(v & 0xFF);
        v >>= 8;
    }
}

}  // namespace

qd::Point RotatePt(qd::Point point, qd::Point centre, double cosine, double sine) {
    const double dh = point.h - centre.h;
    const double dv = point.v - centre.v;
    qd::Point out;
    out.h = static_cast<int32_t>(centre.h + cosine * dh - sine * dv);
    out.v = static_cast<int32_t>(centre.v + cosine * dv + sine * dh);
    return out;
}

void QDRotatedRect(qd::Rect* rect, qd::Point centre, double angle, qd::Polygon* region,
                   int32_t makeRegion) {
    const double a = angle * kRadiansPerDegree;
    // The sine negated: v grows downward, so positive angles turn counter-clockwise.
    const double c = std::cos(a), s = -std::sin(a);
    const qd::Point corners[4] = {{rect->top, rect->left},
                                  {rect->top, rect->right},
                                  {rect->bottom, rect->right},
                                  {rect->bottom, rect->left}};
    qd::Point turned[4];
    for (int i = 0; i < 4; ++i) turned[i] = RotatePt(corners[i], centre, c, s);
    qd::Rect bounds{turned[0].v, turned[0].h, turned[0].v, turned[0].h};
    for (const qd::Point& p : turned) {
        bounds.top = std::min(bounds.top, p.v);
        bounds.left = std::min(bounds.left, p.h);
        bounds.bottom = std::max(bounds.bottom, p.v);
        bounds.right = std::max(bounds.right, p.h);
    }
    *rect = bounds;
    if (makeRegion == 1 && region) region->points.assign(turned, turned + 4);
}

RotationComments rotationComments(double angle, qd::Point centre, bool flip) {
    RotationComments c{};
    const double turn = 360 - angle;
    putBig(c.begin, flip ? 1 : 0, 2);
    putBig(c.begin + 2, static_cast<uint32_t>(static_cast<int16_t>(std::lround(turn))), 2);
    putBig(c.begin + 4, static_cast<uint32_t>(static_cast<int32_t>(std::lround(turn * kFixedOne))),
           4);
    putBig(c.centre, static_cast<uint32_t>(centre.v) << 16, 4);
    putBig(c.centre + 4, static_cast<uint32_t>(centre.h) << 16, 4);
    return c;
}

// A picture keeps every state change as it is made; the pen's place is the one
// thing a comment may need written first.
void FlushGrafPortState() {
    qd::Point pen;
    qd::GetPen(&pen);
    qd::MoveTo(pen.h, pen.v);
}

void FlushPostScriptState() {
    qd::PicComment(kPostScriptBegin, 0, nullptr);
    qd::PicComment(kPostScriptEnd, 0, nullptr);
}

void TurnOnFormsPrinting() { qd::PicComment(kFormsPrintingOn, 0, nullptr); }
void TurnOffFormsPrinting() { qd::PicComment(kFormsPrintingOff, 0, nullptr); }

void FormsCopyPage() {
    qd::PicComment(kPostScriptBegin, 0, nullptr);
    qd::PicComment(kPostScriptHandle, static_cast<int16_t>(std::strlen(kCopyPage)), kCopyPage);
    qd::PicComment(kPostScriptEnd, 0, nullptr);
}
