#pragma once

#include <QWidget>

#include "platform/DialogTemplate.h"

namespace tandrel {

// The widget that stands for one control of a dialog template, with the
// template's caption, items and styles; its place is set by the dialog.
QWidget* MakeControlWidget(const ControlTemplate& control, QWidget* parent);

}  // namespace tandrel
