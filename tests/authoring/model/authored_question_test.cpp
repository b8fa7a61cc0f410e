// The rules of the learner's own questions over a real sample bank: identifiers and serials,
// answer checks, the subjective types, and writing new and edited questions with their counters,
// all or nothing.

#include "authoring/authored_question.h"

#include "bank_fixture.h"

#include "richtext/rtf_codec.h"
#include "store/database.h"
#include "store/dataset.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Authoring;

namespace {

class AuthoredQuestionTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        Fixtures::createSampleBank(dir.filePath(QStringLiteral("bank.db")));
        db.open(dir.filePath(QStringLiteral("bank.db")));
    }

    QVariant value(const QString& sql, const Params& params = {}) { return db.scalar(sql, params); }
    int kmmc(const char* code) {
        return value(QStringLiteral("select C3 from tab_kmmc where C1=:c"), {{"c", code}}).toInt();
    }
    int rule(const char* id) {
        return value(QStringLiteral("select q from tab_rule where ftid=:i"), {{"i", id}}).toInt();
    }
    int fgmc(const char* id) {
        return value(QStringLiteral("select q from tab_fgmc where id=:i"), {{"i", id}}).toInt();
    }
    int count(const char* table) {
        return value(QStringLiteral("select count(*) from %1").arg(QLatin1String(table))).toInt();
    }
    // Every counter the writes move, as one text, to compare before and after.
    QString counters() {
        QStringList out;
        for (const char* sql : {"select group_concat(C1||'='||C3) from tab_kmmc",
                                "select group_concat(ftid||'='||q) from tab_rule",
                                "select group_concat(id||'='||q) from tab_fgmc"})
            out << value(QString::fromLatin1(sql)).toString();
        return out.join(QLatin1Char('|'));
    }

    NewQuestion question(const QStringList& points = {}) {
        NewQuestion q;
        q.chapter = QStringLiteral("410102");
        q.typeCode = QStringLiteral("11");
        q.options = 4;
        q.answer = QStringLiteral("C");
        q.text = Rtf::fromPlainText(QStringLiteral("新题"));
        q.points = points;
        return q;
    }

    QTemporaryDir dir;
    Database db;
};

} // namespace

TEST(AuthoringRules, SerialsAndIdentifiers) {
    EXPECT_EQ(SerialText(1), "00001");
    EXPECT_EQ(SerialText(12), "00012");
    EXPECT_EQ(SerialText(999), "00999");
    EXPECT_EQ(SerialText(1000), "1000");
    EXPECT_EQ(SerialText(9999), "9999");
    EXPECT_EQ(NewQuestionId(QStringLiteral("010203"), QStringLiteral("1"), 4, 12),
              QStringLiteral("US010203") + "1" + "4" + "00012");
    EXPECT_EQ(NewQuestionId(QStringLiteral("410101"), QStringLiteral("14"), 5, 1000),
              "US410101145" + QStringLiteral("1000"));
}

TEST(AuthoringRules, ChoiceKeysAreOptionLettersOnceEachInOrder) {
    EXPECT_EQ(CheckAnswer(QStringLiteral(" dba "), 5, 14, false).answer, "ABD");
    EXPECT_TRUE(CheckAnswer(QStringLiteral("DBA"), 5, 14, false).refusal.isEmpty());
    EXPECT_EQ(CheckAnswer(QStringLiteral("b"), 4, 11, false).answer, "B");
    EXPECT_EQ(CheckAnswer(QStringLiteral("ABF"), 5, 14, false).refusal,
              QStringLiteral("试题答案只能由A到E的字母组成！"));
    EXPECT_EQ(CheckAnswer(QStringLiteral("E"), 4, 11, false).refusal,
              QStringLiteral("试题答案只能由A到D的字母组成！"));
    EXPECT_EQ(CheckAnswer(QStringLiteral("AA"), 5, 14, false).refusal,
              QStringLiteral("试题答案中的字母不能重复！"));
    EXPECT_EQ(CheckAnswer(QStringLiteral("AB"), 4, 11, false).refusal,
              QStringLiteral("单选题的答案只能是一个字母！"));
    EXPECT_EQ(CheckAnswer(QStringLiteral("A1"), 4, 11, false).refusal,
              QStringLiteral("试题答案只能由A到D的字母组成！"));
    EXPECT_EQ(CheckAnswer(QStringLiteral("  "), 4, 11, false).refusal,
              QStringLiteral("请填写试题答案！"));
    // Subjective keys and keys of other pages are taken as typed.
    EXPECT_EQ(CheckAnswer(QStringLiteral("1"), 1, 22, true).answer, "1");
    EXPECT_TRUE(CheckAnswer(QStringLiteral("净现值法"), 1, 99, false).refusal.isEmpty());
}

TEST(AuthoringRules, SubjectiveTypesByNameWithOrWithoutTiAndByCode) {
    EXPECT_TRUE(IsSubjectiveType({QStringLiteral("75"), QStringLiteral("综合")}));
    EXPECT_TRUE(IsSubjectiveType({QStringLiteral("80"), QStringLiteral("计算题")}));
    EXPECT_TRUE(IsSubjectiveType({QStringLiteral("22"), QStringLiteral("案例分析题")}));
    EXPECT_TRUE(IsSubjectiveType({QStringLiteral("72"), QStringLiteral("问答")}));
    EXPECT_FALSE(IsSubjectiveType({QStringLiteral("11"), QStringLiteral("单项选择题")}));
    EXPECT_FALSE(IsSubjectiveType({QStringLiteral("90"), QStringLiteral("综合题目")}));
}

TEST_F(AuthoredQuestionTest, LargestSerialReadsTheLastFourCharactersOfLearnerIds) {
    EXPECT_EQ(LargestSerial(db), 0);
    db.exec(QStringLiteral("insert into tab_answ (A1) values ('US410101114000012')"));
    EXPECT_EQ(LargestSerial(db), 12);
    db.exec(QStringLiteral("insert into tab_answ (A1) values ('us4101011141000')"));
    EXPECT_EQ(LargestSerial(db), 1000);
}

TEST_F(AuthoredQuestionTest, NewQuestionCountsInItsChapterLevelsAndPointsOncePerEntry) {
    const QString before = counters();
    // Two knowledge points of one catalogue chapter.
    const QString id = InsertQuestion(
        db, question({QStringLiteral("4101020001"), QStringLiteral("4101020002")}), 7);
    EXPECT_EQ(id, "US410102114" + QStringLiteral("00007"));
    EXPECT_EQ(
        value(QStringLiteral("select k3||','||k4||','||coalesce(k5,'-')||','||f1||','||A2||','||"
                             "A2_1||','||A13 from tab_answ where A1=:a"),
              {{"a", id}})
            .toString(),
        "4101020001,4101020002,-,2,C,4,11");
    EXPECT_EQ(kmmc("410102"), 4);
    EXPECT_EQ(kmmc("4101"), 7);
    EXPECT_EQ(kmmc("41"), 7);
    EXPECT_EQ(kmmc("4"), 7);
    EXPECT_EQ(kmmc("410101"), 3); // a sibling chapter is left alone
    EXPECT_EQ(rule("4101020001"), 3);
    EXPECT_EQ(rule("4101020002"), 1);
    EXPECT_EQ(fgmc("410102"), 3); // once, though two of its points are named
    EXPECT_EQ(fgmc("41"), 4);
    EXPECT_EQ(fgmc("410101"), 2);
    EXPECT_NE(counters(), before);
    EXPECT_TRUE(value(QStringLiteral("select jx from tab_exer where A1=:a"), {{"a", id}}).isNull());
}

TEST_F(AuthoredQuestionTest, QuestionWithoutPointsMovesOnlyTheChapterTree) {
    const int points = rule("4101020001") + rule("4101010001");
    const int catalogue = fgmc("41");
    NewQuestion q = question();
    q.explanation = Rtf::fromPlainText(QStringLiteral("解析"));
    const QString id = InsertQuestion(db, q, 1);
    EXPECT_EQ(value(QStringLiteral("select count(*) from tab_answ where A1=:a and k3 is null"),
                    {{"a", id}})
                  .toInt(),
              1);
    EXPECT_EQ(
        Rtf::toPlainText(value(QStringLiteral("select jx from tab_exer where A1=:a"), {{"a", id}})
                             .toByteArray()),
        "解析");
    EXPECT_EQ(kmmc("410102"), 4);
    EXPECT_EQ(rule("4101020001") + rule("4101010001"), points);
    EXPECT_EQ(fgmc("41"), catalogue);
}

TEST_F(AuthoredQuestionTest, FailedInsertWritesNothing) {
    const QString before = counters();
    const int questions = count("tab_answ");
    // A knowledge point deleted meanwhile.
    EXPECT_THROW(InsertQuestion(
                     db, question({QStringLiteral("4101020001"), QStringLiteral("4199990001")}), 3),
                 MissingPoint);
    // A content row already there under the new id: the question row goes again too.
    db.exec(QStringLiteral("insert into tab_exer (A1) values (:a)"), {{"a", "US41010211400003"}});
    EXPECT_THROW(InsertQuestion(db, question({QStringLiteral("4101020001")}), 3), DbError);
    EXPECT_EQ(count("tab_answ"), questions);
    EXPECT_EQ(counters(), before);
    EXPECT_FALSE(db.inTransaction());
}

TEST_F(AuthoredQuestionTest, EditRecountsEveryPointItHadOrHasAndMovesTheCatalogue) {
    db.exec(QStringLiteral("update tab_answ set k5='4101020002' where A1='410101110001'"));
    db.exec(QStringLiteral("update tab_rule set q=1 where ftid='4101020002'"));
    Dataset question(&db);
    question.setSql(QStringLiteral("select * from tab_answ where A1='410101110001'"));
    question.open();
    Dataset content(&db);
    content.setSql(QStringLiteral("select * from tab_exer where A1='410101110001'"));
    content.open();
    ASSERT_EQ(PointsOf(question), QStringList({"4101010001", "4101020001", "4101020002"}));

    QuestionEdit e;
    e.options = 3;
    e.answer = QStringLiteral("A");
    e.typeCode = 11;
    e.points = {QStringLiteral("4101010001")};
    e.text = Rtf::fromPlainText(QStringLiteral("改过的题"));
    SaveEdit(db, question, content, nullptr, e);

    EXPECT_EQ(value(QStringLiteral("select k3||'|'||k4||'|'||k5||'|'||k12||'|'||ecount||'|'||A2||"
                                   "'|'||A2_1 from tab_answ where A1='410101110001'"))
                  .toString(),
              "4101010001||||1|A|3");
    EXPECT_EQ(rule("4101010001"), 2);
    EXPECT_EQ(rule("4101020001"), 1); // only 410102220001 still carries it
    EXPECT_EQ(rule("4101020002"), 0);
    EXPECT_EQ(fgmc("410102"), 1); // the question left that chapter of the catalogue
    EXPECT_EQ(fgmc("41"), 3);     // but not the top-level entry
    EXPECT_EQ(Rtf::toPlainText(content.bytes(QStringLiteral("A15"))), "改过的题");
    EXPECT_TRUE(value(QStringLiteral("select jx from tab_exer where A1='410101110001'")).isNull());

    SaveEdit(db, question, content, nullptr, e);
    EXPECT_EQ(question.whole(QStringLiteral("ecount")), 2);
}

TEST_F(AuthoredQuestionTest, FailedEditWritesNothingAndRowsShowTheFile) {
    Dataset question(&db);
    question.setSql(QStringLiteral("select * from tab_answ where A1='4101021CASE00001-1'"));
    question.open();
    Dataset content(&db);
    content.setSql(QStringLiteral("select * from tab_exer where A1='4101021CASE00001-1'"));
    content.open();
    Dataset caseRow(&db);
    caseRow.setSql(QStringLiteral("select * from tab_title where A1='4101021CASE00001'"));
    caseRow.open();
    const QString before = counters();
    const QByteArray text = content.bytes(QStringLiteral("A15"));
    // The recount is the last step: everything before it was posted when it fails.
    db.exec(QStringLiteral("create trigger no_recount before update on tab_rule "
                           "begin select raise(abort, 'refused'); end"));

    QuestionEdit e;
    e.answer = QStringLiteral("A");
    e.typeCode = 11;
    e.options = 4;
    e.points = {QStringLiteral("4101020001")};
    e.text = Rtf::fromPlainText(QStringLiteral("改"));
    e.caseText = Rtf::fromPlainText(QStringLiteral("新案例"));
    EXPECT_THROW(SaveEdit(db, question, content, &caseRow, e), DbError);

    EXPECT_EQ(content.bytes(QStringLiteral("A15")), text);
    EXPECT_EQ(question.whole(QStringLiteral("ecount")), 0);
    EXPECT_EQ(question.text(QStringLiteral("k3")), "");
    EXPECT_EQ(Rtf::toPlainText(caseRow.bytes(QStringLiteral("A15"))), "案例背景");
    EXPECT_EQ(value(QStringLiteral("select coalesce(ecount,0)||coalesce(k3,'') from tab_answ "
                                   "where A1='4101021CASE00001-1'"))
                  .toString(),
              "0");
    EXPECT_EQ(Rtf::toPlainText(value(QStringLiteral("select A15 from tab_title")).toByteArray()),
              "案例背景");
    EXPECT_EQ(counters(), before);
    EXPECT_FALSE(db.inTransaction());

    // With the trigger gone the same edit goes through, the case text with it.
    db.exec(QStringLiteral("drop trigger no_recount"));
    SaveEdit(db, question, content, &caseRow, e);
    EXPECT_EQ(Rtf::toPlainText(value(QStringLiteral("select A15 from tab_title")).toByteArray()),
              "新案例");
    EXPECT_EQ(rule("4101020001"), 3);
    EXPECT_EQ(fgmc("410102"), 3);
}
