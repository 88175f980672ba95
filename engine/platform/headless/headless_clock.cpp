// Virtual time, input state and the screen.
#include "headless_platform.h"

#include "call_log.h"

#include <chrono>

namespace {

// 2009-07-05 10:00:00, a Sunday: the default wall clock of a new backend.
constexpr std::int64_t kDefaultLocalMs = 1246788000000;

} // namespace

DWORD HeadlessPlatform::TimeGetTime() {
    return static_cast<DWORD>(tickBase_ + elapsed_);
}

void HeadlessPlatform::SetTickCount(DWORD value) {
    tickBase_ = static_cast<DWORD>(value - elapsed_);
}

void HeadlessPlatform::Advance(DWORD milliseconds) {
    elapsed_ += milliseconds;
}

void HeadlessPlatform::Sleep(DWORD milliseconds) {
    Log(FormatCall("Sleep", milliseconds));
    elapsed_ += milliseconds;
}

void HeadlessPlatform::SetLocalTime(const LocalTime& time) {
    using namespace std::chrono;
    sys_days day = year_month_day{year{time.year}, month{time.month}, std::chrono::day{time.day}};
    auto ms = day.time_since_epoch() + hours{time.hour} + minutes{time.minute} +
              seconds{time.second} + milliseconds{time.milliseconds};
    localBaseMs_ = duration_cast<milliseconds>(ms).count();
    localSetAt_ = elapsed_;
    localTimeSet_ = true;
}

LocalTime HeadlessPlatform::GetLocalTime() {
    using namespace std::chrono;
    std::int64_t base = localTimeSet_ ? localBaseMs_ : kDefaultLocalMs;
    std::uint64_t since = localTimeSet_ ? localSetAt_ : 0;
    milliseconds now{base + static_cast<std::int64_t>(elapsed_ - since)};
    sys_days day = floor<days>(sys_time<milliseconds>(now));
    year_month_day date{day};
    auto rest = now - day.time_since_epoch();
    hh_mm_ss<milliseconds> clock{rest};
    LocalTime t;
    t.year = static_cast<WORD>(static_cast<int>(date.year()));
    t.month = static_cast<WORD>(static_cast<unsigned>(date.month()));
    t.day = static_cast<WORD>(static_cast<unsigned>(date.day()));
    t.dayOfWeek = static_cast<WORD>(weekday{day}.c_encoding());
    t.hour = static_cast<WORD>(clock.hours().count());
    t.minute = static_cast<WORD>(clock.minutes().count());
    t.second = static_cast<WORD>(clock.seconds().count());
    t.milliseconds = static_cast<WORD>(clock.subseconds().count());
    return t;
}

bool HeadlessPlatform::IsKeyDown(int virtualKey) {
    return keysDown_.contains(virtualKey);
}

void HeadlessPlatform::SetKeyDown(int virtualKey, bool down) {
    if (down) {
        keysDown_.insert(virtualKey);
    } else {
        keysDown_.erase(virtualKey);
    }
}

POINT HeadlessPlatform::GetCursorPos() {
    return cursor_;
}

bool HeadlessPlatform::ClipCursor(const RECT* rect) {
    if (rect == nullptr) {
        clip_.reset();
        Log(FormatCall("ClipCursor", "none"));
    } else {
        clip_ = *rect;
        Log(FormatCall("ClipCursor", rect->left, rect->top, rect->right, rect->bottom));
    }
    return true;
}

void HeadlessPlatform::SetScreen(int width, int height, int workWidth, int workHeight) {
    screenWidth_ = width;
    screenHeight_ = height;
    workWidth_ = workWidth;
    workHeight_ = workHeight;
}

int HeadlessPlatform::GetSystemMetrics(int index) {
    switch (index) {
    case SM_CXSCREEN:
        return screenWidth_;
    case SM_CYSCREEN:
        return screenHeight_;
    case SM_CXFULLSCREEN:
        return workWidth_;
    case SM_CYFULLSCREEN:
        return workHeight_;
    default:
        return 0;
    }
}

DisplayMode HeadlessPlatform::GetDisplayMode() {
    return DisplayMode{screenWidth_, screenHeight_, refreshRate_};
}
