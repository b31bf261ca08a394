#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/reader.h"

namespace testsupport {

namespace fs = std::filesystem;

std::string tempPath(const std::string& name) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string dir = "strixel-tests/";
    if (info) dir += std::string(info->test_suite_name()) + "." + info->name();
    fs::path p = fs::temp_directory_path() / dir;
    for (char& c : dir)
        if (c == '/') c = '_';
    fs::create_directories(p);
    return (p / name).string();
}

static std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

RunResult runCommand(const std::string& command) {
    RunResult r;
    char errName[] = "/tmp/strixel-stderr-XXXXXX";
    int fd = mkstemp(errName);
    if (fd < 0) return r;
    close(fd);
    std::string full = command + " 2>" + errName;
    FILE* p = popen(full.c_str(), "r");
    if (!p) {
        unlink(errName);
        return r;
    }
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
    int st = pclose(p);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    r.err = slurp(errName);
    unlink(errName);
    return r;
}

bool requireProgram(const std::string& program, const std::string& package) {
    RunResult r = runCommand("command -v " + program);
    if (r.status != 0) {
        ADD_FAILURE() << program << " is missing: install the Debian package " << package
                      << " (scripts/install-deps.sh does)";
        return false;
    }
    return true;
}

bool writePGM(const Bitmap& bmp, const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    out << "P5\n" << bmp.width << " " << bmp.height << "\n255\n";
    out.write(reinterpret_cast<const char*>(bmp.pixels.data()),
              static_cast<std::streamsize>(bmp.pixels.size()));
    return static_cast<bool>(out);
}

static bool readPGM(const std::string& path, Bitmap* bmp) {
    std::string s = slurp(path);
    std::istringstream in(s);
    std::string magic;
    int maxval = 0;
    in >> magic >> bmp->width >> bmp->height >> maxval;
    if (magic != "P5" || maxval != 255 || bmp->width <= 0 || bmp->height <= 0) return false;
    in.get();
    size_t n = static_cast<size_t>(bmp->width) * bmp->height;
    size_t off = static_cast<size_t>(in.tellg());
    if (s.size() < off + n) return false;
    bmp->pixels.assign(s.begin() + static_cast<long>(off), s.begin() + static_cast<long>(off + n));
    return true;
}

Rendered renderWithGhostscript(const std::string& path, int dpi, bool epsCrop) {
    Rendered out;
    if (!requireProgram("gs", "ghostscript")) return out;
    std::string pgm = path + ".pgm";
    std::string cmd = "gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=pgmraw -r" + std::to_string(dpi) +
                      (epsCrop ? " -dEPSCrop" : "") + " -sOutputFile='" + pgm + "' '" + path + "'";
    RunResult r = runCommand(cmd);
    out.err = r.err + r.out;
    out.ok =
        r.status == 0 && out.err.find("Error") == std::string::npos && readPGM(pgm, &out.bitmap);
    return out;
}

bool inkBoundingBox(const std::string& path, double* llx, double* lly, double* urx, double* ury) {
    if (!requireProgram("gs", "ghostscript")) return false;
    RunResult r = runCommand("gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=bbox '" + path + "'");
    std::string all = r.err + r.out;
    size_t pos = all.find("%%HiResBoundingBox:");
    if (pos == std::string::npos) return false;
    std::istringstream in(all.substr(pos + 19));
    return static_cast<bool>(in >> *llx >> *lly >> *urx >> *ury);
}

RunResult qpdfCheck(const std::string& path) {
    if (!requireProgram("qpdf", "qpdf")) return {};
    return runCommand("qpdf --check '" + path + "'");
}

RunResult pdftoppm(const std::string& path, const std::string& outPrefix) {
    if (!requireProgram("pdftoppm", "poppler-utils")) return {};
    return runCommand("pdftoppm -r 150 -gray '" + path + "' '" + outPrefix + "'");
}

RunResult zbarimg(const std::string& path) {
    if (!requireProgram("zbarimg", "zbar-tools")) return {};
    return runCommand("zbarimg -q --raw '" + path + "'");
}

}  // namespace testsupport
