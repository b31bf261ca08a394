// The question boxes, the progress gauge and the message box in desktop
// windows, each question with its own modal loop.
#pragma once

#include <cstdint>
#include <string>

#include "platform/toolbox/windows.h"

namespace toolbox {

inline constexpr qd::Rect kAskerWindow{140, 280, 260, 520};
inline constexpr qd::Rect kAnswerWindow{100, 300, 210, 700};
inline constexpr qd::Rect kGaugeWindow{140, 40, 200, 280};
inline constexpr qd::Rect kMessageWindow{65, 220, 135, 580};
inline constexpr int32_t kAnswerWindowNumber = 5;

// From now on platform/questions.h asks in these windows.
void UseDesktopQuestions();
// Back to the headless answers.
void UseHeadlessQuestions();

// The boxes themselves (what UseDesktopQuestions installs).
// Return answers returnAnswer, whose button wears the outline.
int32_t AskerWindow(int32_t list, int32_t prompt, int32_t first, int32_t second,
                    int32_t returnAnswer = 1);
bool AnswerWindow(const char* prompt, char* text, int textSize, const char* label,
                  const char* suffix, bool askCount, int32_t* count);
void GaugeShow(const char* title);
void GaugeSet(int32_t done, int32_t total);
void GaugeText(const char* text, int32_t n);
void GaugeKill();
// The gauge's window while it is open (tests read its pixels).
WindowPtr GaugeWindow();
// Shows the text in the message box until Return, another key or its button.
void MessageWindow(const std::string& text);

// Called with each box's window once it is drawn and before its loop waits
// (tests look at the pixels there); null for none.
using BoxShownHook = void (*)(WindowPtr window);
void SetBoxShownHook(BoxShownHook hook);

}  // namespace toolbox
