// The personal data-fields file "data.dfb" in the user's data folder: short texts
// at fixed byte offsets, chosen by the first letter of a field's name, each
// stored as its text and a line feed in a 256-byte slot, and a logo's data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/files.h"

constexpr const char* kDataFieldsName = "data.dfb";
constexpr size_t kFieldSlot = 256;                 // a field's text holds at most 255 bytes
constexpr size_t kFieldTextSize = kFieldSlot + 1;  // length byte, text and NUL
constexpr int32_t kLogoDataOffset = 1794;
// The largest logo read: the largest picture a label reads (kMostPictureBytes).
constexpr int64_t kLogoMostBytes = int64_t{64} << 20;

// The path of the file.
std::string dataFieldsPath();
// The field's offset for a name beginning with ch; -1 for none (and for 'Z',
// which would overwrite the first byte of the name field).
int32_t dataFieldOffset(unsigned char ch);

// text (kFieldTextSize bytes) receives the field named by the Pascal string name
// as a Pascal string followed by a NUL: the name itself when the file cannot be
// read (false: missing, not a regular file, or too large), empty when the name
// selects no field or the file ends before it. For the logo field, handle (when
// given) receives the logo's data; a logo larger than a picture leaves it alone.
bool GetFieldData(const unsigned char* name, unsigned char* text, std::string* handle);
// Writes value (a Pascal string) as the field selected by name, in place; for the
// logo field also the handle's bytes. A name selecting no field writes nothing.
platform::OSErr SaveFieldData(const unsigned char* name, const unsigned char* value,
                              const std::string* handle);
// Writes the six sample fields.
void SavePersonalData();

// Reads one line into text (kFieldTextSize bytes) as a Pascal string: up to a
// LF, CR or NUL (or 255 bytes, or the end of the file); the terminator's place
// gets a NUL.
void fgetline(unsigned char* text, platform::FileRef file);
// The file's length, its position kept; -1 when it cannot be told.
int32_t flen(platform::FileRef file);
// Writes n bytes of handle, or one zero byte when n < 1 or there is no handle.
platform::OSErr fprinth(platform::FileRef file, const std::string* handle, int32_t n);
// Reads up to *count bytes into handle (resized to what was read); *count
// becomes the number read.
platform::OSErr freadh(platform::FileRef file, std::string* handle, int32_t* count);

// The import template: literal text and markers "<<n>>" naming field n (from 1,
// in decimal: "010" is field 10; 0 means 1) of the current import record
// gProd.importItems. A field of white space only, and a marker naming no field
// a record read fills (past the 19th, or no decimal number), give nothing; a
// "<<" without a ">>" after it stays as typed. dst (kImportBuiltSize bytes)
// gets at most kImportBuiltMax characters; false when the text was cut to them
// (reported).
constexpr size_t kImportBuiltSize = 256;
constexpr size_t kImportBuiltMax = 254;  // a label item's data field
constexpr size_t kImportTemplateMax = 255;
bool GetImportBuilt(char* dst, const char* templ);
// The data built from a record is empty or blank: the symbol would have none.
constexpr uint16_t kMsgImportBuiltEmpty = 1310;
// Why a template cannot be used (UTF-8): its first marker that names no field a
// record read fills, with the range there is. Empty when every marker names one.
std::string importTemplateFault(const char* templ);
