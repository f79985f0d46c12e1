#pragma once

#include <QCheckBox>
#include <QFrame>

#include "platform/DialogTemplate.h"

namespace tandrel {

// A check box as the image slots have it: no caption, the box centred, and
// a sunken edge around the whole cell.
class FramedCheckBox : public QFrame {
    Q_OBJECT

public:
    FramedCheckBox(const ControlTemplate& control, QWidget* parent);

    QCheckBox* Box() const { return box_; }

private:
    QCheckBox* box_;
};

}  // namespace tandrel
