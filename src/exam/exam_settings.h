#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The exam settings: the pass mark LeastMark (the lowest score a graded paper needs to stay
// stored) and the exam time ExamTime (stored in seconds, edited in whole minutes) of the settings
// row tab_plan. The pass mark never exceeds the full marks of a paper (Paper::FullMarks): a
// higher one is reported and replaced by the full marks at once, also when it comes from the
// file at show. Only 关闭 saves; leaving the window any other way (Escape) keeps what is stored.
class TFrmEset : public QDialog {
    Q_OBJECT

  public:
    explicit TFrmEset(QWidget* owner = nullptr);
    ~TFrmEset() override;

    // Controls, named as the window's design names them.
    QCheckBox* suiCheckBox1 = nullptr; // 保留试卷最低分数: reset the pass mark by 默认
    QLineEdit* suiNumberEdit1 = nullptr;
    QLabel* Label1 = nullptr;          // 分
    QCheckBox* suiCheckBox2 = nullptr; // 模拟考试答题时间: reset the exam time by 默认
    QLineEdit* suiNumberEdit2 = nullptr;
    QLabel* Label2 = nullptr;          // 分钟
    QPushButton* suiButton1 = nullptr; // 默认
    QPushButton* suiButton2 = nullptr; // 关闭 (saves)

  public Q_SLOTS:
    void FormShow();
    // Both check boxes: 默认 is enabled while at least one is ticked.
    void suiCheckBox1Click();
    void suiButton1Click();
    void suiButton2Click();
    void suiNumberEdit1Change();
    void FormCloseQuery();

  public:
    // Every way of closing passes FormCloseQuery.
    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};
