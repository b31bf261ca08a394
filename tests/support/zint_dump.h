// Element runs for the families that no reader decodes, held against zint's
// module rows (zintRows) as bar and space widths.
#pragma once

#include <string>
#include <vector>

namespace testsupport {

// The runs of zint's first module row, in modules, bar first (trailing light
// modules left out). `type` is zint's barcode number, `extra` more options.
std::vector<int> zintRuns(int type, const std::string& data, const std::string& extra = "");
// The runs of the first bar row of an element list in micrometres at 100 %,
// bar first: neighbouring bytes of one kind merged, light margins left out.
std::vector<int> elementRuns(const unsigned char* chNum, int cu_len);
// Runs as narrow and wide elements: "N"/"W" bars, "n"/"w" spaces; a run above
// 1.5 times the narrowest is wide.
std::string narrowWide(const std::vector<int>& runs);

}  // namespace testsupport
