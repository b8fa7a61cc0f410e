#include "widgets/db_rich_view.h"

#include "widgets/db_field_util.h"
#include "richtext/rtf_codec.h"
#include "store/dataset.h"

#include <QTextDocument>

DbRichView::DbRichView(QWidget* parent) : QTextBrowser(parent) {
    setReadOnly(true);
    setOpenLinks(false);
    setUndoRedoEnabled(false);
}

DbRichView::~DbRichView() = default;

void DbRichView::bind(Dataset* ds, const QString& field) {
    unbind();
    DbField::requireBindable(ds, field);
    ds_ = ds;
    field_ = field;
    connect(ds, &Dataset::dataChanged, this, &DbRichView::onDataChanged);
    connect(ds, &Dataset::rowsReset, this, &DbRichView::onRowsReset);
    connect(ds, &Dataset::rowChanged, this, &DbRichView::onRowChanged);
    load(true);
}

void DbRichView::unbind() {
    if (ds_)
        disconnect(ds_, nullptr, this, nullptr);
    ds_ = nullptr;
    field_.clear();
    display({}, true);
}

void DbRichView::reload() {
    load(true);
}

void DbRichView::onDataChanged(const QString& field) {
    if (field.isEmpty() || field.compare(field_, Qt::CaseInsensitive) == 0)
        load(false);
}

void DbRichView::onRowsReset() {
    load(false);
}

void DbRichView::onRowChanged(int viewRow) {
    if (ds_ && viewRow == ds_->recNo() - 1)
        load(false);
}

void DbRichView::load(bool force) {
    QByteArray bytes;
    bool isNull = true;
    if (DbField::readable(ds_, field_)) {
        isNull = ds_->isNull(field_);
        if (!isNull)
            bytes = ds_->bytes(field_);
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
