#pragma once

#include <QDate>
#include <QDateTime>

// Today and now for the whole program. Tests fix the clock so that "today's" log row and the
// day of the last answer are predictable; the program always reads the system clock.
namespace Clock {

QDate today();
QDateTime now();

// Fixes the clock at the given moment until cleared (tests only).
void setFixed(const QDateTime& moment);
void clearFixed();

} // namespace Clock
