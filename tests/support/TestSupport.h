#pragma once

#include <QDir>
#include <QLocale>
#include <QString>
#include <QTemporaryDir>

namespace tz4::test {

// Path of a program built by this project (tz4, tz4-sim).
QString builtProgram(const QString& name);

// Switches the default locale for one scope, e.g. to a comma-decimal one.
class ScopedLocale {
public:
    explicit ScopedLocale(const QLocale& locale) : previous_(QLocale()) { QLocale::setDefault(locale); }
    ~ScopedLocale() { QLocale::setDefault(previous_); }

private:
    QLocale previous_;
};

} // namespace tz4::test
