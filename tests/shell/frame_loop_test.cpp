#include "shell_fixture.h"

namespace {

class FakeManager : public CControlManager {
public:
    std::vector<int> updateResults; // consumed in order, then 0
    std::vector<std::string> calls;
    int takeDoubleClick = 0;
    int takePress = 0;

    int Update() override {
        calls.push_back("Update");
        if (updateResults.empty()) {
            return 0;
        }
        int result = updateResults.front();
        updateResults.erase(updateResults.begin());
        return result;
    }
    int OnLButtonDown(int, int) override {
        calls.push_back("LButtonDown");
        return takePress;
    }
    int OnLButtonUp(int, int) override { return 0; }
    int OnLButtonDblClk(int, int) override {
        calls.push_back("LButtonDblClk");
        return takeDoubleClick;
    }
    int OnMouseWheel(int, int) override { return 0; }
    int OnMouseMove(int, int) override { return 0; }
    int OnKeyDown(int) override { return 0; }
};

} // namespace

TEST_F(ShellTest, FramesStartWhenAnIdlePassFindsThemDueAndLatenessIsNotCaughtUp) {
    struct Case {
        DWORD idleStep;
        std::vector<std::uint64_t> frames;
    } cases[] = {
        {1, {33, 66, 99}},
        {5, {35, 70, 105}},  // due 33, 68, 103
        {20, {40, 80, 120}}, // due 33, 73, 113
    };
    for (const Case& c : cases) {
        HeadlessPlatform fresh;
        InstallPlatform(&fresh);
        fresh.SetIdleStep(c.idleStep);
        RecordingApp local(fresh);
        ASSERT_EQ(local.Init(nullptr, SW_SHOW), 1);
        fresh.SetRunLimit(c.frames.back() + c.idleStep);
        EXPECT_EQ(local.RunMessageLoop(), -1); // ended by the run limit's WM_QUIT
        EXPECT_EQ(local.TimesOf("OnFrame"), c.frames) << "idle step " << c.idleStep;
        EXPECT_EQ(local.TimesOf("OnExit").size(), 1u);
    }
    InstallPlatform(&platform);
}

TEST_F(ShellTest, TheWrappingTickCounterDoesNotStallFrames) {
    platform.SetTickCount(0xFFFFFFF0u);
    StartApp();
    RunUntil(100);
    EXPECT_EQ(app->TimesOf("OnFrame"), (std::vector<std::uint64_t>{33, 66, 99}));
}

TEST_F(ShellTest, TheFrameRateWindowStartsAtTheFirstTick) {
    StartApp();
    platform.Advance(500); // Init happened 500 ms before the loop runs
    RunUntil(2600);
    ASSERT_EQ(app->TimesOf("ShowFps"), (std::vector<std::uint64_t>{1500, 2500}));
    std::size_t framesInFirstSecond = 0;
    for (std::uint64_t at : app->TimesOf("OnFrame")) {
        framesInFirstSecond += at <= 1500 ? 1 : 0;
    }
    auto firstFps = std::find_if(app->calls.begin(), app->calls.end(),
                                 [](const HookCall& call) { return call.hook == "ShowFps"; });
    EXPECT_EQ(static_cast<std::size_t>(firstFps->a), framesInFirstSecond);
    EXPECT_GT(app->fps, 25);
    EXPECT_LT(app->fps, 31);
    EXPECT_EQ(platform.GetWindowText(app->hWnd),
              u"LumiHeadless - " + Utf8ToUtf16(std::to_string(app->fps)) + u" FPS");
}

TEST_F(ShellTest, ShowFpsRunsEachSecondEvenWhenTheTitleIsLeftAlone) {
    StartApp().showFpsInTitle = 0;
    RunUntil(2100);
    EXPECT_EQ(app->TimesOf("ShowFps"), (std::vector<std::uint64_t>{1000, 2000}));
    EXPECT_EQ(platform.GetWindowText(app->hWnd), u"LumiHeadless");
}

TEST_F(ShellTest, ARefusedBeginFrameSkipsUpdateAndOnFrameButStillCounts) {
    FakeManager manager;
    StartApp().controlManager = &manager;
    app->beginFrameResult = 0;
    RunUntil(1001);
    EXPECT_TRUE(app->TimesOf("OnFrame").empty());
    EXPECT_TRUE(manager.calls.empty());
    std::size_t begun = app->TimesOf("BeginFrame").size();
    ASSERT_EQ(app->TimesOf("ShowFps").size(), 1u);
    EXPECT_EQ(static_cast<std::size_t>(app->fps), begun);
}

TEST_F(ShellTest, AConsumingManagerUpdateSuppressesThatFramesOnFrame) {
    FakeManager manager;
    manager.updateResults = {1, 0, 1};
    StartApp().controlManager = &manager;
    RunUntil(140); // frames at 33, 66, 99, 132
    EXPECT_EQ(app->TimesOf("OnFrame"), (std::vector<std::uint64_t>{66, 132}));
    EXPECT_EQ(manager.calls.size(), 4u);
}

TEST_F(ShellTest, AMessageArrivingWhenAFrameIsDueIsHandledFirst) {
    StartApp();
    platform.PostAt(33, app->hWnd, WM_TIMER, 5, 0);
    platform.PostAt(33, app->hWnd, WM_TIMER, 6, 0);
    RunUntil(40);
    std::vector<std::string> expected = {"OnTimer", "OnTimer", "BeginFrame", "OnFrame"};
    std::vector<std::string> names = app->HookNames();
    names.erase(std::remove(names.begin(), names.end(), "OnExit"), names.end());
    EXPECT_EQ(names, expected);
    for (const HookCall& call : app->calls) {
        if (call.hook != "OnExit") {
            EXPECT_EQ(call.at, 33u) << call.hook;
        }
    }
}

TEST_F(ShellTest, PausedLoopsSleepWithoutFrames) {
    StartApp().paused = 1;
    RunUntil(200);
    EXPECT_TRUE(app->TimesOf("BeginFrame").empty());
    EXPECT_EQ(platform.Elapsed(), 200u);
}

TEST_F(ShellTest, HoldingCtrlFastForwardsOnlyWhenEnabled) {
    StartApp();
    platform.SetKeyDown(VK_CONTROL, true);
    RunUntil(10);
    EXPECT_TRUE(app->TimesOf("OnFrame").empty()); // fast-forward is off by default

    app->fastForwardDisabled = 0;
    app->calls.clear();
    RunUntil(15);
    EXPECT_EQ(app->TimesOf("OnFrame").size(), 5u); // every idle pass from 10 to 14
    EXPECT_EQ(app->normalSpeed, 0);
}

TEST_F(ShellTest, ADoubleClickTakenAsAPressNeverReachesTheHook) {
    FakeManager manager;
    manager.takePress = 1;
    StartApp().controlManager = &manager;
    Send(WM_LBUTTONDBLCLK, 0, MakeLParam(10, 20));
    EXPECT_EQ(manager.calls, (std::vector<std::string>{"LButtonDblClk", "LButtonDown"}));
    EXPECT_TRUE(app->TimesOf("OnLButtonDblClk").empty());

    manager.takePress = 0;
    Send(WM_LBUTTONDBLCLK, 0, MakeLParam(10, 20));
    EXPECT_EQ(app->TimesOf("OnLButtonDblClk").size(), 1u);
}
