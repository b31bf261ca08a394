// A click in the main window that no tab took: the marks, pop-up boxes and
// fields of the current pane, each tested in a fixed order.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "app/desktop/eventLoop.h"
#include "app/desktop/glue.h"
#include "app/desktop/mainWindow.h"
#include "app/desktop/settingsPanes.h"
#include "app/desktop/threeD.h"
#include "app/desktop/mainWindowLayout.h"
#include "labels/importfile.h"
#include "labels/itemFields.h"
#include "labels/labelDoc.h"
#include "labels/preview.h"
#include "labels/production.h"
#include "labels/runs/itemOps.h"
#include "picture/PICout2.h"
#include "picture/output/SetUpFiles.h"
#include "picture/outputstate.h"
#include "symbology/panels.h"
#include "symbology/state.h"

using namespace toolbox;
using namespace mainlayout;

namespace {

constexpr int32_t kBarcode = 1, kPicture = 2, kText = 4, kShape = 8;
constexpr int32_t kCouponCode = 37, kCouponVariant = 7;
constexpr double kBearerWidth = 13.606302;  // points
constexpr double kInchesPerMm = 0.03937007874015748;
constexpr int32_t kHeightInInches = 2;
constexpr int32_t kCutMarkInset = 10;
constexpr int32_t kSizeModeBit = 2, kHeightModeBit = 4;
constexpr int32_t kStoreSettings = 0, kStoreAll = 2, kStoreOptions = 12;
constexpr int16_t kAlphabetHexItem = 2;
constexpr int32_t kAnumerHex = 2;
constexpr int32_t kPreviewScrollBars = 16;

// Where the click is, and whether a field took the focus.
struct Click {
    qd::Point local;
    int32_t shift = 0;
    bool focused = false;
};

bool in(qd::Point p, const qd::Rect& r) {
    return p.h >= r.left && p.h < r.right && p.v >= r.top && p.v < r.bottom;
}
bool hit(const Click& c, Mark m) {
    if (!in(c.local, markBox(m))) return false;
    if (gWindows.wp) InvalWindowRect(gWindows.wp, markBox(m));
    return true;
}
bool hitField(const Click& c, const platform::TERec* te) { return InEditField(c.local, te) == 0; }

void toggle(int32_t* v) { *v = *v ? 0 : 1; }
bool layoutOpen() { return labelBack.labelWidth != 0; }

// The field gets the caret (TEClick) or its whole text selected.
void focus(Click* c, platform::TERec* te, int32_t* index, int32_t value, bool selectAll) {
    deactivateAll();
    *index = value;
    platform::TEActivate(te);
    if (selectAll)
        platform::TESetSelect(0, static_cast<int32_t>(te->text.size()), te);
    else
        platform::TEClick(c->local, c->shift != 0, te);
    c->focused = true;
}

void popUp(const PopUp& p) { doPopUpMenu(p.box, p.menuId, p.h, p.v); }

void showNumber(platform::TERec* te, const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    platform::TESetText(text, static_cast<int32_t>(std::strlen(text)), te);
}

void showHeight() {
    const double shown = gSym.hMode == kHeightInInches ? gSym.Hei * kInchesPerMm : gSym.Hei;
    showNumber(&gPanels.TEHeight, "%0.2f", shown);
    mirrorNumberFields(true);
}

// The bearer line switches between none and its one width, shown in both of
// the fields that hold it.
void switchLine() {
    gSym.line = gSym.line == 0 ? kBearerWidth : 0;
    gSym.gline = gSym.line;
    showNumber(&gPanels.TEBack3[1], "%.0f", std::trunc(gSym.line));
    showNumber(&gPanels.TELine, "%.0f", std::trunc(gSym.line));
}

// ---- Scrolling the text item's field --------------------------------------------------

// Scrolls the field so that line `line` is at its top.
void adjustItemText(platform::TERec* te, int32_t line) {
    const int32_t offset = te->viewRect.top - te->destRect.top;
    const int32_t lineHeight = gMain.lineHeight > 0 ? gMain.lineHeight : te->lineHeight;
    platform::TEScroll(0, offset - line * lineHeight, te);
}

void scrollAction(ControlHandle c, int16_t part) {
    const int32_t by = scrollStep(part);
    if (by == 0) return;
    SetControlValue(c, GetControlValue(c) + by);
    adjustItemText(&gPanels.TETe1[0], GetControlValue(c));
}

// ---- Pane 0 --------------------------------------------------------------------------

void barcodeClick(Click* c) {
    if (hitField(*c, &gPanels.TEHeight)) {
        focus(c, &gPanels.TEHeight, &gPanels.c_TE, 3, true);
    } else if (hitField(*c, &gPanels.TESize)) {
        focus(c, &gPanels.TESize, &gPanels.c_TE, 2, true);
    } else if (hitField(*c, &gPanels.TEBWR)) {
        focus(c, &gPanels.TEBWR, &gPanels.c_TE, 4, true);
    } else if (hitField(*c, &gPanels.TEH)) {
        focus(c, &gPanels.TEH, &gPanels.c_TE, 0, false);
        const bool option = gLoop.gmyEvent.modifiers & optionKey;
        if (gSym.code == kCouponCode && gSym.variation1 == kCouponVariant && !option &&
            mainWindowHooks().couponDialog)
            mainWindowHooks().couponDialog();
    } else if (hitField(*c, &gPanels.TEX)) {
        focus(c, &gPanels.TEX, &gPanels.c_TE, 1, false);
    } else if (in(c->local, kCodeTypes.box)) {
        popUp(kCodeTypes);
    } else if (in(c->local, kSize.box)) {
        popUp(kSize);
    } else if (in(c->local, kHeightUnit.box)) {
        popUp(kHeightUnit);
    } else if (in(c->local, kSizeModeBox)) {
        gSym.lMode ^= kSizeModeBit;
        setItemDataSelItems(kStoreSettings);
    } else if (in(c->local, kBarWidth.box)) {
        popUp(kBarWidth);
    } else if (in(c->local, kHeightModeBox)) {
        gSym.lMode ^= kHeightModeBit;
        gSym.cuHei = gSym.Hei;
        showHeight();
        setItemDataSelItems(kStoreSettings);
    } else if (in(c->local, kPreviewBox)) {
        toggle(&gOut.showDia);
    } else if (in(c->local, kOutput.box)) {
        popUp(kOutput);
    }
}

void textItemClick(Click* c) {
    if (in(c->local, kFontPane0.box)) {
        popUp(kFontPane0);
    } else if (in(c->local, kTextSizePane0.box)) {
        popUp(kTextSizePane0);
    } else if (in(c->local, kDataFields.box)) {
        popUp(kDataFields);
    } else if (in(c->local, kJustPane0.box)) {
        popUp(kJustPane0);
    } else if (hitField(*c, &gPanels.TETe1[0])) {
        // A new item's one space is only a placeholder: selected, it is typed over.
        focus(c, &gPanels.TETe1[0], &gPanels.c_TE, 0, gPanels.TETe1[0].text == kNewTextData);
        getTextData();
    } else if (hitField(*c, &gPanels.TETe1[1])) {
        focus(c, &gPanels.TETe1[1], &gPanels.c_TE, 1, true);
    } else {
        for (size_t i = 0; i < std::size(kTextStyles); ++i)
            if (hit(*c, kTextStyles[i])) {
                gSym.TEface ^= kTextStyleBits[i];
                setItemDataSelItems(kStoreAll);
                break;
            }
        if (layoutOpen())
            for (size_t i = 0; i < std::size(kTextOrients); ++i)
                if (in(c->local, markBox(kTextOrients[i]))) {
                    gSym.orient = kOrients[i];
                    for (Mark m : kTextOrients) InvalWindowRect(gWindows.wp, markBox(m));
                    break;
                }
    }
    setItemDataSelItems(kStoreSettings);
}

void paneCode(Click* c) {
    if (in(c->local, kHeightIcon)) {
        if (gSym.Hei != 0)
            gSym.Hei = 0;
        else
            defaults();
        showHeight();
        setItemDataSelItems(kStoreSettings);
        return;
    }
    switch (gLabel.curIteTyp) {
        case kBarcode:
            barcodeClick(c);
            break;
        case kText:
            textItemClick(c);
            break;
        case kPicture:
            if (in(c->local, kDataFields.box)) popUp(kDataFields);
            break;
        default:
            break;
    }
}

// ---- Panes 1 and 2 ---------------------------------------------------------------------

void paneSerial(Click* c) {
    if (Is(gLabel.curIteTyp, kBarcode | kText) != 0) return;
    for (int32_t i = 0; i < 9; ++i) {
        if (i == 4 || i == 5) continue;
        if (hitField(*c, &gPanels.TEBack1[i])) {
            focus(c, &gPanels.TEBack1[i], &gPanels.c_TE1, i, true);
            return;
        }
    }
    if (gSym.anumer == 0 || gSym.anumer == kAnumerHex) {
        if (!in(c->local, kAlphabet.box)) return;
        MenuHandle menu = GetMenuHandle(kAlphabet.menuId);
        if (!menu) menu = GetMenu(kAlphabet.menuId);
        if (menu && !GetMenuHandle(kAlphabet.menuId)) InsertMenu(menu, hierMenu);
        if (menu) {
            if (gSym.anumer == kAnumerHex)
                DisableMenuItem(menu, kAlphabetHexItem);
            else
                EnableMenuItem(menu, kAlphabetHexItem);
        }
        popUp(kAlphabet);
    } else if (in(c->local, kSerialPreviewBox)) {
        toggle(&gOut.showDia);
    }
}

void paneImport(Click* c) {
    if (Is(gLabel.curIteTyp, kBarcode | kText) != 0) return;
    if (in(c->local, kImportMode.box)) return popUp(kImportMode);
    if (in(c->local, kImportOutput.box)) return popUp(kImportOutput);
    for (int32_t i = 0; i <= 9; ++i) {
        platform::TERec* te = TEBack2Field(i);
        if (!hitField(*c, te)) continue;
        if (i == 4) {
            focus(c, te, &gPanels.c_TE2, 4, false);
        } else if (i == 0 || i == 1 || i == 9) {
            if (in(c->local, kImportFileBox)) {
                openFile();
                if (!gPictOut.impoFile.empty())
                    platform::TESetText(kImportFileChosen,
                                        static_cast<int32_t>(std::strlen(kImportFileChosen)),
                                        &gPanels.TEBack2[1]);
            } else if (in(c->local, kImportPreviewBox)) {
                toggle(&gOut.showDia);
            }
        } else if (!(i == 6 && gSym.canEdit3 == 1)) {
            focus(c, te, &gPanels.c_TE2, i, true);
        }
        return;
    }
}

// ---- Pane 3 ----------------------------------------------------------------------------

void optionsText(Click* c) {
    const int32_t kind = gLabel.curIteTyp;
    if (Is(kind, kBarcode | kText) != 0) return;
    bool done = false;
    if (kind == kBarcode) {
        done = true;
        if (hit(*c, kHuman)) {
            toggle(&gSym.human);
        } else if (hit(*c, kStripExtra)) {
            gSym.strip_extra = gSym.strip_extra == 1 ? 0 : 1;
        } else if (hit(*c, kStripExtra2)) {
            gSym.strip_extra = gSym.strip_extra == 2 ? 0 : 2;
        } else if (hit(*c, kCustomSize)) {
            constexpr double kTenth = 0.1;
            gSym.customTeSize = gSym.customTeSize ? 0 : static_cast<int32_t>(gSym.Siz * kTenth);
            char text[16] = "auto";
            if (gSym.customTeSize) std::snprintf(text, sizeof text, "%d", gSym.customTeSize);
            platform::TESetText(text, static_cast<int32_t>(std::strlen(text)), &gPanels.TEBack3[0]);
        } else if (hit(*c, kFlushBars)) {
            toggle(&gSym.flushBars);
        } else if (hit(*c, kTextAsFont)) {
            toggle(&gSym.textAsFont);
        } else if (hit(*c, kAttTop)) {
            toggle(&gSym.attTop);
        } else {
            done = false;
        }
    }
    if (!done) {
        bool styled = false;
        for (size_t i = 0; i < std::size(kOptionStyles) && !styled; ++i)
            if (hit(*c, kOptionStyles[i])) {
                gSym.TEface ^= kOptionStyleBits[i];
                styled = true;
            }
        if (styled) {
        } else if (in(c->local, kFontOptions.box)) {
            popUp(kFontOptions);
        } else if (in(c->local, kTextSizeOptions.box)) {
            popUp(kTextSizeOptions);
        } else if (in(c->local, kJustOptions.box)) {
            popUp(kJustOptions);
        } else if (in(c->local, kBaselineSign.box)) {
            popUp(kBaselineSign);
        } else {
            for (int32_t i : {0, 3, 5})
                if (hitField(*c, &gPanels.TEBack3[i])) {
                    focus(c, &gPanels.TEBack3[i], &gPanels.c_TE3, i, true);
                    break;
                }
        }
    }
    if (!c->focused) setItemDataSelItems(kStoreAll);
}

void optionsDimensions(Click* c) {
    for (int32_t i = 9; i <= 12; ++i)
        if (hitField(*c, &gPanels.TEBack3[i])) {
            focus(c, &gPanels.TEBack3[i], &gPanels.c_TE3, i, true);
            return;
        }
    if (hit(*c, kGrid)) toggle(&gDriver.gridOn);
}

void optionsBars(Click* c) {
    const int32_t kind = gLabel.curIteTyp;
    const bool codeOrShape = Is(kind, kBarcode | kShape) == 0;
    if (codeOrShape) {
        if (in(c->local, kLineOptions.box)) return popUp(kLineOptions);
        if (hit(*c, kLine)) return switchLine();
        if (hit(*c, kTransparent)) return toggle(&gSym.transpar_ent);
    }
    if (kind == kBarcode) {
        if (hit(*c, kPara)) return toggle(&gSym.para);
        if (hit(*c, kBox)) {
            const int32_t v = gSym.para || gSym.end_bars ? 0 : 1;
            gSym.para = gSym.end_bars = v;
            return;
        }
        if (hit(*c, kEndBars)) return toggle(&gSym.end_bars);
        if (hit(*c, kAboveHu)) return toggle(&gSym.AboveHu);
        if (hit(*c, kHgauge)) {
            gSym.Hgauge = gSym.Hgauge ? 0 : 2;
            return;
        }
        for (size_t i = 0; i < std::size(kHgaugeJ); ++i)
            if (hit(*c, kHgaugeJ[i])) {
                gSym.HgaugeJ = kHgaugeJValues[i];
                return;
            }
        if (!(layoutOpen() && gOut.tool != 0))
            for (size_t i = 0; i < std::size(kBarOrients); ++i)
                if (hit(*c, kBarOrients[i])) {
                    gSym.orient = kOrients[i];
                    return;
                }
        if (hit(*c, kNonLight)) return toggle(&gSym.non_light);
        // Cut marks widen the inset by ten; switching them off keeps the
        // inset's units, not what it was before.
        if (hit(*c, kCutMarks)) {
            if (gSym.cutMarks == 0) {
                gSym.cutMarks = 1;
                gSym.insetAmount += kCutMarkInset;
            } else {
                gSym.cutMarks = 0;
                gSym.insetAmount %= kCutMarkInset;
            }
            return;
        }
        for (int32_t i : {2, 13, 14})
            if (hitField(*c, &gPanels.TEBack3[i]))
                return focus(c, &gPanels.TEBack3[i], &gPanels.c_TE3, i, true);
    }
    if (codeOrShape && hitField(*c, &gPanels.TEBack3[1]))
        focus(c, &gPanels.TEBack3[1], &gPanels.c_TE3, 1, true);
}

void paneOptions(Click* c) {
    switch (gTabs.opTab) {
        case 0:
            optionsBars(c);
            break;
        case 1:
            optionsText(c);
            break;
        case 2:
            optionsDimensions(c);
            break;
        default:
            break;
    }
    if (!c->focused) setItemDataSelItems(kStoreOptions);
}

// ---- Pane 4 ----------------------------------------------------------------------------

void paletteClick(Click* c) {
    qd::RGBColor colour;
    GetColourFromPallette(&colour, kPaletteRect, c->local);
    gSym.customColour = 0;
    if (gLabel.curIteTyp != 0) {
        int32_t cy = 0, ye = 0, ma = 0, bk = 0;
        convertToCMYK(&cy, &ye, &ma, &bk, colour.red, colour.green, colour.blue);
        if (gPanels.colTab == 1) {
            gSym.cyan22 = cy, gSym.magenta22 = ma, gSym.yellow22 = ye, gSym.black22 = bk;
        } else {
            gSym.cyan2 = cy, gSym.magenta2 = ma, gSym.yellow2 = ye, gSym.black2 = bk;
        }
    } else {
        labelBack.backRed = colour.red;
        labelBack.backGreen = colour.green;
        labelBack.backBlue = colour.blue;
    }
    setColourItems(1);
    if (gWindows.wp) InvalWindowRect(gWindows.wp, gWindows.wp->portRect);
    setItemDataSelItems(kStoreSettings);
}

void paneColours(Click* c) {
    const int32_t kind = gLabel.curIteTyp;
    if (kind != kBarcode && in(c->local, kPaletteRect)) return paletteClick(c);
    const bool first = gPanels.colTab == 0;
    if (first && in(c->local, kLineColours.box)) return popUp(kLineColours);
    if (first && hit(*c, kOverPrint)) return toggle(&gSym.overPrint);
    if (kind != 0 && hit(*c, kColourLine)) {
        if (first)
            switchLine();
        else
            toggle(&gSym.transpar_ent);
        setItemDataSelItems(kStoreSettings);
        return;
    }
    if (kind == kPicture) return;
    if (in(c->local, kColours.box))
        return MenuPopUp(kColours.box, kColours.menuId, {kColours.v, kColours.h}, gWindows.wp);
    if (kind == 0 && hit(*c, kColourLine)) {
        LabelItem* first0 = itemAt(0);
        if (first0 && first0->u16(item::kind) == kKindBackground)
            deleteLabelItem(0);
        else
            setBgGraphic();
        return;
    }
    struct Colour {
        platform::TERec* te;
        int32_t index;
    };
    const Colour fields[] = {{&gPanels.TECyan, 9},
                             {&gPanels.TEMage, 10},
                             {&gPanels.TEYell, 11},
                             {&gPanels.TEBlac, 12},
                             {&gPanels.TELine, 13}};
    for (const Colour& f : fields) {
        if (f.index == 13 && !first) break;
        if (hitField(*c, f.te)) return focus(c, f.te, &gPanels.c_TE, f.index, true);
    }
}

// ---- Pane 5 ----------------------------------------------------------------------------

void paneManual(Click* c) {
    if (hitField(*c, &gPanels.TEH)) return focus(c, &gPanels.TEH, &gPanels.c_TE5, 0, false);
    if (hitField(*c, &gPanels.TEBack5[0]))
        return focus(c, &gPanels.TEBack5[0], &gPanels.c_TE5, 1, false);
    if (hitField(*c, &gPanels.TEBack5[1]))
        return focus(c, &gPanels.TEBack5[1], &gPanels.c_TE5, 2, false);
    if (hitField(*c, &gPanels.TEBack1[3]) && gSym.canEdit3 != 1)
        focus(c, &gPanels.TEBack1[3], &gPanels.c_TE5, 3, true);
}

void mainClick(qd::Point where, int32_t shift) {
    WindowPtr wp = gWindows.wp;
    qd::GrafPort* saved = qd::GetPort();
    qd::SetPort(wp->port);
    Click c{{where.v - wp->contentOrigin.v, where.h - wp->contentOrigin.h}, shift};
    if (!layoutOpen()) gLabel.curIteTyp = kBarcode;
    const int32_t bg = gProd.background;

    if (bg == 0 && gLabel.curIteTyp == kText && gMain.TECont && gMain.TECont->visible &&
        TestControl(gMain.TECont, c.local) != 0) {
        TrackControl(gMain.TECont, c.local, scrollAction);
        adjustItemText(&gPanels.TETe1[0], GetControlValue(gMain.TECont));
        doUpdate();
        qd::SetPort(saved);
        return;
    }
    if ((bg <= 2 || bg == 5) && gMain.ONK && gMain.ONK->visible &&
        TestControl(gMain.ONK, c.local) != 0) {
        if (TrackControl(gMain.ONK, c.local, nullptr) != 0) doOKButton();
        qd::SetPort(saved);
        return;
    }
    switch (bg) {
        case 0:
            paneCode(&c);
            break;
        case 1:
            paneSerial(&c);
            break;
        case 2:
            paneImport(&c);
            break;
        case 3:
            paneOptions(&c);
            break;
        case 4:
            paneColours(&c);
            break;
        case 5:
            paneManual(&c);
            break;
        default:
            break;
    }
    if (gWindows.disp2 && !c.focused) {
        const qd::Rect r = gWindows.disp2->portRect;
        const int32_t cut = layoutOpen() ? kPreviewScrollBars : 0;
        Disp2InvalRect(
            0, Rect16{static_cast<int16_t>(r.top), static_cast<int16_t>(r.left),
                      static_cast<int16_t>(r.bottom - cut), static_cast<int16_t>(r.right - cut)});
    }
    doUpdate();
    qd::SetPort(saved);
}

}  // namespace

void doMouse(qd::Point where, int32_t shift) {
    if (!gWindows.wp) return;
    // A click that changes the selected items or the label's colour or background
    // (a box, a menu, OK) is undone on its own; one that focuses a field is not.
    UndoPoint before;
    mainClick(where, shift);
    before.keepIfChanged();
}
