#include "platform/toolbox/textshapes.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/resources.h"

namespace platform {
namespace {

constexpr unsigned char kEllipsis = 0xC9;  // Mac OS Roman
constexpr int32_t kLongestLineMargin = 4;

int16_t gLongestLine = 0;

int32_t byteWidth(const char* text, int32_t from, int32_t count) {
    return qd::TextWidth(text, from, count);
}

bool isReturn(char c) { return c == '\r' || c == '\n'; }

// Sets the port up for the shape: its font by name, size and face, and the
// transparent text mode unless the shape asks otherwise.
void setUp(const cTextShape& shape) {
    unsigned char name[kShapeFontNameMost + 2];
    const size_t n = strnlen(shape.fontName, kShapeFontNameMost);
    name[0] = static_cast<unsigned char>(n);
    std::memcpy(name + 1, shape.fontName, n);
    int16_t num = 0;
    if (n > 0) qd::GetFNum(name, &num);
    qd::TextFont(num);
    qd::TextSize(shape.size);
    qd::TextFace(shape.face);
    if (shape.modeFlag == 0) qd::TextMode(qd::srcOr);
}

int32_t lineHeightOf(const cTextShape& shape) {
    return shape.lineHeight == kLineHeightFromFont ? CP_FontHeight() : shape.lineHeight;
}

int32_t textLength(const cTextShape& shape) {
    return shape.text ? static_cast<int32_t>(std::strlen(shape.text)) : 0;
}

// Draws a line stretched to width by widening its blanks.
void drawJustified(const char* text, const ShapeLine& line, int32_t left, int32_t baseline,
                   int32_t width) {
    int32_t blanks = 0;
    for (int32_t i = 0; i < line.length; ++i) blanks += text[line.start + i] == ' ';
    const int32_t extra = width - byteWidth(text, line.start, line.length);
    if (blanks == 0 || extra <= 0) {
        qd::MoveTo(left, baseline);
        qd::DrawText(text, line.start, line.length);
        return;
    }
    int32_t x = left;
    int32_t seen = 0;
    int32_t from = line.start;
    const int32_t end = line.start + line.length;
    for (int32_t i = line.start; i <= end; ++i) {
        if (i < end && text[i] != ' ') continue;
        qd::MoveTo(x, baseline);
        qd::DrawText(text, from, i - from);
        x += byteWidth(text, from, i - from);
        if (i == end) break;
        // The space left over is shared out evenly, the first blanks taking the remainder.
        ++seen;
        x += byteWidth(text, i, 1) + extra * seen / blanks - extra * (seen - 1) / blanks;
        from = i + 1;
    }
}

}  // namespace

void cTextShapeInit(cTextShape* shape, const char* text, uint16_t lineHeight, const qd::Rect& box,
                    const char* fontName, int16_t size, int16_t face, int16_t modeFlag,
                    int16_t hJust, int16_t vAlign) {
    if (!shape) return;
    *shape = cTextShape{};
    shape->box = box;
    shape->text = text;
    shape->lineHeight = lineHeight;
    if (fontName) std::strncpy(shape->fontName, fontName, kShapeFontNameMost);
    shape->fontName[kShapeFontNameMost] = '\0';
    shape->size = size;
    shape->face = face;
    shape->modeFlag = modeFlag;
    shape->hJust = hJust;
    shape->vAlign = vAlign;
}

void cTextShapeLines(const char* text, int32_t length, int32_t width,
                     std::vector<ShapeLine>* lines) {
    lines->clear();
    if (!text || length <= 0) return;
    width = std::max(width, 1);
    int32_t start = 0;
    while (start < length) {
        int32_t end = start;
        int32_t used = 0;
        while (end < length && !isReturn(text[end])) {
            const int32_t w = byteWidth(text, end, 1);
            // Blanks may hang past the margin; anything else that does not fit breaks.
            if (used + w > width && end > start && text[end] != ' ') break;
            used += w;
            ++end;
        }
        ShapeLine line{start, 0, end >= length || isReturn(text[end])};
        int32_t next = end;
        if (!line.endsParagraph) {
            for (int32_t b = end - 1; b > start; --b)
                if (text[b] == ' ') {
                    next = b + 1;
                    break;
                }
        }
        int32_t visible = next;
        while (visible > start && text[visible - 1] == ' ') --visible;
        line.length = visible - start;
        lines->push_back(line);
        if (line.endsParagraph) {
            if (next >= length) break;
            // CR LF ends one line.
            next += text[next] == '\r' && next + 1 < length && text[next + 1] == '\n' ? 2 : 1;
        } else {
            while (next < length && text[next] == ' ') ++next;
        }
        start = next;
    }
}

int32_t cTextShapeFigureNumberLines_Mac(const char* text, int32_t length, int32_t width) {
    std::vector<ShapeLine> lines;
    cTextShapeLines(text, length, width, &lines);
    for (const ShapeLine& line : lines) {
        const int32_t w = byteWidth(text, line.start, line.length) + kLongestLineMargin;
        if (w > gLongestLine) gLongestLine = static_cast<int16_t>(std::min<int32_t>(w, INT16_MAX));
    }
    return static_cast<int32_t>(lines.size());
}

int32_t cTextShapeGetLongestLineLength(const cTextShape& shape) {
    if (gLongestLine == 0) {
        setUp(shape);
        cTextShapeFigureNumberLines_Mac(shape.text, textLength(shape), shape.box.width());
    }
    return gLongestLine;
}

void cTextShapeResetLongestLine() { gLongestLine = 0; }

int32_t cTextShapeGetActualTextDepth(const cTextShape& shape) {
    setUp(shape);
    std::vector<ShapeLine> lines;
    cTextShapeLines(shape.text, textLength(shape), shape.box.width(), &lines);
    return static_cast<int32_t>(lines.size()) * lineHeightOf(shape);
}

void cTextShapeDraw(const cTextShape& shape) {
    const int32_t length = textLength(shape);
    if (length == 0) return;
    setUp(shape);
    const qd::Rect& box = shape.box;
    const int32_t lh = lineHeightOf(shape);
    std::vector<ShapeLine> lines;
    cTextShapeLines(shape.text, length, box.width(), &lines);
    const int32_t n = static_cast<int32_t>(lines.size());
    int32_t baseline = 0;
    switch (shape.vAlign) {
        case shapeBottom:
            baseline = box.bottom - (n - 1) * lh;
            break;
        case shapeMiddle:
            baseline = box.top + std::max(0, box.height() - n * lh) / 2 + CP_FontAscentHeight();
            break;
        case shapeTop:
            baseline = box.top + CP_FontAscentHeight();
            break;
        default:
            break;
    }
    for (const ShapeLine& line : lines) {
        if (baseline > box.bottom) break;
        const int32_t slack = box.width() - byteWidth(shape.text, line.start, line.length);
        if (shape.hJust == shapeFull && !line.endsParagraph) {
            drawJustified(shape.text, line, box.left, baseline, box.width());
        } else {
            int32_t x = box.left;
            if (shape.hJust == shapeRight) x += slack;
            if (shape.hJust == shapeCentre) x += slack / 2;
            qd::MoveTo(x, baseline);
            qd::DrawText(shape.text, line.start, line.length);
        }
        baseline += lh;
    }
}

void cTextShapeDrawTrunc(const cTextShape& shape) {
    const int32_t length = std::min(textLength(shape), kTruncatedTextMost);
    if (length == 0) return;
    setUp(shape);
    const qd::Rect& box = shape.box;
    std::string line(shape.text, static_cast<size_t>(length));
    int32_t width = byteWidth(line.data(), 0, length);
    if (width > box.width()) {
        // The longest beginning that still fits with the ellipsis after it.
        const int32_t room = box.width() - qd::CharWidth(kEllipsis);
        int32_t keep = 0, used = 0;
        while (keep < length) {
            const int32_t w = byteWidth(line.data(), keep, 1);
            if (used + w > room) break;
            used += w;
            ++keep;
        }
        line.resize(static_cast<size_t>(keep));
        line.push_back(static_cast<char>(kEllipsis));
        width = byteWidth(line.data(), 0, static_cast<int32_t>(line.size()));
    }
    int32_t x = box.left;
    if (width < box.width()) {
        if (shape.hJust == shapeRight) x += box.width() - width;
        if (shape.hJust == shapeCentre) x += (box.width() - width) / 2;
    }
    const int32_t lh = lineHeightOf(shape);
    int32_t baseline = box.top;
    switch (shape.vAlign) {
        case shapeBottom:
            baseline = box.bottom - lh;
            break;
        case shapeMiddle:
            baseline = box.top + std::max(0, box.height() - lh) / 2 + CP_FontAscentHeight();
            break;
        case shapeTop:
            baseline = box.top + CP_FontAscentHeight();
            break;
        default:
            break;
    }
    qd::MoveTo(x, baseline);
    qd::DrawText(line.data(), 0, static_cast<int32_t>(line.size()));
}

int32_t CP_FontHeight() {
    qd::FontInfo fi;
    qd::GetFontInfo(&fi);
    return fi.ascent + fi.descent + fi.leading;
}

int32_t CP_FontAscentHeight() {
    qd::FontInfo fi;
    qd::GetFontInfo(&fi);
    return fi.ascent;
}

void BuildStringItem(int32_t h, int32_t v, int32_t list, int32_t index) {
    unsigned char text[256];
    StringResourceGetString(text, list, index);
    qd::MoveTo(h, v);
    qd::DrawString(text);
}

void BuildTextItem(const unsigned char* text, uint16_t lineHeight, const qd::Rect& box,
                   const char* fontName, int16_t size, int16_t face, int16_t modeFlag,
                   int16_t hJust, int16_t vAlign) {
    if (!text) return;
    const std::string s(reinterpret_cast<const char*>(text + 1), text[0]);
    cTextShape shape;
    cTextShapeInit(&shape, s.c_str(), lineHeight, box, fontName, size, face, modeFlag, hJust,
                   vAlign);
    cTextShapeDraw(shape);
}

}  // namespace platform
