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

    // Runs the loop's passes until nothing waits (bounded).
    static void settle() {
        for (int guard = 0; guard < 50 && MainEventPass(); ++guard) {
        }
    }
    static qd::Point globalIn(toolbox::WindowPtr w, qd::Point local) {
        const qd::Point o = w->contentOrigin;
        return {local.v + o.v, local.h + o.h};
    }
    // A click at a point of the window, through the loop.
    static void clickIn(toolbox::WindowPtr w, qd::Point local) {
        ASSERT_NE(w, nullptr);
        const qd::Point g = globalIn(w, local);
        toolbox::PostEvent(toolbox::EventRecord{toolbox::mouseDown, 0, 0, g, 0});
        toolbox::PostEvent(toolbox::EventRecord{toolbox::mouseUp, 0, 0, g, 0});
        settle();
    }

    std::filesystem::path dir;
};
