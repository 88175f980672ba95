#include "daily/daily_app.h"
#include "data/profile.h"
#include "platform/headless/headless_platform.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

using daily::CApp;

// Opaque page colours by month and day, so a frame tells which page it shows.
std::uint32_t PageColour(int month, int day) {
    return 0xFF000000u | static_cast<std::uint32_t>(month * 16) << 16 |
           static_cast<std::uint32_t>(day * 8) << 8 | 0x40;
}

// The weekday sheet: digit d is grey 20 + 20 d, the separator white, the
// weekday label of row w is red 30 + 30 w.
std::uint32_t WeekdaySheet(int x, int y) {
    if (y < 10) {
        std::uint32_t grey = x < 80 ? 20 + 20 * static_cast<std::uint32_t>(x / 8) : 255;
        return 0xFF000000u | grey << 16 | grey << 8 | grey;
    }
    int row = (y - 12) / 16;
    return y >= 12 && (y - 12) % 16 < 14
               ? 0xFF000000u | static_cast<std::uint32_t>(30 + 30 * row) << 16
               : 0;
}

bool Near(std::uint32_t a, std::uint32_t b) {
    for (int shift = 0; shift < 32; shift += 8) {
        if (std::abs(static_cast<int>((a >> shift) & 0xFF) -
                     static_cast<int>((b >> shift) & 0xFF)) > 1) {
            return false;
        }
    }
    return true;
}

class DailyWindowTest : public ::testing::Test {
protected:
    DailyWindowTest() { FreshSystem(); }
    // A new machine: nothing running, nothing saved.
    void FreshSystem() {
        app.reset();
        owned = std::make_unique<HeadlessPlatform>();
        InstallPlatform(owned.get());
        owned->SetScreen(1920, 1080, 1920, 1040);
    }
    ~DailyWindowTest() override {
        app.reset();
        InstallPlatform(nullptr);
    }
    void Start(LocalTime today) {
        Platform().SetLocalTime(today);
        app.reset(static_cast<CApp*>(CreateDailyApp()));
        std::u16string folder = app->file.ProgramFolder();
        for (auto [month, day] : {std::pair{7, 4}, {7, 5}, {7, 6}, {12, 31}, {1, 1}, {6, 5}}) {
            WriteTga(folder + DayPicture(month, day), 320, 184,
                     [=](int, int) { return PageColour(month, day); });
        }
        WriteTga(folder + u"weekday.mg", 88, 122, WeekdaySheet);
        WriteTga(folder + u"cal_button01.mg", 96, 96, [](int, int) { return 0xFF808080u; });
        WriteWave(folder + u"snd_se001.wav", std::vector<std::int16_t>(200, 1000));
        std::ofstream(Utf16ToUtf8(folder + u"holidays.txt")) << "1948\t2099\t1\t1\t元日\r\n";
        ASSERT_EQ(app->Init(nullptr, SW_SHOW), 1);
    }
    static std::u16string DayPicture(int month, int day) {
        char name[16];
        std::snprintf(name, sizeof name, "%02d%02d.mg", month, day);
        return Utf8ToUtf16(name);
    }
    // The last frame pushed to the layered window.
    const HeadlessPlatform::PresentedFrame& LastFrame() {
        const auto& frames = Platform().Frames();
        auto it = std::find_if(frames.rbegin(), frames.rend(),
                               [](const auto& frame) { return frame.layered; });
        EXPECT_NE(it, frames.rend());
        return *it;
    }
    void RunFrames(int count) {
        for (int i = 0; i < count; ++i) {
            app->OnFrame();
        }
    }
    void Press(int buttonId) {
        app->OnControlEvent(app->Scene()->FindButton(buttonId), buttonId, 1, 0, app->Scene());
    }
    std::size_t Voices() { return Platform().Audio().VoiceCalls().size(); }

    HeadlessPlatform& Platform() { return *owned; }
    std::unique_ptr<HeadlessPlatform> owned;
    std::unique_ptr<CApp> app;
};

constexpr LocalTime k20090705{2009, 7, 0, 5, 10, 0, 0, 0};

} // namespace

TEST_F(DailyWindowTest, StartsCentredAsALayeredPageWithTheDateLine) {
    Start(k20090705);
    const auto* window = Platform().Window(app->hWnd);
    EXPECT_EQ(window->rect, (RECT{800, 448, 1120, 632}));
    EXPECT_TRUE(window->topMost);
    EXPECT_EQ(window->exStyle, static_cast<DWORD>(WS_EX_LAYERED | WS_EX_TOOLWINDOW));
    EXPECT_TRUE(Platform().Tray(app->hWnd).has_value());
    EXPECT_TRUE(Near(LastFrame().PixelAt(100, 100), PageColour(7, 5)));

    // 2009 . 07 . 05, each number written from its last digit leftwards,
    // so a digit covers the 2 pixels it shares with its right neighbour.
    const CSurface* page = app->DayPicture();
    auto digit = [](int d) {
        std::uint32_t grey = 20 + 20 * static_cast<std::uint32_t>(d);
        return 0xFF000000u | grey << 16 | grey << 8 | grey;
    };
    struct Place {
        int x;
        std::uint32_t colour;
    } places[] = {{134, digit(2)},   {142, digit(0)}, {148, digit(0)},        {155, digit(9)},
                  {159, 0xFFFFFFFF}, {163, digit(0)}, {170, digit(7)},        {174, 0xFFFFFFFF},
                  {178, digit(0)},   {185, digit(5)}, {195, PageColour(7, 5)}};
    for (const Place& place : places) {
        EXPECT_TRUE(Near(page->GetPixel(place.x, 5), place.colour))
            << "x " << place.x << ": " << std::hex << page->GetPixel(place.x, 5);
    }
    EXPECT_TRUE(Near(page->GetPixel(150, 180), 0xFF1E0000)); // Sunday: row 0
    EXPECT_TRUE(Near(page->GetPixel(100, 180), PageColour(7, 5)));
}

TEST_F(DailyWindowTest, NextDayAcrossTheYearShowsTheNewYearsPage) {
    Start(LocalTime{2009, 12, 4, 31, 9, 0, 0, 0});
    Press(daily::kNextDayButton);
    EXPECT_EQ(app->Shown(), (DailyDate{2010, 1, 1}));
    EXPECT_TRUE(Near(app->DayPicture()->GetPixel(100, 100), PageColour(1, 1)));
    EXPECT_TRUE(Near(app->DayPicture()->GetPixel(155, 5), 0xFF141414)); // the year ends in 0
    EXPECT_EQ(Voices(), 1u);
}

TEST_F(DailyWindowTest, TodayWhileTodayIsShownPlaysNothingAndSlidesNothing) {
    Start(k20090705);
    RunFrames(20);
    ASSERT_EQ(app->SlideOffset(), -1);
    Press(daily::kTodayButton);
    EXPECT_EQ(app->SlideOffset(), -1);
    EXPECT_EQ(Voices(), 0u);
}

TEST_F(DailyWindowTest, TheOldPageSlidesAwayInItsDirectionFor19Frames) {
    struct Case {
        int button;
        POINT uncovered; // where the new page shows after the first frame
        POINT covered;   // where the old page still lies
    } cases[] = {
        {daily::kNextDayButton, {315, 100}, {5, 100}},     // leaves to the left
        {daily::kPreviousDayButton, {4, 100}, {315, 100}}, // to the right
        {daily::kTodayButton, {100, 2}, {100, 180}},       // downwards
    };
    for (const Case& c : cases) {
        FreshSystem();
        Start(k20090705);
        if (c.button == daily::kTodayButton) {
            Press(daily::kNextDayButton); // away from today first
        }
        RunFrames(20);
        DailyDate before = app->Shown();
        Press(c.button);
        DailyDate after = app->Shown();
        RunFrames(1);
        EXPECT_TRUE(Near(LastFrame().PixelAt(c.uncovered.x, c.uncovered.y),
                         PageColour(after.month, after.day)))
            << c.button;
        EXPECT_TRUE(Near(LastFrame().PixelAt(c.covered.x, c.covered.y),
                         PageColour(before.month, before.day)))
            << c.button;
        int frames = 1;
        while (app->SlideOffset() >= 0 && frames < 100) {
            RunFrames(1);
            ++frames;
        }
        EXPECT_EQ(frames, 19);
    }
}

TEST_F(DailyWindowTest, ButtonsShowWithThePointerAndHideOnTheFrameAfterItLeaves) {
    Start(k20090705);
    Platform().SetCursorPos(POINT{900, 500});
    Platform().SendMessage(app->hWnd, WM_MOUSEMOVE, 0, MakeLParam(100, 52));
    EXPECT_TRUE(app->ButtonsVisible());
    RunFrames(1);
    EXPECT_TRUE(app->ButtonsVisible());
    Platform().SetCursorPos(POINT{10, 10});
    RunFrames(1);
    EXPECT_FALSE(app->ButtonsVisible());
    EXPECT_EQ(app->Scene()->FindButton(daily::kTodayButton)->visible, 0u);
}

TEST_F(DailyWindowTest, ASecondStartEndsWithoutAWindow) {
    Platform().HoldInstanceLockElsewhere(u"SEM_Lumi_DAILY_CAL");
    app.reset(static_cast<CApp*>(CreateDailyApp()));
    EXPECT_EQ(app->Init(nullptr, SW_SHOW), 0);
    EXPECT_EQ(app->hWnd, nullptr);
    EXPECT_TRUE(Platform().MessageBoxes().empty());
}

TEST_F(DailyWindowTest, MonthCommandsAndSettingsFromThePopupMenu) {
    Start(k20090705);
    Platform().QueueMenuChoice(daily::kCommandPreviousMonth);
    Platform().SendMessage(app->hWnd, WM_CONTEXTMENU, 0, MakeLParam(900, 500));
    MSG command;
    ASSERT_TRUE(Platform().PeekMessage(&command, PM_REMOVE));
    Platform().DispatchMessage(command);
    EXPECT_EQ(app->Shown(), (DailyDate{2009, 6, 5}));
    const auto& menu = Platform().Menus().back().items;
    ASSERT_EQ(menu.size(), 9u);
    EXPECT_EQ(menu[2].text, u"始终最前端显示");
    EXPECT_TRUE(menu[2].checked);
    EXPECT_FALSE(menu[3].checked);
    EXPECT_EQ(menu[5].text, u"自动启动");
    EXPECT_TRUE(menu[6].IsSeparator());
    EXPECT_EQ(menu[8].text, u"退出(&X)");

    Platform().SendMessage(app->hWnd, WM_COMMAND, daily::kCommandTopMost, 0);
    EXPECT_FALSE(Platform().Window(app->hWnd)->topMost);
    EXPECT_EQ(GetPrivateProfileInt(app->file.AppName(), u"TopMost", -1, app->file.SettingsIni()),
              0);
}
