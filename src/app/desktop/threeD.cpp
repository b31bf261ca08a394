#include "app/desktop/threeD.h"

TabState gTabs;
TabHooks gTabHooks;
void resetTabs() { gTabs = TabState{}; }
int32_t interfaceShade() { return 0; }
void setGrey() {}
void setForeGrey() {}
void setWhite() {}
void setDkGrey() {}
void setForeDkGrey() {}
void SetRGBColour(qd::RGBColor* colour, uint16_t red, uint16_t green, uint16_t blue) {
    *colour = {red, green, blue};
}
void ThreeD(const qd::Rect&, int32_t) {}
void ThreeDEdge(const qd::Rect&, int32_t) {}
void ThreeDTE(const platform::TERec&) {}
int32_t ThreeDFrameRR(const qd::Rect&, int32_t) { return 1; }
void NonTopBox(const qd::Rect&) {}
void Draw3dMenuPop(const qd::Rect&, int32_t) {}
void Draw3dPopupMenu(const qd::Rect&, const unsigned char*) {}
void Draw3dString(const qd::Rect&, const unsigned char*) {}
void DrawSICN(int32_t, int32_t, qd::Point) {}
void drawMark(int32_t, int32_t, int32_t) {}
void frameMark(int32_t, int32_t, unsigned char) {}
void invertMark(int32_t, int32_t) {}
void invalMark(toolbox::WindowPtr, int32_t, int32_t) {}
int32_t inMark(toolbox::WindowPtr, int32_t, int32_t, qd::Point) { return 0; }
qd::Rect markHitRect(int32_t h, int32_t v) { return {v + 1, h + 1, v + 11, h + 13}; }
void drawtab(int32_t, int32_t, int32_t, const unsigned char*, int32_t) {}
void TabClick(int32_t, int32_t, int32_t) {}
void BuildTabItem(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) {}
void DrawTabs() {}
int32_t CheckTabs(qd::Point) { return 0; }
void DrawColourTabs() {}
void DrawOptionTabs() {}
int32_t CheckTabsColour(qd::Point) { return 0; }
int32_t CheckTabsOptions(qd::Point) { return 0; }
void installTabs() {}
void Get_Click(void (*)(int32_t)) {}
