// Window records: creation, geometry, styles and z-order.
#include "headless_platform.h"

#include "base/text16.h"

#include "call_log.h"
#include <algorithm>

namespace {

constexpr int kDefaultX = 100;
constexpr int kDefaultY = 100;
constexpr int kDefaultWidth = 640;
constexpr int kDefaultHeight = 480;

const char* InsertAfterName(HWND insertAfter) {
    if (insertAfter == HWND_TOPMOST) {
        return "TOPMOST";
    }
    if (insertAfter == HWND_NOTOPMOST) {
        return "NOTOPMOST";
    }
    if (insertAfter == HWND_TOP) {
        return "TOP";
    }
    return "BOTTOM";
}

} // namespace

RECT HeadlessPlatform::WindowRecord::FrameInsets() const {
    // A captioned window has a title bar and borders; a popup has none.
    if ((style & WS_CAPTION) == WS_CAPTION) {
        return RECT{8, 31, 8, 8};
    }
    return RECT{};
}

HeadlessPlatform::HeadlessPlatform() = default;

HeadlessPlatform::~HeadlessPlatform() {
    if (!ownedRoot_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(ownedRoot_, ignored);
    }
}

HeadlessPlatform::WindowRecord* HeadlessPlatform::Find(HWND window) {
    auto it = windows_.find(window);
    return it == windows_.end() ? nullptr : &it->second;
}

const HeadlessPlatform::WindowRecord* HeadlessPlatform::Window(HWND window) const {
    auto it = windows_.find(window);
    return it == windows_.end() ? nullptr : &it->second;
}

ATOM HeadlessPlatform::RegisterClass(const WindowClassInfo& info) {
    Log(FormatCall("RegisterClass", info.className, Hex{info.style}));
    if (info.className.empty() || classes_.contains(info.className)) {
        return 0;
    }
    classes_[info.className] = info;
    return static_cast<ATOM>(0xC000 + classes_.size());
}

HWND HeadlessPlatform::CreateWindow(DWORD exStyle, std::u16string_view className,
                                    std::u16string_view title, DWORD style, int x, int y, int width,
                                    int height, HWND /*parent*/) {
    auto cls = classes_.find(std::u16string(className));
    if (cls == classes_.end()) {
        Log(FormatCall("CreateWindow", className, "failed"));
        return nullptr;
    }
    int left = x == CW_USEDEFAULT ? kDefaultX : x;
    int top = x == CW_USEDEFAULT ? kDefaultY : y;
    int w = width == CW_USEDEFAULT ? kDefaultWidth : width;
    int h = width == CW_USEDEFAULT ? kDefaultHeight : height;
    HWND handle = NewWindowRecord(std::u16string(className), std::u16string(title), style,
                                  RECT{left, top, left + w, top + h});
    WindowRecord& record = windows_[handle];
    record.exStyle = exStyle;
    record.topMost = (exStyle & WS_EX_TOPMOST) != 0;
    record.windowProc = cls->second.windowProc;
    Raise(record);
    Log(FormatCall("CreateWindow", className, title, Hex{style}, Hex{exStyle}, left, top, w, h));
    return handle;
}

HWND HeadlessPlatform::NewWindowRecord(std::u16string className, std::u16string title, DWORD style,
                                       RECT rect) {
    WindowRecord record;
    record.handle = reinterpret_cast<HWND>(nextWindowId_++);
    record.className = std::move(className);
    record.title = std::move(title);
    record.style = style;
    record.visible = (style & WS_VISIBLE) != 0;
    record.rect = rect;
    HWND handle = record.handle;
    windows_[handle] = std::move(record);
    zOrder_.push_back(handle);
    return handle;
}

bool HeadlessPlatform::DestroyWindow(HWND window) {
    if (Find(window) == nullptr) {
        return false;
    }
    Log(FormatCall("DestroyWindow"));
    Call(window, WM_DESTROY, 0, 0);
    windows_.erase(window);
    std::erase(zOrder_, window);
    trays_.erase(window);
    std::erase_if(closeListeners_, [window](const auto& entry) { return entry.second == window; });
    return true;
}

bool HeadlessPlatform::IsWindow(HWND window) {
    return Find(window) != nullptr;
}

bool HeadlessPlatform::ShowWindow(HWND window, int command) {
    WindowRecord* record = Find(window);
    if (record == nullptr) {
        return false;
    }
    bool wasVisible = record->visible;
    record->visible = command != SW_HIDE;
    if (record->visible) {
        record->invalid = true;
    }
    Log(FormatCall("ShowWindow", command));
    return wasVisible;
}

bool HeadlessPlatform::UpdateWindow(HWND window) {
    WindowRecord* record = Find(window);
    if (record == nullptr) {
        return false;
    }
    if (record->invalid) {
        Call(window, WM_PAINT, 0, 0);
    }
    return true;
}

bool HeadlessPlatform::InvalidateRect(HWND window, const RECT* /*rect*/, bool /*erase*/) {
    WindowRecord* record = Find(window);
    if (record == nullptr) {
        return false;
    }
    record->invalid = true;
    return true;
}

bool HeadlessPlatform::MoveWindow(HWND window, int x, int y, int width, int height, bool repaint) {
    WindowRecord* record = Find(window);
    if (record == nullptr) {
        return false;
    }
    record->rect = RECT{x, y, x + width, y + height};
    if (repaint) {
        record->invalid = true;
    }
    Log(FormatCall("MoveWindow", x, y, width, height, repaint));
    return true;
}

void HeadlessPlatform::Raise(WindowRecord& record) {
    std::erase(zOrder_, record.handle);
    // Top-most windows stay above the others; a window goes to the top of
    // its own group.
    auto at = zOrder_.begin();
    if (!record.topMost) {
        at = std::find_if(zOrder_.begin(), zOrder_.end(),
                          [this](HWND other) { return !windows_.at(other).topMost; });
    }
    zOrder_.insert(at, record.handle);
}

bool HeadlessPlatform::SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width,
                                    int height, UINT flags) {
    WindowRecord* record = Find(window);
    if (record == nullptr) {
        return false;
    }
    Log(FormatCall("SetWindowPos", InsertAfterName(insertAfter), x, y, width, height, Hex{flags}));
    if ((flags & SWP_NOMOVE) == 0) {
        record->rect = RECT{x, y, x + record->rect.Width(), y + record->rect.Height()};
    }
    if ((flags & SWP_NOSIZE) == 0) {
        record->rect.right = record->rect.left + width;
        record->rect.bottom = record->rect.top + height;
    }
    if ((flags & SWP_NOZORDER) == 0) {
        if (insertAfter == HWND_TOPMOST) {
            record->topMost = true;
        } else if (insertAfter == HWND_NOTOPMOST) {
            record->topMost = false;
        }
        Raise(*record);
    }
    if ((flags & SWP_SHOWWINDOW) != 0) {
        record->visible = true;
    }
    if ((flags & SWP_HIDEWINDOW) != 0) {
        record->visible = false;
    }
    return true;
}

LONG_PTR HeadlessPlatform::GetWindowLongPtr(HWND window, int index) {
    WindowRecord* record = Find(window);
    if (record == nullptr) {
        return 0;
    }
    switch (index) {
    case GWL_STYLE:
        return static_cast<LONG_PTR>(record->style);
    case GWL_EXSTYLE:
        return static_cast<LONG_PTR>(record->exStyle);
    case GWLP_USERDATA:
        return record->userData;
    default:
        return 0;
    }
}

LONG_PTR HeadlessPlatform::SetWindowLongPtr(HWND window, int index, LONG_PTR value) {
    WindowRecord* record = Find(window);
    if (record == nullptr) {
        return 0;
    }
    LONG_PTR previous = GetWindowLongPtr(window, index);
    switch (index) {
    case GWL_STYLE:
        record->style = static_cast<DWORD>(value);
        record->visible = (record->style & WS_VISIBLE) != 0;
        Log(FormatCall("SetWindowLongPtr", "STYLE", Hex{record->style}));
        break;
    case GWL_EXSTYLE:
        record->exStyle = static_cast<DWORD>(value);
        break;
    case GWLP_USERDATA:
        record->userData = value;
        break;
    default:
        return 0;
    }
    return previous;
}

bool HeadlessPlatform::SetWindowText(HWND window, std::u16string_view text) {
    WindowRecord* record = Find(window);
    if (record == nullptr) {
        return false;
    }
    record->title = text;
    Log(FormatCall("SetWindowText", text));
    return true;
}

std::u16string HeadlessPlatform::GetWindowText(HWND window) {
    WindowRecord* record = Find(window);
    return record == nullptr ? std::u16string() : record->title;
}

bool HeadlessPlatform::GetWindowRect(HWND window, RECT* rect) {
    WindowRecord* record = Find(window);
    if (record == nullptr) {
        return false;
    }
    *rect = record->rect;
    return true;
}

bool HeadlessPlatform::GetClientRect(HWND window, RECT* rect) {
    WindowRecord* record = Find(window);
    if (record == nullptr) {
        return false;
    }
    RECT insets = record->FrameInsets();
    *rect = RECT{0, 0, std::max(0, record->rect.Width() - insets.left - insets.right),
                 std::max(0, record->rect.Height() - insets.top - insets.bottom)};
    return true;
}

bool HeadlessPlatform::ClientToScreen(HWND window, POINT* point) {
    WindowRecord* record = Find(window);
    if (record == nullptr) {
        return false;
    }
    RECT insets = record->FrameInsets();
    point->x += record->rect.left + insets.left;
    point->y += record->rect.top + insets.top;
    return true;
}

bool HeadlessPlatform::ScreenToClient(HWND window, POINT* point) {
    WindowRecord* record = Find(window);
    if (record == nullptr) {
        return false;
    }
    RECT insets = record->FrameInsets();
    point->x -= record->rect.left + insets.left;
    point->y -= record->rect.top + insets.top;
    return true;
}
