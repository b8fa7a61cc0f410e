// Knowledge points over a synthetic bank of 100k questions and 5,000 knowledge points: opening a
// chapter of the catalogue, setting up a practice over one point's questions (beside the bare
// query, by the slot indexes and by a scan of every question), and opening the points of a
// question.
#include "window_bench.h"

#include "knowledge/point_browser.h"
#include "knowledge/point_catalogue.h"
#include "knowledge/point_practice_window.h"
#include "knowledge/question_points_window.h"
#include "store/app_state.h"
#include "store/data_module.h"

#include <QApplication>
#include <QStandardItemModel>
#include <QTableView>
#include <benchmark/benchmark.h>

namespace {

const QString kPoint = QStringLiteral("A400420017");      // about 40 questions
const QString kQuestion = QStringLiteral("410101110001"); // three points

using Session = WindowBench;

void BM_OpenCatalogueChapter(benchmark::State& state) {
    Session s;
    TfrmLawsFaGui browser;
    browser.show();
    QApplication::processEvents();
    for (auto _ : state) {
        browser.m_grid->setCurrentIndex(browser.m_gridModel->index(43, 0)); // 50 points
        browser.m_btnSelectClick();
        QApplication::processEvents();
        state.PauseTiming();
        browser.m_btnBackClick();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

void BM_PointPracticeSetUp(benchmark::State& state) {
    Session s;
    for (auto _ : state) {
        App::PracticeQuerySql = PointCatalogue::PracticeSql();
        App::PracticeQueryParams = PointCatalogue::PracticeParams(kPoint);
        auto* w = new TFrmRuleLxxt;
        if (!w->LoadQuestionSet())
            state.SkipWithError("empty practice");
        state.PauseTiming();
        delete w;
        state.ResumeTiming();
    }
}

// The floor: the question set's query alone, by the slot indexes and by a scan of the bank.
void BM_PointQuestionsByIndex(benchmark::State& state) {
    Session s;
    int questions = 0;
    for (auto _ : state) {
        Dataset q(&DM1->ADOCn1);
        q.setSql(PointCatalogue::PracticeSql());
        q.setParam(QStringLiteral("ftid"), kPoint);
        q.open();
        questions = q.recordCount();
    }
    state.counters["questions"] = questions;
}

void BM_PointQuestionsByScan(benchmark::State& state) {
    Session s;
    for (auto _ : state) {
        Dataset q(&DM1->ADOCn1);
        q.setSql(QStringLiteral("select a1,a2,a2_1,k3,k4,k5,k6,k7,k8,k9,k10,k11,k12,a10,a13,a14,"
                                "e1,e2,e2_1,e3,e4,f1, csbs from tab_answ where :ftid in "
                                "(k3,k4,k5,k6,k7,k8,k9,k10,k11,k12)"));
        q.setParam(QStringLiteral("ftid"), kPoint);
        q.open();
        benchmark::DoNotOptimize(q.recordCount());
    }
}

void BM_OpenPointsOfQuestion(benchmark::State& state) {
    Session s;
    for (auto _ : state) {
        auto* w = new TfrmAnswFagui;
        if (!w->LoadQuestionPoints(kQuestion))
            state.SkipWithError("no points");
        w->show();
        QApplication::processEvents();
        state.PauseTiming();
        delete w;
        state.ResumeTiming();
    }
}

} // namespace

BENCHMARK(BM_OpenCatalogueChapter)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PointPracticeSetUp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PointQuestionsByIndex)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PointQuestionsByScan)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenPointsOfQuestion)->Unit(benchmark::kMillisecond);
