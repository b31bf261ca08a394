#include "support/symbol_data.h"

#include "platform/files.h"
#include "symbology/state.h"
#include "vector/optionsLine.h"

namespace testsupport {

void setSymbolData(const std::string& main, const std::string& addOn) {
    copyBounded(gData.chMainCode, main.c_str());
    copyBounded(gData.chMainCode2, main.c_str());
    gData.len1 = gData.len11 = static_cast<int32_t>(main.size());
    copyBounded(gData.chAddCode, addOn.c_str());
    copyBounded(gData.chAddCode2, addOn.c_str());
    gData.len2 = gData.len22 = static_cast<int32_t>(addOn.size());
}

std::string writtenOptionsLine() {
    platform::FileRef ref = platform::FSOpenMemory();
    saveAutoFormatData(ref);
    std::string out = platform::FSMemoryContents(ref);
    platform::FSClose(ref);
    return out;
}

}  // namespace testsupport
