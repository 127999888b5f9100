#include "app/screenshots/Scenes.h"

#include "core/Clock.h"
#include "core/DataDirectory.h"
#include "core/MessageCatalog.h"
#include "core/PortChoice.h"
#include "core/SystemParam.h"
#include "gui/mainwin/MainWindow.h"
#include "gui/mainwin/SerialPortDialog.h"
#include "instrument/QtSerialLine.h"
#include "mainwin/SerialPortChoice.h"

#include <QTemporaryDir>

namespace tz4::screens {

namespace {

// Measurement > Serial Port with a USB adapter and a built-in port (a fixed list, so that the
// picture does not depend on the machine), the adapter chosen.
bool renderSerialPortDialog(const QString& path, Language language)
{
    QTemporaryDir home;
    if (!home.isValid())
        return false;
    setDataDirectory(home.path());
    InitSystemParam();
    setLanguage(language);
    setChosenSerialDevice(QStringLiteral("/dev/ttyUSB0"));
    setPortSource(PortSource::Chosen);
    RealClock clock;
    QtSerialLine line(QStringLiteral("/dev/ttyUSB0"));
    bool saved = false;
    {
        gui::MainWindow frame(clock, line);
        SerialPortChoice choice(frame.control(), line);
        const QList<SerialPortEntry> ports = {
            {QStringLiteral("/dev/ttyS0"), QString(), QString(), QString(), std::nullopt, std::nullopt},
            {QStringLiteral("/dev/ttyUSB0"), QStringLiteral("FT232R USB UART"), QStringLiteral("FTDI"),
             QStringLiteral("A50285BI"), quint16(0x0403), quint16(0x6001)},
        };
        gui::SerialPortDialog dialog(choice, [ports] { return ports; }, &frame);
        dialog.show();
        saved = saveWidget(dialog, path);
    }
    setLanguage(Language::English);
    return saved;
}

} // namespace

QList<Scene> serialPortScenes()
{
    return {
        {QStringLiteral("serial-port.png"),
         [](const QString& path) { return renderSerialPortDialog(path, Language::English); }},
        {QStringLiteral("serial-port-ja.png"),
         [](const QString& path) { return renderSerialPortDialog(path, Language::Japanese); }},
    };
}

} // namespace tz4::screens
