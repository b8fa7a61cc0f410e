#pragma once

#include "widgets/step_aside_dialog.h"

#include <QDialog>
#include <QPixmap>
#include <QString>
#include <QStringList>

#include <memory>

class Dataset;
class DbRichView;
class EffectButton;
class QAbstractButton;
class QLabel;
class QLineEdit;
class QListWidget;
class QStandardItemModel;
class QTableView;

// The knowledge-point view of one chapter: the list of its knowledge points, the text of the one
// selected and the note line with its counters. Only a container: the browser moves its panel
// m_Pdetail into its own body; the container itself is never shown.
class TfrmLawDetail : public QDialog {
    Q_OBJECT

  public:
    // practise: the browser's 练习 button, enabled while the selected point has questions.
    TfrmLawDetail(QAbstractButton* practise, QWidget* owner = nullptr);
    ~TfrmLawDetail() override;

    // Writes the note line (and the state of 练习) for the current knowledge point of
    // DM1->m_queryDetail.
    void WriteNote();
    // Lists the knowledge points of DM1->m_queryDetail as filtered, in its order.
    void FillList();

    // Controls, named as the window's design names them.
    QWidget* m_Pdetail = nullptr;
    QListWidget* m_LBmenu = nullptr;
    DbRichView* Re = nullptr; // field n of the current knowledge point
    QLabel* m_pNote = nullptr;

  public Q_SLOTS:
    // A knowledge point was chosen in the list: its text and its note line are shown.
    void m_lBmenuClick();

  private:
    QAbstractButton* practise_;
};

// The knowledge-point browser: the catalogue of knowledge points (tab_fgmc) with its four
// counters, searching it, and the knowledge-point view of one chapter (tab_rule) with its key
// points and the practice over the questions of one knowledge point.
class TfrmLawsFaGui : public StepAsideDialog {
    Q_OBJECT

  public:
    explicit TfrmLawsFaGui(QWidget* owner = nullptr);
    ~TfrmLawsFaGui() override;

    // The catalogue codes of the grid's rows, row by row.
    const QStringList& rowIds() const { return rowIds_; }
    // The key-point threshold of the chapter opened last.
    int keyPointThreshold() const { return threshold_; }
    // The detail container while a chapter is open, else null.
    TfrmLawDetail* detail() const { return detail_.get(); }

    // Operations of the window.
    void InitGrid();
    void LoadCatalogue();
    int FindRow() const; // 0-based grid row, or -1
    void SwitchView(bool catalogue);
    bool ApplyKeyPointFilter(int toggle);

    // Controls, named as the window's design names them.
    QWidget* m_pTiltel = nullptr; // the title panel
    QLabel* m_Ltiltle = nullptr;
    QWidget* m_pBody = nullptr; // the body panel under the title
    QWidget* m_pMuLu = nullptr; // holds the grid or the knowledge-point view
    QTableView* m_grid = nullptr;
    QStandardItemModel* m_gridModel = nullptr;
    QLineEdit* m_editFind = nullptr;
    EffectButton* m_btnFind = nullptr;
    EffectButton* m_btnSelect = nullptr;
    EffectButton* m_btnMost = nullptr; // its "tag" property: 0 all points shown, 1 key points
    EffectButton* m_btnQuestion = nullptr;
    EffectButton* m_btnBack = nullptr;
    EffectButton* m_btnExit = nullptr;
    Dataset* ADOQuery1 = nullptr; // counts the knowledge points of a chapter

  public Q_SLOTS:
    void FormCreate();
    void FormShow();
    void FormClose();
    void m_btnFindClick();
    void m_editFindKeyDown(int key);
    void m_btnSelectClick();
    void m_gridDblClick();
    void m_gridSelectCell(int row);
    void m_btnMostClick();
    void m_btnQuestionClick();
    void m_btnBackClick();
    void m_btnExitClick();

  public:
    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    // Enter on the catalogue opens the chapter, Enter on a knowledge point practises it.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void LayOut();
    int currentRow() const;
    void selectRow(int row);
    void setToggle(int toggle);
    // Reads the chapter's knowledge points again after a practice, staying on the one selected.
    void rereadPoints();

    QStringList rowIds_;
    int threshold_ = 1;
    std::unique_ptr<TfrmLawDetail> detail_;
    QPixmap background_;
};
