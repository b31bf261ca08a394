// Colour operators and the simple paths of a vector page: filled and outlined
// rectangles, ovals, lines, and the bearer bars, end bars and marks drawn around
// a symbol. Every writer follows the dialect gOut.ill and writes through TEInsert2.
#pragma once

#include <cstdint>

struct ShapeState {
    int32_t iBWR = 0;  // 1: the page set-up strokes in white ("1 G")
};
extern ShapeState gShape;
void resetShapeState();

// Modes of the colour writers.
constexpr int32_t kColourSetUp = 0;    // page set-up: group, overprint, line style
constexpr int32_t kColourComment = 1;  // the custom colour header comments
constexpr int32_t kColourStroke = 2;
constexpr int32_t kColourFill = 3;

// The text of one colour percentage as every colour operator writes it: "0 ",
// "1 " or ".NN " (5 is ".05 "). out needs 5 bytes; returns the length.
int colourNumberText(char* out, int32_t percent);

// The current symbol colours (cyan2, magenta2, yellow2, black2, customCol).
void doColour(int32_t mode);
// Given CMYK percentages.
void doBackColour(int32_t mode, int32_t c, int32_t m, int32_t y, int32_t k);

// Rectangles in points (64-bit floats, "%f").
void FillPostBox(double x0, double y0, double x1, double y1, double w = 0);
void DrawPostBox(double x0, double y0, double x1, double y1, double w);
// Ovals inside the rectangle, as four Bezier curves.
void FillPostCircle(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t w = 0);
void DrawPostCircle(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t w);
// A line item: the page writer passes (upper y, left, right, lower y); the line
// runs from (left, upper) to (right, lower).
void DrawPostLine(int32_t upper, int32_t left, int32_t right, int32_t lower, int32_t w);

// Marks of the barcode item; coordinates in points.
void DrawPostPara(double x0, double y0, double x1, double y1, double w);  // bearer bars
void DrawPostTopLine(double x0, double y0, double x1, double y1, int32_t w);
void DrawPostEnd(double x0, double y0, double x1, double y1, double w);
void DrawPostSmallItem(double x0, double y0, double x1, double y1, double w);
void DrawPostCutMarks(double left, double lower, double right, double top, double w);
