// Keys typed while the main window is active: Return presses OK, Option with an
// arrow changes pane, Tab walks the pane's fields, and every other key goes to
// the focused field through the filter that field takes.
#include <algorithm>
#include <cstdlib>
#include <string>

#include "app/desktop/eventLoop.h"
#include "app/desktop/mainWindow.h"
#include "app/desktop/threeD.h"
#include "labels/itemFields.h"
#include "labels/labelDoc.h"
#include "labels/production.h"
#include "labels/runs/itemOps.h"
#include "symbology/panels.h"
#include "symbology/state.h"

using namespace toolbox;

namespace {

constexpr unsigned char kEnter = 3, kBackspace = 8, kTab = 9, kReturn = 13;
constexpr unsigned char kLeft = 28, kRight = 29, kUp = 30, kDown = 31, kDelete = 127;
constexpr int32_t kBarcode = 1, kText = 4;
constexpr int32_t kLastPane = 5, kLastOpTab = 2, kLastColTab = 1;
constexpr int32_t kMostLengthText = 254;

bool layoutOpen() { return labelBack.labelWidth != 0; }
bool isDigitKey(unsigned char ch) { return ch >= '0' && ch <= '9'; }

void typeInto(platform::TERec* te, unsigned char ch) {
    if (te) platform::TEKey(ch, te);
}

// Digits and Backspace only; anything else is refused with a beep.
bool typeDigit(platform::TERec* te, unsigned char ch) {
    if (!isDigitKey(ch) && ch != kBackspace) {
        SysBeep(1);
        return false;
    }
    typeInto(te, ch);
    return true;
}

void filterKey() {
    if (auto& f = mainWindowHooks().filter) {
        f();
        return;
    }
    typeInto(focusedField(), gLoop.theChar);
}

void numericKey(unsigned char ch) {
    if (auto& f = mainWindowHooks().numeric)
        f(ch);
    else
        typeInto(focusedField(), ch);
    mirrorNumberFields(true);
}

// One pane or sub-tab back (left) or forward, wrapping round the six panes.
void changePane(bool back) {
    int32_t& bg = gProd.background;
    int32_t& op = gTabs.opTab;
    int32_t& col = gPanels.colTab;
    if (back) {
        if (bg == 3 && op > 0) {
            --op;
        } else if (bg == 4 && col > 0) {
            --col;
        } else {
            bg = bg <= 0 ? kLastPane : bg - 1;
            op = kLastOpTab;
            col = kLastColTab;
        }
    } else {
        if (bg == 3 && op < kLastOpTab) {
            ++op;
        } else if (bg == 4 && col < kLastColTab) {
            ++col;
        } else {
            bg = bg >= kLastPane ? 0 : bg + 1;
            op = 0;
            col = 0;
        }
    }
    WindowPtr wp = gWindows.wp;
    if (wp) InvalWindowRect(wp, wp->portRect);
    hideFields();
    doUpdate();
    gPanels.c_TE = gPanels.c_TE1 = gPanels.c_TE2 = gPanels.c_TE3 = gPanels.c_TE5 = -1;
    ProcessTabs(0);
    gWindows.activeWindow = wp;
    if (wp) SelectWindowF(wp);
}

bool noFocus() {
    return gPanels.c_TE < 0 && gPanels.c_TE1 < 0 && gPanels.c_TE2 < 0 && gPanels.c_TE3 < 0 &&
           gPanels.c_TE5 < 0;
}

void textItemKey(unsigned char ch) {
    platform::TERec* te = &gPanels.TETe1[0];
    if (ch == kDelete) {
        typeInto(te, kRight);
        typeInto(te, kBackspace);
    } else {
        typeInto(te, ch);
    }
    if (gMain.TECont) {
        const int32_t lh = gMain.lineHeight > 0 ? gMain.lineHeight : 1;
        SetControlValue(gMain.TECont, (te->viewRect.top - te->destRect.top) / lh);
    }
    setTextItems(*te);
}

void paneSerialKey(unsigned char ch) {
    const int32_t f = gPanels.c_TE1;
    platform::TERec* te = focusedField();
    if (f == 3 || f == 8) {
        if (typeDigit(te, ch) && f == 3) ProcessCodeLength(te);
        return;
    }
    if (gLabel.curIteTyp == kBarcode) return filterKey();
    if (gLabel.curIteTyp != kText) return;
    if (ch == kTab) {
        deactivateAll();
        gPanels.c_TE1 = f >= 3 ? 0 : f + 1;
        if (gPanels.c_TE1 > 0) platform::TEActivate(&gPanels.TEBack1[gPanels.c_TE1]);
        return;
    }
    typeInto(te, ch);
}

void paneImportKey(unsigned char ch) {
    const int32_t f = gPanels.c_TE2;
    platform::TERec* te = focusedField();
    if (f >= 2 && f <= 4) return typeInto(te, ch);
    if (typeDigit(te, ch) && f == 6) ProcessCodeLength(te);
}

void paneManualKey(unsigned char ch) {
    const int32_t f = gPanels.c_TE5;
    if (f == 0) return filterKey();
    if (f == 2) {
        typeDigit(&gPanels.TEBack5[1], ch);
        return;
    }
    if (f == 3) {
        if (typeDigit(&gPanels.TEBack1[3], ch)) ProcessCodeLength(&gPanels.TEBack1[3]);
        return;
    }
    if (f - 1 >= 0 && f - 1 < static_cast<int32_t>(std::size(gPanels.TEBack5)))
        typeInto(&gPanels.TEBack5[f - 1], ch);
}

void mainKey(unsigned char ch, uint16_t modifiers) {
    gLoop.theChar = ch;
    const int32_t bg = gProd.background;
    const int32_t kind = gLabel.curIteTyp;
    if (bg <= 2 && (ch == kReturn || ch == kEnter) && !(bg == 0 && gPanels.c_TE == 5) &&
        !(layoutOpen() && kind != kBarcode))
        doOKButton();
    if (modifiers & optionKey) {
        if (ch == kLeft || ch == kRight) return changePane(ch == kLeft);
        if (ch == kUp || ch == kDown) return;
    }
    if (noFocus()) {
        callLoopHandler("ProcessCharsDispLocal", gWindows.disp2, ch);
        return;
    }
    switch (bg) {
        case 0:
            if (kind == kBarcode) {
                if (gPanels.c_TE == 0 || gPanels.c_TE == 1)
                    filterKey();
                else
                    numericKey(ch);
            } else if (kind == kText) {
                if (gPanels.c_TE == 0)
                    textItemKey(ch);
                else
                    numericKey(ch);
            }
            break;
        case 1:
            paneSerialKey(ch);
            break;
        case 2:
            paneImportKey(ch);
            break;
        case 3:
        case 4:
            numericKey(ch);
            break;
        case 5:
            paneManualKey(ch);
            break;
        default:
            break;
    }
}

}  // namespace

void doKeysMain(unsigned char ch, uint16_t modifiers) {
    // A key that changes the selected items (a typed size, colour or text, Return
    // for OK) is undone on its own.
    UndoPoint before;
    mainKey(ch, modifiers);
    before.keepIfChanged();
}

namespace {

// A key a paste may type: printable characters, and line ends only in a text
// item's text, where Return is a line and never OK.
bool pastedKey(unsigned char ch) {
    if (ch == kReturn)
        return gProd.background == 0 && gLabel.curIteTyp == kText && gPanels.c_TE == 0;
    return ch >= ' ' && ch != kDelete;
}

}  // namespace

void editFocusedField(MainFieldEdit edit) {
    platform::TERec* te = focusedField();
    if (!te) return;
    // A paste types key by key but is undone as one edit.
    UndoPoint before;
    const bool selection = te->selStart != te->selEnd;
    switch (edit) {
        case MainFieldEdit::cut:
        case MainFieldEdit::copy:
            if (!selection) return;
            platform::TECopy(te);
            platform::TEToScrap();
            // Deleting as Backspace does keeps the item and the panels in step.
            if (edit == MainFieldEdit::cut) doKeysMain(kBackspace, 0);
            break;
        case MainFieldEdit::clear:
            if (selection) doKeysMain(kBackspace, 0);
            break;
        case MainFieldEdit::paste: {
            platform::TEFromScrap();
            // Typed key by key, so the field keeps only what its filter takes.
            const std::string text = platform::TEScrapText();
            for (const char c : text)
                if (pastedKey(static_cast<unsigned char>(c)))
                    doKeysMain(static_cast<unsigned char>(c), 0);
            break;
        }
    }
    before.keepIfChanged();
    if (gWindows.wp) InvalWindowRect(gWindows.wp, gWindows.wp->portRect);
}

namespace {

// The focus moves to field `to` of the pane; the whole text is selected first
// where the order says so.
void moveFocus(int32_t* index, int32_t to, platform::TERec* te, bool selectAll) {
    deactivateAll();
    *index = to;
    if (!te) return;
    if (selectAll) platform::TESetSelect(0, static_cast<int32_t>(te->text.size()), te);
    platform::TEActivate(te);
}

// The next of order after `from`, wrapping; the first when from is not in it.
template <size_t N>
int32_t nextIn(const int32_t (&order)[N], int32_t from) {
    for (size_t i = 0; i < N; ++i)
        if (order[i] == from) return order[(i + 1) % N];
    return order[0];
}

void selectNextItem() {
    int32_t first = -1;
    for (int32_t i = 0; i <= labelBack.lastItem; ++i) {
        const LabelItem* it = itemAt(i);
        if (it && it->i16(item::selected) != 0) {
            first = i;
            break;
        }
    }
    int32_t next = first + 1;
    if (first < 0 || next > labelBack.lastItem) next = 0;
    selectAllItems(0);
    if (LabelItem* it = itemAt(next)) it->setI16(item::selected, 1);
    hideFields();
    if (gWindows.wp) InvalWindowRect(gWindows.wp, gWindows.wp->portRect);
}

}  // namespace

void ProcessTabs(uint16_t modifiers) {
    WindowPtr wp = gWindows.wp;
    if (modifiers & optionKey) {
        WindowPtr to = gWindows.activeWindow == wp ? gWindows.disp2 : wp;
        if (!to) return;
        gWindows.activeWindow = to;
        SelectWindowF(to);
        return;
    }
    if (gWindows.disp2 && gWindows.activeWindow == gWindows.disp2) return selectNextItem();
    if (gWindows.activeWindow != wp || !wp) return;
    const int32_t kind = gLabel.curIteTyp;
    switch (gProd.background) {
        case 0:
            if (kind == kText) {
                const int32_t to = gPanels.c_TE == 0 ? 1 : 0;
                moveFocus(&gPanels.c_TE, to, &gPanels.TETe1[to], to == 1);
            } else {
                const int32_t c = gPanels.c_TE;
                const int32_t to = c >= 0 && c < 4 ? c + 1 : 0;
                gPanels.c_TE = to;
                moveFocus(&gPanels.c_TE, to, focusedField(), to >= 2);
            }
            break;
        case 1: {
            constexpr int32_t kOrder[] = {6, 0, 7, 1, 2, 8};
            const int32_t to = nextIn(kOrder, gPanels.c_TE1);
            moveFocus(&gPanels.c_TE1, to, &gPanels.TEBack1[to], true);
            break;
        }
        case 2:
            break;
        case 3: {
            const int32_t op = gTabs.opTab;
            if (op == 0 && kind == kBarcode) {
                constexpr int32_t kOrder[] = {2, 13, 14};
                const int32_t to = nextIn(kOrder, gPanels.c_TE3);
                moveFocus(&gPanels.c_TE3, to, &gPanels.TEBack3[to], true);
            } else if (op == 1 && (kind == kBarcode || kind == kText)) {
                moveFocus(&gPanels.c_TE3, 0, &gPanels.TEBack3[0], true);
            } else if (op == 2 && layoutOpen()) {
                constexpr int32_t kOrder[] = {9, 10, 11, 12};
                const int32_t to = nextIn(kOrder, gPanels.c_TE3);
                moveFocus(&gPanels.c_TE3, to, &gPanels.TEBack3[to], true);
            } else {
                moveFocus(&gPanels.c_TE3, -1, nullptr, false);
            }
            break;
        }
        case 4: {
            const int32_t c = gPanels.c_TE;
            int32_t to = c >= 9 && c < 12 ? c + 1 : 9;
            if (c == 12) to = gPanels.colTab == 0 ? 13 : 9;
            gPanels.c_TE = to;
            moveFocus(&gPanels.c_TE, to, focusedField(), true);
            break;
        }
        case 5: {
            const int32_t to = gPanels.c_TE5 == 0 ? 1 : 0;
            gPanels.c_TE5 = to;
            moveFocus(&gPanels.c_TE5, to, focusedField(), false);
            break;
        }
        default:
            break;
    }
}

void ProcessCodeLength(platform::TERec* field) {
    if (!field) return;
    const std::string text = field->text.substr(0, kMostLengthText);
    // Decimal whatever the leading zeros; a length stays within the data buffers.
    const long read = std::strtol(text.c_str(), nullptr, 10);
    const auto n = static_cast<int32_t>(std::clamp<long>(read, 0, kMostCodeLength));
    if (gLabel.curIteTyp != kText && n == 0 && gData.len1 != 0) {
        gSym.gglen = gData.len1;
        return;
    }
    gData.len1 = gData.len11 = gSym.gglen = n;
}
