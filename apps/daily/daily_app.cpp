#include "daily_app.h"

#include "daily_profile.h"
#include "day_page.h"
#include "shell/window_settings.h"

#include <algorithm>

namespace daily {

namespace {

struct ButtonPlace {
    int id;
    int column; // x of the button's cells in the sheet
    POINT centre;
};

constexpr ButtonPlace kButtons[] = {
    {kTodayButton, 32, {160, 168}},
    {kPreviousDayButton, 0, {16, 92}},
    {kNextDayButton, 64, {304, 92}},
};

constexpr int kSlideStartOpacity = 300;
constexpr int kSlideOpacityStep = 16;
constexpr int kSlideOffsetStep = 8;
constexpr int kSlideMaxOffset = 200;
// A page that cannot be loaded still shows the date on plain paper.
constexpr std::uint32_t kPlainPaper = 0xFFFAF7F0;

DailyDate Today() {
    LocalTime now = Sys().GetLocalTime();
    return DailyDate{now.year, now.month, now.day};
}

} // namespace

CApp::CApp() : desktop_(*this, kDesktopProfile) {}

CApp::~CApp() = default;

int CApp::CreateMainWindow(HINSTANCE instance, int showCommand) {
    if (desktop_.AcquireSingleInstance() == 0 || desktop_.CreateWindow(instance) == 0) {
        return 0;
    }
    file.Init(hWnd, instance);
    CSurface::ProbeBlendLoops();
    CSurface::SetMainWindow(hWnd);

    desktop_.settings.Load(file);
    desktop_.PlaceWindow();
    if (desktop_.settings.trayIcon != 0) {
        desktop_.AddTrayIcon();
    }

    backBuffer_.reset(CSurface::CreateBlank(kPageWidth, kPageHeight));
    dayPicture_.reset(CSurface::CreateBlank(kPageWidth, kPageHeight));
    previousPicture_.reset(CSurface::CreateBlank(kPageWidth, kPageHeight));

    scene_ = std::make_unique<C2DManager>(kButtonSheet);
    controlManager = scene_.get();
    clickSound_.reset(CMemorySound::Create(u"snd_se001.wav"));

    // Read for the model's sake; the day codes are not shown on the page.
    holidays_.readFormat = CTabDataBase::kAnsi;
    holidays_.saveFormat = CTabDataBase::kAnsi;
    holidays_.Load(u"holidays.txt");

    weekdayImage_.reset(CSurface::CreateFromFile(u"weekday.mg"));

    shown_ = Today();
    SetCalendarMonth();
    LoadDayPicture(shown_.day, shown_.year, shown_.month);

    for (const ButtonPlace& place : kButtons) {
        const POINT cells[3] = {{place.column, 0}, {place.column, 32}, {place.column, 64}};
        scene_->CreateButton(cells, place.id);
    }

    showFpsInTitle = 0;
    redrawRequested = 1;
    OnFrame();
    desktop_.ShowPlaced(showCommand);
    return 1;
}

void CApp::OnExit() {
    Sys().Audio().StopSounds();
    backBuffer_.reset();
    dayPicture_.reset();
    previousPicture_.reset();
    weekdayImage_.reset();
    holidays_.Clear();
    clickSound_.reset();
    controlManager = nullptr;
    scene_.reset();
}

void CApp::OnPaint(HDC dc) {
    if (backBuffer_) {
        CSurface::PresentPlain(backBuffer_.get(), dc);
    }
}

void CApp::OnLButtonDown(int /*x*/, int /*y*/) {
    desktop_.DragMove();
}

void CApp::OnMouseMove(int x, int y) {
    CAppBase::OnMouseMove(x, y);
    if (buttonsVisible_ == 0) {
        ShowButtons();
    }
}

void CApp::SetCalendarMonth() {
    dayCodes_ = BuildDayCodes(holidays_, shown_.year, shown_.month);
}

void CApp::LoadDayPicture(int day, int year, int month) {
    CSurface::Copy(previousPicture_.get(), dayPicture_.get(), 0, 0, kPageWidth, kPageHeight, 0, 0);
    CSurface* page = CSurface::CreateFromFile(DayPictureName(month, day).c_str());
    if (page == nullptr) {
        page = CSurface::CreateBlank(kPageWidth, kPageHeight);
        for (int y = 0; y < kPageHeight; ++y) {
            std::fill_n(page->Row(y), kPageWidth, kPlainPaper);
        }
        page->hasAlpha = 1;
    }
    dayPicture_.reset(page);
    if (weekdayImage_) {
        DrawDateLine(page, weekdayImage_.get(), DailyDate{year, month, day},
                     WeekdayOf(year, month, day));
    }
    slideOpacity_ = kSlideStartOpacity;
    slideOffset_ = 0;
}

void CApp::ChangeDate(DailyDate date, int direction) {
    shown_ = date;
    slideDirection_ = direction;
    SetCalendarMonth();
    LoadDayPicture(shown_.day, shown_.year, shown_.month);
    if (clickSound_) {
        clickSound_->Play(0, 0);
    }
    redrawRequested = 1;
}

void CApp::ShowButtons() {
    for (const ButtonPlace& place : kButtons) {
        if (CButtonSprite* button = scene_->FindButton(place.id)) {
            button->SetPosition(place.centre.x, place.centre.y);
            button->SetOpacity(button->buttonOpacity);
            button->visible = 1;
            button->dirty = 1;
        }
    }
    buttonsVisible_ = 1;
    redrawRequested = 1;
}

void CApp::HideButtons() {
    scene_->ResetButtonRange();
    for (const ButtonPlace& place : kButtons) {
        if (CButtonSprite* button = scene_->FindButton(place.id)) {
            button->visible = 0;
            button->dirty = 1;
        }
    }
    buttonsVisible_ = 0;
    redrawRequested = 1;
}

void CApp::OnFrame() {
    if (buttonsVisible_ != 0) {
        RECT window{};
        Sys().GetWindowRect(hWnd, &window);
        if (!window.Contains(Sys().GetCursorPos())) {
            HideButtons();
        }
    }
    if (slideOffset_ >= 0) {
        slideOpacity_ -= kSlideOpacityStep;
        slideOffset_ += kSlideOffsetStep;
        if (slideOpacity_ <= 0 || slideOffset_ >= kSlideMaxOffset) {
            slideOffset_ = -1;
            slideOpacity_ = 0;
        }
        redrawRequested = 1;
    }
    if (redrawRequested == 0) {
        return;
    }
    redrawRequested = 0;
    Compose();
}

void CApp::Compose() {
    CSurface::Copy(backBuffer_.get(), dayPicture_.get(), 0, 0, kPageWidth, kPageHeight, 0, 0);
    if (slideOffset_ >= 0) {
        POINT at{-slideOffset_, 0};
        if (slideDirection_ == kSlideBack) {
            at = POINT{slideOffset_, 0};
        } else if (slideDirection_ == kSlideToToday) {
            at = POINT{0, slideOffset_ / 2};
        }
        previousPicture_->opacity = std::clamp(slideOpacity_, 0, 255);
        CSurface::BlendAlphaOpacity(backBuffer_.get(), previousPicture_.get(), at.x, at.y,
                                    kPageWidth, kPageHeight, 0, 0);
    }
    scene_->Draw(backBuffer_.get());
    CSurface::Premultiply(backBuffer_.get());
    RECT window{};
    Sys().GetWindowRect(hWnd, &window);
    CSurface::PresentLayered(backBuffer_.get(), window.left, window.top);
    desktop_.InvalidateAndUpdate();
}

void CApp::OnControlEvent(CSprite* /*control*/, int controlId, int eventCode, int /*value*/,
                          CControlManager* /*manager*/) {
    if (eventCode != kControlPressed) {
        return;
    }
    switch (controlId) {
    case kTodayButton:
        if (Today() == shown_) {
            redrawRequested = 1;
        } else {
            ChangeDate(Today(), kSlideToToday);
        }
        break;
    case kPreviousDayButton:
        ChangeDate(PreviousDay(shown_), kSlideBack);
        break;
    case kNextDayButton:
        ChangeDate(NextDay(shown_), kSlideForward);
        break;
    default:
        break;
    }
}

void CApp::OnContextMenu(int x, int y) {
    ShowPopupMenu(x, y);
}

void CApp::ShowPopupMenu(int x, int y) {
    const WindowSettings& settings = desktop_.settings;
    std::vector<MenuItem> items = {
        {kCommandPreviousMonth, u"上月"},
        {kCommandNextMonth, u"下月"},
        {kCommandTopMost, u"始终最前端显示", settings.topMost != 0},
        {kCommandFixedPos, u"固定在此位置", settings.fixedPos != 0},
        {kCommandTrayIcon, u"状态栏图标显示", settings.trayIcon != 0},
        {kCommandAutostart, desktop_.ShortcutExists() != 0 ? u"取消自动启动" : u"自动启动"},
        {},
        {kCommandAbout, u"关于(&A)..."},
        {kCommandExit, u"退出(&X)"},
    };
    Sys().TrackPopupMenu(items, POINT{x, y}, hWnd);
}

int CApp::OnCommand(WPARAM wParam, LPARAM /*lParam*/) {
    switch (LoWord(wParam)) {
    case kCommandAbout:
        desktop_.ShowAbout();
        return 1;
    case kCommandExit:
        Sys().PostMessage(hWnd, WM_CLOSE, 0, 0);
        return 1;
    case kCommandPreviousMonth:
        ChangeDate(PreviousMonth(shown_), kSlideBack);
        return 1;
    case kCommandNextMonth:
        ChangeDate(NextMonth(shown_), kSlideForward);
        return 1;
    case kCommandTopMost:
        desktop_.ToggleTopMost();
        return 1;
    case kCommandFixedPos:
        desktop_.ToggleFixedPos();
        return 1;
    case kCommandTrayIcon:
        desktop_.ToggleTrayIcon();
        return 1;
    case kCommandAutostart:
        desktop_.ToggleAutostart();
        return 1;
    default:
        return 0;
    }
}

void CApp::OnTrayNotify(WPARAM /*wParam*/, LPARAM lParam) {
    if (desktop_.OnTrayClick(lParam)) {
        POINT cursor = Sys().GetCursorPos();
        ShowPopupMenu(cursor.x, cursor.y);
    }
}

} // namespace daily

CAppBase* CreateDailyApp() {
    return new daily::CApp();
}
