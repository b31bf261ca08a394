#include "support/locale.h"

#include <gtest/gtest.h>
#include <langinfo.h>
#include <locale.h>

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

// Whether `name` is a locale that writes a decimal comma, asked without
// switching to it.
bool writesComma(const char* name) {
    locale_t l = ::newlocale(LC_NUMERIC_MASK | LC_CTYPE_MASK, name, static_cast<locale_t>(nullptr));
    if (!l) return false;
    const bool comma = std::string(::nl_langinfo_l(RADIXCHAR, l)) == ",";
    ::freelocale(l);
    return comma;
}

std::optional<std::string> variable(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::optional<std::string>(v) : std::nullopt;
}

void putBack(const char* name, const std::optional<std::string>& value) {
    if (value)
        setenv(name, value->c_str(), 1);
    else
        unsetenv(name);
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

CommaLocaleEnvironment::CommaLocaleEnvironment()
    : lcAll_(variable("LC_ALL")), locPath_(variable("LOCPATH")) {
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8"})
        if (writesComma(name)) {
            ok_ = setenv("LC_ALL", name, 1) == 0;
            return;
        }
    // Made once beside the test program, and kept for the next run.
    const char* made = "de_DE.UTF-8";
    const std::string dir = tempPath("utf8_locales");
    setenv("LOCPATH", dir.c_str(), 1);
    std::string why;
    // Asked before it is made, the C library would remember that it is not there.
    if (!std::filesystem::exists(dir + "/" + made + "/LC_NUMERIC")) {
        std::filesystem::create_directories(dir);
        why = runCommand("localedef -i de_DE -f UTF-8 '" + dir + "/" + made + "'").err;
    }
    ok_ = writesComma(made) && setenv("LC_ALL", made, 1) == 0;
    if (!ok_)
        ADD_FAILURE() << "no UTF-8 locale with a decimal comma, and localedef could not make one ("
                      << why << "): install the Debian package locales";
}

CommaLocaleEnvironment::~CommaLocaleEnvironment() {
    putBack("LC_ALL", lcAll_);
    putBack("LOCPATH", locPath_);
}

}  // namespace testsupport
