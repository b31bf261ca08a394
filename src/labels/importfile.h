// Import files: text files of records, one symbol's data per record, split into
// fields. The file is read ahead in large blocks; the production run opens it,
// finds its record end and reads it record by record.
#pragma once

#include <cstdint>
#include <string>

#include "platform/files.h"

// What a field read left out of the file's bytes.
struct FieldFaults {
    bool cut = false;  // the end of a field longer than its slot
    bool nul = false;  // NUL bytes, which would end the field's text early
};

// Reads one field into destination (kImportFieldSize bytes) and returns
// counter + 1. status becomes 1 when the field ended at the record end, 2 at the
// end of the file, else 0. Quotes are dropped and toggle the quoted state; in
// import mode 4 a delimiter inside quotes is data. When the record end is a CR
// or an LF, every CR, LF and CR LF ends the record, whichever the file began
// with (an LF right after a CR is that CR's). A field longer than 255
// characters keeps its first 255; the rest of it is read and dropped. NUL bytes
// are dropped. faults (when given) says which of the two happened.
int32_t GetNextItemFromFile(platform::FileRef file, char delimiter, char recordEnd,
                            char* destination, int32_t counter, int32_t* status,
                            FieldFaults* faults = nullptr);

// Reads the next record of the import file into gProd.importItems and empties
// the slots it did not fill; with sepIm set, the separate file's next line goes
// into gProd.sepText. A record of more than 19 fields is read to its end and the
// fields after the 19th are dropped (with a message). Fields written in UTF-8
// are turned into Mac OS Roman; a record holding a character that Mac OS Roman
// lacks is reported and marked (gProd.importRecordBad). A record with a field
// that is no UTF-8 marks its bytes as possibly in another character set
// (qrencode::gQROrigin), so a QR Code may read them as Shift-JIS; closing the
// file clears the mark. Returns 1 when the file has ended, else 0.
int32_t GetImportItems();

// True when every field of the current record gProd.importItems is empty or
// white space only: a blank line, or one of delimiters and blanks. Such a
// record makes no symbol and no label in any run.
bool importRecordBlank();

// True when the import file gProd.vimportRef holds a record that is not blank
// after what has been read; nothing is taken from the records.
bool importRecordsLeft();

// Passes over `count` records of the import file gProd.vimportRef that are not
// blank, whole records read by the record end GetImportItems uses; with a
// separate file open, one of its lines for every record read. false when the
// file ended before.
bool skipImportRecords(int32_t count);

// Reads one line into buffer: bytes while fewer than maximum - 1 have been read
// and the last was not a CR; a final CR is removed (LF bytes are kept). Returns
// buffer, empty at the end of the file.
char* fgetsCR(char* buffer, int32_t maximum, platform::FileRef file);

// The largest import file read. Standard input is held in memory up to the same size.
constexpr int64_t kMostImportBytes = int64_t{256} << 20;
// The import file name that reads standard input (once a program run).
constexpr char kStandardInputName[] = "-";

// Opens an import file read-only and finds its record end (the first CR or LF,
// 0 when it has none), then reads it from its start, a UTF-8 byte-order mark
// passed over. Only a regular file of at most kMostImportBytes is opened, or
// standard input by kStandardInputName (read to its end first, so that finding
// the record end takes nothing from the records). noErr, or an error with the
// reason naming the path in *why.
platform::OSErr openImportFile(const std::string& posixPath, platform::FileRef* ref,
                               char* recordEnd, std::string* why = nullptr);
// Closes a file opened by openImportFile and forgets what was read ahead.
void closeImportFile(platform::FileRef ref);
// Reads a file already open from its start again, a byte-order mark passed over.
void rewindImportFile(platform::FileRef ref);

// The import settings of a run: from the script's "import" request when it gives
// a count, else from the import panel.
struct ImportSettings {
    int32_t length = 0;        // data length
    std::string file;          // the import file's POSIX path; empty: choose it
    char delimiter = ',';      // by the import mode
    char recordEnd = 13;       // the default: LF in mode 3, else CR
    std::string templateText;  // the panel's template
    int32_t templateNumber = 0;
    int32_t start = 0;  // first record, from 1
    int32_t title = 0;  // field naming the output, from 1; 0 the built data
    int32_t count = 0;  // records to make; 0 after a message (nothing is made)
};
void GetImportText(ImportSettings* settings);
// What the import panel's file field shows once a file has been chosen with the
// file box: the run then reads that chosen file (gPictOut.impoFile).
constexpr char kImportFileChosen[] = "Set";
