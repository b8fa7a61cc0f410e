#pragma once

// Mock-exam papers without widgets: the five exam kinds with their fixed composition, the paper
// register tab_cj and the paper tables tab_exam<N>, drawing and copying questions, grading by one
// SQL sum, the pass mark and the full marks. The exam windows bind these to their controls.

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>
#include <stdexcept>

class TDM1;

namespace Paper {

// One draw of a composition: count questions of the type from the chapters beginning prefix.
struct Draw {
    QString prefix;
    int count = 0;
};
struct TypeDraws {
    int typeCode = 0;
    QVector<Draw> draws; // in this order
};

// An exam kind: its title, the chapter group its questions come from (chapter-code prefixes) and
// the composition per question type. Fixed here; the bank's type table only says which types
// are composed (B2 > 0) and their points.
struct ExamKind {
    int kind = 0;
    QString title;
    QStringList chapterGroup;
    QVector<TypeDraws> composition;
    const TypeDraws* drawsFor(int typeCode) const; // nullptr: the type draws nothing
};
// Kinds 1..5; anything else throws std::out_of_range.
const ExamKind& Kind(int kind);

// "2024年05月06日<kind title>[n]".
QString Title(const QDate& day, const QString& kindTitle, int number);

// The only names a paper table ever has: "tab_exam" and a number the program made.
bool IsPaperTableName(const QString& name);
// The number in a paper table's name (surrounding spaces ignored), 0 when it is none.
int PaperNumber(const QString& name);
// A name that is not a paper table's never reaches a statement.
struct BadPaperName : std::invalid_argument {
    using std::invalid_argument::invalid_argument;
};
QString CheckedName(const QString& name); // the trimmed name, or throws BadPaperName

// The paper register: the sequence number and table name of the next paper. The number is one
// more than the highest registered (1 when none); the table is one more than the number in the
// newest row's A1, or, when that A1 is not a paper table's name or names a registered paper
// already, the next name no register row uses.
struct NextPaper {
    int number = 1;
    QString table = QStringLiteral("tab_exam1");
};
NextPaper PlanNext(TDM1& dm);

// Failures of building a paper, each with the message the program shows.
struct BuildError : std::runtime_error {
    using std::runtime_error::runtime_error;
};
struct NoQuestions : BuildError { // "没有发现题目！"
    NoQuestions() : BuildError("no questions for the exam kind") {}
};
struct TableError : BuildError { // "建立数据表时发生错误！"
    using BuildError::BuildError;
};
struct DrawError : BuildError { // "提取数据时发生错误！"
    using BuildError::BuildError;
};

// Random positions: a uniform whole number in 0 .. n-1.
using Random = std::function<int(int n)>;
// A generator seeded from the time of day (milliseconds since midnight, UTC), made anew at every
// draw.
Random TimeOfDayRandom();

// DrawQuestions: up to count ids of type typeCode from chapters beginning prefix, not voided,
// each at most once; every eligible question can be drawn. A count above the eligible number
// takes them all. The last drawn comes first, as the paper's condition text lists them.
QStringList DrawQuestions(TDM1& dm, int typeCode, int count, const QString& prefix,
                          const Random& random);
// InsertQuestions: copies the questions with their explanation into the paper table.
void InsertQuestions(TDM1& dm, const QString& table, const QStringList& ids);

struct Built {
    QString table;
    QString title;
    int number = 0;
    int questions = 0;
};
// The whole paper in one transaction: register row, table, composition by the type table of the
// kind (Cn1Table_tx is left on it). On any failure nothing of it stays and the BuildError tells
// which step failed. progress(text) is called before each step.
Built BuildPaper(TDM1& dm, int kind, const QDate& today, const Random& random,
                 const std::function<void(const QString&)>& progress = {});

// DropPaper: removes the paper table, if it exists, and its register rows. Failures are quiet.
void DropPaper(TDM1& dm, const QString& table);

// Number of questions without an answer on a paper.
int Unanswered(TDM1& dm, const QString& table);
// The score: the points B3 of the type table of the kind over the questions answered with their
// key (letter case ignored). An unanswered question never scores.
double Score(TDM1& dm, const QString& table, int kind);

// The settings row: pass mark and exam time in seconds.
int LeastMark(TDM1& dm);
int ExamTime(TDM1& dm);

// FullMarks: B2 x B3 summed over the rows of Cn1Table_tx (the type table it points at), both
// read as whole numbers; 0 for an empty table.
int FullMarks(TDM1& dm);

// Points the data module's type-table dataset at the table of a kind (0 is taken as 1).
void UseTypeTable(TDM1& dm, int kind);

// The score as the review writes it: the shortest decimal text (65, 77.5).
QString ScoreText(double score);

} // namespace Paper
