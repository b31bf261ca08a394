#include "automation/importrun.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "labels/importfile.h"
#include "labels/labelDoc.h"
#include "labels/production.h"
#include "picture/outputstate.h"
#include "platform/files.h"
#include "platform/macroman.h"
#include "symbology/messages.h"
#include "symbology/state.h"
#include "vector/Epsout.h"

namespace {

constexpr char kWordMark = '|';
constexpr int32_t kAllRecords = INT_MAX - 1;  // the count word holds the count plus 1

// A whole number of at least `least`; false for anything else.
bool wholeNumber(const std::string& text, int32_t least, int32_t* value) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return false;
    if (text.size() > 9) return false;
    *value = static_cast<int32_t>(std::strtol(text.c_str(), nullptr, 10));
    return *value >= least;
}

bool isFolder(const std::string& path) {
    return !path.empty() &&
           (path.back() == '/' || platform::pathKind(path) == platform::PathKind::folder);
}

// A name in the folder that the output kind's checks can judge.
std::string probeName(const std::string& folder, const OutputChoice& choice) {
    std::string ext = ".eps";
    if (choice.kind) {
        const std::string all = choice.kind->extensions;
        ext = all.substr(0, all.find(' '));
    } else if (choice.dialect && choice.dialect->ill == kIllPdf) {
        ext = ".pdf";
    }
    return folder + "/record" + ext;
}

std::string reason(const char* otherwise) {
    return gMsg.shown ? platform::macRomanToUtf8(gMsg.last) : otherwise;
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
    std::snprintf(ext.file, sizeof ext.file, "%s", words[0].c_str());
    int32_t start = 1, title = 0, count = kAllRecords;
    if (words.size() > 1 && !wholeNumber(words[1], 1, &start))
        return "the import's start record must be a whole number from 1";
    if (words.size() > 2 && !wholeNumber(words[2], 0, &title))
        return "the import's title field must be a whole number from 0 (0 names each file after "
               "its data)";
    if (words.size() > 3 && !wholeNumber(words[3], 1, &count))
        return "the import's record count must be a whole number from 1";
    ext.start = start;
    ext.title = title;
    ext.countPlus1 = count + 1;
    return {};
}

std::string runImportRequest(const std::string& templ, const std::string& saveto,
                             const OutputChoice& choice) {
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
    ProcessBarcodes();
    if (gProd.runFaults > 0) return reason("a record could not be made");
    if (gProd.runMade == 0) return reason("the import file holds no record to make");
    return {};
}
