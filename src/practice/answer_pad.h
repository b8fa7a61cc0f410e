#pragma once

#include "practice/practice_names.h"
#include "practice/question_model.h"

#include <QStackedWidget>

#include <array>

class PictureButton;
class QButtonGroup;
class QComboBox;
class QLineEdit;
class VerticalLabel;

// The answer pad (Notebook1): six pages, one on show at a time, each with its side label and its
// answer controls. Reads the answer of a page as its answer text and restores an answer text onto a
// page; the question model decides what the texts mean.
//
//   page 0 单选  fcBG_one1..6 (radio group fcBG_one, all may be up)
//   page 1 多选  fcBG_many1..6 (check list fcBG_many)
//   page 2 填空  FlatEdit1
//   page 3 判断  fcBG_yn1 对 / fcBG_yn2 错 (radio group fcBG_yn)
//   page 4 主观  FlatComboBox1 (不会 / 会, nothing chosen at first), side label named by the window
//   page 5 配伍  fcBG_pw1..6 (check list fcBG_pw), side label 不定项, named by the window
class AnswerPad : public QStackedWidget {
    Q_OBJECT

  public:
    // The window names the side labels of the subjective and matching pages.
    explicit AnswerPad(QWidget* parent = nullptr,
                       const ControlNames& names = ControlNames::Chapter());

    using Options = std::array<PictureButton*, Question::kOptionCount>;

    Options fcBG_one{};
    Options fcBG_many{};
    Options fcBG_pw{};
    QLineEdit* FlatEdit1 = nullptr;
    PictureButton* fcBG_yn1 = nullptr; // 对
    PictureButton* fcBG_yn2 = nullptr; // 错
    QComboBox* FlatComboBox1 = nullptr;
    // Side label of the subjective page ("Label8" in the chapter practice).
    VerticalLabel* Label8 = nullptr;

    // The page on show (0..5).
    int page() const { return currentIndex(); }
    // Shows a page; Question::NoPage and any other value outside 0..5 leave the page on show.
    void selectPage(int page);

    // What a page holds now, and its answer text (Question::AnswerText).
    Question::PadState state(int page) const;
    QString answerText(int page) const;
    QString answerText() const { return answerText(page()); }

    // Puts a current-practice answer back on a page: the first visibleOptions options shown, the
    // rest hidden and released; the answer's options pressed, the others released.
    void restore(int page, const QString& answer, int visibleOptions);

    // Keyboard letter A..F (index 0..5): presses the option on the single-choice page, toggles it
    // on the multiple-choice page, whether it is visible or not. Other pages: nothing.
    void pressOptionKey(int index);

    // The subjective page's side label: the first two characters of the type tab's caption.
    void setSubjectiveCaption(const QString& tabCaption);

    // The hint text of a page ("" outside 0..5).
    static QString HintText(int page);
    // The side-label caption of a page.
    static QString PageCaption(int page);

  private:
    QWidget* makePage(int page, QWidget** controls, const ControlNames& names);
    PictureButton* makeOption(QWidget* parent, const QString& caption, const QString& name);
    void releaseAll(QButtonGroup* group);

    QButtonGroup* oneGroup_ = nullptr;
    QButtonGroup* ynGroup_ = nullptr;
};
