// The script key "import": a production run over the records of an import file.
#pragma once

#include <string>
#include <vector>

#include "automation/outputchoice.h"

// Reads the key's value "FILE[|START[|TITLE[|COUNT]]]" into the script's import
// request: the file, the first record (from 1, default 1), the field that names
// each file (0, the default, names it after its data) and how many records to
// make (default all). The reason when it cannot be read, else empty.
std::string takeImportRequest(const std::string& value);

// Runs the import over the current settings: templ builds each symbol's data
// from the record ("<<1>>" is field 1). saveto is a folder (ending in '/', or
// one that exists) for a file a record, or the file that text lines go into.
// Empty when every record made its symbol and recordFaults stays empty; warning
// then gets what the run said while it went on (empty when nothing). Otherwise
// recordFaults gets a line for each of the first import records that could not
// be made ("import record 3 (line 3): reason"), and the result is what those
// lines leave unsaid (more such records, or a fault of the run itself).
std::string runImportRequest(const std::string& templ, const std::string& saveto,
                             const OutputChoice& choice, bool addToLines, std::string* warning,
                             std::vector<std::string>* recordFaults);
