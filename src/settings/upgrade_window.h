#pragma once

#include <QDialog>

class EffectButton;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QToolButton;

// 题库升级: the learner picks an upgrade file (new questions published after the bank), the
// window checks that it is an upgrade file of this product not applied before, backs the bank
// up and merges the file's rows into it in one transaction (BankUpgrade).
//
// The upgrade file is opened read-only on DM1.ADOCn2 and stays open until the window closes.
class Tfrmstxz : public QDialog {
    Q_OBJECT

  public:
    explicit Tfrmstxz(QWidget* owner = nullptr);
    ~Tfrmstxz() override;

    // The name filter of the file picker.
    static QString FileFilter();

    // Applies the upgrade file at path: every check, the backup and the merge, each ending with
    // its message.
    void ApplyUpgrade(const QString& path);

    // Controls, named as the window's design names them.
    QLabel* Label1 = nullptr; // the advice
    QGroupBox* RadioGroup1 = nullptr;
    QRadioButton* RadioGroup1Item0 = nullptr; // 本地升级
    QLineEdit* Edit1 = nullptr;               // the upgrade file's path
    QToolButton* SpeedButton1 = nullptr;      // the folder button
    EffectButton* epFocusButton1 = nullptr;   // 开始升级
    EffectButton* epFocusButton3 = nullptr;   // 关闭

  public Q_SLOTS:
    void FormShow();
    void RadioGroup1Click();
    void SpeedButton1Click();
    void epFocusButton1Click();
    void epFocusButton3Click();
    void FormCloseQuery();

  public:
    // Every way of closing passes FormCloseQuery.
    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};
