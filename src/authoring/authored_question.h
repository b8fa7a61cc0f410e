#pragma once

// The rules of the learner's own questions that need no window: the question types on offer, the
// identifier of a new question, what an answer may be, and writing a new or edited question with
// every counter it moves, each in one transaction.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

#include <stdexcept>

class Database;
class Dataset;
class TDM1;

namespace Authoring {

// One row of the question-type table in use: its code (A1) and its name (B1, trimmed).
struct Ttx {
    QString code;
    QString name;
};

// Points the data module's type table at the table of the exam kind in use (App::PaperKind; a
// kind still 0 becomes 1), sorted by code, and answers its rows in that order. The table stays
// pointed there for the windows that read it later.
QVector<Ttx> LoadTypeList(TDM1& dm);

// The row named name (trimmed, without regard to case), or -1.
int FindType(const QVector<Ttx>& types, const QString& name);

// A type answered without a key of letters: its name is one of 简答, 主观, 论述, 案例分析,
// 名词解释, 查找错误, 综合 and 计算, also with the trailing 题 the bank's names carry
// (案例分析题), or its code is one the question model treats as subjective.
bool IsSubjectiveType(const Ttx& type);

// Serials number the learner's questions across all chapters, from 1 to kMaxSerial.
constexpr int kMaxSerial = 9999;
// The serial as an identifier carries it: five characters below 1000 ("00012"), four from 1000
// on ("1000"); the last four characters are always the serial's last four digits.
QString SerialText(int serial);
// "US" + chapter code + type code + option count + serial text.
QString NewQuestionId(const QString& chapter, const QString& typeCode, int options, int serial);
// The largest serial among the questions whose id begins with "U" (the last four characters of
// the id as a number), 0 when there is none.
int LargestSerial(Database& db);

// A question has at most kMaxPoints knowledge points; one pick adds at most kMaxPicked, counting
// the ones the question has already.
constexpr int kMaxPoints = 10;
constexpr int kMaxPicked = 7;
// The number of answer options a question can have.
constexpr int kMinOptions = 1;
constexpr int kMaxOptions = 7;

// An answer as typed, checked for its question: what to store, or why it is refused.
struct AnswerCheck {
    QString answer;  // trimmed; a choice key with its letters in the order A to F
    QString refusal; // empty when the answer is accepted
};
// Keys of single and multiple choice are letters of the options shown, each at most once (a
// single choice exactly one); other keys are taken as typed. An empty answer is refused.
AnswerCheck CheckAnswer(const QString& typed, int options, int typeCode, bool subjective);

// A rich-text field larger than this is refused (pictures are refused at paste time already).
constexpr qsizetype kMaxRichTextBytes = 24 * 1024 * 1024;

// A knowledge point listed for a question is no longer in the bank.
class MissingPoint : public std::runtime_error {
  public:
    explicit MissingPoint(const QString& pointId)
        : std::runtime_error("knowledge point not in the bank"), id(pointId) {}
    QString id;
};

// A knowledge point as the question windows list it: catalogue name, then heading.
struct PointLine {
    QString id;
    QString name;    // of its catalogue chapter (tab_fgmc.n), empty when not found
    QString heading; // tab_rule.sn without trailing blanks, empty when not found
    bool found = false;
};
// The knowledge points of ids, in that order.
QVector<PointLine> LookUpPoints(Database& db, const QStringList& ids);

// A question written by the entry window.
struct NewQuestion {
    QString chapter;        // a chapter code of tab_kmmc (C1)
    QString typeCode;       // A1 of the type table
    int options = 5;        // A2_1
    QString answer;         // as CheckAnswer answers it
    QByteArray text;        // RTF of the question text
    QByteArray explanation; // RTF of the explanation; empty: none
    QStringList points;     // knowledge-point ids, at most kMaxPoints, without repeats
};

// Writes q as the question with serial: its tab_answ row (added by the learner, f1 = 2) and its
// tab_exer row, one more question in its chapter and every ancestor of it, in each of its
// knowledge points and in each catalogue chapter and top-level entry they belong to (once per
// entry). One transaction: on failure nothing is written and the error passes on (MissingPoint
// when a knowledge point is gone). Answers the new question's id.
QString InsertQuestion(Database& db, const NewQuestion& q, int serial);

// A change of an existing question by the edit window.
struct QuestionEdit {
    int options = 1;
    QString answer;
    int typeCode = 0;
    QStringList points; // into k3 upward, later slots emptied
    QByteArray text;
    QByteArray explanation; // empty: none
    QByteArray caseText;    // written only where the question belongs to a case
};

// Saves e on the current rows of question (its tab_answ row), content (its tab_exer row; made
// when the question has none) and caseRow (its case's tab_title row; null for a question of no
// case): the values, one more modification (ecount), the question numbers of the knowledge points
// it had and has recounted from the rows, and the catalogue counters moved where the question
// joins or leaves a catalogue entry. One transaction: on failure nothing is written, the rows are
// read again from the file, and the error passes on.
void SaveEdit(Database& db, Dataset& question, Dataset& content, Dataset* caseRow,
              const QuestionEdit& e);

// The knowledge-point ids in a question's slots k3..k12, in slot order, empty slots skipped.
QStringList PointsOf(const Dataset& question);

// A case question's id contains "-"; its case is the first 16 characters.
bool IsCaseQuestion(const QString& questionId);
QString CaseIdOf(const QString& questionId);

} // namespace Authoring
