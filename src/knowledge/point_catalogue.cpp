#include "knowledge/point_catalogue.h"

namespace PointCatalogue {

QString CounterCell(qint64 value) {
    return QString::number(value).rightJustified(9, QLatin1Char(' '));
}

int KeyPointThreshold(const QString& questionCountCell, qint64 pointCount) {
    bool ok = false;
    const qint64 total = questionCountCell.trimmed().toLongLong(&ok);
    if (!ok || pointCount <= 0)
        return 1;
    const qint64 threshold = total / pointCount;
    return threshold < 1 ? 1 : int(qMin<qint64>(threshold, INT_MAX));
}

QString Heading(const QString& storedHeading) {
    QString text = storedHeading;
    while (!text.isEmpty() && text.back().isSpace())
        text.chop(1);
    return text;
}

QString ListText(const QString& storedHeading, qint64 questions) {
    QString text = Heading(storedHeading);
    if (questions > 0)
        text += QLatin1Char('(') + QString::number(questions) + QLatin1Char(')');
    return text;
}

bool HasExercises(qint64 questions) {
    return questions > 0;
}

QString NoteLine(qint64 questions, qint64 done, qint64 attempts, qint64 wrong) {
    if (!HasExercises(questions))
        return QStringLiteral("虽然针对该内容的习题没有，您仍要仔细阅读！");
    return QStringLiteral("相关题数：%1题  已做题数：%2题  已做道次：%3次  做错道次：%4次")
        .arg(questions)
        .arg(done)
        .arg(attempts)
        .arg(wrong);
}

int FindRow(const QStringList& names, const QString& searchText) {
    const QString text = searchText.trimmed();
    if (searchText.isEmpty() || text.isEmpty())
        return -1;
    for (int i = 0; i < names.size(); ++i) {
        if (names.at(i).contains(text, Qt::CaseSensitive))
            return i;
    }
    return -1;
}

bool IsTopLevel(const QString& id) {
    return id.trimmed().size() <= 2;
}

QString PracticeSql() {
    // One equality per slot, so that each is answered by the slot's index instead of a scan of
    // the whole bank; the set is the same as that of ":ftid in (k3, ..., k12)".
    QString where;
    for (int slot = 3; slot <= 12; ++slot) {
        if (!where.isEmpty())
            where += QStringLiteral(" or ");
        where += QStringLiteral("k%1=:ftid").arg(slot);
    }
    return QStringLiteral("select a1,a2,a2_1,k3,k4,k5,k6,k7,k8,k9,k10,k11,k12,a10,a13,a14,e1,e2,"
                          "e2_1,e3,e4,f1, csbs from tab_answ where ") +
           where;
}

QVariantMap PracticeParams(const QString& pointId) {
    return {{QStringLiteral("ftid"), pointId}};
}

} // namespace PointCatalogue
