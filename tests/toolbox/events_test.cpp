// Keys and the mouse as the desktop delivers them, the clock and the queue.
#include "desktop_fixture.h"

using namespace toolbox;

TEST_F(DesktopTest, KeysArriveAsMacOSRomanWithTheirModifiers) {
    WindowPtr w = window({100, 100, 200, 300}, documentProc);
    drain();
    SendDesktopKey(w, U's', 0, cmdKey, false);
    SendDesktopKey(w, U'\u00E9', 0, 0, false);  // é
    SendDesktopKey(w, U'x', 0, optionKey | shiftKey, true);
    SendDesktopKey(w, U'k', 0, controlKey, false);
    const std::vector<EventRecord> keys = drain(keyDownMask | autoKeyMask);
    ASSERT_EQ(keys.size(), 4u);
    EXPECT_EQ(keys[0].what, keyDown);
    EXPECT_EQ(keys[0].message & charCodeMask, uint32_t('s'));
    EXPECT_EQ(keys[0].modifiers & (cmdKey | shiftKey | optionKey | controlKey), cmdKey);
    EXPECT_EQ(keys[1].message & charCodeMask, 0x8Eu);
    EXPECT_EQ(keys[2].what, autoKey);
    EXPECT_EQ(keys[2].modifiers & (optionKey | shiftKey), optionKey | shiftKey);
    EXPECT_EQ(keys[3].modifiers & (cmdKey | controlKey), controlKey);
    EXPECT_EQ(BeepCount(), 0);
}

TEST_F(DesktopTest, ACharacterMacOSRomanLacksBeepsAndIsDropped) {
    WindowPtr w = window({100, 100, 200, 300}, documentProc);
    drain();
    SendDesktopKey(w, U'\u0142', 0, 0, false);  // ł
    SendDesktopKey(w, U'\u20AC', 0, 0, false);  // € is there (0xDB)
    const std::vector<EventRecord> keys = drain(keyDownMask);
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(keys[0].message & charCodeMask, 0xDBu);
    EXPECT_EQ(BeepCount(), 1);
}

TEST_F(DesktopTest, MouseClicksCarryGlobalPointsAndTheButtonState) {
    WindowPtr w = window({100, 100, 200, 300}, documentProc);
    drain();
    SendDesktopMouse(true, {150, 120}, shiftKey);
    EXPECT_TRUE(Button());
    qd::SetPort(w->port);
    qd::Point local;
    GetMouse(&local);
    EXPECT_EQ(local.h, 20);
    EXPECT_EQ(local.v, 50);
    EventRecord e;
    ASSERT_TRUE(GetNextEvent(everyEvent, &e));
    EXPECT_EQ(e.what, mouseDown);
    EXPECT_EQ(e.where.h, 120);
    EXPECT_EQ(e.where.v, 150);
    EXPECT_TRUE(e.modifiers & shiftKey);
    EXPECT_FALSE(e.modifiers & btnState);
    EXPECT_TRUE(StillDown());
    SendDesktopMouse(false, {150, 120}, 0);
    EXPECT_FALSE(StillDown());  // the release waits in the queue
    ASSERT_TRUE(GetNextEvent(everyEvent, &e));
    EXPECT_EQ(e.what, mouseUp);
    EXPECT_TRUE(e.modifiers & btnState);
    EXPECT_FALSE(Button());
}

TEST_F(DesktopTest, TheTestsClockRunsOnlyWhenTold) {
    EXPECT_EQ(TickCount(), kStartTicks);
    uint32_t after = 0;
    Delay(30, &after);
    EXPECT_EQ(after, kStartTicks + 30);
    EventRecord e;
    // Nothing waits: a null event at once, however long the sleep.
    EXPECT_FALSE(WaitNextEvent(everyEvent, &e, 600));
    EXPECT_EQ(e.what, nullEvent);
    EXPECT_EQ(TickCount(), kStartTicks + 30);
}

TEST_F(DesktopTest, FlushEventsStopsAtTheStopMaskAndHighLevelEventsKeepTheirData) {
    PostEvent(EventRecord{keyDown, 'a', 0, {}, 0});
    PostEvent(EventRecord{mouseDown, 0, 0, {}, 0});
    PostEvent(EventRecord{keyDown, 'b', 0, {}, 0});
    FlushEvents(keyDownMask, mDownMask);
    std::vector<EventRecord> left = drain(keyDownMask | mDownMask);
    ASSERT_EQ(left.size(), 2u);
    EXPECT_EQ(left[0].what, mouseDown);
    EXPECT_EQ(left[1].message, uint32_t('b'));

    PostHighLevelEvent(0x61657674, 0x6F646F63, "open this");
    EventRecord e;
    EXPECT_FALSE(GetNextEvent(everyEvent & ~highLevelEventMask, &e));
    ASSERT_TRUE(GetNextEvent(highLevelEventMask, &e));
    EXPECT_EQ(e.what, kHighLevelEvent);
    EXPECT_EQ(e.message, 0x61657674u);
    EXPECT_EQ(HighLevelEventData(), "open this");
}

TEST_F(DesktopTest, LosingAndGainingTheFocusSuspendsAndResumes) {
    DesktopFocus(false);
    DesktopFocus(true);
    const std::vector<EventRecord> os = drain(osMask);
    ASSERT_EQ(os.size(), 2u);
    EXPECT_EQ(os[0].message >> 24, suspendResumeMessage);
    EXPECT_EQ(os[0].message & resumeFlag, 0u);
    EXPECT_EQ(os[1].message & resumeFlag, resumeFlag);
}
