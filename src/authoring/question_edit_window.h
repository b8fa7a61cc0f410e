#pragma once

#include "authoring/question_form.h"

#include <QString>

class DbRichEdit;
class EffectButton;
class QLabel;

// Question editing: the learner changes the question on show in the chapter practice — its text,
// explanation and, for a case question, the shared case text (all kept as rich text), the option
// count, the answer, the type and the knowledge points. Saving writes it all in one transaction,
// counts one more modification (ecount) and recounts the knowledge points' question numbers; a
// failure keeps the window open with what was typed.
//
// The window works on the data module's rows of the practice's current question: Cn1Query_tm,
// cn1query_nr and, for a case question, Cn1Query2. The practice's answer timer (the owner's child
// "Timer1") is switched on again however the window closes.
class TfrmTedit : public QuestionForm {
    Q_OBJECT

  public:
    explicit TfrmTedit(QWidget* owner = nullptr);
    ~TfrmTedit() override;

    // Opens the window over the practice window owner for its question on show, questionId;
    // shows nothing when that is not the current row of the practice's list.
    static int EditQuestion(QWidget* owner, const QString& questionId);

    // Controls, named as the window's design names them.
    QLabel* LabelText = nullptr;          // 试题内容：
    DbRichEdit* RxDBRichEdit3 = nullptr;  // the shared case text
    DbRichEdit* RxDBRichEdit1 = nullptr;  // the question text
    QLabel* LabelExplanation = nullptr;   // 试题解析：
    DbRichEdit* RxDBRichEdit2 = nullptr;  // the explanation
    EffectButton* SpeedButton4 = nullptr; // 保存
    EffectButton* SpeedButton3 = nullptr; // 取消
    EffectButton* SpeedButton2 = nullptr; // 使用说明

    bool isCaseQuestion() const { return caseQuestion_; }

  public Q_SLOTS:
    void FormShow();
    void SpeedButton2Click();
    void SpeedButton3Click();
    void SpeedButton4Click();

  public:
    // Every way of closing switches the practice's answer timer on again.
    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void LayOut();
    void loadQuestion();

    bool caseQuestion_ = false;
    bool loaded_ = false;
};
