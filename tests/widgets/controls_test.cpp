#include "platform/clock.h"
#include "widgets/effect_button.h"
#include "widgets/elapsed_clock.h"
#include "widgets/gauge.h"
#include "widgets/picture_button.h"
#include "widgets/vertical_label.h"

#include <QApplication>
#include <QButtonGroup>
#include <QDialog>
#include <QEnterEvent>
#include <QImage>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

// --- ElapsedClock -----------------------------------------------------------------------------

class ElapsedClockTest : public testing::Test {
  protected:
    void SetUp() override {
        t0 = QDateTime(QDate(2026, 3, 2), QTime(9, 0, 0));
        Clock::setFixed(t0);
    }
    void TearDown() override { Clock::clearFixed(); }
    void at(qint64 secs) { Clock::setFixed(t0.addSecs(secs)); }
    QDateTime t0;
};

TEST_F(ElapsedClockTest, TextAfterOneMinuteFiveAndAfterAnHour) {
    ElapsedClock clock;
    clock.reset();
    clock.start();
    EXPECT_EQ(clock.text(), QStringLiteral("0:00:00"));
    at(65);
    EXPECT_EQ(clock.elapsedSecs(), 65);
    EXPECT_EQ(clock.text(), QStringLiteral("0:01:05"));
    at(3600);
    EXPECT_EQ(clock.text(), QStringLiteral("1:00:00"));
    at(3600 + 59 * 60 + 59);
    EXPECT_EQ(clock.text(), QStringLiteral("1:59:59"));
}

TEST_F(ElapsedClockTest, StopKeepsTheCountStartGoesOnResetStartsAgain) {
    ElapsedClock clock;
    clock.reset();
    clock.start();
    EXPECT_TRUE(clock.isRunning());
    EXPECT_TRUE(clock.timer()->isActive());
    at(30);
    clock.stop();
    EXPECT_FALSE(clock.timer()->isActive());
    at(500); // time passes while stopped
    EXPECT_EQ(clock.text(), QStringLiteral("0:00:30"));
    clock.start();
    at(510);
    EXPECT_EQ(clock.elapsedSecs(), 40);

    clock.reset(); // while running: counts on from now
    EXPECT_EQ(clock.elapsedSecs(), 0);
    at(520);
    EXPECT_EQ(clock.text(), QStringLiteral("0:00:10"));

    // A clock set back (a changed system time) never reads negative.
    at(0);
    EXPECT_EQ(clock.elapsedSecs(), 0);
}

TEST_F(ElapsedClockTest, TickReportsTheText) {
    ElapsedClock clock;
    QSignalSpy spy(&clock, &ElapsedClock::ticked);
    clock.reset();
    clock.start();
    at(7);
    clock.tick();
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toString(), QStringLiteral("0:00:07"));
    EXPECT_EQ(clock.timer()->interval(), 1000);
}

TEST(ElapsedClockFormat, HoursUnpaddedMinutesAndSecondsTwoDigits) {
    const std::pair<qint64, const char*> cases[] = {
        {0, "0:00:00"},      {9, "0:00:09"},        {59, "0:00:59"},
        {60, "0:01:00"},     {3599, "0:59:59"},     {3600, "1:00:00"},
        {36000, "10:00:00"}, {360000, "100:00:00"}, {-5, "0:00:00"},
    };
    for (const auto& [secs, text] : cases)
        EXPECT_EQ(ElapsedClock::formatSecs(secs), QString::fromLatin1(text)) << secs;
}

// --- Gauge ------------------------------------------------------------------------------------

TEST(GaugeTest, RedAboveTheThresholdOnly) {
    Gauge g;
    EXPECT_EQ(g.maximum(), 100);
    EXPECT_EQ(g.threshold(), 65);
    g.setValue(65);
    EXPECT_FALSE(g.aboveThreshold());
    EXPECT_EQ(g.barColor(), Gauge::lowColor());
    g.setValue(66);
    EXPECT_TRUE(g.aboveThreshold());
    EXPECT_EQ(g.barColor(), Gauge::highColor());

    // The threshold is a share of the maximum.
    g.setMaximum(200);
    g.setValue(130);
    EXPECT_FALSE(g.aboveThreshold());
    g.setValue(131);
    EXPECT_TRUE(g.aboveThreshold());
}

TEST(GaugeTest, ValuesAreClippedAndChangesReported) {
    Gauge g;
    QSignalSpy spy(&g, &Gauge::valueChanged);
    g.setValue(150);
    EXPECT_EQ(g.value(), 100);
    g.setValue(100); // unchanged: no report
    g.setValue(-3);
    EXPECT_EQ(g.value(), 0);
    EXPECT_EQ(spy.count(), 2);
    g.setValue(80);
    g.setMaximum(50);
    EXPECT_EQ(g.value(), 50);
    g.setMaximum(0);
    EXPECT_EQ(g.maximum(), 1);
}

TEST(GaugeTest, FillsFromTheBottomOrFromTheLeft) {
    Gauge g;
    g.resize(20, 104);
    g.setValue(50);
    QImage img = g.grab().toImage();
    EXPECT_EQ(QColor(img.pixel(10, 95)), Gauge::lowColor());
    EXPECT_NE(QColor(img.pixel(10, 10)), Gauge::lowColor());

    g.setValue(90); // 90 of the 100 inner pixels, from the bottom
    img = g.grab().toImage();
    EXPECT_EQ(QColor(img.pixel(10, 15)), Gauge::highColor());
    EXPECT_EQ(QColor(img.pixel(10, 95)), Gauge::highColor());
    EXPECT_NE(QColor(img.pixel(10, 8)), Gauge::highColor());

    g.setOrientation(Qt::Horizontal);
    g.resize(104, 20);
    g.setValue(30);
    img = g.grab().toImage();
    EXPECT_EQ(QColor(img.pixel(10, 10)), Gauge::lowColor());
    EXPECT_NE(QColor(img.pixel(90, 10)), Gauge::lowColor());
}

// --- PictureButton ----------------------------------------------------------------------------

namespace {

QPixmap face(const QColor& c) {
    QPixmap p(40, 30);
    p.fill(c);
    return p;
}

QColor cornerOf(QWidget& w) {
    return QColor(w.grab().toImage().pixel(2, 2));
}

} // namespace

TEST(PictureButtonTest, CheckedButtonsOfAGroupShowTheDownFace) {
    QWidget host;
    QButtonGroup group;
    group.setExclusive(true);
    PictureButton* buttons[3];
    for (int i = 0; i < 3; ++i) {
        buttons[i] = new PictureButton(QString::number(i + 1), &host);
        buttons[i]->setFaces(face(Qt::white), face(Qt::darkGreen));
        buttons[i]->setCheckable(true);
        buttons[i]->setTag(21 + i);
        buttons[i]->setGeometry(i * 50, 0, 40, 30);
        group.addButton(buttons[i], i);
    }
    EXPECT_EQ(buttons[0]->sizeHint(), QSize(40, 30));
    EXPECT_FALSE(buttons[0]->showsDownFace());
    EXPECT_EQ(cornerOf(*buttons[0]), QColor(Qt::white));

    QTest::mouseClick(buttons[1], Qt::LeftButton);
    EXPECT_TRUE(buttons[1]->isChecked());
    EXPECT_EQ(group.checkedButton(), buttons[1]);
    EXPECT_EQ(static_cast<PictureButton*>(group.checkedButton())->tag(), 22);
    EXPECT_EQ(cornerOf(*buttons[1]), QColor(Qt::darkGreen));

    QTest::mouseClick(buttons[2], Qt::LeftButton);
    EXPECT_FALSE(buttons[1]->isChecked());
    EXPECT_EQ(cornerOf(*buttons[1]), QColor(Qt::white));
    EXPECT_EQ(cornerOf(*buttons[2]), QColor(Qt::darkGreen));

    // Changing the faces of a checked button shows the new down face at once.
    buttons[2]->setFaces(face(Qt::yellow), face(Qt::red));
    EXPECT_EQ(cornerOf(*buttons[2]), QColor(Qt::red));
}

TEST(PictureButtonTest, PressedShowsDownFaceAndTheCaptionIsDrawnCentred) {
    PictureButton b(QStringLiteral("8"));
    b.setFaces(face(Qt::white), face(Qt::blue));
    b.resize(40, 30);
    b.setDown(true);
    EXPECT_TRUE(b.showsDownFace());
    EXPECT_EQ(b.currentFace().toImage().pixel(0, 0), QColor(Qt::blue).rgb());
    b.setDown(false);

    // The caption leaves dark pixels in the middle of a white face, none in the corners.
    const QImage img = b.grab().toImage();
    int dark = 0;
    for (int y = 5; y < 25; ++y)
        for (int x = 10; x < 30; ++x)
            dark += qGray(img.pixel(x, y)) < 128;
    EXPECT_GT(dark, 0);
    EXPECT_EQ(QColor(img.pixel(1, 1)), QColor(Qt::white));
}

// --- EffectButton -----------------------------------------------------------------------------

TEST(EffectButtonTest, EnterInADialogDoesNotClickIt) {
    QDialog dialog;
    auto* b = new EffectButton(QStringLiteral("关闭"), &dialog);
    QSignalSpy clicked(b, &QAbstractButton::clicked);
    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_Return);
    EXPECT_EQ(clicked.count(), 0);
    EXPECT_TRUE(dialog.isVisible());
}

TEST(EffectButtonTest, BlackBlueUnderTheMouseGreyWhenDisabled) {
    EffectButton b(QStringLiteral("完成"));
    EXPECT_TRUE(b.isFlat());
    EXPECT_FALSE(b.autoDefault()); // Enter in a dialog must not click it
    EXPECT_EQ(b.captionColor(), EffectButton::normalColor());

    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(&b, &enter);
    EXPECT_EQ(b.captionColor(), EffectButton::hoverColor());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&b, &leave);
    EXPECT_EQ(b.captionColor(), EffectButton::normalColor());

    b.setEnabled(false);
    QApplication::sendEvent(&b, &enter);
    EXPECT_EQ(b.captionColor(), EffectButton::disabledColor());
}

// --- VerticalLabel ----------------------------------------------------------------------------

TEST(VerticalLabelTest, OneCharacterPerLine) {
    VerticalLabel l(QStringLiteral("单选"));
    EXPECT_EQ(l.text(), QStringLiteral("单\n选"));
    l.setCaption(QStringLiteral("不定项"));
    EXPECT_EQ(l.text(), QStringLiteral("不\n定\n项"));
    EXPECT_EQ(l.caption(), QStringLiteral("不定项"));
}
