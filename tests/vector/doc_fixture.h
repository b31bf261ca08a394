// Shared helpers of the vector-output tests: a fresh world, a label to write,
// documents written to memory.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "labels/labelDoc.h"

namespace vectortest {

constexpr int kDialects[] = {1, 88, 93, 95, 25, 2, 1115};

// Fresh settings, label document and vector state.
void resetAll();
// A single label whose item 0 is a barcode item of the given size (points).
LabelItem* singleItem(int width, int height);
// resetAll, dialect ill and singleItem(width, height).
LabelItem* freshItem(int ill, int width, int height);
// Appends an item of `kind` with the rectangle (top, left, bottom, right).
LabelItem* addItem(int kind, int top, int left, int bottom, int right);

// A document of dialect ill: a 200 x 100 point Code 128 item of "ABC123" with
// Helvetica below, its page code written by page().
std::string simpleDocument(int ill, int purePost, const std::function<void()>& page = {});
// Dialect ill, a barcode item of the given size (points) and a print sheet of
// across x down labels of 100 x 50 points that has no sheet size.
void unsizedSheet(int ill, int width, int height, int across, int down);

// A 2 x 8 print sheet of 300 x 520 points: labels of 100 x 50 points, 10 points
// apart, margins 20 (left) and 30 (top); the label layout is open.
void sheetOfSixteen();

// One label position of a full sheet as written.
struct Label {
    double x = 0, y = 0;
    std::string text;  // the first text run written at the position
    std::string body;  // everything written at the position
};
// The labels of a sheet in the order written: each position's translation and
// the first text run inside it.
std::vector<Label> labels(const std::string& doc, int ill);
// The positions of sheetOfSixteen, column 1 rows 1-8, then column 2.
void expectSixteenPositions(const std::vector<Label>& at, int ill);

// The bytes of one document written to memory: EpsStart, page(), the page
// trailer, EpsEnd.
std::string writeDocument(const std::function<void()>& page = {});
// A whole document through EPSout.
std::string writeEPSout(int* result = nullptr);

// The "%%" comments of the header, in order.
std::vector<std::string> headerComments(const std::string& doc);
bool writeFile(const std::string& path, const std::string& bytes);
// Wraps a PostScript document in probes that raise an error in Ghostscript when
// the document leaves operands or dictionaries on their stacks.
std::string withStackProbes(const std::string& doc);
// Dialect 2 is a font: shows its glyph "six" on a page so that it is drawn.
std::string showType3Glyph(const std::string& doc);

}  // namespace vectortest
