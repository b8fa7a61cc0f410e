#include "platform/clock.h"

#include <optional>

namespace {
std::optional<QDateTime>& fixedMoment() {
    static std::optional<QDateTime> moment;
    return moment;
}
} // namespace

namespace Clock {

QDate today() {
    return now().date();
}

QDateTime now() {
    if (fixedMoment())
        return *fixedMoment();
    return QDateTime::currentDateTime();
}

void setFixed(const QDateTime& moment) {
    fixedMoment() = moment;
}
void clearFixed() {
    fixedMoment().reset();
}

} // namespace Clock
