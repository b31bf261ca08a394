// The data-entry fields: a text with a selection, laid out in lines and drawn in
// a port. A field made as a plain TERec has no port: it edits its text and
// selection only (the command line, the panels headless). A field made by
// TEStyleNew draws itself into the port that was current, in its own font, size,
// face and alignment, wrapped at its destination rectangle's width and clipped
// to its view rectangle. Either kind may lie outside its window.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/quickdraw/quickdraw.h"

namespace platform {

// Alignments of a field's lines.
enum TEJust : int16_t { teFlushDefault = 0, teCenter = 1, teFlushRight = -1 };

struct TERec {
    std::string text;  // Mac OS Roman bytes
    int16_t selStart = 0;
    int16_t selEnd = 0;
    bool active = false;
    int32_t maxLength = 32000;  // never more than 32767, the reach of a selection

    // Layout and drawing; a field without a port is never drawn.
    qd::GrafPort* port = nullptr;
    qd::Rect destRect;  // where the text is laid out (moves when the field scrolls)
    qd::Rect viewRect;  // what of it shows
    int16_t font = 0;   // font number (0 the system font)
    int16_t size = 12;
    int16_t face = 0;
    int16_t just = teFlushDefault;
    bool autoView = false;  // keep the selection in view after each change
    // Offsets where each line begins, then the text's length. Kept by TECalText.
    std::vector<int32_t> lineStarts{0, 0};
    int16_t lineHeight = 0;
    int16_t fontAscent = 0;
    // The caret blinks while the field is active and nothing is selected.
    bool caretShown = false;
    uint32_t caretTicks = 0;  // when it last blinked
    uint32_t clickTicks = 0;  // when the last click came, and where
    int32_t clickOffset = -1;
    // What the port shows of the field, so that an edit redraws only the lines it changed.
    struct Shown {
        bool valid = false;
        std::string text;
        std::vector<int32_t> lineStarts;
        qd::Rect destRect;
        int16_t selStart = 0, selEnd = 0;
    } shown;
    // Advances of the bytes in the field's style, measured when first needed.
    // The table exists once a byte is measured: the command line, which resets
    // every field for each record and measures none, copies no tables.
    struct ByteWidths {
        struct Table {
            std::array<int16_t, 256> width{};
            std::array<bool, 256> known{};
        };
        std::unique_ptr<Table> table;
        ByteWidths() = default;
        ByteWidths(const ByteWidths& o) { *this = o; }
        ByteWidths& operator=(const ByteWidths& o) {
            if (this == &o) return *this;
            if (!o.table)
                table.reset();
            else if (table)
                *table = *o.table;
            else
                table = std::make_unique<Table>(*o.table);
            return *this;
        }
        ByteWidths(ByteWidths&&) noexcept = default;
        ByteWidths& operator=(ByteWidths&&) noexcept = default;
        void forget() { table.reset(); }
    } widths;
};
using TEHandle = TERec*;

// Types key: 8 (backspace) deletes the selection or the byte before it; 28/29 move
// the caret left/right (collapsing a selection to its start/end); 30/31 move it a
// line up/down, staying put on the first/last line; every other byte replaces the
// selection. A key that would make the text longer than maxLength changes nothing.
void TEKey(unsigned char key, TEHandle te);
void TEGetSelect(TEHandle te, int16_t* selStart, int16_t* selEnd);
// Clamped to the text and put in order.
void TESetSelect(int32_t selStart, int32_t selEnd, TEHandle te);
void TESelectAll(TEHandle te);
// Replaces the text and puts the caret at its end. A text longer than maxLength is
// refused (false) and the field keeps its text.
bool TESetText(const void* text, int32_t length, TEHandle te);
// Inserts before the selection; refused (false) when the text would outgrow maxLength.
bool TEInsert(const void* text, int32_t length, TEHandle te);
void TEActivate(TEHandle te);
void TEDeactivate(TEHandle te);
// Copies at most max bytes of the field's text into dest and ends it with a NUL
// (dest holds max + 1 bytes).
void GetWindowText(TEHandle te, char* dest, int32_t max);
// Sets the field to a NUL-terminated text and redraws it; false (the field kept)
// when the text is longer than the field takes.
bool SetWindowText(TEHandle te, const char* text);

// ---- Drawn fields ---------------------------------------------------------------

// A field drawing into the current port (none: a field that is never drawn).
TEHandle TEStyleNew(const qd::Rect& destRect, const qd::Rect& viewRect);
void TEDispose(TEHandle te);
// The style of the whole field; size 0 is 12.
void TESetStyle(int16_t font, int16_t size, int16_t face, TEHandle te);
void TESetAlignment(int16_t just, TEHandle te);
// Lays the text out again (every editing call does it).
void TECalText(TEHandle te);
int32_t TENumLines(TEHandle te);
// Height of lines startLine to endLine (from 1), within the text's lines.
int32_t TEGetHeight(int32_t endLine, int32_t startLine, TEHandle te);
// The offset nearest a point of the port, and the point (line top, caret h) of an offset.
int32_t TEGetOffset(qd::Point pt, TEHandle te);
qd::Point TEGetPoint(int32_t offset, TEHandle te);
// A click at a point of the port: the caret goes there; with extend the selection
// grows to it; a second click at the same place within a double-click time
// selects the word.
void TEClick(qd::Point pt, bool extend, TEHandle te);
// Blinks the caret of an active field about twice a second.
void TEIdle(TEHandle te);
// Draws the part of the field within rect.
void TEUpdate(const qd::Rect& rect, TEHandle te);
// Moves the text by dh, dv (positive: down and right) and redraws.
void TEScroll(int32_t dh, int32_t dv, TEHandle te);
void TEAutoView(bool on, TEHandle te);
// Scrolls so that the selection's start shows.
void TESelView(TEHandle te);

// The fields' own clipboard, and its exchange with the desktop's.
void TECut(TEHandle te);
void TECopy(TEHandle te);
// Replaces the selection with the fields' clipboard; false (nothing changes)
// when the text would outgrow maxLength.
bool TEPaste(TEHandle te);
void TEDelete(TEHandle te);
void TEFromScrap();
void TEToScrap();
const std::string& TEScrapText();

// The clock the caret and double clicks read, in ticks (60 a second). Tests set
// their own; null puts back the steady clock.
using TETickSource = uint32_t (*)();
void TESetTickSource(TETickSource source);
constexpr uint32_t kCaretTicks = 30;
constexpr uint32_t kDoubleClickTicks = 30;

}  // namespace platform
