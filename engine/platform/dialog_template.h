// Dialogs described as data: each program lists its dialogs' captions,
// fonts, sizes and controls (positions and sizes in dialog units), and the
// backend builds them. Controls are reached by id; notifications reach the
// dialog procedure as WM_COMMAND with the control id in the low word and
// the notification code in the high word.
#pragma once

#include "win32_types.h"

#include <string>
#include <vector>

enum class ControlKind {
    Static,   // a text label
    Icon,     // a program icon (iconId)
    Edit,     // a text box
    GroupBox, // a labelled frame
    PushButton,
    DefaultButton, // the button Enter presses
    RadioButton,   // checks itself and clears the others of its group
    CheckBox,      // toggles itself
    DropDownList,  // a drop-down list of fixed entries
    Spin,          // up/down arrows stepping the buddy edit's number
};

// Control styles, combinable.
inline constexpr UINT kControlReadOnly = 0x01;
inline constexpr UINT kControlRightAligned = 0x02;
inline constexpr UINT kControlMultiLine = 0x04;
inline constexpr UINT kControlWantReturn = 0x08; // Enter inserts a line break
inline constexpr UINT kControlAutoHScroll = 0x10;
inline constexpr UINT kControlHidden = 0x20;
inline constexpr UINT kControlGroupStart = 0x40; // starts a new radio group

inline constexpr int kNoControlId = -1;

struct DialogControl {
    int id = kNoControlId;
    ControlKind kind = ControlKind::Static;
    std::u16string text;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    UINT styles = 0;
    int buddyId = 0; // Spin: the edit it steps
    int spinMin = 0; // Spin: the range of the buddy's number
    int spinMax = 100;
    int iconId = 0; // Icon: the icon resource
};

struct DialogTemplate {
    int id = 0;
    std::u16string caption;
    std::u16string fontName;
    int pointSize = 9;
    int width = 0; // dialog units
    int height = 0;
    std::vector<DialogControl> controls;
};

// The notification codes and button states.
inline constexpr WORD BN_CLICKED = 0;
inline constexpr WORD CBN_SELCHANGE = 1;
inline constexpr WORD EN_UPDATE = 0x0400;
inline constexpr UINT BST_UNCHECKED = 0;
inline constexpr UINT BST_CHECKED = 1;
inline constexpr int CB_ERR = -1;

using DLGPROC = std::intptr_t (*)(HWND, UINT, WPARAM, LPARAM);

// What the open-file dialog is asked for.
struct OpenFileRequest {
    std::u16string title;
    // Pairs of description and pattern list, e.g. {u"WAVE (*.wav)", u"*.wav"}.
    std::vector<std::pair<std::u16string, std::u16string>> filters;
    std::u16string defaultExtension;
    std::u16string initialPath;
    bool mustExist = true;
    bool hideReadOnly = true;
};
