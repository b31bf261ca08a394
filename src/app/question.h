#pragma once

// A modal question with one edit field; the answer replaces text, which is empty
// when the user cancels. Headless there is nobody to answer: it cancels.
void LibAnswerS(const char* prompt, char* text, int textSize);
