#include "qt/FramedCheckBox.h"

#include <QHBoxLayout>

namespace tandrel {

FramedCheckBox::FramedCheckBox(const ControlTemplate& control, QWidget* parent)
    : QFrame(parent), box_(new QCheckBox(this)) {
    if (control.Has(kSunken)) setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(box_, 0, control.Has(kCentred) ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
}

}  // namespace tandrel
