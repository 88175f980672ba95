// The engine's modal dialog object: a dialog class derives from it,
// overrides initialisation, commands, OK and Cancel, and runs it over the
// main window. The wrapper routes the dialog's messages to the object,
// centres the dialog and turns OK and Cancel into OnOK and OnCancel.
#pragma once

#include "platform/platform.h"

class CMGDialog {
public:
    explicit CMGDialog(int templateId) : templateId(templateId) {}
    CMGDialog(const CMGDialog&) = delete;
    CMGDialog& operator=(const CMGDialog&) = delete;

    virtual void OnInitDialog(HWND /*dialog*/) {}
    virtual int OnDialogCommand(HWND /*dialog*/, WPARAM /*wParam*/, LPARAM /*lParam*/) { return 0; }
    virtual int Reserved2(int, int, int) { return 0; }
    virtual void OnOK(HWND dialog);
    virtual void OnCancel(HWND dialog);
    virtual ~CMGDialog();
    virtual std::intptr_t DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

    // Runs the dialog over the application's main window and returns its
    // result: IDCANCEL at once for a negative template id, -1 when the
    // program has no such dialog.
    std::intptr_t RunModal();

    // Controls that hold numbers: "%d" text in, the text-to-integer rule out.
    static void SetControlNumber(HWND dialog, int controlId, int value);
    static int GetControlNumber(HWND dialog, int controlId);

    int templateId;
    int centreOnShow = 0;
    int centreOnDesktop = 0;
    int modal = 0;
    HWND dialogWindow = nullptr;

private:
    void Centre(HWND dialog);
};
