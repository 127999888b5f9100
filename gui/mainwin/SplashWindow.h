#pragma once

#include <QEventLoop>
#include <QTimer>
#include <QWidget>

class QLabel;

namespace tz4::gui {

// The start-up window (frmOpen): the program's logo for a moment before the main window.
// Double-clicking the logo holds it ("Pause!!!") until the next double-click.
class SplashWindow final : public QWidget {
public:
    SplashWindow();

    // Shows the window and runs the event loop until the wait timer's first tick (or until
    // the application is asked to quit).
    void showAndWait();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setFrameSize();
    void onLogoDoubleClick();

    QLabel* logo_;
    QTimer tmrWait_;
    bool waiting_ = false;
    QEventLoop loop_;
};

} // namespace tz4::gui
