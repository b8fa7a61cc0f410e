#include "practice/practice_window.h"

#include "practice/answer_pad.h"
#include "practice/explanation_window.h"
#include "practice/note_window.h"

#include "platform/clock.h"
#include "platform/desktop_services.h"
#include "platform/dialogs.h"
#include "platform/platform_services.h"
#include "platform/program_end.h"
#include "platform/screen_cursor.h"
#include "store/app_state.h"
#include "store/data_module.h"
#include "widgets/effect_button.h"
#include "widgets/elapsed_clock.h"
#include "widgets/gauge.h"
#include "widgets/picture_button.h"
#include "widgets/window_art.h"
#include "widgets/window_registry.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include <optional>
#include <utility>

using namespace Question;

namespace {

using C = Control;

// The small layout for 800 x 600 screens.
const PracticeLayout kSmall = {
    QSize(780, 490),
    QRect(21, 4, 420, 17),
    QRect(21, 22, 150, 18),
    QRect(175, 22, 200, 18),
    QRect(380, 22, 200, 18),
    QRect(21, 42, 590, 384),
    QRect(613, 42, 8, 384),
    QRect(628, 38, 36, 18),
    QRect(668, 38, 90, 18),
    QRect(625, 58, 140, 30),
    QRect(628, 93, 137, 18),
    QRect(625, 112, 140, 103),
    QRect(628, 221, 137, 18),
    QRect(625, 241, 140, 112),
    QPoint(625, 358),
    378,
    QRect(628, 400, 65, 25),
    QRect(698, 400, 65, 25),
    QRect(96, 437, 273, 46),
    {{C::Settings, QRect(624, 6, 71, 25)},
     {C::Desktop, QRect(697, 6, 71, 25)},
     {C::PreviousQuestion, QRect(11, 438, 75, 45)},
     {C::NextQuestion, QRect(376, 438, 75, 46)},
     {C::Finish, QRect(463, 435, 75, 25)},
     {C::Answer, QRect(538, 435, 75, 25)},
     {C::Explanation, QRect(613, 435, 75, 25)},
     {C::Note, QRect(688, 435, 75, 25)},
     {C::Points, QRect(463, 461, 75, 25)},
     {C::Edit, QRect(538, 461, 75, 25)},
     {C::Void, QRect(613, 461, 75, 25)},
     {C::Close, QRect(688, 461, 75, 25)}},
};

// The design layout, for every other screen.
const PracticeLayout kLarge = {
    QSize(923, 585),
    QRect(25, 6, 560, 18),
    QRect(25, 27, 160, 18),
    QRect(190, 27, 220, 18),
    QRect(420, 27, 220, 18),
    QRect(25, 50, 718, 468),
    QRect(747, 50, 10, 468),
    QRect(770, 44, 36, 18),
    QRect(810, 44, 100, 18),
    QRect(766, 66, 140, 36),
    QRect(770, 108, 137, 18),
    QRect(766, 128, 140, 110),
    QRect(770, 246, 137, 18),
    QRect(766, 266, 140, 112),
    QPoint(766, 390),
    412,
    QRect(769, 440, 65, 25),
    QRect(839, 440, 65, 25),
    QRect(97, 527, 276, 50),
    {{C::Settings, QRect(766, 8, 71, 25)},
     {C::Desktop, QRect(839, 8, 71, 25)},
     {C::PreviousQuestion, QRect(15, 530, 75, 45)},
     {C::NextQuestion, QRect(380, 530, 75, 45)},
     {C::Finish, QRect(600, 527, 75, 25)},
     {C::Answer, QRect(675, 527, 75, 25)},
     {C::Explanation, QRect(750, 527, 75, 25)},
     {C::Note, QRect(825, 527, 75, 25)},
     {C::Points, QRect(600, 552, 75, 25)},
     {C::Edit, QRect(675, 552, 75, 25)},
     {C::Void, QRect(750, 552, 75, 25)},
     {C::Close, QRect(825, 552, 75, 25)}},
};

PracticeWindowSetup chapterSetup() {
    PracticeWindowSetup s;
    s.objectName = QStringLiteral("FrmLxxt");
    s.title = QStringLiteral("练习");
    s.names = &ControlNames::Chapter();
    s.config = PracticeConfig::Chapter();
    s.small = &kSmall;
    s.large = &kLarge;
    return s;
}

} // namespace

// ---------------------------------------------------------------------------------------------

PracticeWindow::PracticeWindow(const PracticeWindowSetup& setup, QWidget* owner)
    : QDialog(owner), setup_(setup), session_(*DM1, DM1->Cn1Query_tm, setup.config),
      names_(*setup.names) {
    setObjectName(setup_.objectName);
    setWindowTitle(setup_.title);
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    buildControls();
    FormCreate();
}

PracticeWindow::~PracticeWindow() {
    // The clock and the answer timer are children; nothing of the data module is touched here.
    Timer1->stop();
}

void PracticeWindow::buildControls() {
    WindowArt::UseWindowFont(this);
    epLabel2 = NamedLabel(this, names_, Control::Hint);
    epLabel2->setStyleSheet(QStringLiteral("color: #7a1d1d; font-weight: bold;"));

    line_ = new QuestionLine(names_, this);
    Label12 = line_->number();
    Label15 = line_->appearance();
    Label21 = NamedLabel(this, names_, Control::Notice);
    Label21->setStyleSheet(QStringLiteral("color: #c00000;"));
    if (names_.has(Control::Modified)) {
        modifiedNotice_ = NamedLabel(this, names_, Control::Modified);
        modifiedNotice_->setStyleSheet(QStringLiteral("color: #0040a0;"));
    }

    Panel1 = new QuestionPane(names_, this);
    Re1 = Panel1->upper();
    FlatSplitter1 = Panel1->splitter();
    Re2 = Panel1->lower();
    Panel2 = new AnswerPanel(names_, Panel1, this);
    Lb_answtip = Panel2->verdict();
    Memo1 = Panel2->mine();
    Memo2 = Panel2->key();

    Notebook1 = new AnswerPad(this, names_);
    new MouseMoveWatch(Notebook1, [this] { Notebook1MouseMove(); });

    timers_ = std::make_unique<PracticeTimers>(names_, this);
    epIndiGauge1 = timers_->gauge;
    Timer1 = timers_->answerTimer;
    KZTimeCounter1 = timers_->clock;
    Label1 = timers_->clockHeading;
    epLabel1 = timers_->clockText;
    connect(Timer1, &QTimer::timeout, this, &PracticeWindow::Timer1Timer);
    connect(KZTimeCounter1, &ElapsedClock::ticked, this, &PracticeWindow::KZTimeCounter1Timer);

    RxGIFAnimator1 = new PracticeAnimation(this);
    RxGIFAnimator1->setObjectName(QStringLiteral("RxGIFAnimator1"));

    epLabel4 = NamedLabel(this, names_, Control::TypeBoardHeading);
    fcBG_tx = new TypeBoard(names_, this);
    connect(fcBG_tx, &TypeBoard::changed, this, [this](PictureButton* oldTab, PictureButton* tab) {
        Dialogs::guarded([&] { fcBG_txChange(oldTab, tab); });
    });
    epLabel3 = NamedLabel(this, names_, Control::QuestionBoardHeading);
    fcBG_th = new QuestionBoard(names_, faces_, this);
    connect(fcBG_th, &QuestionBoard::buttonPressed, this,
            [this] { Dialogs::guarded([this] { fcBG_thChange(); }); });
    counters_ = std::make_unique<GroupCounters>(names_, this);
    buttons_[size_t(Control::PreviousGroup)] = counters_->previous();
    buttons_[size_t(Control::NextGroup)] = counters_->next();

    // Every button by its role, acting through its handler.
    using C = Control;
    const std::pair<Control, void (PracticeWindow::*)()> handlers[] = {
        {C::PreviousGroup, &PracticeWindow::FlatSpeedButton1Click},
        {C::NextGroup, &PracticeWindow::FlatSpeedButton2Click},
        {C::PreviousQuestion, &PracticeWindow::epEfTrBtn1Click},
        {C::NextQuestion, &PracticeWindow::epEfTrBtn2Click},
        {C::Finish, &PracticeWindow::epEfTrBtn3Click},
        {C::Explanation, &PracticeWindow::epEfTrBtn4Click},
        {C::Note, &PracticeWindow::epEfTrBtn5Click},
        {C::Answer, &PracticeWindow::epEfTrBtn6Click},
        {C::Desktop, &PracticeWindow::showDesktop},
        {C::Settings, &PracticeWindow::epEfTrBtn8Click},
        {C::Points, &PracticeWindow::epEfTrBtn9Click},
        {C::Void, &PracticeWindow::epEfTrBtn10Click},
        {C::Edit, &PracticeWindow::editQuestion},
        {C::Close, &PracticeWindow::closeWindow},
    };
    for (const auto& [role, handler] : handlers) {
        if (!names_.has(role))
            continue;
        EffectButton*& b = buttons_[size_t(role)];
        if (!b)
            b = NamedButton(this, names_, role);
        connect(b, &QAbstractButton::clicked, this,
                [this, handler] { Dialogs::guarded([&] { (this->*handler)(); }); });
    }
    button(C::Void)->setText(session_.config().voidCaption);
    voidToggle_ = {button(C::Void), Label21};
    answerToggle_ = {button(C::Answer), Panel2, names_.caption(C::Answer)};
    QFont big = font();
    big.setPointSize(11);
    big.setBold(true);
    button(C::PreviousQuestion)->setFont(big);
    button(C::NextQuestion)->setFont(big);
    button(C::Explanation)->setVisible(setup_.explanation);

    LayOut();
}

void PracticeWindow::LayOut() {
    const PracticeLayout& g =
        App::ScreenMode == QLatin1String("800") ? *setup_.small : *setup_.large;
    setFixedSize(g.window);
    const std::pair<QWidget*, QRect> placed[] = {
        {epLabel2, g.hint},
        {line_, g.line},
        {Label21, g.notice},
        {modifiedNotice_, g.modified},
        {Panel1, g.pane},
        {epIndiGauge1, g.gauge},
        {Label1, g.clockLabel},
        {epLabel1, g.clock},
        {RxGIFAnimator1, g.animation},
        {epLabel4, g.typeBoard},
        {fcBG_tx, g.typeTabs},
        {epLabel3, g.questionBoard},
        {fcBG_th, g.questionButtons},
        {Notebook1, g.pad},
    };
    for (const auto& [w, r] : placed) {
        if (w)
            w->setGeometry(r);
    }
    counters_->place(g.counters, g.countersTop2, g.prevGroup, g.nextGroup);
    for (const auto& [role, r] : g.buttons) {
        if (EffectButton* b = button(role))
            b->setGeometry(r);
    }
    Panel2->follow();
}

void PracticeWindow::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    if (!background_.isNull())
        p.drawTiledPixmap(rect(), background_);
    else
        p.fillRect(rect(), QColor(232, 226, 206));
    PaintBoards(p,
                QRect(fcBG_tx->x() - 4, Label1->y() - 4, fcBG_tx->width() + 8,
                      counters_->previous()->geometry().bottom() - Label1->y() + 10),
                Panel1->geometry());
    QDialog::paintEvent(event);
}

// ---------------------------------------------------------------------------------------------

void PracticeWindow::failPictures() {
    picturesMissing_ = true;
    ShowDlg(QStringLiteral("错误"), QStringLiteral("无法提取资源文件！"), 1, QStringLiteral("NO"),
            2);
    ProgramEnd::request();
}

void PracticeWindow::FormCreate() {
    background_.load(App::AppPath + QStringLiteral("pic/bg_window.png"));
    if (!faces_.load(App::AppPath)) {
        failPictures();
        return;
    }
    fcBG_th->fill(1, 0, {});
}

// ---------------------------------------------------------------------------------------------

bool PracticeWindow::LoadQuestionSet() {
    if (picturesMissing_)
        return false;
    if (!session_.load(App::PracticeQuerySql, std::exchange(App::PracticeQueryParams, {})))
        return false;
    App::FirstQuestionId = session_.list()->text(QStringLiteral("a1"));

    if (!fcBG_tx->loadFaces(App::AppPath)) {
        failPictures();
        return false;
    }
    // The list stays filtered by the last type until the first tab is pressed.
    fcBG_tx->fill(DM1->Cn1Table_tx, [this](int code) {
        session_.applyTypeFilter(PracticeSession::FilterFor(code));
        return !session_.list()->isEmpty();
    });
    return true;
}

void PracticeWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        Dialogs::guarded([this] { FormShow(); });
}

void PracticeWindow::FormShow() {
    ScreenCursor::hourglass();
    closeQueried_ = false;
    epIndiGauge1->setValue(0);
    LayOut();
    if (const QScreen* s = screen()) {
        const QRect avail = s->availableGeometry();
        move(avail.center() - rect().center());
    }
    OpenContentRow(DM1->cn1query_nr, App::FirstQuestionId);
    Panel1->setLowerPane(0, 0);
    Panel2->closeNow();

    if (setup_.hintIsChapterHeading)
        epLabel2->setText(App::ChapterHeading);
    session_.currentRecNo = 0;
    if (!typeTabs().isEmpty())
        pressTypeTab(typeTabs().first());

    timers_->restartClock();
    ScreenCursor::normal();
    RxGIFAnimator1->start();
    button(Control::Points)->setEnabled(false);
}

void PracticeWindow::fcBG_txChange(PictureButton* oldTab, PictureButton* newTab) {
    if (!newTab)
        return;
    Dataset* list = session_.list();
    if (session_.currentRecNo > 0) {
        const int recNo = session_.currentRecNo;
        session_.currentRecNo = 0;
        JudgeAnswer(recNo, Notebook1->page(), GroupStart(), groupEnd(), list, DM1->cn1query_nr, 2);
    }
    const int t = newTab->tag();
    if (session_.config().subjectiveLabelFollowsTab)
        Notebook1->setSubjectiveCaption(t != 0 ? newTab->text() : QStringLiteral("主观"));
    ApplyTypeFilter(PracticeSession::FilterFor(t), list);
    if (session_.total() > 0) {
        FillGroup(QStringLiteral("1"), session_.total(), list);
        return;
    }
    fcBG_tx->refuse(newTab, oldTab); // the previous tab runs this handler again
}

void PracticeWindow::ApplyTypeFilter(const QString& filterText, Dataset*) {
    session_.applyTypeFilter(filterText);
}

void PracticeWindow::FillGroup(const QString& mode, int, Dataset*) {
    if (mode == QLatin1String("1"))
        session_.firstGroup();
    else if (mode == QLatin1String("2"))
        session_.previousGroup();
    else if (mode == QLatin1String("3"))
        session_.nextGroup();
    showGroup();
}

void PracticeWindow::showGroup() {
    counters_->show(session_);
    fcBG_th->fill(GroupStart(), GroupCount(), [this](int recNo) -> std::optional<Face> {
        if (!session_.list()->setRecNo(recNo))
            return std::nullopt;
        return session_.faceOf(recNo);
    });
    fcBG_th->press(1);
}

void PracticeWindow::fcBG_thChange() {
    PictureButton* b = fcBG_th->pressedButton();
    if (!b)
        return;
    if (modifiedNotice_)
        modifiedNotice_->clear();
    answerToggle_.closeNow();
    const int r = b->tag();
    if (r <= 0)
        return;
    button(Control::PreviousQuestion)->setEnabled(session_.previousQuestionEnabled(r));
    button(Control::NextQuestion)->setEnabled(session_.nextQuestionEnabled(r));
    GoToQuestion(session_.currentRecNo, r, GroupStart(), groupEnd(), session_.list(),
                 DM1->cn1query_nr);
    const PracticeSession::Notices n = session_.noticesOfCurrent();
    voidToggle_.show(n);
    if (modifiedNotice_)
        modifiedNotice_->setText(n.modified);
}

void PracticeWindow::GoToQuestion(int oldRecNo, int recNo, int groupStart, int groupEnd,
                                  Dataset* list, Dataset* content) {
    JudgeAnswer(oldRecNo, Notebook1->page(), groupStart, groupEnd, list, content, 0);
    session_.currentRecNo = recNo;
    list->setRecNo(recNo);
    OpenContentRow(content, list->text(QStringLiteral("a1")));

    line_->setQuestion(recNo - GroupStart() + 1, list->whole(QStringLiteral("E3")));

    Notebook1->selectPage(TypePage(int(list->whole(QStringLiteral("A13")))));
    PresentQuestion(Notebook1->page(), list, content);
    ShowStem(list->text(QStringLiteral("A1")));

    fcBG_th->setDownFace(
        recNo, FaceFor(list->text(QStringLiteral("E2_1")), list->text(QStringLiteral("A2"))));

    timers_->restartAnswerTimer(session_.answerTimerInterval(App::TypeCodes, App::TypeTimes));
}

void PracticeWindow::ShowStem(const QString& questionId) {
    Panel1->ShowStem(questionId, DM1->cn1query_nr, DM1->Cn1Query2);
}

void PracticeWindow::PresentQuestion(int page, Dataset* list, Dataset* content) {
    const QString e2_1 = list->text(QStringLiteral("E2_1"));
    const ButtonStates s =
        StatesFor(!e2_1.isEmpty(), HasExplanation(content), PracticeSession::FirstPointOf(*list),
                  int(list->whole(QStringLiteral("A13"))), list->text(QStringLiteral("A14")));
    button(Control::Explanation)->setEnabled(s.explanation);
    button(Control::Points)->setEnabled(s.points);
    button(Control::Answer)->setEnabled(s.answer);
    button(Control::Note)->setText(s.noteCaption);
    Notebook1->restore(page, e2_1, VisibleOptions(list->whole(QStringLiteral("A2_1"))));
}

void PracticeWindow::JudgeAnswer(int recNo, int page, int groupStart, int groupEnd, Dataset* list,
                                 Dataset* content, int mode) {
    if (recNo <= 0)
        return;
    const PracticeSession::Outcome out =
        session_.record(recNo, Notebook1->answerText(page), Clock::today());
    // The button of the question being left, when it is in the group on show.
    const bool leavingShown = mode == 0 && groupStart <= recNo && recNo <= groupEnd;
    if (!out.answered) {
        if (mode == 1)
            ShowDlg(QStringLiteral("提示"), session_.config().noAnswerText, 1, QStringLiteral("NO"),
                    1);
        else if (leavingShown)
            fcBG_th->setUpFace(recNo, Face::Unanswered);
        return;
    }
    if (mode == 1) {
        const int typeCode = int(list->whole(QStringLiteral("A13")));
        const ButtonStates s = StatesFor(true, HasExplanation(content),
                                         PracticeSession::FirstPointOf(*list), typeCode, QString());
        button(Control::Explanation)->setEnabled(s.explanation);
        button(Control::Points)->setEnabled(s.points);
        fcBG_th->setDownFace(recNo, out.face);
        button(Control::Answer)->setEnabled(!IsSubjective(typeCode));
    } else if (leavingShown) {
        fcBG_th->setUpFace(recNo, out.face);
    }
}

void PracticeWindow::ToggleAnswerPanel() {
    answerToggle_.toggle();
}

// ---------------------------------------------------------------------------------------------

void PracticeWindow::Timer1Timer() {
    if (!timers_->stepAnswerTimer())
        return;
    ShowDlg(QStringLiteral("提示"), QStringLiteral("到时间了"), 1, QStringLiteral("NO"), 1);
    Dialogs::guarded([this] { session_.markTimeUp(); });
}

void PracticeWindow::KZTimeCounter1Timer() {
    timers_->showClock();
}

void PracticeWindow::epEfTrBtn1Click() {
    const PracticeSession::Step step = session_.previousQuestion(session_.list()->recNo());
    if (step.kind == PracticeSession::Step::Button)
        fcBG_th->press(step.button);
    else if (step.kind == PracticeSession::Step::Group)
        showGroup(); // the session has moved to the neighbouring group
}

void PracticeWindow::epEfTrBtn2Click() {
    const PracticeSession::Step step = session_.nextQuestion(session_.list()->recNo());
    if (step.kind == PracticeSession::Step::Button)
        fcBG_th->press(step.button);
    else if (step.kind == PracticeSession::Step::Group)
        showGroup();
}

void PracticeWindow::FlatSpeedButton1Click() {
    FillGroup(QStringLiteral("2"), 0, nullptr);
}

void PracticeWindow::FlatSpeedButton2Click() {
    FillGroup(QStringLiteral("3"), 0, nullptr);
}

void PracticeWindow::epEfTrBtn3Click() {
    Dataset* list = session_.list();
    if (list->active() && list->recNo() >= 1)
        JudgeAnswer(list->recNo(), Notebook1->page(), GroupStart(), groupEnd(), list,
                    DM1->cn1query_nr, 1);
}

void PracticeWindow::epEfTrBtn6Click() {
    if (!answerToggle_.isOpen()) {
        const int page = Notebook1->page();
        Panel2->setAnswer(PanelAnswerText(page, Notebook1->state(page)),
                          PanelKeyText(page, session_.list()->text(QStringLiteral("A2"))));
    }
    ToggleAnswerPanel();
}

void PracticeWindow::epEfTrBtn10Click() {
    const PracticeSession::Notices n = session_.toggleVoid(button(Control::Void)->text());
    if (!n.voidCaption.isEmpty())
        voidToggle_.show(n);
}

void PracticeWindow::epEfTrBtn4Click() {
    ScreenCursor::hourglass();
    TFrmJx window(this);
    window.BindExplanation(DM1->cn1query_nr, DM1->cn1query_nr, QStringLiteral("jx"));
    window.exec();
    ScreenCursor::normal();
}

void PracticeWindow::epEfTrBtn5Click() {
    {
        TFrmBj window(this);
        window.BindNote(session_.list(), QStringLiteral("A14"));
        window.exec();
    }
    button(Control::Note)
        ->setText(App::NoteHasContent ? QStringLiteral("有内容") : names_.caption(Control::Note));
}

void PracticeWindow::epEfTrBtn9Click() {
    if (!WindowRegistry::has(WindowNames::QuestionPoints))
        return;
    WindowRegistry::open(WindowNames::QuestionPoints, this,
                         session_.list()->text(QStringLiteral("A1")));
    if (!isVisible())
        show();
}

void PracticeWindow::editQuestion() {
    if (!WindowRegistry::has(WindowNames::EditQuestion))
        return;
    Timer1->stop();
    Dataset* list = session_.list();
    const int recNo = session_.currentRecNo;
    const QString given = Notebook1->answerText();
    const int page = Notebook1->page();
    if (WindowRegistry::open(WindowNames::EditQuestion, this, list->text(QStringLiteral("A1"))) ==
            WindowRegistry::kNotShown ||
        recNo <= 0 || !list->setRecNo(recNo))
        return;
    // The question on show as it is now: its answer page, options, stem, buttons and notices.
    // An answer begun before the edit stays when the page is the same.
    Notebook1->selectPage(TypePage(int(list->whole(QStringLiteral("A13")))));
    PresentQuestion(Notebook1->page(), list, DM1->cn1query_nr);
    if (Notebook1->page() == page && !given.isEmpty())
        Notebook1->restore(page, given, VisibleOptions(list->whole(QStringLiteral("A2_1"))));
    ShowStem(list->text(QStringLiteral("A1")));
    const PracticeSession::Notices n = session_.noticesOfCurrent();
    voidToggle_.show(n);
    if (modifiedNotice_)
        modifiedNotice_->setText(n.modified);
}

void PracticeWindow::epEfTrBtn8Click() {
    if (!WindowRegistry::has(WindowNames::Settings))
        return;
    App::ConfigMode = 0;
    WindowRegistry::open(WindowNames::Settings, this);
}

void PracticeWindow::showDesktop() {
    Platform::desktop().showDesktop();
}

void PracticeWindow::closeWindow() {
    close();
}

// ---------------------------------------------------------------------------------------------

TFrmLxxt::TFrmLxxt(QWidget* owner) : PracticeWindow(chapterSetup(), owner) {
    Label24 = modifiedNotice_;
}

void TFrmLxxt::epEfTrBtn7Click() {
    showDesktop();
}

void TFrmLxxt::epEfTrBtn11Click() {
    editQuestion();
}

void TFrmLxxt::epEfTrBtn99Click() {
    closeWindow();
}

// ---------------------------------------------------------------------------------------------

void PracticeWindow::done(int result) {
    if (!closeQueried_) {
        closeQueried_ = true;
        Dialogs::guarded([this] { FormCloseQuery(); });
    }
    QDialog::done(result);
}

void PracticeWindow::FormCloseQuery() {
    ScreenCursor::hourglass();
    const QString elapsed = timers_->stop();
    RxGIFAnimator1->stop();
    const auto closeShared = [] {
        for (Dataset* ds :
             {DM1->Cn1Query1, DM1->Cn1Query2, DM1->Cn1Query_tm, DM1->Cn1Table_cj, DM1->Cn1Table_tx})
            ds->close();
    };
    try {
        Dataset* list = session_.list();
        if (list->active() && list->recNo() >= 1)
            JudgeAnswer(list->recNo(), Notebook1->page(), GroupStart(), groupEnd(), list,
                        DM1->cn1query_nr, 2);
        DM1->AddStudyTime(elapsed);
    } catch (...) {
        // What is left to close is closed all the same; the error is reported by the caller.
        closeShared();
        ScreenCursor::normal();
        throw;
    }
    Panel1->unbind();
    closeShared();
    faces_.clear();
    ScreenCursor::normal();
}

void PracticeWindow::keyPressEvent(QKeyEvent* event) {
    if (!HandleAnswerKeyPress(event, keys()))
        QDialog::keyPressEvent(event);
}

AnswerKeys PracticeWindow::keys() {
    return {Notebook1, button(Control::PreviousQuestion), button(Control::NextQuestion),
            [this] { epEfTrBtn1Click(); }, [this] { epEfTrBtn2Click(); }};
}

void PracticeWindow::FormKeyDown(int key) {
    keys().handle(key);
}

void PracticeWindow::Notebook1MouseMove() {
    Notebook1->setToolTip(AnswerPad::HintText(Notebook1->page()));
    Notebook1->setAttribute(Qt::WA_AlwaysShowToolTips, true);
}
