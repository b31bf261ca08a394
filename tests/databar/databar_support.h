// Shared helpers of the DataBar tests: make a symbol through the dispatcher,
// read its module rows, and ask zint for the same symbol's rows.
#pragma once

#include <string>
#include <vector>

namespace dbtest {

// Resets the world, then makes code type 37 (or `code`) with the data; the
// dispatcher's result.
int make(int variant, const std::string& data, int code = 37, bool human = false);
// The module rows of the element list ('#' dark, '.' light), text row left out.
std::vector<std::string> moduleRows();
// The same rows placed across as the encoder aligned them (gRss.rowOffset),
// with the light columns that every row shares on the left taken away.
std::vector<std::string> alignedRows();
// zint --dump rows for the arguments, or an empty list (with a test failure) when
// zint is missing or refuses.
std::vector<std::string> zintRows(const std::string& args);
// A row without its light modules at either end.
std::string ink(const std::string& row);
// Rows without the light columns that all of them share on the left, and
// without light modules on the right.
std::vector<std::string> trimmed(std::vector<std::string> rows);

}  // namespace dbtest
