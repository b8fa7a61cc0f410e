#pragma once

// The parts of the windows that present questions (chapter practice, practice by knowledge
// point, the exam): the question pane, the sliding answer panel, the question-button faces and
// the void toggle. Each window builds them with the control names of its own design.

#include "practice/practice_names.h"
#include "practice/practice_session.h"
#include "practice/question_model.h"

#include <QPixmap>
#include <QString>
#include <QVector>
#include <QWidget>

#include <functional>

class AnswerPad;
class DbRichView;
class QAbstractButton;
class EffectButton;
class ElapsedClock;
class Gauge;
class PictureButton;
class QKeyEvent;
class QLabel;
class QPlainTextEdit;
class QTimer;
class TDM1;

// The splitter bar between the question text panes: dragging it changes the lower pane's height.
class PaneSplitter : public QWidget {
    Q_OBJECT

  public:
    explicit PaneSplitter(QWidget* parent = nullptr);

  Q_SIGNALS:
    void dragged(int dy);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    int lastY_ = 0;
};

// The small animation of the practice windows: a row of dots that rise and fall in turn.
class PracticeAnimation : public QWidget {
    Q_OBJECT

  public:
    explicit PracticeAnimation(QWidget* parent = nullptr);
    void start();
    void stop();
    bool isRunning() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QTimer* timer_ = nullptr;
    int phase_ = 0;
};

// 第 n 题（第 m 次出现）: the question's number in its group and how often it has come up.
class QuestionLine : public QWidget {
    Q_OBJECT

  public:
    QuestionLine(const ControlNames& names, QWidget* parent);
    QLabel* number() const { return number_; }
    QLabel* appearance() const { return appearance_; }
    // n, and m from the number of answers counted so far (E3).
    void setQuestion(int number, qint64 answersCounted);

  private:
    QLabel* number_;
    QLabel* appearance_;
};

// The answer timer with its gauge of 100 steps, one step a tick, and the elapsed-time clock with
// its text under its heading.
class PracticeTimers {
  public:
    PracticeTimers(const ControlNames& names, QWidget* parent);

    Gauge* gauge = nullptr;
    QTimer* answerTimer = nullptr;
    ElapsedClock* clock = nullptr;
    QLabel* clockHeading = nullptr;
    QLabel* clockText = nullptr;

    // Empties the gauge and ticks every interval milliseconds (not at all for 0).
    void restartAnswerTimer(int interval) const;
    // One tick: fills the gauge a step; at the tick after it is full the timer stops and the
    // answer time is up (true).
    bool stepAnswerTimer() const;
    // The clock from zero, its text shown.
    void restartClock() const;
    void showClock() const;
    // Stops both; answers the clock's elapsed text.
    QString stop() const;
};

// The question pane: the upper text view shows the question, or a case question's case text
// with the question itself in the lower view below a splitter.
class QuestionPane : public QWidget {
    Q_OBJECT

  public:
    QuestionPane(const ControlNames& names, QWidget* parent);

    DbRichView* upper() const { return upper_; }
    PaneSplitter* splitter() const { return splitter_; }
    DbRichView* lower() const { return lower_; }

    // Binds the views for a question id: an id with "-" is a case question whose case (the
    // first 16 characters) is read into caseRow and shown above the question's content row;
    // the lower pane opens at 150 pixels when it was closed. Otherwise the lower pane closes.
    // A failure is reported ("无法打开试题！") and the practice goes on.
    void ShowStem(const QString& questionId, Dataset* content, Dataset* caseRow);
    void setLowerPane(int lowerHeight, int splitterHeight);
    int splitterHeight() const { return splitterHeight_; }
    void unbind();

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void layoutViews();
    DbRichView* upper_;
    PaneSplitter* splitter_;
    DbRichView* lower_;
    int lowerHeight_ = 0;
    int splitterHeight_ = 0;
};

// The answer panel that slides over the question pane: the verdict, the learner's answer and the
// key.
class AnswerPanel : public QWidget {
    Q_OBJECT

  public:
    AnswerPanel(const ControlNames& names, QWidget* over, QWidget* parent);

    QLabel* verdict() const { return verdict_; }
    QPlainTextEdit* mine() const { return mine_; }
    QPlainTextEdit* key() const { return key_; }

    // Fills the panel for an answer (as the panel reads it) against the key.
    void setAnswer(const QString& mine, const QString& key);
    // Widens the panel to the pane's width in growing steps (20, 40, 60 ... pixels), or narrows
    // it to 0 the same way, letting pending events run after each step.
    void slide(bool open);
    void closeNow();
    // Lies over the pane again after the pane moved.
    void follow();

  private:
    QWidget* over_;
    QLabel* verdict_;
    QPlainTextEdit* mine_;
    QPlainTextEdit* key_;
};

// The question-button pictures; without them a window cannot run.
class QuestionFaces {
  public:
    bool load(const QString& programFolder,
              const QStringList& files = Question::QuestionButtonPictures());
    void clear() { pictures_.clear(); }
    QPixmap picture(Question::Face face, bool down) const;
    void set(PictureButton* b, Question::Face up, Question::Face down) const;
    void setUp(PictureButton* b, Question::Face face) const;
    void setDown(PictureButton* b, Question::Face face) const;

  private:
    QStringList files_;
    QVector<QPixmap> pictures_; // in the order of files_
};

// The void button with the notice beside the question's number.
struct VoidToggle {
    EffectButton* button = nullptr;
    QLabel* notice = nullptr;
    void show(const PracticeSession::Notices& n) const;
};

// The answer button with the panel it opens: it reads its caption (答案) while the panel is
// closed and 返回 while it is open.
struct AnswerToggle {
    EffectButton* button = nullptr;
    AnswerPanel* panel = nullptr;
    QString caption;
    bool isOpen() const;
    // Slides the panel open or closed and turns the caption.
    void toggle() const;
    // Closes an open panel at once.
    void closeNow() const;
};

// Calls back whenever the mouse moves over a widget or one of its children (those it has when
// the watch starts).
class MouseMoveWatch : public QObject {
  public:
    MouseMoveWatch(QWidget* watched, std::function<void()> onMove);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    std::function<void()> onMove_;
};

// A label named and captioned as the window names the role.
QLabel* NamedLabel(QWidget* parent, const ControlNames& names, Control role);
// A push button named and captioned so, which never acts as the window's default button.
EffectButton* NamedButton(QWidget* parent, const ControlNames& names, Control role);

// Opens the content row of a question; whether a content row has an explanation.
void OpenContentRow(Dataset* content, const QString& questionId);
bool HasExplanation(Dataset* content);

// The key code a practice window's key handler takes: 8 Backspace, 13 Enter, the letter's code
// for A..Z; 0 for every other key, -1 for Escape (which never closes the window).
int PracticeKeyCode(const QKeyEvent& event);

// A key of PracticeKeyCode on a window that presents questions. It counts only while the pad
// shows the single- or multiple-choice page: Backspace runs goPrevious and Enter goNext while
// their button is enabled; A..F press or toggle an option while the pad is enabled.
struct AnswerKeys {
    AnswerPad* pad = nullptr;
    QAbstractButton* previous = nullptr;
    QAbstractButton* next = nullptr;
    std::function<void()> goPrevious;
    std::function<void()> goNext;
    void handle(int key) const;
};

// The key press of such a window: a key of PracticeKeyCode goes to keys (guarded); Escape is
// swallowed; answers false for every other key, which the window passes on.
bool HandleAnswerKeyPress(QKeyEvent* event, const AnswerKeys& keys);

// Loads pictures of the program folder, all or none.
bool LoadPictures(const QString& programFolder, const QStringList& files, QVector<QPixmap>& into);
