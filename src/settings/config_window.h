#pragma once

#include <QDialog>
#include <QVector>

class EffectButton;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QScrollArea;
class QSlider;
class SwitchButton;

// 系统设置, in one of two modes chosen by ConfigMode before it is shown.
//
// Mode 0, background music: the switch plays or stops the music, the track list (the MIDI files
// of the program's sound folder) picks the track, the volume slider sets the output level. The
// music keeps playing after the window closes; nothing is stored.
//
// Mode 1, answer times: one editor per row of the question-type table of PaperKind (Currencyedit1
// .., 0.1 to 30 minutes, one decimal). Closing stores every time in the table and refreshes the
// answer-time table TypeTimes / TypeCodes the practice windows use, all or nothing. The menu's
// "sztime" re-lays the window for this mode (RelayoutConfigForAnswerTimes).
class TFrmConfig : public QDialog {
    Q_OBJECT

  public:
    explicit TFrmConfig(QWidget* owner = nullptr);
    ~TFrmConfig() override;

    // The track names of a sound folder: its .mid files without the extension, sorted.
    static QStringList TracksIn(const QString& soundFolder);

    // The time editors built for the type table (mode 1), in row order.
    const QVector<QDoubleSpinBox*>& TimeEditors() const { return editors_; }

    // Controls, named as the window's design names them.
    QLabel* Label1 = nullptr;          // 背景音乐
    SwitchButton* RxSwitch1 = nullptr; // music on / off
    QLabel* Label5 = nullptr;          // 声音列表
    QComboBox* FlatComboBox1 = nullptr;
    QLabel* Label2 = nullptr; // 音量
    QSlider* TrackBar1 = nullptr;
    QLabel* Label3 = nullptr; // the volume level
    QLabel* Label4 = nullptr; // 答题时间设置
    QScrollArea* ScrollBox1 = nullptr;
    EffectButton* epFocusButton3 = nullptr; // 关闭

  public Q_SLOTS:
    void FormShow();
    void FormCloseQuery();
    void RxSwitch1On();
    void RxSwitch1Off();
    void FlatComboBox1Change();
    void TrackBar1Change();
    void epFocusButton3Click();

  public:
    // Every way of closing passes FormCloseQuery once.
    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void BuildTimeEditors();
    void SaveAnswerTimes();

    QVector<QDoubleSpinBox*> editors_;
    bool closing_ = false;
};
