#include "qt/QtWindowLoop.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimerEvent>
#include <algorithm>
#include <thread>

namespace tandrel {

namespace {

const QEvent::Type kWakeEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

}  // namespace

QtWindowLoop::QtWindowLoop()
    : ToolkitWindowLoop([this] { QCoreApplication::postEvent(this, new QEvent(kWakeEvent)); }) {}

QtWindowLoop::~QtWindowLoop() { Close(); }

bool QtWindowLoop::event(QEvent* event) {
    if (event->type() != kWakeEvent) return QObject::event(event);
    DeliverPosted();
    return true;
}

void QtWindowLoop::timerEvent(QTimerEvent* event) { Fire(static_cast<ToolkitTimer>(event->timerId())); }

std::optional<QtWindowLoop::ToolkitTimer> QtWindowLoop::StartTimer(int, int periodMs) {
    return StartQtTimer(std::max(periodMs, 1));
}

std::optional<QtWindowLoop::ToolkitTimer> QtWindowLoop::StartTaskTimer(int delayMs) {
    return StartQtTimer(std::max(delayMs, 0));
}

std::optional<QtWindowLoop::ToolkitTimer> QtWindowLoop::StartQtTimer(int ms) {
    const int qtId = startTimer(ms, Qt::PreciseTimer);
    if (qtId == 0) return std::nullopt;
    return static_cast<ToolkitTimer>(qtId);
}

void QtWindowLoop::StopTimer(ToolkitTimer timer) { killTimer(static_cast<int>(timer)); }

void QtWindowLoop::Pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(std::max(ms, 0))); }

}  // namespace tandrel
