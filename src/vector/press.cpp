#include "vector/press.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "labels/channels.h"
#include "labels/labelDoc.h"
#include "labels/printState.h"
#include "labels/production.h"
#include "QRCode/QREncode.h"
#include "labels/rotateRect.h"
#include "labels/serial.h"
#include "labels/units.h"
#include "picture/PICout2.h"
#include "picture/driverdata.h"
#include "picture/services.h"
#include "platform/numbers.h"
#include "platform/tempfiles.h"
#include "symbology/info.h"
#include "symbology/messages.h"
#include "symbology/state.h"
#include "vector/Epsout.h"
#include "vector/page.h"
#include "vector/shapes.h"
#include "vector/sink.h"
#include "vector/textruns.h"
#include "vector/units.h"

PressState gPress;

namespace {

constexpr uint16_t kMsgPressFileFailed = 1408;
constexpr uint16_t kMsgPressTooManyFiles = 1453;
constexpr size_t kLineBytes = 16;
constexpr size_t kJobNameField = 16;
constexpr size_t kCardNameField = 32;
constexpr size_t kRecordNameField = 30;
constexpr size_t kPlateBlankBytes = 40;
constexpr int32_t kPlateTailBytes = 6;
constexpr int32_t kRecordTailBytes = 116;  // after the place of a page record
constexpr int32_t kCardTailBytes = 140;
constexpr int32_t kJobCountTailBytes = 274;
constexpr int32_t kPageCountTailBytes = 178;
constexpr size_t kCardTextField = 32;
constexpr size_t kAllOnesBytes = 16;
constexpr uint32_t kCountModulo = 1280;  // the across and down words carry the gutter above
constexpr uint16_t kPlates[] = {0x0001, 0x0002, 0x0004, 0x0008};
constexpr char kMarker[] = {0x00, 0x04, 0x00, 0x0F};
constexpr char kRecordMarker[] = {0x00, 0x00, 0x00, 0x0F};
constexpr const char* kCardText = "Created with Indigo's V-Card ";
constexpr double kTenthsPerPoint = 10;

// The import records of the sheet's positions, in the positions' order, while
// an export of a label with import items runs: each position takes the next
// record, as a printed sheet does.
std::vector<ImportedRecord> gPositionRecords;

void append(const char* bytes, size_t n) { gPress.file.append(bytes, n); }
void appendText(const std::string& s) { gPress.file += s; }

// A name followed by zero bytes up to the field's width; a longer name is cut.
void nameField(const std::string& name, size_t width) {
    const std::string cut = name.substr(0, width);
    appendText(cut);
    BuildSpacers(static_cast<int32_t>(width - cut.size()));
}

// Tenths of a point in unit `unit`.
double inUnit(double tenths, int32_t unit) {
    const int32_t saved = gUnits.gMeasType;
    gUnits.gMeasType = unit;
    const double v = convertToMeas(tenths);
    gUnits.gMeasType = saved;
    return v;
}
double mm(double tenths) { return inUnit(tenths, kMeasMillimetre); }

uint32_t across() { return labelBack.across % kCountModulo; }
uint32_t down() { return labelBack.down % kCountModulo; }
int32_t positions() { return static_cast<int32_t>(across() * down()); }

bool variableItem(int32_t i) {
    const LabelItem* it =
        i >= 0 && i < kMaxLabelItems ? gLabel.labelParts[size_t(i)].get() : nullptr;
    if (!it) return false;
    const uint16_t kind = it->u16(item::kind);
    return (kind == kKindText || kind == kKindBarcode) && getProMode(i) > 0;
}

std::string pageFileName(const std::string& name, int32_t n) {
    return platform::formatC("%s_F1_%d.pg", name.c_str(), static_cast<int>(n));
}
// The PostScript file of item i at label position p. The page records name the
// same files, so the press finds each item's file whatever its index.
std::string itemFileName(const std::string& name, int32_t p, int32_t i) {
    return platform::formatC("%s_va_%d_%d.ps", name.c_str(), static_cast<int>(p),
                             static_cast<int>(i));
}

// The name of the file holding what does not vary: the label without its
// variable items.
std::string fixedFileName(const std::string& name) { return name + ".ps"; }

// A document's serial item counts on from label to label, as on a printed sheet.
bool serialItem(int32_t i) {
    const LabelItem* it = gLabel.labelParts[size_t(i)].get();
    return it && getProMode(i) == 1 && !it->text(item::serPos).empty();
}

// Counts every serial item of the document over the sheet's positions before
// any file is made: a step that is refused (reported), or a count that passes
// its end value before the last position, would leave the positions after it
// with the end value instead of their own numbers. A printed sheet refuses the
// one and stops after the label at the end value.
bool serialItemsCount() {
    if (gProd.gcite != 0) return true;  // a run counts its item itself (sheetRunCheck)
    const int32_t shownBefore = gMsg.shown;
    const bool endedBefore = gPrint.serialEnded;
    int32_t endedAt = 0;  // the last position with a number of its own
    for (int32_t i = 0; i <= labelBack.lastItem && i < kMaxLabelItems && endedAt == 0; ++i) {
        if (!variableItem(i) || !serialItem(i)) continue;
        const LabelItem kept = *gLabel.labelParts[size_t(i)];
        gPrint.serialEnded = false;
        for (int32_t p = 1; p <= positions() && gMsg.shown == shownBefore; ++p) {
            getItemData(i);
            advanceSerialItem(i, gData.chMainCode);
            if (gPrint.serialEnded && p < positions()) {
                endedAt = p;
                break;
            }
        }
        *gLabel.labelParts[size_t(i)] = kept;
    }
    gPrint.serialEnded = endedBefore;
    if (gMsg.shown == shownBefore && endedAt == 0) return true;
    if (gMsg.shown == shownBefore)
        MessageText(platform::formatC("The serial numbers run out after label %d of the %d "
                                      "labels of the press sheet, and each label takes a number "
                                      "of its own. Raise the serial end value or use a sheet "
                                      "with fewer labels.",
                                      static_cast<int>(endedAt), static_cast<int>(positions()))
                        .c_str());
    gPress.failed = true;
    return false;
}

// Reads the records of the sheet's positions when the label has import items
// (a run fills its item itself); false after a message when the import file
// cannot give every position a record of its own.
bool readPositionRecords() {
    gPositionRecords.clear();
    if (gProd.gcite != 0 || !labelHasImportItem()) return true;
    if (!readDocumentImportRecords(positions(), &gPositionRecords)) {
        gPress.failed = true;
        return false;
    }
    const auto read = static_cast<int32_t>(gPositionRecords.size());
    if (read == positions()) return true;
    MessageText(platform::formatC("The import file holds %d records for the %d labels of the "
                                  "press sheet, and each label takes a record of its own. Add "
                                  "records to the import file or use a sheet with fewer labels.",
                                  static_cast<int>(read), static_cast<int>(positions()))
                    .c_str());
    gPress.failed = true;
    return false;
}

// The press finds every file by the name in its fixed-width field: a name cut
// to fit would name a file that does not exist. Returns the longest job name
// whose every file name fits its field (0 when none does) when `name` is too
// long, else -1.
int32_t longestFittingName(const std::string& name) {
    int32_t lastItem = 0;
    for (int32_t i = 0; i <= labelBack.lastItem && i < kMaxLabelItems; ++i)
        if (variableItem(i)) lastItem = i;
    const int32_t p = positions();
    // What each field adds to the job name, with the largest numbers written.
    const size_t pageTail = pageFileName("", p).size();
    const size_t itemTail = itemFileName("", p, lastItem).size();
    const size_t fixedTail = fixedFileName("").size();
    size_t most = kJobNameField;
    const auto room = [&most](size_t field, size_t tail) {
        most = std::min(most, field >= tail ? field - tail : 0);
    };
    room(kJobNameField, pageTail);  // the page file's own name
    room(kCardNameField, pageTail);
    room(kRecordNameField, fixedTail);
    room(kRecordNameField, itemTail);
    return name.size() > most ? static_cast<int32_t>(most) : -1;
}

std::string inFolder(const std::string& folder, const std::string& file) {
    if (folder.empty()) return file;
    return folder.back() == '/' ? folder + file : folder + "/" + file;
}

// Where the export's files are made: the staging folder while it runs.
std::string gWriteFolder;

std::string inFolder(const std::string& file) { return inFolder(gWriteFolder, file); }

void reportFailure() {
    gPress.failed = true;
    Message(kMsgPressFileFailed);
}

// A number as the export writes it in a file name: digits, no leading zero.
bool plainNumber(std::string_view s) {
    constexpr size_t kMostDigits = 10;
    if (s.empty() || s.size() > kMostDigits || (s.size() > 1 && s[0] == '0')) return false;
    return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// True for a page or item file name of job `name`, whatever its numbers.
bool numberedJobFile(std::string_view file, const std::string& name) {
    constexpr std::string_view kPage = "_F1_", kPageEnd = ".pg", kItem = "_va_", kItemEnd = ".ps";
    if (!file.starts_with(name)) return false;
    file.remove_prefix(name.size());
    if (file.starts_with(kPage) && file.ends_with(kPageEnd))
        return plainNumber(file.substr(kPage.size(), file.size() - kPage.size() - kPageEnd.size()));
    if (!file.starts_with(kItem) || !file.ends_with(kItemEnd)) return false;
    const std::string_view numbers =
        file.substr(kItem.size(), file.size() - kItem.size() - kItemEnd.size());
    const size_t gap = numbers.find('_');
    return gap != std::string_view::npos && plainNumber(numbers.substr(0, gap)) &&
           plainNumber(numbers.substr(gap + 1));
}

// The files of an export are made in a hidden folder inside the job's folder
// and put in their places only when every one of them has been made: a record
// refused at the third position, or a failed write, leaves the folder as it
// was, without new files and with an earlier job of the name untouched.
class StagedJob {
  public:
    StagedJob() = default;
    StagedJob(const StagedJob&) = delete;
    StagedJob& operator=(const StagedJob&) = delete;
    ~StagedJob() {
        discard();
        gWriteFolder.clear();
    }

    // False after a message when the job's folder takes no new file.
    bool open() {
        std::string path = inFolder(gPress.folder, ".strixel-press-XXXXXX");
        if (::mkdtemp(path.data()) == nullptr) {
            reportFailure();
            return false;
        }
        staging_ = gWriteFolder = path;
        return true;
    }

    // Moves every file made into the job's folder, the job file last (it names
    // the others), and removes the page and item files an earlier, larger job
    // of the name left that this one does not replace. A file that cannot be
    // put in place puts back every file replaced before it: the folder keeps
    // the earlier job whole. False after a message.
    bool commit(const std::string& name) {
        std::vector<std::string> made;
        if (!platform::listFolder(staging_, &made)) {
            reportFailure();
            return false;
        }
        std::stable_partition(made.begin(), made.end(),
                              [&name](const std::string& f) { return f != name + ".jb"; });
        // A folder in a file's place would stop the moves half way.
        for (const std::string& f : made)
            if (platform::pathKind(inFolder(gPress.folder, f)) == platform::PathKind::folder) {
                reportFailure();
                return false;
            }
        std::error_code err;
        std::filesystem::create_directory(inFolder(staging_, kKeptFolder), err);
        if (err) {
            refuse(inFolder(staging_, kKeptFolder), err);
            return false;
        }
        std::vector<Placed> placed;
        placed.reserve(made.size());
        for (const std::string& f : made)
            if (!place(f, &placed, err)) {
                refuse(placed.back().target, err);
                putBack(placed);
                return false;
            }
        removeStale(name, std::move(made));
        return true;
    }

  private:
    // Where the files a job replaces are kept until the whole job is in place.
    static constexpr const char* kKeptFolder = ".replaced";

    // A made file on its way into place: its target, where the file it
    // replaces is kept (empty when there was none) and whether it has arrived.
    struct Placed {
        std::string target, kept;
        bool arrived = false;
    };

    // Puts made file f in place (appended to *placed whatever the result):
    // through a symbolic link to the file it leads to, with the old file's
    // permissions, owner and group, the old file kept. False with err set.
    bool place(const std::string& f, std::vector<Placed>* placed, std::error_code& err) {
        Placed& p = placed->emplace_back();
        p.target = platform::FSReplacedFile(inFolder(gPress.folder, f));
        const std::string made = inFolder(staging_, f);
        if (std::filesystem::symlink_status(p.target, err).type() !=
            std::filesystem::file_type::not_found) {
            platform::FSTakeOwnership(made, p.target);
            p.kept = inFolder(inFolder(staging_, kKeptFolder), f);
            std::filesystem::create_hard_link(p.target, p.kept, err);
            // Another user's file may refuse a link (protected hard links): it
            // is moved aside instead, missing until its new version arrives.
            if (err) std::filesystem::rename(p.target, p.kept, err);
            if (err) {
                p.kept.clear();
                return false;
            }
        }
        std::filesystem::rename(made, p.target, err);
        p.arrived = !err;
        return p.arrived;
    }

    // Puts back the files replaced, last first, and removes the new ones that
    // replaced none. A file that cannot be put back keeps the staging folder,
    // which then holds the only copy of it.
    void putBack(const std::vector<Placed>& placed) {
        bool whole = true;
        std::error_code err;
        for (auto p = placed.rbegin(); p != placed.rend(); ++p) {
            // Where the new file did not arrive, a kept link and its target are
            // one file: the rename leaves both.
            if (!p->kept.empty())
                std::filesystem::rename(p->kept, p->target, err);
            else if (p->arrived)
                std::filesystem::remove(p->target, err);
            whole = whole && !err;
        }
        if (!whole) staging_.clear();
    }

    // The failure of a move, naming the file and the system's reason.
    static void refuse(const std::string& path, const std::error_code& err) {
        gPress.failed = true;
        MessageWith(kMsgPressFileFailed, path + ": " + err.message());
    }

    static void removeStale(const std::string& name, std::vector<std::string> made) {
        std::vector<std::string> present;
        if (!platform::listFolder(gPress.folder.empty() ? "." : gPress.folder, &present)) return;
        std::sort(made.begin(), made.end());
        std::error_code err;
        for (const std::string& f : present)
            if (numberedJobFile(f, name) && !std::binary_search(made.begin(), made.end(), f))
                std::filesystem::remove(inFolder(gPress.folder, f), err);
    }

    void discard() {
        if (staging_.empty()) return;
        std::error_code err;
        std::filesystem::remove_all(staging_, err);
        staging_.clear();
    }

    std::string staging_;
};

// Writes gPress.file through channel 101, whole: a rewritten file is never left
// longer than its new contents.
bool writeChannelFile(const std::string& file) {
    const std::string path = inFolder(file);
    DEF_OPEN(fourCC("CMXT"), fourCC("ILYT"));
    const bool ok = writeWholeFile(kSettingsChannel, path.c_str(), gPress.file.data(),
                                   static_cast<int32_t>(gPress.file.size())) == platform::noErr;
    gPress.file.clear();
    if (!ok) reportFailure();
    return ok;
}

void plateRecord(uint16_t plate) {
    const char id[2] = {static_cast<char>(plate >> 8), static_cast<char>(plate & 0xFF)};
    append(id, 2);
    appendText(std::string(kPlateBlankBytes, ' '));
    BuildSpacers(kPlateTailBytes);
}

// The item's rectangle turned by its rotation, in points.
Rect16 turnedRect(int32_t i) {
    getItemRect(i);
    Rect16 r = gLabel.itRect;
    const int32_t keep = gSym.orient;
    gSym.orient = (gLabel.labelParts[size_t(i)]->u16(item::orientPacked) / 2) & 0x3FF;
    RotateRect(&r);
    gSym.orient = keep;
    return r;
}

void placeRecord(double top, double left, double height, double width) {
    append(kRecordMarker, sizeof kRecordMarker);
    BuildExpComponent(top);
    BuildExpComponent(left);
    BuildExpComponent(height);
    BuildExpComponent(width);
    BuildSpacers(kRecordTailBytes);
}

// The place of an item's file on its label: the item's rectangle turned by its
// rotation, cut to the label. A page record holds no place above or left of the
// label, and what lies beyond the label is not printed on it.
Rect16 itemFileRect(int32_t i) {
    Rect16 r = turnedRect(i);
    const auto edge = [](uint32_t tenths) {
        return static_cast<int16_t>(std::min<double>(tenths / kTenthsPerPoint, INT16_MAX));
    };
    r.top = std::max<int16_t>(r.top, 0);
    r.left = std::max<int16_t>(r.left, 0);
    r.bottom = std::max(r.top, std::min(r.bottom, edge(labelBack.labelHeight)));
    r.right = std::max(r.left, std::min(r.right, edge(labelBack.labelWidth)));
    return r;
}

// The item's rectangle in page coordinates of its file, whose box is `frame`:
// the item stands where it stands on the label.
PageRect itemInFrame(const Rect16& frame) {
    const Rect16& it = gLabel.itRect;
    PageRect r;
    r.upper = frame.bottom - it.top;
    r.left = it.left - frame.left;
    r.lower = frame.bottom - it.bottom;
    r.right = it.right - frame.left;
    return r;
}

// Begins the file of one item: the document's box is the place of the file on
// the label, as its page records give it.
void startItemFile(platform::FileRef ref, int32_t i) {
    const Rect16 r = itemFileRect(i);
    getItemData(i);
    const LabelSheet keep = labelBack;
    const double keepHeight = gSym.Hei;
    labelBack.labelWidth = static_cast<uint32_t>((r.right - r.left) * kTenthsPerPoint);
    labelBack.labelHeight = static_cast<uint32_t>((r.bottom - r.top) * kTenthsPerPoint);
    // The document's box reaches up to the bar height of the settings: for a
    // turned symbol or a text item that would pass the place of the file.
    gSym.Hei = std::min(gSym.Hei, (r.bottom - r.top) / kPointsPerMm);
    EpsStart(ref, 0);
    gSym.Hei = keepHeight;
    labelBack = keep;
}

// A signal ends the export between two files.
bool stopped() {
    if (!platform::stopRequested()) return false;
    gPress.failed = true;
    Message(kMsgRunStopped);
    return true;
}

int64_t variableItems() {
    int64_t n = 0;
    for (int32_t i = 0; i <= labelBack.lastItem && i < kMaxLabelItems; ++i) n += variableItem(i);
    return n;
}

// Keeps a file only when all of it was written, and says when it could not be.
bool keepWhole(platform::FileRef ref) {
    if (gVec.writeFailed != 0) {
        platform::FSDiscard(ref);
        reportFailure();
        return false;
    }
    if (platform::FSCommit(ref) != platform::noErr) {
        reportFailure();
        return false;
    }
    return true;
}

bool writeItemFile(const std::string& name, int32_t p, int32_t i) {
    if (stopped()) return false;
    const std::string path = inFolder(itemFileName(name, p, i));
    platform::FileRef ref = 0;
    if (platform::FSCreateReplacement(path, &ref) != platform::noErr) {
        reportFailure();
        return false;
    }
    // Each file is written whole before the next: the writer's state is one document's.
    const std::string keep = gData.chMainCode2;
    startItemFile(ref, i);
    copyBounded(gData.chMainCode2, keep.c_str());
    const int32_t shownBefore = gMsg.shown;
    for (int32_t q = 1; q <= gPress.nPages; ++q) ILYTEpsPageCode(ref, q, i);
    EpsEnd(ref);
    // A symbol its data cannot make has been reported; its file would be blank.
    if (gMsg.shown != shownBefore) {
        platform::FSDiscard(ref);
        gPress.failed = true;
        return false;
    }
    return keepWhole(ref);
}

// The label without its variable items, one label on one page.
bool writeFixedFile(const std::string& name) {
    const std::string path = inFolder(fixedFileName(name));
    platform::FileRef ref = 0;
    if (platform::FSCreateReplacement(path, &ref) != platform::noErr) {
        reportFailure();
        return false;
    }
    // The variable items are set aside while the page writer walks the label.
    std::vector<std::pair<size_t, std::unique_ptr<LabelItem>>> aside;
    for (int32_t i = 0; i <= labelBack.lastItem && i < kMaxLabelItems; ++i)
        if (variableItem(i)) aside.emplace_back(size_t(i), std::move(gLabel.labelParts[size_t(i)]));
    const LabelSheet sheetCopy = labelBack3;
    labelBack3 = LabelSheet{};  // one label, not a sheet of them
    const int32_t shownBefore = gMsg.shown;
    EpsStart(ref, 0);
    EpsPageCode(ref, 1, 0, 0);
    EpsEnd(ref);
    labelBack3 = sheetCopy;
    for (auto& [i, it] : aside) gLabel.labelParts[i] = std::move(it);
    // An item refused (reported) would be missing from every label.
    if (gMsg.shown != shownBefore) {
        platform::FSDiscard(ref);
        gPress.failed = true;
        return false;
    }
    return keepWhole(ref);
}

}  // namespace

std::string pressJobName(const std::string& fileName) {
    std::string name = fileName;
    if (const size_t dot = name.rfind('.'); dot != std::string::npos && dot > 0) name.resize(dot);
    for (char& c : name)
        if (c == ' ') c = '_';
    return name;
}

void BuildSentData(const unsigned char* p) { append(reinterpret_cast<const char*>(p + 1), p[0]); }
void BuildBlankLine(int32_t lines) { BuildSpacers(lines * static_cast<int32_t>(kLineBytes)); }
void BuildSpacers(int32_t n) {
    if (n > 0) gPress.file.append(static_cast<size_t>(n), '\0');
}

std::string expComponent(double value) {
    double v = std::isfinite(value) && value > 0 ? value : 0;
    int e = 0;
    while (v >= 1) {
        v /= 10;
        ++e;
    }
    std::string digits = platform::formatC("%0.8f", v);
    if (digits[0] != '0') {  // rounded up to 1
        ++e;
        digits = platform::formatC("%0.8f", v / 10);
    }
    std::string out = "+";
    out.append(digits, 1);
    out += e == 0 ? "E-" : "E+";
    out += platform::formatC("%02d", e);
    return out;
}

void BuildExpComponent(double value) { appendText(expComponent(value)); }
void BuildNormComponent(int32_t value) { appendText(platform::formatC("+%05d", value)); }
void BuildNorm11Component(int32_t value) { appendText(platform::formatC("+%011d", value)); }

void BuildJobFileHeader(const std::string& name, double size1, double size2) {
    nameField(name, kJobNameField);
    BuildBlankLine(4);
    nameField("JB+00000016384", kLineBytes);
    BuildBlankLine(10);
    append(kMarker, sizeof kMarker);
    BuildExpComponent(size1);
    BuildExpComponent(size2);
    BuildNormComponent(1);
    BuildNormComponent(1);
    BuildSpacers(12);
    BuildNormComponent(positions());
    BuildSpacers(kJobCountTailBytes);
    nameField(kCardText, kCardTextField);
    BuildBlankLine(9);
    for (uint16_t plate : kPlates) {
        plateRecord(plate);
        BuildBlankLine(13);
    }
}

void BuildCardName(const std::string& name, int32_t n) {
    nameField(pageFileName(name, n), kCardNameField);
}

void BuildcardJobSection(const std::string& name, int32_t n, double x, double y) {
    BuildSpacers(2);
    BuildCardName(name, n);
    BuildBlankLine(3);
    BuildExpComponent(x);
    BuildExpComponent(y);
    BuildNormComponent(1);
    BuildSpacers(kCardTailBytes);
}

bool BuildJobFile(const std::string& name) {
    gPress.file.clear();
    BuildJobFileHeader(name, kPressSheetWidth, kPressSheetHeight);
    const LabelSheet& s = labelBack;
    int32_t n = 0;
    // Cards column by column; their places in millimetres, like every other
    // length of the export.
    for (uint32_t c = 0; c < across(); ++c)
        for (uint32_t r = 0; r < down(); ++r)
            BuildcardJobSection(name, ++n,
                                mm(s.leftMargin + (double(s.labelWidth) + s.spaceAcross) * c),
                                mm(s.topMargin + (double(s.labelHeight) + s.spaceDown) * r));
    return writeChannelFile(name + ".jb");
}

void BuildPageFileHeader(const std::string& name, int32_t n, double width, double height) {
    const std::string own = pageFileName(name, n);
    nameField(own, kJobNameField);
    BuildBlankLine(4);
    nameField("PG+00000016384", kLineBytes);
    BuildBlankLine(10);
    append(kMarker, sizeof kMarker);
    BuildExpComponent(height);
    BuildExpComponent(width);
    // A damaged document's label may measure more fine units than the field
    // counts: it is held at the field's end.
    BuildNorm11Component(trunc32(inUnit(labelBack.labelHeight, kMeasFine)));
    BuildNorm11Component(trunc32(inUnit(labelBack.labelWidth, kMeasFine)));
    int32_t records = 1;
    for (int32_t i = 0; i <= labelBack.lastItem && i < kMaxLabelItems; ++i)
        records += variableItem(i);
    BuildNormComponent(records);
    appendText(std::string(kAllOnesBytes, '\xFF'));
    BuildSpacers(kPageCountTailBytes);

    appendText(std::string("3", 2));
    nameField(name + ".ps", kRecordNameField);
    BuildBlankLine(3);
    placeRecord(0, 0, height, width);

    for (int32_t i = 0; i <= labelBack.lastItem && i < kMaxLabelItems; ++i) {
        if (!variableItem(i)) continue;
        const Rect16 r = itemFileRect(i);
        appendText(std::string("4", 2));
        nameField(itemFileName(name, n, i), kRecordNameField);
        BuildBlankLine(3);
        placeRecord(mm(r.top * kTenthsPerPoint), mm(r.left * kTenthsPerPoint),
                    mm((r.bottom - r.top) * kTenthsPerPoint),
                    mm((r.right - r.left) * kTenthsPerPoint));
    }
}

bool BuildPageFile(const std::string& name, int32_t n) {
    if (stopped()) return false;
    gPress.file.clear();
    BuildPageFileHeader(name, n, mm(labelBack.labelWidth), mm(labelBack.labelHeight));
    return writeChannelFile(pageFileName(name, n));
}

void ILYTEpsPageCode(platform::FileRef refNum, int32_t page, int32_t i) {
    gVec.filRef = refNum;
    // The document's start carries page 1's page line and layer.
    if (page > 1) {
        TEInsert2(
            platform::formatC("%%%%Page: %d %d\r", static_cast<int>(page), static_cast<int>(page))
                .c_str());
        TEInsert2(
            "%AI5_BeginLayer\r"
            "1 1 1 1 0 0 0 79 128 255 Lb\r"
            "(Layer 1) Ln\r"
            "1 Ap\r"
            "2540 Ar\r");
    }
    getItemData(i);
    showSerialAffixes(i);
    // Laid out and turned as on the label, so that the press prints it where and
    // as the label has it.
    const Rect16 frame = itemFileRect(i);  // leaves the item's own rectangle in itRect
    // The press shows no more of the file than its box: a symbol grown past it
    // (a longer record than the design's) is refused, not cut.
    const ItemFileBox box(frame);
    writeLabelItem(refNum, i, itemInFrame(frame));
    doTrailer();
}

bool EpsILYT(const std::string& name, int32_t i) {
    const ProductionSettings keep = gProd;
    const std::unique_ptr<LabelItem>& first = gLabel.labelParts[0];
    const LabelItem firstKept = first ? *first : LabelItem{};
    // A document's serial item gives each position its own value.
    const bool counted = gProd.gcite == 0 && serialItem(i);
    // An import item takes each position's record.
    const bool imported = !gPositionRecords.empty() && getProMode(i) == kProModeImport;
    const LabelItem itemKept = counted || imported ? *gLabel.labelParts[size_t(i)] : LabelItem{};
    const int32_t shownBefore = gMsg.shown;
    bool going = true, written = true;
    for (int32_t p = 1; p <= positions() && written; ++p) {
        const bool recordHere = imported && size_t(p) <= gPositionRecords.size();
        // The position a refusal happens at, named in its message.
        gPress.faultAt = "label " + std::to_string(p);
        if (recordHere) {
            const ImportedRecord& record = gPositionRecords[size_t(p - 1)];
            gPress.faultAt += " (import file line " + std::to_string(record.line) + ")";
            std::memcpy(gProd.importItems, record.fields, sizeof(ImportRecord));
            qrencode::gQROrigin.foreignBytes = record.foreign;
            buildImportItem(i);
        }
        // A serial step or record refused (reported) leaves this position
        // without its own data: no file is written for it.
        if ((counted || imported) && gMsg.shown != shownBefore) {
            gPress.failed = true;
            written = false;
            break;
        }
        written = writeItemFile(name, p, i);
        // A run gives every position its own data (item 0 carries it).
        if (gProd.gcite != 0 && going) going = sheetRunAdvance() != SheetRun::done;
        if (counted) {
            getItemData(i);
            advanceSerialItem(i, gData.chMainCode);
        }
    }
    if (written) gPress.faultAt.clear();
    // Every item's files start from the run's first position.
    gProd = keep;
    if (first) *first = firstKept;
    if (counted || imported) *gLabel.labelParts[size_t(i)] = itemKept;
    return written;
}

int32_t pressExport(const std::string& fileName) {
    gPress.failed = false;
    gPress.faultAt.clear();
    const std::string name = pressJobName(fileName);
    // The sheet is judged before the first file: nothing is written for a sheet
    // that cannot be laid out or would need more files than a run makes.
    std::string detail;
    uint16_t fault = emptySheetFault(labelBack, &detail);
    if (fault == 0) fault = sheetFault(labelBack, &detail);
    if (fault != 0) {
        MessageWith(fault, detail);
        return 1;
    }
    const int64_t files = 1 + int64_t{positions()} * (1 + variableItems());
    if (files > kMostFilesPerRun) {
        MessageWith(kMsgPressTooManyFiles, std::to_string(files) + " files");
        return 1;
    }
    const platform::StoppableRun run;
    if (gProd.gcite != 0 && sheetRunCheck() != 0) return 1;  // the user has been told
    // Refused before any file is made.
    if (const int32_t most = longestFittingName(name); most >= 0) {
        // The fields hold the file names' own bytes (UTF-8), so bytes are what count.
        MessageText(platform::formatC("The press job's name is too long (%d bytes): the press "
                                      "files' name fields take job names of at most %d bytes "
                                      "for a sheet of %d labels, and a letter outside plain "
                                      "ASCII takes two or more. Give the file a shorter name.",
                                      static_cast<int>(name.size()), static_cast<int>(most),
                                      static_cast<int>(positions()))
                        .c_str());
        gPress.failed = true;
        return 1;
    }
    if (const std::string missing = itemsWithoutVectorForm(); !missing.empty()) {
        MessageText(missing.c_str());
        gPress.failed = true;
        return 1;
    }
    if (!labelSerialsMove() || !serialItemsCount()) {
        gPress.failed = true;
        return 1;
    }
    // The records are forgotten whatever way the export ends.
    struct Forget {
        ~Forget() { gPositionRecords.clear(); }
    } forget;
    if (!readPositionRecords()) return 1;
    StagedJob staged;
    if (!staged.open()) return 1;
    if (!BuildJobFile(name)) return 1;
    for (int32_t n = 1; n <= positions(); ++n)
        if (!BuildPageFile(name, n)) return 1;
    if (!writeFixedFile(name)) return 1;
    for (int32_t i = 0; i <= labelBack.lastItem && i < kMaxLabelItems; ++i) {
        if (!variableItem(i)) continue;
        getItemData(i);
        if (!EpsILYT(name, i)) return 1;
    }
    if (!staged.commit(name)) return 1;
    gPress.nPages = 1;
    gPress.nLabels = 1;
    return 0;
}

std::vector<std::string> pressJobFilesPresent(const std::string& fileName) {
    const std::string name = pressJobName(fileName);
    std::vector<std::string> present, job;
    if (!platform::listFolder(gPress.folder.empty() ? "." : gPress.folder, &present)) return job;
    for (const std::string& f : present)
        if (f == name + ".jb" || f == fixedFileName(name) || numberedJobFile(f, name))
            job.push_back(inFolder(gPress.folder, f));
    return job;
}
