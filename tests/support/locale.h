// Locales for the tests that prove the output does not follow the user's locale.
#pragma once

namespace testsupport {

// Switches the whole process to a locale that writes a decimal comma: an installed
// one, or one generated from the locale sources into a folder of the test's own.
// Fails the current test (and returns false) when there is none.
bool enterCommaLocale();
// Back to the "C" locale.
void leaveCommaLocale();

}  // namespace testsupport
