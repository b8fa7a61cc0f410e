#pragma once

#include <QMetaObject>
#include <QPointer>
#include <QString>
#include <QVariant>

#include <functional>

class Dataset;
class QObject;

namespace DbField {

// Whether ds is open and lacks field: a binding to it is a mistake the caller should hear of.
bool missing(const Dataset* ds, const QString& field);

// Throws DbError when a control cannot be bound to field of ds (no dataset, or an open one
// without that field).
void requireBindable(const Dataset* ds, const QString& field);

// Whether the dataset can show a value of field now (open, with a current row and that field).
bool readable(const Dataset* ds, const QString& field);

} // namespace DbField

// What a data-aware control shares with every other: the dataset and field it shows, and when
// it must show the field again. The binding calls the control's `changed` when the dataset moves
// to another row or is reset and when the field is set by someone else (a write through the
// binding itself does not count); with `followPostedRow`, also when the current row is posted.
class DbFieldBinding {
  public:
    DbFieldBinding(QObject* control, std::function<void()> changed, bool followPostedRow = false);
    ~DbFieldBinding();
    DbFieldBinding(const DbFieldBinding&) = delete;
    DbFieldBinding& operator=(const DbFieldBinding&) = delete;

    // Throws DbError when the dataset is open and has no such field; the binding then stays
    // unbound. Does not call `changed`: the control shows the field itself.
    void bind(Dataset* ds, const QString& field);
    void unbind();

    Dataset* dataset() const { return ds_; }
    QString field() const { return field_; }

    // Whether the field can be read now (see DbField::readable).
    bool readable() const { return DbField::readable(ds_, field_); }

    // Sets the field to value. The dataset must be in edit or insert mode (DbError otherwise);
    // `control` names the control in the error for an unbound one ("the memo").
    void write(const QVariant& value, const char* control);

  private:
    void onDataChanged(const QString& field);

    QObject* control_;
    std::function<void()> changed_;
    bool followPostedRow_;
    QPointer<Dataset> ds_;
    QString field_;
    bool writing_ = false;
    QMetaObject::Connection connections_[3];
};

// The binding half of a data-aware control, inherited beside its widget class: bind() and
// unbind() for the callers, the control's showField() and clearField() to show what the field
// holds. The control's constructor passes itself, and whether it shows its field again when the
// current row is posted.
class DbBoundControl {
  public:
    DbBoundControl(QObject* control, bool followPostedRow);
    virtual ~DbBoundControl();

    // Binds the control and shows the field at once. Throws DbError when the dataset is open and
    // has no such field; the control then stays unbound and empty.
    void bind(Dataset* ds, const QString& field);
    void unbind();

    Dataset* dataset() const { return binding_.dataset(); }
    QString field() const { return binding_.field(); }

  protected:
    // Shows the field of the current row (nothing when it cannot be read); `force` shows it even
    // when it did not change since it was last shown.
    virtual void showField(bool force) = 0;
    // Shows nothing: the control has just been unbound.
    virtual void clearField() = 0;

    DbFieldBinding binding_;
};
