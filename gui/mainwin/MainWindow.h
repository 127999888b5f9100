#pragma once

#include "core/SerialProperties.h"

#include <QMainWindow>

namespace tz4::gui {

// The program's main window for now: it loads the settings file when it opens and writes it
// back when it closes.
class MainWindow final : public QMainWindow {
public:
    MainWindow();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    SerialSettings serial_;
};

} // namespace tz4::gui
