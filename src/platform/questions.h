// The questions a run asks a person, the progress gauge of long runs and the
// message box. The desktop shows them in windows (see SetQuestionWindows);
// headless (command line, tests) the answers come from a script, the gauge's
// state is kept for inspection and messages go to standard error.
#pragma once

#include <cstdint>
#include <deque>
#include <string>

namespace platform {

// The two-button question box: the prompt and button texts are items of string
// list `list`. 0 for the first button, 1 for the second; Return (and Enter) give
// returnAnswer, the button that cannot lose work. Headless the next scripted
// answer, else 1.
inline constexpr int32_t kAskerFirstButton = 0, kAskerSecondButton = 1;
int32_t AskerBox(int32_t list, int32_t prompt, int32_t first, int32_t second,
                 int32_t returnAnswer = kAskerSecondButton);

// A modal question with one edit field; the answer replaces text, which is empty
// when the user cancels. Headless the next scripted answer, else a cancel.
void LibAnswerS(const char* prompt, char* text, int textSize);
// The same with a label left of the field and a text right of it; askCount adds
// the repeat count field, read into *count. false when the user cancelled.
bool LibAnswerS(const char* prompt, char* text, int textSize, const char* label, const char* suffix,
                bool askCount, int32_t* count);

// Progress of a long run. The window is closed by KillGauge.
void ShowGauge(const char* title);
void SetGauge(int32_t done, int32_t total);
// At most 20 characters of text are shown over the bar.
void SetGaugeText(const char* text, int32_t n);
void KillGauge();

// What a headless person answers and what the gauge showed.
struct TextAnswer {
    bool cancel = false;
    std::string text;
    int32_t count = 1;  // the repeat count, when asked
};
struct QuestionScript {
    std::deque<int32_t> askerAnswers;    // AskerBox answers, in turn
    int32_t asked = 0;                   // AskerBox calls
    std::deque<TextAnswer> textAnswers;  // LibAnswerS answers, in turn
    int32_t textAsked = 0;               // LibAnswerS calls
};
struct GaugeRecord {
    bool open = false;
    std::string title;
    int32_t done = 0, total = 0;
    int32_t updates = 0;  // SetGauge calls
    std::string text;     // the last caption, at most 20 characters
    int32_t shown = 0;    // ShowGauge calls
};
// The desktop's windows for the questions, the gauge and the message box. With
// none set (the default) everything is answered headless. The record and the
// counts above are kept either way.
struct QuestionWindows {
    int32_t (*asker)(int32_t list, int32_t prompt, int32_t first, int32_t second,
                     int32_t returnAnswer) = nullptr;
    // text holds the proposed answer on entry; false when cancelled.
    bool (*answer)(const char* prompt, char* text, int textSize, const char* label,
                   const char* suffix, bool askCount, int32_t* count) = nullptr;
    void (*showGauge)(const char* title) = nullptr;
    void (*setGauge)(int32_t done, int32_t total) = nullptr;
    void (*gaugeText)(const char* text, int32_t n) = nullptr;
    void (*killGauge)() = nullptr;
    void (*message)(const std::string& text) = nullptr;  // Mac OS Roman; waits for OK
};
void SetQuestionWindows(const QuestionWindows& windows);
// Shows a message in the desktop's modal box and answers true once it is
// closed; false when there is no desktop (the caller writes it elsewhere).
bool ShowMessageBox(const std::string& text);

QuestionScript& questionScript();
const GaugeRecord& gaugeRecord();
// Forgets the script and the gauge; the desktop's windows stay.
void resetQuestions();

}  // namespace platform
