#include <QGuiApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv); // rich text is laid out through Qt Gui
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
