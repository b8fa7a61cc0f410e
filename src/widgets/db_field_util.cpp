#include "widgets/db_field_util.h"

#include "store/dataset.h"

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
