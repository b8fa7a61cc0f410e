#include "gui_bank_test.h"

#include "platform/clock.h"
#include "platform/input_methods.h"
#include "platform/screen_cursor.h"
#include "store/app_state.h"
#include "widgets/window_registry.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>

void GuiBankTest::SetUp() {
    dialogs = std::make_unique<Fakes::ScriptedDialogs>();
    end = std::make_unique<Fakes::EndObserver>();
    music = std::make_unique<Fakes::MusicPlayerFake>();
    documents = std::make_unique<Fakes::DocumentOpenerFake>();
    Clock::setFixed(QDateTime(today(), QTime(10, 0)));

    App::ScreenMode = QStringLiteral("1024");
    App::PaperKind = 0;
    App::ConfigMode = 0;
    App::TypeTimes.clear();
    App::TypeCodes.clear();
    App::MusicOn = false;
    App::VolumeLevel = 10;
    App::PracticeQuerySql.clear();
    App::PracticeQueryParams.clear();

    folder = Fixtures::makeProgramFolder();
    ASSERT_TRUE(folder->isValid());
    dm = std::make_unique<TDM1>(folder->path());
    ASSERT_TRUE(dm->ConnectOk);
    ASSERT_EQ(App::AppPath, folder->path());
    DM1 = dm.get();
    setUpWindows();
}

void GuiBankTest::TearDown() {
    tearDownWindows();
    WindowRegistry::clear();
    DM1 = nullptr;
    dm.reset();
    InputMethods::setBackend(nullptr);
    ScreenCursor::normal();
    Clock::clearFixed();
    App::ScreenMode = QStringLiteral("1024");
    documents.reset();
    music.reset();
    end.reset();
    dialogs.reset();
    folder.reset();
}

void GuiBankTest::copyPictures() {
    const QDir pics(QStringLiteral(TARNWICK_SOURCE_DIR "/assets/pic"));
    ASSERT_TRUE(QDir(folder->path()).mkpath(QStringLiteral("pic")));
    for (const QString& f : pics.entryList(QDir::Files))
        QFile::copy(pics.filePath(f), folder->path() + QStringLiteral("pic/") + f);
}

void GuiBankTest::sql(const QString& statement, const Params& params) {
    dm->ADOCn1.exec(statement, params);
}

std::unique_ptr<Dataset> GuiBankTest::query(const QString& sql) {
    auto ds = std::make_unique<Dataset>(&dm->ADOCn1);
    ds->setSql(sql);
    ds->open();
    return ds;
}

QVariant GuiBankTest::stored(const QString& sql, const QString& field) {
    auto ds = query(sql);
    return ds->recNo() > 0 ? ds->value(field) : QVariant();
}

namespace GuiTest {

bool waitUntil(const std::function<bool()>& done, int ms) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms)
        QTest::qWait(10);
    return done();
}

} // namespace GuiTest
