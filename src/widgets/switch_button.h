#pragma once

#include <QAbstractButton>

// An on/off switch: a rounded track with a knob and the words 开 and 关. Clicking or Space flips
// it; toggled() tells the new state, and switchedOn() / switchedOff() which way it went.
class SwitchButton : public QAbstractButton {
    Q_OBJECT

  public:
    explicit SwitchButton(QWidget* parent = nullptr);

    QSize sizeHint() const override;

  Q_SIGNALS:
    void switchedOn();
    void switchedOff();

  protected:
    void paintEvent(QPaintEvent* event) override;
};
