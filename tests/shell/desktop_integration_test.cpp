#include "data/profile.h"
#include "platform/headless/headless_dialog_session.h"
#include "shell/desktop_integration.h"
#include "shell/dialog_resources.h"
#include "shell_fixture.h"

#include <filesystem>
#include <fstream>

namespace {

const DesktopProfile kCalendar{369,
                               222,
                               WS_EX_TOOLWINDOW,
                               nullptr,
                               u"Lumi☆月历",
                               u"SEM_Lumi_CALENDAR",
                               false,
                               u"Lumi☆月历.lnk",
                               0,
                               1,
                               32,
                               32,
                               u"OK"};
const DesktopProfile kClockFace1{200,
                                 200,
                                 WS_EX_LAYERED | WS_EX_TOOLWINDOW,
                                 u"Lumi_DTA_Clock",
                                 u"Lumi☆时钟",
                                 u"SEM_Lumi_DTA_CLOCK",
                                 true,
                                 u"Lumi☆时钟%d.lnk",
                                 1,
                                 7,
                                 40,
                                 40,
                                 u"确定"};

std::string ReadText(const std::u16string& path) {
    std::ifstream in(Utf16ToUtf8(path));
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class IntegrationTest : public ShellTest {
protected:
    IntegrationTest() { platform.SetScreen(1920, 1080, 1920, 1040); }
    ~IntegrationTest() override { ClearDialogResources(); }

    CDesktopIntegration& Start(const DesktopProfile& profile) {
        StartApp();
        app->file.Init(app->hWnd, nullptr);
        desktop = std::make_unique<CDesktopIntegration>(*app, profile);
        return *desktop;
    }
    int SavedInt(const char16_t* key) {
        return GetPrivateProfileInt(app->file.AppName(), key, -1, app->file.SettingsIni());
    }
    std::unique_ptr<CDesktopIntegration> desktop;
};

} // namespace

TEST_F(IntegrationTest, SavedPositionsAreClampedOntoTheScreenInMemoryOnly) {
    struct Case {
        int saved;
        int placed;
    } cases[] = {
        {kPositionUnset, (1920 - 369) / 2},
        {-5, 0},
        {1920 - 33, 1920 - 33}, // within the margin: stays, mostly off-screen
        {1920 - 32, 1920 - 369},
        {400, 400},
    };
    Start(kCalendar);
    for (const Case& c : cases) {
        desktop->settings.posX = c.saved;
        desktop->settings.posY = kPositionUnset;
        desktop->PlaceWindow();
        EXPECT_EQ(desktop->settings.posX, c.placed) << c.saved;
        EXPECT_EQ(desktop->settings.posY, (1080 - 222) / 2);
    }
    EXPECT_EQ(SavedInt(u"PosX"), -1);
}

TEST_F(IntegrationTest, WithNoSettingsTheWindowOpensCentredTopMostWithATrayIcon) {
    Start(kCalendar);
    ASSERT_EQ(desktop->CreateWindow(nullptr), 1);
    desktop->settings.Load(app->file);
    desktop->PlaceWindow();
    desktop->ShowPlaced(SW_SHOW);
    desktop->AddTrayIcon();
    const auto* window = platform.Window(app->hWnd);
    EXPECT_EQ(window->rect, (RECT{775, 429, 775 + 369, 429 + 222}));
    EXPECT_TRUE(window->topMost);
    EXPECT_TRUE(window->visible);
    EXPECT_EQ(window->style, WS_POPUP | WS_SYSMENU);
    EXPECT_EQ(window->exStyle, static_cast<DWORD>(WS_EX_TOOLWINDOW));
    ASSERT_TRUE(platform.Tray(app->hWnd).has_value());
    EXPECT_EQ(platform.Tray(app->hWnd)->tip, u"Lumi☆月历");
    EXPECT_EQ(platform.Tray(app->hWnd)->callbackMessage, WM_TRAYNOTIFY);
    EXPECT_EQ(desktop->AddTrayIcon(), 0); // already shown
}

TEST_F(IntegrationTest, DraggingWritesThePositionUnlessItIsFixed) {
    Start(kCalendar);
    desktop->CreateWindow(nullptr);
    platform.MoveWindow(app->hWnd, 100, 200, 369, 222, false);
    desktop->settings.fixedPos = 1;
    desktop->DragMove();
    EXPECT_EQ(SavedInt(u"PosX"), -1);
    EXPECT_EQ(platform.Calls().back(), "MoveWindow 100 200 369 222 0"); // no system move ran

    desktop->settings.fixedPos = 0;
    platform.QueueSystemMove(30, -20);
    desktop->DragMove();
    EXPECT_EQ(SavedInt(u"PosX"), 130);
    EXPECT_EQ(SavedInt(u"PosY"), 180);
    desktop->DragMove(); // an unmoved drag is written too
    EXPECT_EQ(desktop->settings.posX, 130);
    EXPECT_EQ(SavedInt(u"PosX"), 130);
}

TEST_F(IntegrationTest, BringToFrontLeavesANonTopMostWindowAtTheTopOfTheNormalOnes) {
    Start(kCalendar);
    desktop->CreateWindow(nullptr);
    desktop->SetTopMost(0);
    HWND other =
        platform.CreateWindow(0, app->className, u"other", WS_POPUP, 0, 0, 10, 10, nullptr);
    EXPECT_EQ(platform.ZOrder().front(), other);
    desktop->BringToFront();
    EXPECT_EQ(platform.ZOrder().front(), app->hWnd);
    EXPECT_FALSE(platform.Window(app->hWnd)->topMost);
}

TEST_F(IntegrationTest, ASecondInstanceIsRefusedOrTakesOver) {
    Start(kCalendar);
    platform.HoldInstanceLockElsewhere(u"SEM_Lumi_CALENDAR");
    EXPECT_EQ(desktop->AcquireSingleInstance(), 0);

    // The clock asks the running one to close and takes its place.
    CDesktopIntegration clock(*app, kClockFace1);
    platform.HoldInstanceLockElsewhere(u"SEM_Lumi_DTA_CLOCK");
    int closeRequests = 0;
    platform.AddPeerWindow(u"Lumi_DTA_Clock", u"Lumi☆时钟", [&] {
        ++closeRequests;
        platform.ReleaseInstanceLockElsewhere(u"SEM_Lumi_DTA_CLOCK");
    });
    EXPECT_EQ(clock.AcquireSingleInstance(), 1);
    EXPECT_EQ(closeRequests, 1);

    // One that never closes: 51 attempts 100 ms apart, then failure.
    HeadlessPlatform stubborn;
    InstallPlatform(&stubborn);
    stubborn.HoldInstanceLockElsewhere(u"SEM_Lumi_DTA_CLOCK");
    EXPECT_EQ(clock.AcquireSingleInstance(), 0);
    EXPECT_EQ(stubborn.Elapsed(), 5100u);
    InstallPlatform(&platform);
}

TEST_F(IntegrationTest, TheAutostartEntryIsCreatedAndRemovedAfterConfirmation) {
    Start(kCalendar);
    std::u16string entry = platform.ConfigHome() + u"/autostart/Lumi☆月历.desktop";

    platform.QueueMessageBoxAnswer(IDNO);
    desktop->ToggleShortcut(1);
    EXPECT_EQ(platform.MessageBoxes().size(), 1u); // No: no second message
    EXPECT_EQ(desktop->ShortcutExists(), 0);

    platform.QueueMessageBoxAnswer(IDYES);
    desktop->ToggleShortcut(1);
    ASSERT_EQ(platform.MessageBoxes().size(), 3u);
    EXPECT_EQ(platform.MessageBoxes()[1].text,
              u"您确定要设置为自动启动？\n设置后电脑启动时本程序将自动启动。");
    EXPECT_EQ(platform.MessageBoxes()[1].caption, u"确认设置");
    EXPECT_EQ(platform.MessageBoxes()[1].type, MB_YESNO);
    EXPECT_EQ(platform.MessageBoxes()[2].text, u"设置成功。");
    EXPECT_EQ(desktop->ShortcutExists(), 1);
    std::string text = ReadText(entry);
    EXPECT_NE(text.find("[Desktop Entry]\nType=Application\n"), std::string::npos);
    EXPECT_NE(text.find("Exec=" + Utf16ToUtf8(platform.ExecutablePath()) + "\n"),
              std::string::npos);

    platform.QueueMessageBoxAnswer(IDNO);
    desktop->ToggleShortcut(0);
    EXPECT_EQ(platform.MessageBoxes().back().caption, u"确认解除");
    EXPECT_EQ(desktop->ShortcutExists(), 1);
    platform.QueueMessageBoxAnswer(IDYES);
    desktop->ToggleShortcut(0);
    EXPECT_EQ(platform.MessageBoxes().back().text, u"解除成功。");
    EXPECT_EQ(desktop->ShortcutExists(), 0);
}

TEST_F(IntegrationTest, OneClockFacesEntryRemovesTheOtherFacesEntries) {
    Start(kClockFace1);
    std::u16string folder = platform.ConfigHome() + u"/autostart/";
    for (int face : {2, 5}) {
        std::filesystem::create_directories(Utf16ToUtf8(folder));
        std::ofstream(
            Utf16ToUtf8(folder + u"Lumi☆时钟" + Utf8ToUtf16(std::to_string(face)) + u".desktop"))
            << "[Desktop Entry]\n";
    }
    platform.QueueMessageBoxAnswer(IDYES);
    desktop->ToggleShortcut(1);
    EXPECT_TRUE(std::filesystem::exists(Utf16ToUtf8(folder + u"Lumi☆时钟1.desktop")));
    EXPECT_FALSE(std::filesystem::exists(Utf16ToUtf8(folder + u"Lumi☆时钟2.desktop")));
    EXPECT_FALSE(std::filesystem::exists(Utf16ToUtf8(folder + u"Lumi☆时钟5.desktop")));
}

TEST_F(IntegrationTest, AboutRunsModallyWithTheProgramsTitle) {
    Start(kClockFace1);
    platform.QueueDialogScript([](HeadlessDialogSession& user) {
        EXPECT_EQ(user.TemplateId(), 103);
        EXPECT_EQ(user.Text(IDOK), u"确定");
        user.Click(IDOK);
    });
    desktop->ShowAbout();
    ASSERT_EQ(platform.Dialogs().size(), 1u);
    EXPECT_EQ(platform.Dialogs()[0].result, IDOK);
}
