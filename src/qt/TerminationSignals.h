#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <functional>

namespace tandrel {

// Turns SIGTERM and SIGINT into a call on the window thread, so that a
// station stopped from outside closes its window the way the operator would.
// The first of them in a process takes the signals; one made while it
// lives takes none.
class TerminationSignals : public QObject {
    Q_OBJECT

public:
    explicit TerminationSignals(std::function<void()> onSignal);
    ~TerminationSignals() override;

private:
    std::function<void()> onSignal_;
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace tandrel
