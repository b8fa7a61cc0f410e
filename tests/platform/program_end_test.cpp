#include "platform_fakes.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <gtest/gtest.h>

TEST(ProgramEnd, ARequestStopsTheRunningLoopsNestedOnesIncluded) {
    ProgramEnd::reset();
    bool innerReturned = false;
    QTimer::singleShot(0, [&] {
        // A modal window's loop inside the main loop.
        QEventLoop inner;
        QTimer::singleShot(0, [] { ProgramEnd::request(); });
        inner.exec();
        innerReturned = true;
    });
    QTimer failSafe;
    failSafe.setSingleShot(true);
    QObject::connect(&failSafe, &QTimer::timeout, [] { QCoreApplication::exit(7); });
    failSafe.start(5000);
    const int code = QCoreApplication::exec();
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(innerReturned);
    EXPECT_TRUE(ProgramEnd::requested());
    ProgramEnd::reset();
}

TEST(ProgramEnd, ARequestBeforeTheLoopIsRemembered) {
    ProgramEnd::reset();
    EXPECT_FALSE(ProgramEnd::requested());
    ProgramEnd::request();
    EXPECT_TRUE(ProgramEnd::requested());
    ProgramEnd::reset();
    EXPECT_FALSE(ProgramEnd::requested());
}

TEST(ProgramEnd, AnObserverSeesTheRequestAndTheLoopGoesOn) {
    Fakes::EndObserver observer;
    bool stillRunning = false;
    QTimer::singleShot(0, [] { ProgramEnd::request(); });
    QTimer::singleShot(50, [&] {
        stillRunning = true;
        QCoreApplication::exit(3);
    });
    EXPECT_EQ(QCoreApplication::exec(), 3);
    EXPECT_TRUE(stillRunning);
    EXPECT_EQ(observer.count, 1);
    EXPECT_TRUE(observer.ended());
}
