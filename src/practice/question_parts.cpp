#include "practice/question_parts.h"

#include "practice/answer_pad.h"

#include "platform/dialogs.h"
#include "store/dataset.h"
#include "widgets/db_rich_view.h"
#include "widgets/effect_button.h"
#include "widgets/elapsed_clock.h"
#include "widgets/gauge.h"
#include "widgets/picture_button.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

PaneSplitter::PaneSplitter(QWidget* parent) : QWidget(parent) {
    setCursor(Qt::SizeVerCursor);
}

void PaneSplitter::mousePressEvent(QMouseEvent* event) {
    lastY_ = int(event->globalPosition().y());
}

void PaneSplitter::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const int y = int(event->globalPosition().y());
    Q_EMIT dragged(y - lastY_);
    lastY_ = y;
}

void PaneSplitter::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(196, 206, 222));
    p.setPen(QColor(150, 160, 180));
    p.drawLine(0, height() / 2, width(), height() / 2);
}

PracticeAnimation::PracticeAnimation(QWidget* parent) : QWidget(parent) {
    timer_ = new QTimer(this);
    timer_->setInterval(120);
    connect(timer_, &QTimer::timeout, this, [this] {
        phase_ = (phase_ + 1) % 48;
        update();
    });
}

void PracticeAnimation::start() {
    timer_->start();
}
void PracticeAnimation::stop() {
    timer_->stop();
}
bool PracticeAnimation::isRunning() const {
    return timer_->isActive();
}

void PracticeAnimation::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const int n = 7;
    const double step = double(width()) / (n + 1);
    for (int i = 0; i < n; ++i) {
        const double a = (phase_ - i * 3) * M_PI / 12.0;
        const double lift = std::max(0.0, std::sin(a));
        const double r = 3.0 + 2.0 * lift;
        const QPointF c(step * (i + 1), height() / 2.0 + (height() / 4.0) * (0.5 - lift));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor::fromHsv((200 + i * 20) % 360, 140 + int(100 * lift), 210));
        p.drawEllipse(c, r, r);
    }
}

// ---------------------------------------------------------------------------------------------

QuestionLine::QuestionLine(const ControlNames& names, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("QuestionLine"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(1);
    for (Control c : {Control::NumberText, Control::Number, Control::NumberUnit,
                      Control::AppearanceText, Control::Appearance, Control::AppearanceUnit})
        row->addWidget(NamedLabel(this, names, c));
    row->addStretch(1);
    number_ = findChild<QLabel*>(names.name(Control::Number));
    appearance_ = findChild<QLabel*>(names.name(Control::Appearance));
    number_->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));
    appearance_->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));
}

void QuestionLine::setQuestion(int number, qint64 answersCounted) {
    appearance_->setText(answersCounted > 0 ? QString::number(answersCounted + 1)
                                            : QStringLiteral("1"));
    number_->setText(QString::number(number));
}

PracticeTimers::PracticeTimers(const ControlNames& names, QWidget* parent) {
    gauge = new Gauge(parent);
    gauge->setObjectName(names.name(Control::Gauge));
    gauge->setMaximum(100);
    gauge->setThreshold(65);
    gauge->setOrientation(Qt::Vertical);
    answerTimer = new QTimer(parent);
    answerTimer->setObjectName(names.name(Control::AnswerTimer));
    clock = new ElapsedClock(parent);
    clock->setObjectName(names.name(Control::Clock));
    clockHeading = NamedLabel(parent, names, Control::ClockHeading);
    clockText = NamedLabel(parent, names, Control::ClockText);
    clockText->setStyleSheet(QStringLiteral("color: #004080; font-weight: bold;"));
}

void PracticeTimers::restartAnswerTimer(int interval) const {
    gauge->setValue(0);
    answerTimer->stop();
    if (interval > 0) {
        answerTimer->setInterval(interval);
        answerTimer->start();
    }
}

bool PracticeTimers::stepAnswerTimer() const {
    if (gauge->value() < 100) {
        gauge->setValue(gauge->value() + 1);
        return false;
    }
    answerTimer->stop();
    return true;
}

void PracticeTimers::restartClock() const {
    clock->stop();
    clock->reset();
    clock->start();
    showClock();
}

void PracticeTimers::showClock() const {
    clockText->setText(clock->text());
}

QString PracticeTimers::stop() const {
    answerTimer->stop();
    clock->stop();
    return clock->text();
}

// ---------------------------------------------------------------------------------------------

QuestionPane::QuestionPane(const ControlNames& names, QWidget* parent) : QWidget(parent) {
    setObjectName(names.name(Control::Pane));
    setAutoFillBackground(true);
    upper_ = new DbRichView(this);
    upper_->setObjectName(names.name(Control::UpperView));
    splitter_ = new PaneSplitter(this);
    splitter_->setObjectName(names.name(Control::Splitter));
    lower_ = new DbRichView(this);
    lower_->setObjectName(names.name(Control::LowerView));
    QFont textFont = font();
    textFont.setPointSize(11);
    upper_->setFont(textFont);
    lower_->setFont(textFont);
    connect(splitter_, &PaneSplitter::dragged, this, [this](int dy) {
        setLowerPane(std::clamp(lowerHeight_ - dy, 20, std::max(20, height() - 60)),
                     splitterHeight_);
    });
}

void QuestionPane::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutViews();
}

void QuestionPane::layoutViews() {
    const int w = width();
    const int h = height();
    const int lower = std::clamp(lowerHeight_, 0, h);
    const int bar = std::clamp(splitterHeight_, 0, h - lower);
    lower_->setGeometry(0, h - lower, w, lower);
    lower_->setVisible(lower > 0);
    splitter_->setGeometry(0, h - lower - bar, w, bar);
    splitter_->setVisible(bar > 0);
    upper_->setGeometry(0, 0, w, h - lower - bar);
}

void QuestionPane::setLowerPane(int lowerHeight, int splitterHeight) {
    lowerHeight_ = std::max(0, lowerHeight);
    splitterHeight_ = std::max(0, splitterHeight);
    layoutViews();
}

void QuestionPane::ShowStem(const QString& questionId, Dataset* content, Dataset* caseRow) {
    try {
        if (questionId.contains(QLatin1Char('-'))) {
            if (splitterHeight_ <= 0)
                setLowerPane(150, 6);
            caseRow->close();
            caseRow->clearParams();
            caseRow->setSql(QStringLiteral("select * from tab_title where A1=:A1"));
            caseRow->setParam(QStringLiteral("A1"), questionId.left(16));
            caseRow->open();
            if (upper_->dataset() != caseRow)
                upper_->bind(caseRow, QStringLiteral("A15"));
            if (lower_->dataset() != content)
                lower_->bind(content, QStringLiteral("A15"));
        } else {
            setLowerPane(0, 0);
            if (lower_->dataset())
                lower_->unbind();
            if (upper_->dataset() != content)
                upper_->bind(content, QStringLiteral("A15"));
        }
    } catch (const std::exception&) {
        ShowDlg(QStringLiteral("错误"), QStringLiteral("无法打开试题！"), 1, QStringLiteral("NO"),
                2);
    }
}

void QuestionPane::unbind() {
    upper_->unbind();
    lower_->unbind();
}

// ---------------------------------------------------------------------------------------------

QLabel* NamedLabel(QWidget* parent, const ControlNames& names, Control role) {
    auto* l = new QLabel(names.caption(role), parent);
    l->setObjectName(names.name(role));
    return l;
}

EffectButton* NamedButton(QWidget* parent, const ControlNames& names, Control role) {
    auto* b = new EffectButton(names.caption(role), parent);
    b->setObjectName(names.name(role));
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

namespace {
QPlainTextEdit* namedMemo(QWidget* parent, const QString& name) {
    auto* m = new QPlainTextEdit(parent);
    m->setObjectName(name);
    m->setReadOnly(true);
    m->setMaximumHeight(60);
    return m;
}
} // namespace

AnswerPanel::AnswerPanel(const ControlNames& names, QWidget* over, QWidget* parent)
    : QWidget(parent), over_(over) {
    const QString& panel = names.name(Control::AnswerPanel);
    setObjectName(panel);
    // A plain widget paints its style-sheet background only when asked to: without it the
    // question text shows through the panel.
    setAttribute(Qt::WA_StyledBackground, true);
    setAutoFillBackground(true);
    setStyleSheet(
        QStringLiteral("#%1 { background: #f4f1e4; border: 1px solid #9a8f6a; }").arg(panel));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(16, 16, 16, 16);
    column->setSpacing(8);
    verdict_ = NamedLabel(this, names, Control::Verdict);
    QFont tipFont = font();
    tipFont.setPointSize(12);
    tipFont.setBold(true);
    verdict_->setFont(tipFont);
    verdict_->setStyleSheet(QStringLiteral("color: #a00000;"));
    mine_ = namedMemo(this, names.name(Control::Mine));
    key_ = namedMemo(this, names.name(Control::Key));
    column->addWidget(verdict_);
    column->addWidget(NamedLabel(this, names, Control::MineLabel));
    column->addWidget(mine_);
    column->addWidget(NamedLabel(this, names, Control::KeyLabel));
    column->addWidget(key_);
    column->addStretch(1);
    resize(0, 0);
    raise();
}

void AnswerPanel::setAnswer(const QString& mine, const QString& key) {
    verdict_->setText(key == mine ? QStringLiteral("恭喜你，做对了！")
                                  : QStringLiteral("很遗憾，做错了，请继续努力！"));
    mine_->setPlainText(mine);
    key_->setPlainText(key);
}

void AnswerPanel::follow() {
    setGeometry(over_->x() + 1, over_->y() + 1, width(), over_->height() - 1);
    raise();
}

void AnswerPanel::closeNow() {
    setGeometry(over_->x() + 1, over_->y() + 1, 0, over_->height() - 1);
}

void AnswerPanel::slide(bool open) {
    const int full = over_->width() - 1;
    follow();
    if (open) {
        for (int k = 1; width() < full; ++k) {
            resize(std::min(full, width() + 20 * k), height());
            QCoreApplication::processEvents();
        }
    } else {
        for (int k = 1; width() > 0; ++k) {
            resize(std::max(0, width() - 20 * k), height());
            QCoreApplication::processEvents();
        }
    }
}

// ---------------------------------------------------------------------------------------------

namespace {
const QString kBackCaption = QStringLiteral("返回");
}

bool AnswerToggle::isOpen() const {
    return button->text() == kBackCaption;
}

void AnswerToggle::toggle() const {
    const bool open = button->text() == caption;
    button->setText(open ? kBackCaption : caption);
    panel->slide(open);
}

void AnswerToggle::closeNow() const {
    if (!isOpen())
        return;
    button->setText(caption);
    panel->closeNow();
}

// ---------------------------------------------------------------------------------------------

void OpenContentRow(Dataset* content, const QString& questionId) {
    content->close();
    content->clearParams();
    content->setSql(QStringLiteral("select * from tab_exer where A1=:A1"));
    content->setParam(QStringLiteral("A1"), questionId);
    content->open();
}

bool HasExplanation(Dataset* content) {
    if (!content || !content->active() || content->recNo() == 0 ||
        !content->hasField(QStringLiteral("jx")))
        return false;
    return !content->isNull(QStringLiteral("jx")) &&
           !content->bytes(QStringLiteral("jx")).trimmed().isEmpty();
}

MouseMoveWatch::MouseMoveWatch(QWidget* watched, std::function<void()> onMove)
    : QObject(watched), onMove_(std::move(onMove)) {
    watched->installEventFilter(this);
    for (QWidget* w : watched->findChildren<QWidget*>()) {
        w->setMouseTracking(true);
        w->installEventFilter(this);
    }
}

bool MouseMoveWatch::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove && watched->isWidgetType())
        onMove_();
    return QObject::eventFilter(watched, event);
}

int PracticeKeyCode(const QKeyEvent& event) {
    switch (event.key()) {
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Escape:
        return -1;
    default:
        return event.key() >= Qt::Key_A && event.key() <= Qt::Key_Z ? event.key() : 0;
    }
}

void AnswerKeys::handle(int key) const {
    const int page = pad->page();
    if (page != Question::PageSingle && page != Question::PageMultiple)
        return;
    if (key == 8) {
        if (previous->isEnabled())
            goPrevious();
    } else if (key == 13) {
        if (next->isEnabled())
            goNext();
    } else if (key >= Qt::Key_A && key <= Qt::Key_F) {
        if (pad->isEnabled())
            pad->pressOptionKey(key - Qt::Key_A);
    }
}

bool HandleAnswerKeyPress(QKeyEvent* event, const AnswerKeys& keys) {
    const int key = PracticeKeyCode(*event);
    if (key == 0)
        return false;
    if (key > 0)
        Dialogs::guarded([&] { keys.handle(key); });
    event->accept();
    return true;
}

bool LoadPictures(const QString& programFolder, const QStringList& files, QVector<QPixmap>& into) {
    into.clear();
    for (const QString& f : files) {
        QPixmap pm;
        if (!pm.load(programFolder + f) || pm.isNull()) {
            into.clear();
            return false;
        }
        into << pm;
    }
    return true;
}

bool QuestionFaces::load(const QString& programFolder, const QStringList& files) {
    files_ = files;
    return LoadPictures(programFolder, files, pictures_);
}

QPixmap QuestionFaces::picture(Question::Face face, bool down) const {
    const qsizetype i = files_.indexOf(Question::FacePicture(face, down));
    return i >= 0 && i < pictures_.size() ? pictures_[i] : QPixmap();
}

void QuestionFaces::set(PictureButton* b, Question::Face up, Question::Face down) const {
    b->setFaces(picture(up, false), picture(down, true));
}

void QuestionFaces::setUp(PictureButton* b, Question::Face face) const {
    b->setFaces(picture(face, false), b->downFace());
}

void QuestionFaces::setDown(PictureButton* b, Question::Face face) const {
    b->setFaces(b->upFace(), picture(face, true));
}

void VoidToggle::show(const PracticeSession::Notices& n) const {
    notice->setText(n.notice);
    button->setText(n.voidCaption);
}
