// A process locale that writes a decimal comma, for the tests that prove the
// program's numbers do not follow the user's locale.
#pragma once

#include <optional>
#include <string>

namespace testsupport {

// Switches the process to such a locale (an installed one, or one generated
// with localedef into a folder of the test's own); false, with a failure
// naming the package, when there is none.
bool enterCommaLocale();
// Back to the "C" locale.
void leaveCommaLocale();

// While it lives, the environment names a UTF-8 locale with a decimal comma
// (LC_ALL, and LOCPATH when it had to be made), for a program that takes the
// user's locale as it starts; the process's own locale is not touched.
class CommaLocaleEnvironment {
  public:
    CommaLocaleEnvironment();  // a failure naming the package when there is none
    ~CommaLocaleEnvironment();
    CommaLocaleEnvironment(const CommaLocaleEnvironment&) = delete;
    CommaLocaleEnvironment& operator=(const CommaLocaleEnvironment&) = delete;
    bool ok() const { return ok_; }

  private:
    std::optional<std::string> lcAll_, locPath_;
    bool ok_ = false;
};

}  // namespace testsupport
