#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

// What judging decided about one answer, as the store records it on the question's row and in
// the study statistics. Counting flags are 2 for yes and 1 for no.
struct AnswerRecord {
    bool counted = false; // E3/E4 change and the counters are raised
    int firstToday = 1;
    int firstEver = 1;
    int wrong = 1;
    int prevWrong = 1;
    QString e2_1; // the answer in the current practice
    QString e2;   // the last answer
    QDate e1;     // the day of the last answer
    int e3 = 0;   // times answered
    int e4 = 0;   // wrong-answer standing
};

namespace Stats {

// A text quoted for SQL: between single quotes, inner quotes doubled.
QString Quoted(const QString& text);

// The three id lists of a question's knowledge points, each "('id1','id2',...)". Built from the
// slots k3..k12 in order, stopping before the first empty slot; ids are quoted with inner quotes
// doubled. All three are empty texts when k3 is empty.
struct PointLists {
    QString ruleIds;    // the ids
    QString chapterIds; // their first 6 characters
    QString topIds;     // their first 2 characters
    bool isEmpty() const { return ruleIds.isEmpty(); }
};
PointLists PointIdLists(const QStringList& slots);

} // namespace Stats
