// The desktop under a user locale that writes a decimal comma. The application
// takes the user's locale when it is made; the number fields must still show a
// decimal point, or an edited value would be read only to the comma.
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/desktop/settingMenus.h"
#include "main_window_fixture.h"
#include "support/locale.h"

namespace {

constexpr int16_t kSizeMenu = 251, kHeightUnitMenu = 252;
constexpr int16_t kMillimetres = 2, kSize110 = 8;
constexpr unsigned char kBackspace = 8;

class CommaLocaleDesktop : public MainWindowTest {
  protected:
    // The user's steps in a process whose application was made under the comma
    // locale; what went wrong, empty when nothing did.
    static std::string editTheNumberFields();
};

std::string CommaLocaleDesktop::editTheNumberFields() {
    std::string wrong;
    auto expect = [&wrong](bool ok, const std::string& what) {
        if (!ok) wrong += what + "\n";
    };
    expect(std::string(std::localeconv()->decimal_point) == ".",
           "numbers are written with '" + std::string(std::localeconv()->decimal_point) + "'");

    clickIn(gPanels.TEHeight.viewRect);
    type("30.57");
    // The unit pop-up writes the height back into the field, where it is edited.
    doMenu(kMillimetres, kHeightUnitMenu);
    expect(gPanels.TEHeight.text == "30.57", "the height field shows " + gPanels.TEHeight.text);
    key(kBackspace);
    doMenu(kMillimetres, kHeightUnitMenu);
    expect(gSym.Hei == 30.5, "the edited height is " + std::to_string(gSym.Hei));
    expect(gPanels.TEHeight.text == "30.50",
           "the height field then shows " + gPanels.TEHeight.text);

    doMenu(kSize110, kSizeMenu);
    expect(gPanels.TESize.text == "110.00", "the size field shows " + gPanels.TESize.text);
    return wrong;
}

TEST_F(CommaLocaleDesktop, NumberFieldsKeepTheirDecimalPoint) {
    const testsupport::CommaLocaleEnvironment comma;
    ASSERT_TRUE(comma.ok());
    // A process of its own, started under the locale: the application takes the
    // user's locale once, as it is made.
    const std::string style = GTEST_FLAG_GET(death_test_style);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            const std::string wrong = editTheNumberFields();
            std::fputs(wrong.c_str(), stderr);
            std::exit(wrong.empty() ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
    GTEST_FLAG_SET(death_test_style, style);
}

}  // namespace
