// The spot inks a page paints, for the header comments that tell separation
// programs which plates to make.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct SpotInk {
    std::string name;
    int32_t c = 0, m = 0, y = 0, k = 0;  // the process equivalent, in percent
};

struct LabelItem;

// Whether the item has a spot colour and paints in it: barcodes and the
// outlines of shapes do, text and pictures never.
bool itemPaintsSpot(const LabelItem& it);

// The distinct inks the label's items paint, in item order, each with the
// process equivalent of its first item; with no items, the current symbol's.
std::vector<SpotInk> pageSpotInks();

// "%%DocumentCustomColors:" naming every ink (continued on "%%+" lines) and one
// "%%CMYKCustomColor:" line per ink. Nothing for no inks.
void writeSpotInkComments(const std::vector<SpotInk>& inks);
