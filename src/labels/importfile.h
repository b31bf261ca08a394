// Import files: text files of records, one symbol's data per record, split into
// fields. Reading works on a file that the run has opened (gProd.vimportRef);
// choosing and opening the file, the import panel and the separate file of
// extra lines belong to the production run.
#pragma once

#include <cstdint>

#include "platform/files.h"

// What a field read left out of the file's bytes.
struct FieldFaults {
    bool cut = false;  // the end of a field longer than its slot
    bool nul = false;  // NUL bytes, which would end the field's text early
};

// Reads one field into destination (kImportFieldSize bytes) and returns
// counter + 1. status becomes 1 when the field ended at the record end, 2 at the
// end of the file, else 0. Quotes are dropped and toggle the quoted state; in
// import mode 4 a delimiter inside quotes is data. An LF is dropped unless it is
// the record end or the mode is 3. A field longer than 255 characters keeps its
// first 255; the rest of it is read and dropped. NUL bytes are dropped. faults
// (when given) says which of the two happened.
int32_t GetNextItemFromFile(platform::FileRef file, char delimiter, char recordEnd,
                            char* destination, int32_t counter, int32_t* status,
                            FieldFaults* faults = nullptr);

// Reads the next record of the import file into gProd.importItems (at most 19
// fields; a longer record continues into the next read) and empties the slots
// it did not fill. Returns 1 when the file has ended, else 0.
int32_t GetImportItems();
