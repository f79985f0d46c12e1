#include "qt/QtWindowSystem.h"

#include <QEventLoop>
#include <QPixmap>
#include <QTimer>

#include "ui/Templates.h"

namespace tandrel {

QtWindowSystem::QtWindowSystem() : controls_(MainDialogTemplate()) {}

void QtWindowSystem::Show() { Window().show(); }

// The close box, Esc and the menu's Close all end the dialog, which ends the run.
void QtWindowSystem::RunUntilClosed() {
    if (!Window().isVisible()) return;
    QEventLoop running;
    QObject::connect(&Window(), &QDialog::finished, &running, &QEventLoop::quit);
    running_ = true;
    if (closeAsked_) QTimer::singleShot(0, &Window(), [this] { Window().CloseUnasked(); });
    running.exec();
    running_ = false;
}

// A signal seen while the window is being set up (a message box's own loop)
// is kept until the window's run begins.
void QtWindowSystem::CloseFromOutside() {
    if (running_) {
        Window().CloseUnasked();
    } else {
        closeAsked_ = true;
    }
}

bool QtWindowSystem::SaveScreenshot(const std::string& file, std::string& error) {
    if (Window().grab().save(QString::fromStdString(file), "PNG")) return true;
    error = "cannot write the screenshot " + file;
    return false;
}

}  // namespace tandrel
