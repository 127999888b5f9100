#pragma once

#include "core/Tz4Error.h"

#include <QDir>
#include <QLocale>
#include <QString>
#include <QTemporaryDir>

#include <functional>

namespace tz4::test {

// Path of a program built by this project (tz4, tz4-sim).
QString builtProgram(const QString& name);
// Path of a helper program the tests build (tz4_data_store_helper, tz4_data_lock_helper).
QString builtHelper(const QString& name);

// The error number `action` raises, or 0 when it returns normally.
inline int errorNumberOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const Tz4Error& error) {
        return error.number();
    }
    return 0;
}

// Switches the default locale for one scope, e.g. to a comma-decimal one.
class ScopedLocale {
public:
    explicit ScopedLocale(const QLocale& locale) : previous_(QLocale()) { QLocale::setDefault(locale); }
    ~ScopedLocale() { QLocale::setDefault(previous_); }

private:
    QLocale previous_;
};

} // namespace tz4::test
