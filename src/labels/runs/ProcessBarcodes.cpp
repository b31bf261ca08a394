// The production run: one symbol, a run of serial numbers or a run of import
// records, each symbol drawn and delivered by the output dispatch.
#include "labels/runs/ProcessBarcodes.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "labels/datafields.h"
#include "labels/importfile.h"
#include "labels/labelDoc.h"
#include "labels/labelFile.h"
#include "labels/production.h"
#include "labels/serial.h"
#include "picture/PICout2.h"
#include "picture/output/SetUpFiles.h"
#include "picture/output/outer2.h"
#include "picture/outputstate.h"
#include "picture/symbolbox.h"
#include "picture/symbolpicture.h"
#include "platform/files.h"
#include "platform/questions.h"
#include "platform/tempfiles.h"
#include "symbology/messages.h"
#include "symbology/panels.h"
#include "symbology/state.h"
#include "vector/page.h"

namespace {

constexpr int32_t kModeNormal = 0, kModeSerial = 1, kModeImport = 2;
constexpr int32_t kRunSerial = 1, kRunImport = 2;  // gemode
// The question whether the run fills the print sheet: list 142, prompt 28,
// buttons 29 and 30. Its first button hands the run over.
constexpr int32_t kSheetQuestion[] = {142, 28, 29, 30};
constexpr int32_t kHandOver = 0;
constexpr int32_t kPrefixField = 6, kSuffixField = 7;
constexpr int32_t kFieldRead = 254;
constexpr int32_t kTitleFields = 20;  // the record slots a title field can name
constexpr char kAddOnMark = '|';
constexpr const char* kSerialGauge = "Making Serial codes";
constexpr const char* kImportGauge = "Importing codes";
constexpr const char* kLowBarsText =
    "A bar height of 2 mm or less draws no bars, only the symbol's text. Give a height above "
    "2 mm (or 0 for the type's own height), or choose bar-font text as the output.";

bool labelLayoutShown() { return labelBack.labelWidth != 0 && labelBack.labelHeight != 0; }
bool printSheetSetUp() { return labelBack3.labelWidth != 0; }

// The main window's single symbol gets the checks the command line and the runs
// give it before anything is made: a refused one is reported and makes nothing.
// A label draws its own items, and a text line has no box to size.
bool singleSymbolAccepted() {
    if (labelBack.labelWidth != 0 || gOut.tool == kOutTextLine) return true;
    getItemData(0);
    if (setAsBarFontText() && gOut.tool != kOutBarFontText) {
        MessageText(kLowBarsText);
        return false;
    }
    return sizeSingleSymbol(0);
}

bool handOverAsked() {
    const int32_t* q = kSheetQuestion;
    return platform::AskerBox(q[0], q[1], q[2], q[3]) == kHandOver;
}

// Draws the current symbol and delivers it. false when the run cannot go on: a
// file could not be written (reported). A symbol that cannot be made is
// reported and counted, and the run goes on.
bool makeAndDeliver() {
    // The single item takes this symbol's size: a file's bounding box is the
    // item's. A text line has no box.
    if (gOut.tool != kOutTextLine) {
        getItemData(0);
        if (!sizeSingleSymbol(0)) {  // refused and reported
            ++gProd.runFaults;
            return true;
        }
    }
    // A text line is the element list alone: no picture is recorded for it.
    if (gOut.tool == kOutTextLine) {
        if (!encodeSingleSymbol()) gEl.clear();
        gOut.showDia = 0;
    } else {
        PICout2(0, 0, 0);  // the dispatch passes its own position to the writers
    }
    if (gEl.cu_len == 0) {
        ++gProd.runFaults;
        return true;
    }
    if (!deliverSymbol()) {
        ++gProd.runFaults;
        return false;
    }
    ++gProd.runMade;
    return true;
}

constexpr uint16_t kMsgTooManyFiles = 1455;

// Before each symbol of a run: false when the run must end here, after a
// message (a signal asked it to stop, or it has made as many files as a run may).
bool runGoesOn() {
    if (platform::stopRequested()) {
        Message(kMsgRunStopped);
        ++gProd.runFaults;
        return false;
    }
    if (gOut.tool != kOutTextLine && gProd.runMade >= kMostFilesPerRun) {
        Message(kMsgTooManyFiles);
        ++gProd.runFaults;
        return false;
    }
    return true;
}

void clearHandOver() {
    gProd.gcite = gProd.gtlen = gProd.ghnum = gProd.gemode = 0;
    gProd.gaddn = gProd.gelen = gProd.galpha = 0;
    gProd.gstar[0] = gProd.gfini[0] = gProd.gfini[1] = gProd.gincr[0] = gProd.gcurr[0] = 0;
}

void affixField(int32_t field, char* destination) {
    const std::string& text = gPanels.TEBack1[field].text;
    GetAnyField(text.c_str(), static_cast<int32_t>(std::min<size_t>(text.size(), kFieldRead)),
                destination);
}

void setTitle(const char* text) { std::snprintf(gOut.title, sizeof gOut.title, "%s", text); }

// After a handed-over sheet of `positions` labels: whether the run has values
// left for another sheet. The sheet writer has already counted item 0 on to the
// next sheet's first value; the add-on counter here keeps step with it.
bool serialValuesLeft(int32_t positions, bool addOnForm, std::string& counter,
                      const char* increment, const char* end) {
    if (positions <= 0) return false;  // nothing was written: another try would write nothing too
    if (!addOnForm) return gProd.gcurr[0] != 0;
    for (int32_t k = 0; k < positions && !counter.empty(); ++k)
        counter = nextAddOnCounter(counter, increment, end);
    return !counter.empty();
}

void serialRun() {
    if (labelLayoutShown()) return;  // the labels count at printing
    const bool handed = printSheetSetUp() && handOverAsked();
    if (handed) {
        gProd.gcite = 1;
        gProd.gemode = kRunSerial;
    }
    affixField(kPrefixField, gData.chPrefix);
    affixField(kSuffixField, gData.chSuffix);
    int32_t length = 0;
    char start[kRunTextSize], end[kRunTextSize], increment[kRunTextSize], current[kRunTextSize];
    if (GetSerialText(&length, start, end, increment, current) != 0) {
        PICout2(0, 0, 0);
        clearHandOver();
        return;
    }
    // The add-on counter form "main|counter": the main data stays, the add-on counts.
    std::string counter;
    char* bar = std::strchr(current, kAddOnMark);
    const bool addOnForm = bar != nullptr;
    if (addOnForm) {
        counter = bar + 1;
        *bar = 0;
    }
    const auto affixes =
        static_cast<int32_t>(std::strlen(gData.chPrefix) + std::strlen(gData.chSuffix));
    const bool gauge = gOut.showDia == 1 || gOut.tool == kOutTextLine || handed;
    if (gauge) platform::ShowGauge(kSerialGauge);
    if (handed) {
        gProd.gtlen = length;
        copyBounded(gProd.gstar, start);
        copyBounded(gProd.gfini, end);
        copyBounded(gProd.gincr, increment);
        copyBounded(gProd.gcurr, current);
        gProd.gaddn = addOnForm ? 1 : 0;
        gProd.gelen = affixes;
        gProd.galpha = gLabel.alpha;
    }
    const int32_t last = length - affixes - 1;
    for (bool firstSymbol = true;; firstSymbol = false) {
        // A later sheet starts from the value the sheet writer left in item 0.
        if (!handed || firstSymbol) {
            gData.len1 = gData.len11 = length;
            std::string data = gData.chPrefix;
            if (addOnForm) {
                copyBounded(gData.chAddCode, counter.c_str());
                copyBounded(gData.chAddCode2, counter.c_str());
                gData.len2 = gData.len22 = static_cast<int32_t>(counter.size());
            } else {
                data += current;
            }
            data += gData.chSuffix;
            copyBounded(gData.chMainCode, data.c_str());
            copyBounded(gData.chMainCode2, data.c_str());
            gLabel.serPos = data;
            if (gOut.showDia == 1) platform::SetGaugeText(gData.chMainCode, gData.len1);
            setItemData(0, 4);
        }
        const int32_t positionsBefore = gProd.gcite;
        if (!runGoesOn() || !makeAndDeliver()) break;
        if (handed) {  // the sheet writer counts the run label by label
            if (!serialValuesLeft(gProd.gcite - positionsBefore, addOnForm, counter, increment,
                                  end))
                break;
            continue;
        }
        if (addOnForm) {
            counter = nextAddOnCounter(counter, increment, end);
            if (counter.empty()) break;
        } else if (SerialNo(start, end, increment, last, gLabel.alpha, current) !=
                   SerialStep::next) {
            break;
        }
    }
    if (handed) clearHandOver();
    if (gauge) platform::KillGauge();
}

// The import file of the run, opened with its record end; false when it cannot be.
bool openRunFile(const ImportSettings& s) {
    // The panel's file field only shows that a file was chosen with the file box.
    const bool chosen = s.file.empty() || s.file == kImportFileChosen;
    std::string path = chosen ? gPictOut.impoFile : s.file;
    if (path.empty()) {
        openFile();
        path = gPictOut.impoFile;
        if (path.empty()) return false;  // no file chosen
    }
    char found = 0;
    std::string why;
    if (openImportFile(path, &gProd.vimportRef, &found, &why) != platform::noErr) {
        MessageWith(kMsgImportNotOpened, why);
        ++gProd.runFaults;
        return false;
    }
    gProd.gfini[1] = found;  // 0: the default record end
    gProd.importLine = 0;
    return true;
}

// The separate file: one more line per record, chosen after the import file.
void openSeparateFile() {
    const std::string kept = gPictOut.impoFile, keptInDocument = gDocFile.impoFile;
    gPictOut.impoFile.clear();
    openFile();
    gDocFile.impoFile = keptInDocument;  // the separate file is never the document's
    char unused = 0;
    std::string why;
    if (!gPictOut.impoFile.empty() &&
        openImportFile(gPictOut.impoFile, &gProd.vimpoRef2, &unused, &why) != platform::noErr)
        MessageWith(kMsgImportNotOpened, why);
    gPictOut.impoFile = kept;
    gProd.sepIm = 1;  // the record reader takes its lines by this switch
}

void closeRunFiles() {
    closeImportFile(gProd.vimportRef);
    closeImportFile(gProd.vimpoRef2);
    gProd.vimportRef = gProd.vimpoRef2 = 0;
}

// The title of a record's output: the field the title number names, or the
// built data when it names none.
void recordTitle(int32_t field, const char* built) {
    if (field < 1)
        setTitle(built);
    else if (field <= kTitleFields)
        setTitle(gProd.importItems[field - 1]);
    else
        setTitle("");
}

// Keeps the reason a record could not be made (the last message, if any), for
// the first few such records.
void noteRecordFault(int32_t record, int32_t shownBefore) {
    ++gProd.recordFaultCount;
    if (gProd.recordFaults.size() >= ProductionSettings::kKeptRecordFaults) return;
    gProd.recordFaults.push_back(
        {record, gProd.importLine, gMsg.shown != shownBefore ? gMsg.last : std::string()});
}

// Makes the symbol of the current record; false when the run cannot go on.
// A record that cannot be made whole is reported and counted.
bool makeRecord(const ImportSettings& s, const std::string& runAddOn,
                const std::string& runLongAddOn) {
    // Reported; no symbol that encodes something else.
    if (gProd.importRecordBad || gProd.importRecordChanged) {
        ++gProd.runFaults;
        return true;
    }
    gData.len1 = gData.len11 = s.length;
    if (LabelItem* run = gLabel.labelParts[0].get()) {
        run->setText(item::addCode, runAddOn);
        run->longAddOn = runLongAddOn;
    }
    buildImportData();
    LabelItem* it = gLabel.labelParts[0].get();
    const std::string built = it ? it->text(item::dataText) : std::string();
    if (gProd.importRecordChanged) {  // the built data was cut
        ++gProd.runFaults;
        return true;
    }
    if (built.empty()) {  // the fields the template names are empty
        Message(kMsgImportBuiltEmpty);
        ++gProd.runFaults;
        return true;
    }
    recordTitle(s.title, built.c_str());
    if (makeAndDeliver()) return true;
    // A sheet file holds the records after this one too: going on would skip them.
    if (gProd.gcite != 0) return false;
    // Only this record's own file failed (a folder has its name, the name is too
    // long): the other records still get theirs. A full disk fails them all, and
    // the text lines of the run are one file.
    return gOut.tool != kOutTextLine && !platform::FSFailureIsFullDisk();
}

void importRecords(const ImportSettings& s, bool handed) {
    int32_t counter = 1;
    int32_t record = std::max(s.start, 1) - 1;  // the records skipped before the run's first
    bool ended = false;
    // A record's add-on (after the template's '|') is its own: the next record
    // starts again from the run's add-on, not from the one before.
    const LabelItem* first = gLabel.labelParts[0].get();
    const std::string runAddOn = first ? first->text(item::addCode) : std::string();
    const std::string runLongAddOn = first ? first->longAddOn : std::string();
    do {
        if (!runGoesOn()) break;
        gOut.title[0] = 0;
        const int32_t shownBefore = gMsg.shown, faultsBefore = gProd.runFaults;
        ended = GetImportItems() == 1;
        // A blank line is no record: it makes nothing and is not counted.
        if (!gProd.importRecordBad && importRecordBlank()) continue;
        ++record;
        const bool goesOn = makeRecord(s, runAddOn, runLongAddOn);
        if (gProd.runFaults != faultsBefore) noteRecordFault(record, shownBefore);
        if (!goesOn) {
            if (!ended && counter < s.count) gProd.runStoppedAt = record;
            break;
        }
        if (gOut.showDia == 1) platform::SetGauge(counter, s.count);
        // A sheet took the records up to the sheet writer's next label.
        counter = handed ? std::max(counter + 1, gProd.gcite) : counter + 1;
    } while (counter <= s.count && !ended);
}

void importRun() {
    if (labelLayoutShown()) {  // the labels take their records at printing
        if (gPictOut.impoFile.empty()) openFile();
        PICout2(0, 0, 0);
        return;
    }
    gLabel.proMode = kProModeImport;
    ImportSettings s;
    GetImportText(&s);
    if (s.count <= 0) return;
    const bool handed = printSheetSetUp() && handOverAsked();
    if (handed) {
        gProd.gtlen = s.length;
        gProd.gcite = 1;
        gProd.ghnum = s.count;
        gProd.gemode = kRunImport;
    }
    if (openRunFile(s)) {
        if (gLabel.sepImp == 1) openSeparateFile();
        if (skipImportRecords(s.start - 1)) {
            const bool gauge = gOut.showDia == 1 || handed;
            if (gauge) platform::ShowGauge(kImportGauge);
            importRecords(s, handed);
            if (gOut.showDia == 1) platform::SetGauge(s.count, s.count);
            if (gauge) platform::KillGauge();
        }
    }
    clearHandOver();
    closeRunFiles();
    gOut.title[0] = 0;
}

}  // namespace

namespace {

// Making the symbol reshapes its printed data (UPC-A puts a zero in front): the
// file's header takes the data as typed, which a file opened again must give
// back. The data as made, with its check digit, still names the file.
void restorePrintedData() {
    char made[kMainCodeSize];
    copyBounded(made, gData.chMainCode);
    const int32_t madeLength = gData.len1;
    getItemData(0);
    copyBounded(gData.chMainCode, made);
    gData.len1 = madeLength;
}

}  // namespace

bool deliverSymbol() {
    // The kinds made from a picture (TIFF, BMP, PICT, PC EPS) take the
    // symbol's own picture, which the screen pass does not leave for them; it
    // is made from the item's data as stored, since making the symbol may have
    // reshaped the data buffers.
    if (needsPicture(gOut.tool)) {
        getItemData(0);
        if (!recordSymbolPicture()) return false;
    } else if (labelBack.labelWidth == 0 && !encodeSingleSymbol()) {
        // The other kinds open their file before they look at the symbol: one
        // the encoder refuses (told by it) would leave an empty file behind.
        return false;
    }
    restorePrintedData();
    return outer2() == 1;
}

void ProcessBarcodes() {
    gProd.gemode = 0;
    gProd.runMade = gProd.runFaults = gProd.recordFaultCount = gProd.runStoppedAt = 0;
    gProd.recordFaults.clear();
    gPictOut.runNames.clear();
    const int32_t mode = gProd.background;
    const platform::StoppableRun run;
    switch (mode) {
        case kModeNormal:
            if (!singleSymbolAccepted()) {
                ++gProd.runFaults;
                break;
            }
            PICout2(0, 0, 0);
            if (gEl.cu_len == 0) {
                ++gProd.runFaults;
            } else if (gOut.showDia == 1) {
                if (deliverSymbol())
                    ++gProd.runMade;
                else
                    ++gProd.runFaults;
            }
            break;
        case kModeSerial:
            serialRun();
            break;
        case kModeImport:
            importRun();
            break;
        default:
            break;  // the options, colours and print-time panes make nothing
    }
    // The next run starts a file of its own. A stopped run adds no line.
    if (platform::stopRequested())
        abandonTextRun();
    else if (!endTextRun())
        ++gProd.runFaults;
    gPictOut.runNames.clear();
    gProd.background = mode;
}
