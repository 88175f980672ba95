// Dialogs built from their descriptions with Qt widgets, run modally, and
// the open-file dialog. Notifications reach the dialog procedure as
// WM_COMMAND; Escape and the close box send IDCANCEL and the dialog ends
// only through EndDialog.
#include "desktop_platform.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

class DesktopDialog final : public QDialog {
public:
    DesktopDialog(QWidget* owner, std::function<void()> onCancel)
        : QDialog(owner), onCancel_(std::move(onCancel)) {}
    // Escape and the close box ask the procedure instead of closing.
    void reject() override { onCancel_(); }

private:
    std::function<void()> onCancel_;
};

// The dialog font's base units: average character width and line height.
QSize BaseUnitsOf(const QFont& font) {
    QFontMetrics metrics(font);
    int alphabet = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return QSize((alphabet / 26 + 1) / 2, metrics.height());
}

QRect PixelsOf(const DialogControl& control, QSize base) {
    return QRect(control.x * base.width() / 4, control.y * base.height() / 8,
                 control.width * base.width() / 4, control.height * base.height() / 8);
}

QString ToQString(std::u16string_view text) {
    return QString::fromStdU16String(std::u16string(text));
}

bool IsButton(ControlKind kind) {
    return kind == ControlKind::PushButton || kind == ControlKind::DefaultButton ||
           kind == ControlKind::RadioButton || kind == ControlKind::CheckBox;
}

// "WAVE (*.wav)" with patterns "*.wav;*.wave" becomes "WAVE (*.wav *.wave)".
QString NameFilterOf(const std::pair<std::u16string, std::u16string>& filter) {
    QString description = ToQString(filter.first);
    description.remove(QRegularExpression(QStringLiteral("\\s*\\([^()]*\\)\\s*$")));
    QString patterns = ToQString(filter.second).replace(u';', u' ');
    return description + QStringLiteral(" (") + patterns + u')';
}

} // namespace

QWidget* DesktopPlatform::WidgetOf(HWND window) {
    if (DesktopWindowRecord* record = Find(window)) {
        return record->widget.get();
    }
    auto item = state_.dialogItems.find(window);
    return item == state_.dialogItems.end() ? nullptr : item->second.widget;
}

DialogItem* DesktopPlatform::FindControl(HWND dialog, int controlId) {
    HWND control = GetDlgItem(dialog, controlId);
    auto it = state_.dialogItems.find(control);
    return it == state_.dialogItems.end() ? nullptr : &it->second;
}

void DesktopPlatform::NotifyDialog(HWND control, WORD code) {
    auto it = state_.dialogItems.find(control);
    if (it == state_.dialogItems.end() || it->second.control == nullptr) {
        return;
    }
    SendMessage(it->second.dialog, WM_COMMAND, MakeWParam(it->second.control->id, code),
                reinterpret_cast<LPARAM>(control));
}

bool DesktopPlatform::SetControlText(DialogItem& item, const QString& text) {
    if (item.control == nullptr) {
        item.widget->setWindowTitle(text);
        return true;
    }
    item.settingText = true;
    bool done = true;
    if (auto* line = qobject_cast<QLineEdit*>(item.widget)) {
        line->setText(text);
    } else if (auto* page = qobject_cast<QPlainTextEdit*>(item.widget)) {
        // Lines end with CR LF in the engine's multi-line text.
        page->setPlainText(QString(text).remove(u'\r'));
    } else if (auto* label = qobject_cast<QLabel*>(item.widget)) {
        label->setText(text);
    } else if (auto* group = qobject_cast<QGroupBox*>(item.widget)) {
        group->setTitle(text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(item.widget)) {
        button->setText(text);
    } else {
        done = false;
    }
    item.settingText = false;
    return done;
}

QString DesktopPlatform::ControlText(const DialogItem& item) {
    if (item.control == nullptr) {
        return item.widget->windowTitle();
    }
    if (auto* line = qobject_cast<QLineEdit*>(item.widget)) {
        return line->text();
    }
    if (auto* page = qobject_cast<QPlainTextEdit*>(item.widget)) {
        return page->toPlainText().replace(u'\n', QStringLiteral("\r\n"));
    }
    if (auto* label = qobject_cast<QLabel*>(item.widget)) {
        return label->text();
    }
    if (auto* group = qobject_cast<QGroupBox*>(item.widget)) {
        return group->title();
    }
    if (auto* button = qobject_cast<QAbstractButton*>(item.widget)) {
        return button->text();
    }
    return {};
}

void DesktopPlatform::BuildControl(HWND dialog, QWidget& parent, const DialogControl& control,
                                   QSize baseUnits) {
    HWND handle = NewHandle();
    QString text = ToQString(control.text);
    QWidget* widget = nullptr;
    auto notify = [this, handle](WORD code) {
        return [this, handle, code] { NotifyDialog(handle, code); };
    };
    switch (control.kind) {
    case ControlKind::Static:
        widget = new QLabel(text, &parent);
        break;
    case ControlKind::Icon: {
        auto* label = new QLabel(&parent);
        label->setPixmap(IconFor(control.iconId).pixmap(PixelsOf(control, baseUnits).size()));
        widget = label;
        break;
    }
    case ControlKind::Edit:
        if ((control.styles & kControlMultiLine) != 0) {
            auto* page = new QPlainTextEdit(QString(text).remove(u'\r'), &parent);
            page->setReadOnly((control.styles & kControlReadOnly) != 0);
            QObject::connect(page, &QPlainTextEdit::textChanged, page, [this, handle] {
                if (!state_.dialogItems.at(handle).settingText) {
                    NotifyDialog(handle, EN_UPDATE);
                }
            });
            widget = page;
        } else {
            auto* line = new QLineEdit(text, &parent);
            line->setReadOnly((control.styles & kControlReadOnly) != 0);
            if ((control.styles & kControlRightAligned) != 0) {
                line->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            }
            // textEdited: typing only, as the original notifies user edits.
            QObject::connect(line, &QLineEdit::textEdited, line, notify(EN_UPDATE));
            widget = line;
        }
        break;
    case ControlKind::GroupBox:
        widget = new QGroupBox(text, &parent);
        break;
    case ControlKind::PushButton:
    case ControlKind::DefaultButton: {
        auto* button = new QPushButton(text, &parent);
        button->setAutoDefault(false);
        button->setDefault(control.kind == ControlKind::DefaultButton);
        QObject::connect(button, &QPushButton::clicked, button, notify(BN_CLICKED));
        widget = button;
        break;
    }
    case ControlKind::RadioButton:
    case ControlKind::CheckBox: {
        QAbstractButton* button =
            control.kind == ControlKind::RadioButton
                ? static_cast<QAbstractButton*>(new QRadioButton(text, &parent))
                : new QCheckBox(text, &parent);
        QObject::connect(button, &QAbstractButton::clicked, button, notify(BN_CLICKED));
        widget = button;
        break;
    }
    case ControlKind::DropDownList: {
        auto* list = new QComboBox(&parent);
        QObject::connect(list, &QComboBox::activated, list, notify(CBN_SELCHANGE));
        widget = list;
        break;
    }
    case ControlKind::Spin: {
        // Up and down arrows stepping the number in the buddy edit.
        widget = new QWidget(&parent);
        auto* layout = new QVBoxLayout(widget);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        for (int step : {1, -1}) {
            auto* arrow = new QToolButton(widget);
            arrow->setArrowType(step > 0 ? Qt::UpArrow : Qt::DownArrow);
            arrow->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
            layout->addWidget(arrow);
            QObject::connect(arrow, &QToolButton::clicked, arrow, [this, dialog, &control, step] {
                DialogItem* buddy = FindControl(dialog, control.buddyId);
                if (buddy == nullptr) {
                    return;
                }
                int value = std::clamp(ControlText(*buddy).toInt() + step, control.spinMin,
                                       control.spinMax);
                SetControlText(*buddy, QString::number(value));
                NotifyDialog(GetDlgItem(dialog, control.buddyId), EN_UPDATE);
            });
        }
        break;
    }
    }
    widget->setGeometry(PixelsOf(control, baseUnits));
    widget->setVisible((control.styles & kControlHidden) == 0);
    if (control.kind == ControlKind::GroupBox) {
        widget->lower(); // a frame behind the controls it groups
    }
    state_.dialogItems[handle] = DialogItem{widget, dialog, &control, nullptr, 0, false, 0, false};
}

std::intptr_t DesktopPlatform::DialogBox(const DialogTemplate& dialog, HWND owner,
                                         DLGPROC procedure, LPARAM initParam) {
    if (procedure == nullptr) {
        return -1;
    }
    HWND handle = NewHandle();
    DesktopDialog window(OwnerWidget(owner), [this, handle] {
        SendMessage(handle, WM_COMMAND, MakeWParam(IDCANCEL, BN_CLICKED), 0);
    });
    window.setWindowTitle(ToQString(dialog.caption));
    window.setWindowModality(Qt::ApplicationModal);
    QFont font(ToQString(dialog.fontName), dialog.pointSize);
    window.setFont(font);
    QSize base = BaseUnitsOf(font);
    window.setFixedSize(dialog.width * base.width() / 4, dialog.height * base.height() / 8);
    state_.dialogItems[handle] =
        DialogItem{&window, handle, nullptr, procedure, 0, false, 0, false};

    QButtonGroup* radios = nullptr;
    const DialogControl* previous = nullptr;
    for (const DialogControl& control : dialog.controls) {
        BuildControl(handle, window, control, base);
        if (control.kind == ControlKind::RadioButton) {
            // A run of radio buttons is one group unless a member starts a new one.
            bool startsGroup = previous == nullptr || previous->kind != ControlKind::RadioButton ||
                               (control.styles & kControlGroupStart) != 0;
            if (startsGroup) {
                radios = new QButtonGroup(&window);
            }
            radios->addButton(
                qobject_cast<QAbstractButton*>(FindControl(handle, control.id)->widget));
        }
        previous = &control;
    }

    // As on the original platform, the font arrives before WM_INITDIALOG.
    SendMessage(handle, WM_SETFONT, 0, 0);
    SendMessage(handle, WM_INITDIALOG, 0, initParam);
    DialogItem& self = state_.dialogItems.at(handle);
    if (!self.ended) {
        window.show();
        // The program's frame loop waits while the dialog runs its own.
        while (!state_.dialogItems.at(handle).ended) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
    }
    std::intptr_t result = state_.dialogItems.at(handle).result;
    std::erase_if(state_.dialogItems,
                  [handle](const auto& entry) { return entry.second.dialog == handle; });
    return result;
}

bool DesktopPlatform::EndDialog(HWND dialog, std::intptr_t result) {
    auto it = state_.dialogItems.find(dialog);
    if (it == state_.dialogItems.end() || it->second.control != nullptr) {
        return false;
    }
    it->second.ended = true;
    it->second.result = result;
    it->second.widget->hide();
    return true;
}

HWND DesktopPlatform::GetDlgItem(HWND dialog, int controlId) {
    if (controlId == kNoControlId) {
        return nullptr;
    }
    for (const auto& [handle, item] : state_.dialogItems) {
        if (item.dialog == dialog && item.control != nullptr && item.control->id == controlId) {
            return handle;
        }
    }
    return nullptr;
}

bool DesktopPlatform::EnableWindow(HWND window, bool enable) {
    QWidget* widget = WidgetOf(window);
    if (widget == nullptr) {
        return false;
    }
    bool wasDisabled = !widget->isEnabled();
    widget->setEnabled(enable);
    return wasDisabled;
}

bool DesktopPlatform::IsWindowEnabled(HWND window) {
    QWidget* widget = WidgetOf(window);
    return widget != nullptr && widget->isEnabled();
}

bool DesktopPlatform::SetFocus(HWND window) {
    QWidget* widget = WidgetOf(window);
    if (widget == nullptr) {
        return false;
    }
    widget->setFocus(Qt::OtherFocusReason);
    return true;
}

bool DesktopPlatform::CheckDlgButton(HWND dialog, int controlId, UINT state) {
    DialogItem* item = FindControl(dialog, controlId);
    if (item == nullptr || !IsButton(item->control->kind)) {
        return false;
    }
    auto* button = qobject_cast<QAbstractButton*>(item->widget);
    // An exclusive group refuses to clear its checked member.
    QButtonGroup* group = button->group();
    if (group != nullptr) {
        group->setExclusive(false);
    }
    button->setCheckable(true);
    button->setChecked(state == BST_CHECKED);
    if (group != nullptr) {
        group->setExclusive(true);
    }
    return true;
}

UINT DesktopPlatform::IsDlgButtonChecked(HWND dialog, int controlId) {
    DialogItem* item = FindControl(dialog, controlId);
    if (item == nullptr || !IsButton(item->control->kind)) {
        return BST_UNCHECKED;
    }
    return qobject_cast<QAbstractButton*>(item->widget)->isChecked() ? BST_CHECKED : BST_UNCHECKED;
}

int DesktopPlatform::AddListEntry(HWND dialog, int controlId, std::u16string_view text) {
    DialogItem* item = FindControl(dialog, controlId);
    auto* list = item != nullptr ? qobject_cast<QComboBox*>(item->widget) : nullptr;
    if (list == nullptr) {
        return CB_ERR;
    }
    int selection = list->currentIndex();
    list->addItem(ToQString(text));
    // Adding the first entry must not select it: a new list has none.
    list->setCurrentIndex(selection);
    return list->count() - 1;
}

bool DesktopPlatform::SetListSelection(HWND dialog, int controlId, int index) {
    DialogItem* item = FindControl(dialog, controlId);
    auto* list = item != nullptr ? qobject_cast<QComboBox*>(item->widget) : nullptr;
    if (list == nullptr) {
        return false;
    }
    bool valid = index >= 0 && index < list->count();
    list->setCurrentIndex(valid ? index : -1);
    return valid;
}

int DesktopPlatform::GetListSelection(HWND dialog, int controlId) {
    DialogItem* item = FindControl(dialog, controlId);
    auto* list = item != nullptr ? qobject_cast<QComboBox*>(item->widget) : nullptr;
    if (list == nullptr || list->currentIndex() < 0) {
        return CB_ERR;
    }
    return list->currentIndex();
}

bool DesktopPlatform::GetOpenFileName(HWND owner, const OpenFileRequest& request,
                                      std::u16string* chosenPath) {
    QFileDialog dialog(OwnerWidget(owner), ToQString(request.title));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(request.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    QStringList filters;
    for (const auto& filter : request.filters) {
        filters << NameFilterOf(filter);
    }
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(ToQString(request.defaultExtension));
    if (!request.initialPath.empty()) {
        dialog.selectFile(ToQString(request.initialPath));
    }
    // There is no "open read-only" choice here, so hideReadOnly has nothing to hide.
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return false;
    }
    *chosenPath = dialog.selectedFiles().first().toStdU16String();
    return true;
}
