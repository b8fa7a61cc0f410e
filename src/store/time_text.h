#pragma once

#include <QString>
#include <stdexcept>

// A part of a time text that is not a whole number.
class TimeTextError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Seconds denoted by a time text "h:m:s" (hours may have any number of digits). A text with one
// colon gives its hours only, one without a colon 0, one with three or more colons hours and
// minutes only. Throws TimeTextError for a part that is not a whole number.
qint64 TimeStrToSecs(const QString& text);

// "hh:mm:ss" with at least two digits in each part, as the daily log stores durations.
QString SecsToLogTimeStr(qint64 secs);

// "h:mm:ss" with unpadded hours, as the exam clock shows durations.
QString SecsToClockTimeStr(qint64 secs);

// "(v*100)" with two decimals, as accuracy texts are stored; "0" when total is 0.
QString AccuracyText(qint64 total, qint64 wrong);

// The answer time in tenths of a second for a time in minutes (truncated), as the answer-time
// table TypeTimes holds it.
int AnswerTimeTenths(double minutes);
