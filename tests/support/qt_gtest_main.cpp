#include <QApplication>
#include <gtest/gtest.h>

// Widget tests need a QApplication; plain tests do not mind one. The platform is chosen by
// QT_QPA_PLATFORM (the test script sets "offscreen").
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
