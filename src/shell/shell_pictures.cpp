#include "shell/shell_pictures.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace ShellPictures {

QString fileName(Kind kind) {
    switch (kind) {
    case Kind::DialogTitle:
        return QStringLiteral("pic/dlg_title.png");
    case Kind::DialogBackground:
        return QStringLiteral("pic/dlg_back.png");
    case Kind::Notice:
        return QStringLiteral("pic/dlg_notice.png");
    case Kind::Warning:
        return QStringLiteral("pic/dlg_warning.png");
    case Kind::Error:
        return QStringLiteral("pic/dlg_error.png");
    }
    return {};
}

QPixmap load(Kind kind, const QString& appPath) {
    QPixmap pixmap;
    if (!appPath.isEmpty() && pixmap.load(appPath + fileName(kind)) && !pixmap.isNull())
        return pixmap;
    return fallback(kind);
}

namespace {

QPixmap sign(const QColor& colour, const QString& mark, bool triangle) {
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(colour.darker(130), 1.5));
    p.setBrush(colour);
    if (triangle) {
        const QPolygonF shape({QPointF(16, 2), QPointF(30.5, 29), QPointF(1.5, 29)});
        p.drawPolygon(shape);
    } else {
        p.drawEllipse(QRectF(2, 2, 28, 28));
    }
    QFont f;
    f.setPixelSize(triangle ? 18 : 20);
    f.setBold(true);
    p.setFont(f);
    p.setPen(triangle ? QColor(40, 30, 0) : QColor(Qt::white));
    p.drawText(QRectF(0, triangle ? 7 : 1, 32, 26), Qt::AlignCenter, mark);
    return pm;
}

} // namespace

QPixmap fallback(Kind kind) {
    switch (kind) {
    case Kind::DialogTitle: {
        QPixmap pm(787, 25);
        QPainter p(&pm);
        QLinearGradient g(0, 0, 0, 25);
        g.setColorAt(0, QColor(70, 110, 170));
        g.setColorAt(1, QColor(30, 60, 115));
        p.fillRect(pm.rect(), g);
        return pm;
    }
    case Kind::DialogBackground: {
        QPixmap pm(787, 110);
        QPainter p(&pm);
        QLinearGradient g(0, 0, 0, 110);
        g.setColorAt(0, QColor(250, 252, 255));
        g.setColorAt(1, QColor(220, 230, 244));
        p.fillRect(pm.rect(), g);
        p.setPen(QColor(30, 60, 115));
        p.drawRect(pm.rect().adjusted(0, 0, -1, -1));
        return pm;
    }
    case Kind::Notice:
        return sign(QColor(40, 110, 200), QStringLiteral("i"), false);
    case Kind::Warning:
        return sign(QColor(245, 190, 40), QStringLiteral("!"), true);
    case Kind::Error:
        return sign(QColor(200, 40, 40), QStringLiteral("×"), false);
    }
    return {};
}

} // namespace ShellPictures
