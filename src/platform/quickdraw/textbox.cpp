#include "platform/quickdraw/textbox.h"

namespace qd {
namespace {

int32_t widthOf(const std::string& s, size_t from, size_t count) {
    return TextWidth(s.data(), static_cast<int32_t>(from), static_cast<int32_t>(count));
}

// Breaks one paragraph (no line ends in it) into lines of at most width.
void wrapParagraph(const std::string& p, int32_t width, std::vector<std::string>* lines) {
    size_t start = 0;
    while (true) {
        if (widthOf(p, start, p.size() - start) <= width) {
            lines->push_back(p.substr(start));
            return;
        }
        // The longest run from start that fits, at least one character.
        size_t fit = 1;
        while (start + fit < p.size() && widthOf(p, start, fit + 1) <= width) ++fit;
        size_t end = start + fit;
        const size_t blank = p.rfind(' ', end);
        if (blank != std::string::npos && blank > start) end = blank;
        // A blank at the break is swallowed: it neither ends this line nor starts the next.
        size_t cut = end;
        while (cut > start && p[cut - 1] == ' ') --cut;
        lines->push_back(p.substr(start, cut - start));
        start = end;
        while (start < p.size() && p[start] == ' ') ++start;
        if (start >= p.size()) return;
    }
}

}  // namespace

std::vector<std::string> WrapTextLines(const std::string& text, int32_t width) {
    std::vector<std::string> lines;
    size_t at = 0;
    while (at <= text.size()) {
        size_t end = text.find_first_of("\r\n", at);
        const std::string paragraph = text.substr(at, end == std::string::npos ? end : end - at);
        if (paragraph.empty())
            lines.emplace_back();
        else
            wrapParagraph(paragraph, width > 0 ? width : 1, &lines);
        if (end == std::string::npos) break;
        at = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
        if (at == text.size()) break;  // a final line end starts no new line
    }
    return lines;
}

void TXNDrawCFStringTextBox(const std::string& text, const Rect& box,
                            const TextBoxOptions& options) {
    if (text.empty()) return;
    FontInfo fi;
    GetFontInfo(&fi);
    const int32_t lineHeight = fi.ascent + fi.descent + fi.leading;
    const bool turned = options.angle != 0;
    if (turned) BeginTurn(options.angle, Point{box.top, box.left});
    int32_t baseline = box.top + fi.ascent;
    // Lines past the box would print over whatever lies below it (the next label).
    const int32_t lowest = box.top + (options.height >= 0 ? options.height : box.height());
    bool first = true;
    for (const std::string& line : WrapTextLines(text, box.width())) {
        if (!first && baseline > lowest) break;
        first = false;
        const int32_t room = box.width() - widthOf(line, 0, line.size());
        int32_t x = box.left;
        if (options.flush == BoxFlush::centre) x += room / 2;
        if (options.flush == BoxFlush::right) x += room;
        MoveTo(x, baseline);
        DrawText(line.data(), 0, static_cast<int32_t>(line.size()));
        baseline += lineHeight;
    }
    if (turned) EndTurn();
}

}  // namespace qd
