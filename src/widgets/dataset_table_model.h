#pragma once

#include <QAbstractTableModel>
#include <QPointer>
#include <QString>
#include <QVector>

#include "store/dataset.h"

// The rows of a dataset, in its (filtered, sorted) order, as a table for the grids. Each column
// shows one field as text. The model follows the dataset: a reset (open, close, requery, filter,
// sort, append, delete) reloads all rows, a posted row updates that row.
class DatasetTableModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    struct Column {
        QString field;
        QString header;
        Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
        int width = 0; // design width in pixels, 0 for the view's default
    };

    explicit DatasetTableModel(QObject* parent = nullptr);
    DatasetTableModel(Dataset* ds, const QVector<Column>& columns, QObject* parent = nullptr);

    void setDataset(Dataset* ds);
    Dataset* dataset() const { return ds_; }
    void setColumns(const QVector<Column>& columns);
    const QVector<Column>& columns() const { return columns_; }

    // Record number (1-based, as the dataset counts) <-> model row; -1 / 0 when out of range.
    int rowOf(int recNo) const;
    int recNoOf(int row) const;
    // The model row of the dataset's current record, -1 when there is none.
    int currentRow() const;

    // The text of a cell (the same as the display role).
    QString cellText(int row, const QString& field) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // Applies the columns' design widths to a view's horizontal header.
    void applyWidths(class QTableView* view) const;

  Q_SIGNALS:
    // The dataset moved to another record (row -1: none).
    void currentRowChanged(int row);

  private Q_SLOTS:
    void onRowsReset();
    void onRowChanged(int viewRow);
    void onDataChanged(const QString& field);

  private:
    void snapshot();
    QVector<QString> readRow(int viewRow) const;

    QPointer<Dataset> ds_;
    QVector<Column> columns_;
    QVector<QVector<QString>> rows_;
};
