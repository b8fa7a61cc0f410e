#pragma once

#include <QDialog>
#include <QPixmap>
#include <QString>

class Dataset;
class DbRichView;
class EffectButton;
class QLabel;
class QListWidget;
class QSplitter;

// 相关考点: the knowledge points of one question, their headings on the left, the text of the one
// selected on the right, and the name of its catalogue chapter in the title bar. Opened from the
// 考点 button of the practice windows and of the exam window (WindowNames::QuestionPoints).
class TfrmAnswFagui : public QDialog {
    Q_OBJECT

  public:
    explicit TfrmAnswFagui(QWidget* owner = nullptr);
    ~TfrmAnswFagui() override;

    // Reads the question's knowledge-point slots k3..k12 (empty slots left out) into m_listbox.
    // Answers whether it has at least one; a question that does not exist has none.
    bool LoadQuestionPoints(const QString& questionId);

    // Opens the window over owner for a question, modally, when the question has knowledge
    // points; answers the window's result, or WindowRegistry::kNotShown.
    static int ShowPointsOf(QWidget* owner, const QString& questionId);

    // Controls, named as the window's design names them.
    QLabel* epLabel1 = nullptr; // the chapter of the selected knowledge point
    QListWidget* ListBox1 = nullptr;
    QSplitter* Splitter1 = nullptr;
    DbRichView* Re = nullptr;
    EffectButton* epEfTrBtn1 = nullptr; // 关  闭
    QListWidget* m_listbox = nullptr;   // hidden: the question's knowledge-point ids
    Dataset* ADOQuery1 = nullptr;       // the question's knowledge points
    Dataset* ADOQuery2 = nullptr;       // the catalogue entry in the title

  public Q_SLOTS:
    void FormShow();
    void FormClose();
    void ListBox1Click();
    void Splitter1Moved();
    void epEfTrBtn1Click();

  protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void LayOut();
    void showChapterOf(const QString& chapterId);

    QPixmap background_;
};
