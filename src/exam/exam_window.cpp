#include "exam/exam_window.h"

#include "exam/exam_names.h"
#include "exam/paper.h"
#include "exam/paper_export.h"
#include "exam/pause_panel.h"
#include "practice/answer_pad.h"
#include "practice/explanation_window.h"
#include "practice/note_window.h"

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/platform_services.h"
#include "platform/program_end.h"
#include "platform/progress.h"
#include "platform/screen_cursor.h"
#include "platform/word_processor.h"
#include "store/app_state.h"
#include "store/data_module.h"
#include "widgets/effect_button.h"
#include "widgets/elapsed_clock.h"
#include "widgets/picture_button.h"
#include "widgets/window_art.h"
#include "widgets/window_registry.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QStackedWidget>
#include <QTextDocument>

using namespace Question;

namespace {

// Where everything sits in one of the two layouts.
struct Geometry {
    QSize window;
    QRect title;
    int lineTop;
    int lineLefts[4]; // 第, N, 题, type caption
    int lineWidths[4];
    QRect notice, pane, prevQuestion, nextQuestion, pad;
    int rowTops[2];  // 交卷 答案 生成文档 笔记 over 考点 本题作废 解析 关闭
    int rowLefts[4]; // each 75 by 25
    QRect board, pause, sheet;
    QRect timeNew, timeOld; // Notebook_Time in the two modes
    QSize sheetButton;
};

// The compact layout for 800 x 600 screens.
const Geometry kSmall = {
    QSize(773, 478),
    QRect(24, 4, 585, 17),
    24,
    {24, 48, 104, 128},
    {15, 42, 15, 200}, // the type caption is wider than its design place (145)
    QRect(336, 24, 264, 14),
    QRect(1, 42, 600, 375),
    QRect(4, 431, 78, 32),
    QRect(353, 432, 78, 32),
    QRect(84, 425, 266, 46),
    {423, 449},
    {449, 524, 599, 674},
    QRect(605, 2, 153, 415),
    QRect(44, 40, 66, 25),
    QRect(10, 117, 131, 288),
    QRect(16, 66, 121, 39),
    QRect(16, 47, 121, 58),
    QSize(26, 15),
};

// The design layout, for every other screen.
const Geometry kLarge = {
    QSize(917, 585),
    QRect(24, 6, 680, 18),
    28,
    {24, 48, 104, 128},
    {18, 50, 18, 240},
    QRect(380, 28, 320, 16),
    QRect(20, 50, 700, 452),
    QRect(20, 516, 80, 40),
    QRect(408, 516, 80, 40),
    QRect(104, 510, 300, 52),
    {518, 548},
    {600, 675, 750, 825},
    QRect(728, 4, 184, 500),
    QRect(59, 30, 66, 25),
    QRect(14, 116, 156, 380),
    QRect(16, 62, 152, 39),
    QRect(16, 43, 152, 58),
    QSize(31, 20),
};

const Geometry& geometryFor(const QString& screenMode) {
    return screenMode == QLatin1String("800") ? kSmall : kLarge;
}

void grey(EffectButton* b, bool enabled) {
    b->setEnabled(enabled);
}

} // namespace

// ---------------------------------------------------------------------------------------------

TFrmExam::TFrmExam(QWidget* owner) : QDialog(owner), session_(*DM1), names_(ExamNames::Parts()) {
    setObjectName(QStringLiteral("FrmExam"));
    setWindowTitle(QStringLiteral("正在答卷"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    buildControls();
    FormCreate();
}

TFrmExam::~TFrmExam() {
    KZTimeCounter1->stop();
}

EffectButton* TFrmExam::button(int number) const {
    return number >= 0 && number < int(buttons_.size()) ? buttons_[size_t(number)] : nullptr;
}

void TFrmExam::buildControls() {
    WindowArt::UseWindowFont(this);
    using C = Control;
    epLabel2 = NamedLabel(this, names_, C::Hint);
    epLabel2->setStyleSheet(QStringLiteral("color: #7a1d1d; font-weight: bold;"));
    Label3 = NamedLabel(this, names_, C::NumberText);
    Label5 = NamedLabel(this, names_, C::Number);
    Label5->setAlignment(Qt::AlignCenter);
    Label5->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));
    Label6 = NamedLabel(this, names_, C::NumberUnit);
    Label7 = new QLabel(QStringLiteral("单选"), this);
    Label7->setObjectName(QStringLiteral("Label7"));
    Label7->setStyleSheet(QStringLiteral("color: #004080;"));
    Label1 = NamedLabel(this, names_, C::Notice);
    Label1->setStyleSheet(QStringLiteral("color: #c00000;"));
    DBText1 = new QLabel(this);
    DBText1->setObjectName(QStringLiteral("DBText1"));
    DBText1->hide();

    Panel1 = new QuestionPane(names_, this);
    Re1 = Panel1->upper();
    FlatSplitter1 = Panel1->splitter();
    Re2 = Panel1->lower();
    Panel2 = new AnswerPanel(names_, Panel1, this);
    Lb_answtip = Panel2->verdict();
    Memo1 = Panel2->mine();
    Memo2 = Panel2->key();
    Label2 = Panel2->findChild<QLabel*>(names_.name(C::MineLabel));
    Label21 = Panel2->findChild<QLabel*>(names_.name(C::KeyLabel));

    Notebook1 = new AnswerPad(this, names_);
    new MouseMoveWatch(Notebook1, [this] { Notebook1MouseMove(); });

    GroupBox1 = new QGroupBox(QStringLiteral("提示板"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    Notebook_Time = new QStackedWidget(GroupBox1);
    Notebook_Time->setObjectName(QStringLiteral("Notebook_Time"));
    auto* answering = new QWidget(Notebook_Time);
    answering->setObjectName(QStringLiteral("答卷时"));
    epLb_time1 = NamedLabel(answering, names_, C::ClockText);
    epLb_time1->setAlignment(Qt::AlignCenter);
    QFont clockFont = font();
    clockFont.setPointSize(16);
    clockFont.setBold(true);
    epLb_time1->setFont(clockFont);
    epLb_time1->setStyleSheet(QStringLiteral("color: #004080;"));
    auto* reviewing = new QWidget(Notebook_Time);
    reviewing->setObjectName(QStringLiteral("查卷时"));
    Lb_cap2 = new QLabel(QStringLiteral("用时："), reviewing);
    Lb_cap2->setObjectName(QStringLiteral("Lb_cap2"));
    epLb_time2 = new QLabel(reviewing);
    epLb_time2->setObjectName(QStringLiteral("epLb_time2"));
    QFont timeFont = font();
    timeFont.setPointSize(11);
    timeFont.setBold(true);
    epLb_time2->setFont(timeFont);
    epLb_time2->setStyleSheet(QStringLiteral("color: #004080;"));
    Lb_zfs = new QLabel(reviewing);
    Lb_zfs->setObjectName(QStringLiteral("Lb_zfs"));
    Lb_zfs->setFont(timeFont);
    Lb_zfs->setStyleSheet(QStringLiteral("color: #b00000;"));
    Notebook_Time->addWidget(answering);
    Notebook_Time->addWidget(reviewing);

    QuestionBoard::Shape sheet;
    sheet.count = App::SheetSize;
    sheet.byColumn = true;
    sheet.buttonSize = geometryFor(App::ScreenMode).sheetButton;
    fcBG_th = new QuestionBoard(names_, faces_, GroupBox1, sheet);
    connect(fcBG_th, &QuestionBoard::buttonPressed, this,
            [this] { Dialogs::guarded([this] { fcBG_thChange(); }); });

    KZTimeCounter1 = new ElapsedClock(this);
    KZTimeCounter1->setObjectName(names_.name(C::Clock));
    connect(KZTimeCounter1, &ElapsedClock::ticked, this,
            [this] { Dialogs::guarded([this] { KZTimeCounter1Timer(); }); });

    suiPanel1 = new PausePanel(this);

    const std::pair<int, void (TFrmExam::*)()> handlers[] = {
        {1, &TFrmExam::epEfTrBtn1Click},   {2, &TFrmExam::epEfTrBtn2Click},
        {3, &TFrmExam::epEfTrBtn3Click},   {4, &TFrmExam::epEfTrBtn4Click},
        {5, &TFrmExam::epEfTrBtn5Click},   {6, &TFrmExam::epEfTrBtn6Click},
        {7, &TFrmExam::epEfTrBtn3Click},   {9, &TFrmExam::epEfTrBtn9Click},
        {10, &TFrmExam::epEfTrBtn10Click}, {12, &TFrmExam::epEfTrBtn12Click},
        {13, &TFrmExam::epEfTrBtn13Click},
    };
    for (const auto& [number, handler] : handlers) {
        QString caption;
        for (const ExamNames::ButtonEntry& e : ExamNames::Buttons()) {
            if (e.number == number)
                caption = e.caption;
        }
        auto* b = new EffectButton(caption, number == 13 ? static_cast<QWidget*>(GroupBox1)
                                                         : static_cast<QWidget*>(this));
        b->setObjectName(ExamNames::ButtonName(number));
        b->setAutoDefault(false);
        b->setDefault(false);
        b->setFocusPolicy(Qt::NoFocus);
        buttons_[size_t(number)] = b;
        connect(b, &QAbstractButton::clicked, this,
                [this, handler] { Dialogs::guarded([&] { (this->*handler)(); }); });
    }
    QFont big = font();
    big.setPointSize(11);
    big.setBold(true);
    button(1)->setFont(big);
    button(2)->setFont(big);
    voidToggle_ = {button(12), Label1};
    answerToggle_ = {button(6), Panel2, names_.caption(C::Answer)};
    LayOut();
}

void TFrmExam::LayOut() {
    const Geometry& g = geometryFor(App::ScreenMode);
    setFixedSize(g.window);
    epLabel2->setGeometry(g.title);
    QLabel* line[4] = {Label3, Label5, Label6, Label7};
    for (int i = 0; i < 4; ++i)
        line[i]->setGeometry(g.lineLefts[i], g.lineTop, g.lineWidths[i], 16);
    Label1->setGeometry(g.notice);
    Panel1->setGeometry(g.pane);
    button(1)->setGeometry(g.prevQuestion);
    button(2)->setGeometry(g.nextQuestion);
    Notebook1->setGeometry(g.pad);
    const int rows[2][4] = {{3, 6, 10, 5}, {9, 12, 4, 7}};
    for (int r = 0; r < 2; ++r) {
        for (int i = 0; i < 4; ++i)
            button(rows[r][i])->setGeometry(g.rowLefts[i], g.rowTops[r], 75, 25);
    }
    GroupBox1->setGeometry(g.board);
    button(13)->setGeometry(g.pause);
    fcBG_th->setGeometry(g.sheet);
    const QRect t = session_.isNew() ? g.timeNew : g.timeOld;
    Notebook_Time->setGeometry(t);
    epLb_time1->setGeometry(2, 4, t.width() - 4, 30);
    Lb_cap2->setGeometry(3, 8, 42, 16);
    epLb_time2->setGeometry(42, 5, t.width() - 44, 21);
    Lb_zfs->setGeometry(7, 33, t.width() - 10, 21);
    Panel2->follow();
}

void TFrmExam::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    if (!background_.isNull())
        p.drawTiledPixmap(rect(), background_);
    else
        p.fillRect(rect(), QColor(232, 226, 206));
    PaintBoards(p, QRect(), Panel1->geometry());
    QDialog::paintEvent(event);
}

// ---------------------------------------------------------------------------------------------

void TFrmExam::FormCreate() {
    session_.belowPassMark = false;
    background_.load(App::AppPath + QStringLiteral("pic/bg_window.png"));
    if (!faces_.load(App::AppPath, AnswerSheetPictures())) {
        picturesMissing_ = true;
        ShowDlg(QStringLiteral("错误"), QStringLiteral("无法提取资源文件！"), 1,
                QStringLiteral("NO"), 2);
        ProgramEnd::request();
        return;
    }
    firstShow_ = true;
    App::SheetSize = fcBG_th->count();
    fcBG_th->fill(1, 0, {});
}

void TFrmExam::SetPaper(const QString& table, const QString& title, const QString& mode,
                        double score, const QString& timeUsed) {
    session_.table = table;
    session_.title = title;
    session_.mode = mode;
    session_.score = score;
    session_.timeUsed = timeUsed;
}

bool TFrmExam::OpenPaper() {
    if (picturesMissing_)
        return false;
    Progress::stage(session_.isNew() ? QStringLiteral("正在出卷...")
                                     : QStringLiteral("正在提取试卷..."));
    bool opened = false;
    try {
        opened = session_.open();
    } catch (const std::exception&) {
        opened = false;
    }
    if (opened)
        return true;
    // A new paper that cannot be opened leaves nothing behind.
    if (session_.isNew())
        session_.drop();
    ShowDlg(QStringLiteral("错误"), QStringLiteral("无法打开试卷！"), 1, QStringLiteral("NO"), 2);
    ProgramEnd::request();
    return false;
}

void TFrmExam::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        Dialogs::guarded([this] { FormShow(); });
}

void TFrmExam::FormShow() {
    const bool isNew = session_.isNew();
    if (firstShow_) {
        suiPanel1->collapseNow();
        button(9)->setVisible(true);
        if (const QScreen* s = screen())
            move(s->availableGeometry().center() - rect().center());
        firstShow_ = false;
    }
    LayOut();
    epLabel2->setText(session_.title);
    Panel1->setLowerPane(0, 0);
    if (!isNew) {
        grey(button(3), false);
        for (int b : {4, 5, 6})
            button(b)->setVisible(true);
        button(13)->hide();
        grey(button(10), true);
        Notebook_Time->setCurrentIndex(1);
        Notebook1->setEnabled(false);
        setWindowTitle(QStringLiteral("查阅试卷"));
        epLb_time2->setText(session_.timeUsed);
        Lb_zfs->setText(QStringLiteral("得分：") + Paper::ScoreText(session_.score) +
                        QStringLiteral(" 分"));
    } else {
        grey(button(3), true);
        for (int b : {4, 6, 9, 10})
            grey(button(b), false);
        Notebook1->setEnabled(true);
        setWindowTitle(QStringLiteral("正在答卷"));
        Notebook_Time->setCurrentIndex(0);
        button(13)->show();
        button(13)->setText(QStringLiteral("暂停考试"));
    }
    Panel2->closeNow();
    button(6)->setText(names_.caption(Control::Answer));
    current_ = 0;
    SetupAnswerSheet(session_.rowCount());
    KZTimeCounter1->reset();
    if (isNew) {
        // Read once: the settings cannot change while the exam runs.
        examTime_ = Paper::ExamTime(*DM1);
        epLb_time1->setText(QStringLiteral("0:00:00"));
        KZTimeCounter1->start();
    } else {
        KZTimeCounter1->stop();
    }
}

void TFrmExam::SetupAnswerSheet(int rows) {
    for (int i = 1; i <= fcBG_th->count(); ++i) {
        PictureButton* b = fcBG_th->button(i);
        const bool used = i <= rows;
        b->setEnabled(used);
        b->setTag(used ? i : 0);
        const Face f = used ? session_.faceOf(i) : Face::Unanswered;
        faces_.set(b, f, f);
    }
    fcBG_th->releaseAll();
    if (rows > 0)
        goToQuestion(1);
}

void TFrmExam::goToQuestion(int row) {
    if (row < 1 || row > session_.rowCount())
        return;
    if (row <= fcBG_th->count()) {
        fcBG_th->press(row); // the sheet's change shows it
        return;
    }
    // Past the sheet: no button is pressed.
    fcBG_th->releaseAll();
    showQuestion(row);
}

void TFrmExam::fcBG_thChange() {
    PictureButton* b = fcBG_th->pressedButton();
    if (!b || b->tag() <= 0)
        return;
    showQuestion(b->tag());
}

void TFrmExam::showQuestion(int row) {
    DBText1->clear();
    answerToggle_.closeNow();
    Label5->setText(QString::number(row));
    if (session_.isNew() && current_ > 0)
        SaveAnswer(current_, TypePage(int(rowValue(current_, "A13").toLongLong())), true);
    setNavigation(row);

    Dataset* paper = session_.rows();
    session_.moveTo(row);
    current_ = row;
    const int page = TypePage(int(paper->whole(QStringLiteral("A13"))));
    Notebook1->selectPage(page);
    // A question without an answer page cannot be answered.
    Notebook1->setEnabled(session_.isNew() && page != NoPage);
    ShowAnswerControls(page);
    ShowStem(paper->text(QStringLiteral("A1")));

    const PracticeSession::Notices n = session_.noticesOfCurrent();
    if (session_.isNew()) {
        Label1->clear();
        button(12)->setText(ExamSession::Config().voidCaption);
        grey(button(12), false);
    } else {
        voidToggle_.show(n);
        grey(button(12), true); // 考点 follows the question in ShowAnswerControls
    }
    DBText1->setText(paper->text(QStringLiteral("a1")));
}

QVariant TFrmExam::rowValue(int row, const char* field) const {
    Dataset* paper = session_.rows();
    const int raw = row - 1;
    return raw >= 0 && raw < paper->recordCount() ? paper->valueAt(raw, QString::fromLatin1(field))
                                                  : QVariant();
}

void TFrmExam::setNavigation(int row) {
    grey(button(1), row >= 2);
    grey(button(2), row < session_.rowCount());
}

void TFrmExam::ShowAnswerControls(int page) {
    Dataset* paper = session_.rows();
    const int typeCode = int(paper->whole(QStringLiteral("A13")));
    Label7->setText(TypeCaption(typeCode));
    if (!session_.isNew()) {
        grey(button(6), !IsSubjective(typeCode));
        grey(button(4), !paper->isNull(QStringLiteral("jx")) &&
                            !paper->bytes(QStringLiteral("jx")).trimmed().isEmpty());
        grey(button(9), !PracticeSession::FirstPointOf(*paper).isEmpty());
    }
    button(5)->setText(paper->text(QStringLiteral("A14")).trimmed().isEmpty()
                           ? names_.caption(Control::Note)
                           : QStringLiteral("有内容"));
    if (page >= 0 && page < PageCount)
        Notebook1->restore(page, paper->text(QStringLiteral("E2_1")),
                           VisibleOptions(paper->whole(QStringLiteral("A2_1"))));
}

QString TFrmExam::TypeCaption(int typeCode) {
    Paper::UseTypeTable(*DM1, session_.kind());
    Dataset* tx = DM1->Cn1Table_tx;
    if (!tx->locate(QStringLiteral("A1"), typeCode))
        return {};
    const double points = tx->real(QStringLiteral("B3"));
    const double count = tx->real(QStringLiteral("B2"));
    return tx->text(QStringLiteral("B1")) + QStringLiteral(" 每题") + Paper::ScoreText(points) +
           QStringLiteral("分 共") + Paper::ScoreText(points * count) + QStringLiteral("分");
}

void TFrmExam::ShowStem(const QString& questionId) {
    Dataset* content = DM1->Cn1Query1;
    try {
        OpenContentRow(content, questionId);
    } catch (const std::exception&) {
        ShowDlg(QStringLiteral("错误"), QStringLiteral("无法打开试题！"), 1, QStringLiteral("NO"),
                2);
        return;
    }
    if (content->isEmpty()) {
        Panel1->unbind();
        ShowDlg(QStringLiteral("错误"), QStringLiteral("找不到该试题！"), 1, QStringLiteral("NO"),
                2);
        return;
    }
    Panel1->ShowStem(questionId, content, DM1->Cn1Query2);
}

void TFrmExam::SaveAnswer(int row, int page, bool updateFaces) {
    if (!session_.isNew())
        return;
    const QString answer = page >= 0 && page < PageCount ? Notebook1->answerText(page) : QString();
    const Face f = session_.save(row, answer, Clock::today());
    if (updateFaces && row <= fcBG_th->count()) {
        if (PictureButton* b = fcBG_th->button(row))
            faces_.set(b, f, f);
    }
}

// ---------------------------------------------------------------------------------------------

void TFrmExam::epEfTrBtn1Click() {
    if (current_ > 1)
        goToQuestion(current_ - 1);
}

void TFrmExam::epEfTrBtn2Click() {
    if (current_ < session_.rowCount())
        goToQuestion(current_ + 1);
}

bool TFrmExam::paused() const {
    return button(13)->text() == QStringLiteral("继续考试");
}

void TFrmExam::epEfTrBtn13Click() {
    if (!session_.isNew())
        return;
    if (!paused()) {
        button(13)->setText(QStringLiteral("继续考试"));
        KZTimeCounter1->stop();
        navBeforePause_[0] = button(1)->isEnabled();
        navBeforePause_[1] = button(2)->isEnabled();
        for (int b : {3, 5, 7, 1, 2})
            grey(button(b), false);
        Notebook1->setEnabled(false);
        fcBG_th->setEnabled(false);
        suiPanel1->expand(Panel1->geometry());
    } else {
        button(13)->setText(QStringLiteral("暂停考试"));
        KZTimeCounter1->start();
        for (int b : {3, 5, 7})
            grey(button(b), true);
        Notebook1->setEnabled(TypePage(int(rowValue(current_, "A13").toLongLong())) != NoPage);
        fcBG_th->setEnabled(true);
        grey(button(1), navBeforePause_[0]);
        grey(button(2), navBeforePause_[1]);
        suiPanel1->collapse();
    }
}

void TFrmExam::KZTimeCounter1Timer() {
    epLb_time1->setText(KZTimeCounter1->text());
    // The time limit: reached once the elapsed whole seconds reach the exam time.
    if (examTime_ > 0 && KZTimeCounter1->elapsedSecs() >= examTime_ && KZTimeCounter1->isRunning())
        timeUp();
}

void TFrmExam::timeUp() {
    if (!session_.isNew()) {
        epEfTrBtn3Click();
        return;
    }
    KZTimeCounter1->stop();
    const QString elapsed = KZTimeCounter1->text();
    try {
        SaveAnswer(current_, TypePage(int(rowValue(current_, "A13").toLongLong())), false);
        const int unanswered = session_.unanswered();
        Dialogs::messageBox(QStringLiteral("提示"), QStringLiteral("很遗憾，考试时间到了！"),
                            Dialogs::Icon::Information);
        if (unanswered < App::SheetSize) {
            GradePaper(elapsed);
        } else {
            session_.drop();
            close();
        }
    } catch (const std::exception&) {
        reportFailure();
    }
}

void TFrmExam::reportFailure() {
    ShowDlg(QStringLiteral("错误"), QStringLiteral("发生错误！"), 1, QStringLiteral("NO"), 2);
    // What was stored stays; the window closes cleanly instead of staying half in review.
    Progress::end();
    close();
}

void TFrmExam::epEfTrBtn3Click() {
    if (!session_.isNew()) {
        if (session_.belowPassMark)
            session_.drop();
        close();
        return;
    }
    KZTimeCounter1->stop();
    const QString elapsed = KZTimeCounter1->text();
    int unanswered = 0;
    try {
        SaveAnswer(current_, TypePage(int(rowValue(current_, "A13").toLongLong())), false);
        unanswered = session_.unanswered();
    } catch (...) {
        KZTimeCounter1->start(); // the exam goes on after the error is reported
        throw;
    }
    if (unanswered >= App::SheetSize) {
        session_.drop();
        close();
        return;
    }
    const QString text = unanswered == 0 ? QStringLiteral("恭喜你已经做完试卷，确定要交卷吗？")
                                         : QStringLiteral("你还有") + QString::number(unanswered) +
                                               QStringLiteral("道题未做，确定要交卷吗？");
    const int answer = ShowDlg(QStringLiteral("提示"), text, 2, QStringLiteral("Exam"), 0);
    if (answer == 1) {
        try {
            GradePaper(elapsed);
        } catch (const std::exception&) {
            reportFailure();
        }
    } else if (answer == 2) {
        session_.drop();
        if (unanswered < 50)
            DM1->AddStudyTime(elapsed);
        close();
    } else {
        KZTimeCounter1->start();
    }
}

void TFrmExam::GradePaper(const QString& elapsed) {
    // The window stays on show under the progress window: hiding a modal window would end it.
    Progress::begin(QStringLiteral("正在判卷..."));
    try {
        session_.grade(elapsed);
    } catch (...) {
        Progress::end();
        throw;
    }
    if (!OpenPaper())
        return;
    Progress::end();
    FormShow();
}

void TFrmExam::epEfTrBtn6Click() {
    if (!answerToggle_.isOpen()) {
        const int page = Notebook1->page();
        Panel2->setAnswer(PanelAnswerText(page, Notebook1->state(page)),
                          PanelKeyText(page, session_.rows()->text(QStringLiteral("A2"))));
    }
    answerToggle_.toggle();
}

void TFrmExam::epEfTrBtn4Click() {
    ScreenCursor::hourglass();
    TFrmJx window(this);
    window.BindExplanation(session_.rows(), session_.rows(), QStringLiteral("jx"));
    window.exec();
    ScreenCursor::normal();
}

void TFrmExam::epEfTrBtn5Click() {
    {
        TFrmBj window(this);
        window.BindNote(session_.rows(), QStringLiteral("A14"));
        window.exec();
    }
    button(5)->setText(App::NoteHasContent ? QStringLiteral("有内容")
                                           : names_.caption(Control::Note));
}

void TFrmExam::epEfTrBtn9Click() {
    if (!WindowRegistry::has(WindowNames::QuestionPoints))
        return;
    WindowRegistry::open(WindowNames::QuestionPoints, this,
                         session_.rows()->text(QStringLiteral("A1")));
}

void TFrmExam::epEfTrBtn10Click() {
    ExportPaper();
}

void TFrmExam::ExportPaper() {
    Progress::begin(QStringLiteral("正在导出试卷，请等待..."));
    ScreenCursor::hourglass();
    QString file;
    try {
        QTextDocument document;
        PaperExport::BuildDocument(*DM1, PaperTable(), PaperTitle(), session_.kind(), &document);
        file = PaperExport::WriteOdt(document, PaperTitle(), PaperExport::OutputFolder());
    } catch (...) {
        // No document: reported below, as a word processor that does not start is.
    }
    const bool opened = !file.isEmpty() && Platform::wordProcessor().openAsNewDocument(file);
    ScreenCursor::normal();
    Progress::end();
    if (!opened)
        Dialogs::messageBox(QStringLiteral("警告"),
                            QStringLiteral("导出试题发生错误，请退出后重试！"),
                            Dialogs::Icon::Warning);
}

void TFrmExam::epEfTrBtn12Click() {
    if (session_.rowCount() == 0)
        return;
    const PracticeSession::Notices n = session_.toggleVoid(button(12)->text());
    if (!n.voidCaption.isEmpty())
        voidToggle_.show(n);
}

// ---------------------------------------------------------------------------------------------

void TFrmExam::done(int result) {
    if (!closeQueried_) {
        closeQueried_ = true;
        Dialogs::guarded([this] { FormCloseQuery(); });
    }
    QDialog::done(result);
}

void TFrmExam::FormCloseQuery() {
    ScreenCursor::hourglass();
    KZTimeCounter1->stop();
    suiPanel1->collapseNow();
    Panel1->unbind();
    for (Dataset* ds : {DM1->Cn1Query1, DM1->Cn1Query2, DM1->Cn1Query_tm, DM1->Cn1Table_cj,
                        DM1->Cn1Table_tx, DM1->Cn1Query_exam, DM1->Cn1Table_fgmc})
        ds->close();
    faces_.clear();
    ScreenCursor::normal();
}

void TFrmExam::keyPressEvent(QKeyEvent* event) {
    if (!HandleAnswerKeyPress(event, keys()))
        QDialog::keyPressEvent(event);
}

AnswerKeys TFrmExam::keys() {
    return {Notebook1, button(1), button(2), [this] { epEfTrBtn1Click(); },
            [this] { epEfTrBtn2Click(); }};
}

void TFrmExam::FormKeyDown(int key) {
    keys().handle(key);
}

void TFrmExam::Notebook1MouseMove() {
    Notebook1->setToolTip(AnswerPad::HintText(Notebook1->page()));
    Notebook1->setAttribute(Qt::WA_AlwaysShowToolTips, true);
}
