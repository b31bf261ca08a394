#include "automation/importrun.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "labels/importfile.h"
#include "labels/labelDoc.h"
#include "labels/production.h"
#include "labels/datafields.h"
#include "labels/runs/ProcessBarcodes.h"
#include "picture/outputstate.h"
#include "platform/files.h"
#include "platform/macroman.h"
#include "symbology/info.h"
#include "symbology/messages.h"
#include "symbology/state.h"
#include "vector/Epsout.h"

namespace {

constexpr char kWordMark = '|';
constexpr int32_t kAllRecords = INT_MAX - 1;  // the count word holds the count plus 1
constexpr size_t kLargestNumberDigits = 9;    // every such number fits the count word
constexpr int32_t kLargestNumber = 999999999;

// A whole number of at least `least`; false for anything else.
bool wholeNumber(const std::string& text, int32_t least, int32_t* value) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return false;
    if (text.size() > kLargestNumberDigits) return false;
    *value = static_cast<int32_t>(std::strtol(text.c_str(), nullptr, 10));
    return *value >= least;
}

bool isFolder(const std::string& path) {
    return !path.empty() &&
           (path.back() == '/' || platform::pathKind(path) == platform::PathKind::folder);
}

// A name in the folder that the output kind's checks can judge: one the flags
// agree with, since the user named no file. The run names the files itself.
std::string probeName(const std::string& folder, const OutputChoice& choice) {
    std::string ext = ".eps";
    // What reaches the files: --post overrides the dialect's own wrapping.
    const int32_t wrapping = choice.post      ? choice.post->purePost
                             : choice.dialect ? choice.dialect->purePost
                                              : -1;
    if (choice.kind && choice.kind->tool != kOutVector) {
        const std::string all = choice.kind->extensions;
        ext = all.substr(0, all.find(' '));
    } else if (choice.dialect && choice.dialect->ill == kIllPdf) {
        ext = ".pdf";
    } else if (wrapping > 0) {
        ext = ".ps";
    }
    return folder + "/record" + ext;
}

std::string reason(const char* otherwise) { return gMsg.shown ? lastMessageUtf8() : otherwise; }

constexpr size_t kFieldScanBytes = 1 << 20;  // enough of the file to judge its records

// The most fields a record of the import file holds (0: no record read).
int32_t mostFieldsInFile(const std::string& path) {
    platform::FileRef ref = 0;
    // Only a regular file: a pipe or a device named as the import file would block here.
    if (platform::FSOpenRegular(path, kMostImportBytes, &ref) != platform::noErr) return 0;
    std::string bytes(kFieldScanBytes, '\0');
    int32_t n = static_cast<int32_t>(bytes.size());
    platform::FSRead(ref, &n, bytes.data());
    platform::FSClose(ref);
    bytes.resize(static_cast<size_t>(std::max(n, 0)));
    int32_t most = 0, commas = 0;
    bool text = false;
    for (const char c : bytes + "\n") {
        if (c == '\r' || c == '\n') {
            if (text) most = std::max(most, commas + 1);
            commas = 0;
            text = false;
        } else if (c == ',') {
            ++commas;
            text = true;
        } else if (c != ' ' && c != '\t') {
            text = true;
        }
    }
    return most;
}

// The largest field number the template names as <<n>> (0: none).
int32_t largestTemplateField(const std::string& templ) {
    int32_t largest = 0;
    for (size_t at = templ.find("<<"); at != std::string::npos; at = templ.find("<<", at + 2)) {
        const size_t close = templ.find(">>", at + 2);
        if (close == std::string::npos) break;
        const std::string digits = templ.substr(at + 2, close - at - 2);
        if (digits.empty() || digits.size() > 9 ||
            digits.find_first_not_of("0123456789") != std::string::npos)
            continue;
        largest = std::max(largest, static_cast<int32_t>(std::strtol(digits.c_str(), nullptr, 10)));
    }
    return largest;
}

// A template naming fields the records do not have (empty when it names none):
// why a run made nothing, better said once than for every record.
std::string fieldsBeyondRecords(const std::string& templ) {
    const int32_t most = mostFieldsInFile(gProd.externalImport.file);
    const int32_t named = largestTemplateField(templ);
    if (most > 0 && named > most)
        return "the data template names field " + std::to_string(named) +
               ", but the records of the import file hold at most " + std::to_string(most) +
               (most == 1 ? " field" : " fields");
    return {};
}

// Each import record the run could not make, named by its number and line (the
// first few of them); the reason besides, when those lines do not say all.
std::string runFaultsReason(std::vector<std::string>* recordFaults) {
    for (const ProductionSettings::RecordFault& f : gProd.recordFaults)
        recordFaults->push_back(
            "import record " + std::to_string(f.record) + " (line " + std::to_string(f.line) +
            "): " + (f.why.empty() ? "it could not be made" : platform::macRomanToUtf8(f.why)));
    std::string why;
    const auto unnamed = gProd.recordFaultCount - static_cast<int32_t>(gProd.recordFaults.size());
    if (unnamed > 0)
        why = std::to_string(unnamed) + " more import records could not be made (" +
              std::to_string(gProd.recordFaultCount) + " in all)";
    // A fault of the run itself: a signal stopped it, or it made as many files as it may.
    if (gProd.runFaults > gProd.recordFaultCount)
        why += (why.empty() ? "" : "; ") + reason("a record could not be made");
    // Text lines go into their file whole or not at all: none of the run's are in it.
    const bool linesLost = gOut.tool == kOutTextLine && gPictOut.textFileFailed;
    if (gProd.runStoppedAt > 0)
        why += (why.empty() ? "" : "; ") + std::string("the run stopped at import record ") +
               std::to_string(gProd.runStoppedAt) +
               (linesLost ? "" : "; the records after it were not made");
    if (linesLost)
        why += (why.empty()              ? ""
                : gProd.runStoppedAt > 0 ? ", and "
                                         : "; ") +
               std::string(gOut.globFolS) + " was not written: it is as it was before the run";
    return why;
}

}  // namespace

std::string takeImportRequest(const std::string& value) {
    std::vector<std::string> words;
    for (size_t at = 0;;) {
        const size_t bar = value.find(kWordMark, at);
        words.push_back(value.substr(at, bar - at));
        if (bar == std::string::npos) break;
        at = bar + 1;
    }
    const std::string form =
        "the import is \"FILE|START|TITLE|COUNT\" (the numbers may be left out)";
    if (words.size() > 4 || words[0].empty()) return form;
    if (words[0] == "/dev/stdin") words[0] = kStandardInputName;  // read as a stream, not a file
    ExternalImport& ext = gProd.externalImport;
    if (words[0].size() >= sizeof ext.file) return "the import file's name is too long";
    if (platform::pathKind(words[0]) == platform::PathKind::folder)
        return "the import file \"" + words[0] + "\" is a folder; name a text file of records";
    std::snprintf(ext.file, sizeof ext.file, "%s", words[0].c_str());
    int32_t start = 1, title = 0, count = kAllRecords;
    if (words.size() > 1 && !wholeNumber(words[1], 1, &start))
        return "the import's start record must be a whole number from 1 to " +
               std::to_string(kLargestNumber);
    // A record read gives at most kImportReadFields fields: a larger title field
    // would name every file alike.
    if (words.size() > 2 && (!wholeNumber(words[2], 0, &title) || title > kImportReadFields))
        return "the import's title field must be a whole number from 0 to " +
               std::to_string(kImportReadFields) +
               " (0 names each file after its data; a record gives at most " +
               std::to_string(kImportReadFields) + " fields)";
    if (words.size() > 3 && !wholeNumber(words[3], 1, &count))
        return "the import's record count must be a whole number from 1 to " +
               std::to_string(kLargestNumber);
    ext.start = start;
    ext.title = title;
    ext.countPlus1 = count + 1;
    return {};
}

std::string runImportRequest(const std::string& templ, const std::string& saveto,
                             const OutputChoice& choice, bool addToLines, std::string* warning,
                             std::vector<std::string>* recordFaults) {
    const bool folder = isFolder(saveto);
    const std::string target = folder ? probeName(saveto, choice) : saveto;
    if (std::string fault = outputKindFault(choice, target); !fault.empty()) return fault;
    applyOutputChoice(choice, target);
    const int32_t tool = gOut.tool;
    if (folder && tool == kOutTextLine)
        return "text lines go into one file: saveto must name a file, not a folder";
    if (!folder && tool != kOutTextLine)
        return "an import run makes a file a record: saveto must name a folder (ending in /), "
               "or give --kind=text-line for one line a record";
    if (templ.size() >= kLabelItemTextSize) return "the data template is longer than 254 bytes";
    if (std::string fault = importTemplateFault(templ.c_str()); !fault.empty()) return fault;

    addNewCode();
    setItemData(0, 4);  // the item carries the settings; each record its data
    gLabel.labelParts[0]->setText(item::serPos, templ);
    copyBounded(gOut.globFolS, saveto.c_str());
    gOut.fileDia = folder ? 3 : 4;
    gOut.showDia = 1;
    gOut.outToFile =
        tool == kOutTiff || tool == kOutBmp72 || tool == kOutBmp300 || tool == kOutTextLine ? 0 : 1;
    gProd.background = 2;
    gMsg.shown = 0;
    gPictOut.textFileFailed = false;
    if (addToLines && tool == kOutTextLine) {
        // Lines that earlier records of the command put in the file stay before the run's.
        gPictOut.sameFile = 1;
        gPictOut.theFileName2 = saveto;
    }
    // An add-on of a length the type has no room for would be left out of the bars.
    gDispatch.refuseStrayAddOn = true;
    ProcessBarcodes();
    gDispatch.refuseStrayAddOn = false;
    gPictOut.sameFile = 0;
    // Records that failed alone (as empty ones do), not the file or the run.
    const bool recordsFailed = gProd.runFaults == gProd.recordFaultCount;
    if (gProd.runMade == 0 && recordsFailed)
        if (std::string beyond = fieldsBeyondRecords(templ); !beyond.empty()) return beyond;
    if (gProd.runFaults > 0) return runFaultsReason(recordFaults);
    if (gProd.runMade == 0) return reason("the import file holds no record to make");
    // What the records' reading said (fields left out, say) while every record was made.
    if (gMsg.shown > 0) {
        *warning = lastMessageUtf8();
        if (gMsg.shown > 1)
            *warning += " (the last of " + std::to_string(gMsg.shown) + " such messages)";
    }
    return {};
}
