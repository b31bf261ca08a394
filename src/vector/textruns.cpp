#include "vector/textruns.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string_view>

#include "labels/labelDoc.h"
#include "labels/serial.h"
#include "picture/services.h"
#include "picture/textitems.h"
#include "platform/textmetrics.h"
#include "symbology/state.h"
#include "vector/chars.h"
#include "vector/dialect.h"
#include "vector/emit.h"
#include "vector/fontnames.h"
#include "vector/pdf.h"
#include "vector/shapes.h"
#include "vector/sink.h"
#include "vector/slots.h"
#include "vector/textobject.h"

TextRunState gText;

void resetTextRunState() { gText = TextRunState{}; }

const std::vector<std::string>& pdfFontsUsed() { return gText.pdfFonts; }

void closePdfText() {
    if (!gText.pdfTextOpen) return;
    gText.pdfTextOpen = false;
    TEInsert2("ET\r", 3);
}

namespace {

constexpr int64_t kDefaultPdfSize = 1200000;  // 12 points
constexpr unsigned char kFaceBold = 1;
constexpr unsigned char kFaceInverse = 128;
constexpr char kReturn = '\r';
constexpr char kLineFeed = '\n';  // alone it ends a line as a return does, as printing has it
constexpr int32_t kMeasureChunk = 0x7000;  // bytes measured at once: within a 16-bit count

constexpr double kDegree = 3.14159265358979323846 / 180.0;

// The four numbers of the text matrix for the item rotation, each followed by a
// blank. Quarter turns have their exact forms; any other angle is written as
// its cosine and sine, so that a text object is never left without its position.
void rotationMatrix(Emit& e) {
    int32_t a = gVec.trans2 % 360;
    if (a < 0) a += 360;
    switch (a) {
        case 0:
            e.s("1 0 0 1 ");
            return;
        case 90:
            e.s("0 1 -1 0 ");
            return;
        case 180:
            e.s("-1 0 0 -1 ");
            return;
        case 270:
            e.s("0 -1 1 0 ");
            return;
        default:
            break;
    }
    const double cs = std::cos(a * kDegree), sn = std::sin(a * kDegree);
    e.f(cs).c(' ').f(sn).c(' ').f(-sn).c(' ').f(cs).c(' ');
}

void position(Emit& e, double x, double y, bool exact) {
    if (exact)
        e.f(x).c(' ').f(y);
    else
        e.i(static_cast<int64_t>(x)).c(' ').i(static_cast<int64_t>(y));
}

void notePdfFont(const std::string& name) {
    if (std::find(gText.pdfFonts.begin(), gText.pdfFonts.end(), name) == gText.pdfFonts.end())
        gText.pdfFonts.push_back(name);
}

// A PDF name: bytes outside the printable range, '#' and the delimiters as #xx.
void pdfName(Emit& e, const std::string& name) {
    static const char hex[] = "0123456789ABCDEF";
    e.c('/');
    for (unsigned char ch : name) {
        if (ch < 33 || ch > 126 || std::strchr("#()<>[]{}/%", ch) != nullptr) {
            e.c('#').c(hex[ch >> 4]).c(hex[ch & 15]);
        } else {
            e.c(static_cast<char>(ch));
        }
    }
}

// The face word of label item `item`, 0 when there is no such item.
int32_t itemFace(int32_t item) {
    if (item < 0 || item >= kMaxLabelItems || !gLabel.labelParts[static_cast<size_t>(item)])
        return 0;
    return gLabel.labelParts[static_cast<size_t>(item)]->i16(item::teFace);
}

// True when label item `item` is bold: its text is set, and so measured, in the bold font.
bool itemBold(int32_t item) { return item >= 0 && (itemFace(item) & kFaceBold) != 0; }

bool containsBold(const unsigned char* p) {
    static const char bold[] = "-Bold";
    const size_t n = sizeof bold - 1;
    for (size_t k = 1; k + n <= static_cast<size_t>(p[0]) + 1; ++k)
        if (std::memcmp(p + k, bold, n) == 0) return true;
    return false;
}

// Selects the font, size and face of the port for measuring.
void measureFont(const unsigned char* screenFont, int16_t size, bool bold = false) {
    int16_t num = 0;
    platform::GetFNum(screenFont, &num);
    platform::TextFont(num);
    platform::TextSize(size);
    platform::TextFace(bold ? kFaceBold : 0);
    platform::SetFractEnable(true);
}

// The advance of the text in the port's font.
double advance(const char* text, int32_t length) {
    double w = 0;
    for (int32_t off = 0; off < length; off += kMeasureChunk) {
        const int32_t n = std::min(kMeasureChunk, length - off);
        w += platform::TextWidthFract(text + off, 0, static_cast<int16_t>(n));
    }
    return w;
}

int16_t pointSize(double size) {
    const double s = std::clamp(size, 0.0, 32767.0);
    return static_cast<int16_t>(s);
}

// The point size of a text item: under a point it is set at one point, as
// printing sets it (a font scaled to nothing stops a PostScript interpreter).
int32_t textItemPoints() {
    constexpr int32_t kLeastPoints = 1;
    return std::clamp(gSym.customTeSize, kLeastPoints, int32_t{INT16_MAX});
}

int32_t lineStep() { return static_cast<int32_t>(textItemPoints() * 1.2); }

// The width of a line of the current text item, in the face it is set in.
int32_t lineWidth(const char* text, int32_t length, bool bold) {
    measureFont(gSym.fontBelow, pointSize(textItemPoints()), bold);
    return static_cast<int32_t>(advance(text, length));
}

// x of a line of the given width by the justification: -1 right, 1 centre, 0 left.
int32_t justify(const PageRect& r, int32_t width, int32_t justification) {
    if (justification == -1) return r.right - width;
    if (justification == 1) return r.left + (r.right - r.left - width) / 2;
    return r.left;
}

// A turned text item is laid out in its own rectangle, then turned with the
// text matrix about the rectangle's centre, as printing and the layout turn it:
// its lines' starting points turn with it.
struct ItemTurn {
    bool on = false;
    double cx = 0, cy = 0, cs = 1, sn = 0;
};
ItemTurn gItemTurn;

// Turns the current text item about the centre of r while it lives.
struct TurnedItem {
    explicit TurnedItem(const PageRect& r) {
        const int32_t a = gVec.trans2 % 360;
        if (a == 0) return;
        gItemTurn = {true, (r.left + r.right) / 2.0, (r.upper + r.lower) / 2.0,
                     std::cos(a * kDegree), std::sin(a * kDegree)};
    }
    ~TurnedItem() { gItemTurn = {}; }
    TurnedItem(const TurnedItem&) = delete;
    TurnedItem& operator=(const TurnedItem&) = delete;
};

// The rectangle that r covers once turned about its centre: the item's box.
PageRect turnedBox(const PageRect& r) {
    if (!gItemTurn.on) return r;
    const double w = (r.right - r.left) / 2.0, h = (r.upper - r.lower) / 2.0;
    const double hw = std::abs(w * gItemTurn.cs) + std::abs(h * gItemTurn.sn);
    const double hh = std::abs(w * gItemTurn.sn) + std::abs(h * gItemTurn.cs);
    const auto at = [](double v) { return static_cast<int32_t>(std::lround(v)); };
    return {at(gItemTurn.cy + hh), at(gItemTurn.cx - hw), at(gItemTurn.cy - hh),
            at(gItemTurn.cx + hw)};
}

void writeLine(const PageRect& r, int32_t y, const char* text, int32_t length,
               int32_t justification, bool bold) {
    if (length <= 0) return;  // an empty line writes no text run
    const int32_t width = lineWidth(text, length, bold);
    const int32_t x = justify(r, width, justification);
    if (gItemTurn.on) {
        const double dx = x - gItemTurn.cx, dy = y - gItemTurn.cy;
        TextPosition(
            static_cast<int32_t>(std::lround(gItemTurn.cx + gItemTurn.cs * dx - gItemTurn.sn * dy)),
            static_cast<int32_t>(
                std::lround(gItemTurn.cy + gItemTurn.sn * dx + gItemTurn.cs * dy)));
    } else {
        TextPosition(x, y);
    }
    DrawTextEPS(text, 0, length - 1);
}

}  // namespace

namespace {

// The opening of a text object in the EPS dialects (PDF has its own).
void openEpsTextObject(Emit& e, double x, double y, bool exact) {
    if (!dialect::newText()) {
        e.c('[');
        rotationMatrix(e);
        position(e, x, y, exact);
        e.s("]e").s("\r");
        return;
    }
    e.s("0 To\r");
    rotationMatrix(e);
    position(e, x, y, exact);
    e.s(" 0 Tp\r").s("TP\r").s("0 Tr").s("\r");
}

// Characters first..last of text as one run of an EPS dialect.
void epsTextRun(Emit& e, const char* text, int32_t first, int32_t last) {
    const size_t count = static_cast<size_t>(last - first) + 1;
    const auto* run = reinterpret_cast<const unsigned char*>(text + first);
    const bool newText = dialect::newText();
    if (newText) {
        e.s("0 Ts\r100 Tz\r0 Tt\r0 TA\r0 0 5 TC\r100 100 200 TW\r0 0 0 Ti\r0 Ta\r"
            "0 0 2 2 3 Th\r0 Tq\r0 0 Tl\r0 Tc\r0 Tw\r");
    }
    if (gOut.ill == 88) e.i(last - first).c(' ');
    e.str(run, count);
    if (newText)
        e.s("Tx\r").s("(\\r)TX");
    else
        e.s("t");
    e.s("\r").s(newText ? "TO\r" : "T\r");
}

// The printer font name of screenFont, with "-Bold" when label item `item` is
// bold: "-Bold" goes onto the screen name before it is looked up, the road the
// font list of the document takes, so both name the same printer font.
void printerFontName(unsigned char* printer, const unsigned char* screenFont, int32_t item) {
    // The name is copied only when it gets the suffix: this runs once a character.
    Str255 bolder;
    const unsigned char* name = screenFont;
    if (itemBold(item) && !containsBold(screenFont)) {
        pstrCopy(bolder, screenFont);
        cpstrcat2(bolder, "-Bold", 5);
        name = bolder;
    }
    GetLaserFontName(printer, name);
}

// Text set in a font selects the same font again for every character, so the
// bytes of the last selection are kept with what they depend on.
struct FontSelectionText {
    bool valid = false;
    int32_t ill = 0;
    int32_t turn = 0;
    int64_t size = 0, size2 = 0;
    Str255 printer{};
    char text[400];  // the longest selection: a 255-byte name and the matrix of an odd angle
    size_t length = 0;
};
FontSelectionText gLastSelection;

bool sameSelection(const FontSelectionText& t, const unsigned char* printer, int64_t size,
                   int64_t size2) {
    return t.valid && t.ill == gOut.ill && t.turn == gVec.trans2 && t.size == size &&
           t.size2 == size2 && std::memcmp(t.printer, printer, printer[0] + 1u) == 0;
}

// The selection of an EPS dialect.
void writeFontSelection(Emit& e, const unsigned char* printer, int64_t size, int64_t size2) {
    if (dialect::newText()) openEpsTextObject(e, 10, 10, false);
    e.s("/_").s(reinterpret_cast<const char*>(printer + 1), printer[0]).c(' ');
    e.fixed5(size).c(' ');
    if (!dialect::newText())
        e.fixed5(size2).s(" 0 0 z");
    else
        e.s("Tf\r").s("TO");
    e.s("\r");
}

// The font selection of an EPS dialect into e, from the kept bytes when they fit.
void epsFontSelection(Emit& e, const unsigned char* printer, int64_t size, int64_t size2) {
    FontSelectionText& last = gLastSelection;
    if (sameSelection(last, printer, size, size2)) {
        e.s(last.text, last.length);
        return;
    }
    Emit made;  // fresh, and the longest selection is far below its buffer: all of it stays here
    writeFontSelection(made, printer, size, size2);
    const std::string_view bytes = made.pending();
    e.s(bytes.data(), bytes.size());
    last.valid = bytes.size() <= sizeof last.text;
    if (last.valid) {
        last.ill = gOut.ill;
        last.turn = gVec.trans2;
        last.size = size;
        last.size2 = size2;
        std::memcpy(last.printer, printer, printer[0] + 1u);
        std::memcpy(last.text, bytes.data(), bytes.size());
        last.length = bytes.size();
    }
    made.discard();
}

// Plain data, zeroed as a global is: a run touches only the slots it fills.
struct CharacterText {
    unsigned char ch;
    int32_t x, y;
    int32_t ill;
    int32_t turn;
    char text[320];  // the object of one character with the matrix of an odd angle
    size_t length;   // 0: empty
};
// Room for every character at every place of a batch's text lines (a digit can
// stand at each place of a serial number).
constexpr size_t kCharacterTexts = 1024;
CharacterText gCharacterTexts[kCharacterTexts];

}  // namespace

void openTextObject(double x, double y, bool exact) {
    Emit e;
    if (dialect::pdf()) {
        closePdfText();
        if (gText.pdfFont.empty()) {
            gText.pdfFont = kDefaultPdfFont;
            gText.pdfSize = kDefaultPdfSize;
        }
        notePdfFont(gText.pdfFont);
        e.s("BT\r");
        pdfName(e, gText.pdfFont);
        e.c(' ').fixed5(gText.pdfSize).s(" Tf\r");
        rotationMatrix(e);
        position(e, x, y, exact);
        e.s(" Tm\r");
        gText.pdfTextOpen = true;
        return;
    }
    openEpsTextObject(e, x, y, exact);
}

void TextPosition(int32_t x, int32_t y) { openTextObject(x, y, false); }

void DrawTextEPS(const char* text, int32_t first, int32_t last) {
    if (last < first) last = first;
    if (dialect::pdf()) {
        const size_t count = static_cast<size_t>(last - first) + 1;
        const auto* run = reinterpret_cast<const unsigned char*>(text + first);
        if (!gText.pdfTextOpen) openTextObject(0, 0, false);
        pdfNoteText(run, count);
        Emit e;
        e.str(run, count).s(" Tj\rET\r");
        gText.pdfTextOpen = false;
        return;
    }
    Emit e;
    epsTextRun(e, text, first, last);
}

void SetAnyEpsFontP(double size, double size2, const unsigned char* screenFont, int32_t item) {
    Str255 printer;
    printerFontName(printer, screenFont, item);
    if (dialect::pdf()) {
        gText.pdfFont.assign(reinterpret_cast<const char*>(printer + 1), printer[0]);
        gText.pdfSize = static_cast<int64_t>(size);
        notePdfFont(gText.pdfFont);
        return;
    }
    Emit e;
    epsFontSelection(e, printer, static_cast<int64_t>(size), static_cast<int64_t>(size2));
}

void setCharacterInFont(const unsigned char* text, const unsigned char* screenFont, double size,
                        int32_t x, int32_t y) {
    if (dialect::pdf()) {
        SetAnyEpsFontP(size, size, screenFont, -1);
        TextPositionAccurate(x, y);
        DrawTextEPS(reinterpret_cast<const char*>(text), 0, 0);
        return;
    }
    // The three steps in one piece of page code: a character of text costs one
    // write instead of three.
    Str255 printer;
    printerFontName(printer, screenFont, -1);
    Emit e;
    epsFontSelection(e, printer, static_cast<int64_t>(size), static_cast<int64_t>(size));
    // The text object of a character at a place: symbols of a batch set the
    // same characters at the same places over and over.
    const uint64_t key =
        foldKey(uint64_t{static_cast<uint32_t>(x)} << 32 | static_cast<uint32_t>(y), text[0]);
    CharacterText& kept = gCharacterTexts[slotOf(key, kCharacterTexts)];
    if (kept.length != 0 && kept.ch == text[0] && kept.x == x && kept.y == y &&
        kept.ill == gOut.ill && kept.turn == gVec.trans2) {
        e.s(kept.text, kept.length);
        return;
    }
    Emit object;  // fresh: a character's object is far below its buffer
    openEpsTextObject(object, x * 1e-5, y * 1e-5, true);
    epsTextRun(object, reinterpret_cast<const char*>(text), 0, 0);
    const std::string_view bytes = object.pending();
    e.s(bytes.data(), bytes.size());
    object.discard();
    if (bytes.size() > sizeof kept.text) return;
    kept.ch = text[0];
    kept.x = x;
    kept.y = y;
    kept.ill = gOut.ill;
    kept.turn = gVec.trans2;
    std::memcpy(kept.text, bytes.data(), bytes.size());
    kept.length = bytes.size();
}

int32_t MeasureTextInEPS2(const char* text, int32_t length, double size,
                          const unsigned char* screenFont) {
    measureFont(screenFont, pointSize(size));
    return static_cast<int32_t>(advance(text, length));
}

int32_t MeasureTextInEPS(const char* text, int32_t length, double size,
                         const unsigned char* screenFont) {
    constexpr int16_t kMeasureSize = 720;
    measureFont(screenFont, kMeasureSize);
    const int64_t h = static_cast<int64_t>(advance(text, length));
    return static_cast<int32_t>(h * 0.003937007874015748 * size * 1350.0);
}

void epsTextBlock(const PageRect& r, const char* text, int32_t justification, bool bold) {
    const int32_t W = r.right - r.left;
    if (W < 5) return;
    const int32_t step = lineStep();
    const int32_t n = static_cast<int32_t>(std::strlen(text));
    auto measure = [&](int32_t from, int32_t to) {
        return lineWidth(text + from, to - from, bold);
    };
    int32_t y = r.upper - step;
    int32_t pos = 0;
    // The first line is always written; later ones while their baseline stays
    // on or above the lower edge (the layout shows such a line in the box).
    do {
        // The line feed of a CR LF pair.
        if (pos > 0 && text[pos] == kLineFeed && text[pos - 1] == kReturn) ++pos;
        int32_t lineEnd = pos, next = n;
        bool taken = false;  // a word is on the line already
        for (int32_t word = pos;;) {
            int32_t end = word;
            while (end < n && text[end] != ' ' && text[end] != kReturn && text[end] != kLineFeed)
                ++end;
            if (measure(pos, end) >= W) {
                if (taken) {  // the line ends before this word
                    next = word;
                } else {  // a first word too wide alone is cut; one character at least
                    lineEnd = end;
                    while (lineEnd > pos + 1 && measure(pos, lineEnd) >= W) --lineEnd;
                    next = lineEnd;
                }
                break;
            }
            lineEnd = end;
            taken = true;
            if (end >= n) break;
            if (text[end] == kReturn || text[end] == kLineFeed) {
                next = end + 1;
                break;
            }
            word = end + 1;
        }
        writeLine(r, y, text + pos, lineEnd - pos, justification, bold);
        pos = next;
        y -= step;
    } while (pos < n && y >= r.lower);
}

void setTextItemSize() {
    // A text item's size is its point size alone, as the layout and printing
    // draw it and as its lines are measured: the magnification stored with it
    // is that of the symbol current when it was made.
    constexpr double kFullSize = 100;
    const double kept = gSym.Siz;
    gSym.Siz = kFullSize;
    const int32_t points = textItemPoints();
    TextSizeGC(static_cast<int16_t>(points), points);
    gSym.Siz = kept;
}

void EpsTextItem(int32_t item, const PageRect& r) {
    const bool inverse = (gSym.TEface & kFaceInverse) != 0;
    // Inverse text is light on its box whether or not the item is transparent,
    // as printing paints it: without the box it would not show.
    const bool box = (inverse || !gSym.transpar_ent) && !dialect::type3();
    const int32_t first[4] = {gSym.cyan2, gSym.magenta2, gSym.yellow2, gSym.black2};
    const int32_t second[4] = {gSym.cyan22, gSym.magenta22, gSym.yellow22, gSym.black22};
    const int32_t* back = inverse ? first : second;
    const int32_t* ink = inverse ? second : first;
    const TurnedItem turn(r);
    if (box) {
        const PageRect b = turnedBox(r);
        doBackColour(kColourFill, back[0], back[1], back[2], back[3]);
        FillPostBox(b.left, b.upper, b.right, b.lower);
    }
    doBackColour(kColourFill, ink[0], ink[1], ink[2], ink[3]);

    setTextItemSize();
    SetAnyEpsFontP(gVec.gCtexsize * 1000000, gVec.gCtexsize * 1000000, gSym.fontBelow, item);

    // A serial value as the label shows it; an import item's text is its data,
    // built from the record by its template (the serial field holds the
    // template); else the variable text of a run when it has more than one
    // character; else the item's text block.
    const bool imported = gLabel.proMode == kProModeImport && !gLabel.serPos.empty();
    const std::string var = imported ? std::string(gData.chMainCode) : gLabel.serPos;
    const std::string serial =
        !imported && serialValueBare(item) ? shownSerialText(var) : std::string();
    std::string fixed;  // a fixed text with its escapes expanded, as printing draws it
    const char* text;
    int32_t length;
    if (!serial.empty()) {
        text = serial.c_str();
        length = static_cast<int32_t>(serial.size());
    } else if (imported || var.size() > 1) {
        // Its data ends at the first VT, where the prefix and suffix follow.
        text = var.c_str();
        length = static_cast<int32_t>(std::strcspn(text, "\v"));
        if (gData.len1 > 0 && gData.len1 < length) length = gData.len1;
    } else {
        text = gLabel.hasExternalH ? gLabel.externalH.c_str() : "";
        length = static_cast<int32_t>(std::strlen(text));
        if (gLabel.proMode == kProModePlain) {
            fixed = SearchReplace(text, static_cast<size_t>(length));
            text = fixed.c_str();
            length = static_cast<int32_t>(fixed.size());
        }
    }
    if (length == 0) return;
    const bool bold = itemBold(item);
    const int32_t width = lineWidth(text, length, bold);
    if (width > r.right - r.left || std::memchr(text, kReturn, static_cast<size_t>(length)) ||
        std::memchr(text, kLineFeed, static_cast<size_t>(length))) {
        const std::string whole(text, static_cast<size_t>(length));
        epsTextBlock(r, whole.c_str(), gSym.TEjust, bold);
        return;
    }
    writeLine(r, r.upper - lineStep(), text, length, gSym.TEjust, bold);
}
