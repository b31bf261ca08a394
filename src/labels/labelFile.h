// The label document file: the sheet, the view, every item record and the data
// the items own, and the import file's path. Written whole in this machine's
// byte order; read in either order and in the oldest format (lengths in points,
// no items). A file is parsed into a new document that replaces the open one
// only when all of it was read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "labels/labelDoc.h"

constexpr uint32_t kDocumentType = 0x6C61626C;  // 'labl'
constexpr uint32_t kTemplateType = 0x6C616274;  // 'labt'

// Where the document lives and what names it.
struct DocumentFileState {
    std::string globFilS;  // the document's path; empty or "Untitled": not named yet
    std::string impoFile;  // full path of the import file; empty when there is none
    uint32_t fileType = kDocumentType;
};
extern DocumentFileState gDocFile;

constexpr size_t kReservedBlockBytes = 124;
constexpr size_t kExtendedBlockCap = 1024000;
constexpr size_t kImportPathMost = 255;
// The largest document file read: far beyond 100 items with their pictures.
constexpr int64_t kMostDocumentBytes = int64_t{64} << 20;
// A path the open document names (its import file, a linked picture): a relative
// one is taken from the document's folder, not the working folder.
std::string documentPath(const std::string& path);

// A document read from a file, not yet in force.
struct ParsedDocument {
    LabelSheet sheet;
    LabelDesc desc;
    std::vector<std::unique_ptr<LabelItem>> items;
    bool hasImportPath = false;
    std::string impoFile;
};

// The bytes of the open document (labelBack, labelDesc with the current unit,
// the items of gLabel, gDocFile.impoFile).
std::string documentBytes();
// Parses a document file. false with the message number in *message when the
// bytes are not a document that can be read whole; *out is then unspecified.
bool parseDocument(const uint8_t* bytes, size_t size, ParsedDocument* out, uint16_t* message);
// Puts a parsed document in force: the sheet, the view (offsets back to 32), the
// unit, the items and the import path.
void applyDocument(ParsedDocument&& doc);

// Writes the open document to path, whole (a temporary beside it, renamed).
// 0 when written; 1 after a message.
int32_t saveDocumentTo(const std::string& path);
// Reads the document at path; the open document stays as it was unless the file
// was read whole. 1 when loaded, 0 after a message.
int32_t loadDocumentFrom(const std::string& path);

// mode 0 save, 1 save under a new name, 2 save as a template. Headless there is
// no dialog to ask for a name: an unnamed document is not saved.
void saveObjects(int32_t mode);
// mode 0 loads gDocFile.globFilS; mode 1 (the open dialog) loads it too. Returns 1
// when a label document was loaded.
int32_t loadObjects(int32_t mode);
// Applies the options line of the EPS file gDocFile.globFilS through apply (the
// script records' reader, which stands above the document model). Returns 1
// when the file held one.
using OptionsRecordReader = void (*)(const char* record, int32_t local);
int32_t GetSettingsFromEps(OptionsRecordReader apply);
// The same for the EPS file at path: only its settings are taken, and the
// document keeps its name, so that a save cannot write over the EPS file.
int32_t GetSettingsFromEpsAt(const std::string& path, OptionsRecordReader apply);
// The settings record of an EPS file's options line: the text after
// "%%Options: " in the third comment that starts a line from byte 11 of the
// file's head, up to the line end; empty when there is none.
std::string epsOptionsRecord(const std::string& head);
// The same, of the file at posixPath; empty when it cannot be read.
std::string epsOptionsRecordAt(const std::string& posixPath);

void swapbyteslong(uint32_t* p);
void swapbytesshort(uint16_t* p);
// Reverses the byte order of the words of item index's record (offsets 0-82).
void swaplabelitem(int32_t index);
// The length of the buffer without its trailing NUL bytes.
size_t rtrimzero(const char* buffer, size_t n);
// Removes trailing spaces and tabs; returns how many went.
int32_t trim(char* text);
// The text after the n-th separator (empty when there are fewer), and the
// number of fields the separator makes.
std::string nthfield(const std::string& text, char separator, int32_t n);
int32_t numfields(const std::string& text, char separator);
