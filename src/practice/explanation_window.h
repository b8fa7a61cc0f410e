#pragma once

#include <QDialog>
#include <QString>

class Dataset;
class DbRichView;
class EffectButton;

// The explanation viewer: shows the explanation (rich text) of the question on show, read-only.
// The opener binds it to a field of the current row of a dataset.
class TFrmJx : public QDialog {
    Q_OBJECT

  public:
    explicit TFrmJx(QWidget* parent = nullptr);

    DbRichView* Re = nullptr;
    EffectButton* epEfTrBtn1 = nullptr; // 关闭

    // Binds Re to field of dataSource's current row. dataset is not used (callers pass the same
    // dataset twice). Any error is swallowed: the window then shows nothing.
    void BindExplanation(Dataset* dataset, Dataset* dataSource, const QString& field);

  public Q_SLOTS:
    void FormShow();
    void epEfTrBtn1Click();

  protected:
    void showEvent(QShowEvent* event) override;
};
