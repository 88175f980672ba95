// What a scripted user can do with a running headless dialog: read its
// controls, type, click and choose, the way a person would, so that the
// notifications reach the dialog procedure as on the desktop.
#pragma once

#include "headless_platform.h"

class HeadlessDialogSession {
public:
    HeadlessDialogSession(HeadlessPlatform& platform, HWND dialog);

    HWND Dialog() const { return dialog_; }
    int TemplateId() const;

    std::u16string Text(int controlId) const;
    bool Enabled(int controlId) const;
    bool Visible(int controlId) const;
    UINT Checked(int controlId) const;
    int Selection(int controlId) const;
    std::vector<std::u16string> Entries(int controlId) const;

    // Each action is ignored (and logged) when the control is disabled or
    // hidden, as a person could not reach it.
    void Type(int controlId, std::u16string_view text);
    void Click(int controlId);
    void Choose(int controlId, int index);
    // The close box or Escape.
    void Cancel();

    bool Ended() const;

private:
    bool Reachable(int controlId, const char* action) const;
    void Notify(int controlId, WORD code);

    HeadlessPlatform& platform_;
    HWND dialog_;
};
