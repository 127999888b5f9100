#include "core/LocalTimeZone.h"

#include <QFileInfo>
#include <QtGlobal>

namespace tz4 {

void readLocalTimeZoneOnce()
{
#ifdef Q_OS_LINUX
    const char* systemZone = "/etc/localtime";
    if (!qEnvironmentVariableIsSet("TZ") && QFileInfo::exists(QString::fromLatin1(systemZone)))
        qputenv("TZ", QByteArray(":") + systemZone);
#endif
}

} // namespace tz4
