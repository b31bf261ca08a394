// The sheet setup and print windows' tests: a fresh world with both windows'
// handlers installed, settings kept in a private folder removed afterwards,
// and messages kept quiet.
#pragma once

#include <cstdlib>
#include <filesystem>

#include "app/desktop/eventLoop.h"
#include "app/desktop/localWindows.h"
#include "app/desktop/printDialogs.h"
#include "app/sheetSetup.h"
#include "app/world.h"
#include "desktop_fixture.h"
#include "labels/runs/printWindow.h"
#include "symbology/messages.h"

class SheetWindowsTest : public DesktopTest {
  protected:
    void SetUp() override {
        DesktopTest::SetUp();
        char tmpl[] = "/tmp/strixel-sheetwin-XXXXXX";
        ASSERT_NE(::mkdtemp(tmpl), nullptr);
        dir = tmpl;
        setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
        resetWorld();
        resetEventLoop();
        resetSheetSetupWindow();
        installSheetAndPrintWindows();
        gMsg.quiet = true;
    }
    // Derived tests close their own window first, then call this.
    void TearDown() override {
        useDesktopPrintDialogs(false);
        gPrintWindowHooks = {};
        resetEventLoop();
        resetWorld();
        unsetenv("XDG_CONFIG_HOME");
        std::filesystem::remove_all(dir);
        DesktopTest::TearDown();
    }

    std::filesystem::path dir;
};
