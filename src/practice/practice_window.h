#pragma once

#include "practice/practice_boards.h"
#include "practice/practice_session.h"
#include "practice/question_model.h"
#include "practice/question_parts.h"

#include <QDialog>
#include <QPixmap>
#include <QString>
#include <QVector>
#include <QWidget>

#include <array>
#include <memory>
#include <utility>
#include <vector>

class AnswerPad;
class Dataset;
class DbRichView;
class EffectButton;
class ElapsedClock;
class Gauge;
class PictureButton;
class QLabel;
class QPlainTextEdit;
class QTimer;
class QWidget;

// Where the controls of a practice window sit in one screen layout.
struct PracticeLayout {
    QSize window;
    QRect hint, line, notice, modified, pane, gauge, clockLabel, clock, animation, typeBoard,
        typeTabs, questionBoard, questionButtons;
    QPoint counters;  // left and top of 共 x 组 y 道题
    int countersTop2; // top of 第 z 组
    QRect prevGroup, nextGroup, pad;
    std::vector<std::pair<Control, QRect>> buttons; // every other button by its role
};

// What makes one practice window out of the shared one.
struct PracticeWindowSetup {
    QString objectName;
    QString title;
    const ControlNames* names = nullptr;
    PracticeConfig config;
    const PracticeLayout* small = nullptr; // for 800 x 600 screens
    const PracticeLayout* large = nullptr; // for every other screen
    bool explanation = true;               // 解析 is offered (else hidden throughout)
    // Showing writes App::ChapterHeading into the hint board (else it keeps what the opener
    // wrote there).
    bool hintIsChapterHeading = true;
};

// A window that runs one practice over the question set in App::PracticeQuerySql. One question on
// show at a time, filtered by type tabs, reached through 20 numbered question buttons per group or
// question by question; every answer is judged and counted when the learner finishes the
// question, leaves it or closes the window. The chapter practice and the practice over one
// knowledge point are two configurations of it.
//
// The opener creates the window, calls LoadQuestionSet() and shows it modally when that answers
// yes; it destroys the window when it returns.
class PracticeWindow : public QDialog {
    Q_OBJECT

  protected:
    PracticeWindow(const PracticeWindowSetup& setup, QWidget* owner);

    PracticeWindowSetup setup_;
    PracticeSession session_;
    const ControlNames& names_;

  public:
    ~PracticeWindow() override;

    // 考点, 修改本题 and 设置 open the windows WindowNames::QuestionPoints, EditQuestion and
    // Settings of the window registry over this window; while nothing is registered under a name
    // its button does nothing.

    // Set-up: empties the current-practice answers, runs the question set, builds the type tabs.
    // Answers yes when the set holds at least one question.
    bool LoadQuestionSet();

    // Operations of the window.
    void ApplyTypeFilter(const QString& filterText, Dataset* list);
    void FillGroup(const QString& mode, int total, Dataset* list);
    void GoToQuestion(int oldRecNo, int recNo, int groupStart, int groupEnd, Dataset* list,
                      Dataset* content);
    void ShowStem(const QString& questionId);
    void PresentQuestion(int page, Dataset* list, Dataset* content);
    void JudgeAnswer(int recNo, int page, int groupStart, int groupEnd, Dataset* list,
                     Dataset* content, int mode);
    void ToggleAnswerPanel();

    // The practice this window binds to its controls, and the names it gives them.
    PracticeSession& session() { return session_; }
    const ControlNames& names() const { return names_; }

    // Form fields, kept by the session.
    int CurrentRecNo() const { return session_.currentRecNo; }
    int GroupStart() const { return session_.groupStart(); }
    int GroupCount() const { return session_.groupCount(); }
    int groupEnd() const { return session_.groupEnd(); }

    // The filter text of the question list ("" or "A13=<code>").
    QString listFilterText() const { return session_.filterText(); }

    // Controls, named as the window's design names them.
    QLabel* epLabel2 = nullptr;     // hint board: the chapter or knowledge-point heading
    QLabel* Label12 = nullptr;      // n in 第 n 题（第 m 次出现） (Label11 .. Label16)
    QLabel* Label15 = nullptr;      // m
    QLabel* Label21 = nullptr;      // voided / added by the learner
    QuestionPane* Panel1 = nullptr; // with Re1, FlatSplitter1 and Re2
    DbRichView* Re1 = nullptr;
    PaneSplitter* FlatSplitter1 = nullptr;
    DbRichView* Re2 = nullptr;
    AnswerPanel* Panel2 = nullptr; // with Lb_answtip, Memo1 and Memo2
    QLabel* Lb_answtip = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QPlainTextEdit* Memo2 = nullptr;
    AnswerPad* Notebook1 = nullptr;
    Gauge* epIndiGauge1 = nullptr;
    QTimer* Timer1 = nullptr;
    ElapsedClock* KZTimeCounter1 = nullptr;
    QLabel* Label1 = nullptr;   // 时钟
    QLabel* epLabel1 = nullptr; // the clock's text
    QLabel* epLabel4 = nullptr; // 题型指示板
    TypeBoard* fcBG_tx = nullptr;
    QLabel* epLabel3 = nullptr; // 题目指示板
    QuestionBoard* fcBG_th = nullptr;
    PracticeAnimation* RxGIFAnimator1 = nullptr;
    // The buttons by role (null for a role the window has none for), and the group counters.
    EffectButton* button(Control role) const { return buttons_[std::size_t(role)]; }
    const GroupCounters& counters() const { return *counters_; }

    // The type tabs, 任意 first; the tab with a tag (nullptr when there is none).
    const QVector<PictureButton*>& typeTabs() const { return fcBG_tx->tabs(); }
    PictureButton* typeTab(int tag) const { return fcBG_tx->tab(tag); }
    // Presses a type tab as a click would.
    void pressTypeTab(PictureButton* tab) { fcBG_tx->press(tab); }
    // The question button with a 1-based number.
    PictureButton* questionButton(int number) const { return fcBG_th->button(number); }

    // True when the pictures could not be loaded (the program has been told to end).
    bool picturesMissing() const { return picturesMissing_; }

  public Q_SLOTS:
    void FormCreate();
    void FormShow();
    void FormCloseQuery();
    void FormKeyDown(int key);
    void Notebook1MouseMove();
    void Timer1Timer();
    void KZTimeCounter1Timer();
    void fcBG_txChange(PictureButton* oldTab, PictureButton* newTab);
    void fcBG_thChange();
    void FlatSpeedButton1Click();
    void FlatSpeedButton2Click();
    void epEfTrBtn1Click();
    void epEfTrBtn2Click();
    void epEfTrBtn3Click();
    void epEfTrBtn4Click();
    void epEfTrBtn5Click();
    void epEfTrBtn6Click();
    void epEfTrBtn8Click();
    void epEfTrBtn9Click();
    void epEfTrBtn10Click();

    // Every way of closing passes FormCloseQuery once.
    void done(int result) override;

  protected:
    // The buttons whose handler names differ between the windows.
    void showDesktop();
    void editQuestion();
    void closeWindow();

    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    AnswerKeys keys();
    void paintEvent(QPaintEvent* event) override;

    QLabel* modifiedNotice_ = nullptr; // 本题被您修改过; null where the window has none

  private:
    void buildControls();
    void LayOut();
    // Fills the question buttons with the session's group and shows its first question.
    void showGroup();
    void failPictures();

    QuestionLine* line_ = nullptr;
    std::unique_ptr<PracticeTimers> timers_;
    QuestionFaces faces_;
    VoidToggle voidToggle_;
    AnswerToggle answerToggle_;
    std::unique_ptr<GroupCounters> counters_;
    std::array<EffectButton*, kControlCount> buttons_{};
    QPixmap background_;
    bool picturesMissing_ = false;
    bool closeQueried_ = false;
};

// The chapter practice window.
class TFrmLxxt : public PracticeWindow {
    Q_OBJECT

  public:
    explicit TFrmLxxt(QWidget* owner = nullptr);

    QLabel* Label24 = nullptr; // 本题被您修改过

  public Q_SLOTS:
    void epEfTrBtn7Click();  // 桌面
    void epEfTrBtn11Click(); // 修改本题
    void epEfTrBtn99Click(); // 关闭
};
