#include "progress/chart_page.h"

#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QFontMetricsF>
#include <QLegend>
#include <QLegendMarker>
#include <QPainter>
#include <QPieSeries>
#include <QPolygonF>

#include <algorithm>

ChartPage::ChartPage(QWidget* parent) : QChartView(new QChart, parent) {
    setRenderHint(QPainter::Antialiasing);
    setFrameShape(QFrame::NoFrame);
}

void ChartPage::setDepth(bool on) {
    depth_ = on;
    showRim();
    scene()->update();
}

void ChartPage::setBarLabels(bool on) {
    barLabels_ = on;
    scene()->update();
}

void ChartPage::setPie(QPieSeries* pie, QPieSeries* rim) {
    pie_ = pie;
    rim_ = rim;
    showRim();
}

void ChartPage::showRim() {
    if (!rim_)
        return;
    rim_->setVisible(depth_);
    for (QLegendMarker* m : chart()->legend()->markers(rim_))
        m->setVisible(false);
}

void ChartPage::drawForeground(QPainter* painter, const QRectF& rect) {
    QChartView::drawForeground(painter, rect);
    if (!depth_ && !barLabels_)
        return;
    QChart* c = chart();
    const QRectF plot = c->mapToScene(c->plotArea()).boundingRect();
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setClipRect(plot.adjusted(0, -30, 14, 0));
    QFont labelFont = font();
    labelFont.setPixelSize(11);
    painter->setFont(labelFont);
    const QFontMetricsF metrics(labelFont);
    for (QAbstractSeries* s : c->series()) {
        auto* bars = qobject_cast<QBarSeries*>(s);
        if (!bars || !bars->isVisible())
            continue;
        const QList<QBarSet*> sets = bars->barSets();
        const int setCount = int(sets.size());
        if (setCount == 0)
            continue;
        // Bars lie where the bar chart puts them: set j of category i spans
        // i - w/2 + j*w/n .. i - w/2 + (j+1)*w/n in the category axis's values.
        const qreal w = bars->barWidth();
        qreal labelsEnd = -1e9; // right edge of the last label drawn
        const int categories = setCount == 0 ? 0 : int(sets.first()->count());
        for (int i = 0; i < categories; ++i) {
            for (int j = 0; j < setCount; ++j) {
                QBarSet* set = sets[j];
                if (i >= set->count())
                    continue;
                const qreal value = set->at(i);
                const qreal left = i - w / 2 + j * w / setCount;
                const qreal right = i - w / 2 + (j + 1) * w / setCount;
                const QPointF top = c->mapToScene(c->mapToPosition(QPointF(left, value), bars));
                const QPointF base = c->mapToScene(c->mapToPosition(QPointF(right, 0), bars));
                const qreal width = base.x() - top.x();
                if (width <= 0)
                    continue;
                const qreal d = depth_ ? std::clamp(width / 2, 1.5, 10.0) : 0.0;
                if (depth_ && value > 0) {
                    const QColor face = set->color();
                    painter->setPen(QPen(face.darker(170), 0.5));
                    const QPointF topRight(base.x(), top.y());
                    const QPolygonF lid(
                        {top, top + QPointF(d, -d), topRight + QPointF(d, -d), topRight});
                    const QPolygonF side(
                        {topRight, topRight + QPointF(d, -d), base + QPointF(d, -d), base});
                    painter->setBrush(face.lighter(125));
                    painter->drawPolygon(lid);
                    painter->setBrush(face.darker(150));
                    painter->drawPolygon(side);
                }
                if (barLabels_) {
                    const QString text = QString::number(value, 'g', 10);
                    const qreal textWidth = metrics.horizontalAdvance(text);
                    const qreal x = (top.x() + base.x() + d) / 2 - textWidth / 2;
                    if (x <= labelsEnd + 2)
                        continue;
                    labelsEnd = x + textWidth;
                    painter->setPen(QColor(28, 47, 79));
                    painter->drawText(QPointF(x, top.y() - d - metrics.descent() - 2), text);
                }
            }
        }
    }
    painter->restore();
}
