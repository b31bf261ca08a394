#include "support/settings_sandbox.h"

#include <cstdlib>

#include "app/world.h"

namespace testsupport {

void SettingsSandbox::SetUp() {
    char tmpl[] = "/tmp/strixel-sandbox-XXXXXX";
    ASSERT_NE(::mkdtemp(tmpl), nullptr);
    dir = tmpl;
    setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
}

void SettingsSandbox::TearDown() {
    unsetenv("XDG_CONFIG_HOME");
    resetWorld();
    std::filesystem::remove_all(dir);
}

}  // namespace testsupport
