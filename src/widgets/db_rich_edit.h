#pragma once

#include <QPointer>
#include <QString>
#include <QTextEdit>

#include "store/dataset.h"

// A rich-text editor bound to one field of a dataset's current row. Loads the field (RTF, or
// plain text when it is not RTF) when bound, when the dataset moves or is reset and when the field
// is set by someone else; writeBack() stores the document as RTF.
class DbRichEdit : public QTextEdit {
    Q_OBJECT

  public:
    explicit DbRichEdit(QWidget* parent = nullptr);
    ~DbRichEdit() override;

    // Throws DbError when the dataset is open and has no such field.
    void bind(Dataset* ds, const QString& field);
    void unbind();

    Dataset* dataset() const { return ds_; }
    QString field() const { return field_; }

    // Puts the document as RTF into the field. The dataset must be in edit or insert mode
    // (DbError otherwise). An empty document stores null.
    void writeBack();

    // The learner changed the document since it was last loaded or written back.
    bool isModifiedSinceLoad() const;

    void reload();

  private Q_SLOTS:
    void onDataChanged(const QString& field);
    void onRowsReset();

  private:
    void load();

    QPointer<Dataset> ds_;
    QString field_;
    bool writing_ = false;
};
