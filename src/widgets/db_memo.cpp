#include "widgets/db_memo.h"

#include "platform/input_methods.h"
#include "store/dataset.h"
#include "widgets/db_field_util.h"

DbMemo::DbMemo(QWidget* parent) : QPlainTextEdit(parent), DbBoundControl(this, false) {}

DbMemo::~DbMemo() = default;

void DbMemo::clearField() {
    clear();
}

void DbMemo::writeBack() {
    binding_.write(toPlainText(), "the memo");
    document()->setModified(false);
}

void DbMemo::focusInEvent(QFocusEvent* event) {
    if (!inputMethod_.isEmpty())
        InputMethods::activate(inputMethod_);
    QPlainTextEdit::focusInEvent(event);
}

void DbMemo::showField(bool) {
    QString text;
    if (binding_.readable())
        text = dataset()->text(field());
    setPlainText(text);
    document()->setModified(false);
}
