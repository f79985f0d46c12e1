#include "qt/QtWindowSystem.h"

#include <QEventLoop>
#include <QPixmap>

#include "qt/TerminationSignals.h"

#include "ui/Templates.h"

namespace tandrel {

QtWindowSystem::QtWindowSystem() : controls_(MainDialogTemplate()) {}

void QtWindowSystem::Show() { Window().show(); }

// The close box, Esc and the menu's Close all end the dialog, which ends the run.
void QtWindowSystem::RunUntilClosed() {
    if (!Window().isVisible()) return;
    QEventLoop running;
    QObject::connect(&Window(), &QDialog::finished, &running, &QEventLoop::quit);
    const TerminationSignals stopFromOutside([this] { Window().CloseUnasked(); });
    running.exec();
}

bool QtWindowSystem::SaveScreenshot(const std::string& file, std::string& error) {
    if (Window().grab().save(QString::fromStdString(file), "PNG")) return true;
    error = "cannot write the screenshot " + file;
    return false;
}

}  // namespace tandrel
