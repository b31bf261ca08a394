// Output files: naming a symbol's file, choosing its folder and writing it in the
// output kind (OutputSettings::tool, picture/outputstate.h).
#pragma once

#include <cstdint>
#include <string>

#include "picture/fileservices.h"
#include "platform/files.h"

constexpr uint16_t kMsgCannotCreate = 33;
constexpr uint16_t kMsgImportNotOpened = 34;
constexpr uint16_t kMsgPdfNotConverted = 1421;
constexpr uint16_t kMsgNoPicture = 1422;
constexpr uint16_t kMsgPdfNotWritten = 1424;
constexpr uint16_t kMsgPdfNotConvertedEpsRead = 1425;
constexpr uint16_t kMsgPictureTooLarge = 1461;

// The file name the current symbol gets: the code-type name or title, the
// printed data and add-on, made safe for a file system, with the extension of
// the output kind when fileTyp is 1.
std::string NewFileName();
// The files a command line reads while it writes: its records (standard input
// that is a file), the file --open names and a run's import file. An output that
// is one of them would destroy what is still to be read. The desktop sets none.
struct ReadFiles {
    struct Read {
        platform::FileId id;
        std::string name;  // as the user gave it
    };
    Read records, opened, import;
};
extern ReadFiles gReadFiles;
// False after a message when writing the file at path would replace a file that
// is read (a file that does not exist yet is none of them); the message names the
// record's key that gave the path.
bool outputSparesReadFiles(const std::string& path, const char* key = "saveto");

// The POSIX path of the file to write, by the naming mode (fileDia); false when
// the user cancelled the save dialog, or after a message when the path names a
// file that is read.
bool NewFile(std::string* path);
// Writes the current symbol (or sheet) as a file of the output kind, named by
// the naming mode. Every kind is written beside its final name and moved there
// only when it is whole, so a failure leaves the old file as it was and no
// partial file. 1 written, 0 not (reported) or cancelled.
int32_t SetUpFiles(int32_t yPos);
// Puts the symbol's picture on the clipboard as a bitmap at 72 dpi (the
// flavour kBitmapFlavour, a BMP file's bytes); false after a message when there
// is no picture or it cannot be made.
constexpr char kBitmapFlavour[] = "BMP ";
bool BitmapToClipboard();

// Writes bytes as the whole file at path, safely; false after reporting why.
bool writeWholeFile(const std::string& path, const std::string& bytes);
// The two names of a PDF made from an EPS: the given name with ".eps" and ".pdf"
// in place of either extension; a name with neither is the PDF's, and the EPS
// kept on failure adds ".eps".
struct PdfPaths {
    std::string eps;
    std::string pdf;
};
PdfPaths pdfPathsFor(const std::string& path);

// The import file chooser: asks for a text file and checks that it opens; with
// a label layout open the file becomes the document's import file too. 1.
int32_t openFile();
