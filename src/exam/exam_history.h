#pragma once

#include "widgets/step_aside_dialog.h"

class DatasetTableModel;
class EffectButton;
class QLCDNumber;
class QLabel;
class QTableView;

// The exam history: the papers of the register tab_cj, newest first, with their scores and
// times; the number of exams, the number passed (a score of at least 3/5 of the full marks,
// whatever the pass mark of the settings) and the average score; reviewing a paper in the exam
// window and deleting one with its table. The figures are worked out at every show, so they
// follow a review at once and a delete only when the window is shown again.
class TFrmCheck : public StepAsideDialog {
    Q_OBJECT

  public:
    explicit TFrmCheck(QWidget* owner = nullptr);
    ~TFrmCheck() override;

    // The number a score needs to count as passed with the given full marks: (full div 5) x 3.
    static int PassLine(int fullMarks) { return fullMarks / 5 * 3; }

    // While a paper is reviewed the history is hidden; when the exam window closes the history
    // comes back in the same modal run.

    // Controls, named as the window's design names them.
    QLabel* Image1 = nullptr; // background of the "800" layout
    QLabel* Image2 = nullptr; // background of the "1024" layout
    QTableView* DBGrid1 = nullptr;
    DatasetTableModel* DBGrid1Model = nullptr;
    QLabel* Label1 = nullptr; // 考试次数
    QLabel* Label2 = nullptr; // 及格次数
    QLabel* Label3 = nullptr; // 平均成绩
    QLCDNumber* epNumPanel1 = nullptr;
    QLCDNumber* epNumPanel2 = nullptr;
    QLCDNumber* epNumPanel3 = nullptr;
    QLabel* Lbtip = nullptr;
    // The settings window (WindowNames::Settings of the window registry, background music);
    // while nothing is registered under the name the button does nothing.
    EffectButton* SpeedButton1 = nullptr; // 设置
    EffectButton* SpeedButton2 = nullptr; // 查阅
    EffectButton* SpeedButton3 = nullptr; // 关闭
    EffectButton* SpeedButton4 = nullptr; // 删除

  public Q_SLOTS:
    void FormShow();
    void epEfTrBtn1Click();   // review the selected paper (also a double-click on the grid)
    void SpeedButton4Click(); // delete the selected paper
    void epEfButton3Click();  // settings
    void epEfTrBtn2Click();   // close
    void FormCloseQuery();

  public:
    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void LayOut();
    void FollowDatasetRow(int row);
    void FollowGridRow();
    bool HasCurrentPaper() const;

    bool syncing_ = false;
};
