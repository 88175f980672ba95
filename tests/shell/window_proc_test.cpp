#include "shell_fixture.h"

TEST_F(ShellTest, InputMessagesReachTheirHooksWithUnpackedArguments) {
    StartApp();
    struct Case {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        HookCall expected;
    } cases[] = {
        {WM_LBUTTONDOWN, 0, MakeLParam(12, -3), {"OnLButtonDown", 0, 12, -3}},
        {WM_LBUTTONUP, 0, MakeLParam(-40, 7), {"OnLButtonUp", 0, -40, 7}},
        {WM_RBUTTONDOWN, 0, MakeLParam(5, 6), {"OnRButtonDown", 0, 5, 6}},
        {WM_MOUSEWHEEL, MakeWParam(0x0108, -120), 0, {"OnMouseWheel", 0, -120, 0x08}},
        {WM_KEYDOWN, VK_LEFT, 0, {"OnKeyDown", 0, VK_LEFT, 0}},
        {WM_TIMER, 9, 0, {"OnTimer", 0, 9, 0}},
        {WM_TRAYNOTIFY, 0, WM_RBUTTONDOWN, {"OnTrayNotify", 0, 0, WM_RBUTTONDOWN}},
        {WM_USER + 5, 0, 0, {"OnUserMessage", 0, WM_USER + 5, 0}},
        {0xBFFF, 0, 0, {"OnUserMessage", 0, 0xBFFF, 0}},
    };
    for (const Case& c : cases) {
        app->calls.clear();
        Send(c.message, c.wParam, c.lParam);
        ASSERT_EQ(app->calls.size(), 1u) << std::hex << c.message;
        EXPECT_EQ(app->calls[0], c.expected) << std::hex << c.message;
    }
    app->calls.clear();
    Send(0xC000); // above the program range: the system's default
    EXPECT_TRUE(app->calls.empty());
}

TEST_F(ShellTest, TheUnhandledRightReleaseBecomesAContextMenuInScreenCoordinates) {
    StartApp();
    RECT window{};
    platform.GetWindowRect(app->hWnd, &window);
    Send(WM_RBUTTONUP, 0, MakeLParam(10, 20));
    ASSERT_EQ(app->TimesOf("OnContextMenu").size(), 1u);
    const HookCall& menu = app->calls.back();
    RECT insets = platform.Window(app->hWnd)->FrameInsets();
    EXPECT_EQ(menu.a, window.left + insets.left + 10);
    EXPECT_EQ(menu.b, window.top + insets.top + 20);

    // From the keyboard (lParam -1) the menu opens at the pointer.
    platform.SetCursorPos(POINT{700, 400});
    Send(WM_CONTEXTMENU, 0, -1);
    EXPECT_EQ(app->calls.back(), (HookCall{"OnContextMenu", 0, 700, 400}));
}

TEST_F(ShellTest, ARefusedCloseKeepsTheWindowAndTheTrayIcon) {
    StartApp();
    platform.AddTrayIcon(app->hWnd, WM_TRAYNOTIFY, 108, u"Lumi");
    app->trayIconShown = 1;
    app->closeResult = 0;
    Send(WM_CLOSE);
    EXPECT_TRUE(platform.IsWindow(app->hWnd));
    EXPECT_TRUE(platform.Tray(app->hWnd).has_value());
    EXPECT_EQ(app->trayIconShown, 1);

    app->closeResult = 1;
    HWND window = app->hWnd;
    Send(WM_CLOSE);
    EXPECT_FALSE(platform.IsWindow(window));
    EXPECT_FALSE(platform.Tray(window).has_value());
    EXPECT_EQ(app->trayIconShown, 0);
    MSG quit;
    ASSERT_TRUE(platform.PeekMessage(&quit, PM_REMOVE)); // WM_DESTROY posted the quit
    EXPECT_EQ(quit.message, WM_QUIT);
}

TEST_F(ShellTest, EndingTheSessionRemovesTheTrayIcon) {
    StartApp();
    platform.AddTrayIcon(app->hWnd, WM_TRAYNOTIFY, 108, u"Lumi");
    app->trayIconShown = 1;
    EXPECT_EQ(Send(WM_QUERYENDSESSION), 1);
    EXPECT_FALSE(platform.Tray(app->hWnd).has_value());
}

TEST_F(ShellTest, SystemCommandsAreComparedWhole) {
    StartApp();
    app->sysCloseResult = 1;
    EXPECT_EQ(Send(WM_SYSCOMMAND, SC_CLOSE), 1); // refused by the hook
    EXPECT_EQ(app->TimesOf("OnSysClose").size(), 1u);
    EXPECT_TRUE(platform.IsWindow(app->hWnd));

    // 0xF063 is a close with low bits set: not given to the hook, and the
    // system's default closes the window.
    EXPECT_EQ(Send(WM_SYSCOMMAND, SC_CLOSE | 3), 0);
    EXPECT_EQ(app->TimesOf("OnSysClose").size(), 1u);
    EXPECT_EQ(app->TimesOf("OnClose").size(), 1u);
}

TEST_F(ShellTest, AltSlashIsTheAboutAcceleratorOnlyWithAlt) {
    StartApp();
    Post(WM_SYSKEYDOWN, VK_OEM_2);
    Post(WM_KEYDOWN, VK_OEM_2);
    RunUntil(5);
    std::vector<HookCall> seen;
    for (const HookCall& call : app->calls) {
        if (call.hook == "OnCommand" || call.hook == "OnKeyDown") {
            seen.push_back(HookCall{call.hook, 0, call.a, call.b});
        }
    }
    EXPECT_EQ(seen,
              (std::vector<HookCall>{{"OnCommand", 0, 104, 1}, {"OnKeyDown", 0, VK_OEM_2, 0}}));
}

TEST_F(ShellTest, ActivationConfinesTheCursorOnlyWhenAsked) {
    StartApp();
    Send(WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_FALSE(platform.CursorClip().has_value());

    app->clipCursor = 1;
    Send(WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_FALSE(platform.CursorClip().has_value());
    Send(WM_ACTIVATE, WA_CLICKACTIVE, 0);
    ASSERT_TRUE(platform.CursorClip().has_value());
    POINT origin{0, 0};
    platform.ClientToScreen(app->hWnd, &origin);
    RECT client{};
    platform.GetClientRect(app->hWnd, &client);
    EXPECT_EQ(*platform.CursorClip(),
              (RECT{origin.x, origin.y, origin.x + client.right, origin.y + client.bottom}));
}
