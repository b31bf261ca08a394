// Symbols written whole through the page writer, rendered by Ghostscript and
// read back by the outside readers; pixel probes on the render.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "support/reader.h"

namespace painttest {

struct SymbolSpec {
    int code = 0;
    int variation = 0;
    std::string data;
    std::string addOn;
    double siz = 0;  // 0: the code type's default
    double hei = 0;
    int bwr = 0;  // bar-width reduction, micrometres
};

// A symbol of tests/data/vector/symbols.txt and what the outside reader reads.
struct Readable {
    std::string name;
    SymbolSpec spec;
    std::string format;  // zxing's name of the symbology
    std::string want;
    bool module = false;  // a matrix or stacked symbol
};
std::vector<Readable> readableSymbols();

// The item rectangle the symbol was written in, points.
struct Placed {
    int width = 0;
    int height = 0;
};

// A fresh world with the code type's defaults, the symbol's data and settings
// (then `settings`, before the symbol is measured), item 0 sized to the symbol;
// the settings stay in gSym for the caller to change before writing.
Placed prepare(const SymbolSpec& s, const std::function<void()>& settings = {});
// The single-symbol document of the prepared item in dialect ill; the current
// settings are stored into the item first, then `alter` may change the item.
std::string write(int ill, const std::function<void()>& alter = {});
std::string writeSymbol(const SymbolSpec& s, int ill, Placed* placed = nullptr,
                        const std::function<void()>& settings = {});

// Renders a document at dpi (EPS cropped to its box, PostScript and PDF whole)
// and pads it with white so that the readers find their quiet zones.
testsupport::Rendered render(const std::string& doc, int ill, int dpi, const std::string& name);

// The grey value at (x, y) points of a page rendered at dpi from the page's
// lower left corner (the render's first row is the page's top).
int probe(const testsupport::Bitmap& b, int dpi, double x, double y);
// The darkest pixel of the square of side 2r points around (x, y).
int darkestAround(const testsupport::Bitmap& b, int dpi, double x, double y, double r);

}  // namespace painttest
