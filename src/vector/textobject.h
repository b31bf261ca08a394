// The opening of a text object, shared by the two text positioners.
#pragma once

// Opens a text object at (x, y) points in the dialect's form, turned by the item
// rotation; exact writes the position with "%f", otherwise as integers.
void openTextObject(double x, double y, bool exact);
