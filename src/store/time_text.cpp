#include "store/time_text.h"

#include <cmath>

namespace {

qint64 wholePart(const QString& part) {
    bool ok = false;
    // Leading blanks are tolerated, as the stored texts were once typed; anything else is not.
    QString p = part;
    while (!p.isEmpty() && p.front().isSpace())
        p.remove(0, 1);
    const qint64 n = p.toLongLong(&ok, 10);
    if (!ok)
        throw TimeTextError(("'" + part + "' is not a valid whole number").toStdString());
    return n;
}

QString twoDigits(qint64 n) {
    return n < 10 ? QStringLiteral("0") + QString::number(n) : QString::number(n);
}

} // namespace

qint64 TimeStrToSecs(const QString& text) {
    QString s = text;
    qint64 total = 0;
    int i = 0;
    for (int colon = s.indexOf(QLatin1Char(':')); colon >= 0; colon = s.indexOf(QLatin1Char(':'))) {
        const QString part = s.left(colon);
        s = s.mid(colon + 1);
        if (i == 0)
            total += wholePart(part) * 3600;
        else if (i == 1)
            total += wholePart(part) * 60;
        else
            s.clear();
        ++i;
    }
    if (i == 2)
        total += wholePart(s.left(2));
    return total;
}

QString SecsToLogTimeStr(qint64 secs) {
    const qint64 hours = secs / 3600;
    const qint64 minutes = (secs - 3600 * hours) / 60;
    const qint64 seconds = secs % 60;
    return twoDigits(hours) + QLatin1Char(':') + twoDigits(minutes) + QLatin1Char(':') +
           twoDigits(seconds);
}

QString SecsToClockTimeStr(qint64 secs) {
    const qint64 hours = secs / 3600;
    const qint64 minutes = (secs - 3600 * hours) / 60;
    const qint64 seconds = secs % 60;
    return QString::number(hours) + QLatin1Char(':') + twoDigits(minutes) + QLatin1Char(':') +
           twoDigits(seconds);
}

QString AccuracyText(qint64 total, qint64 wrong) {
    if (total <= 0)
        return QStringLiteral("0");
    return QString::number(double(total - wrong) / double(total) * 100.0, 'f', 2);
}

int AnswerTimeTenths(double minutes) {
    // Times are kept with one decimal; the small allowance keeps 2.3 minutes from reading as
    // 1379.999... tenths.
    const double tenths = minutes * 600.0;
    return static_cast<int>(std::trunc(tenths + (tenths >= 0 ? 1e-7 : -1e-7)));
}
