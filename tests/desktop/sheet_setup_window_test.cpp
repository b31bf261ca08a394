// The sheet setup window driven through the event loop as a user drives it:
// templates picked from the list, units clicked, fields typed, OK, Cancel,
// Save and Load; the document's sheet (or the print copy) afterwards.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>

#include "app/desktop/eventLoop.h"
#include "app/desktop/localWindows.h"
#include "app/desktop/printDialogs.h"
#include "app/desktop/sheetSetupWindow.h"
#include "app/sheetSetup.h"
#include "app/world.h"
#include "desktop_fixture.h"
#include "labels/labelDoc.h"
#include "labels/printState.h"
#include "labels/runs/printWindow.h"
#include "labels/sheetTemplates.h"
#include "labels/units.h"
#include "platform/desktop.h"
#include "platform/numbers.h"
#include "platform/resources.h"
#include "support/cases.h"
#include "support/fonts.h"
#include "support/label_document.h"
#include "symbology/messages.h"
#include "sheet_windows_fixture.h"
#include "window_golden.h"

using namespace toolbox;

namespace {

constexpr int kA4ThreeByEight = 4, kLetterThreeByTen = 8;
constexpr qd::Point kListTab{318, 20}, kFieldsTab{318, 70};
constexpr qd::Point kOKButton{327, 298}, kCancelButton{327, 217};
constexpr qd::Point kLoadButton{269, 90}, kSaveButton{292, 90};
constexpr unsigned char kReturn = 13, kTab = 9, kUp = 30, kDown = 31;

// The unit marks' centres by unit.
qd::Point unitMark(int unit) {
    switch (unit) {
        case kMeasInch:
            return {206, 197};
        case kMeasPoint:
            return {206, 271};
        case kMeasCentimetre:
            return {226, 197};
        default:
            return {226, 271};
    }
}

std::string messageText(int n) {
    unsigned char text[256];
    platform::StringResourceGetString(text, 136, n);
    return std::string(reinterpret_cast<char*>(text + 1), text[0]);
}

std::string savedPath;
bool answerPut(const std::string&, std::string* path) {
    *path = savedPath;
    return true;
}
bool answerGet(const char*, std::string* path) {
    *path = savedPath;
    return true;
}

class SheetSetupWindowTest : public SheetWindowsTest {
  protected:
    void TearDown() override {
        if (gWindows.LabelWin) KillLocalWin(gWindows.LabelWin, kKillSheetWindow);
        platform::SetDialogAnswers(nullptr, nullptr, nullptr);
        SheetWindowsTest::TearDown();
    }

    // A layout of 100 x 50 point labels, 2 across and 5 down.
    static void openLayout() {
        testsupport::startLabelDocument(1000, 500, 2, 5);
        gMsg.quiet = true;
    }
    static qd::Point global(qd::Point local) { return globalIn(gWindows.LabelWin, local); }
    static void clickAt(qd::Point local) { clickIn(gWindows.LabelWin, local); }
    static void key(unsigned char ch, uint16_t modifiers = 0) {
        PostEvent(EventRecord{keyDown, ch, 0, {}, modifiers});
        settle();
    }
    static void type(const std::string& text) {
        for (char c : text) key(static_cast<unsigned char>(c));
    }
    static qd::Point fieldCentre(int n) { return centre(sheetField(n).rect); }
    static std::string fieldText(int n) { return gLocal.TELocal[n]->text; }
    static void chooseTemplate(int index) {
        clickAt(kListTab);
        clickAt({82 + 13 * index + 6, 100});
        clickAt(kFieldsTab);
    }
    // Clicks a field and types over its text.
    static void typeInto(int n, const std::string& text) {
        clickAt(fieldCentre(n));
        type(text);
    }
    static std::string sheetWords(const LabelSheet& s) {
        std::ostringstream o;
        o << s.leftMargin << ' ' << s.topMargin << ' ' << s.across << ' ' << s.down << ' '
          << s.spaceAcross << ' ' << s.spaceDown << ' ' << s.labelWidth << ' ' << s.labelHeight
          << ' ' << s.sheetWidth << ' ' << s.sheetHeight;
        return o.str();
    }
};

TEST_F(SheetSetupWindowTest, TemplatesUnitsAndTypedFieldsBecomeTheDocumentSheet) {
    for (const testsupport::CaseLine& c :
         testsupport::readCases("desktop/sheets/sheet_fields.txt", 5)) {
        SCOPED_TRACE(c.where);
        openLayout();
        gLabel.labelParts[0].reset();
        labelBack.lastItem = 6;  // stands for the layout's items: OK keeps it
        ShowLabelWin();
        ASSERT_NE(gWindows.LabelWin, nullptr);
        EXPECT_EQ(gSheetWin.glablayer, 0) << "a layout opens on the fields";
        EXPECT_EQ(gSheetWin.curLocalTE, 11) << "the focus starts on the sheet width";
        chooseTemplate(c.integer(2));
        clickAt(unitMark(c.integer(1)));
        EXPECT_EQ(gUnits.gMeasType, c.integer(1));
        std::istringstream edits(c[3]);
        for (std::string e; edits >> e;) {
            const size_t eq = e.find('=');
            typeInto(std::stoi(e.substr(0, eq)), e.substr(eq + 1));
        }
        key(kReturn);
        EXPECT_EQ(gWindows.LabelWin, nullptr) << gMsg.last;
        EXPECT_EQ(sheetWords(labelBack), c[4]);
        EXPECT_EQ(labelBack.lastItem, 6);
        EXPECT_EQ(labelBack3.labelWidth, 0u) << "the print copy is not the layout's";
        resetSheetSetupWindow();
    }
}

TEST_F(SheetSetupWindowTest, FieldsShowTheSheetAndOKWithoutChangesKeepsIt) {
    openLayout();
    labelBack.leftMargin = 200;
    labelBack.topMargin = 100;
    labelBack.across = 3 + kGutterModulus * 1;
    labelBack.down = 8;
    labelBack.spaceAcross = 50;
    labelBack.spaceDown = 30;
    labelBack.sheetWidth = 5953;
    labelBack.sheetHeight = 8419;
    const LabelSheet before = labelBack;
    gUnits.gMeasType = kMeasPoint;
    ShowLabelWin();
    EXPECT_EQ(fieldText(1), "3");
    EXPECT_EQ(fieldText(2), "8");
    EXPECT_EQ(fieldText(9), "1") << "the gutter column apart from the count";
    EXPECT_EQ(fieldText(5), "100.000000");
    EXPECT_EQ(fieldText(7), "20.000000");
    // Tab walks the fields, 12 wrapping to 1.
    EXPECT_EQ(gSheetWin.curLocalTE, 11);
    key(kTab);
    key(kTab);
    EXPECT_EQ(gSheetWin.curLocalTE, 1);
    // Typing the gutter width changes the down word's gutter only.
    typeInto(10, "5");
    EXPECT_EQ(labelBack2.down, 8 + kGutterModulus * 50);
    EXPECT_EQ(labelBack2.sheetWidth, before.sheetWidth * 1000);
    typeInto(10, "0");
    key(kReturn);
    EXPECT_EQ(gWindows.LabelWin, nullptr);
    EXPECT_EQ(sheetWords(labelBack), sheetWords(before));
}

TEST_F(SheetSetupWindowTest, ValuesTheSheetCannotHoldAreRefusedAsTheyAreTyped) {
    openLayout();
    gUnits.gMeasType = kMeasPoint;
    ShowLabelWin();
    const int beeps = platform::beepCount();
    // 4294968 points would pass 32 bits once in thousandths of a tenth.
    typeInto(5, "4294968");
    EXPECT_EQ(fieldText(5), "429496") << "the last digit is refused";
    EXPECT_EQ(labelBack2.labelWidth, 4294960000u);
    typeInto(1, "1280");
    EXPECT_EQ(fieldText(1), "128") << "a count of 1280 would wrap into the gutter";
    typeInto(9, "4000");
    EXPECT_EQ(fieldText(9), "400");
    // Letters and a second point are no part of a number.
    typeInto(6, "1a.5.");
    EXPECT_EQ(fieldText(6), "1.5");
    typeInto(2, "2.");
    EXPECT_EQ(fieldText(2), "2") << "counts are whole numbers";
    EXPECT_GE(platform::beepCount() - beeps, 5);
    EXPECT_EQ(labelBack2.across % kGutterModulus, 128u);
    EXPECT_EQ(labelBack2.across / kGutterModulus, 400u);
    // Labels of 429496 points pass any page: OK refuses them (see below).
    key(kReturn);
    EXPECT_EQ(gMsg.last.rfind(messageText(1459), 0), 0u) << gMsg.last;
    EXPECT_NE(gWindows.LabelWin, nullptr);
    EXPECT_EQ(labelBack.labelWidth, 1000u);
}

TEST_F(SheetSetupWindowTest, EachRefusalKeepsTheWindowAndTheOldSheet) {
    struct Refusal {
        int field;
        int message;
    };
    for (const Refusal r : {Refusal{5, 35}, Refusal{6, 36}, Refusal{1, 37}, Refusal{2, 38}}) {
        SCOPED_TRACE(r.message);
        openLayout();
        const LabelSheet before = labelBack;
        ShowLabelWin();
        typeInto(r.field, "0");
        gMsg.last.clear();
        key(kReturn);
        EXPECT_EQ(gMsg.last, messageText(r.message));
        ASSERT_NE(gWindows.LabelWin, nullptr) << "the window stays for a correction";
        EXPECT_EQ(sheetWords(labelBack), sheetWords(before));
        typeInto(r.field, "3");
        key(kReturn);
        EXPECT_EQ(gWindows.LabelWin, nullptr) << gMsg.last;
    }
    // A gutter column alone is no label column.
    openLayout();
    ShowLabelWin();
    typeInto(9, "1");
    typeInto(1, "0");
    key(kReturn);
    EXPECT_EQ(gMsg.last, messageText(37));
    EXPECT_NE(gWindows.LabelWin, nullptr);

    // A sheet that Save would write but opening refuses: labels past the sheet's
    // edge (two 100 point labels on 150 points), or more positions than a run
    // makes (128 x 100).
    struct Unopenable {
        const char* sheetWidth;
        const char* down;
        int message;
    };
    for (const Unopenable u : {Unopenable{"150", "5", 1457}, Unopenable{"0", "100", 1458}}) {
        SCOPED_TRACE(u.message);
        openLayout();
        gUnits.gMeasType = kMeasPoint;
        const LabelSheet before = labelBack;
        ShowLabelWin();
        typeInto(11, u.sheetWidth);
        typeInto(1, "128");
        typeInto(2, u.down);
        gMsg.last.clear();
        key(kReturn);
        EXPECT_EQ(gMsg.last.rfind(messageText(u.message), 0), 0u) << gMsg.last;
        ASSERT_NE(gWindows.LabelWin, nullptr) << "the window stays for a correction";
        EXPECT_EQ(sheetWords(labelBack), sheetWords(before));
        typeInto(1, "1");
        key(kReturn);
        EXPECT_EQ(gWindows.LabelWin, nullptr) << gMsg.last;
    }
}

TEST_F(SheetSetupWindowTest, PrintSheetModeWritesThePrintCopyEvenAfterARefusal) {
    // No layout: a sheet of single symbols, set up from the list.
    testsupport::startLabelDocument(0, 0, 0, 0);
    gMsg.quiet = true;
    ShowLabelWin();
    EXPECT_EQ(gSheetWin.printsheet, 1);
    EXPECT_EQ(gSheetWin.glablayer, 1) << "opens on the templates";
    // Down arrows walk the list; the picked template is applied.
    for (int i = 0; i <= kLetterThreeByTen; ++i) key(kDown);
    key(kUp);
    EXPECT_EQ(gSheetSetup.currentSel, kLetterThreeByTen);
    EXPECT_EQ(labelBack2.down % kGutterModulus, 10u);
    clickAt(kFieldsTab);
    typeInto(5, "0");
    key(kReturn);
    EXPECT_EQ(gMsg.last, messageText(35));
    ASSERT_NE(gWindows.LabelWin, nullptr);
    EXPECT_EQ(gSheetWin.printsheet, 1) << "a refusal keeps the window's mode";
    typeInto(5, "60");
    EXPECT_EQ(fieldText(5), "60");
    clickAt(kOKButton);
    EXPECT_EQ(gWindows.LabelWin, nullptr) << gMsg.last;
    EXPECT_EQ(gSheetWin.printsheet, 0);
    EXPECT_EQ(labelBack.labelWidth, 0u) << "the document stays without a layout";
    EXPECT_EQ(labelBack3.labelWidth / 1000, 1700u) << "60 mm in thousandths";
    EXPECT_EQ(labelBack3.across % kGutterModulus, 3u);
    EXPECT_EQ(labelBack3.down % kGutterModulus, 10u);

    // Cancelled in print-sheet mode: no sheet printing.
    ShowLabelWin();
    clickAt(kCancelButton);
    EXPECT_EQ(gWindows.LabelWin, nullptr);
    EXPECT_EQ(labelBack3.labelWidth, 0u);
}

TEST_F(SheetSetupWindowTest, WithoutATemplatesFileTheListIsEmptyAndTheSheetStays) {
    openLayout();
    gSheetSetup.templatesPath = (dir / "no such file.tmp").string();
    const LabelSheet before = labelBack;
    ShowLabelWin();
    clickAt(kListTab);
    clickAt({88, 100});
    EXPECT_EQ(labelBack2.labelWidth, before.labelWidth * 1000) << "no template applied";
    // The list area stays white: nothing is listed, nothing inverted.
    for (int v = 83; v < 300; v += 13)
        EXPECT_EQ(WindowPixel(gWindows.LabelWin, 100, v), 0xFFFFFFu) << v;
    clickAt(kFieldsTab);
    key(kReturn);
    EXPECT_EQ(sheetWords(labelBack), sheetWords(before));
}

TEST_F(SheetSetupWindowTest, ASavedFormatLoadsBack) {
    savedPath = (dir / "three up.late").string();
    openLayout();
    platform::SetDialogAnswers(answerPut, nullptr, answerGet);
    ShowLabelWin();
    chooseTemplate(kA4ThreeByEight);
    typeInto(7, "1");  // the three labels fill the sheet's width but for a millimetre
    const LabelSheet saved = labelBack2;
    clickAt(kSaveButton);
    ASSERT_TRUE(std::filesystem::exists(savedPath)) << gMsg.last;
    EXPECT_EQ(std::filesystem::file_size(savedPath), kSavedFormatBytes);
    typeInto(7, "30");
    typeInto(1, "7");
    clickAt(kLoadButton);
    EXPECT_EQ(labelBack2.leftMargin, saved.leftMargin);
    EXPECT_EQ(labelBack2.across, saved.across);
    EXPECT_EQ(fieldText(7), "0.999984") << "1 mm kept in thousandths of a tenth";
    EXPECT_EQ(fieldText(1), "3");
    clickAt(kOKButton);
    EXPECT_EQ(labelBack.leftMargin, 28u);
    EXPECT_EQ(labelBack.across, 3u);
    EXPECT_EQ(labelBack.down, 8u);
}

TEST_F(SheetSetupWindowTest, ShapeAndUnitsRedrawWhatShowsThem) {
    openLayout();
    ShowLabelWin();
    WindowPtr w = gWindows.LabelWin;
    // The millimetre mark is set, the inch mark is not.
    EXPECT_EQ(WindowPixel(w, 271, 226), 0x000000u);
    EXPECT_NE(WindowPixel(w, 197, 206), 0x000000u);
    clickAt(unitMark(kMeasInch));
    EXPECT_EQ(WindowPixel(w, 197, 206), 0x000000u);
    EXPECT_NE(WindowPixel(w, 271, 226), 0x000000u);
    EXPECT_EQ(fieldText(5), "1.388889") << "100 points in inches";
    // The shape pop-up: the third item is an oval; a pop-up closed without a
    // choice keeps the shape.
    MenuHandle shapes = NewMenu(136, reinterpret_cast<const unsigned char*>("\x05Shape"));
    AppendMenu(shapes, reinterpret_cast<const unsigned char*>("\x1dRectangle;Square;Oval;Circle"));
    InsertMenu(shapes, hierMenu);
    const qd::Point at = global({273, 185});
    PostEvent(EventRecord{mouseDown, 0, 0, global({265, 250}), 0});
    PostEvent(EventRecord{mouseUp, 0, 0, centre(PopUpItemBounds(shapes, at.v, at.h, 1, 3)), 0});
    settle();
    EXPECT_EQ(labelBack2.shapeVersion, 2);
    PostEvent(EventRecord{mouseDown, 0, 0, global({265, 250}), 0});
    PostEvent(EventRecord{mouseUp, 0, 0, {5, 5}, 0});
    settle();
    EXPECT_EQ(labelBack2.shapeVersion, 2);
}

TEST_F(SheetSetupWindowTest, OpenedFromOutsideItEditsTheSheetFromTheFirstCell) {
    openLayout();
    gPrint.startX = 0;
    gPrint.startY = 0;
    loadExternalWindow(0);
    ASSERT_NE(gWindows.LabelWin, nullptr);
    EXPECT_EQ(gSheetWin.glablayer, 0);
    EXPECT_EQ(gSheetWin.curLocalTE, 11);
    EXPECT_EQ(gPrint.startX, 1);
    EXPECT_EQ(gPrint.startY, 1);
    EXPECT_EQ(fieldText(1), "2");
    closeExternalWindow(gWindows.LabelWin, kKillSheetWindow);
    EXPECT_EQ(gWindows.LabelWin, nullptr);
    EXPECT_EQ(gLocal.TELocal[1], nullptr);
}

TEST_F(SheetSetupWindowTest, SheetSetupWindowMatchesItsGolden) {
    ASSERT_TRUE(testsupport::useTestFonts());
    openLayout();
    ShowLabelWin();
    chooseTemplate(kA4ThreeByEight);
    DrawWindowContent(gWindows.LabelWin);
    windowgolden::expectMatches(gWindows.LabelWin, "sheets/sheet_setup.png");
}

}  // namespace
