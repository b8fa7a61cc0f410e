#pragma once

// The names and captions the windows that present questions give their controls. The same role
// has another name in another window (the desktop button of the chapter practice is
// "epEfTrBtn7", which closes the practice over a knowledge point), so every part asks its
// window's table instead of naming its controls itself.

#include <QString>

#include <array>
#include <cstddef>
#include <initializer_list>

enum class Control {
    Hint,     // the hint board over the question
    Notice,   // voided, or added by the learner
    Modified, // the question has been edited
    // 第 n 题（第 m 次出现）
    NumberText,
    Number,
    NumberUnit,
    AppearanceText,
    Appearance,
    AppearanceUnit,
    // the answer timer with its gauge, the elapsed-time clock under its heading
    Gauge,
    AnswerTimer,
    Clock,
    ClockHeading,
    ClockText,
    // the question pane and the answer panel over it
    Pane,
    UpperView,
    Splitter,
    LowerView,
    AnswerPanel,
    Verdict,
    MineLabel,
    Mine,
    KeyLabel,
    Key,
    // the answer pad's side labels that a window names
    SubjectiveLabel,
    MatchingLabel,
    // the boards of the right-hand column
    TypeBoardHeading,
    TypeBoard,
    QuestionBoardHeading,
    QuestionBoard,
    QuestionButton, // a pattern: %1 is the button's number, 1..20
    GroupsText,     // 共
    Groups,         // x
    GroupsUnit,     // 组
    Questions,      // y
    QuestionsUnit,  // 道题
    GroupText,      // 第
    Group,          // z
    GroupUnit,      // 组
    PreviousGroup,
    NextGroup,
    // the buttons
    PreviousQuestion,
    NextQuestion,
    Finish,
    Explanation,
    Note,
    Answer,
    Desktop,
    Settings,
    Points,
    Void, // its caption is the practice's void caption
    Edit,
    Close,
};
inline constexpr std::size_t kControlCount = std::size_t(Control::Close) + 1;

class ControlNames {
  public:
    struct Entry {
        QString name; // empty: the window has no such control
        QString caption;
    };

    // The chapter practice; the practice over one knowledge point.
    static const ControlNames& Chapter();
    static const ControlNames& KnowledgePoint();

    // These names with some roles named otherwise.
    ControlNames with(std::initializer_list<std::pair<Control, Entry>> changes) const;

    bool has(Control c) const { return !name(c).isEmpty(); }
    const QString& name(Control c) const { return entries_[std::size_t(c)].name; }
    const QString& caption(Control c) const { return entries_[std::size_t(c)].caption; }
    // The name of the question button with a 1-based number.
    QString questionButton(int number) const;

  private:
    explicit ControlNames(std::initializer_list<std::pair<Control, Entry>> entries);
    std::array<Entry, kControlCount> entries_{};
};
