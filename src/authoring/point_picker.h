#pragma once

#include <QDialog>
#include <QStringList>

class Dataset;
class EffectButton;
class QComboBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QStackedWidget;

// The knowledge-point picker: the author of a question ticks knowledge points of one catalogue
// entry and hands them to the question being entered or edited. Its second page holds the usage
// instructions both question windows show from 使用说明.
//
// The opener sets the page, and for the picker the opener (Tag 1 the entry window, 2 the edit
// window) with its list of identifiers and App::ChosenPointCount, then shows it modally; on OK
// it calls AddPickedPoints() and destroys it.
class TFrmSelectFG : public QDialog {
    Q_OBJECT

  public:
    explicit TFrmSelectFG(QWidget* owner = nullptr);
    ~TFrmSelectFG() override;

    // 0 the picker, 1 the usage instructions.
    void setPage(int page);
    int page() const;

    // Who opens the picker and the identifiers the question has (its hidden ListBox2): rows
    // naming one of them are shown ticked when the author changes the catalogue entry.
    void setOpener(int tag, const QListWidget* openerIds);
    int Tag = 0;

    // The adding step: every row ticked (by the author, not pre-ticked) whose identifier
    // listBox2 lacks is appended to listBox2, with the display line catalogue entry name +
    // "[" + heading + "]" appended to listBox1.
    void AddPickedPoints(QListWidget* listBox1, QListWidget* listBox2) const;

    // The lines of the usage instructions.
    static QStringList UsageLines();

    // Controls, named as the window's design names them.
    QStackedWidget* Notebook1 = nullptr;
    QLabel* Label1 = nullptr;             // 考 点 选 择
    QComboBox* ComboBox1 = nullptr;       // catalogue entry names
    QComboBox* ComboBox2 = nullptr;       // their codes, hidden
    QListWidget* CheckListBox1 = nullptr; // headings with check boxes
    QListWidget* CheckListBox2 = nullptr; // identifiers, hidden; its ticks are handed back
    EffectButton* epEfButton1 = nullptr;  // 确定
    EffectButton* epEfButton2 = nullptr;  // 关闭 (picker)
    QLabel* Label2 = nullptr;             // 使 用 说 明
    QPlainTextEdit* Memo1 = nullptr;
    EffectButton* epEfButton3 = nullptr; // 关闭 (instructions)

  public Q_SLOTS:
    void FormShow();
    void LoadCatalogueEntries();
    void ComboBox1Change();
    void CheckListBox1ClickCheck();
    void epEfButton1Click();
    void epEfButton2Click();
    void epEfButton3Click();

  protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void loadPoints(const QString& entryId);
    bool hasPoints(const QString& entryId);

    const QListWidget* openerIds_ = nullptr;
    Dataset* query_ = nullptr; // the catalogue and its knowledge points
};
