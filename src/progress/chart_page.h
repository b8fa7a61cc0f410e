#pragma once

#include <QChartView>

class QPieSeries;

// One chart of the score chart window, with a drawn depth for its "立体显示" option (bars get a
// top and a side face, a pie gets its rim drawn in darker colours below it) and the bars' value
// labels. The labels are drawn here rather than by the bar series: the series makes one text item
// per bar, which takes a quarter of a second over a thousand chapters.
class ChartPage : public QChartView {
    Q_OBJECT

  public:
    explicit ChartPage(QWidget* parent = nullptr);

    void setDepth(bool on);
    bool depth() const { return depth_; }
    // The value of each bar above it; a label that would overlap the one drawn before it is left
    // out.
    void setBarLabels(bool on);
    bool barLabels() const { return barLabels_; }

    // The pie of this chart, whose rim the depth draws: each slice's edge in a darker colour, as
    // if the pie were a disc seen a little from above.
    void setPie(QPieSeries* pie);

  protected:
    void drawForeground(QPainter* painter, const QRectF& rect) override;

  private:
    void drawRim(QPainter* painter);
    void drawBars(QPainter* painter);

    bool depth_ = false;
    bool barLabels_ = false;
    QPieSeries* pie_ = nullptr;
};
