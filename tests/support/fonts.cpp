#include "support/fonts.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/textmetrics.h"

namespace testsupport {

namespace fs = std::filesystem;

namespace {

bool loaded = false;

// Writes fonts.conf with the font folders `dirs` and a cache of its own into the
// folder `name`, whole and renamed into place so that no process reads half of it.
fs::path writeConfig(const std::string& name, const std::string& dirs) {
    const fs::path dir = fs::temp_directory_path() / "strixel-tests" / name;
    fs::create_directories(dir / "cache");
    const fs::path conf = dir / "fonts.conf";
    const fs::path part = dir / ("fonts.conf." + std::to_string(getpid()));
    {
        std::ofstream out(part);
        out << "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n<fontconfig>\n"
            << dirs << "  <cachedir>" << (dir / "cache").string() << "</cachedir>\n</fontconfig>\n";
    }
    fs::rename(part, conf);
    return conf;
}

}  // namespace

bool useTestFonts() {
    struct Folder {
        const char* path;
        const char* package;
    };
    const Folder folders[] = {{kUrwFolder, "fonts-urw-base35"},
                              {kOcrBFolder, "fonts-ocr-b"},
                              {kOcrAFolder, "fonts-ocr-a"}};
    bool complete = true;
    for (const Folder& f : folders)
        if (!fs::is_directory(f.path)) {
            ADD_FAILURE() << f.path << " is missing: install the Debian package " << f.package
                          << " (scripts/install-deps.sh does)";
            complete = false;
        }
    if (!complete) return false;

    if (loaded) return true;
    // A configuration and cache of their own, so that the user's font set-up plays no
    // part; shared by the test processes (fontconfig locks its cache).
    std::string dirs;
    for (const Folder& f : folders) dirs += std::string("  <dir>") + f.path + "</dir>\n";
    const fs::path conf = writeConfig("fontconfig", dirs);
    loaded = platform::useFontConfigFile(conf.c_str());
    if (!loaded) ADD_FAILURE() << "fontconfig cannot read " << conf;
    return loaded;
}

bool useNoFonts() {
    loaded = false;
    return platform::useFontConfigFile(writeConfig("nofonts", "").c_str());
}

}  // namespace testsupport
