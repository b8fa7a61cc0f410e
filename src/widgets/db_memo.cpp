#include "widgets/db_memo.h"

#include "widgets/db_field_util.h"
#include "platform/input_methods.h"
#include "store/dataset.h"

#include <QScopedValueRollback>

DbMemo::DbMemo(QWidget* parent) : QPlainTextEdit(parent) {}

DbMemo::~DbMemo() = default;

void DbMemo::bind(Dataset* ds, const QString& field) {
    unbind();
    DbField::requireBindable(ds, field);
    ds_ = ds;
    field_ = field;
    connect(ds, &Dataset::dataChanged, this, &DbMemo::onDataChanged);
    connect(ds, &Dataset::rowsReset, this, &DbMemo::onRowsReset);
    load();
}

void DbMemo::unbind() {
    if (ds_)
        disconnect(ds_, nullptr, this, nullptr);
    ds_ = nullptr;
    field_.clear();
    clear();
}

void DbMemo::reload() {
    load();
}

void DbMemo::writeBack() {
    if (!ds_)
        throw DbError("the memo is not bound");
    const auto state = ds_->state();
    if (state != Dataset::State::Edit && state != Dataset::State::Insert)
        throw DbError("dataset is not in edit mode");
    QScopedValueRollback<bool> guard(writing_, true);
    ds_->setValue(field_, toPlainText());
    document()->setModified(false);
}

void DbMemo::focusInEvent(QFocusEvent* event) {
    if (!inputMethod_.isEmpty())
        InputMethods::activate(inputMethod_);
    QPlainTextEdit::focusInEvent(event);
}

void DbMemo::onDataChanged(const QString& field) {
    if (writing_)
        return;
    if (field.isEmpty() || field.compare(field_, Qt::CaseInsensitive) == 0)
        load();
}

void DbMemo::onRowsReset() {
    load();
}

void DbMemo::load() {
    QString text;
    if (DbField::readable(ds_, field_))
        text = ds_->text(field_);
    setPlainText(text);
    document()->setModified(false);
}
