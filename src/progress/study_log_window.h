#pragma once

#include <QDialog>
#include <QString>

class DatasetTableModel;
class EffectButton;
class QLabel;
class QTableView;

// 日志: the daily log tab_rz, newest day first, and the totals over all days: the answers given,
// the wrong answers and the overall score (the share of right answers in per cent, two
// decimals). It changes nothing. The layout follows the width of the screen itself: an 800 wide
// screen gets the small one, every other the large one.
class TFrmRz : public QDialog {
    Q_OBJECT

  public:
    explicit TFrmRz(QWidget* owner = nullptr);
    ~TFrmRz() override;

    // The overall score of the totals: "0" below one answer, else the right answers' share.
    static QString OverallScore(qint64 answers, qint64 wrong);

    // The width of the screen the window lays itself out for.
    static int ScreenWidth();
    // Lays the window out for a screen of the given width (FormShow passes ScreenWidth()).
    void LayOut(int screenWidth);

    // Controls, named as the window's design names them.
    QLabel* Image1 = nullptr; // background of the small layout
    QLabel* Image2 = nullptr; // background of the large layout
    QTableView* DBGrid1 = nullptr;
    DatasetTableModel* DBGrid1Model = nullptr;
    QLabel* Label1 = nullptr;   // 已做习题（道次）
    QLabel* Label2 = nullptr;   // 做错习题（道次）
    QLabel* Label3 = nullptr;   // 综合成绩
    QLabel* epLabel2 = nullptr; // answers given over all days
    QLabel* epLabel3 = nullptr; // wrong answers over all days
    QLabel* epLabel4 = nullptr; // overall score
    // The settings window (WindowNames::Settings, background music); while nothing is
    // registered under the name the button does nothing.
    EffectButton* SpeedButton1 = nullptr; // 设置
    // Both close the window; each layout shows one of them.
    EffectButton* SpeedButton2 = nullptr;
    EffectButton* SpeedButton3 = nullptr;

  public Q_SLOTS:
    void FormCreate();
    void FormShow();
    void SpeedButton1Click();
    void SpeedButton3Click();
    void FormCloseQuery();

  public:
    // Every way of closing passes FormCloseQuery.
    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;
};
