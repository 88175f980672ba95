// Win32-shaped types: the engine routes and packs messages exactly as the
// original platform did, so the handles, records and packing helpers keep
// their shapes here.
#pragma once

#include <cstdint>

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = std::uint32_t;
using LONG = std::int32_t;
using BOOL = int;
using ATOM = std::uint16_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using LONG_PTR = std::intptr_t;

// Opaque handles; each backend decides what they point at.
struct HWND__;
using HWND = HWND__*;
struct HINSTANCE__;
using HINSTANCE = HINSTANCE__*;
struct HDC__;
using HDC = HDC__*;

struct POINT {
    LONG x = 0;
    LONG y = 0;
    friend bool operator==(const POINT&, const POINT&) = default;
};

struct RECT {
    LONG left = 0;
    LONG top = 0;
    LONG right = 0;
    LONG bottom = 0;
    LONG Width() const { return right - left; }
    LONG Height() const { return bottom - top; }
    // Half-open, as PtInRect.
    bool Contains(POINT p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    friend bool operator==(const RECT&, const RECT&) = default;
};

struct MSG {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);

// Local wall-clock time, the fields of SYSTEMTIME.
struct LocalTime {
    WORD year = 0;
    WORD month = 0;     // 1-12
    WORD dayOfWeek = 0; // 0 = Sunday
    WORD day = 0;
    WORD hour = 0;
    WORD minute = 0;
    WORD second = 0;
    WORD milliseconds = 0;
};

constexpr WORD LoWord(std::uintptr_t v) {
    return static_cast<WORD>(v & 0xFFFF);
}
constexpr WORD HiWord(std::uintptr_t v) {
    return static_cast<WORD>((v >> 16) & 0xFFFF);
}
// The signed halves of lParam, as GET_X_LPARAM / GET_Y_LPARAM.
constexpr int SignedLoWord(std::intptr_t v) {
    return static_cast<std::int16_t>(v & 0xFFFF);
}
constexpr int SignedHiWord(std::intptr_t v) {
    return static_cast<std::int16_t>((v >> 16) & 0xFFFF);
}
constexpr LPARAM MakeLParam(int lo, int hi) {
    return static_cast<LPARAM>(static_cast<std::int32_t>((static_cast<DWORD>(hi) & 0xFFFF) << 16 |
                                                         (static_cast<DWORD>(lo) & 0xFFFF)));
}
constexpr WPARAM MakeWParam(int lo, int hi) {
    return (static_cast<WPARAM>(static_cast<DWORD>(hi) & 0xFFFF) << 16) |
           (static_cast<DWORD>(lo) & 0xFFFF);
}
