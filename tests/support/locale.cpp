#include "support/locale.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>

#include "support/reader.h"

namespace testsupport {

namespace {
bool switchTo(const char* name) {
    if (!std::setlocale(LC_ALL, name)) return false;
    if (std::localeconv()->decimal_point[0] == ',') return true;
    std::setlocale(LC_ALL, "C");
    return false;
}
}  // namespace

bool enterCommaLocale() {
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "de_DE.ISO-8859-1"})
        if (switchTo(name)) return true;
    const std::string dir = tempPath("locales");
    std::filesystem::create_directories(dir);
    RunResult r = runCommand("localedef -i de_DE -f ISO-8859-1 '" + dir + "/de_DE.ISO-8859-1'");
    setenv("LOCPATH", dir.c_str(), 1);
    if (switchTo("de_DE.ISO-8859-1")) return true;
    ADD_FAILURE() << "no locale with a decimal comma, and localedef could not make one (" << r.err
                  << "): install the Debian package locales";
    return false;
}

void leaveCommaLocale() { std::setlocale(LC_ALL, "C"); }

}  // namespace testsupport
