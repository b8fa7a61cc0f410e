#pragma once

// The parts of the windows that present questions (chapter practice, practice by knowledge
// point, the exam): the question pane, the sliding answer panel, the question-button faces and
// the void toggle. Each window builds them with the control names of its own design.

#include "practice/practice_session.h"
#include "practice/question_model.h"

#include <QPixmap>
#include <QString>
#include <QVector>
#include <QWidget>

class DbRichView;
class EffectButton;
class PictureButton;
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

// The question pane: the upper text view shows the question, or a case question's case text
// with the question itself in the lower view below a splitter.
class QuestionPane : public QWidget {
    Q_OBJECT

  public:
    struct Names {
        QString pane = QStringLiteral("Panel1");
        QString upper = QStringLiteral("Re1");
        QString splitter = QStringLiteral("FlatSplitter1");
        QString lower = QStringLiteral("Re2");
    };
    QuestionPane(const Names& names, QWidget* parent);

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
    struct Names {
        QString panel = QStringLiteral("Panel2");
        QString verdict = QStringLiteral("Lb_answtip");
        QString mineLabel = QStringLiteral("Label_mine");
        QString mine = QStringLiteral("Memo1");
        QString keyLabel = QStringLiteral("Label_key");
        QString key = QStringLiteral("Memo2");
    };
    AnswerPanel(const Names& names, QWidget* over, QWidget* parent);

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

// The six question-button pictures; without them a window cannot run.
class QuestionFaces {
  public:
    bool load(const QString& programFolder);
    void clear() { pictures_.clear(); }
    QPixmap picture(Question::Face face, bool down) const;
    void set(PictureButton* b, Question::Face up, Question::Face down) const;
    void setUp(PictureButton* b, Question::Face face) const;
    void setDown(PictureButton* b, Question::Face face) const;

  private:
    QVector<QPixmap> pictures_; // in the order of Question::QuestionButtonPictures()
};

// The void button with the notice beside the question's number.
struct VoidToggle {
    EffectButton* button = nullptr;
    QLabel* notice = nullptr;
    void show(const PracticeSession::Notices& n) const;
};

// Loads pictures of the program folder, all or none.
bool LoadPictures(const QString& programFolder, const QStringList& files, QVector<QPixmap>& into);
