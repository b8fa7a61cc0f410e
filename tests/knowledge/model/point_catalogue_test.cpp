// The knowledge-point rules without windows: counters, the key-point threshold, list and note
// texts, searching the catalogue, and the question set of a practice over one knowledge point on
// a real bank.

#include "knowledge/point_catalogue.h"

#include "bank_fixture.h"

#include "store/database.h"

#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace PointCatalogue;

TEST(PointCatalogue, CountersAreRightAlignedToNineCharactersUnlessLonger) {
    EXPECT_EQ(CounterCell(0), QStringLiteral("        0"));
    EXPECT_EQ(CounterCell(37), QStringLiteral("       37"));
    EXPECT_EQ(CounterCell(123456789), QStringLiteral("123456789"));
    EXPECT_EQ(CounterCell(1234567890), QStringLiteral("1234567890"));
}

TEST(PointCatalogue, KeyPointThresholdIsQuestionsPerPointRoundedDownAndAtLeastOne) {
    const struct {
        const char* cell;
        qint64 points;
        int threshold;
    } cases[] = {
        {"       10", 4, 2}, {"9", 4, 2},   {"3", 5, 1},   {"0", 4, 1},    {"10", 0, 1},
        {"", 3, 1},          {"abc", 3, 1}, {"40", 3, 13}, {"  7 ", 1, 7},
    };
    for (const auto& c : cases)
        EXPECT_EQ(KeyPointThreshold(QString::fromLatin1(c.cell), c.points), c.threshold)
            << c.cell << " / " << c.points;
}

TEST(PointCatalogue, ListAndNoteTextsFollowTheQuestionCount) {
    EXPECT_EQ(ListText(QStringLiteral("净现值      "), 3), QStringLiteral("净现值(3)"));
    EXPECT_EQ(ListText(QStringLiteral("投资回收期  "), 0), QStringLiteral("投资回收期"));
    // A heading that holds a parenthesis keeps it.
    EXPECT_EQ(ListText(QStringLiteral("费用(静态) "), 2), QStringLiteral("费用(静态)(2)"));

    EXPECT_EQ(NoteLine(0, 0, 0, 0), QStringLiteral("虽然针对该内容的习题没有，您仍要仔细阅读！"));
    EXPECT_EQ(NoteLine(5, 3, 7, 2),
              QStringLiteral("相关题数：5题  已做题数：3题  已做道次：7次  做错道次：2次"));
    EXPECT_FALSE(HasExercises(0));
    EXPECT_TRUE(HasExercises(1));
}

TEST(PointCatalogue, SearchFindsTheFirstRowFromTheTopAndTakesEveryCharacterLiterally) {
    const QStringList names = {QStringLiteral("第一章 概述"),  QStringLiteral("第二章 市场"),
                               QStringLiteral("费率 5%_上限"), QStringLiteral("O'Neil 法"),
                               QStringLiteral("第二章 附录"),  QStringLiteral("Abc")};
    EXPECT_EQ(FindRow(names, QString()), -1);
    EXPECT_EQ(FindRow(names, QStringLiteral("   ")), -1);
    EXPECT_EQ(FindRow(names, QStringLiteral("第二章")), 1);
    EXPECT_EQ(FindRow(names, QStringLiteral("  附录 ")), 4);
    EXPECT_EQ(FindRow(names, QStringLiteral("5%_")), 2);
    EXPECT_EQ(FindRow(names, QStringLiteral("%")), 2);
    EXPECT_EQ(FindRow(names, QStringLiteral("_")), 2);
    EXPECT_EQ(FindRow(names, QStringLiteral("O'N")), 3);
    EXPECT_EQ(FindRow(names, QStringLiteral("abc")), -1); // case counts
    EXPECT_EQ(FindRow(names, QStringLiteral("第三章")), -1);
}

TEST(PointCatalogue, OnlyChaptersOfTheCatalogueCanBeOpened) {
    EXPECT_TRUE(IsTopLevel(QStringLiteral("4")));
    EXPECT_TRUE(IsTopLevel(QStringLiteral("41")));
    EXPECT_TRUE(IsTopLevel(QStringLiteral(" 41 ")));
    EXPECT_FALSE(IsTopLevel(QStringLiteral("410101")));
}

namespace {

QSet<QString> idsOf(Database& db, const QString& sql, const Params& params) {
    QSet<QString> ids;
    Statement st(db.handle(), sql);
    st.bindAll(params);
    while (st.step())
        ids.insert(st.value(0).toString());
    return ids;
}

} // namespace

TEST(PointCatalogue, ThePracticeSetIsEveryQuestionCarryingThePointInAnySlotFoundByIndex) {
    QTemporaryDir dir;
    Database db;
    db.open(dir.filePath(QStringLiteral("bank.db")), true);
    Fixtures::fillSampleBank(db);
    // Slots are not packed, ids compare without regard to case, and a quote is only a character.
    db.exec(QStringLiteral("insert into tab_answ (A1, A10, A13, k7) values ('Q7', '410101', 11, "
                           "'4101010001')"));
    db.exec(QStringLiteral("insert into tab_answ (A1, A10, A13, k12) values ('Q12', '410101', 11, "
                           "'4101010001')"));
    db.exec(QStringLiteral("insert into tab_answ (A1, A10, A13, k5) values ('QUOTE', '410101', 11, "
                           "'41''01')"));
    db.exec(QStringLiteral("update tab_answ set k3='4101020001' where A1='410101110002'"));

    const QString naive =
        QStringLiteral("select a1 from tab_answ where :ftid in (k3,k4,k5,k6,k7,k8,k9,k10,k11,k12)");
    for (const char* point :
         {"4101010001", "4101020001", "4101020002", "4101010001 ", "41'01", "no such point"}) {
        const Params params = PracticeParams(QString::fromLatin1(point));
        EXPECT_EQ(idsOf(db, PracticeSql(), params), idsOf(db, naive, params)) << point;
    }
    EXPECT_EQ(idsOf(db, PracticeSql(), PracticeParams(QStringLiteral("4101010001"))),
              (QSet<QString>{"410101110001", "410101140001", "Q7", "Q12"}));
    EXPECT_EQ(idsOf(db, PracticeSql(), PracticeParams(QStringLiteral("41'01"))),
              QSet<QString>{"QUOTE"});

    // The bank never reads every question to find one point's.
    Statement plan(db.handle(), QStringLiteral("explain query plan ") + PracticeSql());
    plan.bindAll(PracticeParams(QStringLiteral("4101010001")));
    QStringList steps;
    while (plan.step())
        steps << plan.value(3).toString();
    EXPECT_FALSE(steps.filter(QStringLiteral("SCAN tab_answ")).size() > 0)
        << steps.join('\n').toStdString();
    EXPECT_GE(steps.filter(QStringLiteral("ix_answ_k")).size(), 10)
        << steps.join('\n').toStdString();
}
