// The port record behind the drawing calls, shared by the files of the layer.
#pragma once

#include "platform/cairoLibrary.h"

#include "platform/quickdraw/picture.h"
#include "platform/quickdraw/quickdraw.h"

namespace qd {

// cairo makes image surfaces of at most this many pixels a side.
inline constexpr int32_t kMaxImageSide = 32767;

// A pixel map of w x h (0xAARRGGBB, row after row) taken down by a whole step,
// nearest pixel, until it is at most mostWidth wide and mostHeight high; w and
// h become the new sides.
std::vector<uint32_t> fittedPixels(const std::vector<uint32_t>& pixels, int* w, int* h,
                                   int mostWidth = kMaxImageSide, int mostHeight = kMaxImageSide);

struct Clip {
    enum Kind { Open, Box, Outline } kind = Open;
    Rect rect;
    Polygon poly;
};

// The drawing state that pictures start from and that DrawPicture restores.
struct DrawState {
    Point pen;
    double penFrac = 0;  // what text advanced the pen beyond pen.h
    int32_t penWidth = 1;
    int32_t penHeight = 1;
    int16_t penMode = patCopy;
    Pattern penPat = kBlack;
    Pattern backPat = kWhite;
    RGBColor fore{0, 0, 0};
    RGBColor back{0xFFFF, 0xFFFF, 0xFFFF};
    int16_t font = 0;
    int16_t face = 0;
    int16_t size = 0;
    int16_t textMode = srcOr;
    bool fract = false;
    Clip clip;
};

// Rectangles painted inside a fill group, waiting to be filled as one path, with
// the pen state they were painted in.
struct FillGroup {
    int depth = 0;  // BeginFillGroup calls not yet ended
    std::vector<Rect> rects;
    int16_t mode = patCopy;
    Pattern pat = kBlack;
    RGBColor fore, back;
};

struct GrafPort {
    cairo_surface_t* surface = nullptr;
    bool ownsSurface = false;
    cairo_t* cr = nullptr;
    Rect bounds;
    double scale = 1;
    bool smooth = false;
    int depth = 0;  // of an offscreen world; 0 for a port on a caller's surface
    // One-bit worlds: colours whose red is at least this light show white; 0 keeps
    // only pure white white.
    int whiteFrom = 0;
    // One-bit worlds set by SetGWorldPaper: a colour nearer the paper than the
    // ink and black shows white, whatever its red.
    bool byPaper = false;
    RGBColor paper, ink;
    std::vector<uint32_t> rgbView;  // GWorldPixels of an ink world
    DrawState st;
    int penVis = 0;
    std::vector<Clip> outerClips;  // of the ports pictures are replayed into
    bool clipApplied = false;
    Picture* recording = nullptr;
    int turns = 0;  // BeginTurn calls not yet ended
    FillGroup group;
};

GrafPort& current();
// True when drawing reaches the surface (a surface, and the pen not hidden).
bool visible(const GrafPort& p);
// The op appended to the picture being recorded, or null.
PicOp* record(GrafPort& p, Op op);
// Sets the port's clip on its cairo context when it changed.
void applyClip(GrafPort& p);
// The colour the port can show: black or white at depth 1, the nearest of the
// colour cube at depth 8.
RGBColor showable(const GrafPort& p, const RGBColor& c);
// True for the worlds that keep ink rather than colour: one bit (set for black)
// or one byte of darkness (255 black) a pixel, on a cairo A1 or A8 surface.
bool inkWorld(const GrafPort& p);
// How dark a colour shows in an ink world, 0 (white) to 255 (black).
uint8_t inkOf(const GrafPort& p, const RGBColor& c);
void setSource(GrafPort& p, const RGBColor& c);
// Fills the current path of p.cr in a transfer mode with a pattern.
void fillPath(GrafPort& p, int16_t mode, const Pattern& pat, bool smooth);
// Fills the rectangles a fill group holds as one path and empties it.
void flushFillGroup(GrafPort& p);
// Replays one recorded shape at r, with its oval size or angles and its points.
void drawShapeOp(const PicOp& op, const Rect& r, int32_t p1, int32_t p2,
                 const std::vector<Point>& pts);
// Fills a rectangle of an offscreen world by writing its pixels, when the mode,
// a solid pattern and a rectangular clip allow; false when the path must be used.
bool fillRectDirect(GrafPort& p, const Rect& r, int16_t mode, const Pattern& pat);
// Paints rectangles that all span the same rows (bars) into a one-bit world in
// one pass over those rows, as painting them one by one in the mode and pattern
// would; false, with nothing drawn, when they must be painted one by one.
bool fillBandDirect(GrafPort& p, const std::vector<Rect>& band, int16_t mode, const Pattern& pat);
// Pixels h0 .. h1 - 1 of row v, in port coordinates.
struct PixelRun {
    int32_t v, h0, h1;
};
// Fills runs of a one-bit world in an or, xor or bic mode with a black pattern, as
// a path covering them would be filled; false when the mode, a turn or an outline
// clip needs the path.
bool fillRunsDirect(GrafPort& p, const std::vector<PixelRun>& runs, int16_t mode);
// The pixels a path of p's context covers when filled unsmoothed with the
// non-zero winding rule, as runs; false for a path beyond any world's size.
bool pathRuns(const GrafPort& p, const cairo_path_t* path, std::vector<PixelRun>* runs);
GrafPort* newWorldPort(int depth, const Rect& bounds, int* err);
// Copies w x h pixels (0xAARRGGBB, not premultiplied) into dstRect of dst, scaled, inside the clip
// and mask, and keeps the copy in the picture dst records.
void drawBits(GrafPort& dst, const std::vector<uint32_t>& pixels, int w, int h, const Rect& dstRect,
              int16_t mode, const Polygon* mask);
// One recorded op replayed into the current port as it was recorded.
void replayOp(const PicOp& op);

}  // namespace qd
