// EPS files placed on labels: their PostScript and bounding box, Ghostscript's
// raster of them for ports that show pixels, and the EPS itself passed into
// PostScript output.
#pragma once

#include <cstddef>
#include <string>

#include "platform/quickdraw/image.h"
#include "platform/quickdraw/quickdraw.h"

namespace qd {

struct EpsFile {
    std::string postscript;  // the PostScript part (without a PC EPS file's binary header)
    double llx = 0, lly = 0, urx = 0, ury = 0;  // %%BoundingBox, points
    double width() const { return urx - llx; }
    double height() const { return ury - lly; }
};

// True when the bytes begin as an EPS file: "%!PS-Adobe" or the PC EPS header.
bool LooksLikeEps(const unsigned char* data, size_t size);
// False with a reason when the file is no EPS, is cut short or has no usable
// bounding box.
bool ReadEps(const unsigned char* data, size_t size, EpsFile* out, std::string* error);
bool ReadEpsFile(const std::string& path, EpsFile* out, std::string* error);

// Ghostscript's raster of the EPS at pixelsPerPoint (its bounding box, with
// transparency outside the marks). False when Ghostscript is missing or fails.
bool RasterOfEps(const EpsFile& eps, double pixelsPerPoint, Image* out);
// Whether Ghostscript is on PATH: a raster that fails without it is no fault of the file.
bool GhostscriptFound();

// On a port over a PostScript surface the EPS goes into the output as it is,
// scaled onto dst and turned like DrawImage; true then. False on every other
// port, and for an EPS file cairo cannot embed, where the caller draws a raster
// or a placeholder instead.
bool PassEpsThrough(const EpsFile& eps, const Rect& dst, double angle);

}  // namespace qd
