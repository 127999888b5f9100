#include "gui/mainwin/WindowState.h"

#include "core/DataDirectory.h"
#include "core/PortChoice.h"

#include <QMainWindow>

namespace tz4::gui {

QString WindowState::fileName() { return programSettingsFileName(); }

WindowState::WindowState() : settings_(dataFilePath(fileName()), QSettings::IniFormat) {}

bool WindowState::restoreFrame(QMainWindow& frame)
{
    const QByteArray geometry = settings_.value(QStringLiteral("Frame/geometry")).toByteArray();
    if (geometry.isEmpty() || !frame.restoreGeometry(geometry))
        return false;
    frame.restoreState(settings_.value(QStringLiteral("Frame/state")).toByteArray());
    return true;
}

void WindowState::saveFrame(const QMainWindow& frame)
{
    settings_.setValue(QStringLiteral("Frame/geometry"), frame.saveGeometry());
    settings_.setValue(QStringLiteral("Frame/state"), frame.saveState());
    settings_.sync();
}

bool WindowState::restoreChild(QWidget& window, const QString& name)
{
    const QRect place = settings_.value(QStringLiteral("Windows/") + name).toRect();
    if (!place.isValid())
        return false;
    window.setGeometry(place);
    return true;
}

void WindowState::saveChild(const QWidget& window, const QString& name)
{
    settings_.setValue(QStringLiteral("Windows/") + name, window.geometry());
    settings_.sync();
}

} // namespace tz4::gui
