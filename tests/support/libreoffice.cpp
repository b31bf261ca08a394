#include <gtest/gtest.h>

#include <fstream>

#include "support/reader.h"

namespace testsupport {

std::string pictThroughLibreOffice(const std::string& pictBytes, int dpi, bool grey) {
    if (!requireProgram("soffice", "libreoffice-draw-nogui") ||
        !requireProgram("pdftoppm", "poppler-utils"))
        return {};
    const std::string dir = tempPath("");
    std::ofstream(dir + "label.pct", std::ios::binary) << std::string(512, '\0') << pictBytes;
    const RunResult lo = runCommand("cd '" + dir + "' && soffice -env:UserInstallation=file://" +
                                    dir + "profile --headless --convert-to pdf --outdir '" + dir +
                                    "' '" + dir + "label.pct'");
    if (lo.status != 0) {
        ADD_FAILURE() << "LibreOffice: " << lo.err;
        return {};
    }
    const RunResult ppm =
        runCommand("pdftoppm -r " + std::to_string(dpi) + (grey ? " -gray" : "") +
                   " -aa no -aaVector no '" + dir + "label.pdf' '" + dir + "page'");
    if (ppm.status != 0) {
        ADD_FAILURE() << "pdftoppm: " << ppm.err;
        return {};
    }
    return dir + (grey ? "page-1.pgm" : "page-1.ppm");
}

}  // namespace testsupport
