#pragma once

#include <QColor>
#include <QWidget>

// A gauge of 0..maximum steps (100 unless set) that fills from the bottom (or from the left when
// horizontal). The filled part is green up to the threshold and red above it; the threshold is a
// percentage of the maximum (65 unless set).
class Gauge : public QWidget {
    Q_OBJECT

  public:
    explicit Gauge(QWidget* parent = nullptr);

    int value() const { return value_; }
    int maximum() const { return maximum_; }
    int threshold() const { return threshold_; }
    Qt::Orientation orientation() const { return orientation_; }

    void setMaximum(int maximum); // at least 1; the value is clipped to it
    void setThreshold(int percent);
    void setOrientation(Qt::Orientation orientation);

    // True when the value lies above the threshold.
    bool aboveThreshold() const;
    // The colour the filled part is drawn in now.
    QColor barColor() const;

    static QColor lowColor() { return QColor(0, 160, 64); }
    static QColor highColor() { return QColor(220, 0, 0); }

    QSize sizeHint() const override;

  public Q_SLOTS:
    void setValue(int value); // clipped to 0..maximum

  Q_SIGNALS:
    void valueChanged(int value);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    int value_ = 0;
    int maximum_ = 100;
    int threshold_ = 65;
    Qt::Orientation orientation_ = Qt::Vertical;
};
