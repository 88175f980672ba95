#include "mg_dialog.h"

#include "app_base.h"
#include "base/format16.h"
#include "base/text_to_int.h"
#include "dialog_resources.h"

namespace {

// The procedure every dialog runs with: the object arrives with
// WM_INITDIALOG and is kept in the dialog's user data; messages before that
// have no object and are answered with 0.
std::intptr_t WrapperProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    Platform& sys = Sys();
    if (message == WM_INITDIALOG) {
        sys.SetWindowLongPtr(dialog, GWLP_USERDATA, lParam);
    }
    auto* object = reinterpret_cast<CMGDialog*>(sys.GetWindowLongPtr(dialog, GWLP_USERDATA));
    if (object == nullptr) {
        return 0;
    }
    return object->DialogProc(dialog, message, wParam, lParam);
}

} // namespace

CMGDialog::~CMGDialog() {
    if (dialogWindow != nullptr && Sys().IsWindow(dialogWindow)) {
        Sys().DestroyWindow(dialogWindow);
    }
    dialogWindow = nullptr;
}

void CMGDialog::OnOK(HWND dialog) {
    Sys().EndDialog(dialog, IDOK);
}

void CMGDialog::OnCancel(HWND dialog) {
    Sys().EndDialog(dialog, IDCANCEL);
}

std::intptr_t CMGDialog::RunModal() {
    if (templateId < 0) {
        return IDCANCEL;
    }
    modal = 1;
    centreOnShow = 1;
    const DialogTemplate* dialog = FindDialogResource(templateId);
    if (dialog == nullptr) {
        return -1;
    }
    CAppBase* app = CAppBase::Instance();
    return Sys().DialogBox(*dialog, app != nullptr ? app->hWnd : nullptr, WrapperProc,
                           reinterpret_cast<LPARAM>(this));
}

std::intptr_t CMGDialog::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        if (centreOnShow != 0) {
            Centre(dialog);
        }
        OnInitDialog(dialog);
        return 0;
    case WM_COMMAND:
        if (modal != 0 && LoWord(wParam) == IDOK) {
            OnOK(dialog);
            return 1;
        }
        if (modal != 0 && LoWord(wParam) == IDCANCEL) {
            OnCancel(dialog);
            return 1;
        }
        return OnDialogCommand(dialog, wParam, lParam) != 0 ? 1 : 0;
    default:
        return 0;
    }
}

void CMGDialog::Centre(HWND dialog) {
    Platform& sys = Sys();
    RECT reference{0, 0, sys.GetSystemMetrics(SM_CXSCREEN), sys.GetSystemMetrics(SM_CYSCREEN)};
    CAppBase* app = CAppBase::Instance();
    if (centreOnDesktop == 0 && app != nullptr) {
        sys.GetWindowRect(app->hWnd, &reference);
    }
    RECT own{};
    sys.GetWindowRect(dialog, &own);
    int w = own.Width();
    int h = own.Height();
    int x = reference.left + (reference.Width() - w) / 2;
    int y = reference.top + (reference.Height() - h) / 2;
    int workWidth = sys.GetSystemMetrics(SM_CXFULLSCREEN);
    int workHeight = sys.GetSystemMetrics(SM_CYFULLSCREEN);
    if (x < 0) {
        x = 0;
    } else if (x + w > workWidth) {
        x = workWidth - w;
    }
    if (y < 0) {
        y = 0;
    } else if (y + h > workHeight) {
        y = workHeight - h;
    }
    sys.MoveWindow(dialog, x, y, w, h, false);
}

void CMGDialog::SetControlNumber(HWND dialog, int controlId, int value) {
    Sys().SetWindowText(Sys().GetDlgItem(dialog, controlId), Format16(u"%d", {value}));
}

int CMGDialog::GetControlNumber(HWND dialog, int controlId) {
    std::u16string text = Sys().GetWindowText(Sys().GetDlgItem(dialog, controlId));
    if (text.size() >= kTitleUnits) {
        text.resize(kTitleUnits - 1);
    }
    return TextToInt(text);
}
