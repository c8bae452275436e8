#include "ui/timer_period.h"

#include <QTimer>

#include <algorithm>

namespace tarnis {

int timerPeriod(const QTimer& timer) {
    return timer.isActive() ? timer.interval() : 0;
}

void setTimerPeriod(QTimer& timer, int periodMs) {
    periodMs = std::max(periodMs, 0);
    if (periodMs == timerPeriod(timer))
        return;
    timer.stop();
    if (periodMs > 0)
        timer.start(periodMs);
}

} // namespace tarnis
