#include "shell_fixture.h"

namespace {

// Counts what happened to an application the entry sequence owns.
struct Outcome {
    int exits = 0;
    int destroyed = 0;
};

class EntryApp : public RecordingApp {
public:
    EntryApp(HeadlessPlatform& platform, Outcome& outcome, int quitCode)
        : RecordingApp(platform), outcome_(outcome), quitCode_(quitCode) {}
    ~EntryApp() override { ++outcome_.destroyed; }
    void OnExit() override { ++outcome_.exits; }
    // The third frame ends the program: by closing the window, or with a
    // quit code of its own.
    void OnFrame() override {
        if (++frames_ != 3) {
            return;
        }
        if (quitCode_ < 0) {
            Sys().PostMessage(hWnd, WM_CLOSE, 0, 0);
        } else {
            Sys().PostQuitMessage(quitCode_);
        }
    }

private:
    Outcome& outcome_;
    int quitCode_;
    int frames_ = 0;
};

} // namespace

TEST_F(ShellTest, ProgramEntryRunsInitTheLoopThenDestroysTheApplication) {
    struct Case {
        int quitCode; // -1: the window is closed
        int exitCode;
    } cases[] = {{-1, 0}, {3, 3}};
    for (const Case& c : cases) {
        Outcome outcome;
        auto* app = new EntryApp(platform, outcome, c.quitCode);
        EXPECT_EQ(CAppBase::Instance(), app);
        EXPECT_EQ(RunApplication(app, nullptr, SW_SHOW), c.exitCode);
        EXPECT_EQ(outcome.exits, 1);
        EXPECT_EQ(outcome.destroyed, 1);
        EXPECT_EQ(CAppBase::Instance(), nullptr);
    }
}

TEST_F(ShellTest, AFailedWindowCreationEndsSilentlyWithExitCodeZero) {
    Outcome outcome;
    auto* app = new EntryApp(platform, outcome, 5);
    app->createResult = 0;
    EXPECT_EQ(RunApplication(app, nullptr, SW_SHOW), 0);
    EXPECT_EQ(outcome.exits, 1); // OnExit still runs
    EXPECT_EQ(outcome.destroyed, 1);
    EXPECT_TRUE(platform.MessageBoxes().empty());
}

TEST_F(ShellTest, InitNamesTheWindowAfterTheApplication) {
    StartApp();
    EXPECT_EQ(std::u16string(app->className), u"LumiHeadless");
    EXPECT_EQ(platform.GetWindowText(app->hWnd), u"LumiHeadless");
    EXPECT_EQ(platform.Window(app->hWnd)->style, WS_OVERLAPPEDWINDOW);
    EXPECT_EQ(app->savedDisplayMode.width, 1920);
    EXPECT_EQ(app->savedDisplayMode.refreshRate, 60);
}
