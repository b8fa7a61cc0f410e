#include "widgets/effect_button.h"

#include <QEnterEvent>
#include <QPainter>

EffectButton::EffectButton(QWidget* parent) : QPushButton(parent) {
    setFlat(true);
    setAttribute(Qt::WA_Hover);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
    // Enter belongs to the window (next question), never to a button that happens to be default.
    setAutoDefault(false);
    setDefault(false);
}

EffectButton::EffectButton(const QString& caption, QWidget* parent) : EffectButton(parent) {
    setText(caption);
}

EffectButton* EffectButton::Make(QWidget* parent, const char* name, const QString& caption) {
    auto* b = new EffectButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

QColor EffectButton::captionColor() const {
    if (!isEnabled())
        return disabledColor();
    return hovered_ ? hoverColor() : normalColor();
}

void EffectButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (isDown() || isChecked()) {
        p.setPen(palette().color(QPalette::Mid));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    p.setFont(font());
    p.setPen(captionColor());
    const QRect r = isDown() ? rect().translated(1, 1) : rect();
    p.drawText(r, Qt::AlignCenter | Qt::TextShowMnemonic, text());
}

void EffectButton::enterEvent(QEnterEvent* event) {
    hovered_ = true;
    update();
    QPushButton::enterEvent(event);
}

void EffectButton::leaveEvent(QEvent* event) {
    hovered_ = false;
    update();
    QPushButton::leaveEvent(event);
}

void EffectButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange)
        update();
    QPushButton::changeEvent(event);
}
