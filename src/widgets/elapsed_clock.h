#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTimer>

// An elapsed-time clock: a one-second timer that reports the time counted since the clock was
// reset, as hours (unpadded), minutes and seconds (two digits each): "0:01:05", "1:00:00".
// Time comes from Clock::now(), so tests move the clock instead of waiting.
class ElapsedClock : public QObject {
    Q_OBJECT

  public:
    explicit ElapsedClock(QObject* parent = nullptr);

    void reset(); // back to zero; a running clock keeps running from now
    void start(); // counts on from what it has counted so far
    void stop();  // keeps what it has counted
    bool isRunning() const { return running_; }

    qint64 elapsedSecs() const;
    QString text() const;

    static QString formatSecs(qint64 secs);

    QTimer* timer() { return &timer_; }

  public Q_SLOTS:
    // One second passed: reports the text (the timer calls this; tests may call it themselves).
    void tick();

  Q_SIGNALS:
    void ticked(const QString& text);

  private:
    QTimer timer_;
    bool running_ = false;
    QDateTime since_;    // when the running stretch began
    qint64 counted_ = 0; // milliseconds of earlier stretches
};
