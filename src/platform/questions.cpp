#include "platform/questions.h"

#include <algorithm>
#include <cstring>

namespace platform {

namespace {

constexpr int32_t kCancel = 1;
constexpr size_t kGaugeTextMax = 20;

QuestionScript gScript;
GaugeRecord gGauge;

}  // namespace

int32_t AskerBox(int32_t, int32_t, int32_t, int32_t) {
    ++gScript.asked;
    if (gScript.askerAnswers.empty()) return kCancel;
    const int32_t answer = gScript.askerAnswers.front();
    gScript.askerAnswers.pop_front();
    return answer;
}

void LibAnswerS(const char* prompt, char* text, int textSize) {
    int32_t unused = 0;
    LibAnswerS(prompt, text, textSize, "", "", false, &unused);
}

bool LibAnswerS(const char*, char* text, int textSize, const char*, const char*, bool askCount,
                int32_t* count) {
    ++gScript.textAsked;
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
    gGauge = GaugeRecord{true, title, 0, 0, 0, {}, gGauge.shown + 1};
}

void SetGauge(int32_t done, int32_t total) {
    gGauge.done = done;
    gGauge.total = total;
    ++gGauge.updates;
}

void SetGaugeText(const char* text, int32_t n) {
    const size_t len =
        strnlen(text, std::clamp<size_t>(static_cast<size_t>(std::max(n, 0)), 0, kGaugeTextMax));
    gGauge.text.assign(text, len);
}

void KillGauge() { gGauge.open = false; }

QuestionScript& questionScript() { return gScript; }
const GaugeRecord& gaugeRecord() { return gGauge; }

void resetQuestions() {
    gScript = QuestionScript{};
    gGauge = GaugeRecord{};
}

}  // namespace platform
