// The desktop program's shell on the offscreen desktop, in a home of its own
// (settings, data and fonts in a temporary folder), with the links recorded
// instead of opened and the questions and dialogs answered by the test.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/desktop/about.h"
#include "app/desktop/commands.h"
#include "app/desktop/eventLoop.h"
#include "app/desktop/helpWindow.h"
#include "app/desktop/startup.h"
#include "app/desktop/wiring.h"
#include "app/shell.h"
#include "desktop_fixture.h"
#include "platform/desktop.h"
#include "platform/questions.h"
#include "support/settings_sandbox.h"
#include "symbology/messages.h"

// The sandbox's folders, used inside this fixture rather than as a test.
struct ShellSandbox : testsupport::SettingsSandbox {
    void TestBody() override {}
};

class ShellTest : public DesktopTest {
  protected:
    void SetUp() override {
        DesktopTest::SetUp();
        sandbox.SetUp();
        home = sandbox.dir / "home";
        std::filesystem::create_directories(home);
        setenv("HOME", home.c_str(), 1);
        setenv("XDG_DATA_HOME", (sandbox.dir / "data").c_str(), 1);
        forget();
        opened().clear();
        setLinkOpener([](const std::string& address) {
            opened().push_back(address);
            return true;
        });
        gMsg.quiet = true;
    }
    void TearDown() override {
        forget();
        setLinkOpener(nullptr);
        platform::SetDialogAnswers(nullptr, nullptr, nullptr);
        unsetenv("XDG_DATA_HOME");
        if (savedHome)
            setenv("HOME", savedHome->c_str(), 1);
        else
            unsetenv("HOME");
        sandbox.TearDown();
        DesktopTest::TearDown();
    }

    // Everything the shell keeps, as before a start.
    static void forget() {
        closeHelpWindow();
        resetEventLoop();
        resetShell();
        resetStartup();
        resetAbout();
        resetCommands();
        resetMessages();
        gMsg.quiet = true;
        platform::resetQuestions();
        platform::resetDesktop();
        clean();
        toolbox::SetTickClock(true, kStartTicks);  // clean() put back the real clock
    }

    // Wires the shell alone (the windows' routes stay recorded, so each command
    // shows what it asked for) and runs its start-up.
    static void start() {
        installStartup();
        installCommands();
        startProgram();
    }

  public:
    // Loop passes until a quit or nothing waits (bounded).
    static void settle() {
        for (int guard = 0; guard < 50 && gShell.gRunning == 0 && MainEventPass(); ++guard) {
        }
    }

  protected:
    static std::vector<std::string> unhandledNames() {
        std::vector<std::string> n;
        for (const LoopCall& c : unhandledCalls()) n.push_back(c.name);
        return n;
    }
    static void chooseMenuItem(int16_t menu, int16_t item) {
        toolbox::SendDesktopMouse(true, centre(toolbox::MenuTitleBounds(menu)), 0);
        toolbox::SendDesktopMouse(false, centre(toolbox::MenuItemBounds(menu, item)), 0);
        settle();
    }
    static std::vector<std::string>& opened() {
        static std::vector<std::string> all;
        return all;
    }

    ShellSandbox sandbox;
    std::filesystem::path home;
    std::optional<std::string> savedHome =
        std::getenv("HOME") ? std::optional<std::string>(std::getenv("HOME")) : std::nullopt;
};
