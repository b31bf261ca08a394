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
    // part; shared by the test processes (fontconfig locks its cache), the file
    // written whole and renamed into place so that no process reads half of it.
    const fs::path dir = fs::temp_directory_path() / "strixel-tests" / "fontconfig";
    fs::create_directories(dir / "cache");
    const fs::path conf = dir / "fonts.conf";
    const fs::path part = dir / ("fonts.conf." + std::to_string(getpid()));
    {
        std::ofstream out(part);
        out << "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM "
               "\"fonts.dtd\">\n<fontconfig>\n";
        for (const Folder& f : folders) out << "  <dir>" << f.path << "</dir>\n";
        out << "  <cachedir>" << (dir / "cache").string() << "</cachedir>\n</fontconfig>\n";
    }
    fs::rename(part, conf);
    loaded = platform::useFontConfigFile(conf.c_str());
    if (!loaded) ADD_FAILURE() << "fontconfig cannot read " << conf;
    return loaded;
}

bool useNoFonts() {
    const fs::path dir = fs::temp_directory_path() / "strixel-tests" / "nofonts";
    fs::create_directories(dir / "cache");
    const fs::path conf = dir / "fonts.conf";
    const fs::path part = dir / ("fonts.conf." + std::to_string(getpid()));
    {
        std::ofstream out(part);
        out << "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n<fontconfig>\n"
            << "  <cachedir>" << (dir / "cache").string() << "</cachedir>\n</fontconfig>\n";
    }
    fs::rename(part, conf);
    loaded = false;
    return platform::useFontConfigFile(conf.c_str());
}

}  // namespace testsupport
