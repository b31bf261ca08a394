// The questions a run asks a person and the progress gauge of long runs. The
// desktop will show them; headless (command line, tests) the answers come from a
// script, and the gauge's state is kept for inspection.
#pragma once

#include <cstdint>
#include <deque>
#include <string>

namespace platform {

// The two-button question box: the prompt and button texts are items of string
// list `list`. 0 for the first button, 1 for the second or Return. Headless the
// next scripted answer, else 1 (the box's default, a cancel).
int32_t AskerBox(int32_t list, int32_t prompt, int32_t first, int32_t second);

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
QuestionScript& questionScript();
const GaugeRecord& gaugeRecord();
void resetQuestions();

}  // namespace platform
