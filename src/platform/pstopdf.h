// The system's PostScript-to-PDF converter: Ghostscript's ps2pdf, run on an EPS
// with the page cropped to its bounding box.
#pragma once

#include <string>

namespace platform {

enum class PdfConversion { converted, notCreated, converterFailed };

// Writes the PDF of eps at pdfPath (safely: a temporary beside it, renamed
// over it when whole). notCreated when the folder or the name refuses a file;
// converterFailed when ps2pdf is missing or fails. *failure says why.
PdfConversion pstopdf(const std::string& eps, const std::string& pdfPath, std::string* failure);

}  // namespace platform
