#include "vector/optionsLine.h"

#include <string>
#include <string_view>

#include "platform/numbers.h"
#include "symbology/state.h"
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
std::string sixDecimals(double v) {
    char text[400];
    const int n = platform::formatFixed(text, sizeof text, v, 6);
    return n > 0 ? std::string(text, static_cast<size_t>(n)) : platform::formatC("%f", v);
}

}  // namespace

void saveAutoFormatData(platform::FileRef refNum) {
    char data[kMainCodeSize];
    sanitisedPrintedData(data);
    // Kept between files: a batch writes this line without a heap allocation.
    static std::string line;
    line.assign("%%Options: {");
    appendQuoted(line, "type", gSym.TeF, true);
    appendQuoted(line, "size", sixDecimals(gSym.Siz));
    appendQuoted(line, "height", sixDecimals(gSym.Hei));
    appendQuoted(line, "bwr", std::to_string(gSym.BWidthRed));
    appendQuoted(line, "data", data);
    appendQuoted(line, "colour",
                 std::to_string(gSym.cyan2) + ' ' + std::to_string(gSym.magenta2) + ' ' +
                     std::to_string(gSym.yellow2) + ' ' + std::to_string(gSym.black2));
    // The line is a comment: a control byte in the name, a CR above all, would end it.
    std::string spot(reinterpret_cast<const char*>(gSym.customCol + 1), gSym.customCol[0]);
    for (char& c : spot)
        if (static_cast<unsigned char>(c) < 32) c = '-';
    appendQuoted(line, "spotname", spot);
    line += "}\r";
    int32_t count = static_cast<int32_t>(line.size());
    if (platform::FSWrite(refNum, &count, line.data()) != platform::noErr ||
        count != static_cast<int32_t>(line.size()))
        gVec.writeFailed = 1;
}
