#include "widgets/db_rich_edit.h"

#include "richtext/rtf_codec.h"
#include "store/dataset.h"
#include "widgets/db_field_util.h"

#include <QTextDocument>

DbRichEdit::DbRichEdit(QWidget* parent) : RichEdit(parent), DbBoundControl(this, false) {
    setAcceptRichText(true);
}

DbRichEdit::~DbRichEdit() = default;

void DbRichEdit::clearField() {
    clear();
    document()->setModified(false);
}

void DbRichEdit::writeBack() {
    binding_.write(document()->isEmpty() ? QVariant() : QVariant(Rtf::write(*document())),
                   "the editor");
    document()->setModified(false);
}

bool DbRichEdit::isModifiedSinceLoad() const {
    return document()->isModified();
}

void DbRichEdit::showField(bool) {
    QTextDocument* doc = document();
    doc->setUndoRedoEnabled(false);
    if (binding_.readable() && !dataset()->isNull(field()))
        Rtf::read(dataset()->bytes(field()), doc);
    else
        doc->clear();
    doc->setUndoRedoEnabled(true);
    doc->setModified(false);
}
