#pragma once

#include <QPlainTextEdit>
#include <QPointer>
#include <QString>

#include "store/dataset.h"

// A multi-line plain-text box bound to one field of a dataset's current row (a null field shows
// empty). Reloads when the dataset moves or is reset and when the field is set by someone else;
// writeBack() stores the text.
//
// An input method can be named for the memo; it is asked for whenever the memo takes the focus.
class DbMemo : public QPlainTextEdit {
    Q_OBJECT

  public:
    explicit DbMemo(QWidget* parent = nullptr);
    ~DbMemo() override;

    // Throws DbError when the dataset is open and has no such field.
    void bind(Dataset* ds, const QString& field);
    void unbind();

    Dataset* dataset() const { return ds_; }
    QString field() const { return field_; }

    // Sets the field from the text, blanks included. The dataset must be in edit or insert mode
    // (DbError otherwise).
    void writeBack();

    void reload();

    // The input method to switch to on focus; empty leaves the input method alone.
    void setInputMethod(const QString& name) { inputMethod_ = name; }
    QString inputMethod() const { return inputMethod_; }

  protected:
    void focusInEvent(QFocusEvent* event) override;

  private Q_SLOTS:
    void onDataChanged(const QString& field);
    void onRowsReset();

  private:
    void load();

    QPointer<Dataset> ds_;
    QString field_;
    QString inputMethod_;
    bool writing_ = false;
};
