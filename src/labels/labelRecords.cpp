#include "labels/labelRecords.h"

#include <cstring>

using platform::ByteOrder;
using platform::get16;
using platform::get32;
using platform::kNativeOrder;
using platform::put16;
using platform::put32;

namespace {

constexpr uint16_t kMeasTypeMax = 4;
constexpr uint16_t kMeasTypeFallback = 2;  // millimetres
constexpr size_t kItemLen1 = item::len1, kItemLen2 = item::len2;

}  // namespace

void encodeLabelSheet(const LabelSheet& s, ByteOrder o, uint8_t* out) {
    std::memset(out, 0, kLabelSheetBytes);
    put32(out + 0, s.leftMargin, o);
    put32(out + 4, s.topMargin, o);
    put32(out + 8, s.across, o);
    put32(out + 12, s.down, o);
    put32(out + 16, s.spaceAcross, o);
    put32(out + 20, s.spaceDown, o);
    put32(out + 24, s.labelWidth, o);
    put32(out + 28, s.labelHeight, o);
    put16(out + 32, s.shapeVersion, o);
    put16(out + 34, s.reserved1, o);
    put32(out + 36, s.backRed, o);
    put32(out + 40, s.backGreen, o);
    put32(out + 44, s.backBlue, o);
    put16(out + 48, static_cast<uint16_t>(s.lastItem), o);
    put16(out + 50, s.reserved2, o);
    put32(out + 52, s.sheetWidth, o);
    put32(out + 56, s.sheetHeight, o);
}

LabelSheet decodeLabelSheet(const uint8_t* in, ByteOrder o) {
    LabelSheet s;
    s.leftMargin = get32(in + 0, o);
    s.topMargin = get32(in + 4, o);
    s.across = get32(in + 8, o);
    s.down = get32(in + 12, o);
    s.spaceAcross = get32(in + 16, o);
    s.spaceDown = get32(in + 20, o);
    s.labelWidth = get32(in + 24, o);
    s.labelHeight = get32(in + 28, o);
    s.shapeVersion = get16(in + 32, o);
    s.reserved1 = get16(in + 34, o);
    s.backRed = get32(in + 36, o);
    s.backGreen = get32(in + 40, o);
    s.backBlue = get32(in + 44, o);
    s.lastItem = static_cast<int16_t>(get16(in + 48, o));
    s.reserved2 = get16(in + 50, o);
    s.sheetWidth = get32(in + 52, o);
    s.sheetHeight = get32(in + 56, o);
    return s;
}

void encodeLabelDesc(const LabelDesc& d, ByteOrder o, uint8_t* out) {
    put16(out + 0, static_cast<uint16_t>(d.zoom), o);
    put16(out + 2, d.reserved1, o);
    put32(out + 4, d.hOffset, o);
    put32(out + 8, d.vOffset, o);
    put16(out + 12, d.measType, o);
    put16(out + 14, d.reserved2, o);
    put16(out + 16, d.reserved3, o);
    put16(out + 18, d.reserved4, o);
}

LabelDesc decodeLabelDesc(const uint8_t* in, ByteOrder o) {
    LabelDesc d;
    d.zoom = static_cast<int16_t>(get16(in + 0, o));
    d.reserved1 = get16(in + 2, o);
    d.hOffset = get32(in + 4, o);
    d.vOffset = get32(in + 8, o);
    d.measType = get16(in + 12, o);
    if (d.measType > kMeasTypeMax) d.measType = kMeasTypeFallback;
    d.reserved2 = get16(in + 14, o);
    d.reserved3 = get16(in + 16, o);
    d.reserved4 = get16(in + 18, o);
    return d;
}

size_t itemRecordSize(uint16_t shapeVersion) {
    return (shapeVersion & kExtendedFormat) ? kLabelItemSize : kLabelItemOldSize;
}

namespace {

// Converts a record between two byte orders word by word: the 16-bit words up to
// the texts, except the two 32-bit lengths; the texts are bytes; the handle
// slots become 0.
void convertRecord(const uint8_t* in, ByteOrder from, uint8_t* out, ByteOrder to, size_t size) {
    std::memset(out, 0, size);
    for (size_t off = 0; off < item::firstText;) {
        if (off == kItemLen1 || off == kItemLen2) {
            put32(out + off, get32(in + off, from), to);
            off += 4;
        } else {
            put16(out + off, get16(in + off, from), to);
            off += 2;
        }
    }
    std::memcpy(out + item::firstText, in + item::firstText, item::dataHandle - item::firstText);
}

}  // namespace

bool encodeItemRecord(const LabelItem& it, ByteOrder order, uint8_t* out, size_t size) {
    if (size != kLabelItemSize && size != kLabelItemOldSize) return false;
    convertRecord(it.rec.data(), kNativeOrder, out, order, size);
    return true;
}

bool decodeItemRecord(LabelItem* it, const uint8_t* in, size_t size, ByteOrder order) {
    if (size != kLabelItemSize && size != kLabelItemOldSize) return false;
    uint8_t rec[kLabelItemSize];
    std::memset(rec, 0, sizeof rec);
    std::memcpy(rec, in, size);
    convertRecord(rec, order, it->rec.data(), kNativeOrder, kLabelItemSize);
    it->clearBeside();
    return true;
}
