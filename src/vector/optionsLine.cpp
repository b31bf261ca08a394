#include "vector/optionsLine.h"

#include <cstring>
#include <iterator>
#include <string>
#include <string_view>

#include "platform/numbers.h"
#include "symbology/scriptValues.h"
#include "symbology/state.h"
#include "symbology/typeNames.h"
#include "vector/Epsout.h"
#include "vector/sink.h"

namespace {

void appendQuoted(std::string& out, const char* key, std::string_view value, bool first = false) {
    if (!first) out += ", ";
    out += key;
    out += ":\"";
    out += value;
    out += '"';
}

// "%f" without the cost of printf: the line is written for every document.
std::string_view sixDecimals(double v, std::string& spill, char (&text)[400]) {
    const int n = platform::formatFixed(text, sizeof text, v, 6);
    if (n > 0) return {text, static_cast<size_t>(n)};
    spill = platform::formatC("%f", v);
    return spill;
}

void appendInt(std::string& out, int32_t v) {
    char text[16];
    const int n = platform::formatInt(text, sizeof text, v);
    if (n > 0) out.append(text, static_cast<size_t>(n));
}

// The line is a comment: a control byte in a value, a CR above all, would end it.
// A value that a quote inside it would end early (typed as `A", size:"9`) is left
// empty rather than read back as other settings.
void appendPrintable(std::string& out, const char* text, size_t n) {
    if (!readsBackWhole(std::string_view(text, n))) return;
    for (size_t k = 0; k < n; ++k) out += static_cast<unsigned char>(text[k]) < 32 ? '-' : text[k];
}

}  // namespace

void saveAutoFormatData(platform::FileRef refNum) {
    char data[kMainCodeSize];
    // Data with control bytes (a tab, a line end) cannot stand in the line: it is
    // left empty rather than read back as other data.
    if (sanitisedPrintedData(data) || !readsBackWhole(data)) data[0] = 0;
    // Kept between files: a batch writes this line without a heap allocation.
    static std::string line;
    line.assign("%%Options: {");
    // A type no name gives back is left out: opening the file is then refused
    // rather than drawing another symbol.
    const char* typeName = optionsLineTypeName();
    if (typeName) appendQuoted(line, "type", typeName, true);
    std::string spill;
    char number[400];
    appendQuoted(line, "size", sixDecimals(gSym.Siz, spill, number), typeName == nullptr);
    appendQuoted(line, "height", sixDecimals(gSym.Hei, spill, number));
    line += ", bwr:\"";
    appendInt(line, gSym.BWidthRed);
    line += '"';
    appendQuoted(line, "data", data);
    // The add-on, or a 2-D symbol's options text, is part of what the file shows:
    // without it a file opened again would lose it. A file without one keeps the line
    // it always had.
    if (gData.len22 > 0) {
        line += ", options:\"";
        appendPrintable(line, gData.chAddCode2, strnlen(gData.chAddCode2, kAddCodeSize));
        line += '"';
    }
    line += ", colour:\"";
    const int32_t inks[] = {gSym.cyan2, gSym.magenta2, gSym.yellow2, gSym.black2};
    for (size_t k = 0; k < std::size(inks); ++k) {
        if (k > 0) line += ' ';
        appendInt(line, inks[k]);
    }
    line += '"';
    line += ", spotname:\"";
    appendPrintable(line, reinterpret_cast<const char*>(gSym.customCol + 1), gSym.customCol[0]);
    line += '"';
    line += "}\r";
    int32_t count = static_cast<int32_t>(line.size());
    if (platform::FSWrite(refNum, &count, line.data()) != platform::noErr ||
        count != static_cast<int32_t>(line.size()))
        gVec.writeFailed = 1;
}
