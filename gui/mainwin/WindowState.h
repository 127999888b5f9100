#pragma once

#include <QSettings>

class QMainWindow;
class QWidget;

namespace tz4::gui {

// Where the frame and its child windows were left, kept in the program's own file in the data
// directory (never in the settings file, whose keys are fixed).
class WindowState {
public:
    WindowState();

    static QString fileName();

    // False when nothing is remembered yet.
    bool restoreFrame(QMainWindow& frame);
    void saveFrame(const QMainWindow& frame);
    // Child windows are remembered by `name`.
    bool restoreChild(QWidget& window, const QString& name);
    void saveChild(const QWidget& window, const QString& name);

private:
    QSettings settings_;
};

} // namespace tz4::gui
