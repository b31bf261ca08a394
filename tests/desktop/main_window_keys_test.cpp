// Keys in the main window: Option with an arrow walks the panes and their
// sub-tabs, Tab walks each pane's fields in its order, and every other key goes
// to the focused field through the filter that field takes.
#include <cstring>
#include <string>
#include <vector>

#include "app/desktop/commands.h"
#include "labels/itemFields.h"
#include "labels/labelDoc.h"
#include "labels/runs/itemOps.h"
#include "main_window_fixture.h"
#include "platform/desktop.h"

namespace {

using namespace mainlayout;

constexpr unsigned char kLeft = 28, kRight = 29, kUp = 30;

class MainWindowKeys : public MainWindowTest {
  protected:
    // A label layout of `count` items of `kind`; item `selected` selected (-1 none).
    static void layoutOf(int count, uint16_t kind, int selected) {
        labelBack.labelWidth = labelBack.labelHeight = 2000;
        for (int i = 0; i < count; ++i) {
            ASSERT_EQ(addLabelItem(), 0);
            LabelItem* it = itemAt(labelBack.lastItem);
            it->setI16(item::kind, kind);
            it->setI16(item::selected, i == selected ? 1 : 0);
        }
        if (selected >= 0) getItemData(selected);
        doUpdate();
    }
    static int32_t selectedItem() {
        for (int32_t i = 0; i <= labelBack.lastItem; ++i)
            if (itemAt(i)->i16(item::selected)) return i;
        return -1;
    }
};

struct Walk {
    int32_t pane, op, col;
    unsigned char arrow;
    int32_t toPane, toOp, toCol;
};

TEST_F(MainWindowKeys, OptionArrowsWalkThePanesAndSubTabsWrapping) {
    const Walk walks[] = {
        {0, 0, 0, kLeft, 5, 2, 1},  {5, 0, 0, kRight, 0, 0, 0}, {2, 0, 0, kRight, 3, 0, 0},
        {3, 0, 0, kRight, 3, 1, 0}, {3, 1, 0, kRight, 3, 2, 0}, {3, 2, 0, kRight, 4, 0, 0},
        {4, 0, 0, kRight, 4, 0, 1}, {4, 0, 1, kRight, 5, 0, 0}, {4, 0, 1, kLeft, 4, 0, 0},
        {4, 0, 0, kLeft, 3, 2, 1},  {3, 2, 0, kLeft, 3, 1, 0},  {3, 0, 0, kLeft, 2, 2, 1},
    };
    for (const Walk& w : walks) {
        SCOPED_TRACE(std::to_string(w.pane) + "/" + std::to_string(w.op) + "/" +
                     std::to_string(w.col) + (w.arrow == kLeft ? " left" : " right"));
        reopen();
        showPane(w.pane);
        gTabs.opTab = w.op;
        gPanels.colTab = w.col;
        key(w.arrow, toolbox::optionKey);
        EXPECT_EQ(gProd.background, w.toPane);
        EXPECT_EQ(gTabs.opTab, w.toOp);
        EXPECT_EQ(gPanels.colTab, w.toCol);
        EXPECT_EQ(gWindows.activeWindow, gWindows.wp);
    }
    // The new pane starts with its first field focused.
    reopen();
    showPane(5);
    key(kRight, toolbox::optionKey);
    EXPECT_EQ(gPanels.c_TE, 0);
    EXPECT_TRUE(gPanels.TEH.active);
    // Option with up or down changes nothing.
    key(kUp, toolbox::optionKey);
    EXPECT_EQ(gProd.background, 0);
}

struct TabOrder {
    const char* name;
    int32_t pane, sub;
    int32_t* focus;
    std::vector<int32_t> order;  // the focus after each Tab, from none
};

TEST_F(MainWindowKeys, TabWalksEachPanesFieldsInItsOrder) {
    const TabOrder orders[] = {
        {"code", 0, 0, &gPanels.c_TE, {0, 1, 2, 3, 4, 0}},
        {"serial", 1, 0, &gPanels.c_TE1, {6, 0, 7, 1, 2, 8, 6}},
        {"import", 2, 0, &gPanels.c_TE2, {-1, -1}},
        {"bars", 3, 0, &gPanels.c_TE3, {2, 13, 14, 2}},
        {"text", 3, 1, &gPanels.c_TE3, {0, 0}},
        {"dimensions without a layout", 3, 2, &gPanels.c_TE3, {-1}},
        {"ink colours", 4, 0, &gPanels.c_TE, {9, 10, 11, 12, 13, 9}},
        {"fill colours", 4, 1, &gPanels.c_TE, {9, 10, 11, 12, 9}},
        {"print time", 5, 0, &gPanels.c_TE5, {0, 1, 0}},
    };
    for (const TabOrder& o : orders) {
        SCOPED_TRACE(o.name);
        reopen();
        showPane(o.pane, o.sub);
        std::vector<int32_t> got;
        for (size_t i = 0; i < o.order.size(); ++i) {
            key('\t');
            got.push_back(*o.focus);
        }
        EXPECT_EQ(got, o.order);
        // One field at most has the caret, and it is the focused one.
        int active = 0;
        for (platform::TERec* te : {&gPanels.TEH, &gPanels.TEX, &gPanels.TESize, &gPanels.TEHeight,
                                    &gPanels.TEBWR, &gPanels.TECyan, &gPanels.TELine,
                                    &gPanels.TEBack1[6], &gPanels.TEBack3[2], &gPanels.TEBack5[0]})
            active += te->active ? 1 : 0;
        EXPECT_LE(active, 1);
        if (platform::TERec* te = focusedField()) {
            EXPECT_TRUE(te->active);
        }
    }
    // From a field outside the order the serial pane starts again at the prefix.
    reopen();
    showPane(1);
    gPanels.c_TE1 = 3;
    key('\t');
    EXPECT_EQ(gPanels.c_TE1, 6);
    // The size field is selected whole when Tab reaches it.
    reopen();
    platform::TESetText("100", 3, &gPanels.TESize);
    gPanels.c_TE = 1;
    key('\t');
    EXPECT_EQ(gPanels.c_TE, 2);
    EXPECT_EQ(gPanels.TESize.selStart, 0);
    EXPECT_EQ(gPanels.TESize.selEnd, 3);
}

TEST_F(MainWindowKeys, TabWithThePreviewActiveSelectsTheNextItem) {
    toolbox::WindowPtr preview = window({400, 400, 500, 600}, toolbox::documentProc);
    gWindows.disp2 = preview;
    layoutOf(3, kKindBarcode, 1);
    gWindows.activeWindow = preview;
    key('\t');
    EXPECT_EQ(selectedItem(), 2);
    key('\t');
    EXPECT_EQ(selectedItem(), 0);  // after the last, the first
    itemAt(0)->setI16(item::selected, 0);
    key('\t');
    EXPECT_EQ(selectedItem(), 0);  // none selected: the first

    // Option-Tab goes back and forth between the two windows.
    key('\t', toolbox::optionKey);
    EXPECT_EQ(gWindows.activeWindow, gWindows.wp);
    key('\t', toolbox::optionKey);
    EXPECT_EQ(gWindows.activeWindow, preview);
}

TEST_F(MainWindowKeys, LengthFieldsTakeDigitsAndSetTheCodeLength) {
    gSym.code = 5;
    showPane(1);
    clickIn(gPanels.TEBack1[3].viewRect);
    ASSERT_EQ(gPanels.c_TE1, 3);
    const int32_t beeps = toolbox::BeepCount();
    type("1x2");
    EXPECT_EQ(gPanels.TEBack1[3].text, "12");
    EXPECT_EQ(toolbox::BeepCount(), beeps + 1);
    EXPECT_EQ(gData.len1, 12);
    EXPECT_EQ(gSym.gglen, 12);

    // Read as decimal whatever its leading zeros, and kept within the buffers.
    struct Length {
        const char* text;
        int32_t len1;
    };
    for (const Length& l : {Length{"010", 10}, Length{"99999", 2047}, Length{"-5", 0}}) {
        SCOPED_TRACE(l.text);
        gData.len1 = 0;
        platform::TESetText(l.text, int32_t(std::strlen(l.text)), &gPanels.TEBack1[3]);
        ProcessCodeLength(&gPanels.TEBack1[3]);
        EXPECT_EQ(gData.len1, l.len1);
        EXPECT_EQ(gData.len11, l.len1);
    }
    // A length of 0 keeps the length the data has.
    gData.len1 = 7;
    platform::TESetText("0", 1, &gPanels.TEBack1[3]);
    ProcessCodeLength(&gPanels.TEBack1[3]);
    EXPECT_EQ(gData.len1, 7);
    EXPECT_EQ(gSym.gglen, 7);

    // The import pane's length field likewise; its template takes any key.
    showPane(2);
    clickIn(gPanels.TEBack2[6].viewRect);
    type("8a");
    EXPECT_EQ(gPanels.TEBack2[6].text, "8");
    EXPECT_EQ(gData.len1, 8);
    clickIn(gPanels.TEBack2[4].viewRect);
    platform::TESetText("", 0, &gPanels.TEBack2[4]);
    type("<<2>>");
    EXPECT_EQ(gPanels.TEBack2[4].text, "<<2>>");

    // The print-time pane: the repeat count takes digits, the question anything.
    showPane(5);
    clickIn(gPanels.TEBack5[1].viewRect);
    type("3q");
    EXPECT_EQ(gPanels.TEBack5[1].text, "3");
    clickIn(gPanels.TEBack5[0].viewRect);
    type("Lot?");
    EXPECT_EQ(gPanels.TEBack5[0].text, "Lot?");
}

TEST_F(MainWindowKeys, KeysGoThroughTheFiltersOrToTheLayout) {
    std::string filtered, numbers;
    mainWindowHooks().filter = [&] { filtered += char(gLoop.theChar); };
    mainWindowHooks().numeric = [&](unsigned char ch) { numbers += char(ch); };
    clickIn(gPanels.TEH.viewRect);
    type("AB");
    clickIn(gPanels.TEHeight.viewRect);
    type("12");
    showPane(3, 0);
    clickIn(gPanels.TEBack3[2].viewRect);
    type("3");
    showPane(5);
    clickIn(gPanels.TEH.viewRect);
    type("C");
    EXPECT_EQ(filtered, "ABC");
    EXPECT_EQ(numbers, "123");

    // Nothing focused: the key is the layout's.
    showPane(2);
    clearUnhandledCalls();
    key('z');
    bool toLayout = false;
    for (const LoopCall& c : unhandledCalls())
        toLayout = toLayout || (c.name == "ProcessCharsDispLocal" && c.arg == 'z');
    EXPECT_TRUE(toLayout);
}

// Return presses OK for a barcode; with a layout whose selection is not a
// barcode it is only a key.
TEST_F(MainWindowKeys, ReturnPressesOKOnlyForABarcode) {
    layoutOf(1, kKindText, 0);
    showPane(0);
    platform::TESetText("5", 1, &gPanels.TEBack1[0]);
    clickIn(gPanels.TETe1[0].viewRect);
    key('\r');
    EXPECT_EQ(gPanels.TEBack1[0].text, "5");  // OK would have emptied it

    reopen();
    layoutOf(1, kKindBarcode, 0);
    showPane(0);
    platform::TESetText("5", 1, &gPanels.TEBack1[0]);
    clickIn(gPanels.TEH.viewRect);
    key('\r');
    EXPECT_EQ(gPanels.TEBack1[0].text, "");
}

// A text item's text is typed into its field and stored in the item.
TEST_F(MainWindowKeys, ATextItemsTextIsTypedAndStored) {
    layoutOf(1, kKindText, 0);
    showPane(0);
    clickIn(gPanels.TETe1[0].viewRect);
    ASSERT_EQ(gPanels.c_TE, 0);
    type("Label");
    EXPECT_EQ(gPanels.TETe1[0].text, "Label");
    key(kLeft);
    key(kLeft);
    key(127);  // Delete takes the character after the caret
    EXPECT_EQ(gPanels.TETe1[0].text, "Labl");
    EXPECT_EQ(itemAt(0)->dataHandle.substr(0, 4), "Labl");
    // A new item's one space is typed over, wherever the click falls.
    platform::TESetText(" ", 1, &gPanels.TETe1[0]);
    clickIn(gPanels.TETe1[0].viewRect);
    type("New");
    EXPECT_EQ(gPanels.TETe1[0].text, "New");
}

// Cut, Copy and Paste with the main window active edit its focused field,
// whichever pane it is in, never the layout's selected items; a paste keeps
// only what the field's filter takes. With the layout active they are the
// layout's.
TEST_F(MainWindowKeys, EditCommandsWorkOnTheFocusedFieldNotTheLayout) {
    installCommands();
    setLoopHandler("doCmdKeyDisp", [](toolbox::WindowPtr, int32_t k) {
        doCmdKeyDisp(static_cast<char>(k));
        return 1;
    });
    layoutOf(1, kKindBarcode, 0);
    showPane(0);
    clickIn(gPanels.TEH.viewRect);
    ASSERT_EQ(gPanels.c_TE, 0);
    platform::TESetText("4006381333931", 13, &gPanels.TEH);
    platform::TESetSelect(0, 4, &gPanels.TEH);
    key('x', toolbox::cmdKey);
    EXPECT_EQ(gPanels.TEH.text, "381333931");
    EXPECT_EQ(platform::ScrapContents().text, "4006");
    EXPECT_EQ(labelBack.lastItem, 0) << "the selected barcode stays";

    // The data field's filter at the caret: an EAN-13 takes the digits alone.
    platform::ZeroScrap();
    platform::PutScrapText("12AB\r", "", 0);
    key('v', toolbox::cmdKey);
    EXPECT_EQ(gPanels.TEH.text, "12381333931");
    // The size field's own filter, not the data field's.
    clickIn(gPanels.TESize.viewRect);
    ASSERT_EQ(gPanels.c_TE, 2);
    platform::TESelectAll(&gPanels.TESize);
    platform::PutScrapText("2x5", "", 0);
    DoEditMenu(5);
    EXPECT_EQ(gPanels.TESize.text, "25");
    EXPECT_EQ(gPanels.TEH.text, "12381333931");
    platform::TESelectAll(&gPanels.TESize);
    DoEditMenu(4);
    EXPECT_EQ(platform::ScrapContents().text, "25");

    // A text item's text takes line ends, and the item keeps what was cut.
    reopen();
    installCommands();
    layoutOf(1, kKindText, 0);
    showPane(0);
    clickIn(gPanels.TETe1[0].viewRect);
    platform::PutScrapText("Best\rbefore", "", 0);
    DoEditMenu(5);
    EXPECT_EQ(itemAt(0)->dataHandle.substr(0, 11), "Best\rbefore");
    platform::TESetSelect(0, 5, &gPanels.TETe1[0]);
    DoEditMenu(3);
    EXPECT_EQ(itemAt(0)->dataHandle.substr(0, 6), "before");

    // The layout active: the edit is the layout's cut.
    gWindows.disp2 = window({300, 300, 400, 500}, toolbox::documentProc);
    gWindows.activeWindow = gWindows.disp2;
    setLoopHandler("doCmdKeyDisp", [](toolbox::WindowPtr, int32_t k) {
        doCmdKeyDisp(static_cast<char>(k));
        return 1;
    });
    itemAt(0)->setI16(item::selected, 1);
    DoEditMenu(3);
    EXPECT_EQ(labelBack.lastItem, -1);
}

}  // namespace

// The text item's scroll bar follows its text and scrolls it.
TEST_F(MainWindowKeys, TheScrollBarScrollsTheTextItemsText) {
    layoutOf(1, kKindText, 0);
    showPane(0);
    ASSERT_TRUE(gMain.TECont->visible);
    ASSERT_FALSE(gMain.ONK->visible);
    clickIn(gPanels.TETe1[0].viewRect);
    for (int line = 0; line < 12; ++line) type("line\r");
    const int32_t bottom = gPanels.TETe1[0].viewRect.bottom;
    EXPECT_GT(toolbox::GetControlValue(gMain.TECont), 0);  // it followed the caret down
    toolbox::SetControlValue(gMain.TECont, 0);
    const qd::Rect down{kScrollBar.bottom - 8, kScrollBar.left, kScrollBar.bottom,
                        kScrollBar.right};
    clickIn(down);
    EXPECT_EQ(toolbox::GetControlValue(gMain.TECont), 1);
    EXPECT_EQ(gPanels.TETe1[0].viewRect.top - gPanels.TETe1[0].destRect.top, gMain.lineHeight);
    EXPECT_EQ(gPanels.TETe1[0].viewRect.bottom, bottom);
}

// The start-up step makes the window through its handler.
TEST_F(MainWindowKeys, TheStartUpStepMakesTheWindow) {
    disposeMainWindow();
    ASSERT_EQ(gWindows.wp, nullptr);
    EXPECT_TRUE(loopHandlerRegistered("Create_Window"));
    callLoopHandler("Create_Window", nullptr, 0);
    ASSERT_NE(gWindows.wp, nullptr);
    EXPECT_EQ(gWindows.wp->portRect.width(), 140);
    EXPECT_NE(gMain.ONK, nullptr);
}
