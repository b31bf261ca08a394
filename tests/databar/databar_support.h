// Shared helpers of the DataBar tests: make a symbol through the dispatcher and
// read its module rows ('1' dark, '0' light, as testsupport::moduleRowStrings
// and testsupport::zintRows give them).
#pragma once

#include <string>
#include <vector>

namespace dbtest {

// Resets the world, then makes code type 37 (or `code`) with the data; the
// dispatcher's result.
int make(int variant, const std::string& data, int code = 37, bool human = false);
// Resets the world, then makes DataBar `kind` (kRssLimited, kRssExpanded)
// without the dispatcher: data as the AI filter leaves it ('#' after
// variable-length fields), `segments` the option text of Expanded Stacked.
int makeDirect(int kind, int variant, const std::string& data, const std::string& segments = "",
               bool human = false);
// The module rows of the element list, the text row left out.
std::vector<std::string> moduleRows();
// The same rows placed across as the encoder aligned them (gRss.rowOffset),
// trimmed as below.
std::vector<std::string> alignedRows();
// A row without its light modules at either end.
std::string ink(const std::string& row);
// Rows without the light columns that all of them share on the left, and
// without light modules on the right.
std::vector<std::string> trimmed(std::vector<std::string> rows);

}  // namespace dbtest
