#include "app/desktop/settingsPanes.h"

void DrawWindowHeader() {}
void DrawBgFont() {}
void DrawItemNameBox() {}
void DrawBg1() {}
void DrawBg2() {}
void DrawBg4() {}
void DrawBg5() {}
void DrawBg3() {}
void DrawBgCustomText() {}
void DrawBgDimensions() {}
void ShowColourBlock(const qd::Rect&, int32_t, int32_t, int32_t, int32_t, int32_t) {}
void DrawColourPallette(const qd::Rect&) {}
void GetColourFromPallette(qd::RGBColor* out, const qd::Rect&, qd::Point) { *out = {}; }
void Build3dButton(const qd::Rect&, int32_t, int32_t, int32_t) {}
const char* outputFormatName(int32_t, int32_t, int32_t) { return ""; }
const char* importModeName(int32_t) { return ""; }
const char* justificationName(int32_t) { return ""; }
