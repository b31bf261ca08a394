#include "app/desktop/mainWindow.h"
#include "app/desktop/programPictures.h"
#include "app/desktop/settingsPanes.h"
#include "app/desktop/threeD.h"

#include <cstring>
#include <string>

#include "app/desktop/couponDialog.h"
#include "app/desktop/eventLoop.h"
#include "app/desktop/mainWindowLayout.h"
#include "app/numericEntry.h"
#include "app/preferences.h"
#include "symbology/Filters.h"
#include "labels/itemFields.h"
#include "labels/labelDoc.h"
#include "labels/production.h"
#include "labels/runs/itemOps.h"
#include "picture/placedPictures.h"
#include "platform/toolbox/numbered.h"
#include "platform/toolbox/pstrings.h"
#include "symbology/appBits.h"
#include "symbology/panels.h"
#include "symbology/state.h"

using namespace toolbox;
using namespace mainlayout;

MainWindowState gMain;

namespace {

constexpr int16_t kGenevaSize = 9;
constexpr unsigned char kGeneva[] = "\x06Geneva";
constexpr unsigned char kFontTitle[] =
    "\x04"
    "Font";
constexpr uint32_t kFontResType = 0x464F4E54;  // 'FONT'
constexpr int32_t kBarcode = 1, kPicture = 2, kText = 4;
constexpr int32_t kArrowTool = 1, kTextTool = 2, kPictureTool = 3, kBarcodeTool = 4;
constexpr int32_t kStoreAll = 2;

bool layoutOpen() { return labelBack.labelWidth != 0; }

// Fields shown now draw into the window; every other one has no port, so that
// an edit of a hidden field never paints over the pane on show.
void attach(platform::TERec* te, bool shown) {
    if (!te) return;
    qd::GrafPort* port = shown && gWindows.wp ? gWindows.wp->port : nullptr;
    const bool gained = port && te->port != port;
    te->port = port;
    te->shown.valid = false;
    // Laid out without a port the lines have no height: lay them out again.
    if (gained) platform::TECalText(te);
}

void setFieldText(platform::TERec* te, const char* text) {
    if (te) platform::TESetText(text, static_cast<int32_t>(std::strlen(text)), te);
}

}  // namespace

MainWindowHooks& mainWindowHooks() {
    static MainWindowHooks hooks;
    return hooks;
}

platform::TERec* TEBack2Field(int32_t i) {
    if (i == 9) return &gMain.TEBack2_9;
    if (i >= 0 && i < 9) return &gPanels.TEBack2[i];
    return nullptr;
}

namespace {

platform::TERec* fieldOf(Group g, int32_t i) {
    switch (g) {
        case Group::Out2:
            return &gMain.TEOut2;
        case Group::Type:
            return &gPanels.TEType;
        case Group::H:
            return &gPanels.TEH;
        case Group::X:
            return &gPanels.TEX;
        case Group::Size:
            return &gPanels.TESize;
        case Group::Height:
            return &gPanels.TEHeight;
        case Group::BWR:
            return &gPanels.TEBWR;
        case Group::Back1:
            return i >= 0 && i < 9 ? &gPanels.TEBack1[i] : nullptr;
        case Group::Back2:
            return TEBack2Field(i);
        case Group::Back3:
            return i >= 0 && i < 15 ? &gPanels.TEBack3[i] : nullptr;
        case Group::Cyan:
            return &gPanels.TECyan;
        case Group::Mage:
            return &gPanels.TEMage;
        case Group::Yell:
            return &gPanels.TEYell;
        case Group::Blac:
            return &gPanels.TEBlac;
        case Group::Line:
            return &gPanels.TELine;
        case Group::Te1:
            return i >= 0 && i < 2 ? &gPanels.TETe1[i] : nullptr;
        case Group::Back5:
            return i >= 0 && i < 8 ? &gPanels.TEBack5[i] : nullptr;
    }
    return nullptr;
}

}  // namespace

void mirrorNumberFields(bool) {}

int32_t Is(int32_t kind, int32_t test) {
    constexpr int32_t kKinds = 1 | 2 | 4 | 8;
    return (kind & test & kKinds) == 0 ? 1 : 0;
}

int32_t InEditField(qd::Point pt, const platform::TERec* field) {
    if (!field) return -1;
    const qd::Rect& r = field->viewRect;
    const bool in = pt.h >= r.left && pt.h < r.right && pt.v >= r.top && pt.v < r.bottom;
    return in ? 0 : -1;
}

void InvalTERect(const platform::TERec* field, WindowPtr window) {
    if (field && window) InvalWindowRect(window, field->viewRect);
}

void Create_Window() {
    qd::Rect rect = kMainWindowGlobal;
    if (gPrefs.hideIF == 1) {
        rect.left += kHiddenOffset;
        rect.right += kHiddenOffset;
        rect.top += kHiddenOffset;
        rect.bottom += kHiddenOffset;
    }
    WindowPtr wp = BuildWindowItem(rect, kMainTitleList, kMainTitleItem, true, kMainWindowProc,
                                   nullptr, true, 1);
    gWindows.wp = wp;
    qd::SetPort(wp->port);
    int16_t geneva = 0;
    qd::GetFNum(kGeneva, &geneva);
    qd::TextFont(geneva);
    qd::TextSize(kGenevaSize);
    qd::TextFace(0);
    qd::FontInfo info;
    qd::GetFontInfo(&info);
    gMain.lineHeight = info.ascent + info.descent + info.leading;

    if (!GetMenuHandle(kFontMenuId)) {
        gMain.fontMenu = NewMenu(kFontMenuId, kFontTitle);
        AppendResMenu(gMain.fontMenu, kFontResType);
        InsertMenu(gMain.fontMenu, hierMenu);
    } else {
        gMain.fontMenu = GetMenuHandle(kFontMenuId);
    }
    WindowMetal(wp);

    gMain.ONK = BuildButtonItem(wp, kOK.left, kOK.top, kOK.right, kOK.bottom, kMainTitleList, 1);
    if (gMain.ONK) SetControlPicture(gMain.ONK, GetProgramPicture(kOkButtonPicture));
    gMain.TECont = NewControl(wp, kScrollBar, reinterpret_cast<const unsigned char*>(""), false, 0,
                              0, kScrollMost, scrollBarProc, 0);
    for (const FieldPlace& f : kFields) {
        platform::TERec* te = fieldOf(f.group, f.index);
        if (!te) continue;
        te->destRect = te->viewRect = f.rect;
        te->font = geneva;
        te->size = kGenevaSize;
        te->face = 0;
        te->just = f.just;
        te->active = false;
        if (*f.initial && te->text.empty()) setFieldText(te, f.initial);
        attach(te, false);
        platform::TECalText(te);
    }
    gPanels.TETe1[0].autoView = true;
    gPanels.c_TE = gPanels.c_TE1 = gPanels.c_TE2 = gPanels.c_TE3 = gPanels.c_TE5 = -1;
    mirrorNumberFields(false);
    // The font box shows fontBelow; defFont stays the bar font, which the types'
    // texts and the outline tests take as "the symbol's own font".
    gLabel.alpha = 0;
    doUpdate();
}

void disposeMainWindow() {
    for (const FieldPlace& f : kFields) attach(fieldOf(f.group, f.index), false);
    if (gWindows.wp) DisposeWindow(gWindows.wp);
    if (gMain.fontMenu) {
        DeleteMenu(kFontMenuId);
        DisposeMenu(gMain.fontMenu);
    }
    if (gWindows.activeWindow == gWindows.wp) gWindows.activeWindow = nullptr;
    gWindows.wp = nullptr;
    gMain = MainWindowState{};
}

void deactivateAll() {
    for (const FieldPlace& f : kFields) {
        platform::TERec* te = fieldOf(f.group, f.index);
        if (te && te->active) platform::TEDeactivate(te);
    }
}

void hideFields() {
    deactivateAll();
    if (gMain.ONK) HideControl(gMain.ONK);
    if (gMain.TECont) HideControl(gMain.TECont);
    gPanels.c_TE = gPanels.c_TE1 = gPanels.c_TE2 = gPanels.c_TE3 = gPanels.c_TE5 = -1;
}

platform::TERec* focusedField() {
    const int32_t c = gPanels.c_TE;
    const bool text = gLabel.curIteTyp == kText;
    switch (gProd.background) {
        case 0:
            if (text) return c == 0 || c == 1 ? &gPanels.TETe1[c] : nullptr;
            switch (c) {
                case 0:
                    return &gPanels.TEH;
                case 1:
                    return &gPanels.TEX;
                case 2:
                    return &gPanels.TESize;
                case 3:
                    return &gPanels.TEHeight;
                case 4:
                    return &gPanels.TEBWR;
                default:
                    return nullptr;
            }
        case 1:
            return fieldOf(Group::Back1, gPanels.c_TE1);
        case 2:
            return TEBack2Field(gPanels.c_TE2);
        case 3:
            return fieldOf(Group::Back3, gPanels.c_TE3);
        case 4:
            switch (c) {
                case 9:
                    return &gPanels.TECyan;
                case 10:
                    return &gPanels.TEMage;
                case 11:
                    return &gPanels.TEYell;
                case 12:
                    return &gPanels.TEBlac;
                case 13:
                    return &gPanels.TELine;
                default:
                    return nullptr;
            }
        case 5:
            switch (gPanels.c_TE5) {
                case 0:
                    return &gPanels.TEH;
                case 1:
                case 2:
                    return &gPanels.TEBack5[gPanels.c_TE5 - 1];
                case 3:
                    return &gPanels.TEBack1[3];
                default:
                    return nullptr;
            }
        default:
            return nullptr;
    }
}

// ---- Drawing -----------------------------------------------------------------------

namespace {

// A field drawn sunken on white, or on the interface grey without a frame.
void drawField(platform::TERec* te, bool grey = false) {
    attach(te, true);
    const qd::Rect r = te->viewRect;
    if (grey) {
        setGrey();
        qd::EraseRect(r);
    } else {
        ThreeDTE(*te);
    }
    platform::TEUpdate(r, te);
    setWhite();
}

void showControl(ControlHandle c, bool show) {
    if (!c) return;
    if (show)
        ShowControl(c);
    else
        HideControl(c);
}

bool barcodePanel() {
    const int32_t t = gLabel.curIteTyp;
    return (t == kBarcode && gLoop.pTool == kArrowTool) || gLoop.pTool == kBarcodeTool;
}
bool textPanel() {
    const int32_t t = gLabel.curIteTyp;
    return (t == kText && gLoop.pTool == kArrowTool) || gLoop.pTool == kTextTool;
}

// The pane's labels, marks and boxes; the fields come after.
void drawPane() {
    const int32_t kind = gLabel.curIteTyp;
    const int32_t tool = gLoop.pTool;
    const bool codeOrText = Is(kind, kBarcode | kText) == 0;
    const bool barcode = kind == kBarcode;
    switch (gProd.background) {
        case 0:
            if (barcodePanel())
                DrawWindowHeader();
            else if (textPanel())
                DrawBgFont();
            else if ((kind == kPicture && tool == kArrowTool) || tool == kPictureTool)
                DrawItemNameBox();
            break;
        case 1:
        case 2:
            if (codeOrText) gProd.background == 1 ? DrawBg1() : DrawBg2();
            if (barcode) getCodeEdit(gSym.code);
            break;
        case 3:
            if (gTabs.opTab == 0)
                DrawBg3();
            else if (gTabs.opTab == 1)
                DrawBgCustomText();
            else
                DrawBgDimensions();
            break;
        case 4:
            DrawBg4();
            break;
        case 5:
            DrawBg5();
            if (barcode) getCodeEdit(gSym.code);
            break;
        default:
            break;
    }
}

}  // namespace

void updateTextFields() {
    if (!gWindows.wp) return;
    for (const FieldPlace& f : kFields) attach(fieldOf(f.group, f.index), false);
    const int32_t kind = gLabel.curIteTyp;
    const bool codeOrText = Is(kind, kBarcode | kText) == 0;
    const bool canEdit3 = gSym.canEdit3 == 1;
    switch (gProd.background) {
        case 0:
            if (barcodePanel()) {
                showControl(gMain.TECont, false);
                showControl(gMain.ONK, true);
                mirrorNumberFields(false);
                for (platform::TERec* te : {&gPanels.TEH, &gPanels.TEX, &gPanels.TEHeight,
                                            &gPanels.TESize, &gPanels.TEBWR})
                    drawField(te);
                drawField(&gPanels.TEType, true);
            } else if (textPanel()) {
                showControl(gMain.TECont, true);
                showControl(gMain.ONK, false);
                drawField(&gPanels.TETe1[0]);
                drawField(&gPanels.TETe1[1]);
            } else {
                showControl(gMain.TECont, false);
                showControl(gMain.ONK, false);
            }
            break;
        case 1:
        case 2: {
            showControl(gMain.TECont, false);
            showControl(gMain.ONK, codeOrText);
            if (!codeOrText) break;
            if (kind == kText) {
                gSym.canEdit3 = 0;
                gSym.anumer = 1;
            }
            const bool serial = gProd.background == 1;
            const int32_t greyField = serial ? 3 : 6;
            for (int32_t i = 0; i < 9; ++i) {
                const bool shown = serial ? (i != 4 && i != 5) : (i == 1 || i >= 4);
                if (!shown) continue;
                platform::TERec* te = serial ? &gPanels.TEBack1[i] : TEBack2Field(i);
                drawField(te, i == greyField && gSym.canEdit3 == 1);
            }
            break;
        }
        case 3:
            showControl(gMain.TECont, false);
            showControl(gMain.ONK, false);
            if (gTabs.opTab == 1 && codeOrText) {
                for (int32_t i : {0, 3, 5}) drawField(&gPanels.TEBack3[i]);
            } else if (gTabs.opTab == 0) {
                if (Is(kind, kBarcode | 8) == 0) drawField(&gPanels.TEBack3[1]);
                if (kind == kBarcode)
                    for (int32_t i : {2, 13, 14}) drawField(&gPanels.TEBack3[i]);
            } else if (gTabs.opTab == 2) {
                if (layoutOpen())
                    for (int32_t i = 9; i <= 12; ++i) drawField(&gPanels.TEBack3[i]);
                else
                    gPanels.c_TE3 = -1;
            }
            break;
        case 4: {
            showControl(gMain.TECont, false);
            showControl(gMain.ONK, false);
            const bool onlyPictures = kind == kPicture;
            const bool nothing = kind == 0;
            if (onlyPictures || (nothing && gPanels.colTab == 0)) break;
            for (platform::TERec* te :
                 {&gPanels.TECyan, &gPanels.TEMage, &gPanels.TEYell, &gPanels.TEBlac})
                drawField(te);
            if (gPanels.colTab == 0) drawField(&gPanels.TELine);
            break;
        }
        case 5:
            showControl(gMain.TECont, false);
            showControl(gMain.ONK, true);
            drawField(&gPanels.TEH);
            drawField(&gPanels.TEBack5[0]);
            drawField(&gPanels.TEBack5[1]);
            drawField(&gPanels.TEBack1[3], canEdit3);
            break;
        default:
            break;
    }
}

void doUpdate() {
    WindowPtr wp = gWindows.wp;
    if (!wp) return;
    qd::GrafPort* saved = qd::GetPort();
    qd::SetPort(wp->port);
    qd::SetFractEnable(false);
    int16_t geneva = 0;
    qd::GetFNum(kGeneva, &geneva);
    qd::TextFont(geneva);
    qd::TextSize(kGenevaSize);
    searchItemTypes();
    setGrey();
    qd::EraseRect(wp->portRect);
    if (const qd::Picture* back = GetProgramPicture(kBackgroundPicture))
        qd::DrawPicture(back, wp->portRect);
    DrawTabs();
    drawPane();
    updateTextFields();
    DrawControls(wp);
    qd::SetPort(saved);
}

// ---- Pop-up menus ------------------------------------------------------------------

namespace {

bool isInstalledFontChoice(const std::string& name) {
    char bar[256];
    const size_t n = gSym.barFont[0];
    std::memcpy(bar, gSym.barFont + 1, n);
    bar[n] = 0;
    return name == bar || name == "Strixel";
}

}  // namespace

void doPopUpMenu(const qd::Rect& rect, int16_t menuId, int32_t h, int32_t v) {
    WindowPtr wp = gWindows.wp;
    if (!wp) return;
    qd::Point at{v, h};
    at.h += wp->contentOrigin.h;
    at.v += wp->contentOrigin.v;
    MenuHandle menu = nullptr;
    if (menuId == kFontMenuChoice) {
        menu = gMain.fontMenu;
    } else {
        const int16_t id = menuId == kOutputMenuChoice ? kOutputMenuId : menuId;
        menu = GetMenuHandle(id);
        if (!menu) {
            menu = GetMenu(id);
            if (menu) InsertMenu(menu, hierMenu);
        }
    }
    if (!menu) return;
    const int32_t choice = PopUpMenuSelect(menu, at.v, at.h, 1);
    if (choice == 0) return;
    const int16_t item = static_cast<int16_t>(choice & 0xFFFF);
    if (menuId == kFontMenuChoice) {
        unsigned char name[256];
        GetMenuItemText(menu, item, name);
        pstrCopy(gSym.fontBelow, name);
        const std::string text(reinterpret_cast<const char*>(name + 1), name[0]);
        gSym.textAsFont = isInstalledFontChoice(text) ? 0 : 1;
    } else {
        callLoopHandler("doMenu", wp, choice);
    }
    InvalWindowRect(wp, rect);
    setItemDataSelItems(kStoreAll);
}

void MenuPopUp(const qd::Rect& rect, int16_t menuId, qd::Point where, WindowPtr window) {
    if (!window) return;
    MenuHandle menu = GetMenuHandle(menuId);
    const bool fetched = !menu;
    if (fetched) {
        menu = GetMenu(menuId);
        if (!menu) return;
        InsertMenu(menu, hierMenu);
    }
    const int32_t choice = PopUpMenuSelect(menu, where.v + window->contentOrigin.v,
                                           where.h + window->contentOrigin.h, 1);
    if (choice != 0) callLoopHandler("doMenu", window, choice);
    InvalWindowRect(window, rect);
    if (fetched) {
        DeleteMenu(menuId);
        DisposeMenu(menu);
    }
}

// ---- The label's background picture -------------------------------------------------

void setBgGraphic() {
    constexpr int32_t kPictureChoice = 1;
    constexpr uint32_t kTenths = 10;
    LabelItem* first = itemAt(0);
    if (first && first->u16(item::kind) == kKindBackground) deleteLabelItem(0);
    const int32_t before = labelBack.lastItem;
    if (addLabelItem() != 0) return;
    const int32_t index = labelBack.lastItem;
    LabelItem* it = itemAt(index);
    if (!it) return;
    it->setI16(item::selected, 1);
    it->setI16(item::kind, kKindBackground);
    doPictTool(kPictureChoice, index, it);
    if (labelBack.lastItem <= before) return;
    it = itemAt(labelBack.lastItem);
    if (!it) return;
    it->setI16(item::rectTop, 0);
    it->setI16(item::rectLeft, 0);
    it->setI16(item::rectBottom, static_cast<int32_t>(labelBack.labelHeight / kTenths));
    it->setI16(item::rectRight, static_cast<int32_t>(labelBack.labelWidth / kTenths));
    sendToBack();
    selectAllItems(0);
}

// ---- Routing -----------------------------------------------------------------------

namespace {

int32_t* focusOfPane(int32_t pane) {
    switch (pane) {
        case 0:
        case 4:
            return &gPanels.c_TE;
        case 1:
            return &gPanels.c_TE1;
        case 2:
            return &gPanels.c_TE2;
        case 3:
            return &gPanels.c_TE3;
        case 5:
            return &gPanels.c_TE5;
        default:
            return nullptr;
    }
}

void installTabHooks() {
    gTabHooks.deactivateAll = [] { deactivateAll(); };
    gTabHooks.setFocus = [](int32_t pane, int32_t index) {
        if (int32_t* focus = focusOfPane(pane)) *focus = index;
    };
    gTabHooks.hideFields = [] { hideFields(); };
    gTabHooks.doUpdate = [] { doUpdate(); };
    gTabHooks.ProcessTabs = [] { ProcessTabs(0); };
}

}  // namespace

void installMainWindow() {
    MainWindowHooks& hooks = mainWindowHooks();
    if (!hooks.couponDialog) hooks.couponDialog = [] { DataBarCouponDialog(); };
    if (!hooks.filter)
        hooks.filter = [] {
            gFilter.theChar = gLoop.theChar;
            Filter();
        };
    if (!hooks.numeric) hooks.numeric = [](unsigned char ch) { Numeric3_Filter(ch); };
    installTabHooks();
    installTabs();
    // The start-up step that makes the window.
    setLoopHandler("Create_Window", [](WindowPtr, int32_t) {
        Create_Window();
        return 1;
    });
    setLoopHandler("doMouse", [](WindowPtr, int32_t shift) {
        doMouse(gLoop.gmyEvent.where, shift);
        return 1;
    });
    setLoopHandler("doUpdate", updateHandler(doUpdate));
    setLoopHandler("doKeysMain", [](WindowPtr, int32_t ch) {
        doKeysMain(static_cast<unsigned char>(ch), gLoop.gmyEvent.modifiers);
        return 1;
    });
    setLoopHandler("ProcessTabs", [](WindowPtr, int32_t) {
        ProcessTabs(gLoop.gmyEvent.modifiers);
        return 1;
    });
    // The Edit menu's items on the focused field: 3 Cut, 4 Copy, 5 Paste, 6 Clear.
    setLoopHandler("editMainField", [](WindowPtr, int32_t item) {
        constexpr int32_t kCut = 3, kCopy = 4, kPaste = 5, kClear = 6;
        switch (item) {
            case kCut:
                editFocusedField(MainFieldEdit::cut);
                return 1;
            case kCopy:
                editFocusedField(MainFieldEdit::copy);
                return 1;
            case kPaste:
                editFocusedField(MainFieldEdit::paste);
                return 1;
            case kClear:
                editFocusedField(MainFieldEdit::clear);
                return 1;
            default:
                return 0;
        }
    });
    setLoopHandler("deactivateAll", [](WindowPtr, int32_t) {
        deactivateAll();
        return 1;
    });
    // The caret comes back to the pane's focused field.
    setLoopHandler("activateFocus", [](WindowPtr, int32_t) {
        if (platform::TERec* te = focusedField()) platform::TEActivate(te);
        return 1;
    });
    setLoopHandler("doIdle", [](WindowPtr, int32_t) {
        if (platform::TERec* te = focusedField(); te && te->active) platform::TEIdle(te);
        return 0;
    });
}
