#include "app/question.h"

void LibAnswerS(const char*, char* text, int textSize) {
    if (textSize > 0) text[0] = 0;
}
