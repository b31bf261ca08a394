#include "platform/toolbox/boxes.h"

#include <algorithm>
#include <cstring>

#include "platform/resources.h"
#include "platform/toolbox/pstrings.h"
#include "platform/toolbox/textshapes.h"

namespace platform {
namespace {

constexpr const char* kBoxFont = "Geneva";
constexpr int16_t kBoxTextSize = 10;
constexpr int16_t kGaugeTextSize = 9;
constexpr int32_t kButtonCorner = 8;
constexpr int32_t kDefaultOutline = 3;  // pen of the default button's outline
constexpr int32_t kDefaultGap = 4;      // outline to button

constexpr int32_t kTitleList = 139;
constexpr int32_t kOkIndex = 1, kCancelIndex = 2;
constexpr int32_t kMessageList = 136;

constexpr unsigned char kReturn = 13, kEnter = 3, kTab = 9, kBackspace = 8;
constexpr unsigned char kFirstArrow = 28, kLastArrow = 31;

constexpr qd::RGBColor kBlack{0, 0, 0};
constexpr qd::RGBColor kWhite{0xFFFF, 0xFFFF, 0xFFFF};
constexpr qd::RGBColor kEdgeDark{0x80E8, 0x80E8, 0x80E8};
constexpr qd::RGBColor kBarDark{0x5555, 0x5555, 0x5555};
constexpr qd::RGBColor kBarGrey{0xAAAA, 0xAAAA, 0xAAAA};
constexpr qd::RGBColor kStripeYellow{65535, 65535, 0};
constexpr qd::RGBColor kStripeOrange{65535, 52428, 0};
constexpr qd::RGBColor kStripeGold{52428, 39321, 0};

// The gauge's parts: the title's baseline, the bar's two bands, the caption.
constexpr int32_t kGaugeTitleBaseline = 20;
constexpr int32_t kGaugeTextBaseline = 40;
constexpr int32_t kGaugeTextLeft = 10, kGaugeTextWidth = 220;
constexpr int32_t kGaugeTextMost = 20;
constexpr int32_t kBarLeft = 12;
constexpr int32_t kBarFillScale = 216, kBarFillOffset = 14;
constexpr qd::Rect kBarInside{31, 11, 44, 229};
constexpr int32_t kDarkTop = 31, kDarkBottom = 37, kGreyTop = 38, kGreyBottom = 44;
constexpr int32_t kBarWidening = 2;

constexpr qd::Rect kLeftStrip{0, 0, 70, 20};
constexpr qd::Rect kRightStrip{0, 340, 70, 360};
constexpr int32_t kStripePen = 6;
constexpr int32_t kStripeStart[2] = {-10, -20};  // by phase

constexpr int32_t kAskerQuestionCentre = 120, kAskerQuestionBaseline = 30;
constexpr int32_t kPromptBaseline = 30;
constexpr qd::Point kLabelAt{60, 14}, kSuffixAt{60, 294}, kRepeatSuffixAt{85, 20};
constexpr int32_t kEdgeGap = 3;

// Saves the current port and its colours, makes another current, and puts all back.
struct PortSave {
    qd::GrafPort* saved;
    qd::RGBColor fore, back;
    explicit PortSave(qd::GrafPort* port) : saved(qd::GetPort()) {
        if (port) qd::SetPort(port);
        qd::GetForeColor(&fore);
        qd::GetBackColor(&back);
    }
    ~PortSave() {
        qd::RGBForeColor(fore);
        qd::RGBBackColor(back);
        qd::SetPort(saved);
    }
    PortSave(const PortSave&) = delete;
    PortSave& operator=(const PortSave&) = delete;
};

void useFont(int16_t size, int16_t face) {
    unsigned char name[16];
    name[0] = static_cast<unsigned char>(std::strlen(kBoxFont));
    std::memcpy(name + 1, kBoxFont, name[0]);
    int16_t num = 0;
    qd::GetFNum(name, &num);
    qd::TextFont(num);
    qd::TextSize(size);
    qd::TextFace(face);
}

int32_t widthOf(const std::string& s) {
    return qd::TextWidth(s.data(), 0, static_cast<int32_t>(s.size()));
}

void drawAt(const std::string& s, int32_t h, int32_t v) {
    qd::MoveTo(h, v);
    qd::DrawText(s.data(), 0, static_cast<int32_t>(s.size()));
}

void drawCentred(const std::string& s, int32_t left, int32_t width, int32_t v) {
    drawAt(s, left + (width - widthOf(s)) / 2, v);
}

std::string listString(int32_t list, int32_t index) {
    unsigned char p[256];
    StringResourceGetString(p, list, index);
    return std::string(reinterpret_cast<const char*>(p + 1), p[0]);
}

qd::Rect outset(const qd::Rect& r, int32_t by) {
    return {r.top - by, r.left - by, r.bottom + by, r.right + by};
}

// A sunken edge: dark above and to the left, white below and to the right.
void drawEdge(const qd::Rect& r) {
    qd::PenNormal();
    qd::RGBForeColor(kEdgeDark);
    qd::MoveTo(r.left, r.bottom - 1);
    qd::LineTo(r.left, r.top);
    qd::LineTo(r.right - 1, r.top);
    qd::RGBForeColor(kWhite);
    qd::LineTo(r.right - 1, r.bottom - 1);
    qd::LineTo(r.left, r.bottom - 1);
    qd::RGBForeColor(kBlack);
}

void point(int32_t h, int32_t v, const qd::RGBColor& c) {
    qd::RGBForeColor(c);
    qd::MoveTo(h, v);
    qd::LineTo(h, v);
}

void switchField(AnswerBox* box, TEHandle to) {
    if (!to || to == box->current) return;
    TEDeactivate(box->current);
    box->current = to;
    TEActivate(to);
}

}  // namespace

bool pointIn(qd::Point p, const qd::Rect& r) {
    return p.h >= r.left && p.h < r.right && p.v >= r.top && p.v < r.bottom;
}

void drawBoxButton(const qd::Rect& r, const std::string& title, bool pressed, bool isDefault) {
    qd::PenNormal();
    qd::RGBForeColor(kBlack);
    qd::RGBBackColor(kWhite);
    qd::EraseRoundRect(r, kButtonCorner, kButtonCorner);
    qd::FrameRoundRect(r, kButtonCorner, kButtonCorner);
    useFont(kBoxTextSize, 0);
    qd::TextMode(qd::srcOr);
    qd::FontInfo fi;
    qd::GetFontInfo(&fi);
    const int32_t baseline = r.top + (r.height() - fi.ascent - fi.descent) / 2 + fi.ascent;
    drawCentred(title, r.left, r.width(), baseline);
    if (pressed) qd::InvertRoundRect(r, kButtonCorner, kButtonCorner);
    if (isDefault) {
        qd::PenSize(kDefaultOutline, kDefaultOutline);
        const int32_t corner = kButtonCorner + 2 * kDefaultGap;
        qd::FrameRoundRect(outset(r, kDefaultGap), corner, corner);
        qd::PenNormal();
    }
}

// ---- The progress gauge ------------------------------------------------------------

int32_t gaugeFillRight(int32_t done, int32_t total) {
    if (done <= 0 || total <= 0) return 0;
    const int64_t right = int64_t{kBarFillScale} * done / total + kBarFillOffset;
    return static_cast<int32_t>(std::min<int64_t>(right, kGaugeFullRight));
}

void drawGauge(qd::GrafPort* port, const std::string& title) {
    PortSave save(port);
    qd::PenNormal();
    qd::RGBBackColor(kWhite);
    qd::EraseRect(kGaugeContent);
    qd::RGBForeColor(kBlack);
    useFont(kGaugeTextSize, 0);
    qd::TextMode(qd::srcOr);
    drawCentred(title, kGaugeTextLeft, kGaugeTextWidth, kGaugeTitleBaseline);
    const qd::Rect wide = outset(kGaugeBar, kBarWidening);
    qd::EraseRect(wide);
    qd::FrameRect(wide);
    qd::FrameRect(kGaugeBar);
}

void drawGaugeBar(qd::GrafPort* port, int32_t done, int32_t total) {
    PortSave save(port);
    qd::PenNormal();
    qd::RGBBackColor(kWhite);
    qd::EraseRect(kBarInside);
    const int32_t right = gaugeFillRight(done, total);
    if (right <= kBarLeft) return;
    qd::RGBForeColor(kBarDark);
    qd::PaintRect({kDarkTop, kBarLeft, kDarkBottom, right});
    qd::RGBForeColor(kBarGrey);
    qd::PaintRect({kGreyTop, kBarLeft, kGreyBottom, right});
}

void drawGaugeText(qd::GrafPort* port, const char* text, int32_t n) {
    if (!text) return;
    PortSave save(port);
    const size_t len = strnlen(text, static_cast<size_t>(std::clamp(n, 0, kGaugeTextMost)));
    useFont(kGaugeTextSize, 0);
    qd::RGBForeColor(kWhite);
    qd::RGBBackColor(kBlack);
    qd::TextMode(qd::srcCopy);
    drawCentred(std::string(text, len), kGaugeTextLeft, kGaugeTextWidth, kGaugeTextBaseline);
    qd::TextMode(qd::srcOr);
}

// ---- The message box -----------------------------------------------------------------

void DrawDiagonals(const qd::Rect& rect, int32_t phase) {
    const qd::ClipState clip = qd::GetClipState();
    qd::RGBForeColor(kBlack);
    qd::PaintRect(rect);
    qd::Rect r = rect;
    r.bottom -= 1;
    // The stripes run on past the strip's ends; only what falls inside shows.
    qd::ClipRect(r);
    qd::PenSize(1, kStripePen);
    const int32_t s = r.width() - 3;
    if (s > 0) {
        for (int32_t y = kStripeStart[phase ? 1 : 0]; y < r.height(); y += s) {
            point(r.left + 1, r.top + y, kStripeYellow);
            point(r.left + 2, r.top + y + 1, kStripeOrange);
            for (int32_t i = 2; i <= s; ++i) point(r.left + i + 1, r.top + y + i, kStripeGold);
        }
    }
    qd::PenNormal();
    qd::SetClipState(clip);
    qd::RGBForeColor(kBlack);
}

void DrawDias(int32_t phase) {
    DrawDiagonals(kLeftStrip, phase);
    DrawDiagonals(kRightStrip, phase);
}

void DrawDefaultButton(const qd::Rect&) {}

namespace {

qd::Rect taller(qd::Rect r, int32_t by) {
    r.bottom += by;
    return r;
}

// The text as the box holds it: a Pascal string's length at most.
std::string boxText(const std::string& text) {
    return text.substr(0, std::min<size_t>(text.size(), kPascalMost));
}

}  // namespace

qd::Rect messageButton(int32_t growth) {
    qd::Rect r = kMessageButton;
    r.top += growth;
    r.bottom += growth;
    return r;
}

int32_t messageGrowth(qd::GrafPort* port, const std::string& text) {
    PortSave save(port);
    const std::string kept = boxText(text);
    cTextShape shape;
    cTextShapeInit(&shape, kept.c_str(), kLineHeightFromFont, kMessageText, kBoxFont, kBoxTextSize,
                   0, 0, shapeLeft, shapeTop);
    return std::max(0, cTextShapeGetActualTextDepth(shape) - kMessageText.height());
}

void messUpdate(qd::GrafPort* port, int32_t n) {
    messUpdateText(port, listString(kMessageList, n));
}

void messUpdateText(qd::GrafPort* port, const std::string& text) {
    // A long text makes the box taller rather than losing its last lines.
    const int32_t growth = messageGrowth(port, text);
    PortSave save(port);
    qd::SetFractEnable(true);
    setGrey();
    qd::EraseRect(taller(kMessageContent, growth));
    DrawDiagonals(taller(kLeftStrip, growth), 1);
    DrawDiagonals(taller(kRightStrip, growth), 1);
    const std::string kept = boxText(text);
    unsigned char pascal[256];
    pascal[0] = static_cast<unsigned char>(kept.size());
    std::memcpy(pascal + 1, kept.data(), pascal[0]);
    qd::RGBForeColor(kBlack);
    BuildTextItem(pascal, kLineHeightFromFont, taller(kMessageText, growth), kBoxFont, kBoxTextSize,
                  0, 0, shapeLeft, shapeTop);
    const qd::Rect button = messageButton(growth);
    drawBoxButton(button, listString(kTitleList, kOkIndex), false, false);
    DrawDefaultButton(button);
}

bool messHandleEvent(const BoxEvent& event, int32_t growth) {
    if (event.what == boxKeyDown || event.what == boxAutoKey) return true;
    return event.what == boxMouseDown && pointIn(event.where, messageButton(growth));
}

// ---- The two-button question box -------------------------------------------------------

void drawAskerBox(qd::GrafPort* port, const std::string& question, const std::string& first,
                  const std::string& second, int32_t safeChoice) {
    PortSave save(port);
    qd::RGBBackColor(kWhite);
    qd::EraseRect(kAskerContent);
    qd::RGBForeColor(kBlack);
    useFont(kBoxTextSize, qd::bold);
    qd::TextMode(qd::srcOr);
    drawAt(question, kAskerQuestionCentre - widthOf(question) / 2, kAskerQuestionBaseline);
    drawBoxButton(kAskerFirst, first, false, safeChoice == 0);
    drawBoxButton(kAskerSecond, second, false, safeChoice != 0);
}

void drawAskerBox(qd::GrafPort* port, int32_t list, int32_t question, int32_t first, int32_t second,
                  int32_t safeChoice) {
    drawAskerBox(port, listString(list, question), listString(list, first),
                 listString(list, second), safeChoice);
}

int32_t askerHandleEvent(const BoxEvent& event, int32_t safeChoice) {
    if (event.what == boxMouseDown) {
        if (pointIn(event.where, kAskerFirst)) return 0;
        if (pointIn(event.where, kAskerSecond)) return 1;
        return kNoAnswer;
    }
    if (event.what == boxKeyDown || event.what == boxAutoKey) {
        const unsigned char key = static_cast<unsigned char>(event.message & 0xFF);
        if (key == kReturn || key == kEnter) return safeChoice == 0 ? 0 : 1;
    }
    return kNoAnswer;
}

// ---- The question box with an answer field ---------------------------------------------

void AnswerBoxOpen(AnswerBox* box, qd::GrafPort* port, const std::string& prompt,
                   const std::string& proposed, const std::string& label, const std::string& suffix,
                   bool askForRepeat) {
    if (!box) return;
    *box = AnswerBox{};
    box->port = port;
    box->prompt = prompt;
    box->label = label;
    box->suffix = suffix;
    box->repeat = askForRepeat && suffix == kRepeatSuffix;
    PortSave save(port);
    qd::RGBBackColor(kWhite);
    unsigned char name[16];
    name[0] = static_cast<unsigned char>(std::strlen(kBoxFont));
    std::memcpy(name + 1, kBoxFont, name[0]);
    int16_t font = 0;
    qd::GetFNum(name, &font);

    box->answer = TEStyleNew(kAnswerField, kAnswerField);
    box->answer->maxLength = kAnswerMost;
    TESetStyle(font, kBoxTextSize, qd::bold, box->answer);
    TESetAlignment(teCenter, box->answer);
    const size_t n = std::min<size_t>(proposed.size(), kAnswerMost);
    TESetText(proposed.data(), static_cast<int32_t>(n), box->answer);
    TESetSelect(0, kAnswerMost, box->answer);
    if (box->repeat) {
        box->count = TEStyleNew(kCountField, kCountField);
        box->count->maxLength = kCountDigitsMost;
        TESetStyle(font, kBoxTextSize, qd::bold, box->count);
        TESetAlignment(teCenter, box->count);
        TESetText("1", 1, box->count);
    }
    box->current = box->answer;
    TEActivate(box->answer);
}

void LibRedraw(AnswerBox* box) {
    if (!box) return;
    {
        PortSave save(box->port);
        qd::PenNormal();
        setGrey();
        qd::EraseRect(kAnswerContent);
        qd::RGBForeColor(kBlack);
        useFont(kBoxTextSize, qd::bold);
        qd::TextMode(qd::srcOr);
        drawAt(box->label, kLabelAt.h, kLabelAt.v);
        drawEdge(outset(kAnswerField, kEdgeGap));
        qd::RGBForeColor(kBlack);
        if (box->repeat) {
            drawAt(box->suffix, kRepeatSuffixAt.h, kRepeatSuffixAt.v);
            drawEdge(outset(kCountField, kEdgeGap));
        } else {
            drawAt(box->suffix, kSuffixAt.h, kSuffixAt.v);
        }
        qd::RGBForeColor(kBlack);
        useFont(kBoxTextSize, qd::bold);
        drawCentred(box->prompt, 0, kAnswerContent.width(), kPromptBaseline);
        drawBoxButton(kAnswerLeftButton, listString(kTitleList, kCancelIndex), box->pressed == 1,
                      false);
        drawBoxButton(kAnswerRightButton, listString(kTitleList, kOkIndex), box->pressed == 2,
                      true);
    }
    // The fields erase on the port's background, white.
    PortSave save(box->port);
    qd::RGBBackColor(kWhite);
    qd::RGBForeColor(kBlack);
    TEUpdate(kAnswerContent, box->answer);
    TEUpdate(kAnswerContent, box->count);
}

int32_t doMouseAnswer(AnswerBox* box, const BoxEvent& event) {
    if (!box || event.what != boxMouseDown) return 0;
    const int32_t button = pointIn(event.where, kAnswerLeftButton)    ? 1
                           : pointIn(event.where, kAnswerRightButton) ? 2
                                                                      : 0;
    if (button) {
        box->pressed = button;
        PortSave save(box->port);
        drawBoxButton(button == 1 ? kAnswerLeftButton : kAnswerRightButton,
                      listString(kTitleList, button == 1 ? kCancelIndex : kOkIndex), true,
                      button == 2);
        return 1;
    }
    TEHandle field = pointIn(event.where, kAnswerField)                ? box->answer
                     : box->count && pointIn(event.where, kCountField) ? box->count
                                                                       : nullptr;
    if (field) {
        PortSave save(box->port);
        qd::RGBBackColor(kWhite);
        switchField(box, field);
        TEClick(event.where, (event.modifiers & kShiftKey) != 0, field);
    }
    return 0;
}

int32_t doAnswerKey(AnswerBox* box, const BoxEvent& event) {
    if (!box || (event.what != boxKeyDown && event.what != boxAutoKey) || !box->current) return 0;
    const unsigned char key = static_cast<unsigned char>(event.message & 0xFF);
    if (key == kReturn || key == kEnter) {
        box->pressed = 2;
        return 1;
    }
    PortSave save(box->port);
    qd::RGBBackColor(kWhite);
    if (key == kTab) {
        if (box->count) switchField(box, box->current == box->answer ? box->count : box->answer);
        return 0;
    }
    const bool editing = key == kBackspace || (key >= kFirstArrow && key <= kLastArrow);
    if (box->current == box->count && !editing && (key < '0' || key > '9')) return 0;
    TEKey(key, box->current);
    return 0;
}

void AnswerIdle(AnswerBox* box) {
    if (!box || !box->current) return;
    PortSave save(box->port);
    qd::RGBBackColor(kWhite);
    TEIdle(box->current);
}

int32_t readRepeatCount(const std::string& digits) {
    int64_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') break;
        value = std::min<int64_t>(value * 10 + (c - '0'), INT32_MAX);
    }
    return static_cast<int32_t>(std::max<int64_t>(value, 1));
}

bool AnswerBoxClose(AnswerBox* box, char* text, int textSize, int32_t* count) {
    if (!box) return false;
    if (box->repeat && box->count && count) *count = readRepeatCount(box->count->text);
    const bool answered = box->pressed == 2;
    if (text && textSize > 0) {
        const std::string& typed = box->answer ? box->answer->text : std::string();
        const size_t n = answered ? std::min({typed.size(), static_cast<size_t>(kAnswerMost),
                                              static_cast<size_t>(textSize - 1)})
                                  : 0;
        std::memcpy(text, typed.data(), n);
        text[n] = '\0';
    }
    TEDispose(box->answer);
    TEDispose(box->count);
    box->answer = box->count = box->current = nullptr;
    return answered;
}

}  // namespace platform
