// The clock window: start-up, placement per face, presentation, the popup
// menu and its commands, the autostart entry and the takeover of a running
// clock.
#include "clock_fixture.h"

using namespace clock_test;

namespace {

std::string ProgramName(int face) {
    return face == 1 ? "LumiClock" : "LumiClock" + std::to_string(face);
}

class ClockAppTest : public ClockFixture {
protected:
    void WriteSettings(int face, const std::string& keys) {
        std::string name = ProgramName(face);
        WriteText(SaveFolder(name) / (name + ".ini"), "[" + name + "]\n" + keys);
    }
    const HeadlessPlatform::PresentedFrame* LastLayeredFrame() const {
        for (auto frame = platform->Frames().rbegin(); frame != platform->Frames().rend();
             ++frame) {
            if (frame->layered) {
                return &*frame;
            }
        }
        return nullptr;
    }
    std::vector<MenuItem> ShowMenu(UINT choice = 0) {
        platform->QueueMenuChoice(choice);
        app->OnContextMenu(10, 10);
        Pump();
        return platform->Menus().back().items;
    }
    static const MenuItem* Find(const std::vector<MenuItem>& items, UINT id) {
        for (const MenuItem& item : items) {
            if (item.id == id) {
                return &item;
            }
        }
        return nullptr;
    }
    fs::path Autostart(int face) const {
        return fs::path(Utf16ToUtf8(platform->ConfigHome())) / "autostart" /
               ("Lumi☆时钟" + std::to_string(face) + ".desktop");
    }
};

} // namespace

TEST_F(ClockAppTest, EachFaceOpensCentredTopMostWithItsShapeAndTrayIcon) {
    for (int number = 1; number <= kClockFaceCount; ++number) {
        SCOPED_TRACE("face " + std::to_string(number));
        const ClockFace& face = *FindClockFace(number);
        NewDesktop();
        WriteFaceFiles(face);
        Start(number);
        const auto* window = platform->Window(app->hWnd);
        ASSERT_NE(window, nullptr);
        int x = (1920 - face.width) / 2;
        int y = (1080 - face.height) / 2;
        EXPECT_EQ(window->rect, (RECT{x, y, x + face.width, y + face.height}));
        EXPECT_TRUE(window->topMost);
        EXPECT_TRUE(window->visible);
        EXPECT_EQ(window->className, u"Lumi_DTA_Clock");
        EXPECT_EQ(window->title, u"Lumi☆时钟");
        EXPECT_EQ(window->exStyle, DWORD(WS_EX_LAYERED | WS_EX_TOOLWINDOW));
        ASSERT_TRUE(platform->Tray(app->hWnd).has_value());
        EXPECT_EQ(platform->Tray(app->hWnd)->tip, u"Lumi☆时钟");
        EXPECT_EQ(app->jihou, kChimeRandom);
        EXPECT_EQ(app->showFpsInTitle, 0);

        const auto* frame = LastLayeredFrame();
        ASSERT_NE(frame, nullptr);
        EXPECT_EQ(frame->width, face.width);
        EXPECT_EQ(frame->height, face.height);
        EXPECT_EQ(frame->PixelAt(2, 2) >> 24, 0u) << "transparent corner";
        EXPECT_EQ(frame->PixelAt(face.width - 1, face.height - 1) >> 24, 0xFFu);
    }
}

TEST_F(ClockAppTest, SavedPositionsSnapBackWithEachFacesMargins) {
    for (int number = 1; number <= kClockFaceCount; ++number) {
        const ClockFace& face = *FindClockFace(number);
        struct Case {
            int savedX, savedY, placedX, placedY;
        } cases[] = {
            {-5, -1, 0, 0},
            {1920 - face.marginX, 1080 - face.marginY, 1920 - face.width, 1080 - face.height},
            {1920 - face.marginX - 1, 1080 - face.marginY - 1, 1920 - face.marginX - 1,
             1080 - face.marginY - 1},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE("face " + std::to_string(number) + " at " + std::to_string(c.savedX));
            NewDesktop();
            WriteSettings(number, "PosX=" + std::to_string(c.savedX) +
                                      "\nPosY=" + std::to_string(c.savedY) + "\n");
            Start(number);
            RECT rect = platform->Window(app->hWnd)->rect;
            EXPECT_EQ(rect.left, c.placedX);
            EXPECT_EQ(rect.top, c.placedY);
            EXPECT_EQ(SavedInt(u"PosX"), c.savedX) << "the clamp is not written back";
        }
    }
}

TEST_F(ClockAppTest, OnlyTheSwitchableFaceOffersTwentyFourHoursAndKeepsTheChoice) {
    WriteSettings(1, "Digital24=0\n");
    Start(1);
    EXPECT_EQ(app->digital24, 1) << "the first face does not read the key";
    std::vector<MenuItem> menu = ShowMenu();
    EXPECT_EQ(Find(menu, kCommand24Hour), nullptr);
    EXPECT_EQ(menu.size(), 9u);

    NewDesktop();
    WriteFaceFiles(*FindClockFace(7));
    platform->SetLocalTime(At(2009, 6, 15, 15, 4, 27));
    Start(7);
    EXPECT_EQ(app->digital24, 0);
    EXPECT_NE(app->backBuffer->GetPixel(226, 25), 0xFF000000u) << "PM tile in 12-hour mode";
    menu = ShowMenu(kCommand24Hour);
    ASSERT_NE(Find(menu, kCommand24Hour), nullptr);
    EXPECT_EQ(Find(menu, kCommand24Hour)->text, u"24時間表示");
    EXPECT_FALSE(Find(menu, kCommand24Hour)->checked);
    EXPECT_EQ(menu[2].id, UINT(kCommand24Hour)) << "right after the alarm entry";
    EXPECT_EQ(SavedInt(u"Digital24"), 1);
    FrameAt(At(2009, 6, 15, 15, 4, 28));
    EXPECT_EQ(app->backBuffer->GetPixel(226, 25), 0xFF000000u) << "no AM/PM tile";

    NewDesktop();
    Start(7);
    EXPECT_EQ(app->digital24, 1);
    EXPECT_TRUE(Find(ShowMenu(), kCommand24Hour)->checked);
}

TEST_F(ClockAppTest, MenuTogglesAreWrittenAtOnce) {
    Start(3);
    std::vector<MenuItem> menu = ShowMenu(kCommandFixedPos);
    EXPECT_TRUE(Find(menu, kCommandTopMost)->checked);
    EXPECT_FALSE(Find(menu, kCommandFixedPos)->checked);
    EXPECT_EQ(Find(menu, kCommandAutostart)->text, u"自动启动");
    EXPECT_EQ(SavedInt(u"FixedPos"), 1);

    // A fixed clock does not move and writes no position.
    platform->QueueSystemMove(50, 50);
    app->OnLButtonDown(5, 5);
    EXPECT_EQ(SavedInt(u"PosX"), -12345);

    ShowMenu(kCommandTopMost);
    EXPECT_EQ(SavedInt(u"TopMost"), 0);
    EXPECT_FALSE(platform->Window(app->hWnd)->topMost);
    ShowMenu(kCommandTrayIcon);
    EXPECT_EQ(SavedInt(u"TrayIcon"), 0);
    EXPECT_FALSE(platform->Tray(app->hWnd).has_value());
    ShowMenu(kCommandAlarmEnable);
    EXPECT_EQ(SavedInt(u"AlermEnable0"), 1);
    EXPECT_TRUE(Find(ShowMenu(), kCommandAlarmEnable)->checked);

    // The tray's right button brings the clock forward and opens the menu.
    std::size_t menus = platform->Menus().size();
    platform->QueueMenuChoice(0);
    app->OnTrayNotify(kTrayIconId, WM_RBUTTONDOWN);
    EXPECT_EQ(platform->Menus().size(), menus + 1);

    ShowMenu(kCommandExit);
    EXPECT_FALSE(platform->IsWindow(app->hWnd));
}

TEST_F(ClockAppTest, OneFacesAutostartEntryRemovesTheOthers) {
    Start(1);
    platform->QueueMessageBoxAnswer(IDYES);
    ShowMenu(kCommandAutostart);
    ASSERT_TRUE(fs::exists(Autostart(1)));

    NewDesktop();
    Start(6);
    EXPECT_EQ(Find(ShowMenu(), kCommandAutostart)->text, u"自动启动") << "face 6 has none";
    platform->QueueMessageBoxAnswer(IDYES);
    ShowMenu(kCommandAutostart);
    EXPECT_TRUE(fs::exists(Autostart(6)));
    EXPECT_FALSE(fs::exists(Autostart(1)));
    EXPECT_EQ(Find(ShowMenu(), kCommandAutostart)->text, u"取消自动启动");
}

TEST_F(ClockAppTest, StartingAFaceClosesTheRunningOne) {
    const char16_t* lock = u"SEM_Lumi_DTA_CLOCK";
    platform->HoldInstanceLockElsewhere(lock);
    bool closed = false;
    platform->AddPeerWindow(u"Lumi_DTA_Clock", u"Lumi☆时钟", [&] {
        closed = true;
        platform->ReleaseInstanceLockElsewhere(lock);
    });
    Start(5);
    EXPECT_TRUE(closed);
    EXPECT_TRUE(platform->Window(app->hWnd)->visible);

    // A clock that never lets go: 51 attempts 100 ms apart, then no start.
    NewDesktop();
    platform->HoldInstanceLockElsewhere(lock);
    app.reset(static_cast<CApp*>(CreateClockApp(2)));
    EXPECT_EQ(app->Init(nullptr, SW_SHOW), 0);
    EXPECT_GE(platform->Elapsed(), 5100u);
    EXPECT_EQ(app->hWnd, nullptr);
}
