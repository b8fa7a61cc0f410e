#include "exam/pause_panel.h"

#include <QCoreApplication>
#include <QPainter>
#include <QTimer>

namespace {

constexpr int kStep = 15;

void letPaint() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace

RunningText::RunningText(const QStringList& lines, QWidget* parent)
    : QWidget(parent), lines_(lines), timer_(new QTimer(this)) {
    timer_->setInterval(40);
    connect(timer_, &QTimer::timeout, this, [this] {
        const int cycle = int(lines_.size()) * lineHeight() + height();
        offset_ = cycle > 0 ? (offset_ + 1) % cycle : 0;
        update();
    });
    QFont f = font();
    f.setPointSize(20);
    f.setBold(true);
    f.setFamilies({QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Noto Sans CJK SC")});
    setFont(f);
}

void RunningText::start() {
    offset_ = 0;
    timer_->start();
}

void RunningText::stop() {
    timer_->stop();
}

bool RunningText::isRunning() const {
    return timer_->isActive();
}

int RunningText::lineHeight() const {
    return fontMetrics().height() + 4;
}

void RunningText::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(0xde, 0xde, 0xde));
    p.setFont(font());
    const int lh = lineHeight();
    int y = height() - offset_;
    for (const QString& line : lines_) {
        const QRect r(0, y, width(), lh);
        if (r.bottom() >= 0 && r.top() <= height()) {
            p.setPen(QColor(0x9a, 0x9a, 0x9a));
            p.drawText(r.translated(1, 1), Qt::AlignHCenter | Qt::AlignVCenter, line);
            p.setPen(QColor(0xf4, 0xf4, 0xf4));
            p.drawText(r, Qt::AlignHCenter | Qt::AlignVCenter, line);
        }
        y += lh;
    }
}

PausePanel::PausePanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("suiPanel1"));
    epRunPanel1 = new RunningText(Slogan(), this);
    epRunPanel1->setObjectName(QStringLiteral("epRunPanel1"));
    hide();
}

QStringList PausePanel::Slogan() {
    return {QStringLiteral("你知道么？"),
            QString(),
            QStringLiteral("Tarnwick软件有以下特点："),
            QString(),
            QStringLiteral("海量题库，涵盖全面； "),
            QString(),
            QStringLiteral("考点关联，错题重做； "),
            QString(),
            QStringLiteral("智能组卷，电脑评判； "),
            QString(),
            QStringLiteral("筛选重点，分类输出； "),
            QString(),
            QStringLiteral("一盘在手，全局把握。")};
}

void PausePanel::expand(const QRect& target) {
    target_ = target;
    setGeometry(target.x(), target.y(), target.width(), 0);
    show();
    raise();
    for (int h = kStep; h < target.height(); h += kStep) {
        resize(target.width(), h);
        letPaint();
    }
    setGeometry(target);
    expanded_ = true;
    epRunPanel1->start();
    Q_EMIT suiPanel1Pop();
}

void PausePanel::collapse() {
    for (int h = height() - kStep; h > 0 && isVisible(); h -= kStep) {
        resize(width(), h);
        letPaint();
    }
    collapseNow();
    Q_EMIT suiPanel1Push();
}

void PausePanel::collapseNow() {
    epRunPanel1->stop();
    expanded_ = false;
    resize(width(), 0);
    hide();
}

void PausePanel::resizeEvent(QResizeEvent*) {
    epRunPanel1->setGeometry(1, 1, std::max(0, width() - 2), std::max(0, height() - 2));
}

void PausePanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(0xb0, 0xb0, 0xb0));
}
