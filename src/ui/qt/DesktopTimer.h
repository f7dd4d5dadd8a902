#pragma once
// The view's one-second script timer on a Qt timer: each tick runs the tick function (the script
// executor's OnTaskTimer).
#include <QObject>
#include <QTimer>
#include <functional>

#include "ui/TaskExecutor.h"

namespace kiv {

class CDesktopTimer : public QObject, public CTaskTimer {
    Q_OBJECT
public:
    explicit CDesktopTimer(std::function<void()> tick, QObject* parent = nullptr);

    // Starts the repeating timer under the given identifier; false for a period that is not
    // positive or when the timer already runs under another identifier.
    bool Start(int id, int periodMs) override;
    int Id() const { return id_; }  // 0 while not started
    bool IsActive() const { return timer_.isActive(); }

private:
    std::function<void()> tick_;
    QTimer timer_;
    int id_ = 0;
};

}  // namespace kiv
