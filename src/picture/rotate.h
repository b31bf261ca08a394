// Turned items in pictures and the picture comments that go with them: the
// PostScript bracket (190, 191) that printer drivers read, the rotation comments
// (200 begin, 201 end, 202 centre), forms printing (210, 211), and the turning of
// points and rectangles.
#pragma once

#include <cstdint>

#include "platform/quickdraw/quickdraw.h"

constexpr int16_t kPostScriptBegin = 190;
constexpr int16_t kPostScriptEnd = 191;
constexpr int16_t kPostScriptHandle = 192;
constexpr int16_t kRotateBegin = 200;
constexpr int16_t kRotateEnd = 201;
constexpr int16_t kRotateCenter = 202;
constexpr int16_t kFormsPrintingOn = 210;
constexpr int16_t kFormsPrintingOff = 211;

// The pen after the last barcode item drawn, from the item's top left.
extern qd::Point ccpt;

// One point turned about centre; c and s the cosine and sine of the angle.
// Coordinates are truncated.
qd::Point RotatePt(qd::Point point, qd::Point centre, double cosine, double sine);
// rect becomes the bounding rectangle of its four corners turned by angle
// degrees about centre (counter-clockwise on the screen); with makeRegion 1,
// region receives the outline through the turned corners.
void QDRotatedRect(qd::Rect* rect, qd::Point centre, double angle, qd::Polygon* region,
                   int32_t makeRegion);

// The rotation comments' data: 200 a flip flag, 360 - angle rounded and as a
// 16.16 fixed-point number; 202 the centre's vertical then horizontal coordinate
// in 16.16. Big-endian, as picture comments travel.
struct RotationComments {
    unsigned char begin[8];
    unsigned char centre[8];
};
RotationComments rotationComments(double angle, qd::Point centre, bool flip);

// Sends the port's pending pen state into the picture before a comment.
void FlushGrafPortState();
// An empty PostScript bracket: comments 190 and 191.
void FlushPostScriptState();
void TurnOnFormsPrinting();
void TurnOffFormsPrinting();
// 190, the PostScript line "copypage", 191: a form repeated on the next page.
void FormsCopyPage();

// Barcode item i drawn in rect turned by angle (whole degrees) about centre, a
// point from the rectangle's top left: turned inside a PostScript bracket and,
// when printing (printMode 1), again inside the rotation comments 202, 200 and
// 201. flip goes into the rotation comment; kind is not read.
void DrawXRString(qd::Point centre, int32_t flip, double angle, qd::Rect rect, int32_t i,
                  int32_t printMode, int32_t kind);
