// Popup menus and message boxes: native widgets run in their own modal
// loops, during which the program's frame loop does not run.
#include "desktop_platform.h"

#include <QAction>
#include <QMenu>
#include <QMessageBox>

namespace {

QString ToQString(std::u16string_view text) {
    return QString::fromStdU16String(std::u16string(text));
}

QMessageBox::Icon IconOf(UINT type) {
    switch (type & 0xF0) {
    case MB_ICONERROR:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONWARNING:
        return QMessageBox::Warning;
    case MB_ICONINFORMATION:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

QMessageBox::StandardButtons ButtonsOf(UINT type) {
    switch (type & kMessageBoxButtonMask) {
    case MB_OKCANCEL:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MB_YESNO:
        return QMessageBox::Yes | QMessageBox::No;
    default:
        return QMessageBox::Ok;
    }
}

int ResultOf(int button) {
    switch (button) {
    case QMessageBox::Ok:
        return IDOK;
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    default:
        return IDCANCEL;
    }
}

} // namespace

QWidget* DesktopPlatform::OwnerWidget(HWND owner) {
    DesktopWindowRecord* record = Find(owner);
    return record != nullptr ? record->widget.get() : nullptr;
}

UINT DesktopPlatform::TrackPopupMenu(const std::vector<MenuItem>& items, POINT screen, HWND owner) {
    QMenu menu(OwnerWidget(owner));
    for (const MenuItem& item : items) {
        if (item.IsSeparator()) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(ToQString(item.text));
        action->setData(item.id);
        action->setCheckable(item.checked);
        action->setChecked(item.checked);
        action->setEnabled(!item.grayed);
    }
    QAction* chosen = menu.exec(QPoint(screen.x, screen.y));
    UINT id = chosen != nullptr ? chosen->data().toUInt() : 0;
    if (id != 0) {
        PostMessage(owner, WM_COMMAND, id, 0);
    }
    return id;
}

int DesktopPlatform::MessageBox(HWND owner, std::u16string_view text, std::u16string_view caption,
                                UINT type) {
    QMessageBox box(IconOf(type), ToQString(caption), ToQString(text), ButtonsOf(type),
                    OwnerWidget(owner));
    // The first button is the default, as on the original system.
    QMessageBox::StandardButtons buttons = ButtonsOf(type);
    box.setDefaultButton(buttons.testFlag(QMessageBox::Yes) ? QMessageBox::Yes : QMessageBox::Ok);
    return ResultOf(box.exec());
}
