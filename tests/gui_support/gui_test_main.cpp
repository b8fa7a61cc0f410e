#include <QApplication>

#include <gtest/gtest.h>

// The main() of every GUI test program.
int main(int argc, char** argv) {
    // Headless, also when CTest lists the tests without the test environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
