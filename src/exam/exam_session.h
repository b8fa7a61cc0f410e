#pragma once

// One exam over a paper, without widgets: its rows, saving and counting answers, the faces of
// the answer sheet, grading with the pass-mark rule, voiding. The exam window binds it to its
// controls.

#include "practice/practice_session.h"
#include "practice/question_model.h"

#include <QDate>
#include <QString>

class Dataset;
class TDM1;

class ExamSession {
  public:
    explicit ExamSession(TDM1& dm);

    // The paper (SetPaper's fields).
    QString table;
    QString title;
    QString mode = QStringLiteral("new"); // "new" or "old"
    double score = 0;
    QString timeUsed = QStringLiteral("0:00:00");
    bool belowPassMark = false;
    int kind() const; // PaperKind, 0 taken as 1

    bool isNew() const { return mode == QLatin1String("new"); }

    // Opens the paper's rows by type and id; mode "new" clears every answer first and opens the
    // bank rows of its questions (Cn1Query_tm). Answers whether it holds a question; a missing
    // table throws.
    bool open();
    Dataset* rows() const;
    int rowCount() const;
    bool moveTo(int row) const; // 1-based

    // SaveAnswer: keeps the answer on row (mode "new"). A new or changed answer is counted in the
    // statistics from the paper row and written to the paper row and the question's bank row, in
    // one transaction. Answers the face the row's sheet button gets.
    Question::Face save(int row, const QString& answer, const QDate& today);

    // The face of a row: "new" answered / unanswered, "old" right / wrong.
    Question::Face faceOf(int row) const;

    int unanswered() const;

    // Grades the paper: score, pass mark, the register row's score and time, the study time,
    // all in one transaction; then the session is in mode "old".
    void grade(const QString& elapsed);
    // Hand-in voided, or a paper with too many unanswered questions: the paper is removed.
    void drop();

    // Notices of the row on show (voided / added) and voiding it or cancelling its void, on the
    // paper row and the bank row in one transaction.
    PracticeSession::Notices noticesOfCurrent() const;
    PracticeSession::Notices toggleVoid(const QString& caption);

    static PracticeConfig Config();

  private:
    TDM1& dm_;
};
