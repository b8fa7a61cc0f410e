#pragma once

#include <QByteArray>
#include <QString>
#include <QTextBrowser>

#include "store/dataset.h"
#include "widgets/db_field_util.h"

// A read-only rich-text view bound to one field of a dataset's current row. The field holds RTF;
// a field that is not RTF shows as plain text, a null field or a closed dataset as nothing.
//
// The view reloads when the dataset moves to another row or is reset, when the field itself is
// set and when the current row is posted. Loading the same bytes again lays nothing out a second
// time. bind() throws DbError when the dataset is open and has no such field.
class DbRichView : public QTextBrowser, public DbBoundControl {
    Q_OBJECT

  public:
    explicit DbRichView(QWidget* parent = nullptr);
    ~DbRichView() override;

    // Shows the field again even when its bytes did not change.
    void reload() override;

    // How many times a document was laid out since the view was made (for the speed tests).
    int layoutCount() const { return layoutCount_; }

  protected:
    void showField(bool force) override;
    void clearField() override;

  private:
    void display(const QByteArray& bytes, bool isNull);

    QByteArray shown_;
    bool shownNull_ = true;
    bool loaded_ = false;
    int layoutCount_ = 0;
};
