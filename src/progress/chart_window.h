#pragma once

#include <QDialog>
#include <QString>
#include <QVector>

class ChartPage;
class EffectButton;
class QBarSeries;
class QBarSet;
class QButtonGroup;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QPieSeries;
class QRadioButton;
class QStackedWidget;

// The score chart: three charts over the charted chapters (C7 = '0') of the chapter tree, read
// from their counters when the window shows — how often each chapter was practised and answered
// wrong, how the questions are spread over the chapters, and how far each is worked through. The
// learner picks the chart, the legend's place and the display options, and prints the chart or
// saves it as a picture.
class Tfrmchart : public QDialog {
    Q_OBJECT

  public:
    explicit Tfrmchart(QWidget* owner = nullptr);
    ~Tfrmchart() override;

    // Pages of Notebook1.
    enum Page { FrequencyPage = 0, DistributionPage = 1, ProgressPage = 2 };

    // The colour of the chart point at position i (from 0): 255 + 80000 * i as a 24-bit value
    // with red in the low byte, green in the middle and blue in the high byte.
    static QColor PointColor(int i);

    // Controls, named as the window's design names them.
    QFrame* epBevel1 = nullptr; // the panel's frame
    QFrame* epBevel2 = nullptr; // the chart's frame
    QStackedWidget* Notebook1 = nullptr;
    ChartPage* DBChart1 = nullptr; // frequency
    ChartPage* DBChart2 = nullptr; // distribution
    ChartPage* DBChart3 = nullptr; // progress
    QBarSet* Series1 = nullptr;    // answers given, per chapter
    QBarSet* Series4 = nullptr;    // wrong answers, per chapter
    QPieSeries* Series2 = nullptr; // questions, per chapter
    QBarSeries* Series3 = nullptr; // progress: one bar set per chapter with questions
    QLabel* Label1 = nullptr;      // 习题总数:
    QLabel* Label2 = nullptr;      // the total
    EffectButton* epEfTrBtn1 = nullptr;
    QGroupBox* RadioGroup1 = nullptr; // chart type: 习题分布, 频度统计, 进度统计
    QGroupBox* RadioGroup2 = nullptr; // legend: 上方, 下方, 左侧, 右侧
    QGroupBox* GroupBox1 = nullptr;
    QCheckBox* CheckBox1 = nullptr;         // 立体显示
    QCheckBox* CheckBox2 = nullptr;         // 显示图例
    QCheckBox* CheckBox3 = nullptr;         // 显示标签
    EffectButton* epFocusButton3 = nullptr; // 存为...
    EffectButton* epFocusButton1 = nullptr; // 打印
    EffectButton* epFocusButton2 = nullptr; // 关闭

    // The item indexes of the radio groups; setting one runs its click handler, as a click does.
    int radioGroup1Index() const;
    void setRadioGroup1Index(int index);
    int radioGroup2Index() const;
    void setRadioGroup2Index(int index);
    QRadioButton* radioGroup1Item(int index) const;
    QRadioButton* radioGroup2Item(int index) const;

    // The chart of the page on show.
    ChartPage* currentChart() const;

  public Q_SLOTS:
    void FormShow();
    void RadioGroup1Click();
    void RadioGroup2Click();
    void CheckBox1Click();
    void CheckBox2Click();
    void CheckBox3Click();
    void epFocusButton1Click();
    void epFocusButton2Click();
    void epFocusButton3Click();
    void epEfTrBtn1Click();

  public:
    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    struct ChapterRow {
        QString name;     // C2
        qint64 questions; // C3
        qint64 done;      // C4
        qint64 answers;   // D1
        qint64 wrong;     // D2
    };

    void LayOut();
    void readChapters();
    // The charts are filled when their page first shows, so a window over many chapters opens
    // on the frequency chart without laying out the other two.
    void fillPage(int page);
    void fillFrequency();
    void fillDistribution();
    void fillProgress();
    void showTotal();
    void placeTotal();

    QVector<ChapterRow> rows_;
    bool shown_ = false;
    bool filled_[3] = {false, false, false};
    QButtonGroup* group1_ = nullptr;
    QButtonGroup* group2_ = nullptr;
};
