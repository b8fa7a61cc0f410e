#pragma once

#include "practice/practice_session.h"
#include "practice/question_model.h"
#include "practice/question_parts.h"

#include <QDialog>
#include <QPixmap>
#include <QString>
#include <QVector>
#include <QWidget>

#include <array>

class AnswerPad;
class Dataset;
class DbRichView;
class EffectButton;
class ElapsedClock;
class Gauge;
class PictureButton;
class QButtonGroup;
class QLabel;
class QPlainTextEdit;
class QTimer;
class QWidget;

// The chapter practice window: runs one practice over the question set in App::PracticeQuerySql.
// One question on show at a time, filtered by type tabs, reached through 20 numbered question
// buttons per group or question by question; every answer is judged and counted when the learner
// finishes the question, leaves it or closes the window.
//
// The opener creates the window, calls LoadQuestionSet() and shows it modally when that answers
// yes; it destroys the window when it returns.
class TFrmLxxt : public QDialog {
    Q_OBJECT

    // First: the form fields below refer to it.
    PracticeSession session_;

  public:
    explicit TFrmLxxt(QWidget* owner = nullptr);
    ~TFrmLxxt() override;

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

    // The practice this window binds to its controls.
    PracticeSession& session() { return session_; }

    // Form fields, kept by the session.
    const int& CurrentRecNo;
    const int& GroupStart;
    const int& GroupCount;
    int groupEnd() const { return session_.groupEnd(); }

    // The filter text of the question list ("" or "A13=<code>").
    QString listFilterText() const { return session_.filterText(); }

    // Controls, named as the window's design names them.
    QLabel* Image1 = nullptr;   // background
    QLabel* epLabel2 = nullptr; // hint board: the chapter heading
    QLabel* Label11 = nullptr;  // 第
    QLabel* Label12 = nullptr;  // n
    QLabel* Label13 = nullptr;  // 题
    QLabel* Label14 = nullptr;  // （第
    QLabel* Label15 = nullptr;  // m
    QLabel* Label16 = nullptr;  // 次出现）
    QLabel* Label21 = nullptr;  // voided / added by the learner
    QLabel* Label24 = nullptr;  // 本题被您修改过
    QuestionPane* Panel1 = nullptr;
    DbRichView* Re1 = nullptr;
    PaneSplitter* FlatSplitter1 = nullptr;
    DbRichView* Re2 = nullptr;
    AnswerPanel* Panel2 = nullptr;
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
    QWidget* fcBG_tx = nullptr;
    QButtonGroup* fcBG_txGroup = nullptr;
    QVector<PictureButton*> typeTabs; // 任意 first, then one per type
    QLabel* epLabel3 = nullptr;       // 题目指示板
    QWidget* fcBG_th = nullptr;
    QButtonGroup* fcBG_thGroup = nullptr;
    std::array<PictureButton*, Question::kGroupSize> questionButtons{}; // fcBG_thfcImageBtn1..20
    QLabel* Label2 = nullptr;                                           // 共
    QLabel* Lb_zs = nullptr;
    QLabel* Label4 = nullptr; // 组
    QLabel* Lb_ts = nullptr;
    QLabel* Label6 = nullptr; // 道题
    QLabel* Label7 = nullptr; // 第
    QLabel* Lb_zb = nullptr;
    QLabel* Label9 = nullptr;                 // 组
    EffectButton* FlatSpeedButton1 = nullptr; // <-上一组
    EffectButton* FlatSpeedButton2 = nullptr; // 下一组->
    EffectButton* epEfTrBtn1 = nullptr;       // 上一题
    EffectButton* epEfTrBtn2 = nullptr;       // 下一题
    EffectButton* epEfTrBtn3 = nullptr;       // 完成
    EffectButton* epEfTrBtn4 = nullptr;       // 解析
    EffectButton* epEfTrBtn5 = nullptr;       // 笔记
    EffectButton* epEfTrBtn6 = nullptr;       // 答案
    EffectButton* epEfTrBtn7 = nullptr;       // 桌面
    EffectButton* epEfTrBtn8 = nullptr;       // 设置
    EffectButton* epEfTrBtn9 = nullptr;       // 考点
    EffectButton* epEfTrBtn10 = nullptr;      // 题目作废
    EffectButton* epEfTrBtn11 = nullptr;      // 修改本题
    EffectButton* epEfTrBtn99 = nullptr;      // 关闭
    PracticeAnimation* RxGIFAnimator1 = nullptr;

    // The question button with a 1-based number.
    PictureButton* questionButton(int number) const;
    // The type tab with the given tag, nullptr when there is none.
    PictureButton* typeTab(int tag) const;
    // Presses a type tab as a click would.
    void pressTypeTab(PictureButton* tab);

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
    void epEfTrBtn7Click();
    void epEfTrBtn8Click();
    void epEfTrBtn9Click();
    void epEfTrBtn10Click();
    void epEfTrBtn11Click();
    void epEfTrBtn99Click();

    // Every way of closing passes FormCloseQuery once.
    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void buildControls();
    void LayOut();
    void pressQuestionButton(int number);
    void showGroupCounters();
    void closeAnswerPanelNow();
    void onTypeTabToggled(PictureButton* tab, bool checked);
    void failPictures();
    void wire(EffectButton* b, void (TFrmLxxt::*handler)());

    QuestionFaces faces_;
    VoidToggle voidToggle_;
    QVector<QPixmap> tabPictures_; // kvattxup, kvattxdw
    QPixmap background_;
    PictureButton* currentTab_ = nullptr;
    bool picturesMissing_ = false;
    bool closeQueried_ = false;
};
