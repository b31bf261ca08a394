// The production run's entry mode and the state the sheet writers advance.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/files.h"
#include "symbology/host.h"

constexpr size_t kRunTextSize = 256;  // the run's start, end, increment and current texts
// The most files one run writes (an import run's files, the press export's):
// a run is bounded whatever its input says.
constexpr int64_t kMostFilesPerRun = 100000;
constexpr uint16_t kMsgRunStopped = 1454;  // a signal ended the run between two files

// The fields of one import record: NUL-terminated texts, field 1 in slot 0.
constexpr int kImportFields = 20;
constexpr int kImportReadFields = 19;  // one read fills at most slots 0 to 18
constexpr size_t kImportFieldSize = 256;
using ImportRecord = char[kImportFields][kImportFieldSize];

// The script's "import" request: the import file and the run's numbers. A
// non-zero count word replaces the import panel's values.
struct ExternalImport {
    char file[kRunTextSize] = {};  // POSIX path
    int32_t length = 0;            // data length
    int32_t unused = 0;
    int32_t start = 0;       // first record, from 1
    int32_t title = 0;       // title field
    int32_t countPlus1 = 0;  // record count plus 1; 0 when no request was given
};

struct ProductionSettings {
    int32_t background = 0;  // entry mode: 0 normal, 1 serial numbers, 2 import, 3 print time

    // A run handed to the sheet writer; all zero outside such a run.
    int32_t gcite = 0;   // index of the next label from 1; non-zero while a run fills the sheet
    int32_t gemode = 0;  // 1 serial, 2 import
    int32_t gtlen = 0;   // data length
    int32_t ghnum = 0;   // record count of an import run
    int32_t gelen = 0;   // lengths of the prefix and suffix together
    int32_t gaddn = 0;   // 1: the add-on is the counter (decimal), the main data stays
    int32_t galpha = 0;  // counting base: 0 decimal, 1 base 94, 2 hexadecimal
    char gstar[kRunTextSize] = {};
    char gfini[kRunTextSize] = {};  // end value; in import runs byte 1 is the record end found
    char gincr[kRunTextSize] = {};
    char gcurr[kRunTextSize] = {};  // empty once the run has passed its end

    int32_t globlen = 0;  // characters the last GetAnyField kept

    int32_t importer = 0;  // kinds of variable data on the label being printed
    int32_t sepIm = 0;     // the separate-file switch taken from the label item

    ImportRecord importItems = {};        // the current import record
    bool importRecordBad = false;         // it holds a character Mac OS Roman lacks (reported)
    platform::FileRef vimportRef = 0;     // the open import file
    platform::FileRef vimpoRef2 = 0;      // the open separate file: one extra line a record
    char sepText[kImportFieldSize] = {};  // its current line
    ExternalImport externalImport;

    // The current record's data lost bytes in reading or building (a field or the
    // built data cut, NUL bytes left out; reported): its symbol would hold other data.
    bool importRecordChanged = false;
    int32_t importLine = 0;  // the line of the import file the current record is, from 1

    // What the last run did: symbols delivered, and symbols or records that could
    // not be made or delivered (each reported).
    int32_t runMade = 0;
    int32_t runFaults = 0;
    // The import records an import run could not make, the first few of them
    // with their reasons (Mac OS Roman), and how many there were in all.
    struct RecordFault {
        int32_t record = 0;  // its number among the file's records, from 1
        int32_t line = 0;    // its line of the file, from 1
        std::string why;
    };
    static constexpr size_t kKeptRecordFaults = 10;
    std::vector<RecordFault> recordFaults;
    int32_t recordFaultCount = 0;
    // The import record at which a run had to stop with records still to come (0: none).
    int32_t runStoppedAt = 0;
};
extern ProductionSettings gProd;

void resetProduction();

// Builds item 0's data from the current import record and its template (the
// item's serial-start field); what the template has after its first '|' builds
// the add-on, while a '|' in a field is data. Returns the data's length.
int32_t buildImportData();

// A run handed to the sheet writer (gcite non-zero), label by label. Item 0 of
// the label carries the run's data.
//
// Checks the run before the first label is written: 0 when every label can be
// filled, 1 after a message (a serial value that cannot be counted or does not
// fit the item's data field).
int32_t sheetRunCheck();
enum class SheetRun { more, last, done };
// Called after each label position: advances gcite and fills item 0 with the
// next serial value or import record. `more`: write the next position; `last`:
// write one more position, then stop (the import file ended after a record);
// `done`: stop now (the import file, or the serial count, has ended).
SheetRun sheetRunAdvance();
// Called after a sheet's last position in place of sheetRunAdvance: a serial run
// counts on to the next sheet's first value; an import run reads no record, so
// that the run gives the next record to its next sheet.
void sheetRunEndSheet();
