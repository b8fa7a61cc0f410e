#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

class Dataset;
class DbMemo;
class EffectButton;

// The note editor: a plain-text note on the question on show, saved into the bound field of the
// dataset's current row whenever the window closes. Sets App::NoteHasContent on closing.
class TFrmBj : public QDialog {
    Q_OBJECT

  public:
    explicit TFrmBj(QWidget* parent = nullptr);
    // A window destroyed without ever closing leaves the row as it was (its edit is cancelled).
    ~TFrmBj() override;

    DbMemo* DBMemo1 = nullptr;
    EffectButton* epEfTrBtn1 = nullptr; // 关  闭

    // Puts dataSource into edit mode and binds the memo to field; the memo shows the current note
    // (empty for a null field). Database errors reach the caller.
    void BindNote(Dataset* dataSource, const QString& field);

    // The input methods the memo asks for, best first.
    static QStringList preferredInputMethods();

    // Saves the note (edit, set the field from the memo, post) and sets App::NoteHasContent.
    // Closing is allowed unless the save failed for the first time: the error is reported and the
    // window stays open with the text, so that nothing typed is lost; a second failure lets the
    // window close with the field as the database holds it.
    void FormCloseQuery(bool& canClose);

  public Q_SLOTS:
    void FormShow();
    void epEfTrBtn1Click();

    // Every way of closing the window (button, close box, Escape) passes through here.
    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    int saveFailures_ = 0;
    bool closing_ = false;
    bool closedOnce_ = false;
};
