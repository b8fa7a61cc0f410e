#pragma once

#include "authoring/authored_question.h"

#include <QDialog>
#include <QString>
#include <QVector>
#include <functional>

class EffectButton;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPainter;
class QPushButton;
class QSpinBox;
class QTextEdit;

// What the question entry and the question edit window share: the option count, the answer, the
// type with its subjective rule, and the knowledge points with the picker, the 10-point limit and
// Delete. Each window is a configuration of it with its own texts and buttons.
class QuestionForm : public QDialog {
    Q_OBJECT

  public:
    struct Setup {
        int pickerTag = 1;              // how the picker knows its opener
        QString pointLimitText;         // shown when the question has 10 knowledge points
        bool choiceClearsAnswer = true; // a change to a non-subjective type empties the answer
        bool typedTypes = false;        // the type box also takes typed text
    };

    ~QuestionForm() override;

    // Controls, named as the windows' design names them.
    QSpinBox* SE_Num = nullptr;
    QLineEdit* Edit1 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QListWidget* ListBox1 = nullptr; // one display line per knowledge point
    QListWidget* ListBox2 = nullptr; // their identifiers, out of view
    QPushButton* BtnAddFg = nullptr; // 添加考点
    QLabel* LabelOptions = nullptr;
    QLabel* LabelAnswer = nullptr;
    QLabel* LabelType = nullptr;
    QLabel* LabelPoints = nullptr;

    // The type list read from the type table in use, row i shown in row i of ComboBox1.
    const QVector<Authoring::Ttx>& types() const { return types_; }
    // The knowledge points listed, in order.
    QStringList pointIds() const;

    // The look of the windows' rich-text panes.
    static QString paneStyle();

  public Q_SLOTS:
    void ComboBox1Change();
    void BtnAddFgClick();
    void ListBox1KeyDown(int key);

  protected:
    QuestionForm(const Setup& setup, QWidget* owner);

    // Fills the type list and ComboBox1 without running the change rule.
    void fillTypes();
    // The selected type, or null.
    const Authoring::Ttx* selectedType() const;
    // When the type on show is subjective: option count 1, answer "1", both disabled.
    void applySubjectiveRule();
    void clearPoints();
    void addPointLine(const QString& line, const QString& id);
    // The usage instructions (the picker's second page), modally.
    void showUsage();

    // Checks what is to be saved, in the order text, answer, type, answer letters: a failure
    // shows its message, moves the focus to its field and answers false.
    struct Checked {
        Authoring::Ttx type;
        QString answer;
    };
    bool checkInputs(QTextEdit* text, Checked& out);
    // Runs write, the window's one transaction, under the hourglass. A failure runs afterFailure
    // and is told in the windows' words: a knowledge point gone by its line, a text too large,
    // anything else as 保存试题出现错误！. Answers whether the question was saved.
    bool runSave(const std::function<void()>& write,
                 const std::function<void()>& afterFailure = {});

    // The windows' command buttons, panes and background.
    EffectButton* makeCommand(const char* name, const QString& caption);
    void paintBody(QPainter& p) const;

    // A message box of the windows (caption 提示).
    static void tell(const QString& text, bool warning = false);

    bool eventFilter(QObject* watched, QEvent* event) override;

    Setup setup_;
    QVector<Authoring::Ttx> types_;
};
