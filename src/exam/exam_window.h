#pragma once

#include "exam/exam_session.h"
#include "practice/practice_boards.h"
#include "practice/question_parts.h"

#include <QDialog>
#include <QString>

#include <array>
#include <memory>

class AnswerPad;
class DbRichView;
class EffectButton;
class ElapsedClock;
class PausePanel;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QStackedWidget;

// The exam window: sits one paper (mode "new") against the clock, or reviews a graded one
// (mode "old"). Questions are reached through the answer sheet fcBG_th (95 buttons in 5 columns,
// filled column by column) or question by question; answers are kept on the paper and counted in
// the study statistics as they are given, never judged while the exam runs. Handing in, closing
// or the time limit grades the paper, and the same window turns into its review.
//
// The opener creates the window, calls SetPaper() and OpenPaper(), and shows it modally when
// OpenPaper() answers yes; it destroys the window when it returns.
class TFrmExam : public QDialog {
    Q_OBJECT

  public:
    explicit TFrmExam(QWidget* owner = nullptr);
    ~TFrmExam() override;

    // 考点 opens WindowNames::QuestionPoints of the window registry; while nothing is registered
    // under the name its button does nothing. 生成文档 runs ExportPaper().

    // Stores the paper; mode "new" composes it first (see Paper::BuildPaper for a paper built
    // by the menu; a table already composed is taken as it is).
    void SetPaper(const QString& table, const QString& title, const QString& mode, double score,
                  const QString& timeUsed);
    // Opens the paper (in mode "new" every answer cleared first). A paper that cannot be opened
    // is reported ("无法打开试卷！") and the program is told to end: the answer is then no.
    bool OpenPaper();

    ExamSession& session() { return session_; }
    const QString& PaperTitle() const { return session_.title; }
    const QString& PaperTable() const { return session_.table; }
    const QString& PaperMode() const { return session_.mode; }
    double PaperScore() const { return session_.score; }
    const QString& TimeUsed() const { return session_.timeUsed; }
    bool BelowPassMark() const { return session_.belowPassMark; }

    // The question on show (1-based paper row), 0 before the first.
    int currentRow() const { return current_; }
    // Shows question i (1-based), pressing its sheet button when it has one.
    void goToQuestion(int row);
    bool paused() const;

    // Writes the paper (questions, then the answer section) as a document for the word
    // processor and opens it there, under the progress window. When the paper cannot be read,
    // the document cannot be written or no word processor starts, the warning "导出试题发生错误，
    // 请退出后重试！" is shown; the bank is only read.
    void ExportPaper();

    // Controls, named as the window's design names them.
    QLabel* epLabel2 = nullptr; // paper title
    QLabel* Label3 = nullptr;   // 第
    QLabel* Label5 = nullptr;   // the question's number
    QLabel* Label6 = nullptr;   // 题
    QLabel* Label7 = nullptr;   // type caption
    QLabel* Label1 = nullptr;   // voided / added by the learner
    QLabel* DBText1 = nullptr;  // the question's id, hidden
    QuestionPane* Panel1 = nullptr;
    DbRichView* Re1 = nullptr;
    PaneSplitter* FlatSplitter1 = nullptr;
    DbRichView* Re2 = nullptr;
    AnswerPanel* Panel2 = nullptr;
    QLabel* Lb_answtip = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QPlainTextEdit* Memo2 = nullptr;
    AnswerPad* Notebook1 = nullptr;
    QGroupBox* GroupBox1 = nullptr; // 提示板
    QStackedWidget* Notebook_Time = nullptr;
    QLabel* epLb_time1 = nullptr; // running time (答卷时)
    QLabel* Lb_cap2 = nullptr;    // 用时：(查卷时)
    QLabel* epLb_time2 = nullptr;
    QLabel* Lb_zfs = nullptr;         // 得分：N 分
    QuestionBoard* fcBG_th = nullptr; // the answer sheet
    PausePanel* suiPanel1 = nullptr;
    ElapsedClock* KZTimeCounter1 = nullptr;
    // epEfTrBtn1 上一题, 2 下一题, 3 交卷, 4 解析, 5 笔记, 6 答案, 7 关闭, 9 考点, 10 生成文档,
    // 12 本题作废, 13 暂停考试.
    EffectButton* button(int number) const;

  public Q_SLOTS:
    void FormCreate();
    void FormShow();
    void FormCloseQuery();
    void FormKeyDown(int key);
    void Notebook1MouseMove();
    void KZTimeCounter1Timer();
    void fcBG_thChange();
    void epEfTrBtn1Click();
    void epEfTrBtn2Click();
    void epEfTrBtn3Click(); // also 关闭
    void epEfTrBtn4Click();
    void epEfTrBtn5Click();
    void epEfTrBtn6Click();
    void epEfTrBtn9Click();
    void epEfTrBtn10Click();
    void epEfTrBtn12Click();
    void epEfTrBtn13Click();
    // Grades the paper with the elapsed text and turns the window to review.
    void GradePaper(const QString& elapsed);

    // Every way of closing passes FormCloseQuery once.
    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    AnswerKeys keys();
    void paintEvent(QPaintEvent* event) override;

  private:
    void buildControls();
    void LayOut();
    void SetupAnswerSheet(int rows);
    void ShowAnswerControls(int page);
    QString TypeCaption(int typeCode);
    void ShowStem(const QString& questionId);
    void SaveAnswer(int row, int page, bool updateFaces);
    void showQuestion(int row);
    QVariant rowValue(int row, const char* field) const;
    void setNavigation(int row);
    void timeUp();
    void reportFailure();

    ExamSession session_;
    const ControlNames& names_;
    QuestionFaces faces_;
    VoidToggle voidToggle_;
    AnswerToggle answerToggle_;
    std::array<EffectButton*, 14> buttons_{};
    QLabel* Label2 = nullptr;
    QLabel* Label21 = nullptr;
    int current_ = 0;
    int examTime_ = 0; // seconds; 0: no time limit
    bool firstShow_ = true;
    bool picturesMissing_ = false;
    bool closeQueried_ = false;
    bool navBeforePause_[2] = {false, false};
    QPixmap background_;
};
