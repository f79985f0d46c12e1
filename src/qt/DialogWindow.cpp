#include "qt/DialogWindow.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>

#include "qt/AppIcon.h"
#include "qt/ControlWidgets.h"
#include "qt/FramedCheckBox.h"

namespace tandrel {

namespace {

// A popup with a caption and a close box, no minimise or maximise box.
constexpr Qt::WindowFlags kDialogFrame = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;

// Return, or Enter on the keypad; with Shift, Ctrl or Alt held it is another key.
bool IsEnter(const QKeyEvent& event) {
    const Qt::KeyboardModifiers others = event.modifiers() & ~Qt::KeypadModifier;
    return (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter) && others == Qt::NoModifier;
}

}  // namespace

DialogWindow::DialogWindow(const DialogTemplate& dialog, QWidget* parent)
    : QDialog(parent, kDialogFrame), units_(BaseUnitsOf(DialogFont())), menu_(new QMenu(this)) {
    setFont(DialogFont());
    setWindowTitle(QString::fromUtf8(dialog.caption.data(), static_cast<qsizetype>(dialog.caption.size())));
    setWindowIcon(AppIcon());
    setFixedSize(ToPixels(dialog.width, dialog.height, units_));
    // Made in template order, the widgets take their tab order from it.
    for (const auto& control : dialog.controls) AddControl(control);
}

QWidget* DialogWindow::Control(ControlId id) const {
    const auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

void DialogWindow::AddControl(const ControlTemplate& control) {
    QWidget* widget = MakeControlWidget(control, this);
    QRect place = ToPixels(control.rect, units_);
    // A combo box's template height is that of its open list; closed, it is one line high.
    if (control.kind == ControlKind::ComboBox) place.setHeight(widget->sizeHint().height());
    widget->setGeometry(place);
    widget->setEnabled(!control.Has(kDisabled));
    widget->setVisible(!control.Has(kHidden));

    const ControlId id = control.id;
    if (auto* button = qobject_cast<QPushButton*>(widget)) {
        connect(button, &QPushButton::clicked, this, [this, id] { emit Clicked(id); });
    } else if (auto* cell = qobject_cast<FramedCheckBox*>(widget)) {
        connect(cell->Box(), &QCheckBox::clicked, this, [this, id] { emit Clicked(id); });
    }
    if (id != kNoId) controls_[id] = widget;
}

void DialogWindow::AppendMenuItem(unsigned commandId, const QString& text) {
    QAction* action = menu_->addAction(text);
    action->setData(commandId);
    connect(action, &QAction::triggered, this, [this, commandId] { emit SysCommand(commandId); });
}

void DialogWindow::reject() {
    if (closeQuery_ && !closeQuery_(true)) return;
    QDialog::reject();
}

void DialogWindow::CloseUnasked() {
    if (closeQuery_) closeQuery_(false);
    QDialog::reject();
}

void DialogWindow::AppendMenuSeparator() { menu_->addSeparator(); }

// A field, a box or a check box passes Enter on to the dialog; only a focused
// push button acts on it.
void DialogWindow::keyPressEvent(QKeyEvent* event) {
    if (!IsEnter(*event)) return QDialog::keyPressEvent(event);
    auto* button = qobject_cast<QPushButton*>(focusWidget());
    if (button && button->isEnabled() && button->isVisible()) button->click();
    event->accept();
}

void DialogWindow::contextMenuEvent(QContextMenuEvent* event) {
    if (menu_->isEmpty()) return QDialog::contextMenuEvent(event);
    menu_->exec(event->globalPos());
}

}  // namespace tandrel
