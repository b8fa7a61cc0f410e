#include "widgets/dataset_table_model.h"

#include "store/dataset.h"

#include <QHeaderView>
#include <QTableView>

DatasetTableModel::DatasetTableModel(QObject* parent) : QAbstractTableModel(parent) {}

DatasetTableModel::DatasetTableModel(Dataset* ds, const QVector<Column>& columns, QObject* parent)
    : QAbstractTableModel(parent), columns_(columns) {
    setDataset(ds);
}

void DatasetTableModel::setDataset(Dataset* ds) {
    if (ds_)
        disconnect(ds_, nullptr, this, nullptr);
    ds_ = ds;
    if (ds) {
        connect(ds, &Dataset::rowsReset, this, &DatasetTableModel::onRowsReset);
        connect(ds, &Dataset::rowChanged, this, &DatasetTableModel::onRowChanged);
        connect(ds, &Dataset::dataChanged, this, &DatasetTableModel::onDataChanged);
        connect(ds, &QObject::destroyed, this, [this] {
            beginResetModel();
            rows_.clear();
            endResetModel();
        });
    }
    onRowsReset();
}

void DatasetTableModel::setColumns(const QVector<Column>& columns) {
    beginResetModel();
    columns_ = columns;
    endResetModel();
    onRowsReset();
}

int DatasetTableModel::rowOf(int recNo) const {
    return (recNo >= 1 && recNo <= rows_.size()) ? recNo - 1 : -1;
}

int DatasetTableModel::recNoOf(int row) const {
    return (row >= 0 && row < rows_.size()) ? row + 1 : 0;
}

int DatasetTableModel::currentRow() const {
    return (ds_ && ds_->active()) ? rowOf(ds_->recNo()) : -1;
}

QString DatasetTableModel::cellText(int row, const QString& field) const {
    if (row < 0 || row >= rows_.size())
        return {};
    for (int c = 0; c < columns_.size(); ++c) {
        if (columns_[c].field.compare(field, Qt::CaseInsensitive) == 0)
            return rows_[row].value(c);
    }
    return {};
}

int DatasetTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows_.size());
}

int DatasetTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(columns_.size());
}

QVariant DatasetTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows_.size() || index.column() >= columns_.size())
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return rows_[index.row()].value(index.column());
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(columns_[index.column()].alignment);
    default:
        return {};
    }
}

QVariant DatasetTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && section >= 0 && section < columns_.size()) {
        if (role == Qt::DisplayRole)
            return columns_[section].header;
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
        return {};
    }
    if (orientation == Qt::Vertical && role == Qt::DisplayRole)
        return section + 1;
    return {};
}

void DatasetTableModel::applyWidths(QTableView* view) const {
    if (!view)
        return;
    for (int c = 0; c < columns_.size(); ++c) {
        if (columns_[c].width > 0)
            view->horizontalHeader()->resizeSection(c, columns_[c].width);
    }
}

QVector<QString> DatasetTableModel::readRow(int viewRow) const {
    QVector<QString> cells;
    cells.reserve(columns_.size());
    for (const Column& col : columns_)
        cells << (ds_->hasField(col.field) ? ds_->textAt(viewRow, col.field) : QString());
    return cells;
}

void DatasetTableModel::snapshot() {
    rows_.clear();
    if (!ds_ || !ds_->active())
        return;
    const int n = ds_->recordCount();
    rows_.reserve(n);
    for (int r = 0; r < n; ++r)
        rows_.push_back(readRow(r));
}

void DatasetTableModel::onRowsReset() {
    beginResetModel();
    snapshot();
    endResetModel();
    Q_EMIT currentRowChanged(currentRow());
}

void DatasetTableModel::onRowChanged(int viewRow) {
    if (!ds_)
        return;
    if (viewRow < 0 || viewRow >= rows_.size() || viewRow >= ds_->recordCount()) {
        onRowsReset();
        return;
    }
    rows_[viewRow] = readRow(viewRow);
    Q_EMIT dataChanged(index(viewRow, 0), index(viewRow, int(columns_.size()) - 1));
}

void DatasetTableModel::onDataChanged(const QString& field) {
    if (!field.isEmpty())
        return;
    Q_EMIT currentRowChanged(currentRow());
}
