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

// Dialect ill, a barcode item of the given size (points) and a print sheet of
// across x down labels of 100 x 50 points that has no sheet size.
void unsizedSheet(int ill, int width, int height, int across, int down);

// The bytes of one document written to memory: EpsStart, page(), the page
// trailer, EpsEnd.
std::string writeDocument(const std::function<void()>& page = {});
// A whole document through EPSout.
std::string writeEPSout(int* result = nullptr);

bool writeFile(const std::string& path, const std::string& bytes);
// Wraps a PostScript document in probes that raise an error in Ghostscript when
// the document leaves operands or dictionaries on their stacks.
std::string withStackProbes(const std::string& doc);
// Dialect 2 is a font: shows its glyph "six" on a page so that it is drawn.
std::string showType3Glyph(const std::string& doc);

}  // namespace vectortest
