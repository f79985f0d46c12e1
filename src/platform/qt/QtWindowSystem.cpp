#include "platform/qt/QtWindowSystem.h"

#include <QEventLoop>

#include "ui/Templates.h"

namespace tandrel {

QtWindowSystem::QtWindowSystem() : controls_(MainDialogTemplate()) {}

void QtWindowSystem::Show() { Window().show(); }

// The close box, Esc and the menu's Close all end the dialog, which ends the run.
void QtWindowSystem::RunUntilClosed() {
    if (!Window().isVisible()) return;
    QEventLoop running;
    QObject::connect(&Window(), &QDialog::finished, &running, &QEventLoop::quit);
    running.exec();
}

}  // namespace tandrel
