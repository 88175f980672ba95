// The headless backend's scripted dialog user, as later dialog code relies on it.
#include "platform/headless/headless_dialog_session.h"
#include "shell_fixture.h"

namespace {

const DialogTemplate& SampleDialog() {
    static const DialogTemplate dialog{
        7,
        u"Sample",
        u"Arial",
        9,
        100,
        60,
        {
            {10, ControlKind::Edit, u"", 5, 5, 40, 12, 0},
            {11, ControlKind::Edit, u"fixed", 5, 20, 40, 12, kControlReadOnly},
            {20, ControlKind::RadioButton, u"A", 50, 5, 20, 10, kControlGroupStart},
            {21, ControlKind::RadioButton, u"B", 50, 15, 20, 10, 0},
            {30, ControlKind::RadioButton, u"C", 50, 25, 20, 10, kControlGroupStart},
            {40, ControlKind::DropDownList, u"", 5, 35, 40, 50, kControlHidden},
            {IDOK, ControlKind::DefaultButton, u"OK", 5, 45, 30, 12, 0},
        }};
    return dialog;
}

std::vector<std::string> g_seen;

std::intptr_t RecordingProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        g_seen.push_back("init " + std::to_string(lParam));
        Sys().CheckDlgButton(dialog, 20, BST_CHECKED);
        Sys().AddListEntry(dialog, 40, u"");
        return 0;
    }
    if (message == WM_COMMAND) {
        g_seen.push_back(std::to_string(LoWord(wParam)) + "/" + std::to_string(HiWord(wParam)));
        if (LoWord(wParam) == IDOK || LoWord(wParam) == IDCANCEL) {
            Sys().EndDialog(dialog, LoWord(wParam));
        }
        return 1;
    }
    return 0;
}

} // namespace

TEST_F(ShellTest, ScriptedDialogUsersTypeClickAndChooseThroughTheProcedure) {
    StartApp();
    g_seen.clear();
    platform.QueueDialogScript([](HeadlessDialogSession& user) {
        EXPECT_EQ(user.TemplateId(), 7);
        user.Type(10, u"hello");
        user.Type(11, u"ignored"); // read-only
        user.Click(21);
        user.Click(30);
        user.Choose(40, 0); // hidden: out of the user's reach
        EXPECT_EQ(user.Checked(20), BST_UNCHECKED);
        user.Click(IDOK);
    });
    EXPECT_EQ(platform.DialogBox(SampleDialog(), app->hWnd, RecordingProcedure, 42), IDOK);
    EXPECT_EQ(g_seen, (std::vector<std::string>{"init 42", "10/1024", "21/0", "30/0", "1/0"}));
    const auto& shown = platform.Dialogs().back();
    EXPECT_EQ(shown.controls.at(10).text, u"hello");
    EXPECT_EQ(shown.controls.at(11).text, u"fixed");
    EXPECT_EQ(shown.controls.at(21).checked, BST_CHECKED);
    EXPECT_EQ(shown.controls.at(30).checked, BST_CHECKED); // its own group
    EXPECT_EQ(shown.controls.at(40).selection, CB_ERR);
    EXPECT_TRUE(platform.IsWindowEnabled(app->hWnd)); // the owner is enabled again
}

TEST_F(ShellTest, AnUnscriptedDialogIsClosedAsByItsCloseBox) {
    StartApp();
    g_seen.clear();
    EXPECT_EQ(platform.DialogBox(SampleDialog(), app->hWnd, RecordingProcedure, 0), IDCANCEL);
    EXPECT_EQ(g_seen.back(), "2/0");
}
