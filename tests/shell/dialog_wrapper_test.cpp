#include "platform/headless/headless_dialog_session.h"
#include "shell/dialog_resources.h"
#include "shell/mg_dialog.h"
#include "shell_fixture.h"

namespace {

constexpr int kNumberDialog = 150;

DialogTemplate NumberDialog() {
    DialogTemplate dialog;
    dialog.id = kNumberDialog;
    dialog.caption = u"Number";
    dialog.width = 120; // 180 x 137 pixels with the title bar
    dialog.height = 65;
    DialogControl edit;
    edit.id = 1000;
    edit.kind = ControlKind::Edit;
    DialogControl ok;
    ok.id = IDOK;
    ok.kind = ControlKind::DefaultButton;
    dialog.controls = {edit, ok};
    return dialog;
}

class RecordingDialog : public CMGDialog {
public:
    RecordingDialog() : CMGDialog(kNumberDialog) {}
    std::vector<UINT> messages;
    std::vector<WORD> commands;
    int initialNumber = 0;
    int numberAtOk = 0;

    std::intptr_t DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) override {
        messages.push_back(message);
        return CMGDialog::DialogProc(dialog, message, wParam, lParam);
    }
    void OnInitDialog(HWND dialog) override { SetControlNumber(dialog, 1000, initialNumber); }
    int OnDialogCommand(HWND, WPARAM wParam, LPARAM) override {
        commands.push_back(LoWord(wParam));
        return 1;
    }
    void OnOK(HWND dialog) override {
        numberAtOk = GetControlNumber(dialog, 1000);
        CMGDialog::OnOK(dialog);
    }
};

class DialogTest : public ShellTest {
protected:
    DialogTest() {
        platform.SetScreen(1000, 800, 1000, 760);
        AddDialogResource(NumberDialog());
    }
    ~DialogTest() override { ClearDialogResources(); }
};

} // namespace

TEST_F(DialogTest, AModalRunRoutesOkAndReadsNumbersBack) {
    StartApp();
    RecordingDialog dialog;
    dialog.initialNumber = -12;
    platform.QueueDialogScript([](HeadlessDialogSession& user) {
        EXPECT_EQ(user.Text(1000), u"-12");
        user.Type(1000, u" 42abc");
        user.Click(IDOK);
    });
    EXPECT_EQ(dialog.RunModal(), IDOK);
    EXPECT_EQ(dialog.numberAtOk, 42);
    EXPECT_EQ(dialog.commands, (std::vector<WORD>{1000})); // the edit's EN_UPDATE; OK went to OnOK
    // The font message came before WM_INITDIALOG and never reached the object.
    EXPECT_EQ(dialog.messages.front(), WM_INITDIALOG);
}

TEST_F(DialogTest, WithModalClearOkIsAnOrdinaryCommand) {
    StartApp();
    RecordingDialog dialog;
    platform.QueueDialogScript([&dialog](HeadlessDialogSession& user) {
        dialog.modal = 0;
        user.Click(IDOK);
        EXPECT_FALSE(user.Ended());
        dialog.modal = 1;
        user.Cancel();
    });
    EXPECT_EQ(dialog.RunModal(), IDCANCEL);
    EXPECT_EQ(dialog.commands, (std::vector<WORD>{IDOK}));
    EXPECT_EQ(dialog.numberAtOk, 0);
}

TEST_F(DialogTest, MissingOrNegativeTemplatesEndAtOnce) {
    StartApp();
    CMGDialog none(-1);
    EXPECT_EQ(none.RunModal(), IDCANCEL);
    CMGDialog unknown(9999);
    EXPECT_EQ(unknown.RunModal(), -1);
    EXPECT_TRUE(platform.Dialogs().empty());
}

TEST_F(DialogTest, TheDialogIsCentredOnTheMainWindowAndKeptInTheWorkArea) {
    StartApp();
    struct Case {
        RECT mainWindow;
        POINT expected; // the dialog is 180 x 136
    } cases[] = {
        {{100, 100, 500, 400}, {210, 182}},
        {{850, 100, 1000, 300}, {820, 132}}, // pulled left to end at the work area's edge
        {{-300, 700, -100, 800}, {0, 624}},
    };
    for (const Case& c : cases) {
        platform.MoveWindow(app->hWnd, c.mainWindow.left, c.mainWindow.top, c.mainWindow.Width(),
                            c.mainWindow.Height(), false);
        RECT placed{};
        platform.QueueDialogScript(
            [&](HeadlessDialogSession& user) { platform.GetWindowRect(user.Dialog(), &placed); });
        CMGDialog dialog(kNumberDialog);
        dialog.RunModal();
        EXPECT_EQ((POINT{placed.left, placed.top}), c.expected);
    }
}
