#include "widgets/gauge.h"

#include <QPainter>

#include <algorithm>

Gauge::Gauge(QWidget* parent) : QWidget(parent) {}

void Gauge::setValue(int value) {
    value = std::clamp(value, 0, maximum_);
    if (value == value_)
        return;
    value_ = value;
    update();
    Q_EMIT valueChanged(value_);
}

void Gauge::setMaximum(int maximum) {
    maximum_ = std::max(1, maximum);
    if (value_ > maximum_) {
        value_ = maximum_;
        Q_EMIT valueChanged(value_);
    }
    update();
}

void Gauge::setThreshold(int percent) {
    threshold_ = std::clamp(percent, 0, 100);
    update();
}

void Gauge::setOrientation(Qt::Orientation orientation) {
    orientation_ = orientation;
    updateGeometry();
    update();
}

bool Gauge::aboveThreshold() const {
    // value / maximum > threshold / 100, in whole numbers.
    return qint64(value_) * 100 > qint64(threshold_) * maximum_;
}

QColor Gauge::barColor() const {
    return aboveThreshold() ? highColor() : lowColor();
}

QSize Gauge::sizeHint() const {
    return orientation_ == Qt::Vertical ? QSize(16, 120) : QSize(120, 16);
}

void Gauge::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect frame = rect().adjusted(0, 0, -1, -1);
    p.fillRect(rect(), palette().color(QPalette::Base));
    const QRect inner = rect().adjusted(2, 2, -2, -2);
    if (value_ > 0 && inner.isValid()) {
        QRect bar = inner;
        if (orientation_ == Qt::Vertical) {
            const int h = int(qint64(inner.height()) * value_ / maximum_);
            bar.setTop(inner.bottom() - h + 1);
        } else {
            const int w = int(qint64(inner.width()) * value_ / maximum_);
            bar.setWidth(w);
        }
        p.fillRect(bar, barColor());
    }
    p.setPen(palette().color(QPalette::Mid));
    p.drawRect(frame);
}
