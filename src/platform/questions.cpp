#include "platform/questions.h"

#include <algorithm>
#include <cstring>

namespace platform {

namespace {

constexpr int32_t kCancel = 1;
constexpr size_t kGaugeTextMax = 20;

QuestionScript gScript;
GaugeRecord gGauge;
QuestionWindows gWindows;

}  // namespace

int32_t AskerBox(int32_t list, int32_t prompt, int32_t first, int32_t second,
                 int32_t returnAnswer) {
    ++gScript.asked;
    if (gWindows.asker) return gWindows.asker(list, prompt, first, second, returnAnswer);
    if (gScript.askerAnswers.empty()) return kCancel;
    const int32_t answer = gScript.askerAnswers.front();
    gScript.askerAnswers.pop_front();
    return answer;
}

void LibAnswerS(const char* prompt, char* text, int textSize) {
    int32_t unused = 0;
    LibAnswerS(prompt, text, textSize, "", "", false, &unused);
}

bool LibAnswerS(const char* prompt, char* text, int textSize, const char* label, const char* suffix,
                bool askCount, int32_t* count) {
    ++gScript.textAsked;
    if (gWindows.answer)
        return gWindows.answer(prompt ? prompt : "", text, textSize, label ? label : "",
                               suffix ? suffix : "", askCount, count);
    if (textSize > 0) text[0] = 0;
    if (gScript.textAnswers.empty()) return false;
    const TextAnswer answer = gScript.textAnswers.front();
    gScript.textAnswers.pop_front();
    if (answer.cancel) return false;
    if (textSize > 0) {
        const size_t n = std::min(answer.text.size(), static_cast<size_t>(textSize - 1));
        std::memcpy(text, answer.text.data(), n);
        text[n] = 0;
    }
    if (askCount && count) *count = answer.count;
    return true;
}

void ShowGauge(const char* title) {
    gGauge = GaugeRecord{true, title ? title : "", 0, 0, 0, {}, gGauge.shown + 1};
    if (gWindows.showGauge) gWindows.showGauge(gGauge.title.c_str());
}

void SetGauge(int32_t done, int32_t total) {
    gGauge.done = done;
    gGauge.total = total;
    ++gGauge.updates;
    if (gWindows.setGauge) gWindows.setGauge(done, total);
}

void SetGaugeText(const char* text, int32_t n) {
    if (!text) return;
    const size_t len =
        strnlen(text, std::clamp<size_t>(static_cast<size_t>(std::max(n, 0)), 0, kGaugeTextMax));
    gGauge.text.assign(text, len);
    if (gWindows.gaugeText) gWindows.gaugeText(gGauge.text.c_str(), static_cast<int32_t>(len));
}

void KillGauge() {
    gGauge.open = false;
    if (gWindows.killGauge) gWindows.killGauge();
}

void SetQuestionWindows(const QuestionWindows& windows) { gWindows = windows; }

bool ShowMessageBox(const std::string& text) {
    if (!gWindows.message) return false;
    gWindows.message(text);
    return true;
}

QuestionScript& questionScript() { return gScript; }
const GaugeRecord& gaugeRecord() { return gGauge; }

void resetQuestions() {
    // Cleared in place: a fresh deque allocates, and this runs before every record.
    gScript.askerAnswers.clear();
    gScript.asked = 0;
    gScript.textAnswers.clear();
    gScript.textAsked = 0;
    gGauge.open = false;
    gGauge.title.clear();
    gGauge.done = gGauge.total = gGauge.updates = gGauge.shown = 0;
    gGauge.text.clear();
}

}  // namespace platform
