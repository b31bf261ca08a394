// Image files the program wrote, read back by its own reader as grey pixels.
#pragma once

#include <string>

#include "support/reader.h"

namespace testsupport {

// An image file (TIFF, PNG, PGM...) as grey pixels, each the mean of its red,
// green and blue; empty when the file cannot be read, with why in *error.
Bitmap greyOfImage(const std::string& path, std::string* error = nullptr);

}  // namespace testsupport
