#pragma once

// One practice over a question set, without widgets: the question list and its type filter, the
// groups of 20 on the question buttons, moving question by question and group by group, recording
// answers, voiding, the answer time. The practice windows bind it to their controls; each window
// is a configuration (its texts, which notices it shows), never a copy of these rules.

#include "practice/question_model.h"

#include <QDate>
#include <QString>
#include <QVariantMap>

class Dataset;
class TDM1;

// What differs between the windows that run a practice.
struct PracticeConfig {
    QString voidCaption = QStringLiteral("题目作废");   // the void button while not voided
    QString unvoidCaption = QStringLiteral("取消作废"); // ... while voided
    QString voidedNotice = QStringLiteral("本题已被您作废！");
    QString unvoidedNotice = QStringLiteral("本题曾被作废，现已被您取消！");
    QString addedNotice = QStringLiteral("本题是您加入的题目！");
    QString modifiedNotice = QStringLiteral("本题被您修改过"); // empty: the window has none
    QString noAnswerText = QStringLiteral("请先做出答案！");   // finishing without an answer
    // The subjective page's side label follows the type tab's caption (else it stays 主观).
    bool subjectiveLabelFollowsTab = true;

    // The chapter practice; the practice over one knowledge point.
    static PracticeConfig Chapter();
    static PracticeConfig KnowledgePoint();
};

class PracticeSession {
  public:
    PracticeSession(TDM1& dm, Dataset* list, PracticeConfig config = PracticeConfig::Chapter());

    const PracticeConfig& config() const { return config_; }
    Dataset* list() const { return list_; }

    // Set-up: empties the current-practice answer of every question, runs sql with its bound
    // values on the list. Answers whether the set holds a question.
    bool load(const QString& sql, const QVariantMap& params = {});

    // Type filter: "" shows every question, "A13=<code>" the questions of one type.
    static QString FilterFor(int typeCode); // 0: ""
    void applyTypeFilter(const QString& filterText);
    QString filterText() const { return filterText_; }
    int total() const; // questions in the list as filtered

    // Groups. firstGroup() starts at group 1 of the filtered list; previousGroup()/nextGroup()
    // move by one (they do nothing beyond the first or last group). Each leaves the current
    // question alone: the window shows the group's first question next.
    void firstGroup();
    void previousGroup();
    void nextGroup();
    const Question::Group& group() const { return group_; }
    int groupNumber() const { return group_.number; }
    int groupTotal() const { return groups_; }
    int groupStart() const { return group_.start; }
    int groupCount() const { return group_.count; }
    int groupEnd() const { return group_.start + group_.count - 1; }
    bool inGroup(int recNo) const { return recNo >= groupStart() && recNo <= groupEnd(); }
    bool previousGroupEnabled() const { return prevGroupEnabled_; }
    bool nextGroupEnabled() const { return nextGroupEnabled_; }
    int totalAtFirstGroup() const { return groupTotalQuestions_; } // 共 .. 道题

    // Question by question, from the record on show. Button: the question's button in the group
    // on show is to be pressed. Group: the neighbouring group was opened (its first question is
    // to be shown). None: nothing happens.
    struct Step {
        enum Kind { None, Button, Group } kind = None;
        int button = 0; // 1..20 with Button
    };
    Step previousQuestion(int current);
    Step nextQuestion(int current);
    bool previousQuestionEnabled(int recNo) const { return recNo > 1; }
    bool nextQuestionEnabled(int recNo) const { return recNo < total(); }

    // The record on show; 0 when none.
    int currentRecNo = 0;

    // Records the answer given on record recNo (moves the list there): judged and counted in one
    // store operation, or, without an answer, only the current-practice answer emptied.
    struct Outcome {
        bool answered = false;
        bool right = false;
        Question::Face face = Question::Face::Unanswered;
    };
    Outcome record(int recNo, const QString& answer, const QDate& today);

    // The values judging reads from a question's current row (A2, E2_1, E2, E1, E3, E4).
    static Question::RowValues RowValuesOf(const Dataset& row);
    // The first knowledge point of a question's current row: its first filled slot of k3..k12
    // (slots need not be packed), or empty.
    static QString FirstPointOf(const Dataset& row);

    // The face of a record's button by its current-practice answer.
    Question::Face faceOf(int recNo) const;

    // What the window shows of the question on show: the notice beside its number, the void
    // button's caption, the modification notice.
    struct Notices {
        QString notice;
        QString voidCaption;
        QString modified;
    };
    Notices noticesOfCurrent() const;
    // Voids the question on show, or cancels its void, by the void button's caption; answers
    // the new notice and caption. Nothing happens (empty notices) on an empty list.
    Notices toggleVoid(const QString& caption);

    // The answer timer's interval for the question on show (milliseconds per gauge step).
    int answerTimerInterval(const QVector<int>& typeCodes, const QVector<int>& typeTimes) const;
    // The answer time ran out on the question on show.
    void markTimeUp();

  private:
    void setGroup(int number);

    TDM1& dm_;
    Dataset* list_;
    PracticeConfig config_;
    QString filterText_;
    Question::Group group_;
    int groups_ = 0;
    int groupTotalQuestions_ = 0;
    bool prevGroupEnabled_ = false;
    bool nextGroupEnabled_ = false;
};
