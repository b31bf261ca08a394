// The contents of the small modal windows: the progress gauge, the question box
// with its answer (and repeat count) field, the two-button question box and the
// message box. Each draws into a port given to it, in the window's own
// coordinates (0, 0 at the content's top left), and takes the events a window
// hands it, saying what happened. The window itself belongs to the desktop.
#pragma once

#include <cstdint>
#include <string>

#include "platform/quickdraw/quickdraw.h"
#include "platform/textedit.h"

namespace platform {

// What a box is handed: a mouse-down at a point of its content, or a key.
enum BoxEventKind : int16_t { boxMouseDown = 1, boxKeyDown = 3, boxAutoKey = 5 };
struct BoxEvent {
    int16_t what = 0;
    uint32_t message = 0;  // keys: the character in the low byte
    qd::Point where;       // mouse: in the box's content
    uint16_t modifiers = 0;
};
constexpr uint16_t kShiftKey = 0x0200;

// A push button of a box: a rounded frame with its title centred; pressed, it
// shows inverted; the default one gets a heavy outline.
void drawBoxButton(const qd::Rect& r, const std::string& title, bool pressed, bool isDefault);
bool pointIn(qd::Point p, const qd::Rect& r);

// ---- The progress gauge ------------------------------------------------------------

constexpr qd::Rect kGaugeContent{0, 0, 60, 240};
constexpr qd::Rect kGaugeBar{30, 10, 45, 230};
constexpr int32_t kGaugeFullRight = 228;
// Where the filled part of the bar ends for done of total; 0 when nothing is
// filled (nothing done, or no total).
int32_t gaugeFillRight(int32_t done, int32_t total);
// The title and the empty bar.
void drawGauge(qd::GrafPort* port, const std::string& title);
void drawGaugeBar(qd::GrafPort* port, int32_t done, int32_t total);
// At most 20 characters over the bar.
void drawGaugeText(qd::GrafPort* port, const char* text, int32_t n);

// ---- The message box -----------------------------------------------------------------

constexpr qd::Rect kMessageContent{0, 0, 70, 360};
constexpr qd::Rect kMessageButton{46, 257, 63, 323};
constexpr qd::Rect kMessageText{10, 35, 50, 325};
// One stripe strip, its stripes shifted by phase (0 or 1).
void DrawDiagonals(const qd::Rect& r, int32_t phase);
// Both strips of the message box in the current port.
void DrawDias(int32_t phase);
// The message box shows no outline round its default button.
void DrawDefaultButton(const qd::Rect& r);
// How much taller than kMessageContent the box is for a text whose lines need
// more room than kMessageText gives (0 for a short text); its button and the
// text's box move or grow by as much.
int32_t messageGrowth(qd::GrafPort* port, const std::string& text);
qd::Rect messageButton(int32_t growth);
// Draws the box with message n of the program's message list, or with a text,
// at the height the text needs.
void messUpdate(qd::GrafPort* port, int32_t n);
void messUpdateText(qd::GrafPort* port, const std::string& text);
// True when the event closes the box: a key, or a click on its button.
bool messHandleEvent(const BoxEvent& event, int32_t growth = 0);

// ---- The two-button question box -------------------------------------------------------

constexpr qd::Rect kAskerContent{0, 0, 120, 240};
constexpr qd::Rect kAskerFirst{45, 50, 65, 190};
constexpr qd::Rect kAskerSecond{70, 50, 90, 190};
constexpr int32_t kNoAnswer = -1;
// The question and the two buttons; the safe choice (0 the first button, 1 the
// second) carries the default outline.
void drawAskerBox(qd::GrafPort* port, const std::string& question, const std::string& first,
                  const std::string& second, int32_t safeChoice);
// The same with the texts from string list `list`.
void drawAskerBox(qd::GrafPort* port, int32_t list, int32_t question, int32_t first, int32_t second,
                  int32_t safeChoice);
// 0 for a click on the first button, 1 on the second, the safe choice for Return
// or Enter; kNoAnswer for anything else.
int32_t askerHandleEvent(const BoxEvent& event, int32_t safeChoice);

// ---- The question box with an answer field ---------------------------------------------

constexpr qd::Rect kAnswerContent{0, 0, 110, 400};
constexpr qd::Rect kAnswerLeftButton{75, 214, 95, 290};   // cancels
constexpr qd::Rect kAnswerRightButton{75, 310, 95, 386};  // answers
constexpr qd::Rect kAnswerField{50, 114, 65, 286};
constexpr qd::Rect kCountField{75, 90, 90, 120};
constexpr const char* kRepeatSuffix = "How Many";
constexpr int32_t kAnswerMost = 254;  // bytes of an answer, the caller's buffer less its NUL
constexpr int32_t kCountDigitsMost = 9;

struct AnswerBox {
    qd::GrafPort* port = nullptr;
    std::string prompt, label, suffix;
    bool repeat = false;  // the "How Many" question: a count field too
    TEHandle answer = nullptr;
    TEHandle count = nullptr;
    TEHandle current = nullptr;
    int32_t pressed = 0;  // 1 the left button (cancel), 2 the right one
};
// Makes the fields in port: the answer holds the proposed text, all selected;
// the count field, for suffix "How Many" when repeats are asked for, holds 1.
void AnswerBoxOpen(AnswerBox* box, qd::GrafPort* port, const std::string& prompt,
                   const std::string& proposed, const std::string& label, const std::string& suffix,
                   bool askForRepeat);
void LibRedraw(AnswerBox* box);
// A click: on a button it ends the box (result 1, pressed set); in a field it
// places the caret there and makes the field current.
int32_t doMouseAnswer(AnswerBox* box, const BoxEvent& event);
// A key: Return or Enter answers, Tab moves to the other field, anything else is
// typed into the current field (digits only into the count). 1 when it ended the box.
int32_t doAnswerKey(AnswerBox* box, const BoxEvent& event);
// Blinks the current field's caret.
void AnswerIdle(AnswerBox* box);
// The count read in decimal, at least 1.
int32_t readRepeatCount(const std::string& digits);
// Ends the box: the answer into text (textSize bytes with its NUL, empty when
// cancelled), the count into *count for the repeat question; disposes the
// fields. True when answered, false when cancelled: a cancel and an empty
// answer stay apart.
bool AnswerBoxClose(AnswerBox* box, char* text, int textSize, int32_t* count);

}  // namespace platform
