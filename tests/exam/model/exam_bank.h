#pragma once

// The sample bank with a data module open on it, for the exam's tests without widgets, and a
// way to add questions in bulk.

#include "bank_fixture.h"

#include "platform/clock.h"
#include "store/app_state.h"
#include "store/data_module.h"

#include <gtest/gtest.h>

#include <memory>

class ExamBankTest : public testing::Test {
  protected:
    static QDate today() { return QDate(2026, 3, 16); }

    void SetUp() override {
        Clock::setFixed(QDateTime(today(), QTime(10, 0)));
        folder = Fixtures::makeProgramFolder();
        dm = std::make_unique<TDM1>(folder->path());
        ASSERT_TRUE(dm->ConnectOk);
        App::PaperKind = 1;
    }
    void TearDown() override {
        dm.reset();
        Clock::clearFixed();
        App::PaperKind = 0;
    }

    // Adds n questions of a type to a chapter, ids "<chapter><type>9<nnnnn>", each with its
    // content row; f1 and E3 as given.
    void addQuestions(int n, const QString& chapter, int type, const QString& key = "A", int f1 = 0,
                      int firstE3 = 0) {
        for (int i = 0; i < n; ++i) {
            const QString id =
                chapter + QString::number(type) + QStringLiteral("9%1").arg(i, 5, 10, QChar('0'));
            dm->ADOCn1.exec(QStringLiteral("insert into tab_answ (A1, A2, A2_1, A10, A13, f1, E3, "
                                           "E4, E2_1) values (:a, :k, 4, :c, :t, :f, :e, 0, 'B')"),
                            {{"a", id},
                             {"k", key},
                             {"c", chapter},
                             {"t", type},
                             {"f", f1},
                             {"e", firstE3 + i}});
            dm->ADOCn1.exec(QStringLiteral("insert into tab_exer (A1, A15) values (:a, 'x')"),
                            {{"a", id}});
        }
    }

    QVariant value(const QString& sql, const Params& params = {}) {
        return dm->ADOCn1.scalar(sql, params);
    }
    qint64 count(const QString& sql, const Params& params = {}) {
        return value(sql, params).toLongLong();
    }

    std::unique_ptr<Fixtures::ProgramFolder> folder;
    std::unique_ptr<TDM1> dm;
};
