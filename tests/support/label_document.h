// Label documents built in memory for a test and saved where it runs them.
#pragma once

#include <cstdint>
#include <string>

#include "labels/labelDoc.h"

namespace testsupport {

// Starts a new, empty document (messages kept quiet) of labels of width x
// height (tenths of a point), across x down on a sheet.
void startLabelDocument(uint32_t width, uint32_t height, uint32_t across, uint32_t down);

// Adds an item of `kind` standing in (top, left, bottom, right) points.
LabelItem& addItemOfKind(uint16_t kind, int16_t top, int16_t left, int16_t bottom, int16_t right);

// Adds a barcode item in (10, 20, 90, 160) points: an EAN-13 numbered from
// `first` (twelve digits) upward by one a label.
void addSerialEan13Item(long long first);

// A text item's text, kept in its data handle with the two closing NULs.
void setItemText(LabelItem& item, const std::string& text);

// Saves the document to `path` and starts the world afresh; gives back the path.
std::string saveLabelDocument(const std::string& path);

}  // namespace testsupport
