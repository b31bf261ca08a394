// Windows: the parts FindWindow finds in each kind, the layers, activation and
// updates.
#include "desktop_fixture.h"

using namespace toolbox;

namespace {

struct PartCase {
    int16_t procID;
    qd::Point offset;  // from the content's top left
    int16_t part;
};

}  // namespace

TEST_F(DesktopTest, FindWindowGivesEachPartOfEachKind) {
    const qd::Rect content{200, 100, 300, 300};  // 200 wide, 100 high
    const PartCase cases[] = {
        {documentProc, {50, 100}, inContent},
        {documentProc, {-kTitleBarHeight / 2, 100}, inDrag},
        {documentProc, {-kTitleBarHeight / 2, 5}, inGoAway},
        {documentProc, {95, 195}, inGrow},
        {noGrowDocProc, {95, 195}, inContent},  // no grow box
        {noGrowDocProc, {-5, 5}, inGoAway},
        {dBoxProc, {50, 100}, inContent},
        {dBoxProc, {-2, 100}, inContent},  // its frame
        {plainDBox, {-kDragBarHeight / 2, 100}, inDrag},
        {plainDBox, {-kDragBarHeight / 2, 5}, inDrag},  // no close box in the bar
        {plainDBox, {5, 5}, inContent},
    };
    for (const PartCase& c : cases) {
        WindowPtr w = window(content, c.procID);
        WindowPtr found = nullptr;
        const qd::Point at{content.top + c.offset.v, content.left + c.offset.h};
        EXPECT_EQ(FindWindow(at, &found), c.part)
            << "procID " << c.procID << " at " << at.h << "," << at.v;
        EXPECT_EQ(found, w);
        DisposeWindow(w);
    }
    WindowPtr found = reinterpret_cast<WindowPtr>(1);
    EXPECT_EQ(FindWindow({500, 700}, &found), inDesk);
    EXPECT_EQ(found, nullptr);

    MenuHandle m = NewMenu(300, reinterpret_cast<const unsigned char*>("\x04"
                                                                       "File"));
    InsertMenu(m, 0);
    DrawMenuBar();
    EXPECT_EQ(FindWindow(centre(MenuTitleBounds(300)), &found), inMenuBar);
    // A document window without close box drags from its whole title bar.
    WindowPtr plain = window(content, documentProc, 0, false);
    EXPECT_EQ(FindWindow({content.top - 5, content.left + 5}, &found), inDrag);
    EXPECT_EQ(found, plain);
}

TEST_F(DesktopTest, ClickBehindBringsDocumentForwardBelowFloatingWindows) {
    WindowPtr back = window({100, 100, 300, 400}, documentProc);
    WindowPtr front = window({150, 200, 350, 500}, documentProc);
    WindowPtr palette = window({120, 50, 400, 150}, plainDBox, 1);
    drain();
    ASSERT_EQ(FrontWindow(), palette);
    ASSERT_EQ(FrontNonFloatingWindow(), front);
    EXPECT_TRUE(front->hilited);
    EXPECT_FALSE(back->hilited);

    click({110, 300});  // in back, outside front and the palette
    EventRecord e;
    ASSERT_TRUE(GetNextEvent(mDownMask, &e));
    WindowPtr hit = nullptr;
    ASSERT_EQ(FindWindow(e.where, &hit), inContent);
    ASSERT_EQ(hit, back);
    SelectWindow(hit);

    EXPECT_EQ(WindowList(), (std::vector<WindowPtr>{palette, back, front}));
    EXPECT_EQ(FrontWindow(), palette);
    EXPECT_TRUE(back->hilited);
    EXPECT_FALSE(front->hilited);
    // The activate pair comes before the mouse-up still waiting.
    ASSERT_TRUE(GetNextEvent(everyEvent, &e));
    EXPECT_EQ(e.what, activateEvt);
    EXPECT_EQ(EventWindow(e), front);
    EXPECT_FALSE(e.modifiers & activeFlag);
    ASSERT_TRUE(GetNextEvent(everyEvent, &e));
    EXPECT_EQ(e.what, activateEvt);
    EXPECT_EQ(EventWindow(e), back);
    EXPECT_TRUE(e.modifiers & activeFlag);
    ASSERT_TRUE(GetNextEvent(everyEvent, &e));
    EXPECT_EQ(e.what, mouseUp);

    // Selecting a floating window leaves the document layer as it was.
    SelectWindow(palette);
    EXPECT_EQ(FrontNonFloatingWindow(), back);
    SendBehind(back, nullptr);
    EXPECT_EQ(WindowList(), (std::vector<WindowPtr>{palette, front, back}));
    EXPECT_EQ(FrontNonFloatingWindow(), front);
}

TEST_F(DesktopTest, UpdatesComeWhenNothingElseWaitsAndOnlyForWhatIsInvalid) {
    WindowPtr w = window({100, 100, 200, 300}, documentProc);
    std::vector<EventRecord> first = drain();
    ASSERT_FALSE(first.empty());
    // The new window asked to be drawn: the update comes after the activation.
    EXPECT_EQ(first.front().what, activateEvt);
    EXPECT_EQ(first.back().what, updateEvt);
    // Not drawn yet: the update keeps coming.
    EventRecord e;
    ASSERT_TRUE(GetNextEvent(updateMask, &e));
    qd::SetPort(w->port);
    BeginUpdate(w);
    qd::PaintRect({0, 0, 10, 10});
    EndUpdate(w);
    EXPECT_FALSE(GetNextEvent(everyEvent, &e));
    EXPECT_EQ(WindowPixel(w, 5, 5), 0x000000u);

    InvalWindowRect(w, {20, 20, 40, 40});
    EventRecord key;
    key.what = keyDown;
    key.message = 'a';
    PostEvent(key);
    ASSERT_TRUE(GetNextEvent(everyEvent, &e));
    EXPECT_EQ(e.what, keyDown);
    ASSERT_TRUE(GetNextEvent(everyEvent, &e));
    EXPECT_EQ(e.what, updateEvt);
    EXPECT_EQ(EventWindow(e), w);
    // Drawing in the update reaches only what was invalid.
    BeginUpdate(w);
    qd::PaintRect(w->portRect);
    EndUpdate(w);
    EXPECT_EQ(WindowPixel(w, 30, 30), 0x000000u);
    EXPECT_EQ(WindowPixel(w, 50, 50), 0xFFFFFFu);
    ValidWindowRect(w, w->portRect);
    EXPECT_FALSE(GetNextEvent(everyEvent, &e));
}

TEST_F(DesktopTest, WindowsMoveResizeAndDisposeCleanly) {
    WindowPtr w = window({100, 100, 200, 300}, documentProc);
    MoveWindow(w, 40, 60, false);
    EXPECT_EQ(ContentBounds(w), (qd::Rect{60, 40, 160, 240}));
    SizeWindow(w, 50, 30, true);
    EXPECT_EQ(w->portRect, (qd::Rect{0, 0, 30, 50}));
    qd::SetPort(w->port);
    qd::PaintRect({0, 0, 30, 50});
    EXPECT_EQ(WindowPixel(w, 49, 29), 0x000000u);

    // Dragging by the title bar: the mouse goes down, moves and comes up.
    PostEvent(EventRecord{mouseDown, 0, 0, {50, 100}, 0});
    PostEvent(EventRecord{mouseUp, 0, 0, {80, 130}, btnState});
    EventRecord down;
    ASSERT_TRUE(GetNextEvent(mDownMask, &down));
    DragWindow(w, down.where, DesktopBounds());
    EXPECT_EQ(ContentBounds(w).left, 70);
    EXPECT_EQ(ContentBounds(w).top, 90);

    // Events for a disposed window go with it.
    InvalWindowRect(w, w->portRect);
    DisposeWindow(w);
    EXPECT_TRUE(WindowList().empty());
    for (const EventRecord& e : drain()) EXPECT_NE(e.what, updateEvt);
}

TEST_F(DesktopTest, ModalLoopsWithNobodyToAnswerFailAtOnceNamingTheirWindow) {
    WindowPtr w = window({100, 100, 200, 300}, documentProc, 0, true, "\x06Sheets");
    drain();
    try {
        DragWindow(w, {90, 150}, DesktopBounds());
        FAIL() << "no stall";
    } catch (const ModalStall& stall) {
        EXPECT_NE(std::string(stall.what()).find("Sheets"), std::string::npos) << stall.what();
    }
    EXPECT_THROW(TrackGoAway(w, {90, 105}), ModalStall);
}

TEST_F(DesktopTest, TheWindowManagersCloseButtonIsACloseBoxClick) {
    WindowPtr w = window({100, 100, 200, 300}, documentProc);
    drain();
    DesktopCloseBox(w);
    EventRecord e;
    ASSERT_TRUE(GetNextEvent(mDownMask, &e));
    WindowPtr hit = nullptr;
    ASSERT_EQ(FindWindow(e.where, &hit), inGoAway);
    EXPECT_EQ(hit, w);
    EXPECT_TRUE(TrackGoAway(w, e.where));
}

TEST_F(DesktopTest, GrowingKeepsWithinTheSizeLimitsAndTheCloseBoxTracksItsRelease) {
    WindowPtr w = window({100, 100, 200, 300}, documentProc);  // 200 x 100
    drain();
    const qd::Rect limits{80, 120, 150, 400};  // min height 80, min width 120, max 150 x 400
    PostEvent(EventRecord{mouseUp, 0, 0, {400, 900}, btnState});
    const int32_t grown = GrowWindow(w, {195, 295}, limits);
    EXPECT_EQ(grown & 0xFFFF, 400);
    EXPECT_EQ(grown >> 16, 150);
    PostEvent(EventRecord{mouseUp, 0, 0, {195, 295}, btnState});
    EXPECT_EQ(GrowWindow(w, {195, 295}, limits), 0);  // no change

    const qd::Point box{100 - kTitleBarHeight / 2, 105};
    PostEvent(EventRecord{mouseUp, 0, 0, box, btnState});
    EXPECT_TRUE(TrackGoAway(w, box));
    PostEvent(EventRecord{mouseUp, 0, 0, {100 - kTitleBarHeight / 2, 200}, btnState});
    EXPECT_FALSE(TrackGoAway(w, box));  // let go elsewhere
}
