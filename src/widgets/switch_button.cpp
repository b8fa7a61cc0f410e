#include "widgets/switch_button.h"

#include <QPainter>
#include <QPainterPath>

SwitchButton::SwitchButton(QWidget* parent) : QAbstractButton(parent) {
    setCheckable(true);
    setChecked(true);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QAbstractButton::toggled, this, [this](bool on) {
        if (on)
            Q_EMIT switchedOn();
        else
            Q_EMIT switchedOff();
    });
}

QSize SwitchButton::sizeHint() const {
    return {58, 24};
}

void SwitchButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF track = QRectF(rect()).adjusted(1, 1, -1, -1);
    const qreal radius = track.height() / 2;
    const bool on = isChecked();
    const QColor fill = !isEnabled() ? QColor(200, 200, 200)
                        : on         ? QColor(46, 125, 214)
                                     : QColor(168, 174, 184);
    QPainterPath path;
    path.addRoundedRect(track, radius, radius);
    p.fillPath(path, fill);
    p.setPen(QPen(fill.darker(125), 1));
    p.drawPath(path);

    const qreal knob = track.height() - 4;
    const QRectF knobRect(on ? track.right() - knob - 2 : track.left() + 2, track.top() + 2, knob,
                          knob);
    p.setPen(QPen(QColor(120, 120, 120), 0.8));
    p.setBrush(Qt::white);
    p.drawEllipse(knobRect);

    QFont f = font();
    f.setPixelSize(qMax(10, int(track.height() * 0.55)));
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    const QRectF words = on ? QRectF(track.left() + 4, track.top(),
                                     knobRect.left() - track.left() - 4, track.height())
                            : QRectF(knobRect.right(), track.top(),
                                     track.right() - knobRect.right() - 4, track.height());
    p.drawText(words, Qt::AlignCenter, on ? QStringLiteral("开") : QStringLiteral("关"));

    if (hasFocus()) {
        p.setPen(QPen(QColor(20, 60, 120), 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(track.adjusted(-0.5, -0.5, 0.5, 0.5), radius, radius);
    }
}
