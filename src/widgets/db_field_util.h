#pragma once

#include <QString>

class Dataset;

namespace DbField {

// Whether ds is open and lacks field: a binding to it is a mistake the caller should hear of.
bool missing(const Dataset* ds, const QString& field);

// Throws DbError when a control cannot be bound to field of ds (no dataset, or an open one
// without that field).
void requireBindable(const Dataset* ds, const QString& field);

// Whether the dataset can show a value of field now (open, with a current row and that field).
bool readable(const Dataset* ds, const QString& field);

} // namespace DbField
