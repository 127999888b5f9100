#include <QGuiApplication>
#include <QLocale>

#include <gtest/gtest.h>

// Painting needs fonts, which need a GUI application; tests run it on the offscreen platform.
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // Also when the test list is read at build time, where no platform is set.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QLocale::setDefault(QLocale::c());
    return RUN_ALL_TESTS();
}
