#pragma once

#include <QDate>
#include <QDateEdit>
#include <QDialog>

class EffectButton;
class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;

// The exam-date field of the study plan: a date with a calendar button. The field and its button
// carry hints of their own. A date at minimumDate() reads as no date and shows "未设置".
class ExamDateEdit : public QDateEdit {
    Q_OBJECT

  public:
    explicit ExamDateEdit(QWidget* parent = nullptr);

    // The hint at a point of the field: the button's over the calendar button, else the field's.
    QString hintAt(const QPoint& pos) const;
    QString buttonHint() const { return buttonHint_; }
    void setButtonHint(const QString& hint) { buttonHint_ = hint; }

    // No exam date: the field shows "未设置".
    void clearDate();
    bool hasDate() const { return date() != minimumDate(); }

  protected:
    bool event(QEvent* event) override;

  private:
    QString buttonHint_;
};

// 学习计划: how many days are left until the real exam, the exam date and the daily target of
// the settings row tab_plan, either answers per day (PlanMark 0, PlanAmount) or minutes per day
// (PlanMark 1, PlanTime). The window opens in the view state (设定): date and plan kind locked,
// both number fields open. 设定 opens the date and the plan kind and turns into 保存, which writes
// the first row of tab_plan (one update) and locks them again. Nothing else writes: closing the
// window in the edit state keeps what is stored.
//
// A stored ExamDate that is no date reads as not set: the window opens with the other values, the
// countdown says so, and 设定 proposes today, so that 保存 always stores a date (yyyy-MM-dd).
class TFrmplan : public QDialog {
    Q_OBJECT

  public:
    explicit TFrmplan(QWidget* owner = nullptr);
    ~TFrmplan() override;

    // The days from today to the exam date, negative once it has passed.
    static qint64 DaysLeft(const QDate& today, const QDate& examDate);
    // The number shown for the days left: at most 999.
    static QString DaysText(qint64 days);

    static QColor FarColor() { return QColor(100, 203, 37); } // more than 7 days left
    static QColor NearColor() { return QColor(Qt::red); }     // 7 days or fewer

    // Whether SpeedButton1 stands for saving (the edit state).
    bool IsEditing() const;
    // The plan kind chosen: 0 by answers, 1 by minutes.
    int PlanKind() const;
    void SetPlanKind(int index);

    // Controls, named as the window's design names them.
    QLabel* Image1 = nullptr;   // background
    QLabel* epLabel1 = nullptr; // the countdown line before the number
    QLabel* Label1 = nullptr;   // days left
    QLabel* epLabel2 = nullptr; // 天
    QLabel* Label2 = nullptr;   // 考试日：
    ExamDateEdit* DateEdit1 = nullptr;
    QGroupBox* SeSkinRadioGroup1 = nullptr; // the plan kind
    QRadioButton* SeSkinRadioGroup1Item0 = nullptr;
    QRadioButton* SeSkinRadioGroup1Item1 = nullptr;
    QLineEdit* suiNumberEdit1 = nullptr;  // PlanAmount
    QLineEdit* suiNumberEdit2 = nullptr;  // PlanTime
    EffectButton* SpeedButton1 = nullptr; // 设定 / 保存
    EffectButton* SpeedButton2 = nullptr; // 关闭

  public Q_SLOTS:
    void FormShow();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void SeSkinRadioGroup1Click();
    void FormCloseQuery();

  public:
    // Every way of closing passes FormCloseQuery.
    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void ShowCountdown();       // the whole countdown display
    void ShowDaysLeft();        // the number only
    void ShowCountdownStatus(); // the line, its colour and what is shown
    void SavePlan();
    void PlaceNumberEdits();

    QButtonGroup* kinds_ = nullptr;
};
