#include "monthly_app.h"

#include "base/format16.h"
#include "base/process_random.h"
#include "data/profile.h"
#include "day_grid.h"
#include "day_popup.h"
#include "month_picture.h"
#include "monthly_layout.h"
#include "monthly_menu.h"
#include "scene/sprite_manager.h"
#include "schedule_dialog.h"
#include "shell/desktop_integration.h"
#include "sound/buffer_sound.h"
#include "sound/sound_device.h"

#include <algorithm>
#include <memory>

const DesktopProfile kMonthlyDesktop{kWindowWidth,
                                     kWindowHeight,
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

namespace {

const ButtonSheetProfile kMonthlyButtons{u"cal_button01.mg",         32,   24,
                                         {{0, 0}, {0, 24}, {0, 48}}, 1000, 1009};

constexpr int kWindowIconId = 108;
constexpr int kOpacityFull = 256;
constexpr int kOpacityStep = 16;

struct YearMonth {
    int year;
    int month;
};

YearMonth Step(int year, int month, int delta) {
    month += delta;
    if (month < 1) {
        return {year - 1, 12};
    }
    if (month > 12) {
        return {year + 1, 1};
    }
    return {year, month};
}

// The monthly calendar's window: the month picture, the year, the day grid
// with holiday and memo marks, the day popup, three month buttons, the
// popup menu and the memo editor.
class CApp final : public CAppBase {
public:
    CApp() : desktop_(*this, kMonthlyDesktop) { iconId = kWindowIconId; }

    int CreateMainWindow(HINSTANCE instance, int showCommand) override;
    void OnExit() override;
    void OnPaint(HDC dc) override { CSurface::PresentPlain(backBuffer_.get(), dc); }
    void OnLButtonDown(int x, int y) override;
    void OnLButtonDblClk(int x, int y) override;
    void OnMouseMove(int x, int y) override;
    void OnFrame() override;
    void OnContextMenu(int x, int y) override;
    int OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnTrayNotify(WPARAM wParam, LPARAM lParam) override;
    void OnControlEvent(CSprite* control, int controlId, int eventCode, int value,
                        CControlManager* manager) override;

private:
    void ReadSettings();
    void CreateButtons();
    void ShowDayPopup(int day, int memoRow);
    void HidePopup();
    void ShowButtons();
    void HideButtons();
    void GoToMonth(int year, int month);
    void StepMonth(int delta);
    void EditDayMemo(int day);
    void DeleteMemo(int day);
    void PlayClick();

    CDesktopIntegration desktop_;
    std::unique_ptr<CSurface> backBuffer_;
    std::unique_ptr<CSurface> background_;
    std::unique_ptr<CSurface> popupSurface_;
    std::unique_ptr<C2DManager> sceneManager_;
    std::unique_ptr<CCalender> calendar_;
    std::unique_ptr<SoundDevice> sound_;
    std::unique_ptr<CBufferSound> click_;
    int shownYear_ = 0;
    int shownMonth_ = 0;
    int popupVisible_ = 0;
    int popupOpacity_ = 0;
    int buttonsVisible_ = 0;
    int contextDay_ = -1;
    int showToday_ = 0;
};

int CApp::CreateMainWindow(HINSTANCE instance, int showCommand) {
    Platform& sys = Sys();
    if (desktop_.AcquireSingleInstance() == 0) {
        return 0;
    }
    // The sound layer draws from the generator when it reuses a buffer.
    SeedRandom(sys.TimeGetTime());
    CopyBounded(title, kMonthlyDesktop.title);
    if (desktop_.CreateWindow(instance) == 0) {
        return 0;
    }
    file.Init(hWnd, instance);
    CSurface::ProbeBlendLoops();
    CSurface::SetMainWindow(hWnd);

    ReadSettings();
    if (desktop_.settings.trayIcon != 0) {
        desktop_.AddTrayIcon();
    }
    desktop_.PlaceWindow();

    backBuffer_.reset(CSurface::CreateBlank(kWindowWidth, kWindowHeight));
    background_.reset(CSurface::CreateBlank(kWindowWidth, kWindowHeight));
    if (backBuffer_ == nullptr || background_ == nullptr) {
        return 0;
    }
    std::fill(background_->bits, background_->bits + kWindowWidth * kWindowHeight, 0x00FFFFFFu);

    LocalTime today = sys.GetLocalTime();
    shownYear_ = today.year;
    shownMonth_ = today.month;

    calendar_ = std::make_unique<CCalender>();
    calendar_->partsImage.reset(CSurface::CreateFromFile(u"cal_parts01.mg"));
    calendar_->numeralWidth = kNumeralWidth;
    calendar_->numeralHeight = kNumeralHeight;
    calendar_->columnPitch = kColumnPitch;
    calendar_->rowPitch = kRowPitch;
    calendar_->gridSurface.reset(CSurface::CreateBlank(kGridWidth, kGridHeight));
    calendar_->LoadHolidays(u"holidays.txt");
    calendar_->SetMonth(shownYear_, shownMonth_, today.day);
    calendar_->gridVisible = 1;
    LoadMonthPicture(background_.get(), *calendar_, shownMonth_);

    sceneManager_ = std::make_unique<C2DManager>(kMonthlyButtons);
    controlManager = sceneManager_.get();

    sound_ = std::make_unique<SoundDevice>();
    sound_->Start(hWnd);
    if (!SoundDevice::NoDevice()) {
        click_.reset(CBufferSound::Create(*sound_, u"snd_se001.wav"));
    }

    CreateButtons();

    redrawRequested = 1;
    OnFrame();

    desktop_.ShowPlaced(showCommand);
    showFpsInTitle = 0;

    if (showToday_ != 0) {
        int row = calendar_->FindMemo(today.day);
        if (row >= 0) {
            ShowDayPopup(today.day, row);
            popupOpacity_ = kOpacityStep; // fades in over the next frames
        }
    }
    return 1;
}

void CApp::ReadSettings() {
    desktop_.settings.Load(file);
    showToday_ = GetPrivateProfileInt(file.AppName(), u"ShowToday", 0, file.SettingsIni());
}

void CApp::CreateButtons() {
    for (int column = 0; column < 3; ++column) {
        int x = 32 * column;
        const POINT cells[3] = {{x, 0}, {x, 24}, {x, 48}};
        sceneManager_->CreateButton(cells, kPrevButtonId + column);
    }
}

void CApp::OnExit() {
    if (click_ != nullptr) {
        click_->Stop();
    }
    click_.reset();
    if (sound_ != nullptr) {
        sound_->Stop();
    }
    sound_.reset();
    popupSurface_.reset();
    calendar_.reset();
    background_.reset();
    backBuffer_.reset();
    controlManager = nullptr;
    sceneManager_.reset();
}

void CApp::OnFrame() {
    if (buttonsVisible_ != 0) {
        RECT window{};
        Sys().GetWindowRect(hWnd, &window);
        if (!window.Contains(Sys().GetCursorPos())) {
            HideButtons();
        }
    }
    if (calendar_->gridDirty != 0) {
        DrawGrid(*calendar_);
        calendar_->gridDirty = 0;
        redrawRequested = 1;
    }
    if (popupVisible_ != 0 && popupOpacity_ < kOpacityFull) {
        popupOpacity_ += kOpacityStep;
        redrawRequested = 1;
    }
    if (redrawRequested == 0) {
        return;
    }
    redrawRequested = 0;

    CSurface* back = backBuffer_.get();
    CSurface::Copy(back, background_.get(), 0, 0, kWindowWidth, kWindowHeight, 0, 0);
    if (calendar_->gridVisible != 0 && calendar_->gridSurface != nullptr) {
        CSurface::BlendAlpha(back, calendar_->gridSurface.get(), kGridX, kGridY, kGridWidth,
                             kGridHeight, 0, 0);
    }
    DrawYear(*calendar_, back);
    if (popupVisible_ != 0 && popupSurface_ != nullptr) {
        popupSurface_->opacity = std::clamp(popupOpacity_, 0, 255);
        CSurface::BlendAlphaOpacity(back, popupSurface_.get(), kPopupX, kPopupY,
                                    popupSurface_->width, popupSurface_->height, 0, 0);
    }
    sceneManager_->Draw(back);
    desktop_.InvalidateAndUpdate();
}

void CApp::OnLButtonDown(int x, int y) {
    int day = DayAt(*calendar_, x, y);
    if (day > 0) {
        int row = calendar_->FindMemo(day);
        if (row >= 0) {
            ShowDayPopup(day, row);
            return;
        }
        int code = calendar_->DayCode(day);
        if (code >= 0 && calendar_->DayLabel(code) != nullptr) {
            ShowDayPopup(day, -1);
            return;
        }
    }
    HidePopup();
    desktop_.DragMove();
}

void CApp::OnLButtonDblClk(int x, int y) {
    int day = DayAt(*calendar_, x, y);
    if (day > 0) {
        EditDayMemo(day);
    }
}

void CApp::OnMouseMove(int x, int y) {
    CAppBase::OnMouseMove(x, y);
    if (buttonsVisible_ == 0) {
        ShowButtons();
    }
}

void CApp::ShowDayPopup(int day, int memoRow) {
    popupSurface_.reset(BuildDayPopup(*calendar_, day, memoRow));
    popupVisible_ = 1;
    popupOpacity_ = kOpacityFull;
    redrawRequested = 1;
}

void CApp::HidePopup() {
    popupVisible_ = 0;
    popupOpacity_ = 0;
    redrawRequested = 1;
}

void CApp::ShowButtons() {
    for (int i = 0; i < 3; ++i) {
        if (CButtonSprite* button = sceneManager_->FindButton(kPrevButtonId + i)) {
            button->SetPosition(kButtonCentres[i].x, kButtonCentres[i].y);
            button->SetOpacity(255);
            button->visible = 1;
            button->dirty = 1;
        }
    }
    buttonsVisible_ = 1;
    redrawRequested = 1;
}

void CApp::HideButtons() {
    sceneManager_->ResetButtonRange();
    for (int id = kPrevButtonId; id <= kNextButtonId; ++id) {
        if (CButtonSprite* button = sceneManager_->FindButton(id)) {
            button->visible = 0;
            button->dirty = 1;
        }
    }
    buttonsVisible_ = 0;
    redrawRequested = 1;
}

void CApp::GoToMonth(int year, int month) {
    shownYear_ = year;
    shownMonth_ = month;
    // Today is read again on every change, so coming back to the current
    // month highlights the day it is now.
    LocalTime today = Sys().GetLocalTime();
    bool current = today.year == year && today.month == month;
    calendar_->SetMonth(year, month, current ? today.day : -1);
    LoadMonthPicture(background_.get(), *calendar_, month);
    HidePopup();
}

void CApp::StepMonth(int delta) {
    YearMonth next = Step(shownYear_, shownMonth_, delta);
    GoToMonth(next.year, next.month);
}

void CApp::PlayClick() {
    if (click_ != nullptr) {
        click_->Play(0, 0);
    }
}

void CApp::OnControlEvent(CSprite* /*control*/, int controlId, int eventCode, int /*value*/,
                          CControlManager* /*manager*/) {
    if (eventCode != kControlPressed) {
        return;
    }
    PlayClick();
    switch (controlId) {
    case kPrevButtonId:
        StepMonth(-1);
        break;
    case kTodayButtonId: {
        LocalTime today = Sys().GetLocalTime();
        GoToMonth(today.year, today.month);
        break;
    }
    case kNextButtonId:
        StepMonth(1);
        break;
    default:
        break;
    }
}

void CApp::OnContextMenu(int x, int y) {
    POINT client{x, y};
    Sys().ScreenToClient(hWnd, &client);
    contextDay_ = DayAt(*calendar_, client.x, client.y);

    MonthlyMenuState state;
    state.contextDay = contextDay_;
    state.dayHasMemo = contextDay_ >= 1 && calendar_->FindMemo(contextDay_) >= 0;
    state.topMost = desktop_.settings.topMost != 0;
    state.fixedPos = desktop_.settings.fixedPos != 0;
    state.showToday = showToday_ != 0;
    state.trayIcon = desktop_.settings.trayIcon != 0;
    state.autostartExists = desktop_.ShortcutExists() != 0;
    Sys().TrackPopupMenu(BuildMonthlyMenu(state), POINT{x, y}, hWnd);
}

int CApp::OnCommand(WPARAM wParam, LPARAM /*lParam*/) {
    switch (LoWord(wParam)) {
    case kCmdAbout:
        desktop_.ShowAbout();
        return 1;
    case kCmdExit:
        Sys().PostMessage(hWnd, WM_CLOSE, 0, 0);
        return 1;
    case kCmdEditMemo:
        EditDayMemo(contextDay_);
        return 1;
    case kCmdDeleteMemo:
        DeleteMemo(contextDay_);
        return 1;
    case kCmdTopMost:
        desktop_.ToggleTopMost();
        return 1;
    case kCmdFixedPos:
        desktop_.ToggleFixedPos();
        return 1;
    case kCmdShowToday:
        desktop_.ToggleSetting(showToday_, u"ShowToday");
        return 1;
    case kCmdNextMonth:
        StepMonth(1);
        PlayClick();
        return 1;
    case kCmdPrevMonth:
        StepMonth(-1);
        PlayClick();
        return 1;
    case kCmdTrayIcon:
        desktop_.ToggleTrayIcon();
        return 1;
    case kCmdAutostart:
        desktop_.ToggleAutostart();
        return 1;
    default:
        return 0;
    }
}

void CApp::OnTrayNotify(WPARAM /*wParam*/, LPARAM lParam) {
    if (desktop_.OnTrayClick(lParam)) {
        POINT cursor = Sys().GetCursorPos();
        OnContextMenu(cursor.x, cursor.y);
    }
}

void CApp::EditDayMemo(int day) {
    if (EditMemo(*calendar_, day) == 0) {
        return;
    }
    int row = calendar_->FindMemo(day);
    if (row >= 0) {
        ShowDayPopup(day, row);
    }
}

void CApp::DeleteMemo(int day) {
    if (day <= 0) {
        return;
    }
    std::u16string question = Format16(u"将会消除%d年%02d月%02d日的备忘录。\n确定吗？",
                                       {calendar_->year, calendar_->month, day});
    if (Sys().MessageBox(hWnd, question, u"确认消除", MB_YESNO | MB_ICONQUESTION) != IDYES) {
        return;
    }
    calendar_->RemoveMemo(day);
    calendar_->SaveMonthMemos(calendar_->year, calendar_->month);
    HidePopup();
}

} // namespace

CAppBase* CreateMonthlyApp() {
    return new CApp();
}
