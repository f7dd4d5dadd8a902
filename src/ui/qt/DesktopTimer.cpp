#include "ui/qt/DesktopTimer.h"

namespace kiv {

CDesktopTimer::CDesktopTimer(std::function<void()> tick, QObject* parent) : QObject(parent), tick_(std::move(tick))
{
    connect(&timer_, &QTimer::timeout, this, [this] { tick_(); });
}

bool CDesktopTimer::Start(int id, int periodMs)
{
    if (periodMs <= 0 || (timer_.isActive() && id != id_)) return false;
    id_ = id;
    timer_.start(periodMs);
    return true;
}

}  // namespace kiv
