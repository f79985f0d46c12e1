#include "qt/ControlWidgets.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QStringList>

#include "qt/AppIcon.h"
#include "qt/FramedCheckBox.h"
#include "qt/StaticText.h"

namespace tandrel {

namespace {

QString Caption(const ControlTemplate& control) {
    return QString::fromUtf8(control.caption.data(), static_cast<qsizetype>(control.caption.size()));
}

// Never a default button, not even while it has the focus: a default button
// takes an Enter meant for a field, and the first one in tab order is a Stop.
// The dialog gives Enter to the button that has the focus instead.
QWidget* MakePushButton(const ControlTemplate& control, QWidget* parent) {
    auto* button = new QPushButton(Caption(control), parent);
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

QWidget* MakeEdit(const ControlTemplate& control, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setFrame(control.Has(kBorder));
    return edit;
}

// A drop-down with an edit field; typing never adds an item. A sorted box
// sorts by byte order, so "COMM" comes before "USB".
QWidget* MakeComboBox(const ControlTemplate& control, QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->setEditable(control.Has(kDropDown));
    combo->setInsertPolicy(QComboBox::NoInsert);
    QStringList items;
    for (auto item : control.items) items << QString::fromUtf8(item.data(), static_cast<qsizetype>(item.size()));
    if (control.Has(kSorted)) items.sort();
    combo->addItems(items);
    combo->setCurrentIndex(-1);
    return combo;
}

// Lines keep the order they were added in, whatever the template's sort style.
QWidget* MakeListBox(const ControlTemplate& control, QWidget* parent) {
    auto* list = new QListWidget(parent);
    list->setSortingEnabled(false);
    list->setFrameShape(control.Has(kBorder) ? QFrame::StyledPanel : QFrame::NoFrame);
    list->setVerticalScrollBarPolicy(control.Has(kVScroll) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    return list;
}

QWidget* MakeProgressBar(QWidget* parent) {
    auto* bar = new QProgressBar(parent);
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setTextVisible(false);
    return bar;
}

// Icons are drawn at the desktop's icon size from the control's corner.
QWidget* MakeIcon(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setPixmap(AppIcon().pixmap(32));
    return label;
}

}  // namespace

QWidget* MakeControlWidget(const ControlTemplate& control, QWidget* parent) {
    switch (control.kind) {
        case ControlKind::PushButton: return MakePushButton(control, parent);
        case ControlKind::CheckBox: return new FramedCheckBox(control, parent);
        case ControlKind::Edit: return MakeEdit(control, parent);
        case ControlKind::ComboBox: return MakeComboBox(control, parent);
        case ControlKind::ListBox: return MakeListBox(control, parent);
        case ControlKind::ProgressBar: return MakeProgressBar(parent);
        case ControlKind::StaticText: return new StaticText(control, parent);
        case ControlKind::Icon: return MakeIcon(parent);
    }
    return new QWidget(parent);
}

}  // namespace tandrel
