#include "core/ErrorLocation.h"

#include <QMutex>
#include <QMutexLocker>

namespace tz4 {

namespace {

// Long database work runs on a thread of its own and enters procedures too.
QMutex& guard()
{
    static QMutex mutex;
    return mutex;
}

QString& location()
{
    static QString label;
    return label;
}

} // namespace

QString errorLocation()
{
    QMutexLocker lock(&guard());
    return location();
}

void setErrorLocation(const QString& label)
{
    QMutexLocker lock(&guard());
    location() = label;
}

} // namespace tz4
