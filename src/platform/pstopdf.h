// The system's PostScript-to-PDF converter: Ghostscript's ps2pdf, run on an EPS
// with the page cropped to its bounding box.
#pragma once

#include <string>

namespace platform {

enum class PdfConversion { converted, notCreated, converterFailed, pdfNotWhole };

// The PDF of eps in *pdf, made through two temporary files in workFolder ("" the
// current folder), which are always removed. notCreated when the folder refuses
// them; converterFailed when ps2pdf is missing or cannot run; pdfNotWhole when
// it ran but failed or left a PDF without its end (Ghostscript exits 0 after a
// full disk cut its output short). *failure says why.
PdfConversion pstopdf(const std::string& eps, const std::string& workFolder, std::string* pdf,
                      std::string* failure);

}  // namespace platform
