#include "widgets/db_rich_edit.h"

#include "widgets/db_field_util.h"
#include "richtext/rtf_codec.h"
#include "store/dataset.h"

#include <QScopedValueRollback>
#include <QTextDocument>

DbRichEdit::DbRichEdit(QWidget* parent) : QTextEdit(parent) {
    setAcceptRichText(true);
}

DbRichEdit::~DbRichEdit() = default;

void DbRichEdit::bind(Dataset* ds, const QString& field) {
    unbind();
    DbField::requireBindable(ds, field);
    ds_ = ds;
    field_ = field;
    connect(ds, &Dataset::dataChanged, this, &DbRichEdit::onDataChanged);
    connect(ds, &Dataset::rowsReset, this, &DbRichEdit::onRowsReset);
    load();
}

void DbRichEdit::unbind() {
    if (ds_)
        disconnect(ds_, nullptr, this, nullptr);
    ds_ = nullptr;
    field_.clear();
    clear();
    document()->setModified(false);
}

void DbRichEdit::reload() {
    load();
}

void DbRichEdit::writeBack() {
    if (!ds_)
        throw DbError("the editor is not bound");
    const auto state = ds_->state();
    if (state != Dataset::State::Edit && state != Dataset::State::Insert)
        throw DbError("dataset is not in edit mode");
    QScopedValueRollback<bool> guard(writing_, true);
    if (document()->isEmpty())
        ds_->setValue(field_, QVariant());
    else
        ds_->setValue(field_, Rtf::write(*document()));
    document()->setModified(false);
}

bool DbRichEdit::isModifiedSinceLoad() const {
    return document()->isModified();
}

void DbRichEdit::onDataChanged(const QString& field) {
    if (writing_)
        return;
    if (field.isEmpty() || field.compare(field_, Qt::CaseInsensitive) == 0)
        load();
}

void DbRichEdit::onRowsReset() {
    load();
}

void DbRichEdit::load() {
    QTextDocument* doc = document();
    doc->setUndoRedoEnabled(false);
    if (DbField::readable(ds_, field_) && !ds_->isNull(field_))
        Rtf::read(ds_->bytes(field_), doc);
    else
        doc->clear();
    doc->setUndoRedoEnabled(true);
    doc->setModified(false);
}
