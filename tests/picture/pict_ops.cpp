#include "pict_ops.h"

#include "pict_fixture.h"

namespace picttest {

Ops readOps(const qd::Picture& pic) {
    Ops o;
    std::string font;
    int size = 0, face = 0, penW = 1, penH = 1;
    qd::Point pen;
    for (const qd::PicOp& op : pic.ops) {
        switch (op.op) {
            case qd::Op::MoveTo:
                pen = {op.a[1], op.a[0]};
                break;
            case qd::Op::LineTo:
                o.lines.push_back({pen.h, pen.v, op.a[0], op.a[1], penW, penH});
                pen = {op.a[1], op.a[0]};
                break;
            case qd::Op::PenSize:
                penW = op.a[0];
                penH = op.a[1];
                break;
            case qd::Op::TextFont:
                font = op.bytes;
                break;
            case qd::Op::TextSize:
                size = op.a[0];
                break;
            case qd::Op::TextFace:
                face = op.a[0];
                break;
            case qd::Op::Text:
                o.texts.push_back({op.bytes, font, size, face, pen.h, pen.v});
                break;
            case qd::Op::Shape:
                if (op.a[1] != static_cast<int32_t>(qd::ShapeKind::Rect)) break;
                if (op.a[0] == static_cast<int32_t>(qd::Verb::Paint)) o.painted.push_back(op.rect);
                if (op.a[0] == static_cast<int32_t>(qd::Verb::Frame)) o.framed.push_back(op.rect);
                break;
            default:
                break;
        }
    }
    return o;
}

Ops recordOps(const qd::Rect& frame, const std::function<void()>& draw) {
    qd::Picture* pic = recordPicture(frame, draw);
    Ops o = readOps(*pic);
    qd::KillPicture(pic);
    return o;
}

std::vector<int32_t> commentKinds(const qd::Picture& pic) {
    std::vector<int32_t> kinds;
    for (const qd::PicOp& op : pic.ops)
        if (op.op == qd::Op::Comment) kinds.push_back(op.a[0]);
    return kinds;
}

std::vector<qd::Rect> bars(const Ops& o, const qd::Rect& frame) {
    std::vector<qd::Rect> out;
    for (const qd::Rect& r : o.painted)
        // The background covers the frame from its top left corner.
        if (!(r.left == frame.left && r.top == frame.top && r.width() * 2 > frame.width()))
            out.push_back(r);
    return out;
}

}  // namespace picttest
