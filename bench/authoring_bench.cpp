// The learner's own questions over a synthetic bank of 100k questions: saving a new question with
// three knowledge points from the entry window (beside the bare write of the question and its
// counters), and opening the edit window on the question on show in chapter practice.
#include "window_bench.h"

#include "authoring/authored_question.h"
#include "authoring/question_edit_window.h"
#include "authoring/question_entry_window.h"
#include "practice/practice_window.h"
#include "richtext/rtf_codec.h"
#include "store/app_state.h"
#include "store/data_module.h"
#include "widgets/rich_edit.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <benchmark/benchmark.h>

namespace {

const QString kChapter = QStringLiteral("410101");
// Three knowledge points of two catalogue chapters.
const QStringList kPoints = {QStringLiteral("A400420017"), QStringLiteral("A400420018"),
                             QStringLiteral("A400870003")};
const QString kText = QStringLiteral("某项目建设投资估算采用生产能力指数法进行估算，已知类似项目的"
                                     "年生产能力和建设投资，拟建项目的建设投资约为多少万元？\n"
                                     "A. 1200\nB. 1350\nC. 1500\nD. 1650");

// Each save takes the next serial; the serials run out at 9,999.
constexpr int kSaves = 200;

void BM_SaveNewQuestionInEntryWindow(benchmark::State& state) {
    WindowBench s;
    App::PaperKind = 1;
    TFrmInPut w;
    w.ChapterCode = kChapter;
    w.show();
    QApplication::processEvents();
    for (auto _ : state) {
        state.PauseTiming();
        w.Re1->setPlainText(kText);
        w.Re2->setPlainText(QStringLiteral("按生产能力指数法计算。"));
        w.Edit1->setText(QStringLiteral("B"));
        w.ListBox1->clear();
        w.ListBox2->clear();
        for (const QString& p : kPoints) {
            w.ListBox1->addItem(p);
            w.ListBox2->addItem(p);
        }
        const int before = w.SavedCount;
        state.ResumeTiming();
        w.epBtn_SaveClick();
        state.PauseTiming();
        if (w.SavedCount != before + 1)
            state.SkipWithError("the question was not saved");
        state.ResumeTiming();
    }
    w.hide();
}

// The floor: the transaction of the question, its content and its counters alone.
void BM_InsertQuestion(benchmark::State& state) {
    WindowBench s;
    Authoring::NewQuestion q;
    q.chapter = kChapter;
    q.typeCode = QStringLiteral("11");
    q.options = 4;
    q.answer = QStringLiteral("B");
    q.text = Rtf::fromPlainText(kText);
    q.explanation = Rtf::fromPlainText(QStringLiteral("按生产能力指数法计算。"));
    q.points = kPoints;
    int serial = Authoring::LargestSerial(s.dm.ADOCn1);
    for (auto _ : state)
        Authoring::InsertQuestion(s.dm.ADOCn1, q, ++serial);
}

// Chapter practice on its first question, as the 修改本题 button finds it.
void BM_OpenEditWindowOnQuestion(benchmark::State& state) {
    WindowBench s;
    App::PaperKind = 1;
    App::PracticeQuerySql = QStringLiteral("select * from tab_answ where A10='%1' order by xx")
                                .arg(QStringLiteral("410101"));
    TFrmLxxt practice;
    if (!practice.LoadQuestionSet()) {
        state.SkipWithError("empty practice");
        return;
    }
    practice.show();
    QApplication::processEvents();
    for (auto _ : state) {
        auto* w = new TfrmTedit(&practice);
        w->show();
        QApplication::processEvents();
        state.PauseTiming();
        if (w->ListBox1->count() == 0)
            state.SkipWithError("the question's knowledge points are not listed");
        w->hide();
        delete w;
        state.ResumeTiming();
    }
    practice.hide();
}

} // namespace

BENCHMARK(BM_SaveNewQuestionInEntryWindow)->Unit(benchmark::kMillisecond)->Iterations(kSaves);
BENCHMARK(BM_InsertQuestion)->Unit(benchmark::kMillisecond)->Iterations(kSaves);
BENCHMARK(BM_OpenEditWindowOnQuestion)->Unit(benchmark::kMillisecond)->Iterations(30);
