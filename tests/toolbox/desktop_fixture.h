// The toolbox on Qt's offscreen platform, emptied before and after each test,
// with the tests' clock.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "platform/toolbox/events.h"
#include "platform/toolbox/menus.h"
#include "platform/toolbox/qt_glue.h"
#include "platform/toolbox/windows.h"

class DesktopTest : public ::testing::Test {
  protected:
    void SetUp() override {
        toolbox::StartDesktop(nullptr, nullptr);
        ASSERT_TRUE(toolbox::OffscreenDesktop()) << "run with QT_QPA_PLATFORM=offscreen";
        clean();
        toolbox::SetTickClock(true, kStartTicks);
    }
    void TearDown() override { clean(); }

    static void clean() {
        toolbox::resetMenus();
        toolbox::resetWindows();
        toolbox::resetEvents();
    }

    static toolbox::WindowPtr window(const qd::Rect& r, int16_t procID, int32_t refCon = 0,
                                     bool goAway = true, const char* title = "\x04Test") {
        return toolbox::NewCWindow(nullptr, r, reinterpret_cast<const unsigned char*>(title), true,
                                   procID, nullptr, goAway, refCon);
    }

    // Every event waiting now, in the order they come.
    static std::vector<toolbox::EventRecord> drain(uint16_t mask = toolbox::everyEvent) {
        std::vector<toolbox::EventRecord> all;
        toolbox::EventRecord e;
        for (int guard = 0; guard < 100 && toolbox::GetNextEvent(mask, &e); ++guard)
            all.push_back(e);
        return all;
    }

    static qd::Point centre(const qd::Rect& r) {
        return {(r.top + r.bottom) / 2, (r.left + r.right) / 2};
    }

    // A click (down and up) at a global point, through the desktop.
    static void click(qd::Point p, uint16_t modifiers = 0) {
        toolbox::SendDesktopMouse(true, p, modifiers);
        toolbox::SendDesktopMouse(false, p, modifiers);
    }

    static constexpr uint32_t kStartTicks = 1000;
};
