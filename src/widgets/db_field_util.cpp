#include "widgets/db_field_util.h"

#include "store/dataset.h"

#include <QScopedValueRollback>

#include <string>

namespace DbField {

bool missing(const Dataset* ds, const QString& field) {
    return ds && ds->active() && !ds->hasField(field);
}

bool readable(const Dataset* ds, const QString& field) {
    if (!ds || !ds->active() || !ds->hasField(field))
        return false;
    // In edit and insert mode the edit buffer is the row; in browse mode a row must be current.
    return ds->state() != Dataset::State::Browse || ds->recNo() > 0;
}

void requireBindable(const Dataset* ds, const QString& field) {
    if (!ds)
        throw DbError("no dataset to bind to");
    if (missing(ds, field))
        throw DbError(("unknown field " + field).toStdString());
}

} // namespace DbField

DbFieldBinding::DbFieldBinding(QObject* control, std::function<void()> changed,
                               bool followPostedRow)
    : control_(control), changed_(std::move(changed)), followPostedRow_(followPostedRow) {}

DbFieldBinding::~DbFieldBinding() {
    unbind();
}

void DbFieldBinding::bind(Dataset* ds, const QString& field) {
    unbind();
    DbField::requireBindable(ds, field);
    ds_ = ds;
    field_ = field;
    connections_[0] = QObject::connect(ds, &Dataset::dataChanged, control_,
                                       [this](const QString& f) { onDataChanged(f); });
    connections_[1] = QObject::connect(ds, &Dataset::rowsReset, control_, [this] { changed_(); });
    if (followPostedRow_)
        connections_[2] = QObject::connect(ds, &Dataset::rowChanged, control_, [this](int row) {
            if (ds_ && row == ds_->recNo() - 1)
                changed_();
        });
}

void DbFieldBinding::unbind() {
    for (auto& c : connections_)
        QObject::disconnect(c);
    ds_ = nullptr;
    field_.clear();
}

void DbFieldBinding::write(const QVariant& value, const char* control) {
    if (!ds_)
        throw DbError(std::string(control) + " is not bound");
    const auto state = ds_->state();
    if (state != Dataset::State::Edit && state != Dataset::State::Insert)
        throw DbError("dataset is not in edit mode");
    QScopedValueRollback<bool> guard(writing_, true);
    ds_->setValue(field_, value);
}

void DbFieldBinding::onDataChanged(const QString& field) {
    if (writing_)
        return;
    if (field.isEmpty() || field.compare(field_, Qt::CaseInsensitive) == 0)
        changed_();
}

DbBoundControl::DbBoundControl(QObject* control, bool followPostedRow)
    : binding_(
          control, [this] { showField(false); }, followPostedRow) {}

DbBoundControl::~DbBoundControl() = default;

void DbBoundControl::bind(Dataset* ds, const QString& field) {
    unbind();
    binding_.bind(ds, field);
    showField(true);
}

void DbBoundControl::unbind() {
    binding_.unbind();
    clearField();
}
