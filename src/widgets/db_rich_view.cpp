#include "widgets/db_rich_view.h"

#include "richtext/rtf_codec.h"
#include "store/dataset.h"
#include "widgets/db_field_util.h"

#include <QTextDocument>

DbRichView::DbRichView(QWidget* parent) : QTextBrowser(parent), DbBoundControl(this, true) {
    setReadOnly(true);
    setOpenLinks(false);
    setUndoRedoEnabled(false);
}

DbRichView::~DbRichView() = default;

void DbRichView::clearField() {
    display({}, true);
}

void DbRichView::reload() {
    showField(true);
}

void DbRichView::showField(bool force) {
    QByteArray bytes;
    bool isNull = true;
    if (binding_.readable()) {
        isNull = dataset()->isNull(field());
        if (!isNull)
            bytes = dataset()->bytes(field());
    }
    if (!force && loaded_ && isNull == shownNull_ && bytes == shown_)
        return;
    display(bytes, isNull);
}

void DbRichView::display(const QByteArray& bytes, bool isNull) {
    shown_ = bytes;
    shownNull_ = isNull;
    loaded_ = true;
    // The new text is built in a document of its own and swapped in whole, so the view lays it
    // out once instead of after every paragraph the reader adds.
    auto* doc = new QTextDocument(this);
    doc->setDefaultFont(font());
    doc->setUndoRedoEnabled(false);
    if (!isNull && !bytes.isEmpty())
        Rtf::read(bytes, doc);
    // The view's first document belongs to its text control, which deletes it on the swap; the
    // later ones are ours.
    QTextDocument* old = document();
    const bool ours = old && old->parent() == this;
    setDocument(doc);
    if (ours)
        delete old;
    ++layoutCount_;
}
