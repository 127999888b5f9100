#include "core/CautionLog.h"

#include "core/DataDirectory.h"
#include "core/ErrorLocation.h"
#include "core/Formats.h"
#include "core/Tz4Error.h"

#include <QDateTime>
#include <QFile>

namespace tz4 {

QString cautionLogPath() { return dataFilePath(QStringLiteral("Caution.log")); }

void WriteCautionLog(const QString& message, const Tz4Error* pending)
{
    const QString location = errorLocation();
    QString entry = generalDate(QDateTime::currentDateTime());
    if (pending && pending->number() > 0)
        entry += QStringLiteral(" : %1 : %2 : %3").arg(pending->number()).arg(location, pending->description());
    else
        entry += QStringLiteral(" : - : %1 : No Error").arg(location);
    entry += QStringLiteral("\r\n");
    if (!message.isEmpty())
        entry += QStringLiteral("Message : ") + message + QStringLiteral("\r\n");

    QFile file(cautionLogPath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    file.write(entry.toUtf8());
}

bool clearCautionLog()
{
    QFile file(cautionLogPath());
    return !file.exists() || file.remove();
}

} // namespace tz4
