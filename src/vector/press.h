// The variable-data export for the digital press: a label sheet becomes one job
// file (the sheet and a card per label position), one page file per position
// (a static part and the places of the label's variable items) and, for each
// variable item, one PostScript file per position holding that item alone.
// Variable items are the text and barcode items whose data comes from a run
// (production mode above 0).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/files.h"

constexpr size_t kJobHeaderBytes = 1792;
constexpr size_t kCardBytes = 256;
constexpr size_t kPageHeaderBytes = 512;
constexpr size_t kPageRecordBytes = 256;
constexpr double kPressSheetWidth = 431.8;  // millimetres, whatever the sheet set-up
constexpr double kPressSheetHeight = 279.4;

struct PressState {
    std::string folder;  // where every file of the export goes; "" the working folder
    int32_t nPages = 1;  // pages in every PostScript file
    int32_t nLabels = 1;
    std::string file;  // the job or page file being built for channel 101
    bool failed = false;
    // Where the export was refused, for a message that does not say: "label 3
    // (import file line 4)"; empty when it names no label position.
    std::string faultAt;
};
extern PressState gPress;

// The job name of a document's file name: without its extension (as the command
// line names the files after saveto's), every blank as "_".
std::string pressJobName(const std::string& fileName);
// The whole export of the open label document, its job named after fileName
// (pressJobName: the extension is dropped here, once). 0 when every file was
// written; 1 after a message (a file that could not be written ends the export).
int32_t pressExport(const std::string& fileName);
// The paths of the files in gPress.folder that an export of this name would
// replace or remove (an earlier job's); none when the folder cannot be listed.
std::vector<std::string> pressJobFilesPresent(const std::string& fileName);

// Field writers: they append to gPress.file.
void BuildSentData(const unsigned char* pascalString);
void BuildBlankLine(int32_t lines);  // lines of 16 zero bytes
void BuildSpacers(int32_t n);
void BuildExpComponent(double value);      // "+.dddddddd" and the exponent, 14 bytes
void BuildNormComponent(int32_t value);    // "+%05d"
void BuildNorm11Component(int32_t value);  // "+%011d"
// The exponent form of a length: "+.43180000E+03" for 431.8.
std::string expComponent(double value);

void BuildJobFileHeader(const std::string& name, double size1, double size2);
void BuildCardName(const std::string& name, int32_t n);
void BuildcardJobSection(const std::string& name, int32_t n, double x, double y);
void BuildPageFileHeader(const std::string& name, int32_t n, double width, double height);
// Write the job file and page file n through channel 101; false after a message.
bool BuildJobFile(const std::string& name);
bool BuildPageFile(const std::string& name, int32_t n);
// The PostScript files of item `item` for every label position; false after a
// message.
bool EpsILYT(const std::string& name, int32_t item);
// One page of one item's file.
void ILYTEpsPageCode(platform::FileRef refNum, int32_t page, int32_t item);
