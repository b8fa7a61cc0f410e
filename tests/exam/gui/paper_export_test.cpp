// 生成文档 of the exam window in review: the document goes to the word processor under the
// progress window; a word processor that does not start, or a paper that cannot be read, ends in
// the one warning.

#include "exam/exam_window.h"
#include "exam/paper.h"

#include "gui_bank_test.h"

#include "platform/progress.h"
#include "store/app_state.h"
#include "widgets/effect_button.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

class ExamExportTest : public GuiBankTest {
  protected:
    void setUpWindows() override {
        copyPictures();
        // The export writes into the cache folder: this test's own.
        previousCache_ = qgetenv("XDG_CACHE_HOME");
        ASSERT_TRUE(cache.isValid());
        qputenv("XDG_CACHE_HOME", cache.path().toLocal8Bit());
        App::PaperKind = 1;
        sql("update tab_plan set LeastMark=0");
        built = Paper::BuildPaper(*dm, 1, today(), Paper::TimeOfDayRandom());
        ASSERT_EQ(built.questions, 5); // every question of the sample bank under chapter 4
        sql("update " + built.table + " set E2_1=A2");
        window = std::make_unique<TFrmExam>();
        window->SetPaper(built.table, built.title, "old", 4, "0:10:00");
        ASSERT_TRUE(window->OpenPaper());
        window->show();
        QCoreApplication::processEvents();
    }
    void tearDownWindows() override {
        window.reset();
        if (previousCache_.isNull())
            qunsetenv("XDG_CACHE_HOME");
        else
            qputenv("XDG_CACHE_HOME", previousCache_);
    }

    void clickExport() {
        auto* b = window->findChild<EffectButton*>("epEfTrBtn10");
        ASSERT_NE(b, nullptr);
        ASSERT_TRUE(b->isEnabled());
        QTest::mouseClick(b, Qt::LeftButton);
    }
    void expectWarning() {
        ASSERT_EQ(dialogs->requests.size(), 1);
        const Dialogs::Request& r = dialogs->last();
        EXPECT_EQ(r.kind, Dialogs::Kind::MessageBox);
        EXPECT_EQ(r.title, "警告");
        EXPECT_EQ(r.text, "导出试题发生错误，请退出后重试！");
        EXPECT_EQ(r.icon, Dialogs::Icon::Warning);
        EXPECT_EQ(r.boxButtons, Dialogs::BoxButtons::Ok);
    }

    QTemporaryDir cache;
    Fakes::WordProcessorFake wordProcessor;
    Paper::Built built;
    std::unique_ptr<TFrmExam> window;

  private:
    QByteArray previousCache_;
};

TEST_F(ExamExportTest, TheDocumentGoesToTheWordProcessorUnderTheProgressWindow) {
    window->goToQuestion(2);
    clickExport();
    EXPECT_TRUE(dialogs->requests.isEmpty()) << dialogs->texts().join(' ').toStdString();
    ASSERT_EQ(wordProcessor.opened.size(), 1);
    const QFileInfo file(wordProcessor.opened[0]);
    EXPECT_TRUE(file.isFile());
    EXPECT_GT(file.size(), 0);
    EXPECT_EQ(file.fileName(), built.title + ".odt");
    EXPECT_TRUE(file.absoluteFilePath().startsWith(cache.path() + "/"))
        << file.filePath().toStdString();
    EXPECT_EQ(file.absoluteDir().dirName(), "导出试卷");
    EXPECT_EQ(Progress::lastStage(), "正在导出试卷，请等待...");
    EXPECT_FALSE(Progress::shown());
    // The review stays on its question.
    EXPECT_EQ(window->currentRow(), 2);
    EXPECT_EQ(DM1->Cn1Query_exam->recNo(), 2);
}

TEST_F(ExamExportTest, NoWordProcessorShowsTheWarningAfterTheProgressWindow) {
    wordProcessor.opens = false;
    bool progressShown = true;
    dialogs->onRequest = [&](const Dialogs::Request&) { progressShown = Progress::shown(); };
    clickExport();
    ASSERT_EQ(wordProcessor.opened.size(), 1);
    expectWarning();
    EXPECT_FALSE(progressShown);
}

TEST_F(ExamExportTest, APaperThatCannotBeReadShowsTheWarningAndOpensNothing) {
    const qint64 registered = stored("select count(*) as n from tab_cj", "n").toLongLong();
    sql("alter table " + built.table + " rename to tab_exam999");
    clickExport();
    EXPECT_TRUE(wordProcessor.opened.isEmpty());
    expectWarning();
    EXPECT_EQ(stored("select count(*) as n from tab_cj", "n").toLongLong(), registered);
    sql("alter table tab_exam999 rename to " + built.table);
}

} // namespace
