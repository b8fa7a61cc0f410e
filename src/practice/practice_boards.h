#pragma once

// The boards of the right-hand column of the windows that present questions: the type tabs, the
// 20 question buttons of the group on show, and the group counters with the buttons that move
// group by group. Each window builds them once with its own control names.

#include "practice/practice_names.h"
#include "practice/question_model.h"

#include <QPixmap>
#include <QVector>
#include <QWidget>

#include <array>
#include <functional>
#include <optional>

class Dataset;
class EffectButton;
class PictureButton;
class PracticeSession;
class QButtonGroup;
class QLabel;
class QPainter;
class QuestionFaces;

// The type tabs: 任意 (tag 0) first, then one per question type tagged with its code, a radio
// group in two columns.
class TypeBoard : public QWidget {
    Q_OBJECT

  public:
    TypeBoard(const ControlNames& names, QWidget* parent);

    // The tab pictures (up, down); answers false when one is missing.
    bool loadFaces(const QString& programFolder);
    // Builds the tabs anew: 任意, then one per row of types (sorted by code here), each disabled
    // when hasQuestions(code) answers no.
    void fill(Dataset* types, const std::function<bool(int code)>& hasQuestions);

    const QVector<PictureButton*>& tabs() const { return tabs_; }
    PictureButton* tab(int tag) const; // nullptr when there is none
    PictureButton* current() const { return current_; }
    // Presses a tab as a click would (released first when it is pressed already).
    void press(PictureButton* tab);
    // Releases every tab.
    void release();
    // A pressed tab without questions is disabled; the tab pressed before it is pressed again
    // (changed() follows), or, when there was none, every tab is released.
    void refuse(PictureButton* tab, PictureButton* previous);

  Q_SIGNALS:
    // A tab was pressed; oldTab is the one pressed before (nullptr when none).
    void changed(PictureButton* oldTab, PictureButton* newTab);

  private:
    PictureButton* addTab(const QString& caption, int tag);

    QButtonGroup* group_;
    QVector<PictureButton*> tabs_;
    QVector<QPixmap> faces_; // up, down
    PictureButton* current_ = nullptr;
};

// The numbered question buttons in 5 columns, a radio group; each button's tag is the record
// number it shows (0 when unused) and its pictures follow that record's answer. The practice
// windows show the 20 questions of a group row by row; the exam's answer sheet has 95 buttons
// filled column by column.
class QuestionBoard : public QWidget {
    Q_OBJECT

  public:
    struct Shape {
        int count = Question::kGroupSize;
        bool byColumn = false;
        QSize buttonSize = QSize(28, 24);
    };
    QuestionBoard(const ControlNames& names, const QuestionFaces& faces, QWidget* parent,
                  Shape shape);
    QuestionBoard(const ControlNames& names, const QuestionFaces& faces, QWidget* parent)
        : QuestionBoard(names, faces, parent, Shape{}) {}

    int count() const { return int(buttons_.size()); }
    // The button with a 1-based number, nullptr outside 1..count().
    PictureButton* button(int number) const;
    const QVector<PictureButton*>& buttons() const { return buttons_; }
    PictureButton* pressedButton() const;
    // Releases every button (none pressed); buttonPressed() does not follow.
    void releaseAll();

    // Shows records start .. start + count - 1 on the first count buttons, each with the face
    // faceOf answers for its record (nothing: the record is missing, and its button is unused).
    // The other buttons are disabled with tag 0 and the unanswered pictures.
    void fill(int start, int count,
              const std::function<std::optional<Question::Face>(int)>& faceOf);
    // Presses a button (released first when it is pressed already); buttonPressed() follows.
    void press(int number);
    // The button of a record of the group on show gets its pressed or its released picture.
    void setDownFace(int recNo, Question::Face face) const;
    void setUpFace(int recNo, Question::Face face) const;

  Q_SIGNALS:
    void buttonPressed();

  private:
    const QuestionFaces& faces_;
    QButtonGroup* group_;
    QVector<PictureButton*> buttons_;
};

// 共 x 组 y 道题 over 第 z 组, with the buttons to the previous and the next group.
class GroupCounters {
  public:
    GroupCounters(const ControlNames& names, QWidget* parent);

    QLabel* groups() const { return groups_; }
    QLabel* questions() const { return questions_; }
    QLabel* group() const { return group_; }
    EffectButton* previous() const { return previous_; }
    EffectButton* next() const { return next_; }

    // Shows the session's groups and enables the group buttons by its rules.
    void show(const PracticeSession& session) const;
    // The first line at (left, top), the second at secondTop; the buttons at their places.
    void place(QPoint first, int secondTop, const QRect& previous, const QRect& next) const;

  private:
    std::array<QLabel*, 5> first_{};  // 共 x 组 y 道题
    std::array<QLabel*, 3> second_{}; // 第 z 组
    QLabel* groups_;
    QLabel* questions_;
    QLabel* group_;
    EffectButton* previous_;
    EffectButton* next_;
};

// The frame of the boards' column and the question pane's border, over a window's background.
void PaintBoards(QPainter& p, const QRect& boards, const QRect& pane);
