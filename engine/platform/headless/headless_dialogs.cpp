// Modal dialogs built from their descriptions, run by scripted users, and
// the open-file dialog.
#include "call_log.h"
#include "headless_dialog_session.h"

#include <algorithm>

namespace {

// Dialog units to pixels with the base units of an 8-point dialog font.
constexpr int kBaseUnitX = 6;
constexpr int kBaseUnitY = 13;
int UnitsToPixelsX(int units) {
    return units * kBaseUnitX / 4;
}
int UnitsToPixelsY(int units) {
    return units * kBaseUnitY / 8;
}

const char16_t* ControlClass(ControlKind kind) {
    switch (kind) {
    case ControlKind::Edit:
        return u"Edit";
    case ControlKind::DropDownList:
        return u"ComboBox";
    case ControlKind::Spin:
        return u"msctls_updown32";
    case ControlKind::Static:
    case ControlKind::Icon:
        return u"Static";
    default:
        return u"Button";
    }
}

bool IsButtonLike(ControlKind kind) {
    return kind == ControlKind::PushButton || kind == ControlKind::DefaultButton ||
           kind == ControlKind::RadioButton || kind == ControlKind::CheckBox;
}

} // namespace

HeadlessPlatform::ControlState* HeadlessPlatform::FindControl(HWND dialog, int controlId) {
    HWND control = GetDlgItem(dialog, controlId);
    auto it = controls_.find(control);
    return it == controls_.end() ? nullptr : &it->second;
}

std::intptr_t HeadlessPlatform::DialogBox(const DialogTemplate& dialog, HWND owner,
                                          DLGPROC procedure, LPARAM initParam) {
    if (procedure == nullptr) {
        return -1;
    }
    RECT ownerRect{};
    GetWindowRect(owner, &ownerRect);
    int width = UnitsToPixelsX(dialog.width);
    int height = UnitsToPixelsY(dialog.height) + 31;
    HWND window = NewWindowRecord(
        u"#32770", dialog.caption, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE,
        RECT{ownerRect.left, ownerRect.top, ownerRect.left + width, ownerRect.top + height});
    Log(FormatCall("DialogBox", dialog.id, dialog.caption));
    DialogState state{&dialog, procedure, false, 0, {}};
    for (const DialogControl& control : dialog.controls) {
        DWORD style = (control.styles & kControlHidden) != 0 ? 0 : WS_VISIBLE;
        int x = UnitsToPixelsX(control.x);
        int y = UnitsToPixelsY(control.y);
        HWND handle = NewWindowRecord(
            ControlClass(control.kind), control.text, style,
            RECT{x, y, x + UnitsToPixelsX(control.width), y + UnitsToPixelsY(control.height)});
        controls_[handle] = ControlState{window, &control, true, BST_UNCHECKED, {}, CB_ERR};
        state.controls.push_back(handle);
    }
    dialogs_[window] = state;
    bool ownerWasEnabled = owner != nullptr && IsWindowEnabled(owner);
    if (owner != nullptr) {
        EnableWindow(owner, false);
    }

    // As on the original platform, the font arrives before WM_INITDIALOG.
    SendMessage(window, WM_SETFONT, 0, 0);
    SendMessage(window, WM_INITDIALOG, 0, initParam);
    if (!dialogs_[window].ended) {
        if (!dialogScripts_.empty()) {
            DialogScript script = std::move(dialogScripts_.front());
            dialogScripts_.pop_front();
            HeadlessDialogSession session(*this, window);
            script(session);
        }
        if (!dialogs_[window].ended) {
            SendMessage(window, WM_COMMAND, MakeWParam(IDCANCEL, BN_CLICKED), 0);
        }
    }
    DialogState& finished = dialogs_[window];
    if (!finished.ended) {
        // A procedure that refuses even the close box would block forever on
        // the desktop; here the run ends so the test can report it.
        Log(FormatCall("DialogNeverEnded", dialog.id));
        finished.result = -1;
    }
    ShownDialog shown = Snapshot(finished);
    std::intptr_t result = finished.result;
    for (HWND control : finished.controls) {
        controls_.erase(control);
        windows_.erase(control);
        std::erase(zOrder_, control);
    }
    dialogs_.erase(window);
    windows_.erase(window);
    std::erase(zOrder_, window);
    if (owner != nullptr && ownerWasEnabled) {
        EnableWindow(owner, true);
    }
    Log(FormatCall("DialogEnded", dialog.id, result));
    dialogsShown_.push_back(std::move(shown));
    return result;
}

HeadlessPlatform::ShownDialog HeadlessPlatform::Snapshot(const DialogState& state) {
    ShownDialog shown{state.dialog->id, state.result, {}};
    for (HWND handle : state.controls) {
        const ControlState& control = controls_.at(handle);
        if (control.control->id == kNoControlId) {
            continue;
        }
        const WindowRecord& record = windows_.at(handle);
        shown.controls[control.control->id] =
            ControlSnapshot{record.title,    control.enabled, record.visible,
                            control.checked, control.entries, control.selection};
    }
    return shown;
}

bool HeadlessPlatform::EndDialog(HWND dialog, std::intptr_t result) {
    auto it = dialogs_.find(dialog);
    if (it == dialogs_.end()) {
        return false;
    }
    it->second.ended = true;
    it->second.result = result;
    return true;
}

HWND HeadlessPlatform::GetDlgItem(HWND dialog, int controlId) {
    auto it = dialogs_.find(dialog);
    if (it == dialogs_.end() || controlId == kNoControlId) {
        return nullptr;
    }
    for (HWND handle : it->second.controls) {
        if (controls_.at(handle).control->id == controlId) {
            return handle;
        }
    }
    return nullptr;
}

bool HeadlessPlatform::EnableWindow(HWND window, bool enable) {
    WindowRecord* record = Find(window);
    if (record == nullptr) {
        return false;
    }
    bool wasDisabled = (record->style & WS_DISABLED) != 0;
    record->style = enable ? record->style & ~WS_DISABLED : record->style | WS_DISABLED;
    if (auto control = controls_.find(window); control != controls_.end()) {
        control->second.enabled = enable;
    }
    return wasDisabled;
}

bool HeadlessPlatform::IsWindowEnabled(HWND window) {
    WindowRecord* record = Find(window);
    return record != nullptr && (record->style & WS_DISABLED) == 0;
}

bool HeadlessPlatform::SetFocus(HWND window) {
    return Find(window) != nullptr;
}

bool HeadlessPlatform::CheckDlgButton(HWND dialog, int controlId, UINT state) {
    ControlState* control = FindControl(dialog, controlId);
    if (control == nullptr || !IsButtonLike(control->control->kind)) {
        return false;
    }
    control->checked = state;
    return true;
}

UINT HeadlessPlatform::IsDlgButtonChecked(HWND dialog, int controlId) {
    ControlState* control = FindControl(dialog, controlId);
    return control == nullptr ? BST_UNCHECKED : control->checked;
}

int HeadlessPlatform::AddListEntry(HWND dialog, int controlId, std::u16string_view text) {
    ControlState* control = FindControl(dialog, controlId);
    if (control == nullptr || control->control->kind != ControlKind::DropDownList) {
        return CB_ERR;
    }
    control->entries.emplace_back(text);
    return static_cast<int>(control->entries.size()) - 1;
}

bool HeadlessPlatform::SetListSelection(HWND dialog, int controlId, int index) {
    ControlState* control = FindControl(dialog, controlId);
    if (control == nullptr || control->control->kind != ControlKind::DropDownList) {
        return false;
    }
    bool valid = index >= 0 && index < static_cast<int>(control->entries.size());
    control->selection = valid ? index : CB_ERR;
    return valid;
}

int HeadlessPlatform::GetListSelection(HWND dialog, int controlId) {
    ControlState* control = FindControl(dialog, controlId);
    return control == nullptr ? CB_ERR : control->selection;
}

bool HeadlessPlatform::GetOpenFileName(HWND /*owner*/, const OpenFileRequest& request,
                                       std::u16string* chosenPath) {
    openFileRequests_.push_back(request);
    std::optional<std::u16string> answer;
    if (!openFileAnswers_.empty()) {
        answer = std::move(openFileAnswers_.front());
        openFileAnswers_.pop_front();
    }
    Log(FormatCall("GetOpenFileName", request.title, answer ? *answer : u""));
    if (!answer) {
        return false;
    }
    *chosenPath = *answer;
    return true;
}

HeadlessDialogSession::HeadlessDialogSession(HeadlessPlatform& platform, HWND dialog)
    : platform_(platform), dialog_(dialog) {}

int HeadlessDialogSession::TemplateId() const {
    return platform_.dialogs_.at(dialog_).dialog->id;
}

std::u16string HeadlessDialogSession::Text(int controlId) const {
    return platform_.GetWindowText(platform_.GetDlgItem(dialog_, controlId));
}

bool HeadlessDialogSession::Enabled(int controlId) const {
    return platform_.IsWindowEnabled(platform_.GetDlgItem(dialog_, controlId));
}

bool HeadlessDialogSession::Visible(int controlId) const {
    const HeadlessPlatform::WindowRecord* record =
        platform_.Window(platform_.GetDlgItem(dialog_, controlId));
    return record != nullptr && record->visible;
}

UINT HeadlessDialogSession::Checked(int controlId) const {
    return platform_.IsDlgButtonChecked(dialog_, controlId);
}

int HeadlessDialogSession::Selection(int controlId) const {
    return platform_.GetListSelection(dialog_, controlId);
}

std::vector<std::u16string> HeadlessDialogSession::Entries(int controlId) const {
    HeadlessPlatform::ControlState* control = platform_.FindControl(dialog_, controlId);
    return control == nullptr ? std::vector<std::u16string>{} : control->entries;
}

bool HeadlessDialogSession::Ended() const {
    return platform_.dialogs_.at(dialog_).ended;
}

bool HeadlessDialogSession::Reachable(int controlId, const char* action) const {
    if (Ended() || !Enabled(controlId) || !Visible(controlId)) {
        platform_.Log(FormatCall("DialogActionIgnored", action, controlId));
        return false;
    }
    return true;
}

void HeadlessDialogSession::Notify(int controlId, WORD code) {
    platform_.SendMessage(dialog_, WM_COMMAND, MakeWParam(controlId, code),
                          reinterpret_cast<LPARAM>(platform_.GetDlgItem(dialog_, controlId)));
}

void HeadlessDialogSession::Type(int controlId, std::u16string_view text) {
    if (!Reachable(controlId, "Type")) {
        return;
    }
    HeadlessPlatform::ControlState* control = platform_.FindControl(dialog_, controlId);
    if ((control->control->styles & kControlReadOnly) != 0) {
        platform_.Log(FormatCall("DialogActionIgnored", "Type", controlId));
        return;
    }
    platform_.SetWindowText(platform_.GetDlgItem(dialog_, controlId), text);
    Notify(controlId, EN_UPDATE);
}

void HeadlessDialogSession::Click(int controlId) {
    if (!Reachable(controlId, "Click")) {
        return;
    }
    HeadlessPlatform::ControlState* control = platform_.FindControl(dialog_, controlId);
    if (control->control->kind == ControlKind::CheckBox) {
        control->checked = control->checked == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
    } else if (control->control->kind == ControlKind::RadioButton) {
        // Clear the other radios of the group: the run of radio buttons
        // around this one, split where a control starts a new group.
        const auto& handles = platform_.dialogs_.at(dialog_).controls;
        auto self =
            std::find(handles.begin(), handles.end(), platform_.GetDlgItem(dialog_, controlId));
        auto first = self;
        while (first != handles.begin() &&
               (platform_.controls_.at(*first).control->styles & kControlGroupStart) == 0 &&
               platform_.controls_.at(*(first - 1)).control->kind == ControlKind::RadioButton) {
            --first;
        }
        for (auto it = first; it != handles.end(); ++it) {
            HeadlessPlatform::ControlState& member = platform_.controls_.at(*it);
            if (member.control->kind != ControlKind::RadioButton ||
                (it != first && (member.control->styles & kControlGroupStart) != 0)) {
                break;
            }
            member.checked = BST_UNCHECKED;
        }
        control->checked = BST_CHECKED;
    }
    Notify(controlId, BN_CLICKED);
}

void HeadlessDialogSession::Choose(int controlId, int index) {
    if (!Reachable(controlId, "Choose")) {
        return;
    }
    platform_.SetListSelection(dialog_, controlId, index);
    Notify(controlId, CBN_SELCHANGE);
}

void HeadlessDialogSession::Cancel() {
    if (!Ended()) {
        platform_.SendMessage(dialog_, WM_COMMAND, MakeWParam(IDCANCEL, BN_CLICKED), 0);
    }
}
