// A small program over the engine for the desktop tests: one plain or
// layered gadget window whose reactions are printed, one line each, so a
// test can drive it from outside and wait for what it reports.
#include "platform/platform_registry.h"
#include "shell/app_base.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kGripHeight = 20; // the strip that drags the window
constexpr int kEditId = 100;
constexpr UINT kFirstItem = 10;
constexpr UINT kSecondItem = 11;

struct Options {
    std::u16string name = u"LumiProbe";
    bool layered = false;
    bool topMost = false;
    bool requestClose = false;
    int x = 100;
    int y = 100;
    int width = 200;
    int height = 150;
};

void Report(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

std::string Narrow(std::u16string_view text) {
    std::string out;
    for (char16_t c : text) {
        out += c < 0x80 ? static_cast<char>(c) : '?';
    }
    return out;
}

std::u16string g_dialogText;

std::intptr_t ProbeDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM /*lParam*/) {
    Platform& sys = Sys();
    if (message == WM_INITDIALOG) {
        sys.SetFocus(sys.GetDlgItem(dialog, kEditId));
        return 0;
    }
    if (message != WM_COMMAND) {
        return 0;
    }
    if (LoWord(wParam) == IDOK) {
        g_dialogText = sys.GetWindowText(sys.GetDlgItem(dialog, kEditId));
        sys.EndDialog(dialog, IDOK);
    } else if (LoWord(wParam) == IDCANCEL) {
        sys.EndDialog(dialog, IDCANCEL);
    }
    return 1;
}

const DialogTemplate& ProbeDialog() {
    static const DialogTemplate dialog{
        1,
        u"Probe dialog",
        u"Sans",
        9,
        160,
        60,
        {
            DialogControl{kNoControlId, ControlKind::Static, u"Text:", 8, 10, 30, 10},
            DialogControl{kEditId, ControlKind::Edit, u"", 40, 8, 110, 14, kControlAutoHScroll},
            DialogControl{IDOK, ControlKind::DefaultButton, u"OK", 40, 36, 50, 14},
            DialogControl{IDCANCEL, ControlKind::PushButton, u"Cancel", 100, 36, 50, 14},
        }};
    return dialog;
}

class ProbeApp final : public CAppBase {
public:
    explicit ProbeApp(const Options& options) : options_(options) {
        CopyBounded(className, options.name);
        showFpsInTitle = 0;
    }

    int CreateMainWindow(HINSTANCE /*instance*/, int showCommand) override {
        Platform& sys = Sys();
        if (!sys.AcquireInstanceLock(u"SEM_" + options_.name)) {
            Report("REFUSED");
            return 0;
        }
        CopyBounded(title, options_.name);
        DWORD exStyle = WS_EX_TOOLWINDOW | (options_.layered ? WS_EX_LAYERED : 0);
        hWnd = sys.CreateWindow(exStyle, className, title, WS_POPUP | WS_SYSMENU, options_.x,
                                options_.y, options_.width, options_.height, nullptr);
        if (hWnd == nullptr) {
            return 0;
        }
        sys.ListenForCloseRequests(hWnd, className, title);
        ComposePicture();
        if (options_.layered) {
            sys.PresentLayered(hWnd, POINT{options_.x, options_.y}, View());
        }
        topMost_ = options_.topMost;
        if (topMost_) {
            sys.SetWindowPos(hWnd, HWND_TOPMOST, options_.x, options_.y, 0, 0, SWP_NOSIZE);
        }
        sys.ShowWindow(hWnd, showCommand);
        sys.UpdateWindow(hWnd);
        Report("READY");
        return 1;
    }

    void OnPaint(HDC dc) override { Sys().PresentPlain(dc, 0, 0, View()); }

    void OnLButtonDown(int x, int y) override {
        Report("LBUTTONDOWN " + std::to_string(x) + " " + std::to_string(y));
        if (y >= kGripHeight) {
            return;
        }
        Sys().SendMessage(hWnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
        RECT rect{};
        Sys().GetWindowRect(hWnd, &rect);
        Report("MOVED " + std::to_string(rect.left) + " " + std::to_string(rect.top));
    }

    void OnContextMenu(int x, int y) override {
        Report("CONTEXTMENU " + std::to_string(x) + " " + std::to_string(y));
        std::vector<MenuItem> items{
            {kFirstItem, u"First", false, false},
            {0, u"", false, false},
            {kSecondItem, u"Second", true, false},
        };
        Sys().TrackPopupMenu(items, POINT{x, y}, hWnd);
    }

    int OnCommand(WPARAM wParam, LPARAM /*lParam*/) override {
        Report("COMMAND " + std::to_string(LoWord(wParam)));
        return 1;
    }

    void OnKeyDown(int virtualKey) override {
        Platform& sys = Sys();
        switch (virtualKey) {
        case 'M': {
            int answer =
                sys.MessageBox(hWnd, u"Probe question?", u"Probe box", MB_YESNO | MB_ICONQUESTION);
            Report("MESSAGEBOX " + std::to_string(answer));
            break;
        }
        case 'T':
            topMost_ = !topMost_;
            sys.SetWindowPos(hWnd, topMost_ ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                             SWP_NOMOVE | SWP_NOSIZE);
            Report(std::string("TOPMOST ") + (topMost_ ? "1" : "0"));
            break;
        case 'D': {
            g_dialogText.clear();
            std::intptr_t result = sys.DialogBox(ProbeDialog(), hWnd, ProbeDialogProc, 0);
            Report("DIALOG " + std::to_string(result) + " " + Narrow(g_dialogText));
            break;
        }
        default:
            break;
        }
    }

    int OnClose() override {
        Report("CLOSE");
        return 1;
    }

    void OnExit() override { Report("EXIT"); }

private:
    // Plain: opaque green with a darker grip strip. Layered: the left half
    // opaque red with a darker grip, the right half fully transparent.
    void ComposePicture() {
        picture_.assign(static_cast<std::size_t>(options_.width) * options_.height, 0);
        for (int y = 0; y < options_.height; ++y) {
            for (int x = 0; x < options_.width; ++x) {
                bool grip = y < kGripHeight;
                std::uint32_t pixel = 0;
                if (!options_.layered) {
                    pixel = grip ? 0xFF006000u : 0xFF00A000u;
                } else if (x < options_.width / 2) {
                    pixel = grip ? 0xFF800000u : 0xFFFF0000u;
                }
                picture_[static_cast<std::size_t>(options_.height - 1 - y) * options_.width + x] =
                    pixel;
            }
        }
    }

    PixelView View() const { return PixelView{picture_.data(), options_.width, options_.height}; }

    Options options_;
    std::vector<std::uint32_t> picture_;
    bool topMost_ = false;
};

std::u16string Widen(const char* text) {
    return std::u16string(text, text + std::strlen(text));
}

Options Parse(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        auto next = [&] { return i + 1 < argc ? argv[++i] : ""; };
        if (arg == "--layered") {
            options.layered = true;
        } else if (arg == "--topmost") {
            options.topMost = true;
        } else if (arg == "--request-close") {
            options.requestClose = true;
        } else if (arg == "--name") {
            options.name = Widen(next());
        } else if (arg == "--geometry") {
            std::sscanf(next(), "%dx%d%d%d", &options.width, &options.height, &options.x,
                        &options.y);
        }
    }
    return options;
}

} // namespace

int main(int argc, char** argv) {
    Options options = Parse(argc, argv);
    if (!SelectPlatform("desktop")) {
        std::fputs("lumi_desktop_probe: the desktop backend is not linked\n", stderr);
        return 2;
    }
    if (options.requestClose) {
        bool answered = Sys().RequestClose(options.name, options.name);
        Report(std::string("CLOSE-REQUESTED ") + (answered ? "1" : "0"));
        return answered ? 0 : 1;
    }
    int exitCode = RunApplication(new ProbeApp(options), nullptr, SW_SHOW);
    ReleasePlatform();
    return exitCode;
}
