#include "progress/chart_page.h"

#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPieSeries>
#include <QPolygonF>
#include <QRegion>
#include <QVector>

#include <algorithm>

ChartPage::ChartPage(QWidget* parent) : QChartView(new QChart, parent) {
    setRenderHint(QPainter::Antialiasing);
    setFrameShape(QFrame::NoFrame);
}

void ChartPage::setDepth(bool on) {
    depth_ = on;
    scene()->update();
}

void ChartPage::setBarLabels(bool on) {
    barLabels_ = on;
    scene()->update();
}

void ChartPage::setPie(QPieSeries* pie) {
    pie_ = pie;
}

void ChartPage::drawForeground(QPainter* painter, const QRectF& rect) {
    QChartView::drawForeground(painter, rect);
    if (depth_ && pie_ && pie_->isVisible() && pie_->sum() > 0)
        drawRim(painter);
    if (depth_ || barLabels_)
        drawBars(painter);
}

void ChartPage::drawRim(QPainter* painter) {
    // The pie lies where the pie chart puts it: its centre at its relative place in the plot
    // area, its radius the relative size of half the area's shorter side; slices run clockwise
    // from twelve o'clock.
    QChart* c = chart();
    const QRectF plot = c->mapToScene(c->plotArea()).boundingRect();
    const QPointF centre(plot.left() + plot.width() * pie_->horizontalPosition(),
                         plot.top() + plot.height() * pie_->verticalPosition());
    const qreal radius = std::min(plot.width(), plot.height()) / 2 * pie_->pieSize();
    const qreal thickness = std::clamp(radius / 8, 4.0, 18.0);
    QPainterPath outside;
    outside.addRect(plot.adjusted(0, 0, 0, thickness + 2));
    QPainterPath disc;
    disc.addEllipse(centre, radius, radius);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setClipPath(outside.subtracted(disc));
    const QRectF lowered(centre.x() - radius, centre.y() - radius + thickness, 2 * radius,
                         2 * radius);
    const QRectF upper(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    qreal start = 0;
    for (QPieSlice* slice : pie_->slices()) {
        const qreal span = 360.0 * slice->value() / pie_->sum();
        const QColor edge = slice->color().darker(165);
        painter->setPen(Qt::NoPen);
        painter->setBrush(edge);
        // The slice's stretch of the rim: its lowered copy and the band between the two.
        const int from = qRound((90 - start) * 16);
        const int length = -qRound(span * 16);
        painter->drawPie(lowered, from, length);
        QPainterPath band;
        band.arcMoveTo(upper, 90 - start);
        band.arcTo(upper, 90 - start, -span);
        band.arcTo(lowered, 90 - start - span, span);
        band.closeSubpath();
        painter->drawPath(band);
        start += span;
    }
    painter->restore();
}

void ChartPage::drawBars(QPainter* painter) {
    QChart* c = chart();
    const QRectF plot = c->mapToScene(c->plotArea()).boundingRect();
    const QRect area = plot.adjusted(0, -30, 14, 0).toAlignedRect();
    QFont labelFont = font();
    labelFont.setPixelSize(11);
    const QFontMetricsF metrics(labelFont);
    struct Bar {
        QRectF front; // as the bar chart draws it
        QColor colour;
        qreal value;
    };
    for (QAbstractSeries* s : c->series()) {
        auto* bars = qobject_cast<QBarSeries*>(s);
        if (!bars || !bars->isVisible())
            continue;
        const QList<QBarSet*> sets = bars->barSets();
        const int setCount = int(sets.size());
        if (setCount == 0)
            continue;
        // Bars lie where the bar chart puts them, left to right: set j of category i spans
        // i - w/2 + j*w/n .. i - w/2 + (j+1)*w/n in the category axis's values.
        const qreal w = bars->barWidth();
        const int categories = int(sets.first()->count());
        QVector<Bar> row;
        row.reserve(categories * setCount);
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
                if (base.x() > top.x())
                    row.push_back({QRectF(top, base), set->color(), value});
            }
        }
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setClipRect(area);
        QRectF lastLabel; // the last label drawn
        for (qsizetype k = 0; k < row.size(); ++k) {
            const Bar& bar = row[k];
            const QRectF& f = bar.front;
            // Bars too thin to show a face get none.
            const qreal d = depth_ && f.width() >= 3 ? std::min(f.width() / 2, 10.0) : 0.0;
            if (d > 0 && bar.value > 0) {
                // The next bar stands in front of this one's side.
                QRegion visible(area);
                if (k + 1 < row.size())
                    visible -= QRegion(row[k + 1].front.toAlignedRect());
                painter->setClipRegion(visible);
                painter->setPen(QPen(bar.colour.darker(170), 0.5));
                const QPolygonF lid({f.topLeft(), f.topLeft() + QPointF(d, -d),
                                     f.topRight() + QPointF(d, -d), f.topRight()});
                const QPolygonF side({f.topRight(), f.topRight() + QPointF(d, -d),
                                      f.bottomRight() + QPointF(d, -d), f.bottomRight()});
                painter->setBrush(bar.colour.lighter(125));
                painter->drawPolygon(lid);
                painter->setBrush(bar.colour.darker(150));
                painter->drawPolygon(side);
                painter->setClipRect(area);
            }
            if (barLabels_) {
                const QString text = QString::number(bar.value, 'g', 10);
                const qreal textWidth = metrics.horizontalAdvance(text);
                const QPointF at(f.center().x() + d / 2 - textWidth / 2,
                                 f.top() - d - metrics.descent() - 2);
                const QRectF box(at.x() - 1, at.y() - metrics.ascent(), textWidth + 2,
                                 metrics.height());
                if (box.intersects(lastLabel))
                    continue;
                lastLabel = box;
                painter->setFont(labelFont);
                painter->setPen(QColor(28, 47, 79));
                painter->drawText(at, text);
            }
        }
        painter->restore();
    }
}
