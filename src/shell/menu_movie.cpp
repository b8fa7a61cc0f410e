#include "shell/menu_movie.h"

#include <QFile>
#include <QMouseEvent>
#include <QPainter>
#include <QSvgRenderer>
#include <QXmlStreamReader>

namespace {
const QString kCommandPrefix = QStringLiteral("cmd-");
}

TMenuMovie::TMenuMovie(QWidget* parent) : QWidget(parent), renderer_(new QSvgRenderer(this)) {
    setObjectName(QStringLiteral("ShockwaveFlash1"));
    setMouseTracking(true);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    renderer_->setAspectRatioMode(Qt::KeepAspectRatio);
    connect(renderer_, &QSvgRenderer::repaintNeeded, this, qOverload<>(&QWidget::update));
}

bool TMenuMovie::setMovie(const QString& file) {
    movie_ = file;
    commands_.clear();
    pressed_.clear();
    unsetCursor();
    const bool ok = QFile::exists(file) && renderer_->load(file) && renderer_->isValid();
    if (ok)
        readButtonIds(file);
    else
        renderer_->load(QByteArray()); // nothing shown
    if (!playing_)
        renderer_->setFramesPerSecond(0);
    update();
    return ok;
}

bool TMenuMovie::isValid() const {
    return renderer_->isValid();
}

void TMenuMovie::readButtonIds(const QString& file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return;
    QXmlStreamReader xml(&f);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QString id = xml.attributes().value(QLatin1String("id")).toString();
        if (id.startsWith(kCommandPrefix) && id.size() > kCommandPrefix.size() &&
            renderer_->elementExists(id))
            commands_.append(id.mid(kCommandPrefix.size()));
    }
}

void TMenuMovie::play() {
    playing_ = true;
    renderer_->setFramesPerSecond(kDefaultFramesPerSecond);
    update();
}

void TMenuMovie::stop() {
    playing_ = false;
    renderer_->setFramesPerSecond(0);
}

QRectF TMenuMovie::viewBox() const {
    QRectF box = renderer_->viewBoxF();
    if (box.isEmpty())
        box = QRectF(QPointF(0, 0), QSizeF(renderer_->defaultSize()));
    return box;
}

QRectF TMenuMovie::movieRect() const {
    const QRectF box = viewBox();
    if (box.isEmpty() || width() <= 0 || height() <= 0)
        return {};
    QSizeF fitted = box.size();
    fitted.scale(QSizeF(width(), height()), Qt::KeepAspectRatio);
    return QRectF(QPointF((width() - fitted.width()) / 2.0, (height() - fitted.height()) / 2.0),
                  fitted);
}

QRectF TMenuMovie::buttonRect(const QString& command) const {
    if (!commands_.contains(command))
        return {};
    const QString id = kCommandPrefix + command;
    const QRectF inMovie =
        renderer_->transformForElement(id).mapRect(renderer_->boundsOnElement(id));
    const QRectF box = viewBox();
    const QRectF target = movieRect();
    if (box.isEmpty() || target.isEmpty())
        return {};
    const qreal sx = target.width() / box.width();
    const qreal sy = target.height() / box.height();
    return QRectF(target.x() + (inMovie.x() - box.x()) * sx,
                  target.y() + (inMovie.y() - box.y()) * sy, inMovie.width() * sx,
                  inMovie.height() * sy);
}

QString TMenuMovie::commandAt(const QPointF& pos) const {
    // Later elements are drawn over earlier ones.
    for (auto it = commands_.crbegin(); it != commands_.crend(); ++it) {
        if (buttonRect(*it).contains(pos))
            return *it;
    }
    return {};
}

void TMenuMovie::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    if (!renderer_->isValid())
        return;
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    renderer_->render(&p, movieRect());
}

void TMenuMovie::mouseMoveEvent(QMouseEvent* event) {
    if (commandAt(event->position()).isEmpty())
        unsetCursor();
    else
        setCursor(Qt::PointingHandCursor);
    QWidget::mouseMoveEvent(event);
}

void TMenuMovie::mousePressEvent(QMouseEvent* event) {
    // The movie takes every click: nothing reaches the form underneath.
    if (event->button() == Qt::LeftButton)
        pressed_ = commandAt(event->position());
    event->accept();
}

void TMenuMovie::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() != Qt::LeftButton)
        return;
    const QString command = commandAt(event->position());
    const QString pressed = std::exchange(pressed_, QString());
    if (!command.isEmpty() && command == pressed)
        Q_EMIT FSCommand(command, QString());
}

void TMenuMovie::leaveEvent(QEvent* event) {
    unsetCursor();
    QWidget::leaveEvent(event);
}
