#include "shell_test_support.h"

#include "shell/menu_movie.h"
#include "shell/start_form.h"
#include "widgets/window_registry.h"

#include <QDialog>
#include <QFile>
#include <QSignalSpy>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using ShellTest::testMovie;

namespace {

class MenuMovie : public testing::Test {
  protected:
    void SetUp() override {
        movie.resize(1000, 600); // the 400 x 300 movie at twice its size, 100 pixels each side
        ASSERT_TRUE(movie.setMovie(testMovie()));
        movie.show();
    }
    TMenuMovie movie;
};

QPoint centreOf(const QRectF& r) {
    return r.center().toPoint();
}

} // namespace

TEST_F(MenuMovie, FindsTheButtonsOfTheMovieInTheirOrder) {
    EXPECT_EQ(movie.objectName(), QStringLiteral("ShockwaveFlash1"));
    EXPECT_EQ(movie.commands(), QStringList({QStringLiteral("lx"), QStringLiteral("quit"),
                                             QStringLiteral("lx2"), QStringLiteral("about")}));
}

TEST_F(MenuMovie, KeepsTheProportionsOnAWhiteBorder) {
    EXPECT_EQ(movie.movieRect(), QRectF(100, 0, 800, 600));
    movie.resize(400, 600);
    EXPECT_EQ(movie.movieRect(), QRectF(0, 150, 400, 300));
    const QImage shot = movie.grab().toImage();
    EXPECT_EQ(shot.pixelColor(200, 20), QColor(Qt::white));             // above the movie
    EXPECT_EQ(shot.pixelColor(200, 580), QColor(Qt::white));            // below it
    EXPECT_EQ(shot.pixelColor(30, 150 + 30), QColor(0x33, 0x66, 0xaa)); // the lx button
}

TEST_F(MenuMovie, MapsButtonsThroughTheirGroupsToTheWidget) {
    EXPECT_EQ(movie.buttonRect(QStringLiteral("lx")), QRectF(140, 40, 200, 100));
    // cmd-quit lies at (0,0) inside a group moved to (200,100).
    EXPECT_EQ(movie.buttonRect(QStringLiteral("quit")), QRectF(500, 200, 160, 80));
    EXPECT_TRUE(movie.buttonRect(QStringLiteral("backdrop")).isEmpty());
}

TEST_F(MenuMovie, AClickOnAButtonSendsItsCommand) {
    QSignalSpy spy(&movie, &TMenuMovie::FSCommand);
    QTest::mouseClick(&movie, Qt::LeftButton, {}, centreOf(movie.buttonRect("quit")));
    QTest::mouseClick(&movie, Qt::LeftButton, {}, centreOf(movie.buttonRect("lx")));
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(spy.at(0).at(0).toString(), QStringLiteral("quit"));
    EXPECT_EQ(spy.at(1).at(0).toString(), QStringLiteral("lx"));
    EXPECT_EQ(spy.at(1).at(1).toString(), QString());
}

TEST_F(MenuMovie, TheButtonOnTopTakesTheClick) {
    QSignalSpy spy(&movie, &TMenuMovie::FSCommand);
    // lx2 spans 20..120 and about 60..160 of the movie's width; both at 100.
    QTest::mouseClick(&movie, Qt::LeftButton, {}, QPoint(100 + 2 * 100, 2 * 225));
    QTest::mouseClick(&movie, Qt::LeftButton, {}, QPoint(100 + 2 * 40, 2 * 225));
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(spy.at(0).at(0).toString(), QStringLiteral("about"));
    EXPECT_EQ(spy.at(1).at(0).toString(), QStringLiteral("lx2"));
}

TEST_F(MenuMovie, ClicksBesideTheButtonsSendNothing) {
    QSignalSpy spy(&movie, &TMenuMovie::FSCommand);
    QTest::mouseClick(&movie, Qt::LeftButton, {}, QPoint(50, 300));  // the white border
    QTest::mouseClick(&movie, Qt::LeftButton, {}, QPoint(700, 500)); // the backdrop
    QTest::mouseClick(&movie, Qt::RightButton, {}, centreOf(movie.buttonRect("lx")));
    // Pressed on one button, released on another.
    QTest::mousePress(&movie, Qt::LeftButton, {}, centreOf(movie.buttonRect("lx")));
    QTest::mouseRelease(&movie, Qt::LeftButton, {}, centreOf(movie.buttonRect("quit")));
    EXPECT_EQ(spy.count(), 0);
}

TEST_F(MenuMovie, TheHandPointerShowsOverButtonsOnly) {
    QTest::mouseMove(&movie, centreOf(movie.buttonRect("lx")));
    EXPECT_EQ(movie.cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseMove(&movie, QPoint(700, 500));
    EXPECT_EQ(movie.cursor().shape(), Qt::ArrowCursor);
}

TEST_F(MenuMovie, PlaysAndStopsTheAnimation) {
    movie.play();
    EXPECT_TRUE(movie.isPlaying());
    movie.stop();
    EXPECT_FALSE(movie.isPlaying());
}

TEST_F(MenuMovie, AMissingOrBrokenMovieShowsNothingAndHasNoButtons) {
    QTemporaryDir dir;
    EXPECT_FALSE(movie.setMovie(dir.filePath(QStringLiteral("main.svg"))));
    EXPECT_FALSE(movie.isValid());
    EXPECT_TRUE(movie.commands().isEmpty());
    const QString broken = dir.filePath(QStringLiteral("broken.svg"));
    QFile f(broken);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("<svg><rect id=\"cmd-lx\"");
    f.close();
    EXPECT_FALSE(movie.setMovie(broken));
    EXPECT_TRUE(movie.commands().isEmpty());
    QSignalSpy spy(&movie, &TMenuMovie::FSCommand);
    QTest::mouseClick(&movie, Qt::LeftButton, {}, QPoint(240, 90));
    EXPECT_EQ(spy.count(), 0);
}

class MenuOnTheMainForm : public ShellTest::ShellFixture {};

TEST_F(MenuOnTheMainForm, AClickInTheMenuOpensTheCommandsWindow) {
    int opened = 0;
    WindowRegistry::registerWindow(QStringLiteral("lx"), [&](QWidget* owner) {
        ++opened;
        auto* d = new QDialog(owner);
        QTimer::singleShot(0, d, &QDialog::accept);
        return d;
    });
    FrmStart = new TFrmStart();
    FrmStart->show();
    TMenuMovie* m = FrmStart->ShockwaveFlash1;
    ASSERT_TRUE(m->isValid());
    QTest::mouseClick(m, Qt::LeftButton, {}, centreOf(m->buttonRect(QStringLiteral("lx"))));
    EXPECT_EQ(opened, 1);
}
