#include "widgets/picture_button.h"

#include <QEnterEvent>
#include <QPainter>

PictureButton::PictureButton(QWidget* parent) : QAbstractButton(parent) {
    setAttribute(Qt::WA_Hover);
}

PictureButton::PictureButton(const QString& caption, QWidget* parent) : PictureButton(parent) {
    setText(caption);
}

void PictureButton::setFaces(const QPixmap& up, const QPixmap& down) {
    up_ = up;
    down_ = down;
    updateGeometry();
    update();
}

void PictureButton::setHoverFace(const QPixmap& hover) {
    hover_ = hover;
    update();
}

void PictureButton::setCaptionColor(const QColor& color) {
    caption_ = color;
    update();
}

QPixmap PictureButton::currentFace() const {
    if (showsDownFace())
        return down_.isNull() ? up_ : down_;
    if (hovered_ && isEnabled() && !hover_.isNull())
        return hover_;
    return up_;
}

QSize PictureButton::sizeHint() const {
    if (!up_.isNull())
        return up_.size();
    const QFontMetrics fm(font());
    return QSize(fm.horizontalAdvance(text()) + 12, fm.height() + 8);
}

void PictureButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QPixmap face = currentFace();
    if (!face.isNull()) {
        p.drawPixmap(rect(), face);
    } else {
        // Without pictures the button still shows its state.
        p.fillRect(rect(), showsDownFace() ? palette().dark() : palette().button());
        p.setPen(palette().color(QPalette::Shadow));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    if (!text().isEmpty()) {
        p.setPen(isEnabled() ? caption_ : QColor(128, 128, 128));
        const QRect r = showsDownFace() ? rect().translated(1, 1) : rect();
        p.drawText(r, Qt::AlignCenter, text());
    }
}

void PictureButton::enterEvent(QEnterEvent* event) {
    hovered_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void PictureButton::leaveEvent(QEvent* event) {
    hovered_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}
