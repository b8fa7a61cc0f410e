#pragma once

#include "widgets/step_aside_dialog.h"

#include <QString>

#include <functional>

class DatasetTableModel;
class EffectButton;
class QLabel;
class QLCDNumber;
class QPushButton;
class QTableView;

// The chapter browser: the subject and chapter tree of tab_kmmc with its practice counters, the
// totals of the whole book, and the entry to the three chapter practices (new questions, wrong
// questions, questions done before) on the selected node.
class TFrmkmmc : public StepAsideDialog {
    Q_OBJECT

  public:
    // The three practices, as the practice buttons' tags tell them.
    enum Practice { NewQuestions = 1, WrongQuestions = 2, DoneQuestions = 3 };

    explicit TFrmkmmc(QWidget* owner = nullptr);
    ~TFrmkmmc() override;

    // Code of the node last chosen for practice; the browser returns to it whenever it is shown.
    QString SelectedChapter;

    // The question set of a practice on the node `code` as SQL text for the practice window,
    // chapter code quoted as an SQL string. byDoubleClick: the grid's double-click, whose new
    // question set is ordered without the id. Empty for a tag that names no practice.
    static QString PracticeSql(int tag, const QString& code, bool byDoubleClick = false);

    // Question entry (SpeedButton5) and settings (epEfButton5) are the windows
    // WindowNames::QuestionEntry and WindowNames::Settings of the window registry; while nothing
    // is registered under a name its button does nothing. An error escaping question entry is
    // reported as a failed entry.

    // While a practice runs the browser is hidden; when the practice window closes the browser
    // comes back in the same modal run.

    // Controls, named as the window's design names them.
    QLabel* Image1 = nullptr;  // background of the "800" layout
    QLabel* Image11 = nullptr; // background of the "1024" layout
    QTableView* DBGrid1 = nullptr;
    DatasetTableModel* DBGrid1Model = nullptr;
    QLabel* epLabel3 = nullptr; // 总习题数
    QLabel* epLabel4 = nullptr; // 已做题道次
    QLabel* epLabel5 = nullptr; // 做错题道次
    QLabel* epLabel6 = nullptr; // 综合成绩
    QLCDNumber* epNum_all = nullptr;
    QLCDNumber* epNum_ok = nullptr;
    QLCDNumber* epNum_Err = nullptr;
    QLabel* Lb_fs = nullptr;
    EffectButton* SpeedButton1 = nullptr; // 练习新题, tag 1
    EffectButton* SpeedButton2 = nullptr; // 错题重做, tag 2
    EffectButton* SpeedButton3 = nullptr; // 习题重温, tag 3
    EffectButton* SpeedButton4 = nullptr; // 设置
    EffectButton* SpeedButton5 = nullptr; // 试题录入
    EffectButton* SpeedButton6 = nullptr; // 关闭
    QPushButton* epEfButton1 = nullptr;   // invisible twins of the practice buttons
    QPushButton* epEfButton2 = nullptr;
    QPushButton* epEfButton3 = nullptr;

  public Q_SLOTS:
    void FormCreate();
    void FormShow();
    void FormHide() {}
    void FormCloseQuery();
    // Starts the practice told by the tag of `pressed` (1, 2 or 3).
    void epEfButton1Click(QObject* pressed);
    void epEfButton2Click();
    void epEfButton3Click();
    void epEfButton5Click(); // settings
    void epEfButton6Click(); // question entry for the selected chapter
    void SpeedButton6Click();
    void DBGrid1DblClick();

  public:
    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void StartPractice(int tag, bool byDoubleClick);
    void LayOut();
    void ShowTotals();
    void FollowDatasetRow(int row);
    void FollowGridRow();
    static bool IsSubjectOrPart(const QString& code);

    bool syncing_ = false;
};
