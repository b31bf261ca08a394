// The one road for user-visible failures. Headless (command line, tests) the
// text goes to standard error and the last one is kept for inspection; the
// desktop shows the modal box instead (platform/questions.h).
#pragma once

#include <cstdint>
#include <string>

struct MessageState {
    int32_t inerror = 0;       // 1 once an error of the current symbol was reported
    char gerrorstr[256] = {};  // error text shown by the layout preview
    std::string last;          // the last text shown (headless)
    int32_t shown = 0;         // how many texts were shown since the last reset
    bool quiet = false;        // tests may silence standard error
    std::string typeName;      // the code type as the user named it (Mac OS Roman), if known
    // `last` in UTF-8 as the terminal shows it: a detail (a path) whole where
    // `last` shows '?' for the characters Mac OS Roman lacks.
    std::string lastUtf8;
};
extern MessageState gMsg;

void Message(uint16_t n);                    // message n of list 136
void MessageOld(const unsigned char* pstr);  // a given Pascal text
void MessageText(const char* text);          // MessageOld for a C string
// Message n followed by a detail in parentheses (UTF-8, such as a path and the
// system's reason), cut in its middle when the box would overflow. The box
// shows '?' for a character Mac OS Roman lacks; the terminal shows it as given.
void MessageWith(uint16_t n, std::string detail);
// MessageWith for a document or file that was not read or written: the box
// even while a layout is open, never dropped after an error of a symbol.
void MessageInBox(uint16_t n, std::string detail = {});
void resetMessages();
// The last text shown, in UTF-8 for the terminal (see MessageState::lastUtf8).
std::string lastMessageUtf8();
// An encoder's refusal of the current symbol: the text shown and the symbol
// marked in error. Returns 1, what an encoder returns when it makes nothing.
int32_t refuseSymbol(const char* text);
// A character as a message quotes it: a printable one (Mac OS Roman above ASCII
// too) as itself, a control code as '?'.
char quotedChar(unsigned char c);
// The code type's name for a message: as the user named it when known, else `own`.
const char* typeNameInMessages(const char* own);
