// Picture items of a label: choosing the file and placing the item, drawing an
// image or EPS file at the item's place, and the EPS carried into a picture as
// PostScript comments for PostScript printers and picture readers.
#pragma once

#include <cstdint>
#include <string>

#include "labels/labelDoc.h"
#include "platform/quickdraw/quickdraw.h"

constexpr size_t kPicturePathMost = kLabelItemTextSize - 1;  // a path the data field keeps whole
// The largest picture or EPS file a label reads.
constexpr int64_t kMostPictureBytes = int64_t{64} << 20;

// Places the chosen file in item: mode 1 at `mouse` (layout window pixels),
// scaled down to the label's width when wider, with its natural size kept;
// any other mode keeps the item's place. kind 99 and above does nothing. A
// cancelled or refused choice leaves the item as it was.
void doPictTool(int32_t mode, int32_t kind, LabelItem* item, qd::Point mouse = {});
// The open dialog for picture files: true with the file's path and its natural
// bounds (pixels, or points of an EPS file's bounding box). A path longer than
// kPicturePathMost bytes and a file that cannot be read are refused with a message.
bool GetGraphicLocation(std::string* path, qd::Rect* rect);
// Draws the picture file at rect, turned by angle degrees (clockwise on the
// page). An EPS file goes into PostScript output as it is; elsewhere it is drawn
// as Ghostscript's raster of it, or as a framed placeholder with its name when
// Ghostscript is missing. False after a message when the file cannot be read,
// or, when printing, when Ghostscript cannot run the EPS file.
bool DrawImage(const std::string& path, const qd::Rect& rect, double angle, bool printing = false);
// Every picture the label's picture items keep, and every image and EPS file
// they name, can be read; false after a message naming the first that cannot.
bool PictureFilesReadable();
// The EPS file as PostScript comments into the picture being recorded, scaled
// into itRect by the item's natural size and turned by orient.
void ProcessEPSJob(const std::string& path, int32_t vRefNum, int32_t itemIndex, int32_t dirID);
// The file's bytes as PostScript comments of at most 8192 bytes, then a
// carriage return. 0, or the file system's error when it cannot be opened.
int32_t PSFromFile(const std::string& path, int32_t vRefNum, int32_t dirID);
// One line of PostScript and a carriage return as a comment.
void PostScriptLine(const std::string& line);

// The first picture of the open label that cannot be read (a damaged picture
// the document keeps, or a file that is not a regular file, too large or
// missing), as a sentence naming it; empty when all can be.
// Runs ask before their first file, so that no label goes out without its picture.
std::string unreadablePicture();
// A picture or background item in the picture driver: its own picture, its
// image file or its EPS file at r. When printing, one that cannot be drawn is
// reported, so that the run fails.
void DrawPictureItem(int32_t i, const qd::Rect& r, int32_t printMode);
