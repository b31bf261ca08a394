// A fixed font configuration for tests that measure text, so that widths are the
// same on every machine: only the URW base 35 fonts and the two OCR fonts.
#pragma once

#include <string>

namespace testsupport {

// Font files the fixed configuration holds, for tests that read them directly.
constexpr const char* kUrwFolder = "/usr/share/fonts/opentype/urw-base35";
constexpr const char* kUrwAfmFolder = "/usr/share/fonts/type1/urw-base35";
constexpr const char* kOcrBFolder = "/usr/share/fonts/opentype/ocr-b";
constexpr const char* kOcrAFolder = "/usr/share/fonts/truetype/ocr-a";

// Points text measurement at the fixed configuration (once per process). Fails the
// current test, naming the package to install, when a font folder is missing.
bool useTestFonts();
// Points text measurement at a configuration with no fonts at all, until the next
// useTestFonts().
bool useNoFonts();

}  // namespace testsupport
