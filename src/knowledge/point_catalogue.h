#pragma once

// The rules of the knowledge-point catalogue that need no window: the counters as the catalogue
// grid shows them, the key-point threshold of a chapter, the list and note texts of a knowledge
// point, searching the catalogue, and the question set of a practice over one knowledge point.

#include <QString>
#include <QStringList>
#include <QVariantMap>

namespace PointCatalogue {

// A counter of the catalogue grid, right-aligned by leading blanks to 9 characters; a value of 9
// or more characters is written unchanged.
QString CounterCell(qint64 value);

// The key-point threshold of a chapter: its question count (the text of its grid cell) divided by
// its number of knowledge points, rounded towards zero; never below 1, and 1 when the count is no
// number or the chapter has no knowledge point.
int KeyPointThreshold(const QString& questionCountCell, qint64 pointCount);

// A knowledge point's heading as lists show it: the stored heading without its trailing blanks.
QString Heading(const QString& storedHeading);
// A knowledge point in the chapter's list: its heading, followed by its question count in
// parentheses when it has questions.
QString ListText(const QString& storedHeading, qint64 questions);

// The note line under a knowledge point's text.
QString NoteLine(qint64 questions, qint64 done, qint64 attempts, qint64 wrong);
bool HasExercises(qint64 questions);

// The 0-based index of the first name containing the search text (blanks around it removed;
// exact, case-sensitive), or -1 when the text is empty or no name contains it. Every character
// of the text stands for itself.
int FindRow(const QStringList& names, const QString& searchText);

// The top-level entries of the catalogue have codes of 1 or 2 characters and cannot be opened.
bool IsTopLevel(const QString& id);

// The question set of a practice over one knowledge point: every question carrying it in any of
// its slots k3..k12, with the columns a practice reads. The knowledge point's id is bound as
// ":ftid" (the values PracticeParams answers).
QString PracticeSql();
QVariantMap PracticeParams(const QString& pointId);

} // namespace PointCatalogue
