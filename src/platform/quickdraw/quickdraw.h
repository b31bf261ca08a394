// The drawing platform: QuickDraw's model (ports, pens, patterns, colours, shapes,
// clips, text, offscreen worlds) drawn with cairo.
//
// Coordinates are whole units of the port (pixels offscreen, points on print
// surfaces). The pixel rules are QuickDraw's: a shape covers [left, right) x
// [top, bottom); the pen hangs right of and below its position, so a line sweeps
// the pen rectangle and a frame lies inside its rectangle. Rectangles, lines,
// frames and clips are never smoothed, so a 1-unit bar is exactly one pixel.
//
// Every call works on the current port (SetPort / SetGWorld). While the port
// records a picture (platform/quickdraw/picture.h) each call is also kept in it.
#pragma once

#include "platform/cairoLibrary.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qd {

struct Point {
    int32_t v = 0;
    int32_t h = 0;
};

struct Rect {
    int32_t top = 0;
    int32_t left = 0;
    int32_t bottom = 0;
    int32_t right = 0;
    int32_t width() const { return right - left; }
    int32_t height() const { return bottom - top; }
    bool empty() const { return right <= left || bottom <= top; }
    bool operator==(const Rect&) const = default;
};

struct RGBColor {
    uint16_t red = 0;
    uint16_t green = 0;
    uint16_t blue = 0;
    bool operator==(const RGBColor&) const = default;
};

// 8 x 8 bits, one byte a row, the top bit leftmost; a set bit takes the fore colour.
struct Pattern {
    uint8_t rows[8] = {};
    bool operator==(const Pattern&) const = default;
};
inline constexpr Pattern kBlack{{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}};
inline constexpr Pattern kDarkGray{{0xDD, 0x77, 0xDD, 0x77, 0xDD, 0x77, 0xDD, 0x77}};
inline constexpr Pattern kGray{{0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55}};
inline constexpr Pattern kLightGray{{0x88, 0x22, 0x88, 0x22, 0x88, 0x22, 0x88, 0x22}};
inline constexpr Pattern kWhite{};

// Transfer modes. The low two bits choose copy, or, xor or bic; bit 2 inverts
// the source or pattern; the pattern modes are the source modes plus 8.
enum TransferMode : int16_t {
    srcCopy = 0,
    srcOr = 1,
    srcXor = 2,
    srcBic = 3,
    notSrcCopy = 4,
    notSrcOr = 5,
    notSrcXor = 6,
    notSrcBic = 7,
    patCopy = 8,
    patOr = 9,
    patXor = 10,
    patBic = 11,
    notPatCopy = 12,
    notPatOr = 13,
    notPatXor = 14,
    notPatBic = 15,
};

// The eight colours of ForeColor.
enum OldColor : int32_t {
    blackColor = 33,
    whiteColor = 30,
    redColor = 205,
    greenColor = 341,
    blueColor = 409,
    cyanColor = 273,
    magentaColor = 137,
    yellowColor = 69,
};

// TextFace bits.
enum StyleBits : int16_t { bold = 1, italic = 2, underline = 4 };

// A closed polygon (a clip outline or a painted polygon).
struct Polygon {
    std::vector<Point> points;
};

struct Picture;

// A drawing state: one port. Create with NewPort or NewGWorld.
struct GrafPort;
using GWorldPtr = GrafPort*;

// ---- Ports ------------------------------------------------------------------

// A port drawing into a cairo surface (a window, a PDF or PostScript page); one
// port unit is `scale` surface units. `smooth` lets ovals, arcs and text be
// smoothed (screen ports). The surface stays the caller's.
GrafPort* NewPort(cairo_surface_t* surface, const Rect& bounds, double scale = 1,
                  bool smooth = false);
void DisposePort(GrafPort* port);
void SetPort(GrafPort* port);
GrafPort* GetPort();
// Draws everything still pending into the surface (before reading or saving it).
void FlushPort(GrafPort* port);

// ---- Offscreen worlds ---------------------------------------------------------

// The depth number of an 8-bit grey world.
inline constexpr int kGreyDepth = 40;
// An offscreen world of depth 1 (black and white), 8 (the 6 x 6 x 6 colour cube),
// kGreyDepth (256 greys) or 32 bits over bounds, erased to white. Returns 0 with
// *world set; otherwise an error number (-108 out of memory, -50 a bad depth or
// size) with *world null. One-bit and grey worlds keep their pixels packed, a bit
// or a byte each, and fill rectangles straight into their rows.
int NewGWorld(GWorldPtr* world, int depth, const Rect& bounds);
// A one-bit world where a colour shows white when the high byte of its red is
// redFrom or more (0, the default, keeps only pure white white), as raster files
// threshold a colour drawing. Grey worlds show a colour's luminance.
void SetGWorldWhiteFrom(GWorldPtr world, int redFrom);
// A one-bit world where a colour shows white when it lies at least as near the
// paper colour as the ink colour and black, and black otherwise: a coloured
// symbol shows its bars black on white however light their colour, as a
// preview must. SetGWorldWhiteFrom ends this.
void SetGWorldPaper(GWorldPtr world, const RGBColor& paper, const RGBColor& ink);
void DisposeGWorld(GWorldPtr world);
void SetGWorld(GWorldPtr world);
GWorldPtr GetGWorld();
int GWorldDepth(GWorldPtr world);
Rect GWorldBounds(GWorldPtr world);
// The world's pixels, 0x..RRGGBB (the top byte unused), row after row (stride in bytes).
// One-bit and grey worlds make this copy on each call: read their rows instead.
const uint32_t* GWorldPixels(GWorldPtr world, int* stride);
// Row y of a one-bit world as image files keep it: the first pixel in the most
// significant bit, 1 for white, the last byte padded with 0 bits; (width + 7) / 8
// bytes. False for another kind of world or a row outside it.
bool GWorldBitRow(GWorldPtr world, int y, uint8_t* out);
// Row y of a grey world: one grey level a pixel, 0 black, 255 white; width bytes.
bool GWorldGreyRow(GWorldPtr world, int y, uint8_t* out);
// True when row y of a world holds the same pixels as row y - 1: a cheap test
// before converting a row that repeats.
bool GWorldRowRepeats(GWorldPtr world, int y);
// The colour at a point of the current port (white outside it).
void GetCPixel(int32_t h, int32_t v, RGBColor* colour);
// Copies srcRect of src into dstRect of the current port, scaled to fit.
// srcCopy replaces; srcOr leaves the destination where the source is white. The
// destination's clip applies, and the mask outline when one is given.
void CopyBits(GrafPort* src, const Rect& srcRect, const Rect& dstRect, int16_t mode,
              const Polygon* mask = nullptr);

// ---- Pen --------------------------------------------------------------------

void MoveTo(int32_t h, int32_t v);
void Move(int32_t dh, int32_t dv);
void LineTo(int32_t h, int32_t v);
void Line(int32_t dh, int32_t dv);
void GetPen(Point* pt);
void PenSize(int32_t width, int32_t height);
void PenMode(int16_t mode);
void PenPat(const Pattern& pat);
void BackPat(const Pattern& pat);
// Size 1 x 1, mode patCopy, black pattern.
void PenNormal();
// Calls nest: drawing shows again after as many ShowPen as HidePen.
void HidePen();
void ShowPen();

// ---- Colours ----------------------------------------------------------------

void RGBForeColor(const RGBColor& c);
void RGBBackColor(const RGBColor& c);
void GetForeColor(RGBColor* c);
void GetBackColor(RGBColor* c);
void ForeColor(int32_t oldColor);
void BackColor(int32_t oldColor);

// ---- Shapes -------------------------------------------------------------------

void FrameRect(const Rect& r);
void PaintRect(const Rect& r);
void EraseRect(const Rect& r);
void InvertRect(const Rect& r);
void FillRect(const Rect& r, const Pattern& pat);
void FrameOval(const Rect& r);
void PaintOval(const Rect& r);
void EraseOval(const Rect& r);
void InvertOval(const Rect& r);
void FrameRoundRect(const Rect& r, int32_t ovalWidth, int32_t ovalHeight);
void PaintRoundRect(const Rect& r, int32_t ovalWidth, int32_t ovalHeight);
void EraseRoundRect(const Rect& r, int32_t ovalWidth, int32_t ovalHeight);
void InvertRoundRect(const Rect& r, int32_t ovalWidth, int32_t ovalHeight);
// Angles in degrees, 0 at twelve o'clock, positive clockwise.
void FrameArc(const Rect& r, int32_t startAngle, int32_t arcAngle);
void PaintArc(const Rect& r, int32_t startAngle, int32_t arcAngle);
void EraseArc(const Rect& r, int32_t startAngle, int32_t arcAngle);
void InvertArc(const Rect& r, int32_t startAngle, int32_t arcAngle);
void FramePoly(const Polygon& poly);
void PaintPoly(const Polygon& poly);
void ErasePoly(const Polygon& poly);

// ---- Clipping -----------------------------------------------------------------

void ClipRect(const Rect& r);
// Clips to the inside of a polygon (a turned rectangle, say).
void ClipPoly(const Polygon& poly);
// The clip rectangle, or the polygon's bounds.
void GetClip(Rect* r);
// Clip everything out of reach: no clip at all.
void ClipAll();
// The clip as it stands, to be put back with SetClipState.
struct ClipState {
    int kind = 0;  // 0 none, 1 a rectangle, 2 a polygon
    Rect rect;
    Polygon poly;
};
ClipState GetClipState();
void SetClipState(const ClipState& c);

// ---- Text ---------------------------------------------------------------------

// Font numbers come from platform/textmetrics (GetFNum, the same numbers).
void GetFNum(const unsigned char* name, int16_t* num);
void TextFont(int16_t num);
void TextFace(int16_t face);
void TextSize(int16_t size);  // 0 is the default 12
void TextMode(int16_t mode);  // srcOr (the default), srcCopy, srcXor or srcBic
// On: advances are exact; off: each is rounded to a whole unit.
void SetFractEnable(bool on);
// Draws at the pen (the baseline's left end) and moves the pen past the text.
void DrawChar(unsigned char ch);
void DrawText(const void* text, int32_t firstByte, int32_t count);
void DrawString(const unsigned char* pascalString);
// Draws ch from OCR-B at the current size where the bar font sets a character
// it has no outline for, the pen standing where the bar font's character
// starts (a picture keeps the place to the nearest unit). The font stays the
// current one; the pen moves past the character.
void DrawCharAsBarFontFallback(unsigned char ch);
// Text scaled by numer / denom in each direction.
void StdText(const void* text, int32_t count, Point numer, Point denom);
int32_t TextWidth(const void* text, int32_t firstByte, int32_t count);
int32_t StringWidth(const unsigned char* pascalString);
int32_t CharWidth(unsigned char ch);
struct FontInfo {
    int32_t ascent = 0;
    int32_t descent = 0;
    int32_t widMax = 0;
    int32_t leading = 0;
};
void GetFontInfo(FontInfo* info);

// ---- Pictures -----------------------------------------------------------------

// Starts recording the current port's drawing into a new picture with the given
// frame; the pen is hidden until ClosePicture.
Picture* OpenPicture(const Rect& frame);
void ClosePicture();
// Replays p into the current port, its frame mapped onto dst.
void DrawPicture(const Picture* p, const Rect& dst);
void KillPicture(Picture* p);
// A comment kept in the picture being recorded, in order (nothing is drawn).
void PicComment(int16_t kind, int16_t dataSize, const void* data);

// Rectangles painted between BeginFillGroup and EndFillGroup are filled as one
// path when the group ends (or when the pen's mode, pattern or colours change
// within it), so that abutting rectangles, the modules of a matrix symbol, show
// no seam where a viewer smooths the edges of each fill. Draw nothing else
// inside a group. Pictures keep the pair (PICT as two comments of this program's
// own), so a picture replayed onto a page groups its rectangles the same way.
void BeginFillGroup();
void EndFillGroup();

// Drawing between BeginTurn and EndTurn is turned by `degrees` about centre
// (port coordinates); positive angles turn counter-clockwise on the screen. A
// picture keeps the turn; its PICT bytes hold the turned drawing as pixels.
// Clips set inside a turn are turned with the drawing. shift moves the turned
// drawing afterwards, in port units.
void BeginTurn(double degrees, Point centre, Point shift = {});
void EndTurn();

}  // namespace qd
