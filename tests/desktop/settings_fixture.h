// The desktop on Qt's offscreen platform with a fresh world, private settings
// folders and the setting menus installed, for the menu, preferences and
// controls palette tests.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>

#include "app/desktop/eventLoop.h"
#include "app/desktop/settingMenus.h"
#include "app/world.h"
#include "desktop_fixture.h"
#include "platform/questions.h"
#include "platform/toolbox/menus.h"
#include "support/reader.h"
#include "symbology/messages.h"

class SettingsDesktop : public DesktopTest {
  protected:
    std::string config, data;
    void SetUp() override {
        DesktopTest::SetUp();
        config = testsupport::freshFolder("config");
        data = testsupport::freshFolder("data");
        setenv("XDG_CONFIG_HOME", config.c_str(), 1);
        setenv("XDG_DATA_HOME", data.c_str(), 1);
        resetWorld();
        resetEventLoop();
        resetSettingMenus();
        platform::resetQuestions();
        gMsg.quiet = true;
    }
    void TearDown() override {
        resetSettingMenus();
        resetEventLoop();
        resetWorld();
        platform::resetQuestions();
        unsetenv("XDG_CONFIG_HOME");
        unsetenv("XDG_DATA_HOME");
        DesktopTest::TearDown();
    }

    // The menu of resources/menus/<id>.txt, inserted as a pop-up.
    static toolbox::MenuHandle popUp(int16_t id) {
        toolbox::MenuHandle m = toolbox::GetMenuHandle(id);
        if (!m) {
            m = toolbox::GetMenu(id);
            if (m) toolbox::InsertMenu(m, toolbox::hierMenu);
        }
        return m;
    }
    // Pops menu id up at a fixed place, clicks item and hands the choice to the
    // menus as a window would; the choice made.
    static int32_t choose(int16_t id, int16_t item) {
        toolbox::MenuHandle m = popUp(id);
        if (!m) return 0;
        constexpr int32_t kTop = 40, kLeft = 300;
        const qd::Rect r = toolbox::PopUpItemBounds(m, kTop, kLeft, 1, item);
        toolbox::PostEvent(
            toolbox::EventRecord{toolbox::mouseUp, 0, 0, centre(r), toolbox::btnState});
        const int32_t choice = toolbox::PopUpMenuSelect(m, kTop, kLeft, 1);
        if (choice != 0) doMenu(int16_t(choice & 0xFFFF), int16_t(choice >> 16));
        return choice;
    }
    static void answer(const std::string& text, bool cancel = false) {
        platform::questionScript().textAnswers.push_back({cancel, text, 1});
    }
};
