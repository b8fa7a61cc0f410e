#pragma once

#include <QByteArray>
#include <QPointer>
#include <QString>
#include <QTextBrowser>

#include "store/dataset.h"

// A read-only rich-text view bound to one field of a dataset's current row. The field holds RTF;
// a field that is not RTF shows as plain text, a null field or a closed dataset as nothing.
//
// The view reloads when the dataset moves to another row or is reset, when the field itself is
// set and when the current row is posted. Loading the same bytes again lays nothing out a second
// time.
class DbRichView : public QTextBrowser {
    Q_OBJECT

  public:
    explicit DbRichView(QWidget* parent = nullptr);
    ~DbRichView() override;

    // Binds the view and shows the field at once. Throws DbError when the dataset is open and has
    // no such field; the view then stays unbound and empty.
    void bind(Dataset* ds, const QString& field);
    void unbind();

    Dataset* dataset() const { return ds_; }
    QString field() const { return field_; }

    // Shows the field again even when its bytes did not change.
    void reload();

    // How many times a document was laid out since the view was made (for the speed tests).
    int layoutCount() const { return layoutCount_; }

  private Q_SLOTS:
    void onDataChanged(const QString& field);
    void onRowsReset();
    void onRowChanged(int viewRow);

  private:
    void load(bool force);
    void display(const QByteArray& bytes, bool isNull);

    QPointer<Dataset> ds_;
    QString field_;
    QByteArray shown_;
    bool shownNull_ = true;
    bool loaded_ = false;
    int layoutCount_ = 0;
};
