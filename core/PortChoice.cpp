#include "core/PortChoice.h"

#include "core/DataDirectory.h"

#include <QSettings>

namespace tz4 {

namespace {

const char* const DeviceKey = "Connection/device";

PortSource& source()
{
    static PortSource current = PortSource::SettingsFile;
    return current;
}

} // namespace

QString programSettingsFileName() { return QStringLiteral("TZ4Window.ini"); }

QString chosenSerialDevice()
{
    const QSettings settings(dataFilePath(programSettingsFileName()), QSettings::IniFormat);
    return settings.value(QLatin1String(DeviceKey)).toString().trimmed();
}

void setChosenSerialDevice(const QString& device)
{
    QSettings settings(dataFilePath(programSettingsFileName()), QSettings::IniFormat);
    if (device.trimmed().isEmpty())
        settings.remove(QLatin1String(DeviceKey));
    else
        settings.setValue(QLatin1String(DeviceKey), device.trimmed());
    settings.sync();
}

PortSource portSource() { return source(); }

void setPortSource(PortSource origin) { source() = origin; }

} // namespace tz4
