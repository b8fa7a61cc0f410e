#include "gui_bank_test.h"
#include "widgets/dataset_table_model.h"

#include <QSignalSpy>
#include <QTableView>

// Tests of the controls over the shared sample bank.
using BankTest = GuiBankTest;

namespace {

QVector<DatasetTableModel::Column> answerColumns() {
    return {{QStringLiteral("A1"), QStringLiteral("编号"), Qt::AlignLeft | Qt::AlignVCenter, 120},
            {QStringLiteral("A2"), QStringLiteral("答案"), Qt::AlignCenter, 40},
            {QStringLiteral("E3"), QStringLiteral("次数"), Qt::AlignRight | Qt::AlignVCenter}};
}

} // namespace

TEST_F(BankTest, TableModelShowsTheRowsInTheDatasetsOrder) {
    auto ds = query(QStringLiteral("select * from tab_answ order by xx"));
    DatasetTableModel model(ds.get(), answerColumns());
    ASSERT_EQ(model.rowCount(), 7);
    EXPECT_EQ(model.columnCount(), 3);
    EXPECT_EQ(model.data(model.index(0, 0)).toString(), QStringLiteral("410101110001"));
    EXPECT_EQ(model.data(model.index(2, 1)).toString(), QStringLiteral("ACD"));
    EXPECT_EQ(model.data(model.index(6, 0)).toString(), QStringLiteral("4101021CASE00001-2"));
    EXPECT_EQ(model.cellText(4, QStringLiteral("a2")), QStringLiteral("A"));
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("答案"));
    EXPECT_EQ(model.data(model.index(0, 1), Qt::TextAlignmentRole).value<Qt::Alignment>(),
              Qt::AlignCenter);

    EXPECT_EQ(model.rowOf(1), 0);
    EXPECT_EQ(model.rowOf(7), 6);
    EXPECT_EQ(model.rowOf(8), -1);
    EXPECT_EQ(model.rowOf(0), -1);
    EXPECT_EQ(model.recNoOf(3), 4);

    QTableView view;
    view.setModel(&model);
    model.applyWidths(&view);
    EXPECT_EQ(view.columnWidth(0), 120);
}

TEST_F(BankTest, TableModelFollowsFilterSortRequeryAndClose) {
    auto ds = query(QStringLiteral("select * from tab_answ order by xx"));
    DatasetTableModel model(ds.get(), answerColumns());

    ds->setFilter([](const RowRef& r) { return r.whole(QStringLiteral("A13")) == 14; });
    ds->setFiltered(true);
    ASSERT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.cellText(0, QStringLiteral("A1")), QStringLiteral("410101140001"));

    ds->setFiltered(false);
    ds->sort(QStringLiteral("A1"), Qt::DescendingOrder);
    ASSERT_EQ(model.rowCount(), 7);
    EXPECT_EQ(model.cellText(0, QStringLiteral("A1")), QStringLiteral("410102220001"));

    // A row added behind the dataset's back appears after a requery.
    dm->ADOCn1.exec(QStringLiteral("insert into tab_answ (A1, A2, A13, xx) values "
                                   "('990101110001', 'B', 11, 99)"));
    EXPECT_EQ(model.rowCount(), 7);
    ds->requery();
    EXPECT_EQ(model.rowCount(), 8);

    ds->close();
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.currentRow(), -1);
}

TEST_F(BankTest, TableModelUpdatesAPostedRowAndTracksAppendAndDelete) {
    auto ds = query(QStringLiteral("select * from tab_answ order by xx"));
    DatasetTableModel model(ds.get(), answerColumns());
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);

    ds->setRecNo(3);
    ds->edit();
    ds->setValue(QStringLiteral("E3"), 5);
    EXPECT_EQ(model.cellText(2, QStringLiteral("E3")), QStringLiteral("0")); // not posted yet
    ds->post();
    EXPECT_EQ(model.cellText(2, QStringLiteral("E3")), QStringLiteral("5"));
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0).at(0).toModelIndex().row(), 2);

    ds->append();
    ds->setValue(QStringLiteral("A1"), QStringLiteral("990101110002"));
    ds->setValue(QStringLiteral("xx"), 100);
    ds->post();
    ASSERT_EQ(model.rowCount(), 8);
    EXPECT_EQ(model.cellText(7, QStringLiteral("A1")), QStringLiteral("990101110002"));
    EXPECT_EQ(model.currentRow(), 7);

    ds->setRecNo(1);
    ds->remove();
    EXPECT_EQ(model.rowCount(), 7);
    EXPECT_EQ(model.cellText(0, QStringLiteral("A1")), QStringLiteral("410101110002"));
}

TEST_F(BankTest, TableModelReadsTheRowsWithoutDisturbingTheCursor) {
    auto ds = query(QStringLiteral("select * from tab_answ order by xx"));
    ds->setRecNo(4);
    QSignalSpy moved(ds.get(), &Dataset::dataChanged);
    DatasetTableModel model(ds.get(), answerColumns());
    EXPECT_EQ(ds->recNo(), 4);
    EXPECT_EQ(moved.count(), 0); // the controls bound to the dataset saw nothing
    EXPECT_EQ(model.currentRow(), 3);

    QSignalSpy current(&model, &DatasetTableModel::currentRowChanged);
    ds->next();
    ASSERT_EQ(current.count(), 1);
    EXPECT_EQ(current.at(0).at(0).toInt(), 4);

    // A requery keeps the dataset on its row, and the model reads it again.
    ds->requery();
    EXPECT_EQ(ds->recNo(), 5);
    EXPECT_EQ(model.rowCount(), 7);
}
