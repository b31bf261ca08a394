#include "platform/textedit.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstring>
#include <optional>

#include "platform/desktop.h"

namespace platform {
namespace {

constexpr unsigned char kBackspace = 8;
constexpr unsigned char kReturn = 13;
constexpr unsigned char kLeftArrow = 28;
constexpr unsigned char kRightArrow = 29;
constexpr unsigned char kUpArrow = 30;
constexpr unsigned char kDownArrow = 31;
constexpr int32_t kMostBytes = 32767;
constexpr int32_t kTicksPerSecond = 60;

int32_t limitOf(const TERec& te) { return std::clamp(te.maxLength, 0, kMostBytes); }

// A text set by hand may be longer than a selection reaches; the caret stops there.
void setCaret(TERec& te, size_t at) {
    te.selStart = te.selEnd = static_cast<int16_t>(std::min<size_t>(at, kMostBytes));
}

uint32_t steadyTicks() {
    using namespace std::chrono;
    const auto since = steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(duration_cast<milliseconds>(since).count() * kTicksPerSecond /
                                 1000);
}

TETickSource tickSource = steadyTicks;
std::string teScrap;

uint32_t ticks() { return tickSource(); }

// ---- Layout ---------------------------------------------------------------------

// Sets the field's style on its port, which must be current.
void applyStyle(const TERec& te) {
    qd::TextFont(te.font);
    qd::TextSize(te.size);
    qd::TextFace(te.face);
}

// Makes the field's port current for as long as it lives, and puts the old one back.
struct PortScope {
    qd::GrafPort* saved;
    explicit PortScope(const TERec& te) : saved(qd::GetPort()) {
        qd::SetPort(te.port);
        applyStyle(te);
    }
    ~PortScope() { qd::SetPort(saved); }
    PortScope(const PortScope&) = delete;
    PortScope& operator=(const PortScope&) = delete;
};

// The advance of a byte; the field's port is current. A field with no port
// measures nothing and wraps only at returns.
int32_t widthOf(TERec& te, unsigned char b) {
    if (!te.port) return 0;
    auto& table = te.widths.table;
    if (!table) table = std::make_unique<TERec::ByteWidths::Table>();
    if (!table->known[b]) {
        table->width[b] = static_cast<int16_t>(qd::CharWidth(b));
        table->known[b] = true;
    }
    return table->width[b];
}

int32_t widthOf(TERec& te, int32_t from, int32_t to) {
    int32_t w = 0;
    for (int32_t i = from; i < to; ++i) w += widthOf(te, static_cast<unsigned char>(te.text[i]));
    return w;
}

// A line's drawn length: its trailing blanks and return hang past the margin.
int32_t visibleEnd(const TERec& te, int32_t start, int32_t end) {
    while (end > start && (te.text[end - 1] == ' ' || te.text[end - 1] == '\r')) --end;
    return end;
}

void layOut(TERec& te) {
    const int32_t n = static_cast<int32_t>(te.text.size());
    const int32_t room = te.port ? std::max(1, te.destRect.width()) : INT32_MAX;
    // Widths are measured in the field's own port and style.
    std::optional<PortScope> scope;
    if (te.port) scope.emplace(te);
    te.lineStarts.assign(1, 0);
    int32_t start = 0;
    int32_t width = 0;
    int32_t i = 0;
    while (i < n) {
        const unsigned char c = static_cast<unsigned char>(te.text[i]);
        if (c == kReturn) {
            start = i + 1;
            width = 0;
            if (start < n) te.lineStarts.push_back(start);
            i = start;
            continue;
        }
        const int32_t w = widthOf(te, c);
        if (width + w > room && i > start && c != ' ') {
            // Break after the last blank of the line, or within the word when it has none.
            int32_t next = i;
            for (int32_t b = i - 1; b > start; --b)
                if (te.text[b] == ' ') {
                    next = b + 1;
                    break;
                }
            te.lineStarts.push_back(next);
            start = next;
            width = widthOf(te, next, i);
            continue;
        }
        width += w;
        ++i;
    }
    te.lineStarts.push_back(n);
    if (te.port) {
        qd::FontInfo fi;
        qd::GetFontInfo(&fi);
        te.lineHeight = static_cast<int16_t>(fi.ascent + fi.descent + fi.leading);
        te.fontAscent = static_cast<int16_t>(fi.ascent);
    }
}

int32_t lineCount(const TERec& te) { return static_cast<int32_t>(te.lineStarts.size()) - 1; }

// The line an offset's caret stands on; after a closing return, the empty line below.
int32_t lineOf(const TERec& te, int32_t offset) {
    const int32_t n = static_cast<int32_t>(te.text.size());
    if (offset >= n && n > 0 && te.text[n - 1] == '\r') return lineCount(te);
    const auto it = std::upper_bound(te.lineStarts.begin(), te.lineStarts.end() - 1, offset);
    return std::max(0, static_cast<int32_t>(it - te.lineStarts.begin()) - 1);
}

int32_t lineStart(const TERec& te, int32_t line) {
    return line < lineCount(te) ? te.lineStarts[line] : static_cast<int32_t>(te.text.size());
}
int32_t lineEnd(const TERec& te, int32_t line) {
    return line < lineCount(te) ? te.lineStarts[line + 1] : static_cast<int32_t>(te.text.size());
}

// Where a line's first byte stands, by the field's alignment.
int32_t lineLeft(TERec& te, int32_t line) {
    const int32_t start = lineStart(te, line);
    const int32_t slack =
        te.destRect.width() - widthOf(te, start, visibleEnd(te, start, lineEnd(te, line)));
    if (te.just == teCenter) return te.destRect.left + slack / 2;
    if (te.just == teFlushRight) return te.destRect.left + slack;
    return te.destRect.left;
}

// ---- Drawing ---------------------------------------------------------------------

qd::Rect intersect(const qd::Rect& a, const qd::Rect& b) {
    return {std::max(a.top, b.top), std::max(a.left, b.left), std::min(a.bottom, b.bottom),
            std::min(a.right, b.right)};
}

void drawSelection(TERec& te) {
    if (!te.active) return;
    if (te.selStart == te.selEnd) {
        if (!te.caretShown) return;
        const qd::Point p = TEGetPoint(te.selStart, &te);
        qd::PaintRect({p.v, p.h, p.v + te.lineHeight, p.h + 1});
        return;
    }
    const int32_t first = lineOf(te, te.selStart);
    const int32_t last = lineOf(te, te.selEnd);
    for (int32_t line = first; line <= last; ++line) {
        const int32_t top = te.destRect.top + line * te.lineHeight;
        const int32_t from = std::max<int32_t>(te.selStart, lineStart(te, line));
        const int32_t to = std::min<int32_t>(te.selEnd, lineEnd(te, line));
        const int32_t left = lineLeft(te, line) + widthOf(te, lineStart(te, line), from);
        // A selection running on past the line's end fills to the margin.
        const int32_t right =
            to < te.selEnd ? std::max(te.destRect.right, left) : left + widthOf(te, from, to);
        if (right > left) qd::InvertRect({top, left, top + te.lineHeight, right});
    }
}

void draw(TERec& te, const qd::Rect& area) {
    if (!te.port) return;
    PortScope scope(te);
    const qd::ClipState clip = qd::GetClipState();
    const qd::Rect shown = intersect(te.viewRect, area);
    if (!shown.empty()) {
        qd::ClipRect(shown);
        qd::EraseRect(shown);
        qd::TextMode(qd::srcOr);
        const int32_t lh = std::max<int32_t>(1, te.lineHeight);
        const int32_t first = std::max<int32_t>(0, (shown.top - te.destRect.top) / lh);
        for (int32_t line = first; line < lineCount(te); ++line) {
            const int32_t top = te.destRect.top + line * lh;
            if (top >= shown.bottom) break;
            const int32_t start = lineStart(te, line);
            const int32_t end = visibleEnd(te, start, lineEnd(te, line));
            qd::MoveTo(lineLeft(te, line), top + te.fontAscent);
            qd::DrawText(te.text.data(), start, end - start);
        }
        drawSelection(te);
    }
    qd::SetClipState(clip);
    te.shown = {true, te.text, te.lineStarts, te.destRect, te.selStart, te.selEnd};
}

void redraw(TERec& te) { draw(te, te.viewRect); }

// The line of an offset in a layout that may be one the port still shows.
int32_t lineIn(const std::vector<int32_t>& starts, const std::string& text, int32_t offset) {
    const int32_t n = static_cast<int32_t>(text.size());
    const int32_t lines = static_cast<int32_t>(starts.size()) - 1;
    if (offset >= n && n > 0 && text[n - 1] == '\r') return lines;
    const auto it = std::upper_bound(starts.begin(), starts.end() - 1, offset);
    return std::max(0, static_cast<int32_t>(it - starts.begin()) - 1);
}

// Redraws the lines whose text, place or selection differ from what the port
// shows: typing redraws a line or two, not the whole field.
void redrawChanges(TERec& te) {
    const TERec::Shown& old = te.shown;
    if (!old.valid || !(old.destRect == te.destRect)) {
        redraw(te);
        return;
    }
    const std::string& was = old.text;
    const std::string& now = te.text;
    const size_t most = std::min(was.size(), now.size());
    size_t prefix = 0;
    while (prefix < most && was[prefix] == now[prefix]) ++prefix;
    size_t suffix = 0;
    while (suffix < most - prefix && was[was.size() - 1 - suffix] == now[now.size() - 1 - suffix])
        ++suffix;
    const int32_t delta = static_cast<int32_t>(now.size()) - static_cast<int32_t>(was.size());
    const int32_t editEnd = static_cast<int32_t>(now.size() - suffix);
    const bool textChanged = was != now;

    const std::vector<int32_t>& a = old.lineStarts;
    const std::vector<int32_t>& b = te.lineStarts;
    constexpr int32_t kToTheEnd = INT32_MAX / 2;
    int32_t from = kToTheEnd, to = -1;  // dirty lines [from, to)
    if (textChanged) {
        int32_t firstDiff = 0;
        while (firstDiff < static_cast<int32_t>(std::min(a.size(), b.size())) &&
               a[firstDiff] == b[firstDiff])
            ++firstDiff;
        from = std::min(firstDiff, lineOf(te, static_cast<int32_t>(prefix)));
        // Lines after the edit that kept their place and their text stay as they are.
        to = kToTheEnd;
        if (a.size() == b.size()) {
            int32_t j = static_cast<int32_t>(b.size()) - 1;
            while (j > from && b[j] == a[j] + delta && b[j] >= editEnd) --j;
            to = j + 1;
        }
    }
    // The old and the new selection or caret.
    for (int32_t line : {lineIn(a, was, old.selStart), lineIn(a, was, old.selEnd)})
        from = std::min(from, line), to = std::max(to, line + 1);
    for (int32_t line : {lineOf(te, te.selStart), lineOf(te, te.selEnd)})
        from = std::min(from, line), to = std::max(to, line + 1);
    const int32_t lh = std::max<int32_t>(1, te.lineHeight);
    const int32_t top = te.destRect.top + from * lh;
    const int32_t bottom = to >= kToTheEnd ? te.viewRect.bottom : te.destRect.top + to * lh;
    if (bottom > top)
        draw(te, {top, te.viewRect.left, bottom, te.viewRect.right});
    else
        te.shown.selStart = te.selStart, te.shown.selEnd = te.selEnd;
}

// After an edit: lay out again, keep the selection in view when asked, show the
// caret at once and draw what changed.
void changed(TERec& te) {
    layOut(te);
    te.caretShown = true;
    te.caretTicks = ticks();
    if (te.autoView) TESelView(&te);
    redrawChanges(te);
}

void clampSelection(int32_t selStart, int32_t selEnd, TERec& te) {
    const int32_t len = static_cast<int32_t>(std::min<size_t>(te.text.size(), kMostBytes));
    selStart = std::clamp(selStart, 0, len);
    selEnd = std::clamp(selEnd, 0, len);
    if (selStart > selEnd) std::swap(selStart, selEnd);
    te.selStart = static_cast<int16_t>(selStart);
    te.selEnd = static_cast<int16_t>(selEnd);
}

bool isWordByte(unsigned char c) { return std::isalnum(c) || c >= 0x80; }

void replaceSelection(TERec& te, const std::string& with) {
    clampSelection(te.selStart, te.selEnd, te);
    const size_t start = static_cast<size_t>(te.selStart);
    te.text.replace(start, static_cast<size_t>(te.selEnd) - start, with);
    setCaret(te, start + with.size());
}

bool fits(const TERec& te, size_t adding) {
    const size_t removing = static_cast<size_t>(te.selEnd - te.selStart);
    return te.text.size() - removing + adding <= static_cast<size_t>(limitOf(te));
}

// The offset on a line nearest h: past a byte's middle the caret goes after it.
int32_t offsetOnLine(TERec& te, int32_t line, int32_t h) {
    const int32_t start = lineStart(te, line);
    int32_t end = lineEnd(te, line);
    // The caret stands before a line's return, and before the blanks where a line wraps
    // (after them it would stand on the next line).
    if (end > start && te.text[end - 1] == '\r')
        --end;
    else if (line + 1 < lineCount(te))
        end = visibleEnd(te, start, end);
    std::optional<PortScope> scope;
    if (te.port) scope.emplace(te);
    int32_t x = lineLeft(te, line);
    int32_t at = start;
    while (at < end) {
        const int32_t w = widthOf(te, static_cast<unsigned char>(te.text[at]));
        if (h < x + (w + 1) / 2) break;
        x += w;
        ++at;
    }
    return at;
}

void moveVertically(TERec& te, int32_t lines) {
    const int32_t line = lineOf(te, te.selStart);
    const int32_t target = line + lines;
    const int32_t last = lineOf(te, static_cast<int32_t>(te.text.size()));
    if (target < 0 || target > last) {
        setCaret(te, static_cast<size_t>(te.selStart));
        return;
    }
    setCaret(te, static_cast<size_t>(offsetOnLine(te, target, TEGetPoint(te.selStart, &te).h)));
}

}  // namespace

void TEKey(unsigned char key, TEHandle te) {
    if (!te) return;
    // A selection made by hand may lie outside the text; bring it back first.
    clampSelection(te->selStart, te->selEnd, *te);
    const size_t start = static_cast<size_t>(te->selStart);
    const size_t end = static_cast<size_t>(te->selEnd);
    switch (key) {
        case kBackspace:
            if (start != end) {
                te->text.erase(start, end - start);
                setCaret(*te, start);
            } else if (start > 0) {
                te->text.erase(start - 1, 1);
                setCaret(*te, start - 1);
            }
            break;
        case kLeftArrow:
            setCaret(*te, start != end ? start : (start > 0 ? start - 1 : 0));
            break;
        case kRightArrow:
            setCaret(*te, start != end ? end : std::min(end + 1, te->text.size()));
            break;
        case kUpArrow:
        case kDownArrow:
            moveVertically(*te, key == kUpArrow ? -1 : 1);
            break;
        default:
            if (!fits(*te, 1)) return;
            replaceSelection(*te, std::string(1, static_cast<char>(key)));
            break;
    }
    changed(*te);
}

void TEGetSelect(TEHandle te, int16_t* selStart, int16_t* selEnd) {
    if (!te) return;
    if (selStart) *selStart = te->selStart;
    if (selEnd) *selEnd = te->selEnd;
}

void TESetSelect(int32_t selStart, int32_t selEnd, TEHandle te) {
    if (!te) return;
    clampSelection(selStart, selEnd, *te);
    redrawChanges(*te);
}

void TESelectAll(TEHandle te) {
    if (!te) return;
    TESetSelect(0, kMostBytes, te);
}

bool TESetText(const void* text, int32_t length, TEHandle te) {
    if (!te || length < 0 || (length > 0 && !text) || length > limitOf(*te)) return false;
    if (length == 0)
        te->text.clear();
    else
        te->text.assign(static_cast<const char*>(text), static_cast<size_t>(length));
    setCaret(*te, te->text.size());
    layOut(*te);
    return true;
}

bool TEInsert(const void* text, int32_t length, TEHandle te) {
    if (!te || length < 0 || (length > 0 && !text)) return false;
    clampSelection(te->selStart, te->selEnd, *te);
    if (te->text.size() + static_cast<size_t>(length) > static_cast<size_t>(limitOf(*te)))
        return false;
    const size_t at = static_cast<size_t>(te->selStart);
    te->text.insert(at, static_cast<const char*>(text), static_cast<size_t>(length));
    clampSelection(te->selStart + length, te->selEnd + length, *te);
    changed(*te);
    return true;
}

void TEActivate(TEHandle te) {
    if (!te) return;
    te->active = true;
    te->caretShown = true;
    te->caretTicks = ticks();
    redrawChanges(*te);
}

void TEDeactivate(TEHandle te) {
    if (!te) return;
    te->active = false;
    redrawChanges(*te);
}

void GetWindowText(TEHandle te, char* dest, int32_t max) {
    if (!dest) return;
    const size_t n =
        te ? std::min<size_t>(te->text.size(), static_cast<size_t>(std::max(max, 0))) : 0;
    if (n > 0) std::memcpy(dest, te->text.data(), n);
    dest[n] = '\0';
}

bool SetWindowText(TEHandle te, const char* text) {
    if (!te || !text) return false;
    if (!TESetText(text, static_cast<int32_t>(std::strlen(text)), te)) return false;
    redrawChanges(*te);
    return true;
}

TEHandle TEStyleNew(const qd::Rect& destRect, const qd::Rect& viewRect) {
    auto* te = new TERec;
    te->port = qd::GetPort();
    te->destRect = destRect;
    te->viewRect = viewRect;
    layOut(*te);
    return te;
}

void TEDispose(TEHandle te) { delete te; }

void TESetStyle(int16_t font, int16_t size, int16_t face, TEHandle te) {
    if (!te) return;
    te->font = font;
    te->size = size > 0 ? size : 12;
    te->face = face;
    te->widths.forget();
    changed(*te);
}

void TESetAlignment(int16_t just, TEHandle te) {
    if (!te) return;
    te->just = just;
    redraw(*te);
}

void TECalText(TEHandle te) {
    if (te) layOut(*te);
}

int32_t TENumLines(TEHandle te) { return te ? lineCount(*te) : 0; }

int32_t TEGetHeight(int32_t endLine, int32_t startLine, TEHandle te) {
    if (!te) return 0;
    const int32_t lines = lineCount(*te);
    startLine = std::clamp(startLine, 1, std::max(1, lines));
    endLine = std::clamp(endLine, startLine, std::max(1, lines));
    return (endLine - startLine + 1) * te->lineHeight;
}

int32_t TEGetOffset(qd::Point pt, TEHandle te) {
    if (!te) return 0;
    const int32_t lh = std::max<int32_t>(1, te->lineHeight);
    const int32_t last = lineOf(*te, static_cast<int32_t>(te->text.size()));
    const int32_t dv = pt.v - te->destRect.top;
    return offsetOnLine(*te, dv < 0 ? 0 : std::min(last, dv / lh), pt.h);
}

qd::Point TEGetPoint(int32_t offset, TEHandle te) {
    if (!te) return {};
    offset = std::clamp(offset, 0, static_cast<int32_t>(te->text.size()));
    const int32_t line = lineOf(*te, offset);
    std::optional<PortScope> scope;
    if (te->port) scope.emplace(*te);
    const int32_t h = lineLeft(*te, line) + widthOf(*te, lineStart(*te, line), offset);
    return {te->destRect.top + line * te->lineHeight, h};
}

void TEClick(qd::Point pt, bool extend, TEHandle te) {
    if (!te) return;
    const int32_t at = TEGetOffset(pt, te);
    const uint32_t now = ticks();
    const bool twice =
        !extend && at == te->clickOffset && now - te->clickTicks <= kDoubleClickTicks;
    if (twice) {
        int32_t from = at, to = at;
        const auto word = [&](int32_t i) {
            return isWordByte(static_cast<unsigned char>(te->text[static_cast<size_t>(i)]));
        };
        const int32_t n = static_cast<int32_t>(te->text.size());
        while (from > 0 && word(from - 1)) --from;
        while (to < n && word(to)) ++to;
        clampSelection(from, to, *te);
        te->clickOffset = -1;  // a third click starts again
    } else {
        if (extend)
            clampSelection(at < te->selStart ? at : te->selStart,
                           at < te->selStart ? te->selEnd : at, *te);
        else
            clampSelection(at, at, *te);
        te->clickOffset = at;
    }
    te->clickTicks = now;
    changed(*te);
}

void TEIdle(TEHandle te) {
    if (!te || !te->active || te->selStart != te->selEnd) return;
    const uint32_t now = ticks();
    if (now - te->caretTicks < kCaretTicks) return;
    te->caretTicks = now;
    te->caretShown = !te->caretShown;
    redrawChanges(*te);
}

void TEUpdate(const qd::Rect& rect, TEHandle te) {
    if (te) draw(*te, rect);
}

void TEScroll(int32_t dh, int32_t dv, TEHandle te) {
    if (!te || (dh == 0 && dv == 0)) return;
    te->destRect.left += dh;
    te->destRect.right += dh;
    te->destRect.top += dv;
    te->destRect.bottom += dv;
    redraw(*te);
}

void TEAutoView(bool on, TEHandle te) {
    if (te) te->autoView = on;
}

void TESelView(TEHandle te) {
    if (!te || !te->port) return;
    const qd::Point p = TEGetPoint(te->selStart, te);
    const qd::Rect& view = te->viewRect;
    int32_t dv = 0, dh = 0;
    if (p.v < view.top) dv = view.top - p.v;
    if (p.v + te->lineHeight > view.bottom) dv = view.bottom - (p.v + te->lineHeight);
    if (p.h < view.left) dh = view.left - p.h;
    if (p.h >= view.right) dh = view.right - 1 - p.h;
    te->destRect.top += dv;
    te->destRect.bottom += dv;
    te->destRect.left += dh;
    te->destRect.right += dh;
}

void TECopy(TEHandle te) {
    if (!te) return;
    clampSelection(te->selStart, te->selEnd, *te);
    teScrap = te->text.substr(static_cast<size_t>(te->selStart),
                              static_cast<size_t>(te->selEnd - te->selStart));
}

void TECut(TEHandle te) {
    if (!te) return;
    TECopy(te);
    TEDelete(te);
}

void TEDelete(TEHandle te) {
    if (!te) return;
    replaceSelection(*te, std::string());
    changed(*te);
}

bool TEPaste(TEHandle te) {
    if (!te) return false;
    clampSelection(te->selStart, te->selEnd, *te);
    if (!fits(*te, teScrap.size())) return false;
    replaceSelection(*te, teScrap);
    changed(*te);
    return true;
}

void TEFromScrap() {
    std::string text;
    teScrap = GetScrapFlavor("TEXT", &text) ? text : std::string();
}

void TEToScrap() {
    ZeroScrap();
    PutScrapText(teScrap, std::string(), 0);
}

const std::string& TEScrapText() { return teScrap; }

void TESetTickSource(TETickSource source) { tickSource = source ? source : steadyTicks; }

}  // namespace platform
