#include "shell_fixture.h"

class GeometryTest : public ShellTest {
protected:
    GeometryTest() { platform.SetScreen(1024, 768, 1000, 700); }
    RECT WindowRect() {
        RECT rect{};
        platform.GetWindowRect(app->hWnd, &rect);
        return rect;
    }
    RECT ClientRect() {
        RECT rect{};
        platform.GetClientRect(app->hWnd, &rect);
        return rect;
    }
};

TEST_F(GeometryTest, SetClientSizeAddsTheFrameAndPullsTheWindowBackIntoTheWorkArea) {
    struct Case {
        RECT start;
        int width, height;
        RECT expected;
        int fits;
    } cases[] = {
        // 0 x 0 keeps the outer size and only pulls the window back.
        {{500, 400, 1140, 880}, 0, 0, {360, 220, 1000, 700}, 1},
        // The caption frame (16 x 39) is added to the requested client size.
        {{100, 100, 740, 580}, 369, 222, {100, 100, 485, 361}, 1},
        // Right edge past the work area: moved left by the overlap.
        {{900, 10, 1540, 490}, 369, 222, {615, 10, 1000, 271}, 1},
        // Wider than the work area: ends at left 0 and does not fit.
        {{300, 10, 940, 490}, 1200, 222, {0, 10, 1216, 271}, 0},
    };
    StartApp();
    for (const Case& c : cases) {
        platform.MoveWindow(app->hWnd, c.start.left, c.start.top, c.start.Width(), c.start.Height(),
                            false);
        EXPECT_EQ(app->SetClientSize(c.width, c.height), c.fits);
        EXPECT_EQ(WindowRect(), c.expected) << c.width << "x" << c.height;
        EXPECT_EQ(app->clientWidth, c.width);
    }
    EXPECT_EQ(platform.Calls().back(), "MoveWindow 0 10 1216 261 1");
    app->SetClientSizeNoRepaint(369, 222);
    EXPECT_EQ(platform.Calls().back(), "MoveWindow 0 10 385 261 0");
}

TEST_F(GeometryTest, CentringUsesTheWorkAreaAndPinsOversizedWindowsAtZero) {
    StartApp();
    platform.MoveWindow(app->hWnd, 5, 5, 385, 261, false);
    app->CentreWindow();
    EXPECT_EQ(WindowRect(), (RECT{307, 219, 692, 480}));
    platform.MoveWindow(app->hWnd, 5, 5, 1100, 800, false);
    app->CentreWindow();
    EXPECT_EQ(WindowRect(), (RECT{0, 0, 1100, 800}));
}

TEST_F(GeometryTest, AltEnterSwitchesToAndFromFullScreenOnlyWhenEnabled) {
    StartApp();
    app->SetClientSize(320, 200);
    RECT windowed = WindowRect();
    Send(WM_SYSKEYDOWN, VK_RETURN);
    EXPECT_EQ(WindowRect(), windowed); // disabled by default

    app->fullscreenSwitchDisabled = 0;
    Send(WM_SYSKEYDOWN, VK_RETURN);
    EXPECT_EQ(app->fullscreenWanted, 1);
    EXPECT_EQ(WindowRect(), (RECT{0, 0, 320, 200}));
    EXPECT_EQ(platform.GetWindowLongPtr(app->hWnd, GWL_STYLE),
              static_cast<LONG_PTR>(WS_POPUP | WS_VISIBLE));
    EXPECT_FALSE(platform.Window(app->hWnd)->topMost); // top-most only while switching

    Send(WM_SYSKEYDOWN, VK_RETURN);
    EXPECT_EQ(app->fullscreenWanted, 0);
    EXPECT_EQ(ClientRect(), (RECT{0, 0, 320, 200}));
    RECT centred = WindowRect();
    EXPECT_EQ(centred.left, (1000 - centred.Width()) / 2);
    EXPECT_EQ(centred.top, (700 - centred.Height()) / 2);
    EXPECT_FALSE(platform.Window(app->hWnd)->topMost);
}
