// Menus chosen by clicks: items, sub-menus, disabled items, pop-ups, keys.
#include "desktop_fixture.h"

#include "platform/toolbox/menus.h"

using namespace toolbox;

namespace {

constexpr int16_t kEdit = 200, kSizes = 201, kPopUp = 202;

const unsigned char* p(const char* s) { return reinterpret_cast<const unsigned char*>(s); }

}  // namespace

class MenuTest : public DesktopTest {
  protected:
    void SetUp() override {
        DesktopTest::SetUp();
        MenuHandle file = GetMenu(129);  // from the resources
        ASSERT_NE(file, nullptr);
        InsertMenu(file, 0);
        edit = NewMenu(kEdit, p("\x04"
                                "Edit"));
        AppendMenu(edit, p("\x1e"
                           "Undo/Z;(-;Cut/X;Sizes;Disabled"));
        DisableMenuItem(edit, 5);
        sizes = NewMenu(kSizes, p("\x05"
                                  "Sizes"));
        AppendMenu(sizes, p("\x12"
                            "Small;Large;<BHuge"));
        SetItemCmd(edit, 4, hMenuCmd);
        SetItemMark(edit, 4, kSizes);
        InsertMenu(edit, 0);
        InsertMenu(sizes, hierMenu);
        DrawMenuBar();
    }

    // Presses on a title, then releases at `at`: what MenuSelect answers.
    int32_t chooseFromBar(int16_t menu, qd::Point at) {
        const qd::Point title = centre(MenuTitleBounds(menu));
        SendDesktopMouse(true, title, 0);
        EventRecord down;
        EXPECT_TRUE(GetNextEvent(mDownMask, &down));
        WindowPtr w = nullptr;
        EXPECT_EQ(FindWindow(down.where, &w), inMenuBar);
        SendDesktopMouse(false, at, 0);
        return MenuSelect(down.where);
    }

    MenuHandle edit = nullptr;
    MenuHandle sizes = nullptr;
};

TEST_F(MenuTest, AReleaseOverAnItemChoosesIt) {
    EXPECT_EQ(chooseFromBar(kEdit, centre(MenuItemBounds(kEdit, 3))), (int32_t(kEdit) << 16) | 3);
    EXPECT_EQ(HilitedMenu(), kEdit);  // the caller unhilites when done
    HiliteMenu(0);
    EXPECT_EQ(chooseFromBar(129, centre(MenuItemBounds(129, 1))), (int32_t(129) << 16) | 1);
    EXPECT_TRUE(OpenMenus().empty());
}

TEST_F(MenuTest, DisabledItemsSeparatorsAndClicksOutsideChooseNothing) {
    EXPECT_EQ(chooseFromBar(kEdit, centre(MenuItemBounds(kEdit, 5))), 0);
    EXPECT_EQ(chooseFromBar(kEdit, centre(MenuItemBounds(kEdit, 2))), 0);
    EXPECT_EQ(chooseFromBar(kEdit, {500, 700}), 0);
    EXPECT_EQ(HilitedMenu(), 0);
    DisableMenuItem(edit, 0);  // the whole menu
    EXPECT_EQ(chooseFromBar(kEdit, centre(MenuItemBounds(kEdit, 1))), 0);
}

TEST_F(MenuTest, ASubMenuItemAnswersWithTheSubMenusId) {
    // Released on the parent item, the sub-menu opens beside it and stays open.
    const qd::Rect parent = MenuItemBounds(kEdit, 4);
    const qd::Rect large = MenuItemBounds(kSizes, 2);
    EXPECT_EQ(large.left, parent.right);
    EXPECT_EQ(large.top, parent.top + (large.bottom - large.top));
    SendDesktopMouse(true, centre(MenuTitleBounds(kEdit)), 0);
    EventRecord down;
    ASSERT_TRUE(GetNextEvent(mDownMask, &down));
    SendDesktopMouse(false, centre(parent), 0);
    PostEvent(EventRecord{mouseDown, 0, 0, centre(large), 0});
    PostEvent(EventRecord{mouseUp, 0, 0, centre(large), btnState});
    EXPECT_EQ(MenuSelect(down.where), (int32_t(kSizes) << 16) | 2);
}

TEST_F(MenuTest, AClickOnATitleLeavesItsMenuOpenForTheNextClick) {
    const qd::Point title = centre(MenuTitleBounds(kEdit));
    PostEvent(EventRecord{mouseUp, 0, 0, title, btnState});
    const qd::Point cut = centre(MenuItemBounds(kEdit, 3));
    PostEvent(EventRecord{mouseDown, 0, 0, cut, 0});
    PostEvent(EventRecord{mouseUp, 0, 0, cut, btnState});
    EXPECT_EQ(MenuSelect(title), (int32_t(kEdit) << 16) | 3);

    // Open with nothing more to come: the test fails fast, naming the menu.
    PostEvent(EventRecord{mouseUp, 0, 0, title, btnState});
    try {
        MenuSelect(title);
        FAIL() << "no stall";
    } catch (const ModalStall& stall) {
        EXPECT_NE(std::string(stall.what()).find("Edit"), std::string::npos);
    }
    EXPECT_TRUE(OpenMenus().empty());
    EXPECT_EQ(HilitedMenu(), 0);
}

TEST_F(MenuTest, APopUpOpensWithItsItemAtThePoint) {
    MenuHandle pop = NewMenu(kPopUp, p("\x05"
                                       "Units"));
    AppendMenu(pop, p("\x13"
                      "Inches;mm;cm;Points"));
    InsertMenu(pop, hierMenu);
    const qd::Rect second = PopUpItemBounds(pop, 300, 400, 2, 2);
    EXPECT_EQ(second.top, 300);
    EXPECT_EQ(second.left, 400);
    PostEvent(EventRecord{mouseUp, 0, 0, centre(PopUpItemBounds(pop, 300, 400, 2, 4)), btnState});
    EXPECT_EQ(PopUpMenuSelect(pop, 300, 400, 2), (int32_t(kPopUp) << 16) | 4);
    PostEvent(EventRecord{mouseUp, 0, 0, {10, 10}, btnState});
    EXPECT_EQ(PopUpMenuSelect(pop, 300, 400, 2), 0);
}

TEST_F(MenuTest, TextsMarksAndKeysSetByTheProgramHold) {
    SetMenuItemText(edit, 1,
                    p("\x09"
                      "Undo Move"));
    unsigned char text[256];
    GetMenuItemText(edit, 1, text);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(text + 1), text[0]), "Undo Move");
    CheckMenuItem(sizes, 2, true);
    unsigned char mark = 0;
    GetItemMark(sizes, 2, &mark);
    EXPECT_EQ(mark, checkMark);
    EXPECT_EQ(sizes->items[2].style, qd::bold);
    EXPECT_EQ(CountMenuItems(edit), 5);
    EXPECT_EQ(MenuKey('x'), (int32_t(kEdit) << 16) | 3);
    constexpr int32_t kQuitItem = 14;  // File's last item in the resources
    EXPECT_EQ(MenuKey('Q'), (int32_t(129) << 16) | kQuitItem);
    DisableMenuItem(edit, 3);
    EXPECT_EQ(MenuKey('x'), 0);
    DeleteMenuItem(edit, 1);
    EXPECT_EQ(CountMenuItems(edit), 4);

    MenuHandle fonts = NewMenu(203, p("\x04"
                                      "Font"));
    AppendResMenu(fonts, 0x464F4E54);
    EXPECT_GT(CountMenuItems(fonts), 0);
    for (const MenuItem& it : fonts->items) EXPECT_FALSE(it.text.empty());
}

TEST_F(MenuTest, AltAndATitlesLetterOpensItsMenu) {
    WindowPtr w = window({100, 100, 200, 300}, documentProc);
    drain();
    SendDesktopKey(w, U'e', 0, optionKey, false);
    EventRecord down;
    ASSERT_TRUE(GetNextEvent(mDownMask | keyDownMask, &down));
    ASSERT_EQ(down.what, mouseDown);
    WindowPtr hit = nullptr;
    ASSERT_EQ(FindWindow(down.where, &hit), inMenuBar);
    const qd::Point undo = centre(MenuItemBounds(kEdit, 1));
    PostEvent(EventRecord{mouseDown, 0, 0, undo, 0});
    PostEvent(EventRecord{mouseUp, 0, 0, undo, btnState});
    EXPECT_EQ(MenuSelect(down.where), (int32_t(kEdit) << 16) | 1);
    // A letter no title starts with is typed as it is.
    SendDesktopKey(w, U'z', 0, optionKey, false);
    const std::vector<EventRecord> keys = drain(keyDownMask | mDownMask);
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(keys[0].what, keyDown);
}
