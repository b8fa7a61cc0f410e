#include "widgets/window_art.h"

#include <QFont>
#include <QHeaderView>
#include <QLCDNumber>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRegularExpressionValidator>
#include <QTableView>

namespace WindowArt {

void PaintPaper(QPainter& p, const QRect& rect) {
    QLinearGradient paper(rect.topLeft(), rect.bottomLeft());
    paper.setColorAt(0, QColor(250, 247, 240));
    paper.setColorAt(1, QColor(226, 232, 242));
    p.fillRect(rect, paper);
}

void UseWindowFont(QWidget* window) {
    QFont base = window->font();
    base.setPointSize(9);
    window->setFont(base);
}

void PaintWindowEdge(QPainter& p, const QRect& rect) {
    p.setPen(QPen(QColor(34, 64, 110), 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(rect).adjusted(0.75, 0.75, -0.75, -0.75));
}

void PaintTitleBand(QPainter& p, const QRect& band, const QString& title, int titlePixels) {
    QLinearGradient shade(band.topLeft(), band.bottomLeft());
    shade.setColorAt(0, QColor(58, 96, 150));
    shade.setColorAt(1, QColor(34, 64, 110));
    p.fillRect(band, shade);
    QFont headline;
    headline.setPixelSize(titlePixels);
    headline.setBold(true);
    p.setFont(headline);
    p.setPen(Qt::white);
    p.drawText(band.adjusted(24, 0, -24, 0), Qt::AlignVCenter | Qt::AlignLeft, title);
}

void PaintTitledFrame(QPainter& p, const QRect& frame, const QString& title, int tabWidth) {
    QPainterPath path;
    path.addRoundedRect(QRectF(frame).adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
    p.fillPath(path, QColor(255, 255, 255, 150));
    p.setPen(QPen(QColor(120, 142, 176), 1.5));
    p.drawPath(path);
    QFont f;
    f.setPixelSize(15);
    f.setBold(true);
    p.setFont(f);
    const QRect tab(frame.left() + 14, frame.top() - 12, tabWidth, 24);
    QPainterPath tabPath;
    tabPath.addRoundedRect(QRectF(tab), 6, 6);
    p.fillPath(tabPath, QColor(58, 96, 150));
    p.setPen(Qt::white);
    p.drawText(tab, Qt::AlignCenter, title);
}

void PaintButtonPlate(QPainter& p, const QRect& button) {
    QPainterPath plate;
    plate.addRoundedRect(QRectF(button).adjusted(1.5, 1.5, -1.5, -1.5), 6, 6);
    QLinearGradient shade(button.topLeft(), button.bottomLeft());
    shade.setColorAt(0, QColor(255, 255, 255));
    shade.setColorAt(1, QColor(214, 225, 240));
    p.fillPath(plate, shade);
    p.setPen(QPen(QColor(110, 134, 170), 1));
    p.drawPath(plate);
}

void PaintBoard(QPainter& p, const QRectF& board, qreal radius, int opacity) {
    QPainterPath path;
    path.addRoundedRect(board, radius, radius);
    p.fillPath(path, QColor(255, 255, 255, opacity));
    p.setPen(QPen(QColor(150, 168, 196), 1));
    p.drawPath(path);
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setStyleSheet(QStringLiteral("color: #1c2f4f; background: transparent;"));
    return l;
}

QLabel* MakePicture(QWidget* parent, const char* name, const QPixmap& picture) {
    auto* l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setPixmap(picture);
    return l;
}

QLineEdit* MakeNumberEdit(QWidget* parent, const char* name) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setMaxLength(3);
    e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Digits only: a letter typed or pasted never enters the field.
    e->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), e));
    return e;
}

QString GroupStyle() {
    return QStringLiteral(
        "QGroupBox { color: #1c2f4f; font-weight: bold; border: 1px solid #788eb0;"
        " border-radius: 6px; margin-top: 8px; background: rgba(255, 255, 255, 130); }"
        " QGroupBox::title { subcontrol-origin: margin; left: 10px; padding: 0 3px; }"
        " QRadioButton, QCheckBox { font-weight: normal; }");
}

QTableView* MakeGrid(QWidget* parent, const char* name) {
    auto* grid = new QTableView(parent);
    grid->setObjectName(QLatin1String(name));
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setWordWrap(false);
    grid->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    grid->horizontalHeader()->setHighlightSections(false);
    grid->setStyleSheet(
        QStringLiteral("QTableView { background: white; gridline-color: #b9c4d4;"
                       " selection-background-color: #2f5d9b; selection-color: white; }"
                       "QHeaderView::section { background: #dfe7f2; color: #1c2f4f;"
                       " padding: 0px; border: 0px; border-right: 1px solid #b9c4d4;"
                       " border-bottom: 1px solid #b9c4d4; }"));
    return grid;
}

QListWidget* MakeList(QWidget* parent, const char* name) {
    auto* list = new QListWidget(parent);
    list->setObjectName(QLatin1String(name));
    list->setStyleSheet(
        QStringLiteral("QListWidget { background: white; border: 1px solid #b9c4d4; }"
                       "QListWidget::item { padding: 3px 2px; }"
                       "QListWidget::item:selected { background: #2f5d9b; color: white; }"));
    return list;
}

QLCDNumber* MakeFigure(QWidget* parent, const char* name, int digits) {
    auto* n = new QLCDNumber(digits, parent);
    n->setObjectName(QLatin1String(name));
    n->setSegmentStyle(QLCDNumber::Flat);
    n->setFrameShape(QFrame::Box);
    n->setStyleSheet(QStringLiteral("QLCDNumber { color: #ffd75a; background: #1d2a3c;"
                                    " border: 1px solid #0e1522; }"));
    n->display(0);
    return n;
}

} // namespace WindowArt
