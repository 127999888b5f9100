#include <QCoreApplication>
#include <QLocale>

#include <gtest/gtest.h>

// Tests run under a core application so that timers, serial ports and the event loop work
// exactly as in the program; no display is needed.
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale::c());
    return RUN_ALL_TESTS();
}
