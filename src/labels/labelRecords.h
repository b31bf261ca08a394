// The byte layouts of the label document's records as the document file, the
// clipboard and the undo copies hold them: the sheet (60 bytes), the view (20
// bytes) and the item record (2144 bytes, or 2128 in files of the older format).
// Each is encoded field by field in the byte order asked for; handle slots are
// written as 0 and read as stale.
#pragma once

#include <cstddef>
#include <cstdint>

#include "labels/labelDoc.h"
#include "platform/byteorder.h"

constexpr size_t kLabelSheetBytes = 60;
constexpr size_t kLabelDescBytes = 20;

void encodeLabelSheet(const LabelSheet& s, platform::ByteOrder order, uint8_t* out);
LabelSheet decodeLabelSheet(const uint8_t* in, platform::ByteOrder order);

// The unit as stored, checked: a value outside 0..4 (a damaged file) reads as 2,
// millimetres.
void encodeLabelDesc(const LabelDesc& d, platform::ByteOrder order, uint8_t* out);
LabelDesc decodeLabelDesc(const uint8_t* in, platform::ByteOrder order);

// The record size of a document whose sheet has the given shape/version word.
size_t itemRecordSize(uint16_t shapeVersion);

// size is kLabelItemSize or kLabelItemOldSize; false (nothing written or
// changed) for any other size.
bool encodeItemRecord(const LabelItem& it, platform::ByteOrder order, uint8_t* out, size_t size);
// Replaces the record of *it; the data handle, tagged block and the text blocks
// beside it are emptied, for the reader to fill.
bool decodeItemRecord(LabelItem* it, const uint8_t* in, size_t size, platform::ByteOrder order);
