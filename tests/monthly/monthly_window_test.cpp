#include "data/profile.h"
#include "monthly/day_grid.h"
#include "monthly/month_picture.h"
#include "monthly/monthly_menu.h"
#include "monthly_fixture.h"
#include "platform/headless/headless_dialog_session.h"

#include <algorithm>

namespace {

constexpr std::uint32_t kRgb = 0xFFFFFF;

std::uint32_t Grid(std::uint32_t colour) {
    return colour & kRgb;
}

// --- Start-up ------------------------------------------------------------------

TEST_F(MonthlyTest, WithoutSettingsOpensCentredTopMostWithTrayIconAndDrawsTheMonth) {
    ASSERT_EQ(Start(2009, 7, 5), 1);
    const auto* window = platform.Window(app->hWnd);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->title, u"Lumi☆月历");
    EXPECT_EQ(window->style, DWORD(WS_POPUP | WS_SYSMENU));
    EXPECT_EQ(window->exStyle, DWORD(WS_EX_TOOLWINDOW));
    EXPECT_EQ(window->rect, (RECT{775, 429, 775 + 369, 429 + 222}));
    EXPECT_TRUE(window->visible);
    EXPECT_TRUE(window->topMost);
    ASSERT_TRUE(platform.Tray(app->hWnd).has_value());
    EXPECT_EQ(platform.Tray(app->hWnd)->tip, u"Lumi☆月历");
    EXPECT_FALSE(std::filesystem::exists(SettingsIni())) << "nothing is saved at start";

    // The first frame exists before the window is shown.
    ASSERT_FALSE(platform.Frames().empty());
    EXPECT_EQ(ShownYear(7), 2009);
    EXPECT_EQ(Pixel(5, 120), Grid(MonthColour(7)));
    POINT today = DayPoint(2009, 7, 5);
    EXPECT_EQ(Pixel(today.x, today.y), kHighlightTint);
    POINT monday = DayPoint(2009, 7, 6);
    EXPECT_EQ(Pixel(monday.x, monday.y), kWeekdayTint);
}

TEST_F(MonthlyTest, ASecondInstanceEndsWithoutAWindow) {
    platform.HoldInstanceLockElsewhere(u"SEM_Lumi_CALENDAR");
    EXPECT_EQ(Start(2009, 7, 5), 0);
    EXPECT_TRUE(platform.ZOrder().empty());
}

// --- Month picture, grid and hit test -------------------------------------------

// The model and its drawing helpers without the window.
class MonthModelTest : public MonthlyTest {
protected:
    MonthModelTest() { file.Init(nullptr, nullptr); }
    CMGFile file;
};

TEST_F(MonthModelTest, MonthsReachingASixthRowGetTheirLastCellsCopiedDown) {
    struct Case {
        int year;
        int month;
        int copiedCells;
    } cases[] = {
        {2009, 8, 2}, // Saturday, 31 days
        {2012, 9, 1}, // Saturday, 30 days
        {2010, 1, 1}, // Friday, 31 days
        {2011, 4, 0}, // Friday, 30 days
        {2020, 2, 0}, // Saturday, 29 days: February never needs a sixth row
        {2009, 7, 0},
    };
    for (const Case& c : cases) {
        CCalender calendar;
        calendar.SetMonth(c.year, c.month, -1);
        CSurface background;
        background.Create(kWindowWidth, kWindowHeight);
        LoadMonthPicture(&background, calendar, c.month);
        for (int cell = 0; cell < 3; ++cell) {
            std::uint32_t expected = cell < c.copiedCells ? kFifthRowColour : MonthColour(c.month);
            EXPECT_EQ(background.GetPixel(kGridX + 25 * cell + 12, kSixthRowY + 9), expected)
                << c.year << "-" << c.month << " cell " << cell;
        }
        EXPECT_EQ(background.GetPixel(kGridX + 12, kSixthRowY + 19), MonthColour(c.month))
            << "18 rows are copied";
    }
}

TEST_F(MonthModelTest, HitTestStartsFourPixelsAboveTheDrawnGrid) {
    CCalender july; // starts on a Wednesday
    july.SetMonth(2009, 7, -1);
    CCalender february; // 2012: a leap year starting on a Wednesday
    february.SetMonth(2012, 2, -1);
    struct Case {
        const CCalender& calendar;
        int x;
        int y;
        int day;
    } cases[] = {
        {july, kGridX + 3 * 24, kGridHitY, 1},
        {july, kGridX + 3 * 24, kGridY - 1, 1}, // above the drawn numeral
        {july, kGridX + 3 * 24, kGridHitY - 1, -1},
        {july, kGridX + 3 * 24 - 1, kGridHitY, -1}, // Tuesday before the 1st
        {july, kGridX + 4 * 24 + 23, kGridHitY + 4 * 27 + 26, 30},
        {july, kGridX + 5 * 24, kGridHitY + 4 * 27, 31},
        {july, kGridX + 6 * 24, kGridHitY + 4 * 27, -1},
        {july, kGridX + 169, kGridHitY, -1},
        {february, kGridX + 3 * 24, kGridHitY + 4 * 27, 29},
        {february, kGridX + 4 * 24, kGridHitY + 4 * 27, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DayAt(c.calendar, c.x, c.y), c.day) << c.x << "," << c.y;
    }
}

TEST_F(MonthlyTest, GridShowsBackingsMemoMarksAndNumeralsTogether) {
    // Memos on Monday the 20th (a holiday) and on Tuesday the 21st.
    WriteUtf16(MemoFile(2009, 7), u"20\t0\t0\t0\t0\tswim\r\n21\t0\t0\t0\t0\t\r\n");
    ASSERT_EQ(Start(2009, 7, 1), 1);
    auto cellOrigin = [](int day) {
        POINT centre = DayPoint(2009, 7, day);
        return POINT{centre.x - 12, centre.y - 10};
    };
    struct Case {
        int day;
        bool backing;
        bool mark;
    } cases[] = {{20, true, true}, {21, false, true}, {19, true, false}, {22, false, false}};
    for (const Case& c : cases) {
        POINT o = cellOrigin(c.day);
        EXPECT_EQ(Pixel(o.x + 10, o.y + 10), kWeekdayTint) << c.day;
        EXPECT_EQ(Pixel(o.x + 2, o.y + 18), c.backing ? Grid(kBackingColour) : Grid(MonthColour(7)))
            << c.day;
        EXPECT_EQ(Pixel(o.x + 22, o.y + 2), c.mark      ? Grid(kMarkColour)
                                            : c.backing ? Grid(kBackingColour)
                                                        : Grid(MonthColour(7)))
            << c.day;
    }
}

// --- Clicks on days -------------------------------------------------------------

TEST_F(MonthlyTest, ASundayWithoutMemoStartsADragThatSavesThePosition) {
    ASSERT_EQ(Start(2009, 7, 1), 1);
    platform.QueueSystemMove(30, -20);
    Click(DayPoint(2009, 7, 5));
    Pump(100);
    EXPECT_EQ(platform.Window(app->hWnd)->rect.left, 805);
    EXPECT_EQ(Pixel(kPopupX + 5, 5), Grid(MonthColour(7))) << "no popup";
    CMGFile& file = app->file;
    EXPECT_EQ(GetPrivateProfileInt(file.AppName(), u"PosX", 0, file.SettingsIni()), 805);
    EXPECT_EQ(GetPrivateProfileInt(file.AppName(), u"PosY", 0, file.SettingsIni()), 409);
}

class DayPopupTest : public MonthlyTest {
protected:
    // Where glyphs of a colour were drawn inside a rectangle of the popup:
    // the leftmost and rightmost x in window coordinates, or {-1, -1}.
    std::pair<int, int> Ink(RECT rect, std::uint32_t colour) const {
        std::pair<int, int> span{-1, -1};
        for (int y = rect.top; y < rect.bottom; ++y) {
            for (int x = kPopupX + rect.left; x < kPopupX + rect.right; ++x) {
                if (Pixel(x, kPopupY + y) == (colour & kRgb)) {
                    span.first = span.first < 0 ? x : std::min(span.first, x);
                    span.second = std::max(span.second, x);
                }
            }
        }
        return span;
    }
    std::pair<int, int> Label() const { return Ink(kPopupLabelRect, kLabelColour); }
    std::pair<int, int> MemoText() const { return Ink(kPopupMemoRect, kMemoTextColour); }
};

TEST_F(DayPopupTest, AHolidayShowsOnlyItsLabelEndingAtTheRightEdge) {
    ASSERT_EQ(Start(2009, 7, 1), 1);
    Click(DayPoint(2009, 7, 20));
    Pump(100);
    EXPECT_EQ(Pixel(kPopupX + 5, 5), Grid(kPopupColour));
    auto label = Label();
    ASSERT_GE(label.first, 0) << "label drawn";
    EXPECT_GT(label.second, kPopupX + 262);
    EXPECT_LE(label.second, kPopupX + 20 + kPopupLabelRight);
    EXPECT_EQ(MemoText().first, -1);

    // A click off the days hides it again (and starts a drag).
    Click(POINT{5, 120});
    Pump(100);
    EXPECT_EQ(Pixel(kPopupX + 5, 5), Grid(MonthColour(7)));
}

TEST_F(DayPopupTest, AMemoOnAHolidayShowsBoth) {
    WriteUtf16(MemoFile(2009, 7), u"20\t0\t0\t0\t0\tswim\\nrun\r\n");
    ASSERT_EQ(Start(2009, 7, 1), 1);
    Click(DayPoint(2009, 7, 20));
    Pump(100);
    EXPECT_GE(Label().first, 0);
    auto memo = MemoText();
    EXPECT_EQ(memo.first, kPopupX + 20 + 1) << "memo text starts at the rectangle's left";
}

TEST_F(DayPopupTest, ShowTodayFadesTodaysMemoIn) {
    WriteUtf16(MemoFile(2009, 7), u"5\t0\t0\t0\t0\tdentist\r\n");
    WriteBytes(SettingsIni(), "[LumiMonthly]\r\nShowToday=1\r\n");
    ASSERT_EQ(Start(2009, 7, 5), 1);
    std::vector<std::uint32_t> blues{Pixel(kPopupX + 5, 5) & 0xFF};
    for (int frame = 0; frame < 20; ++frame) {
        Pump(33);
        blues.push_back(Pixel(kPopupX + 5, 5) & 0xFF);
    }
    EXPECT_EQ(blues.front(), MonthColour(7) & 0xFF) << "the first frame has no popup";
    EXPECT_EQ(blues.back(), kPopupColour & 0xFF);
    // Fifteen steps of rising opacity between.
    EXPECT_TRUE(std::is_sorted(blues.begin(), blues.end()));
    std::vector<std::uint32_t> distinct(blues);
    distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
    EXPECT_GE(distinct.size(), 12u);
}

TEST_F(DayPopupTest, ShowTodayWithoutAMemoShowsNothing) {
    WriteBytes(SettingsIni(), "[LumiMonthly]\r\nShowToday=1\r\n");
    ASSERT_EQ(Start(2009, 7, 20), 1); // a holiday, but no memo
    Pump(33 * 20);
    EXPECT_EQ(Pixel(kPopupX + 5, 5), Grid(MonthColour(7)));
}

// --- Buttons and month navigation -----------------------------------------------

class MonthButtonsTest : public MonthlyTest {
protected:
    void PointerAt(POINT client) {
        POINT screen = client;
        platform.ClientToScreen(app->hWnd, &screen);
        platform.SetCursorPos(screen);
        Post(WM_MOUSEMOVE, client.x, client.y);
        Pump(70);
    }
    void Press(int button) {
        POINT centre = kButtonCentres[button - kPrevButtonId];
        PointerAt(centre);
        Click(centre);
        Pump(70);
    }
};

TEST_F(MonthButtonsTest, ButtonsShowOnPointerAndHideWhenItLeaves) {
    ASSERT_EQ(Start(2009, 7, 5), 1);
    EXPECT_EQ(Pixel(16, 204), Grid(MonthColour(7)));
    PointerAt(POINT{200, 20});
    EXPECT_EQ(Pixel(16, 204), Grid(ButtonColour(0, 0)));
    EXPECT_EQ(Pixel(48, 212), Grid(ButtonColour(1, 0)));
    EXPECT_EQ(Pixel(80, 204), Grid(ButtonColour(2, 0)));
    platform.SetCursorPos(POINT{10, 10});
    Pump(70);
    EXPECT_EQ(Pixel(16, 204), Grid(MonthColour(7)));
}

TEST_F(MonthButtonsTest, NavigationWrapsTheYearAndTodayIsHighlightedAgain) {
    ASSERT_EQ(Start(2010, 1, 15), 1);
    platform.Audio().Advance(100);
    platform.Audio().ClearOutput();
    Press(kPrevButtonId);
    EXPECT_EQ(Pixel(5, 120), Grid(MonthColour(12)));
    EXPECT_EQ(ShownYear(12), 2009);
    platform.Audio().Advance(40);
    const auto& output = platform.Audio().Output();
    EXPECT_TRUE(std::any_of(output.begin(), output.end(), [](std::int16_t s) { return s != 0; }))
        << "the click sounds";

    Press(kNextButtonId);
    EXPECT_EQ(Pixel(5, 120), Grid(MonthColour(1)));
    EXPECT_EQ(ShownYear(1), 2010);
    POINT today = DayPoint(2010, 1, 15);
    EXPECT_EQ(Pixel(today.x, today.y), kHighlightTint);

    Press(kNextButtonId);
    EXPECT_EQ(Pixel(5, 120), Grid(MonthColour(2)));
    Press(kTodayButtonId);
    EXPECT_EQ(Pixel(5, 120), Grid(MonthColour(1)));
    EXPECT_EQ(Pixel(today.x, today.y), kHighlightTint);

    // The menu's month commands step the same way.
    platform.QueueMenuChoice(kCmdPrevMonth);
    ContextMenu(POINT{5, 120});
    Pump(70);
    EXPECT_EQ(ShownYear(12), 2009);
    platform.QueueMenuChoice(kCmdNextMonth);
    ContextMenu(POINT{5, 120});
    Pump(70);
    EXPECT_EQ(ShownYear(1), 2010);
}

// --- Memo editing and deletion ----------------------------------------------------

TEST_F(MonthlyTest, DoubleClickEditsTheMemoAndWritesTheMonthFile) {
    ASSERT_EQ(Start(2009, 7, 1), 1);
    platform.QueueDialogScript([](HeadlessDialogSession& dialog) {
        EXPECT_EQ(dialog.TemplateId(), 129);
        EXPECT_EQ(dialog.Text(1001), u"2009");
        EXPECT_EQ(dialog.Text(1002), u"7");
        EXPECT_EQ(dialog.Text(1003), u"10");
        EXPECT_EQ(dialog.Text(1005), u"");
        dialog.Type(1005, u"milk\r\numbrella\tcoat");
        dialog.Click(IDOK);
    });
    Post(WM_LBUTTONDBLCLK, DayPoint(2009, 7, 10).x, DayPoint(2009, 7, 10).y);
    Pump(100);
    EXPECT_EQ(ReadUtf16(MemoFile(2009, 7)), u"10\t0\t0\t0\t0\tmilk\\numbrella coat\r\n");
    EXPECT_EQ(Pixel(kPopupX + 5, 5), Grid(kPopupColour)) << "the popup shows the new memo";

    // Opened again, the text comes back in lines; Cancel stores nothing.
    std::filesystem::remove(MemoFile(2009, 7));
    platform.QueueDialogScript([](HeadlessDialogSession& dialog) {
        EXPECT_EQ(dialog.Text(1005), u"milk\r\numbrella coat");
        dialog.Cancel();
    });
    Post(WM_LBUTTONDBLCLK, DayPoint(2009, 7, 10).x, DayPoint(2009, 7, 10).y);
    Pump(100);
    EXPECT_FALSE(std::filesystem::exists(MemoFile(2009, 7)));
}

TEST_F(MonthlyTest, TheIconNumberSurvivesTheEditorOnlyInsideTheList) {
    WriteUtf16(MemoFile(2009, 7), u"3\t0\t0\t0\t9\ta\r\n4\t0\t0\t0\t5\tb\r\n");
    ASSERT_EQ(Start(2009, 7, 1), 1);
    for (int day : {3, 4}) {
        platform.QueueDialogScript([](HeadlessDialogSession& dialog) {
            EXPECT_EQ(dialog.Entries(1004).size(), 8u);
            EXPECT_FALSE(dialog.Visible(1004));
            dialog.Click(IDOK);
        });
        Post(WM_LBUTTONDBLCLK, DayPoint(2009, 7, day).x, DayPoint(2009, 7, day).y);
        Pump(100);
    }
    EXPECT_EQ(ReadUtf16(MemoFile(2009, 7)), u"3\t0\t0\t0\t-1\ta\r\n4\t0\t0\t0\t5\tb\r\n");
}

TEST_F(MonthlyTest, TheMenuOffersTheDaysMemoCommandsAndDeletionAsksFirst) {
    WriteUtf16(MemoFile(2009, 7), u"10\t0\t0\t0\t0\tmilk\r\n");
    ASSERT_EQ(Start(2009, 7, 1), 1);
    POINT day10 = DayPoint(2009, 7, 10);

    platform.QueueMenuChoice(kCmdDeleteMemo);
    platform.QueueMessageBoxAnswer(IDNO);
    ContextMenu(day10);
    Pump(100);
    ASSERT_EQ(platform.Menus().size(), 1u);
    std::vector<std::pair<UINT, std::u16string>> items;
    std::vector<UINT> checked;
    for (const MenuItem& item : platform.Menus()[0].items) {
        items.emplace_back(item.id, item.text);
        if (item.checked) {
            checked.push_back(item.id);
        }
    }
    std::vector<std::pair<UINT, std::u16string>> expected = {
        {32772, u"编辑该日备忘录(&S)..."},
        {32786, u"清除该日备忘录(&D)..."},
        {0, u""},
        {32813, u"上月"},
        {32811, u"下月"},
        {32789, u"始终最前端显示"},
        {32790, u"固定在此位置"},
        {32809, u"启动时显示今日备忘提醒"},
        {0, u""},
        {32817, u"状态栏图标显示"},
        {32819, u"自动启动"},
        {0, u""},
        {104, u"关于(&A)..."},
        {105, u"退出(&X)"},
    };
    EXPECT_EQ(items, expected);
    EXPECT_EQ(checked, (std::vector<UINT>{32789, 32817}));
    ASSERT_EQ(platform.MessageBoxes().size(), 1u);
    EXPECT_EQ(platform.MessageBoxes()[0].text, u"将会消除2009年07月10日的备忘录。\n确定吗？");
    EXPECT_EQ(platform.MessageBoxes()[0].caption, u"确认消除");
    EXPECT_EQ(platform.MessageBoxes()[0].type, UINT(MB_YESNO | MB_ICONQUESTION));
    EXPECT_TRUE(std::filesystem::exists(MemoFile(2009, 7)));

    platform.QueueMenuChoice(kCmdDeleteMemo);
    platform.QueueMessageBoxAnswer(IDYES);
    ContextMenu(day10);
    Pump(100);
    EXPECT_FALSE(std::filesystem::exists(MemoFile(2009, 7))) << "the last memo takes the file";
    EXPECT_EQ(Pixel(day10.x + 10, day10.y - 8), Grid(MonthColour(7))) << "mark gone";

    // On a day without memo only "new"; off the days no memo item at all.
    ContextMenu(day10);
    ContextMenu(POINT{5, 120});
    Pump(100);
    ASSERT_EQ(platform.Menus().size(), 4u);
    EXPECT_EQ(platform.Menus()[2].items[0].text, u"新建备忘录(&S)...");
    EXPECT_EQ(platform.Menus()[2].items[1].id, 0u);
    EXPECT_EQ(platform.Menus()[3].items[0].id, UINT(kCmdPrevMonth));
}

// --- Settings commands and exit ----------------------------------------------------

TEST_F(MonthlyTest, MenuTogglesWriteTheirKeysAtOnce) {
    ASSERT_EQ(Start(2009, 7, 1), 1);
    for (UINT command : {kCmdTopMost, kCmdFixedPos, kCmdShowToday, kCmdTrayIcon}) {
        platform.QueueMenuChoice(command);
        ContextMenu(POINT{5, 120});
        Pump(70);
    }
    CMGFile& file = app->file;
    auto saved = [&file](const char16_t* key) {
        return GetPrivateProfileInt(file.AppName(), key, -7, file.SettingsIni());
    };
    EXPECT_EQ(saved(u"TopMost"), 0);
    EXPECT_EQ(saved(u"FixedPos"), 1);
    EXPECT_EQ(saved(u"ShowToday"), 1);
    EXPECT_EQ(saved(u"TrayIcon"), 0);
    EXPECT_EQ(saved(u"PosX"), -7) << "the position only after a drag";
    EXPECT_FALSE(platform.Window(app->hWnd)->topMost);
    EXPECT_FALSE(platform.Tray(app->hWnd).has_value());

    // With FixedPos a click on a plain day no longer moves the window.
    platform.QueueSystemMove(30, 0);
    Click(POINT{5, 120});
    Pump(70);
    EXPECT_EQ(platform.Window(app->hWnd)->rect.left, 775);

    ContextMenu(POINT{5, 120});
    Pump(70);
    std::vector<UINT> checked;
    for (const MenuItem& item : platform.Menus().back().items) {
        if (item.checked) {
            checked.push_back(item.id);
        }
    }
    EXPECT_EQ(checked, (std::vector<UINT>{32790, 32809}));
}

TEST_F(MonthlyTest, ExitFromTheMenuEndsTheLoopAndReleasesEverything) {
    ASSERT_EQ(Start(2009, 7, 1), 1);
    platform.QueueMenuChoice(kCmdExit);
    ContextMenu(POINT{5, 120});
    platform.SetRunLimit(platform.Elapsed() + 5000);
    EXPECT_EQ(app->RunMessageLoop(), 0);
    EXPECT_FALSE(platform.IsWindow(app->hWnd));
    EXPECT_FALSE(platform.Tray(app->hWnd).has_value());
    app.reset();
}

} // namespace
