// The delivered bank, built from its source, must be internally consistent and hold enough to
// study and to draw real papers from.
#include "store/bank_password.h"
#include <bank_writer.h>
#include "store/database.h"
#include "store/dataset.h"
#include "richtext/rtf_codec.h"
#include "store/schema.h"

#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class DeliveredBank : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        dir = new QTemporaryDir;
        buildBankFile(QStringLiteral(TARNWICK_BANK_SOURCE_DIR), dir->path() + "/bank.db");
        db = new Database;
        db->open(dir->path() + "/bank.db");
    }
    static void TearDownTestSuite() {
        delete db;
        delete dir;
    }
    static qint64 count(const QString& sql) { return db->scalar(sql).toLongLong(); }

    static QTemporaryDir* dir;
    static Database* db;
};

QTemporaryDir* DeliveredBank::dir = nullptr;
Database* DeliveredBank::db = nullptr;

} // namespace

TEST_F(DeliveredBank, OpensWithItsPassword) {
    EXPECT_TRUE(Schema::hasBankTables(*db));
    EXPECT_TRUE(BankPassword::verify(*db, BankPassword::bankPassword()));
}

TEST_F(DeliveredBank, CountersAgreeWithTheRows) {
    EXPECT_EQ(count("select count(*) from tab_kmmc k where C3 <> (select count(*) from tab_answ "
                    "where substr(A10,1,length(k.C1))=k.C1)"),
              0);
    EXPECT_EQ(count("select count(*) from tab_rule r where q <> (select count(*) from tab_answ "
                    "where r.ftid in (k3,k4,k5,k6,k7,k8,k9,k10,k11,k12))"),
              0);
    EXPECT_EQ(count("select count(*) from tab_kmmc where C4<>0 or D1<>0 or D2<>0"), 0);
    EXPECT_EQ(count("select count(*) from tab_rule where q1<>0 or q2<>0 or q4<>0"), 0);
    EXPECT_EQ(count("select count(*) from tab_answ where E2 is not null or E3<>0 or E4<>0 or "
                    "f1<>0"),
              0);
    EXPECT_EQ(count("select count(*) from tab_rz"), 0);
    EXPECT_EQ(count("select count(*) from tab_cj"), 0);
}

TEST_F(DeliveredBank, EveryQuestionHasTextKeyAndExplanation) {
    Dataset q(db);
    q.setSql("select a.A1, A2, A2_1, A13, A10, b.A15, b.jx from tab_answ a left join tab_exer b "
             "on a.A1=b.A1");
    q.open();
    ASSERT_GT(q.recordCount(), 0);
    for (; !q.eof(); q.next()) {
        const QString id = q.text("A1");
        SCOPED_TRACE(id.toStdString());
        EXPECT_FALSE(Rtf::toPlainText(q.bytes("A15")).trimmed().isEmpty());
        EXPECT_FALSE(Rtf::toPlainText(q.bytes("jx")).trimmed().isEmpty());
        const int type = int(q.whole("A13"));
        const int options = int(q.whole("A2_1"));
        const QString key = q.text("A2");
        if (type == 11)
            EXPECT_TRUE(QRegularExpression("^[A-F]$").match(key).hasMatch() &&
                        key[0].unicode() - 'A' < options);
        else if (type == 14) {
            // As on the real paper: five options A to E, two to four of them right.
            EXPECT_EQ(options, 5);
            EXPECT_TRUE(QRegularExpression("^A?B?C?D?E?$").match(key).hasMatch()) << key.toStdString();
            EXPECT_TRUE(key.size() >= 2 && key.size() <= 4) << key.toStdString();
            const QString text = Rtf::toPlainText(q.bytes("A15"));
            for (const QChar letter : QStringLiteral("ABCDE"))
                EXPECT_TRUE(QRegularExpression(QStringLiteral("(^|\\n)\\s*%1[.．]").arg(letter))
                                .match(text)
                                .hasMatch())
                    << "no option " << QString(letter).toStdString();
        }
        else
            EXPECT_EQ(key, "1");
        EXPECT_EQ(q.text("A10").size(), 6);
        EXPECT_TRUE(id.contains('-') ? id.indexOf('-') == 16 : id.size() == 12);
        EXPECT_EQ(count("select count(*) from tab_kmmc where C1='" + q.text("A10") + "'"), 1);
    }
}

TEST_F(DeliveredBank, EveryReferenceFindsItsRow) {
    for (int k = 3; k <= 12; ++k) {
        EXPECT_EQ(count(QString("select count(*) from tab_answ where k%1 is not null and k%1 not "
                                "in (select ftid from tab_rule)")
                            .arg(k)),
                  0)
            << "k" << k;
    }
    EXPECT_EQ(count("select count(*) from tab_answ where A1 like '%-%' and substr(A1,1,16) not in "
                    "(select A1 from tab_title)"),
              0);
    EXPECT_EQ(count("select count(*) from tab_rule where id not in (select id from tab_fgmc)"), 0);
    EXPECT_EQ(count("select count(*) from tab_answ where A13 not in (select A1 from tab_tx1 "
                    "union select A1 from tab_tx2)"),
              0);
}

TEST_F(DeliveredBank, HoldsEnoughForPracticeAndPapers) {
    EXPECT_GE(count("select count(*) from tab_answ where A13=11 and A2_1=4 and A10 like '4%'"),
              425);
    EXPECT_GE(count("select count(*) from tab_answ where A13=14 and A10 like '4%'"), 176);
    EXPECT_GE(count("select count(*) from tab_answ where A13 in (11,14) and A10 like '4%'"), 601);
    EXPECT_GE(count("select count(*) from tab_answ where A13=22"), 102);
    EXPECT_GE(count("select count(*) from tab_answ where A13=22 and A10 like '5%'"), 96);
    EXPECT_GE(count("select count(*) from tab_title t where (select count(*) from tab_answ where "
                    "substr(A1,1,16)=t.A1) between 3 and 5"),
              24);
    EXPECT_EQ(count("select count(*) from tab_title t where (select count(*) from tab_answ where "
                    "substr(A1,1,16)=t.A1) not between 3 and 5"),
              0);
    EXPECT_GE(count("select count(*) from tab_rule"), 197);
    // Every question sends the learner to at least one knowledge point.
    EXPECT_EQ(count("select count(*) from tab_answ where k3 is null"), 0);
    EXPECT_GE(count("select count(*) from tab_rule where q=0"), 1);
    EXPECT_EQ(count("select sum(B2*B3) from tab_tx1"), 130);
    EXPECT_EQ(count("select sum(B2) from tab_tx2"), 5);
    EXPECT_EQ(count("select count(*) from tab_plan"), 1);
    EXPECT_EQ(count("select LeastMark from tab_plan"), 65);
    EXPECT_EQ(count("select ExamTime from tab_plan"), 150 * 60);
    EXPECT_GE(count("select count(*) from tab_sj"), 1);
    for (int kind = 1; kind <= 5; ++kind)
        EXPECT_GE(count(QString("select count(*) from tab_tx%1").arg(kind)), 1) << kind;
}

TEST_F(DeliveredBank, EveryChapterHasGuidanceAndTheChartHasNodes) {
    Dataset k(db);
    k.setSql("select C1, jx from tab_kmmc where length(C1)=4");
    k.open();
    ASSERT_GT(k.recordCount(), 0);
    for (; !k.eof(); k.next())
        EXPECT_FALSE(Rtf::toPlainText(k.bytes("jx")).trimmed().isEmpty())
            << k.text("C1").toStdString();
    EXPECT_GE(count("select count(*) from tab_kmmc where C7='0'"), 2);
}

TEST_F(DeliveredBank, EverySectionOfBothSubjectsHasEnoughQuestions) {
    Dataset k(db);
    k.setSql("select C1 from tab_kmmc where length(C1)=6");
    k.open();
    ASSERT_GT(k.recordCount(), 40);
    for (; !k.eof(); k.next()) {
        const QString section = k.text("C1");
        SCOPED_TRACE(section.toStdString());
        if (section.startsWith('4'))
            EXPECT_GE(count("select count(*) from tab_answ where A13 in (11,14) and A10='" +
                            section + "'"),
                      16);
        else
            EXPECT_GE(count("select count(*) from tab_answ where A13=22 and A10='" + section +
                            "'"),
                      4);
    }
}

TEST_F(DeliveredBank, EverySubjectFiveAnswerListsItsScoringPoints) {
    // A marker's checklist closes each model answer of the case-analysis subject.
    Dataset q(db);
    q.setSql("select a.A1, b.jx from tab_answ a join tab_exer b on a.A1=b.A1 where a.A13=22 "
             "and a.A10 like '5%'");
    q.open();
    ASSERT_GT(q.recordCount(), 0);
    for (; !q.eof(); q.next()) {
        const QString answer = Rtf::toPlainText(q.bytes("jx"));
        EXPECT_TRUE(answer.contains(QStringLiteral("参考答案")) &&
                    answer.contains(QStringLiteral("评分要点")))
            << q.text("A1").toStdString();
        EXPECT_LT(answer.indexOf(QStringLiteral("参考答案")),
                  answer.indexOf(QStringLiteral("评分要点")))
            << q.text("A1").toStdString();
    }
}
