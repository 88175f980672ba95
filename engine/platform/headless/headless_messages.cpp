// The message queue, scheduled input and the system's default handling.
#include "headless_platform.h"

#include "call_log.h"

#include <algorithm>

LRESULT HeadlessPlatform::Call(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowRecord* record = Find(window);
    if (record == nullptr) {
        return 0;
    }
    if (auto dialog = dialogs_.find(window); dialog != dialogs_.end()) {
        return dialog->second.procedure(window, message, wParam, lParam);
    }
    if (record->windowProc == nullptr) {
        return DefWindowProc(window, message, wParam, lParam);
    }
    return record->windowProc(window, message, wParam, lParam);
}

void HeadlessPlatform::ReleaseDueMessages() {
    // Scheduled messages join the queue in their time order; ties keep the
    // order in which the test scheduled them.
    std::stable_sort(scheduled_.begin(), scheduled_.end(),
                     [](const Scheduled& a, const Scheduled& b) { return a.at < b.at; });
    auto due = std::find_if(scheduled_.begin(), scheduled_.end(),
                            [this](const Scheduled& s) { return s.at > elapsed_; });
    for (auto it = scheduled_.begin(); it != due; ++it) {
        queue_.push_back(it->message);
    }
    scheduled_.erase(scheduled_.begin(), due);
}

bool HeadlessPlatform::PeekMessage(MSG* message, UINT removeFlags) {
    ReleaseDueMessages();
    if (queue_.empty()) {
        if (!quitCode_) {
            return false;
        }
        *message = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(*quitCode_), 0};
        if ((removeFlags & PM_REMOVE) != 0) {
            quitCode_.reset();
        }
        return true;
    }
    *message = queue_.front();
    if ((removeFlags & PM_REMOVE) != 0) {
        queue_.pop_front();
    }
    return true;
}

void HeadlessPlatform::TranslateMessage(const MSG& /*message*/) {
    // Character messages are not used by the engine.
}

LRESULT HeadlessPlatform::DispatchMessage(const MSG& message) {
    return Call(message.hwnd, message.message, message.wParam, message.lParam);
}

bool HeadlessPlatform::PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window != nullptr && Find(window) == nullptr) {
        return false;
    }
    queue_.push_back(MSG{window, message, wParam, lParam});
    return true;
}

LRESULT HeadlessPlatform::SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return Call(window, message, wParam, lParam);
}

void HeadlessPlatform::PostQuitMessage(int exitCode) {
    Log(FormatCall("PostQuitMessage", exitCode));
    quitCode_ = exitCode;
}

void HeadlessPlatform::RunSystemMove(WindowRecord& record) {
    POINT offset{};
    if (!moves_.empty()) {
        offset = moves_.front();
        moves_.pop_front();
    }
    record.rect.left += offset.x;
    record.rect.right += offset.x;
    record.rect.top += offset.y;
    record.rect.bottom += offset.y;
    Log(FormatCall("SystemMove", offset.x, offset.y));
}

LRESULT HeadlessPlatform::DefWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowRecord* record = Find(window);
    if (record == nullptr) {
        return 0;
    }
    switch (message) {
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_RBUTTONUP: {
        POINT screen{SignedLoWord(lParam), SignedHiWord(lParam)};
        ClientToScreen(window, &screen);
        SendMessage(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window),
                    MakeLParam(screen.x, screen.y));
        return 0;
    }
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE) {
            SendMessage(window, WM_CLOSE, 0, 0);
        }
        return 0;
    case WM_NCLBUTTONDOWN:
        if (wParam == HTCAPTION) {
            RunSystemMove(*record);
        }
        return 0;
    case WM_PAINT:
        record->invalid = false;
        return 0;
    case WM_QUERYENDSESSION:
        return 1;
    default:
        return 0;
    }
}

void HeadlessPlatform::PostAt(std::uint64_t atElapsed, HWND window, UINT message, WPARAM wParam,
                              LPARAM lParam) {
    scheduled_.push_back(Scheduled{atElapsed, MSG{window, message, wParam, lParam}});
}

void HeadlessPlatform::WaitIdle(DWORD /*frameDueTime*/) {
    elapsed_ += idleStep_;
    if (!runLimitHit_ && elapsed_ >= runLimit_) {
        runLimitHit_ = true;
        Log(FormatCall("RunLimitReached", elapsed_));
        PostQuitMessage(-1);
    }
}
