#pragma once

class QTimer;

namespace tarnis {

// The period a timer runs at, 0 while it is stopped.
int timerPeriod(const QTimer& timer);

// Sets a timer's period in ms. The period it already has changes nothing (a running
// timer keeps its phase); any other value stops it and, above 0, starts it again, so the
// first tick comes one period later. A negative period counts as 0.
void setTimerPeriod(QTimer& timer, int periodMs);

} // namespace tarnis
