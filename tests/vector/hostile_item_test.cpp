// Items whose stored numbers lie at the ends of their fields: a document from
// anyone may hold them, and every dialect must write them without overflowing.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "doc_fixture.h"
#include "labels/labelDoc.h"
#include "symbology/appBits.h"
#include "symbology/messages.h"
#include "symbology/state.h"

namespace {

struct Extreme {
    int16_t top, left, line;
    int32_t code;
    const char* data;
};

TEST(HostileItems, FieldsAtTheirEndsWriteInEveryDialect) {
    const Extreme cases[] = {
        {10, -32000, 32767, 0, "400638133393"},
        {10, INT16_MIN, 32767, 6, "CODE 128"},
        {INT16_MIN, 32000, INT16_MIN, 6, "X"},
        {10, -32000, 32767, 4, "CODE39"},
        {INT16_MAX - 100, INT16_MAX - 200, 32767, 0, "400638133393"},
    };
    for (const Extreme& c : cases) {
        for (int ill : vectortest::kDialects) {
            SCOPED_TRACE(std::to_string(c.left) + " " + std::to_string(ill));
            vectortest::resetAll();
            gMsg.quiet = true;
            labelBack.labelWidth = 2000;
            labelBack.labelHeight = 2000;
            vectortest::addItem(kKindBarcode, c.top, c.left, int16_t(c.top + 80),
                                int16_t(c.left + 150));
            gSym.code = c.code;
            gSym.variation1 = 0;
            GetCodeText();
            gSym.line = c.line;
            copyBounded(gData.chMainCode, c.data);
            copyBounded(gData.chMainCode2, c.data);
            gData.len1 = gData.len11 = static_cast<int32_t>(std::string(c.data).size());
            setItemData(labelBack.lastItem, 4);
            gOut.ill = ill;
            int result = -1;
            const std::string doc = vectortest::writeEPSout(&result);
            EXPECT_TRUE(result != 0 || !doc.empty());
        }
    }
}

}  // namespace
