#include "widgets/elapsed_clock.h"

#include "platform/clock.h"

#include <algorithm>

ElapsedClock::ElapsedClock(QObject* parent) : QObject(parent) {
    timer_.setInterval(1000);
    connect(&timer_, &QTimer::timeout, this, &ElapsedClock::tick);
}

void ElapsedClock::reset() {
    counted_ = 0;
    since_ = Clock::now();
}

void ElapsedClock::start() {
    if (running_)
        return;
    since_ = Clock::now();
    running_ = true;
    timer_.start();
}

void ElapsedClock::stop() {
    if (!running_)
        return;
    counted_ += std::max<qint64>(0, since_.msecsTo(Clock::now()));
    running_ = false;
    timer_.stop();
}

qint64 ElapsedClock::elapsedSecs() const {
    qint64 ms = counted_;
    if (running_)
        ms += std::max<qint64>(0, since_.msecsTo(Clock::now()));
    return ms / 1000;
}

QString ElapsedClock::text() const {
    return formatSecs(elapsedSecs());
}

QString ElapsedClock::formatSecs(qint64 secs) {
    secs = std::max<qint64>(0, secs);
    return QStringLiteral("%1:%2:%3")
        .arg(secs / 3600)
        .arg((secs / 60) % 60, 2, 10, QLatin1Char('0'))
        .arg(secs % 60, 2, 10, QLatin1Char('0'));
}

void ElapsedClock::tick() {
    Q_EMIT ticked(text());
}
