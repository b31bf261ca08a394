// The prolog of each dialect, between "%%EndComments" and the set-up.
#include "vector/header.h"

#include "platform/resources.h"
#include "symbology/state.h"
#include "vector/Epsout.h"
#include "vector/sink.h"

void writeProlog(int id) {
    std::string_view text = platform::GetTextResource(id);
    if (text.empty()) {
        gVec.writeFailed = 1;
        return;
    }
    writeLasting(text.data(), static_cast<int32_t>(text.size()));  // compiled in
}

void bombHeader(platform::FileRef) {
    TEInsert2("%%EndComments\r");
    switch (gOut.ill) {
        case kIll11:
            writeProlog(kPrologIll11);
            break;
        case kIll88:
            writeProlog(kPrologIll88);
            TEInsert2(
                "%%EndProlog\r"
                "%%BeginSetup\r"
                "Adobe_packedarray /initialize get exec\r"
                "Adobe_cmykcolor /initialize get exec\r"
                "Adobe_cshow /initialize get exec\r"
                "Adobe_customcolor /initialize get exec\r"
                "Adobe_pattern /initialize get exec\r"
                "Adobe_Illustrator88 /initialize get exec\r");
            break;
        case kIll3:
            writeProlog(kPrologIll3);
            TEInsert2("\r");
            break;
        case kIll5:
        case kIllPress:
            writeProlog(kPrologIll5Level2);
            TEInsert2("\r");
            writeProlog(kPrologIll5Main);
            TEInsert2(
                "\r"
                "%%EndProlog\r"
                "%%BeginSetup\r"
                "Adobe_level2_AI5 /initialize get exec\r"
                "Adobe_IllustratorA_AI5_vars Adobe_IllustratorA_AI5 Adobe_typography_AI5 "
                "/initialize get exec\r"
                "Adobe_IllustratorA_AI5 /initialize get exec\r");
            writeProlog(kPrologIll5Setup);
            TEInsert2("\r");
            break;
        case kIllType3:
            writeProlog(kPrologType3);
            break;
        default:
            break;
    }
}
