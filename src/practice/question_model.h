#pragma once

// The question model: which answer page a question type uses, how an answer is written as text and
// read back onto a page, how a question's own columns change when an answer is judged, and which
// counters the answer raises. Plain code without widgets; the practice, knowledge-point practice
// and exam windows bind it to their controls.

#include "store/answer_record.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>

#include <array>

namespace Question {

// Answer pages of the answer pad.
enum Page {
    PageSingle = 0,     // 单选
    PageMultiple = 1,   // 多选
    PageFill = 2,       // 填空
    PageTrueFalse = 3,  // 判断
    PageSubjective = 4, // 主观
    PageMatching = 5,   // 配伍
    PageCount = 6,
    NoPage = 99 // selects no page: the page on show stays
};

// Type code -> answer page: 11 single, 14 multiple, 22/72/73/74 subjective, anything else NoPage.
int TypePage(int typeCode);

// Types whose answers are not compared with a key (the answer panel stays closed to them).
inline const QVector<int> SubjectiveTypes{22, 72, 73, 74};
bool IsSubjective(int typeCode);

// Letters of the six options.
constexpr int kOptionCount = 6;
QChar OptionLetter(int index); // 0 -> 'A'
// 0..5 for A..F (either case), -1 otherwise.
int OptionIndex(QChar letter);

// Answers are texts of at most this many characters (the width of E2, E2_1 and A2).
constexpr int kMaxAnswerLength = 100;

// What a page shows, as the answer pad hands it over.
struct PadState {
    std::array<bool, kOptionCount> pressed{}; // option buttons (pages 0, 1, 5)
    int visibleOptions = kOptionCount;        // A2_1 of the question, clamped to 0..6
    QString fillText;                         // page 2
    int trueFalse = 0;                        // page 3: 1 对, 2 错, 0 neither
    int subjectiveIndex = -1;                 // page 4: -1 nothing chosen, 0 不会, 1 会
};

// The answer text read from a page. Hidden options are never read. Pages outside 0..5 give "".
QString AnswerText(int page, const PadState& pad);

// The answer as the answer panel shows it beside the key: page 3 gives "对"/"错", pages 2 and 4
// give "" (they are never compared there), the others as AnswerText.
QString PanelAnswerText(int page, const PadState& pad);
// The key as the answer panel shows it: on page 3 "A" reads "对" and "B" reads "错".
QString PanelKeyText(int page, const QString& key);

// The pad restored from a current-practice answer (E2_1) on a page; visibleOptions is A2_1.
PadState RestoredPad(int page, const QString& answer, int visibleOptions);

// Number of options a question shows: A2_1 kept within 0..6.
int VisibleOptions(qint64 a2_1);

// Knowledge-point id lists and SQL quoting are the store's counting rules.
using Stats::PointIdLists;
using Stats::PointLists;
using Stats::Quoted;

// A question's list-row values that judging reads.
struct RowValues {
    QString key;  // A2
    QString e2_1; // answer in the current practice
    QString e2;   // last answer ("" for null)
    QDate e1;     // day of the last answer (invalid for null)
    int e3 = 0;   // times answered
    int e4 = 0;   // wrong-answer standing
};

// Counting flags: 2 yes, 1 no.
constexpr int kYes = 2;
constexpr int kNo = 1;

// The outcome of judging one answer against a row.
struct Verdict {
    bool answered = false; // the answer was not empty
    bool counted = false;  // the answer differs from E2_1: counters are raised, E3/E4 change
    bool right = false;    // the answer equals the key
    // Flags for the statistics operations (meaningful when counted).
    int firstToday = kNo;
    int firstEver = kNo;
    int wrong = kNo;
    int prevWrong = kNo;
    // New column values. With no answer only e2_1 changes (to ""); e2, e1, e3, e4 stay.
    QString e2_1;
    QString e2;
    QDate e1;
    int e3 = 0;
    int e4 = 0;
};

// Judging an answer given on a question on the given day.
Verdict Judge(const RowValues& row, const QString& answer, const QDate& today);
// What the store records of a verdict.
AnswerRecord RecordOf(const Verdict& v);

// The wrong-answer standing after an answer: a first answer gives 0 (right) or -3 (wrong); later
// a right answer raises a negative standing by one, a wrong one lowers it by one.
int NextStanding(bool neverAnsweredBefore, int standing, bool right);

// Faces of a question button; Answered is the exam's answer sheet while the exam runs (no
// verdict yet).
enum class Face { Unanswered, Right, Wrong, Answered };
// The face for a current-practice answer against the key.
Face FaceFor(const QString& e2_1, const QString& key);
// The picture file (relative to the program folder) of a face, released (up) or pressed (down).
QString FacePicture(Face face, bool down);
// The six question-button pictures, in the order the practice window loads them.
QStringList QuestionButtonPictures();
// The exam's answer-sheet pictures: the question-button pictures and the answered face.
QStringList AnswerSheetPictures();
// The two type-tab pictures, up and down.
QStringList TypeTabPictures();

// Button states that follow the question on show.
struct ButtonStates {
    bool explanation = false; // 解析
    bool points = false;      // 考点
    bool answer = false;      // 答案
    QString noteCaption;      // 笔记 / 有内容
};
// answeredNow: E2_1 not empty. hasExplanation: jx present and not empty. firstPoint: the
// question's first knowledge point (empty when it has none).
ButtonStates StatesFor(bool answeredNow, bool hasExplanation, const QString& firstPoint,
                       int typeCode, const QString& note);

// Answer time of a type: the TypeTimes entry of the first TypeCodes entry equal to the code, or 600
// when the type is missing. The answer timer ticks with this interval in milliseconds; the gauge
// fills in 100 ticks.
int AnswerTimerInterval(int typeCode, const QVector<int>& typeCodes, const QVector<int>& typeTimes);

// Question groups of 20 on the question buttons.
constexpr int kGroupSize = 20;
struct Group {
    int number = 1; // 1-based
    int start = 1;  // record number of its first question
    int count = 0;  // questions in it, 0..20
};
int GroupTotal(int questions);            // number of groups, total / 20 rounded up
Group GroupAt(int number, int questions); // group n of a set
// The question button (1..20) of a record number.
int ButtonOfRecord(int recNo);

} // namespace Question
