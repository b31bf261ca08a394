// A process locale that writes a decimal comma, for the tests that prove the
// program's numbers do not follow the user's locale.
#pragma once

namespace testsupport {

// Switches the process to such a locale (an installed one, or one generated
// with localedef into a folder of the test's own); false, with a failure
// naming the package, when there is none.
bool enterCommaLocale();
// Back to the "C" locale.
void leaveCommaLocale();

}  // namespace testsupport
