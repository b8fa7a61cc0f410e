#pragma once

#include <QString>

#include "store/dataset.h"
#include "widgets/db_field_util.h"
#include "widgets/rich_edit.h"

// A rich-text editor bound to one field of a dataset's current row. Loads the field (RTF, or
// plain text when it is not RTF) when bound, when the dataset moves or is reset and when the field
// is set by someone else; writeBack() stores the document as RTF. bind() throws DbError when the
// dataset is open and has no such field. Pastes as every rich editor of the program does
// (RichEdit).
class DbRichEdit : public RichEdit, public DbBoundControl {
    Q_OBJECT

  public:
    explicit DbRichEdit(QWidget* parent = nullptr);
    ~DbRichEdit() override;

    // Puts the document as RTF into the field. The dataset must be in edit or insert mode
    // (DbError otherwise). An empty document stores null.
    void writeBack();

    // The learner changed the document since it was last loaded or written back.
    bool isModifiedSinceLoad() const;

    void reload() { showField(true); }

  protected:
    void showField(bool force) override;
    void clearField() override;
};
