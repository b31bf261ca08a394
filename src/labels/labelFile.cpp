#include "labels/labelFile.h"

#include <charconv>
#include <cstring>
#include <new>
#include <string_view>

#include "labels/channels.h"
#include "labels/labelRecords.h"
#include "labels/units.h"
#include "platform/byteorder.h"
#include "symbology/messages.h"

DocumentFileState gDocFile;

namespace {

using platform::ByteOrder;
using platform::kNativeOrder;

constexpr uint16_t kMsgDocumentDamaged = 1400;
constexpr uint16_t kMsgDocumentUnopened = 1401;
constexpr uint16_t kMsgDocumentUnknown = 1402;
constexpr uint16_t kMsgDocumentNotSaved = 1403;
constexpr uint16_t kMsgDocumentTooManyItems = 1415;
constexpr uint16_t kMsgDocumentNoRoomForData = 1416;

constexpr uint16_t kOldestVersionMost = 255;
constexpr uint16_t kVersionStep = 256;
constexpr uint16_t kVersionHighestKnown = 3;  // high byte of the version word
constexpr uint32_t kLengthScaleOldest = 10;   // points to tenths of a point
constexpr size_t kForeignHeaderBytes = 52;    // a file of the other order lacks the sheet size
constexpr uint32_t kViewOffset = 32;
// Enough for the title and the options line of the longest data, each a line.
constexpr size_t kEpsHeadBytes = 16384;
constexpr size_t kEpsSearchFrom = 11;
constexpr const char* kOptionsComment = "%%Options:";
constexpr const char* kUntitled = "Untitled";

constexpr ByteOrder kForeignOrder =
    kNativeOrder == ByteOrder::little ? ByteOrder::big : ByteOrder::little;

void putBig32(std::string* out, uint32_t v) {
    uint8_t b[4];
    platform::put32(b, v, ByteOrder::big);
    out->append(reinterpret_cast<const char*>(b), 4);
}

// A block that ends in its two NULs is stored without them.
std::string withoutClosingNuls(const std::string& block) {
    if (block.size() > 2 && block[block.size() - 1] == 0 && block[block.size() - 2] == 0)
        return block.substr(0, block.size() - 2);
    return block;
}

void putBlock(std::string* out, const std::string& block) {
    const std::string b = withoutClosingNuls(block);
    putBig32(out, static_cast<uint32_t>(b.size()));
    *out += b;
}

uint16_t pictureMarker(const LabelItem& it) { return it.u16(item::hei); }

// The bytes of the file, read with every length checked against what is left.
struct Reader {
    const uint8_t* p;
    size_t size;
    size_t at = 0;
    size_t left() const { return size - at; }
    bool take(size_t n, const uint8_t** out) {
        if (n > left()) return false;
        *out = p + at;
        at += n;
        return true;
    }
    bool u32(ByteOrder o, uint32_t* v) {
        const uint8_t* b = nullptr;
        if (!take(4, &b)) return false;
        *v = platform::get32(b, o);
        return true;
    }
    bool bytes(size_t n, std::string* out) {
        const uint8_t* b = nullptr;
        if (!take(n, &b)) return false;
        out->assign(reinterpret_cast<const char*>(b), n);
        return true;
    }
};

bool plausibleVersion(uint16_t version) { return (version >> 8) <= kVersionHighestKnown; }

// Every word of the sheet's first eight (margins, counts, gaps and sizes) is
// below 2^24 in the order it was written in: lengths stop at 4294967 tenths
// and the across and down words at 3354 * 1280 + 1279. Read the other way
// round, a word's low byte becomes its high byte.
constexpr size_t kSheetWordCount = 8;
constexpr uint32_t kSheetWordLimit = 1u << 24;

bool sheetWordFits(const uint8_t* header, size_t at, ByteOrder order) {
    return platform::get32(header + at, order) < kSheetWordLimit;
}

size_t fittingSheetWords(const uint8_t* header, ByteOrder order) {
    size_t n = 0;
    for (size_t i = 0; i < kSheetWordCount; ++i) n += sheetWordFits(header, 4 * i, order);
    return n;
}

// An across word under 65536 read natively is taken as native whatever the
// version says, as it always was.
constexpr uint32_t kNativeAcrossAlways = 1u << 16;

bool headerFits(const uint8_t* header, ByteOrder order) {
    const uint32_t across = platform::get32(header + 8, order);
    if (order == kNativeOrder && across < kNativeAcrossAlways) return true;
    return across < kSheetWordLimit && plausibleVersion(platform::get16(header + 32, order));
}

// Which order the header is in: the one whose across word and version fit.
// Where both orders fit, the across word is a multiple of 256 either way and
// the other sheet words decide; a tie is native only for an across word under
// 65536, so that every file read before reads the same.
bool headerOrder(const uint8_t* header, size_t size, ByteOrder* order) {
    if (size < kForeignHeaderBytes) return false;
    bool native = headerFits(header, kNativeOrder);
    bool foreign = headerFits(header, kForeignOrder);
    if (native && foreign) {
        const size_t nativeWords = fittingSheetWords(header, kNativeOrder);
        const size_t foreignWords = fittingSheetWords(header, kForeignOrder);
        if (nativeWords == foreignWords)
            native = platform::get32(header + 8, kNativeOrder) < kNativeAcrossAlways;
        else
            native = nativeWords > foreignWords;
        foreign = !native;
    }
    if (!native && !foreign) return false;
    *order = native ? kNativeOrder : kForeignOrder;
    return true;
}

void scaleOldest(LabelSheet* s) {
    for (uint32_t LabelSheet::*f :
         {&LabelSheet::leftMargin, &LabelSheet::topMargin, &LabelSheet::spaceAcross,
          &LabelSheet::spaceDown, &LabelSheet::labelWidth, &LabelSheet::labelHeight})
        s->*f *= kLengthScaleOldest;
    s->shapeVersion = static_cast<uint16_t>(s->shapeVersion + kVersionStep);
}

bool readItemData(Reader* r, ByteOrder order, LabelItem* it) {
    const uint16_t kind = it->u16(item::kind);
    const bool picture = isPictureKind(kind);
    if (kind != kKindText && !picture) return true;
    const uint16_t marker = pictureMarker(*it);
    if (picture && marker == kLinkedImage) return true;
    uint32_t n = 0;
    if (kind == kKindText || marker == kPostScriptPicture) {
        if (!r->u32(ByteOrder::big, &n)) return false;
        if (static_cast<int32_t>(n) <= 0) return true;  // no data
        if (!r->bytes(n, &it->dataHandle)) return false;
        it->dataHandle.append(2, '\0');
    } else {
        if (!r->u32(order, &n) || !r->bytes(n, &it->dataHandle)) return false;
    }
    it->hasDataHandle = true;
    return true;
}

bool readExtendedBlock(Reader* r, std::string* block) {
    uint32_t n = 0;
    if (!r->u32(ByteOrder::big, &n) || n > r->left()) return false;
    // What lies past the cap is passed over.
    if (!r->bytes(n < kExtendedBlockCap ? n : kExtendedBlockCap, block)) return false;
    r->at += n - block->size();
    block->resize(rtrimzero(block->data(), block->size()));
    return true;
}

// A barcode's data or add-on longer than its record field rides whole in a
// spare extended block. The marks keep any other block from being taken for
// it, and a reader that does not know them carries the block as it is.
constexpr std::string_view kLongDataOpen = "<<Long>>\r";
constexpr std::string_view kLongDataClose = "<<\\Long>>\r";
constexpr char kLongDataTag = 'D', kLongAddOnTag = 'A';

bool hasLongData(const LabelItem& it) { return !it.longDataText.empty() || !it.longAddOn.empty(); }

void putLongText(std::string* out, char tag, const std::string& text) {
    *out += tag;
    *out += std::to_string(text.size());
    *out += '\r';
    *out += text;
}

std::string longDataBlock(const LabelItem& it) {
    std::string b(kLongDataOpen);
    putLongText(&b, kLongDataTag, it.longDataText);
    putLongText(&b, kLongAddOnTag, it.longAddOn);
    b += kLongDataClose;
    return b;
}

bool takeLongText(std::string_view* in, char tag, std::string* text) {
    if (in->empty() || in->front() != tag) return false;
    in->remove_prefix(1);
    size_t n = 0;
    const auto [end, ec] = std::from_chars(in->data(), in->data() + in->size(), n);
    const size_t digits = static_cast<size_t>(end - in->data());
    if (ec != std::errc{} || digits == 0 || digits >= in->size() || in->at(digits) != '\r')
        return false;
    in->remove_prefix(digits + 1);
    if (n > in->size()) return false;
    text->assign(in->substr(0, n));
    in->remove_prefix(n);
    return true;
}

// True when block is a long-data block; the item then takes its texts.
bool readLongDataBlock(const std::string& block, LabelItem* it) {
    std::string_view in(block);
    if (!in.starts_with(kLongDataOpen)) return false;
    in.remove_prefix(kLongDataOpen.size());
    std::string data, addOn;
    if (!takeLongText(&in, kLongDataTag, &data) || !takeLongText(&in, kLongAddOnTag, &addOn) ||
        in != kLongDataClose)
        return false;
    it->longDataText = std::move(data);
    it->longAddOn = std::move(addOn);
    return true;
}

// The item's three spare blocks as written: its long data, when it has any,
// in the first empty one. false when none is free.
bool spareBlocks(const LabelItem& it, std::string (&blocks)[3]) {
    bool placed = !hasLongData(it);
    for (size_t i = 0; i < std::size(blocks); ++i) {
        blocks[i] = it.extraBlocks[i];
        if (!placed && withoutClosingNuls(blocks[i]).empty()) {
            blocks[i] = longDataBlock(it);
            placed = true;
        }
    }
    return placed;
}

void showMessage(uint16_t n, uint16_t* message) {
    if (message) *message = n;
}

}  // namespace

std::string documentBytes() {
    std::string out;
    uint8_t buf[kLabelItemSize];
    LabelSheet sheet = labelBack;
    sheet.shapeVersion |= kExtendedFormat;
    encodeLabelSheet(sheet, kNativeOrder, buf);
    out.append(reinterpret_cast<const char*>(buf), kLabelSheetBytes);
    LabelDesc desc = labelDesc;
    desc.measType = static_cast<uint16_t>(gUnits.gMeasType);
    encodeLabelDesc(desc, kNativeOrder, buf);
    out.append(reinterpret_cast<const char*>(buf), kLabelDescBytes);
    out.append(kReservedBlockBytes, '\0');

    std::vector<const LabelItem*> items;
    for (int32_t i = 0; i <= labelBack.lastItem && i < kMaxLabelItems; ++i)
        if (const LabelItem* it = gLabel.labelParts[static_cast<size_t>(i)].get())
            items.push_back(it);
    for (const LabelItem* it : items) {
        encodeItemRecord(*it, kNativeOrder, buf, kLabelItemSize);
        out.append(reinterpret_cast<const char*>(buf), kLabelItemSize);
    }
    for (const LabelItem* it : items) {
        const uint16_t kind = it->u16(item::kind);
        const uint16_t marker = pictureMarker(*it);
        const std::string& data = it->hasDataHandle ? it->dataHandle : std::string();
        if (kind == kKindText || (isPictureKind(kind) && marker == kPostScriptPicture)) {
            putBlock(&out, data);
        } else if (isPictureKind(kind) && marker != kLinkedImage) {
            platform::put32(buf, static_cast<uint32_t>(data.size()), kNativeOrder);
            out.append(reinterpret_cast<const char*>(buf), 4);
            out += data;
        }
    }
    // The path as a length-prefixed string; the count takes in its length byte.
    const std::string path = gDocFile.impoFile.substr(0, kImportPathMost);
    if (path.empty()) {
        putBig32(&out, 0);
    } else {
        putBig32(&out, static_cast<uint32_t>(path.size() + 1));
        out += static_cast<char>(path.size());
        out += path;
    }
    for (const LabelItem* it : items) {
        putBlock(&out, it->taggedBlock);
        std::string blocks[3];
        spareBlocks(*it, blocks);
        for (const std::string& b : blocks) putBlock(&out, b);
    }
    // Items are written for slots 0 to the last index; a document whose list has
    // a gap (which no operation leaves) is written as the items it holds.
    if (items.size() != static_cast<size_t>(labelBack.lastItem + 1)) {
        sheet.lastItem = static_cast<int16_t>(items.size()) - 1;
        encodeLabelSheet(sheet, kNativeOrder, buf);
        out.replace(0, kLabelSheetBytes, reinterpret_cast<const char*>(buf), kLabelSheetBytes);
    }
    return out;
}

bool parseDocument(const uint8_t* bytes, size_t size, ParsedDocument* out, uint16_t* message) {
    *out = ParsedDocument{};
    if (size < kForeignHeaderBytes) {
        showMessage(size < 12 ? kMsgDocumentUnknown : kMsgDocumentDamaged, message);
        return false;
    }
    ByteOrder order = kNativeOrder;
    if (!headerOrder(bytes, size, &order)) {
        showMessage(kMsgDocumentUnknown, message);
        return false;
    }
    uint8_t header[kLabelSheetBytes] = {};
    const size_t headerBytes = order == kNativeOrder ? kLabelSheetBytes : kForeignHeaderBytes;
    std::memcpy(header, bytes, size < headerBytes ? size : headerBytes);
    out->sheet = decodeLabelSheet(header, order);
    Reader r{bytes, size, headerBytes};

    if (out->sheet.shapeVersion <= kOldestVersionMost) {
        // The oldest format: the header alone, lengths in points.
        scaleOldest(&out->sheet);
        out->sheet.lastItem = -1;
        out->desc = labelDesc;
        out->desc.measType = static_cast<uint16_t>(gUnits.gMeasType);
        return true;
    }
    if (order == kNativeOrder && size < kLabelSheetBytes) {
        showMessage(kMsgDocumentDamaged, message);
        return false;
    }
    const bool extended = (out->sheet.shapeVersion & kExtendedFormat) != 0;
    const uint8_t* p = nullptr;
    if (!r.take(kLabelDescBytes, &p)) {
        showMessage(kMsgDocumentDamaged, message);
        return false;
    }
    out->desc = decodeLabelDesc(p, order);
    out->desc.hOffset = out->desc.vOffset = kViewOffset;
    if (!r.take(kReservedBlockBytes, &p)) {
        showMessage(kMsgDocumentDamaged, message);
        return false;
    }
    const int32_t count = out->sheet.lastItem + 1;
    if (count > kMaxLabelItems) {
        showMessage(kMsgDocumentTooManyItems, message);
        return false;
    }
    const size_t recordSize = extended ? kLabelItemSize : kLabelItemOldSize;
    for (int32_t i = 0; i < count; ++i) {
        auto it = std::unique_ptr<LabelItem>(new (std::nothrow) LabelItem());
        if (!it || !r.take(recordSize, &p) || !decodeItemRecord(it.get(), p, recordSize, order)) {
            showMessage(kMsgDocumentDamaged, message);
            return false;
        }
        out->items.push_back(std::move(it));
    }
    if (count < 0) out->sheet.lastItem = -1;
    for (auto& it : out->items) {
        if (!readItemData(&r, order, it.get())) {
            showMessage(kMsgDocumentDamaged, message);
            return false;
        }
    }
    if (r.left() > 0) {
        uint32_t n = 0;
        std::string path;
        if (!r.u32(ByteOrder::big, &n) || !r.bytes(n, &path)) {
            showMessage(kMsgDocumentDamaged, message);
            return false;
        }
        // A length byte and up to 255 bytes of path; a longer count is passed over.
        if (n >= 1 && n <= kImportPathMost + 1) {
            const size_t len = static_cast<uint8_t>(path[0]);
            out->hasImportPath = true;
            out->impoFile = path.substr(1, len < n - 1 ? len : n - 1);
        }
    } else if (extended && count > 0) {
        showMessage(kMsgDocumentDamaged, message);
        return false;
    }
    if (!extended || (r.left() == 0 && count <= 0)) return true;
    for (auto& it : out->items) {
        bool ok = readExtendedBlock(&r, &it->taggedBlock);
        for (std::string& b : it->extraBlocks) ok = ok && readExtendedBlock(&r, &b);
        if (!ok) {
            showMessage(kMsgDocumentDamaged, message);
            return false;
        }
        // The long data is the item's again; its block is written afresh on saving.
        for (std::string& b : it->extraBlocks)
            if (readLongDataBlock(b, it.get())) b.clear();
    }
    return true;
}

void applyDocument(ParsedDocument&& doc) {
    killLabelItems();
    labelBack = doc.sheet;
    labelBack.lastItem = static_cast<int16_t>(doc.items.size()) - 1;
    labelDesc = doc.desc;
    labelDesc.hOffset = labelDesc.vOffset = kViewOffset;
    gUnits.gMeasType = doc.desc.measType;
    for (size_t i = 0; i < doc.items.size(); ++i) gLabel.labelParts[i] = std::move(doc.items[i]);
    if (doc.hasImportPath) gDocFile.impoFile = doc.impoFile;
}

int32_t saveDocumentTo(const std::string& path) {
    // Data the file cannot hold whole is not saved cut.
    for (int32_t i = 0; i <= labelBack.lastItem && i < kMaxLabelItems; ++i) {
        std::string blocks[3];
        const LabelItem* it = gLabel.labelParts[static_cast<size_t>(i)].get();
        if (it && !spareBlocks(*it, blocks)) {
            MessageInBox(kMsgDocumentNoRoomForData);
            return 1;
        }
    }
    const std::string bytes = documentBytes();
    DEF_OPEN(fourCC("SXLD"), gDocFile.fileType);
    if (writeWholeFile(kDocumentChannel, path.c_str(), bytes.data(),
                       static_cast<int32_t>(bytes.size())) != platform::noErr) {
        MessageInBox(kMsgDocumentNotSaved);
        return 1;
    }
    return 0;
}

std::string documentPath(const std::string& path) {
    return platform::besideDocument(gDocFile.globFilS, path);
}

int32_t loadDocumentFrom(const std::string& path) {
    std::string bytes, why;
    if (path.empty() || !platform::readRegularFile(path, kMostDocumentBytes, &bytes, &why)) {
        MessageInBox(kMsgDocumentUnopened, why);
        return 0;
    }
    ParsedDocument doc;
    uint16_t message = 0;
    if (!parseDocument(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &doc,
                       &message)) {
        MessageInBox(message);
        return 0;
    }
    // A sheet that cannot be laid out is refused before any run starts on it.
    std::string detail;
    if (const uint16_t fault = sheetFault(doc.sheet, &detail); fault != 0) {
        MessageInBox(fault, detail);
        return 0;
    }
    applyDocument(std::move(doc));
    return 1;
}

void saveObjects(int32_t mode) {
    gDocFile.fileType = mode == 2 ? kTemplateType : kDocumentType;
    if (mode == 2) mode = 1;
    if (gDocFile.globFilS.empty() || gDocFile.globFilS == kUntitled) mode = 1;
    // Asking for a name is the dialog's; without one there is nothing to save to.
    if (mode == 1 && (gDocFile.globFilS.empty() || gDocFile.globFilS == kUntitled)) return;
    saveDocumentTo(gDocFile.globFilS);
}

int32_t loadObjects(int32_t) {
    if (gDocFile.globFilS.empty()) return 1;
    return loadDocumentFrom(gDocFile.globFilS);
}

// The options line is the third comment, after the creator and the title; only a
// "%%" that starts a line starts a comment, for the title repeats the data, which
// may hold "%%" itself.
std::string epsOptionsRecord(const std::string& head) {
    const std::string text = head.substr(0, kEpsHeadBytes);
    if (text.size() <= kEpsSearchFrom) return {};
    const auto startsComment = [&text](size_t at) {
        return (text[at - 1] == '\r' || text[at - 1] == '\n') && text.compare(at, 2, "%%") == 0;
    };
    size_t at = kEpsSearchFrom;
    for (int found = 0; at < text.size(); ++at)
        if (startsComment(at) && ++found == 3) break;
    if (at >= text.size() || text.compare(at, std::strlen(kOptionsComment), kOptionsComment) != 0)
        return {};
    const size_t from = at + std::strlen(kOptionsComment) + 1;
    if (from > text.size()) return {};
    const size_t end = text.find_first_of("\r\n", from);
    return text.substr(from, end == std::string::npos ? std::string::npos : end - from);
}

std::string epsOptionsRecordAt(const std::string& posixPath) {
    platform::FileRef ref = 0;
    if (posixPath.empty() ||
        platform::FSOpenRegular(posixPath, kMostDocumentBytes, &ref) != platform::noErr)
        return {};
    std::string head(kEpsHeadBytes, '\0');
    int32_t n = static_cast<int32_t>(kEpsHeadBytes);
    platform::FSRead(ref, &n, head.data());
    platform::FSClose(ref);
    head.resize(static_cast<size_t>(n < 0 ? 0 : n));
    return epsOptionsRecord(head);
}

int32_t GetSettingsFromEps(OptionsRecordReader apply) {
    const std::string record = epsOptionsRecordAt(gDocFile.globFilS);
    if (record.empty()) return 0;
    apply(record.c_str(), 1);
    return 1;
}

int32_t GetSettingsFromEpsAt(const std::string& path, OptionsRecordReader apply) {
    const std::string kept = gDocFile.globFilS;
    gDocFile.globFilS = path;
    const int32_t took = GetSettingsFromEps(apply);
    gDocFile.globFilS = kept;
    return took;
}

void swapbyteslong(uint32_t* p) { *p = __builtin_bswap32(*p); }
void swapbytesshort(uint16_t* p) { *p = __builtin_bswap16(*p); }

void swaplabelitem(int32_t index) {
    if (index < 0 || index >= kMaxLabelItems) return;
    LabelItem* it = gLabel.labelParts[static_cast<size_t>(index)].get();
    if (!it) return;
    uint8_t* r = it->rec.data();
    for (size_t off = 0; off < item::firstText;) {
        const size_t w = (off == item::len1 || off == item::len2) ? 4 : 2;
        for (size_t a = off, b = off + w - 1; a < b; ++a, --b) std::swap(r[a], r[b]);
        off += w;
    }
}

size_t rtrimzero(const char* buffer, size_t n) {
    while (n > 0 && buffer[n - 1] == 0) --n;
    return n;
}

int32_t trim(char* text) {
    size_t n = std::strlen(text);
    int32_t removed = 0;
    while (n > 0 && (text[n - 1] == ' ' || text[n - 1] == '\t')) {
        text[--n] = 0;
        ++removed;
    }
    return removed;
}

std::string nthfield(const std::string& text, char separator, int32_t n) {
    size_t at = 0;
    for (int32_t i = 0; i < n; ++i) {
        at = text.find(separator, at);
        if (at == std::string::npos) return {};
        ++at;
    }
    return text.substr(at);
}

int32_t numfields(const std::string& text, char separator) {
    int32_t n = 1;
    for (char c : text)
        if (c == separator) ++n;
    return n;
}
