#pragma once

#include <QPlainTextEdit>
#include <QString>

#include "store/dataset.h"
#include "widgets/db_field_util.h"

// A multi-line plain-text box bound to one field of a dataset's current row (a null field shows
// empty). Reloads when the dataset moves or is reset and when the field is set by someone else;
// writeBack() stores the text. bind() throws DbError when the dataset is open and has no such
// field.
//
// An input method can be named for the memo; it is asked for whenever the memo takes the focus.
class DbMemo : public QPlainTextEdit, public DbBoundControl {
    Q_OBJECT

  public:
    explicit DbMemo(QWidget* parent = nullptr);
    ~DbMemo() override;

    // Sets the field from the text, blanks included. The dataset must be in edit or insert mode
    // (DbError otherwise).
    void writeBack();

    void reload() { showField(true); }

    // The input method to switch to on focus; empty leaves the input method alone.
    void setInputMethod(const QString& name) { inputMethod_ = name; }
    QString inputMethod() const { return inputMethod_; }

  protected:
    void focusInEvent(QFocusEvent* event) override;
    void showField(bool force) override;
    void clearField() override;

  private:
    QString inputMethod_;
};
