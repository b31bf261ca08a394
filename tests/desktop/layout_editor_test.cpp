// The label layout editor driven as a person would: tools picked on the
// palette, items drawn, dragged, nudged, resized and selected in the layout
// window through the event loop, on Qt's offscreen platform. After each step
// the document's item rectangles must match the session's case file, and the
// window's pixels show the frames, handles and badges where they belong.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <sstream>
#include <string>

#include "app/desktop/eventLoop.h"
#include "app/desktop/layoutDocuments.h"
#include "app/desktop/layoutPalettes.h"
#include "app/desktop/layoutWindow.h"
#include "app/desktop/localWindows.h"
#include "app/desktop/mainWindow.h"
#include "app/desktop/printDialogs.h"
#include "app/desktop/settingMenus.h"
#include "app/layoutGeometry.h"
#include "app/preferences.h"
#include "app/sheetSetup.h"
#include "app/shell.h"
#include "app/world.h"
#include "desktop_fixture.h"
#include "labels/itemFields.h"
#include "labels/labelFile.h"
#include "labels/printState.h"
#include "labels/runs/itemOps.h"
#include "labels/runs/printWindow.h"
#include "labels/units.h"
#include "picture/PICout2.h"
#include "picture/output/SetUpFiles.h"
#include "picture/textitems.h"
#include "platform/desktop.h"
#include "platform/macroman.h"
#include "platform/printing/printing.h"
#include "platform/questions.h"
#include "platform/resources.h"
#include "support/cases.h"
#include "support/label_document.h"
#include "support/reader.h"
#include "support/symbol_data.h"
#include "symbology/panels.h"
#include "symbology/appBits.h"
#include "symbology/info.h"
#include "symbology/messages.h"
#include "symbology/state.h"
#include "symbology/typeNames.h"

using namespace toolbox;

namespace {

constexpr uint32_t kBlackPixel = 0x000000;
constexpr uint32_t kBadgePixel = 0x0030E0;
constexpr uint32_t kNumberPixel = 0x505050;
constexpr int32_t kHold = 40;  // ticks a drag keeps the button down
constexpr qd::Point kPrintWindowPrintButton{242, 408};

std::string gChosenFile;  // what the open dialog answers
std::string gSaveAs;      // what the save dialog answers
int32_t gSaveAsked = 0;
std::vector<int32_t> gFileCommands;

bool answerOpen(const char*, std::string* path) {
    if (gChosenFile.empty()) return false;
    *path = gChosenFile;
    return true;
}
bool answerSave(const std::string&, std::string* path) {
    ++gSaveAsked;
    if (gSaveAs.empty()) return false;
    *path = gSaveAs;
    return true;
}

// The message boxes shown while one lives: recorded, never waiting for a person.
std::vector<std::string> gBoxes;
struct RecordedBoxes {
    RecordedBoxes() {
        gBoxes.clear();
        platform::QuestionWindows windows;
        windows.message = [](const std::string& text) { gBoxes.push_back(text); };
        platform::SetQuestionWindows(windows);
    }
    ~RecordedBoxes() { platform::SetQuestionWindows({}); }
};

struct SaveHost : ShellHost {
    bool doFile(int32_t item) override { return saveLayoutDocument(item == 3 ? 0 : 1); }
};
SaveHost gSaveHost;

class LayoutEditor : public DesktopTest {
  protected:
    void SetUp() override {
        DesktopTest::SetUp();
        resetEventLoop();
        resetWorld();
        resetLayoutWindow();
        gMsg.quiet = true;
        gChosenFile.clear();
        gSaveAs.clear();
        gSaveAsked = 0;
        gFileCommands.clear();

        layoutHost() = LayoutHost{};
        layoutHost().doFile = [](int32_t item) { gFileCommands.push_back(item); };
        installLayoutEditor();
        gEscapeClock.now = 1767225600;  // 2026-01-01 00:00 UTC
        gEscapeClock.timeZone = "UTC0";
        freshLayout();
    }
    // A new 300 by 200 point label in its window; the symbol an EAN-13.
    static void freshLayout() {
        testsupport::startLabelDocument(3000, 2000, 1, 1);
        gSym.code = 0;
        GetCodeText();
        testsupport::setSymbolData("501234567890");
        platform::SetDialogAnswers(answerSave, nullptr, answerOpen);
        setShellHost(&gSaveHost);
        gLayout.geditMode = 1;
        newLayoutDocument();
        openLayoutWindow();
        settle();
    }
    void TearDown() override {
        disposeLayoutPalettes();
        resetLayoutWindow();
        setShellHost(nullptr);
        platform::SetDialogAnswers(nullptr, nullptr, nullptr);
        resetEventLoop();
        resetWorld();
        DesktopTest::TearDown();
    }

    static void settle() {
        for (int guard = 0; guard < 60 && MainEventPass(); ++guard) {
        }
    }

    // The global point where label point (h, v) shows.
    static qd::Point at(int32_t h, int32_t v) {
        const qd::Point o = gWindows.disp2->contentOrigin;
        return {o.v + gDriver.offbar + int32_t(labelDesc.vOffset) + v * labelDesc.zoom / 100,
                o.h + int32_t(labelDesc.hOffset) + h * labelDesc.zoom / 100};
    }
    // The window pixel (local) of label point (h, v).
    static qd::Point local(int32_t h, int32_t v) {
        const qd::Point g = at(h, v);
        return {g.v - gWindows.disp2->contentOrigin.v, g.h - gWindows.disp2->contentOrigin.h};
    }
    static void post(int16_t what, qd::Point where, uint32_t when, uint16_t modifiers = 0) {
        PostEvent(EventRecord{what, 0, when, where,
                              uint16_t(modifiers | (what == mouseUp ? btnState : 0))});
    }
    // A click: the button comes up at once.
    static void click(qd::Point where, uint16_t modifiers = 0) {
        post(mouseDown, where, TickCount(), modifiers);
        post(mouseUp, where, TickCount(), modifiers);
        settle();
    }
    // A drag: the button held past the click time, released at `to`.
    static void drag(qd::Point from, qd::Point to, uint16_t modifiers = 0) {
        post(mouseDown, from, TickCount(), modifiers);
        post(mouseUp, to, TickCount() + kHold, modifiers);
        settle();
    }
    static void key(unsigned char ch) {
        PostEvent(EventRecord{keyDown, ch, TickCount(), {}, btnState});
        settle();
    }
    static void tool(int32_t h, int32_t v) {
        const qd::Point o = gWindows.ToolWin->contentOrigin;
        click({o.v + v, o.h + h});
    }

    static std::string rects() {
        std::ostringstream s;
        for (int32_t i = 0; i <= labelBack.lastItem; ++i) {
            const LabelItem& it = *gLabel.labelParts[size_t(i)];
            s << (i ? " " : "") << it.u16(item::kind) << (it.i16(item::selected) ? "*" : "") << ":"
              << it.i16(item::rectTop) << "," << it.i16(item::rectLeft) << ","
              << it.i16(item::rectBottom) << "," << it.i16(item::rectRight);
        }
        return s.str();
    }
    static Rect16 rectOf(int32_t i) {
        const LabelItem& it = *gLabel.labelParts[size_t(i)];
        return {it.i16(item::rectTop), it.i16(item::rectLeft), it.i16(item::rectBottom),
                it.i16(item::rectRight)};
    }
    static uint32_t pixel(qd::Point p) { return WindowPixel(gWindows.disp2, p.h, p.v); }
    // Redraws the whole window.
    static void redraw() {
        InvalWindowRect(gWindows.disp2, gWindows.disp2->portRect);
        settle();
    }
    // The handles of a selected item: black squares at its corners.
    static void expectHandles(int32_t i, const std::string& what) {
        const Rect16 r = rectOf(i);
        for (const qd::Point p : {local(r.left, r.top), local(r.right, r.bottom)})
            EXPECT_EQ(pixel(p), kBlackPixel) << what << " at " << p.h << "," << p.v;
    }
    // The window's content as a grey bitmap.
    static testsupport::Bitmap windowBitmap() {
        testsupport::Bitmap b;
        b.width = gWindows.disp2->portRect.width();
        b.height = gWindows.disp2->portRect.height();
        b.pixels.resize(size_t(b.width) * size_t(b.height));
        for (int y = 0; y < b.height; ++y)
            for (int x = 0; x < b.width; ++x) {
                const uint32_t c = WindowPixel(gWindows.disp2, x, y);
                b.pixels[size_t(y) * size_t(b.width) + size_t(x)] =
                    uint8_t(((c >> 16 & 0xFF) + (c >> 8 & 0xFF) + (c & 0xFF)) / 3);
            }
        return b;
    }
    static std::string slurp(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
};

std::string pngFile() {
    const std::string path = testsupport::tempPath("layout-logo.png");
    const testsupport::RunResult r = testsupport::runCommand(
        "/usr/bin/convert -size 60x30 xc:black -fill '#FF0000' -draw 'rectangle 0,0 29,14' "
        "-strip '" +
        path + "'");
    EXPECT_EQ(r.status, 0) << r.err;
    return path;
}

// The expected rectangles of each step of the session, by its name.
std::map<std::string, std::string> sessionCases() {
    std::map<std::string, std::string> m;
    for (const testsupport::CaseLine& c : testsupport::readCases("desktop/layout/session.txt", 2))
        m[c[0]] = c[1];
    return m;
}

TEST_F(LayoutEditor, EditingSession) {
    const auto cases = sessionCases();
    const auto step = [&](const std::string& name) {
        ASSERT_TRUE(cases.count(name)) << name << " | " << rects();
        EXPECT_EQ(rects(), cases.at(name)) << name;
    };
    ASSERT_NE(gWindows.disp2, nullptr);
    EXPECT_EQ(gWindows.disp2->title, "Untitled");

    // The barcode tool, dragged out from (20, 20): the symbol's own size.
    tool(30, 50);
    EXPECT_EQ(gLoop.pTool, kKindBarcode);
    drag(at(20, 20), at(120, 80));
    EXPECT_EQ(gLoop.pTool, kToolArrow) << "the tool returns to the arrow";
    step("barcode drawn");
    // A text item from a click: 100 points wide, twice its size plus 4 high.
    tool(30, 30);
    click(at(20, 150));
    testsupport::setItemText(*gLabel.labelParts[1], "Packed \\%d.%m.%Y\\");
    step("text drawn");
    // A rectangle outline, drawn from bottom right to top left.
    tool(10, 70);
    EXPECT_EQ(gLoop.pTool, kKindRect);
    drag(at(280, 70), at(200, 20));
    step("rectangle drawn");
    // An outline, though the selected text's settings were loaded in between.
    EXPECT_EQ(gLabel.labelParts[2]->i16(item::transparent), 1);
    EXPECT_EQ(gLabel.labelParts[2]->i16(item::line), 1);
    // A PNG placed with the picture tool at (200, 120).
    gChosenFile = pngFile();
    tool(10, 50);
    click(at(200, 120));
    EXPECT_EQ(gLabel.labelParts[3]->text(item::dataText), gChosenFile)
        << gMsg.last << gMsg.gerrorstr << gDisp.errorText;
    step("picture placed");

    // The barcode dragged 30 across and 10 down, then nudged by the arrows.
    const Rect16 code = rectOf(0);
    drag(at(code.left + 20, code.top + 20), at(code.left + 50, code.top + 30));
    step("barcode dragged");
    key(29), key(29), key(31), key(28), key(30), key(30);
    step("barcode nudged");
    redraw();
    expectHandles(0, "selected barcode");
    {
        // The text item's words show inside its frame.
        const Rect16 t = rectOf(1);
        int dark = 0;
        for (int32_t v = t.top + 2; v < t.bottom - 2; ++v)
            for (int32_t h = t.left + 2; h < t.right - 2; ++h)
                if ((pixel(local(h, v)) & 0xFF) < 0x80) ++dark;
        EXPECT_GT(dark, 20) << "the text is drawn";
    }
    // A barcode's corner handle resizes nothing: the click selects.
    const Rect16 moved = rectOf(0);
    drag(at(moved.right, moved.bottom), at(moved.right + 40, moved.bottom + 40));
    EXPECT_EQ(rectOf(0).right - rectOf(0).left, moved.right - moved.left) << "not resized";
    EXPECT_EQ(rectOf(0).bottom - rectOf(0).top, moved.bottom - moved.top) << "not resized";
    step("barcode corner dragged");
    // The text selected, then widened by its right handle.
    click(at(60, 160));
    const Rect16 text = rectOf(1);
    drag(at(text.right, (text.top + text.bottom) / 2), at(text.right + 50, text.top + 2));
    step("text widened");

    // A marquee round the rectangle and the picture selects those two.
    drag(at(190, 5), at(299, 199));
    step("marquee");
    alignSelectedItems(1);
    step("aligned");
    duplicateLabelItems();
    step("duplicated");
    key(8);
    step("deleted");
    doUndo();
    step("undone");
    {
        // Any item may have come back or gone: the whole window is drawn again.
        const qd::Rect all = gWindows.disp2->portRect;
        const std::vector<qd::Rect>& invalid = gWindows.disp2->updateRgn;
        EXPECT_TRUE(std::any_of(invalid.begin(), invalid.end(), [&](const qd::Rect& r) {
            return r.top <= all.top && r.left <= all.left && r.bottom >= all.bottom &&
                   r.right >= all.right;
        }));
        settle();
    }

    // The grid on: the mouse snaps down to the grid while dragging.
    gDriver.gridOn = 1;
    click(at(60, 160));  // the text alone
    const Rect16 before = rectOf(1);
    drag(at(before.left + 3, before.top + 3), at(before.left + 26, before.top + 21));
    step("grid drag");
    gDriver.gridOn = 0;

    // Zoom out, in, in again by the strip, and a scrolled view: the badges,
    // numbers and handles follow.
    gLayout.showTypes = 1;
    gLayout.iteNumbers = 1;
    const qd::Rect port = gWindows.disp2->portRect;
    const qd::Point strip{gWindows.disp2->contentOrigin.v + port.bottom - 8,
                          gWindows.disp2->contentOrigin.h};
    for (const auto& [h, zoom] : std::vector<std::pair<int32_t, int16_t>>{
             {8, 50}, {8, 50}, {24, 100}, {24, 150}, {24, 200}}) {
        click({strip.v, strip.h + h});
        EXPECT_EQ(labelDesc.zoom, zoom);
    }
    for (int16_t zoom : {50, 100, 200}) {
        labelDesc.zoom = zoom;
        ScrollDisp(gDisp.disp2Con[1], zoom == 200 ? 40 : 0);
        redraw();
        const Rect16 t = rectOf(1);
        const std::string where = "zoom " + std::to_string(zoom);
        expectHandles(1, where);
        const qd::Point badge = local(t.left, t.top);
        EXPECT_EQ(pixel({badge.v + 7, badge.h + 2}), kBadgePixel) << where;
        const qd::Point number = local(t.right, t.top);
        EXPECT_EQ(pixel({number.v + 1, number.h - 1}), kNumberPixel) << where;
    }
    step("zoomed");
    ScrollDisp(gDisp.disp2Con[1], 0);
    labelDesc.zoom = 100;
}

TEST_F(LayoutEditor, ASelectedTextItemShowsItsOwnWordsInTheTextField) {
    platform::TERec& field = gPanels.TETe1[0];
    field.text = "left over";
    gSym.customTeSize = 14;
    // A new text item: its one space in the field, selected, so the first key replaces it.
    tool(30, 30);
    click(at(20, 150));
    EXPECT_EQ(field.text, " ");
    EXPECT_EQ(field.selStart, 0);
    EXPECT_EQ(field.selEnd, 1);
    testsupport::setItemText(*gLabel.labelParts[0], "First");
    tool(30, 30);
    click(at(150, 150));
    EXPECT_EQ(field.text, " ") << "not the first item's words";
    // Selecting the first again shows its words and size; a key typed adds to them.
    click(at(30, 155));
    ASSERT_EQ(gLabel.labelParts[0]->i16(item::selected), 1);
    EXPECT_EQ(field.text, "First");
    EXPECT_EQ(gPanels.TETe1[1].text, "14");
    platform::TEInsert("!", 1, &field);
    setTextItems(field);
    EXPECT_EQ(gLabel.labelParts[0]->dataHandle, std::string("First!") + std::string(2, '\0'));
    EXPECT_EQ(gLabel.labelParts[1]->dataHandle, std::string(" ") + std::string(2, '\0'));
    // A text item without words leaves the field empty.
    gLabel.labelParts[1]->dataHandle.clear();
    gLabel.labelParts[1]->hasDataHandle = false;
    click(at(160, 155));
    EXPECT_EQ(field.text, "");
}

TEST_F(LayoutEditor, MessagesShowOverAnyLayoutAndAFailedSaveInTheBox) {
    static std::vector<std::string> boxes;
    boxes.clear();
    platform::QuestionWindows windows;
    windows.message = [](const std::string& text) { boxes.push_back(text); };
    platform::SetQuestionWindows(windows);
    struct Restore {
        ~Restore() { platform::SetQuestionWindows({}); }
    } restore;
    constexpr uint16_t kNotSaved = 1403;
    unsigned char p[256];
    platform::StringResourceGetString(p, 136, kNotSaved);
    const std::string notSaved(reinterpret_cast<const char*>(p + 1), p[0]);

    // A rectangle alone, no barcode: the text is drawn at the centre with no
    // redraw asked for.
    tool(10, 70);
    drag(at(200, 20), at(280, 70));
    Message(kNotSaved);
    settle();
    const qd::Rect port = gWindows.disp2->portRect;
    const qd::Point mid{(port.top + port.bottom) / 2, (port.left + port.right) / 2};
    EXPECT_EQ(WindowPixel(gWindows.disp2, mid.h - 180, mid.v), kBlackPixel) << "the box's edge";
    EXPECT_TRUE(boxes.empty());
    // A save that fails says so in the box, even after a symbol's error.
    gMsg.inerror = 1;
    gSaveAs = testsupport::tempPath("no-such-folder/x.labl");
    EXPECT_FALSE(saveLayoutDocument(1));
    EXPECT_EQ(boxes, std::vector<std::string>{notSaved});
    // Without a window to draw it the box says it too.
    gMsg.inerror = 0;
    disposeDisp2();
    Message(kNotSaved);
    EXPECT_EQ(boxes.size(), 2u);
}

TEST_F(LayoutEditor, SavedClosedAndReopenedThroughTheDialogs) {
    // Twice the nominal size: on a 72 dpi screen a module of 0.33 mm is less
    // than a pixel, too fine for a reader; at 200 % each module is about two.
    gSym.Siz = 200;
    tool(30, 50);
    drag(at(20, 20), at(120, 80));
    tool(30, 30);
    click(at(20, 150));
    testsupport::setItemText(*gLabel.labelParts[1], "Packed \\%d.%m.%Y\\");
    tool(10, 70);
    drag(at(200, 20), at(280, 70));
    click(at(150, 190));  // the background: nothing selected
    const std::string made = rects();

    // Save asks for a name the first time; the title follows it.
    gSaveAs = testsupport::tempPath("session.labl");
    std::filesystem::remove(gSaveAs);
    ASSERT_TRUE(saveLayoutDocument(0));
    EXPECT_EQ(gSaveAsked, 1);
    EXPECT_EQ(gWindows.disp2->title, "session.labl");
    EXPECT_FALSE(platform::gaugeRecord().open) << "the progress window closes";
    EXPECT_EQ(platform::gaugeRecord().title, "Saving Objects to File");
    ASSERT_TRUE(saveLayoutDocument(0));
    EXPECT_EQ(gSaveAsked, 1) << "a named document saves without asking";
    const std::string first = slurp(gSaveAs);

    // Closed unchanged: no question, the label gone.
    platform::questionScript().asked = 0;
    gShell.changed = 0;
    ASSERT_TRUE(closeLabelWindow());
    EXPECT_EQ(platform::questionScript().asked, 0);
    EXPECT_EQ(gWindows.disp2, nullptr);
    EXPECT_EQ(labelBack.labelWidth, 0u);
    EXPECT_EQ(labelBack.lastItem, -1);

    // A cancelled open changes nothing; then the file comes back whole.
    gChosenFile.clear();
    EXPECT_EQ(openLayoutDocument(), 0);
    EXPECT_EQ(gWindows.disp2, nullptr);
    gChosenFile = gSaveAs;
    ASSERT_EQ(openLayoutDocument(), 1);
    ASSERT_NE(gWindows.disp2, nullptr);
    EXPECT_EQ(gWindows.disp2->title, "session.labl");
    EXPECT_EQ(platform::gaugeRecord().title, "Loading Objects from File");
    settle();
    // Loaded items come back unselected.
    EXPECT_EQ(rects(), made);
    // Save As under a second name: the same bytes.
    gSaveAs = testsupport::tempPath("session-again.labl");
    ASSERT_TRUE(saveLayoutDocument(1));
    EXPECT_EQ(gSaveAsked, 2);
    EXPECT_TRUE(slurp(gSaveAs) == first) << "the second save differs";
    // A cancelled Save As writes nothing and keeps the name.
    gSaveAs.clear();
    EXPECT_FALSE(saveLayoutDocument(1));
    EXPECT_EQ(gWindows.disp2->title, "session-again.labl");

    // The barcode drawn in the window reads back.
    redraw();
    const testsupport::Decoded inWindow =
        testsupport::decode(testsupport::padBitmap(windowBitmap(), 20), "EAN-13");
    EXPECT_EQ(inWindow.text, "5012345678900");

    // And printed to PDF.
    const std::string pdf = testsupport::tempPath("session.pdf");
    gPrint.destination = print::settingsFor(pdf);
    ShowPrintWin();
    ASSERT_EQ(PrintButton(), print::kPrintNoErr) << gMsg.last;
    testsupport::Bitmap page;
    ASSERT_TRUE(testsupport::pdfPage(pdf, 300, 1, &page));
    EXPECT_EQ(testsupport::decode(page, "EAN-13").text, "5012345678900");
}

// An EPS file chosen in the layout's open dialog gives its settings, shown in
// the main window's fields as OK will use them; the layout stays.
TEST_F(LayoutEditor, AnEpsFileOpenedShowsItsSettingsInTheFields) {
    const std::string eps = testsupport::tempPath("settings.eps");
    std::ofstream(eps)
        << "%!PS-Adobe-3.0 EPSF-3.0\r%%Creator: x\r%%Title: FROM-EPS\r"
           "%%Options: {type:\"Code 128\", size:\"120\", data:\"FROM-EPS\"}\r%%EOF\r";
    gChosenFile = eps;
    EXPECT_EQ(openLayoutDocument(), 0);
    EXPECT_STREQ(gData.chMainCode, "FROM-EPS");
    EXPECT_EQ(gPanels.TEH.text, "FROM-EPS");
    EXPECT_EQ(gPanels.TESize.text, "120.00");
    EXPECT_NE(gWindows.disp2, nullptr);
}

// Saving with Option held writes the layout text export instead of the document.
// The import file asked for when the label's import item is first printed is
// the document's: the next print reads it without asking, Save writes it, and
// the saved document prints from the command line. The import box chooses it
// for the document too.
TEST_F(LayoutEditor, TheImportFileChosenAtPrintingIsTheDocumentsAndSaved) {
    const std::string records = testsupport::tempPath("layout-records.txt");
    std::ofstream(records, std::ios::binary) << "ALPHA1\rBRAVO2\r";
    static std::string sAnswer;
    static int32_t sOpenAsked;
    sAnswer = records;
    sOpenAsked = 0;
    platform::SetDialogAnswers(answerSave, nullptr, [](const char*, std::string* path) {
        ++sOpenAsked;
        *path = sAnswer;
        return !sAnswer.empty();
    });
    ASSERT_EQ(addLabelItem(), 0);
    gLabel.labelParts[0]->setI16(item::kind, kKindBarcode);
    gLabel.itRect = {40, 20, 160, 230};
    gSym = SymbolSettings{};
    ASSERT_EQ(parseCodeType("Code 128"), 1);
    copyBounded(gData.chMainCode, "<<1>>");
    copyBounded(gData.chMainCode2, "<<1>>");
    gData.len1 = gData.len11 = 0;
    gLabel.serPos = "<<1>>";
    gLabel.proMode = kProModeImport;
    gLabel.notDrawn = 0;
    setItemRect(0);
    setItemData(0, 2);
    ASSERT_TRUE(gDocFile.impoFile.empty());

    const std::string pdf = testsupport::tempPath("layout-import.pdf");
    auto showPrint = [&pdf] {
        for (int k = 0; k < 2; ++k) platform::questionScript().textAnswers.push_back({false, "1"});
        gPrint.destination = print::settingsFor(pdf);
        ShowPrintWin();
    };
    // The print window's Print button; the document now has a change to save.
    installSheetAndPrintWindows();
    setPrintDialogRunner([](QDialog&, QPrinter&) { return true; });
    showPrint();
    ASSERT_NE(gWindows.PrintWin, nullptr);
    gShell.changed = 0;
    const qd::Point o = gWindows.PrintWin->contentOrigin;
    click({o.v + kPrintWindowPrintButton.v, o.h + kPrintWindowPrintButton.h});
    setPrintDialogRunner(nullptr);
    useDesktopPrintDialogs(false);
    gPrintWindowHooks = {};
    EXPECT_EQ(gWindows.PrintWin, nullptr);
    EXPECT_EQ(sOpenAsked, 1);
    EXPECT_EQ(gDocFile.impoFile, records);
    EXPECT_EQ(gShell.changed, 1);
    showPrint();
    ASSERT_EQ(PrintButton(), print::kPrintNoErr) << gMsg.last;
    EXPECT_EQ(sOpenAsked, 1) << "the second print asks again";

    gSaveAs = testsupport::tempPath("layout-import.labl");
    std::filesystem::remove(gSaveAs);
    ASSERT_TRUE(saveLayoutDocument(1));
    std::filesystem::remove(pdf);
    const testsupport::RunResult r = testsupport::runCommand(
        "\"" STRIXEL_BINARY "\" --open '" + gSaveAs + "' '{printer:\"" + pdf + "\"}'");
    ASSERT_EQ(r.status, 0) << r.err;
    testsupport::Bitmap page;
    ASSERT_TRUE(testsupport::pdfPage(pdf, 300, 1, &page));
    EXPECT_EQ(testsupport::decode(page, "Code128").text, "ALPHA1");

    // The import box: the file chosen there is the open document's.
    const std::string other = testsupport::tempPath("layout-records-2.txt");
    std::ofstream(other, std::ios::binary) << "CHARLIE3\r";
    sAnswer = other;
    openFile();
    EXPECT_EQ(gDocFile.impoFile, other);
}

TEST_F(LayoutEditor, SavingWithOptionHeldWritesTheLayoutText) {
    tool(30, 50);
    drag(at(20, 20), at(120, 80));
    gSaveAs = testsupport::tempPath("layout-export.txt");
    gLoop.gmyEvent.modifiers = optionKey;
    EXPECT_FALSE(saveLayoutDocument(1)) << "the layout itself is not saved";
    gLoop.gmyEvent.modifiers = 0;
    EXPECT_EQ(slurp(gSaveAs).rfind("<Label|", 0), 0u);
    EXPECT_NE(slurp(gSaveAs).find("\r<Barcode|"), std::string::npos);
    EXPECT_EQ(gWindows.disp2->title, "Untitled");
    ASSERT_TRUE(saveLayoutDocument(1));
    EXPECT_NE(slurp(gSaveAs).rfind("<Label|", 0), 0u) << "the binary document";
}

TEST_F(LayoutEditor, ChangedLayoutAsksBeforeEitherCloseDiscardsIt) {
    tool(10, 70);
    drag(at(200, 20), at(280, 70));
    ASSERT_EQ(gShell.changed, 1) << "a click in the layout changes it";
    // The window's close box: "Don't save" closes without writing.
    platform::questionScript().askerAnswers = {1};
    const qd::Rect frame = ContentBounds(gWindows.disp2);
    click({frame.top - kTitleBarHeight / 2, frame.left + kGoAwayWidth / 2});
    EXPECT_EQ(platform::questionScript().asked, 1) << "the close box asks";
    EXPECT_EQ(gWindows.disp2, nullptr);
    EXPECT_EQ(gSaveAsked, 0);

    // The drag bar's close box: "Save" saves through the dialog, then closes.
    freshLayout();
    tool(10, 70);
    drag(at(200, 20), at(280, 70));
    platform::questionScript().askerAnswers = {0};
    gSaveAs = testsupport::tempPath("asked.labl");
    std::filesystem::remove(gSaveAs);
    const qd::Point o = gWindows.disp2->contentOrigin;
    click({o.v + 5, o.h + 5});
    EXPECT_EQ(gSaveAsked, 1);
    EXPECT_TRUE(std::filesystem::exists(gSaveAs));
    EXPECT_EQ(gWindows.disp2, nullptr);

    // A save that is cancelled keeps the window and its items.
    freshLayout();
    tool(10, 70);
    drag(at(200, 20), at(280, 70));
    platform::questionScript().askerAnswers = {0};
    gSaveAs.clear();
    const qd::Point o2 = gWindows.disp2->contentOrigin;
    click({o2.v + 5, o2.h + 5});
    EXPECT_NE(gWindows.disp2, nullptr);
    EXPECT_EQ(labelBack.lastItem, 0);
}

TEST_F(LayoutEditor, PaletteToolsRotationLockAndTabs) {
    // The outline and filled halves of the rectangle button.
    tool(10, 70);
    EXPECT_EQ(gLoop.pTool, kKindRect);
    EXPECT_EQ(gSym.transpar_ent, 1);
    EXPECT_EQ(gLayoutPanels.background, 4) << "shapes show the colour panel";
    tool(20, 70);
    EXPECT_EQ(gLoop.pTool, kKindRectFilled);
    EXPECT_EQ(gSym.transpar_ent, 0);
    tool(30, 30);
    EXPECT_EQ(gLayoutPanels.background, 0);
    // Rotation: a text at 270 degrees turns to 0 and the tool returns to the arrow.
    click(at(20, 150));
    getItemData(0);
    gSym.orient = 270;
    setItemData(0, 1);
    tool(10, 110);
    EXPECT_EQ(gLoop.pTool, kToolArrow);
    getItemData(0);
    EXPECT_EQ(gSym.orient, 0);
    // The lock twice leaves it as it was; locked items are not dragged.
    const int32_t lock = gPrefs.iLock;
    tool(20, 170);
    EXPECT_EQ(gPrefs.iLock, 1 - lock);
    const Rect16 before = rectOf(0);
    drag(at(before.left + 5, before.top + 5), at(before.left + 50, before.top + 50));
    EXPECT_EQ(rectOf(0).left, before.left) << "locked";
    tool(20, 170);
    EXPECT_EQ(gPrefs.iLock, lock);
    // The shape menu's first item fills the label; at 100 items it adds nothing.
    gLoop.pTool = kKindOval;
    doShapeMenu(1);
    EXPECT_EQ(labelBack.lastItem, 1);
    EXPECT_EQ(rectOf(1).bottom, 195);
    EXPECT_EQ(gLoop.pTool, kToolArrow);
    while (labelBack.lastItem + 1 < kMaxLabelItems) ASSERT_EQ(addLabelItem(), 0);
    gLoop.pTool = kKindOval;
    doShapeMenu(1);
    EXPECT_EQ(labelBack.lastItem, kMaxLabelItems - 1);
    EXPECT_EQ(gLoop.pTool, kToolArrow);
    // The tab bar runs the File commands.
    const qd::Point tabs = gWindows.TabWin->contentOrigin;
    for (int32_t h : {100, 150, 190, 10}) click({tabs.v + 15, tabs.h + h});
    EXPECT_EQ(gFileCommands, (std::vector<int32_t>{2, 9, 3, 14}));
    // The palettes draw: the current tool's button pressed.
    InvalWindowRect(gWindows.ToolWin, gWindows.ToolWin->portRect);
    settle();
    EXPECT_NE(WindowPixel(gWindows.ToolWin, 15, 30), WindowPixel(gWindows.ToolWin, 35, 30))
        << "the arrow's button is drawn pressed";
}

constexpr int16_t kRetailMenu = 238, kEan13Item = 1;
constexpr uint32_t kFramePixel = 0x505050;  // the frame of an item not drawn
constexpr int16_t kIndustrialMenu = 239, kCode128Item = 2, kCode39Item = 1;

TEST_F(LayoutEditor, ACodeTypeThatRefusesTheSelectedItemsDataIsToldOnceAndLeavesIt) {
    RecordedBoxes boxes;
    tool(30, 50);
    drag(at(20, 110), at(120, 180));  // an EAN-13 beside it, drawn each time
    tool(30, 50);
    drag(at(20, 20), at(120, 80));
    LabelItem& code = *gLabel.labelParts[1];
    ASSERT_EQ(code.i16(item::selected), 1);
    doMenu(kCode128Item, kIndustrialMenu);
    code.setText(item::dataText, std::string("STRIXEL-128 X") + kVT + kVT);
    code.setU32(item::len1, 13);
    redraw();
    ASSERT_TRUE(gBoxes.empty()) << gBoxes[0];
    const auto before = code.rec;

    // Letters refused by EAN-13: one box, and the item keeps its type and data
    // however often the layout is drawn.
    doMenu(kEan13Item, kRetailMenu);
    for (int pass = 0; pass < 5; ++pass) redraw();
    ASSERT_EQ(gBoxes.size(), 1u);
    EXPECT_NE(gBoxes[0].find("EAN-UCC 13 data may hold digits only"), std::string::npos)
        << gBoxes[0];
    EXPECT_TRUE(code.rec == before) << "the item is as it was";
    EXPECT_EQ(gSym.code, code.i16(item::code)) << "the panels show the item's own type";
    // A type that takes the data applies.
    doMenu(kCode39Item, kIndustrialMenu);
    redraw();
    EXPECT_EQ(gBoxes.size(), 1u);
    EXPECT_EQ(code.i16(item::code), 6);
}

TEST_F(LayoutEditor, AnOpenedItemItsTypeRefusesIsToldOnceThenFramedUntilItChanges) {
    tool(30, 50);
    drag(at(20, 110), at(120, 180));
    tool(30, 50);
    drag(at(20, 20), at(120, 80));
    // An EAN-13 item holding letters, as a hand-made or older file may.
    LabelItem& code = *gLabel.labelParts[1];
    code.setText(item::dataText, std::string("Strixel-128 x") + kVT + kVT);
    code.setU32(item::len1, 13);
    click(at(150, 190));
    gSaveAs = testsupport::tempPath("refused.labl");
    ASSERT_TRUE(saveLayoutDocument(1));
    gShell.changed = 0;
    ASSERT_TRUE(closeLabelWindow());

    RecordedBoxes boxes;
    gChosenFile = gSaveAs;
    ASSERT_EQ(openLayoutDocument(), 1);
    settle();
    for (int pass = 0; pass < 5; ++pass) redraw();
    ASSERT_EQ(gBoxes.size(), 1u);
    EXPECT_NE(gBoxes[0].find("may hold digits only"), std::string::npos) << gBoxes[0];
    const Rect16 r = rectOf(1);
    const auto edge = [&] { return pixel(local(r.left, (r.top + r.bottom) / 2)); };
    EXPECT_EQ(edge(), kFramePixel) << "a frame keeps the item in sight";
    // Digits again: drawn, the frame gone; letters once more are told again.
    LabelItem& opened = *gLabel.labelParts[1];
    opened.setText(item::dataText, std::string("501234567890") + kVT + kVT);
    opened.setU32(item::len1, 12);
    redraw();
    EXPECT_EQ(gBoxes.size(), 1u);
    EXPECT_NE(edge(), kFramePixel);
    opened.setText(item::dataText, std::string("5O1234567890") + kVT + kVT);
    redraw();
    redraw();
    EXPECT_EQ(gBoxes.size(), 2u);
}

TEST_F(LayoutEditor, UndoBringsADeletedItemBackAfterAnEmptyDeleteOrAClick) {
    tool(10, 70);
    drag(at(200, 20), at(280, 70));
    const std::string made = rects();
    key(8);
    ASSERT_EQ(labelBack.lastItem, -1);
    key(8);  // nothing selected: nothing to keep
    doUndo();
    settle();
    EXPECT_EQ(rects(), made);
    key(127);
    ASSERT_EQ(labelBack.lastItem, -1);
    click(at(100, 150));  // the empty label
    doUndo();
    settle();
    EXPECT_EQ(rects(), made);
    // Selecting keeps the undo copy; a move replaces it.
    click(at(150, 190));
    click(at(220, 35));
    drag(at(220, 35), at(240, 45));
    click(at(150, 190));
    const std::string moved = rects();
    ASSERT_EQ(moved, "6:30,220,80,300") << "moved";
    doUndo();
    settle();
    EXPECT_EQ(rects(), made);
    doUndo();
    EXPECT_EQ(rects(), moved) << "a second undo redoes";
}

// An undo that changes the selection shows the item it selected in the panels,
// so that OK or a typed size changes the item they name, not the one loaded before.
TEST_F(LayoutEditor, UndoAndRedoShowTheSelectedItemInThePanels) {
    tool(30, 50);
    drag(at(20, 20), at(120, 80));
    tool(30, 50);
    drag(at(150, 110), at(250, 180));
    LabelItem& code128 = *gLabel.labelParts[0];
    code128.setI16(item::code, 5);
    code128.setText(item::dataText, std::string("CODE 128 ITEM") + kVT + kVT);
    code128.setU32(item::len1, 13);
    const auto dataShown = [] { return std::string(gData.chMainCode); };

    const Rect16 first = rectOf(0);
    click(at(first.left + 20, first.top + 20));
    drag(at(first.left + 20, first.top + 20), at(first.left + 40, first.top + 30));
    const Rect16 second = rectOf(1);
    click(at(second.left + 20, second.top + 20));
    ASSERT_EQ(dataShown(), "501234567890");
    doUndo();
    settle();
    ASSERT_EQ(gLabel.labelParts[0]->i16(item::selected), 1) << rects();
    EXPECT_EQ(gSym.code, 5);
    EXPECT_EQ(dataShown(), "CODE 128 ITEM");
    EXPECT_EQ(gLabel.curIteTyp, 1);
    EXPECT_EQ(gLabel.gSelRect.left, first.left) << "the selection is the item undone";
    EXPECT_EQ(gLabel.gSelRect.top, first.top);
    doUndo();
    settle();
    EXPECT_EQ(gSym.code, 0) << "redone: the second item is selected again";
    EXPECT_EQ(dataShown(), "501234567890");
    EXPECT_EQ(gLabel.gSelRect.left, second.left);
}

// Every edit outside a click in the layout keeps its own undo copy: Undo takes
// back that edit alone, never the rectangle drawn just before it, and a second
// Undo makes the edit again.
TEST_F(LayoutEditor, UndoTakesBackAnEditMadeOutsideTheLayoutAloneAndRedoesIt) {
    tool(30, 50);
    drag(at(20, 20), at(120, 80));  // the barcode, 501234567890
    tool(30, 30);
    click(at(20, 150));  // a text item
    testsupport::setItemText(*gLabel.labelParts[1], "Turn me");
    tool(10, 70);
    drag(at(200, 20), at(280, 70));  // a rectangle
    const qd::Point barcode = at(40, 40), text = at(30, 155), rectangle = at(220, 35);
    int32_t drawn = 0;
    const auto undoneAlone = [&](const char* name, std::optional<qd::Point> target,
                                 const std::function<void()>& edit) {
        // The last edit Undo recorded: a new small rectangle, then a selecting click.
        const int32_t left = 130 + 30 * drawn++;
        tool(10, 70);
        drag(at(left, 100), at(left + 20, 120));
        click(at(150, 195));
        if (target) click(*target);
        const std::string before = documentBytes();
        const int32_t items = labelBack.lastItem;
        edit();
        settle();
        const std::string after = documentBytes();
        ASSERT_TRUE(after != before) << name << " changed nothing";
        doUndo();
        settle();
        EXPECT_EQ(labelBack.lastItem, items) << name << ": the rectangle drawn before stays";
        EXPECT_TRUE(documentBytes() == before) << name << " undone: " << rects();
        doUndo();
        settle();
        EXPECT_TRUE(documentBytes() == after) << name << " redone: " << rects();
    };
    undoneAlone("arrow key", rectangle, [] { key(29); });
    undoneAlone("typed text", text, [] {
        gPanels.c_TE = 0;
        doKeysMain('X', 0);
    });
    undoneAlone("OK with new data", barcode, [] {
        platform::TESetText("400638133393", 12, &gPanels.TEH);
        doOKButton();
    });
    constexpr int16_t kAlignMenu = 141, kLineSizeMenu = 147, kShapeMenu = 146;
    constexpr int16_t kCentreAcross = 1, kEightPoints = 6, kFillLabel = 1;
    undoneAlone("line width menu", rectangle, [] { doMenu(kEightPoints, kLineSizeMenu); });
    undoneAlone("alignment", rectangle, [] { doMenu(kCentreAcross, kAlignMenu); });
    undoneAlone("rotate tool", text, [] { tool(10, 110); });
    settingMenuHooks().doShapeMenu = [](int32_t item) { doShapeMenu(item); };
    undoneAlone("shape filling the label", std::nullopt, [] {
        gLoop.pTool = kKindOval;
        doMenu(kFillLabel, kShapeMenu);
    });
    gUnits.gMeasType = kMeasPoint;  // the document keeps its unit
    undoneAlone("sheet setup", std::nullopt, [] {
        beginSheetSetup();
        ASSERT_TRUE(storeSheetField(5, "400", &labelBack2));
        ASSERT_TRUE(storeSheetField(6, "250", &labelBack2));
        std::string why;
        ASSERT_EQ(applySheetSetup(&why), 0) << why;
    });
}

TEST_F(LayoutEditor, TheTitleShowsAFileNameInAnyLetters) {
    for (const auto& [name, shown] : std::vector<std::pair<std::string, std::string>>{
             {"odd n\xC3\xA4me.labl", "odd n\xC3\xA4me.labl"},
             {"\xE5\x90\x8D \xC3\xA4.labl", "? \xC3\xA4.labl"}}) {
        gSaveAs = testsupport::tempPath(name);
        ASSERT_TRUE(saveLayoutDocument(1));
        EXPECT_EQ(platform::macRomanToUtf8(gWindows.disp2->title), shown);
        gShell.changed = 0;
        ASSERT_TRUE(closeLabelWindow());
        gChosenFile = gSaveAs;
        ASSERT_EQ(openLayoutDocument(), 1);
        EXPECT_EQ(platform::macRomanToUtf8(gWindows.disp2->title), shown) << "opened";
    }
}

// A message longer than one line of the layout's error box wraps inside it:
// the box grows to hold every line and nothing is drawn past its sides.
TEST_F(LayoutEditor, ALongMessageWrapsInsideTheErrorBox) {
    const qd::Rect port = gWindows.disp2->portRect;
    const int32_t left = (port.left + port.right - 360) / 2, right = left + 360;
    const int32_t mid = (port.top + port.bottom) / 2;
    const auto dark = [](uint32_t rgb) {  // text is smoothed: its ink is not all black
        return (rgb >> 16 & 0xFF) < 0x80 && (rgb >> 8 & 0xFF) < 0x80 && (rgb & 0xFF) < 0x80;
    };
    const auto inkBeside = [&] {  // ink just past each side, over the box's rows
        int n = 0;
        for (int32_t v = mid - 60; v < mid + 60; ++v)
            for (int32_t d = 2; d < 40; ++d)
                n += dark(WindowPixel(gWindows.disp2, left - d, v)) +
                     dark(WindowPixel(gWindows.disp2, right + d, v));
        return n;
    };
    const auto boxHeight = [&] {  // the frame's left side
        int32_t n = 0;
        for (int32_t v = port.top; v < port.bottom; ++v)
            n += WindowPixel(gWindows.disp2, left, v) == kBlackPixel;
        return n;
    };
    redraw();
    const int plain = inkBeside();
    copyBounded(gMsg.gerrorstr, "The data is refused");
    redraw();
    const int32_t oneLine = boxHeight();
    const std::string longText =
        "The labels do not fit on the sheet, so the sheet was not set up. Make the labels, "
        "margins or gaps smaller, or the sheet larger. (the sheet is 210.0 x 297.0 mm; its "
        "50 x 7 labels need 3175.0 x 296.3 mm)";
    copyBounded(gMsg.gerrorstr, longText.c_str());
    redraw();
    EXPECT_GE(boxHeight() - oneLine, 2 * 10) << "two more lines at least";
    EXPECT_EQ(inkBeside(), plain) << "nothing runs past the frame";
}

TEST_F(LayoutEditor, ShiftDragKeepsOneAxisZoomStopsAndRulerBandCyclesUnits) {
    tool(10, 70);
    drag(at(100, 100), at(150, 140));
    ASSERT_EQ(rectOf(0).left, 100);
    // Shift held: the larger movement (across) alone counts.
    drag(at(120, 120), at(160, 130), shiftKey);
    EXPECT_EQ(rectOf(0).left, 140);
    EXPECT_EQ(rectOf(0).top, 100);
    drag(at(150, 110), at(155, 150), shiftKey);
    EXPECT_EQ(rectOf(0).left, 140);
    EXPECT_EQ(rectOf(0).top, 140);
    // Dragged far past the label's left edge, it stops with 8 points on the
    // label, where a click still finds it.
    drag(at(160, 160), at(-140, 160));
    EXPECT_EQ(rectOf(0).right, 8);
    EXPECT_EQ(rectOf(0).right - rectOf(0).left, 50);
    click(at(150, 190));
    click(at(4, 160));
    EXPECT_EQ(gLabel.labelParts[0]->i16(item::selected), 1) << "still reachable";
    // The ruler band changes the unit on the guide layer only.
    const qd::Point o = gWindows.disp2->contentOrigin;
    const int32_t unit = gUnits.gMeasType;
    click({o.v + gDriver.offbar + 10, o.h + 200});
    EXPECT_EQ(gUnits.gMeasType, unit);
    const int32_t bottom = gWindows.disp2->portRect.bottom - 8;
    click({o.v + bottom, o.h + 120});
    EXPECT_EQ(gLayout.guideLayer, kLayerGuide);
    for (int32_t want : {3, 0, 1, 2}) {
        click({o.v + gDriver.offbar + 10, o.h + 200});
        EXPECT_EQ(gUnits.gMeasType, want);
    }
    click({o.v + bottom, o.h + 80});
    EXPECT_EQ(gLayout.guideLayer, kLayerItems);
    // A message raised while the layout is open shows once, in a box at the centre.
    copyBounded(gMsg.gerrorstr, "The data is refused");
    redraw();
    const qd::Rect port = gWindows.disp2->portRect;
    const qd::Point mid{(port.top + port.bottom) / 2, (port.left + port.right) / 2};
    EXPECT_EQ(WindowPixel(gWindows.disp2, mid.h - 180, mid.v), kBlackPixel) << "the box's edge";
    EXPECT_EQ(gMsg.gerrorstr[0], 0);
    redraw();
    EXPECT_NE(WindowPixel(gWindows.disp2, mid.h - 180, mid.v), kBlackPixel) << "shown once";
    // A document whose view holds no zoom is shown at 100 %.
    for (int16_t broken : {0, -50}) {
        labelDesc.zoom = broken;
        redraw();
        EXPECT_EQ(labelDesc.zoom, 100) << broken;
    }
    // Scroll bars: the offset is 32 less the value.
    ScrollDisp(gDisp.disp2Con[0], 50);
    EXPECT_EQ(int32_t(labelDesc.vOffset), -18);
    ScrollDisp(gDisp.disp2Con[0], 0);
    EXPECT_EQ(int32_t(labelDesc.vOffset), 32);
}

TEST_F(LayoutEditor, ClickedItemShowsItsSizeInTheUnitAndTypedLengthsLandAsPoints) {
    tool(10, 70);
    drag(at(100, 100), at(172, 136));  // 72 by 36 points
    click(at(150, 190));
    struct Unit {
        int32_t unit;
        const char* width;  // 72 points shown in the unit
        const char* typed;  // a width typed in the unit
        int16_t points;     // what it lands as
    };
    const Unit units[] = {
        {kMeasInch, "1.000000", "2", 144},        {kMeasCentimetre, "2.540000", "1", 28},
        {kMeasMillimetre, "25.400000", "10", 28}, {kMeasPoint, "72.000000", "50", 50},
        {kMeasFine, "812.000000", "406", 36},
    };
    for (const Unit& u : units) {
        gUnits.gMeasType = u.unit;
        gSym.orient = 0;
        click(at(110, 110));  // selects the rectangle: its panels load
        ASSERT_EQ(gLabel.labelParts[0]->i16(item::selected), 1) << u.unit;
        EXPECT_EQ(gPanels.TEBack3[11].text, u.width) << u.unit;
        gPanels.TEBack3[11].text = u.typed;
        setitemdimensions();
        EXPECT_EQ(rectOf(0).right - rectOf(0).left, u.points) << u.unit;
        EXPECT_EQ(rectOf(0).left, 100) << u.unit;
        // Back to 72 points wide, and nothing selected for the next unit.
        gLabel.itRect = {100, 100, 136, 172};
        setItemRect(0);
        click(at(150, 190));
    }
}

TEST_F(LayoutEditor, TypedPlacesAndSizesStayWholeVisibleAndOnTheLabel) {
    tool(10, 70);
    drag(at(100, 100), at(230, 180));  // 130 by 80 points
    click(at(150, 190));
    gUnits.gMeasType = kMeasMillimetre;
    click(at(110, 110));
    ASSERT_EQ(gPanels.TEBack3[11].text, "45.861111");
    const auto typed = [](int32_t slot, const char* text) {
        gPanels.TEBack3[slot].text = text;
        setitemdimensions();
    };
    typed(9, "35.277778");  // the top unchanged: nothing shrinks
    EXPECT_EQ(rects(), "6*:100,100,180,230");
    typed(10, "999");  // the 300 point label's right edge keeps 8 points of it
    EXPECT_EQ(rects(), "6*:100,292,180,422");
    typed(10, "-999");
    EXPECT_EQ(rects(), "6*:100,-122,180,8");
    typed(10, "10");
    typed(11, "");
    typed(12, "0.001");
    EXPECT_EQ(rects(), "6*:100,28,101,29") << "at least a point each way";
}

TEST_F(LayoutEditor, AResizeHandlePressedWithoutMovingLeavesTheItemAtHalfZoom) {
    tool(10, 70);
    drag(at(21, 19), at(91, 69));
    labelDesc.zoom = 50;
    redraw();
    ASSERT_EQ(rects(), "6*:19,21,69,91");
    drag(at(91, 69), at(91, 69));  // the bottom right handle
    EXPECT_EQ(rects(), "6*:19,21,69,91");
    // Moved 10 pixels, the edges it took follow by 20 points (from where the window
    // showed them); the others stay.
    const qd::Point corner = at(91, 69);
    drag(corner, {corner.v + 10, corner.h + 10});
    EXPECT_EQ(rects(), "6*:19,21,88,110");
}

TEST_F(LayoutEditor, PreviewDeliversOnClickOrReturnUnlessARunIsActive) {
    closeLabelWindow();
    ASSERT_EQ(labelBack.labelWidth, 0u);
    gLayout.geditMode = 0;
    gDriver.showSpecs = 1;
    NewPreviewWindow();
    ASSERT_NE(gWindows.disp2, nullptr);
    EXPECT_EQ(gWindows.disp2->title, "Preview");
    settle();
    click(centre(ContentBounds(gWindows.disp2)));
    EXPECT_EQ(gFileCommands, (std::vector<int32_t>{5}));
    EXPECT_EQ(gWindows.disp2, nullptr);
    // Return in the preview does the same.
    NewPreviewWindow();
    settle();
    gWindows.activeWindow = gWindows.disp2;
    key(13);
    EXPECT_EQ(gFileCommands, (std::vector<int32_t>{5, 5}));
    EXPECT_EQ(gWindows.disp2, nullptr);
    // During a serial-number run the click closes it without output.
    gLayoutPanels.background = 1;
    NewPreviewWindow();
    settle();
    click(centre(ContentBounds(gWindows.disp2)));
    EXPECT_EQ(gFileCommands.size(), 2u);
    EXPECT_EQ(gWindows.disp2, nullptr);
    // The dimension texts.
    EXPECT_EQ(dimensionText(25.4, false, "%.1fmm", "%.1fin"), "25.4mm");
    EXPECT_EQ(dimensionText(25.4, true, "%.1fmm", "%.1fin"), "1.0in");
    EXPECT_EQ(dimensionText(12.345, false, "%0.2fmm", "%0.2fin"), "12.35mm");
}

TEST_F(LayoutEditor, ANewBarcodeTakesTheTypedDataNeverASymbolsPrintedText) {
    // DataBar prints "(01)" and a check digit; Code 128 prints its data without
    // the escapes. A new item takes the data of the one shown, as it was typed.
    struct Typed {
        int16_t code;
        std::string data;
    };
    for (const Typed& t : {Typed{37, "2001234567890|(10)ABC123"}, Typed{5, "\\1ABC\\1123"}}) {
        freshLayout();
        tool(30, 50);
        drag(at(20, 20), at(120, 80));
        LabelItem& shown = *gLabel.labelParts[0];
        shown.setI16(item::code, t.code);
        shown.setText(item::dataText, t.data + kVT + kVT);
        shown.setU32(item::len1, uint32_t(t.data.size()));
        redraw();
        const auto dataOf = [](int32_t i) {
            const std::string field = gLabel.labelParts[size_t(i)]->text(item::dataText);
            return field.substr(0, field.find(kVT));
        };
        // Placed while the item is selected, then while none is.
        tool(30, 50);
        drag(at(20, 110), at(120, 180));
        EXPECT_EQ(dataOf(1), t.data) << "beside the selected item";
        EXPECT_EQ(gPanels.TEH.text, t.data) << "the main window's data field";
        click(at(200, 100));
        redraw();
        tool(30, 50);
        drag(at(150, 20), at(250, 80));
        EXPECT_EQ(dataOf(2), t.data) << "after a drawing with none selected";
        EXPECT_EQ(dataOf(0), t.data) << "the item keeps its own";
    }
}

}  // namespace
