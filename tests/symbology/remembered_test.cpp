#include <cstring>
#include <string>
#include <vector>

#include "labels/production.h"
#include "symbol_support.h"
#include "symbology/remembered.h"

namespace {

// Everything the writer reads of a symbol made by the dispatcher.
struct Made {
    SymbolSettings settings;
    SymbolData data;
    std::vector<unsigned char> elements;
    DispatchState dispatch;
    RowState rows;

    static Made now() {
        Made m;
        std::memcpy(&m.settings, &gSym, sizeof m.settings);
        std::memcpy(&m.data, &gData, sizeof m.data);
        m.elements.assign(gEl.chNum, gEl.chNum + gEl.cu_len + 1);
        m.dispatch = gDispatch;
        m.rows = gRows;
        return m;
    }
    void expectSameAs(const Made& o) const {
        EXPECT_EQ(std::memcmp(&settings, &o.settings, sizeof settings), 0);
        EXPECT_EQ(std::memcmp(&data, &o.data, sizeof data), 0);
        EXPECT_EQ(elements, o.elements);
        EXPECT_EQ(dispatch.nu, o.dispatch.nu);
        EXPECT_EQ(dispatch.iComplete, o.dispatch.iComplete);
        EXPECT_EQ(rows.glastbar[0], o.rows.glastbar[0]);
    }
};

struct Remembered : symtest::World {
    SymbolSettings settingsBefore;
    SymbolData dataBefore;

    // Sets the type and data, makes the symbol and keeps it; the made state.
    Made makeAndKeep(int32_t code, int32_t variant, const std::string& data,
                     const std::string& addOn = "") {
        gSym.code = code;
        gSym.variation1 = variant;
        symtest::setData(data, addOn);
        std::memcpy(&settingsBefore, &gSym, sizeof settingsBefore);
        std::memcpy(&dataBefore, &gData, sizeof dataBefore);
        beginSizing();
        EXPECT_EQ(STRixel(), 0);
        const Made made = Made::now();
        rememberSymbol();
        return made;
    }
    // The settings and data as the writer loads them again, the list another's.
    void loadAgainAfterAnotherSymbol() {
        symtest::make(6, 0, "OTHER-SYMBOL-IN-BETWEEN");
        std::memcpy(&gSym, &settingsBefore, sizeof gSym);
        std::memcpy(&gData, &dataBefore, sizeof gData);
    }
};

TEST_F(Remembered, ASymbolTakenBackIsTheOneTheEncoderMakes) {
    struct Case {
        int32_t code, variant;
        std::string data, addOn;
    };
    const Case cases[] = {{0, 0, "400638133393", ""},   {0, 0, "400638133393", "12345"},
                          {7, 0, "STRIXEL-100000", ""}, {5, 0, "(01)09501101530003", ""},
                          {6, 0, "ABC-123", ""},        {4, 14, "12345678", ""},
                          {10, 0, "01234567890", ""},   {1, 3, "978316148410", ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.code) + "/" + std::to_string(c.variant) + " " + c.data);
        SetUp();
        const Made made = makeAndKeep(c.code, c.variant, c.data, c.addOn);
        loadAgainAfterAnotherSymbol();
        gSym.cuHei = 12.5;  // a label item's bar height: the painters' own
        ASSERT_TRUE(recallSymbol());
        EXPECT_EQ(gSym.cuHei, 12.5);
        gSym.cuHei = made.settings.cuHei;
        Made::now().expectSameAs(made);
        // Once: the next writer makes its symbol itself.
        EXPECT_FALSE(recallSymbol());
    }
}

TEST_F(Remembered, AnythingTheEncoderReadsChangedMakesItAgain) {
    const auto changed = [&](auto change) {
        SetUp();
        makeAndKeep(0, 0, "400638133393");
        loadAgainAfterAnotherSymbol();
        change();
        return !recallSymbol();
    };
    EXPECT_TRUE(changed([] { gData.chMainCode[11] = '4'; }));
    EXPECT_TRUE(changed([] { gData.chAddCode[0] = '1'; }));
    EXPECT_TRUE(changed([] { gSym.Siz = 90; }));
    EXPECT_TRUE(changed([] { gSym.human = 0; }));
    EXPECT_TRUE(changed([] { gProd.background = 1; }));  // a serial run keeps its numbers
    EXPECT_TRUE(changed([] { resetWorld(); }));
    EXPECT_FALSE(changed([] {}));
}

TEST_F(Remembered, FamiliesWithStateOfTheirOwnAreAlwaysMadeAgain) {
    for (const auto& [code, data] :
         {std::pair{37, "0950110153000"}, std::pair{38, "ABC123"}, std::pair{40, "HELLO"}}) {
        SCOPED_TRACE(code);
        SetUp();
        makeAndKeep(code, 0, data);
        loadAgainAfterAnotherSymbol();
        EXPECT_FALSE(recallSymbol());
    }
}

}  // namespace
