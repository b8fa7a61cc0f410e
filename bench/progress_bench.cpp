// The progress windows over the synthetic bank: showing the study log with three years of days,
// and the score chart over 1,000 charted chapters.
#include "window_bench.h"

#include "synthetic_bank.h"

#include "platform/dialogs.h"
#include "progress/chart_window.h"
#include "progress/study_log_window.h"
#include "store/data_module.h"
#include "store/database.h"
#include "store/learner_bank.h"
#include "widgets/dataset_table_model.h"

#include <QApplication>
#include <QBarSet>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <functional>
#include <memory>

namespace {

// A bank of its own: the synthetic bank's template copied into a temporary program folder, grown
// by grow in one transaction.
struct OwnBank {
    explicit OwnBank(const std::function<void(Database&)>& grow) {
        const QString program = dir.path() + QStringLiteral("/");
        QDir().mkpath(program + QStringLiteral("data"));
        QFile::copy(SyntheticBank::programFolder(WindowBench::kQuestions) + TDM1::bankFileName(),
                    program + TDM1::bankFileName());
        previousData = LearnerBank::setDataFolder(program + QStringLiteral("userdata/"));
        dm = std::make_unique<TDM1>(program);
        Transaction tx(dm->ADOCn1);
        grow(dm->ADOCn1);
        tx.commit();
        DM1 = dm.get();
        Dialogs::setResponder([](const Dialogs::Request&) { return 1; });
    }
    ~OwnBank() {
        Dialogs::setResponder({});
        DM1 = nullptr;
        dm.reset();
        LearnerBank::setDataFolder(previousData);
    }
    OwnBank(const OwnBank&) = delete;
    OwnBank& operator=(const OwnBank&) = delete;

    QTemporaryDir dir;
    QString previousData;
    std::unique_ptr<TDM1> dm;
};

// The daily log grown to three years: the template's year and the two before it.
void growLog(Database& db) {
    for (QDate day(2023, 12, 2); day < QDate(2025, 12, 1); day = day.addDays(1)) {
        db.exec(QStringLiteral("insert into tab_rz (A1, A2, A3, A4, B1, B2, D1) "
                               "values (:d, 40, 6, '85.00', 35, 5, '00:45:00')"),
                {{"d", day.toString(Qt::ISODate)}});
    }
}

// 1,000 charted chapters: the template's 50 and 950 more, with questions done and answers given.
void growChapters(Database& db) {
    for (int c = 0; c < 950; ++c) {
        db.exec(QStringLiteral("insert into tab_kmmc (C1, C1_1, C2, bh, C7, C3, C4, D1, D2) "
                               "values (:c, :h, :n, :b, '0', :q, :d, :a, :w)"),
                {{"c", QStringLiteral("9%1").arg(c, 3, 10, QLatin1Char('0'))},
                 {"h", QStringLiteral("标题 %1").arg(c)},
                 {"n", QStringLiteral("第%1章").arg(c + 51)},
                 {"b", 100000 + c},
                 {"q", 40 + c % 60},
                 {"d", c % 40},
                 {"a", 3 * (c % 97)},
                 {"w", c % 31}});
    }
    db.exec(QStringLiteral("update tab_kmmc set C4=C3/2, D1=C3*3, D2=C3/3 where length(C1)=4 "
                           "and C1 not like '9%'"));
}

// From the menu's command to the window on the screen: built, shown, painted.
void BM_ShowStudyLog(benchmark::State& state) {
    OwnBank bank(growLog);
    int days = 0;
    for (auto _ : state) {
        auto* w = new TFrmRz;
        w->show();
        QApplication::processEvents();
        days = w->DBGrid1Model->rowCount();
        state.PauseTiming();
        w->close();
        delete w;
        state.ResumeTiming();
    }
    state.counters["days"] = days;
}

// From the menu's command to the chart window on the screen over 1,000 charted chapters: the
// chapters read, the frequency chart built, shown and painted.
void BM_ShowChartOf1000Chapters(benchmark::State& state) {
    OwnBank bank(growChapters);
    int chapters = 0;
    for (auto _ : state) {
        auto* w = new Tfrmchart;
        w->show();
        QApplication::processEvents();
        chapters = int(w->Series1->count());
        state.PauseTiming();
        w->close();
        delete w;
        state.ResumeTiming();
    }
    state.counters["chapters"] = chapters;
}

// The other two charts are laid out when first chosen (argument: 0 the pie of 1,000 slices, 2 the
// progress bars), shown and painted.
void BM_FirstSwitchToChart(benchmark::State& state) {
    OwnBank bank(growChapters);
    for (auto _ : state) {
        state.PauseTiming();
        auto* w = new Tfrmchart;
        w->show();
        QApplication::processEvents();
        state.ResumeTiming();
        w->setRadioGroup1Index(int(state.range(0)));
        QApplication::processEvents();
        state.PauseTiming();
        w->close();
        delete w;
        state.ResumeTiming();
    }
}

} // namespace

BENCHMARK(BM_ShowStudyLog)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShowChartOf1000Chapters)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FirstSwitchToChart)->Arg(0)->Arg(2)->Unit(benchmark::kMillisecond);
