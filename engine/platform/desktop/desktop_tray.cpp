// The notification-area icon and program icons. Activation is reported as
// the original callback message with the mouse message in lParam; no
// toolkit menu is attached, the program shows its own.
#include "desktop_platform.h"

#include <QApplication>
#include <QFileInfo>
#include <QStyle>
#include <QSystemTrayIcon>

QIcon DesktopPlatform::IconFor(int iconId) {
    // Program icons are PNG files beside the executable, named by their id.
    if (iconId != IDI_APPLICATION) {
        QFileInfo program(QString::fromStdU16String(ExecutablePath()));
        QString file = program.absolutePath() + QStringLiteral("/icon%1.png").arg(iconId);
        if (QFileInfo::exists(file)) {
            return QIcon(file);
        }
    }
    return QApplication::style()->standardIcon(QStyle::SP_DesktopIcon);
}

bool DesktopPlatform::AddTrayIcon(HWND window, UINT callbackMessage, int iconId,
                                  std::u16string_view tip) {
    if (Find(window) == nullptr) {
        return false;
    }
    // Where no tray host runs yet, the icon waits hidden and docks later.
    auto icon = std::make_unique<QSystemTrayIcon>(IconFor(iconId));
    icon->setToolTip(QString::fromStdU16String(std::u16string(tip)));
    QObject::connect(icon.get(), &QSystemTrayIcon::activated,
                     [this, window, callbackMessage](QSystemTrayIcon::ActivationReason reason) {
                         if (reason == QSystemTrayIcon::Trigger) {
                             PostMessage(window, callbackMessage, 0, WM_LBUTTONDOWN);
                         } else if (reason == QSystemTrayIcon::Context) {
                             PostMessage(window, callbackMessage, 0, WM_RBUTTONDOWN);
                         }
                     });
    icon->show();
    state_.trays[window] = std::move(icon);
    return true;
}

bool DesktopPlatform::RemoveTrayIcon(HWND window) {
    return state_.trays.erase(window) != 0;
}
