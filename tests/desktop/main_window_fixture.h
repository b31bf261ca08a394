// The main window on Qt's offscreen platform, with its handlers registered
// and the whole program reset around each test. Clicks and keys go through
// the desktop's queue and the event loop's own passes.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "app/desktop/eventLoop.h"
#include "app/desktop/mainWindow.h"
#include "app/desktop/mainWindowLayout.h"
#include "app/desktop/threeD.h"
#include "app/world.h"
#include "desktop_fixture.h"
#include "labels/labelDoc.h"
#include "labels/production.h"
#include "picture/outputstate.h"
#include "platform/questions.h"
#include "platform/toolbox/menus.h"
#include "support/reader.h"
#include "symbology/messages.h"
#include "symbology/panels.h"
#include "symbology/state.h"

class MainWindowTest : public DesktopTest {
  protected:
    void SetUp() override {
        DesktopTest::SetUp();
        resetEventLoop();
        resetWorld();
        resetTabs();
        gMsg.quiet = true;
        open();
    }
    void TearDown() override {
        disposeMainWindow();
        resetEventLoop();
        resetWorld();
        resetTabs();
        mainWindowHooks() = MainWindowHooks{};
        DesktopTest::TearDown();
    }

    // A fresh program with the window open and active.
    void reopen() {
        disposeMainWindow();
        resetEventLoop();
        resetWorld();
        resetTabs();
        gMsg.quiet = true;
        open();
    }
    static void open() {
        Create_Window();
        installMainWindow();
        gWindows.activeWindow = gWindows.wp;
        SelectWindowF(gWindows.wp);
        settle();
        clearUnhandledCalls();
    }
    // Shows pane `pane` (and its sub-tab) as the tabs would.
    static void showPane(int32_t pane, int32_t sub = 0) {
        gProd.background = pane;
        if (pane == 3) gTabs.opTab = sub;
        if (pane == 4) gPanels.colTab = sub;
        hideFields();
        doUpdate();
    }

    // Runs the loop's passes until nothing waits (bounded).
    static void settle() {
        for (int guard = 0; guard < 200 && MainEventPass(); ++guard) {
        }
    }
    static qd::Point global(qd::Point local) {
        const qd::Point o = gWindows.wp->contentOrigin;
        return {local.v + o.v, local.h + o.h};
    }
    // A click at a point of the window, through the loop.
    static void clickLocal(qd::Point local, uint16_t modifiers = 0) {
        click(global(local), modifiers);
        settle();
    }
    static void clickIn(const qd::Rect& r, uint16_t modifiers = 0) {
        clickLocal(centre(r), modifiers);
    }
    // A click on a pop-up box whose menu answers with item `item`.
    static void choose(const mainlayout::PopUp& p, toolbox::MenuHandle menu, int16_t item) {
        const qd::Point at = global({p.v, p.h});
        const qd::Rect itemBox = toolbox::PopUpItemBounds(menu, at.v, at.h, 1, item);
        toolbox::SendDesktopMouse(true, global(centre(p.box)), 0);
        toolbox::PostEvent(
            toolbox::EventRecord{toolbox::mouseUp, 0, 0, centre(itemBox), toolbox::btnState});
        settle();
    }
    static void key(unsigned char ch, uint16_t modifiers = 0) {
        toolbox::PostEvent(toolbox::EventRecord{
            toolbox::keyDown, ch, 0, {}, uint16_t(modifiers | toolbox::btnState)});
        settle();
    }
    static void type(const std::string& text) {
        for (unsigned char ch : text) key(ch);
    }
    static void pressOK() { clickIn(mainlayout::kOK); }

    // Output of each symbol into its own file of `dir`, without a preview.
    static void outputTo(const std::string& dir, int32_t kind) {
        gOut.tool = kind;
        gOut.outToFile = 1;
        gOut.fileDia = 3;
        gOut.showDia = 1;
        copyBounded(gOut.globFolS, dir.c_str());
    }
    static std::vector<std::string> filesIn(const std::string& dir) {
        std::vector<std::string> all;
        for (const auto& e : std::filesystem::directory_iterator(dir))
            all.push_back(e.path().string());
        return all;
    }
};
