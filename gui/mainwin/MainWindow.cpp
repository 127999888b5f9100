#include "gui/mainwin/MainWindow.h"

#include "core/ErrorLocation.h"
#include "core/SystemFile.h"

#include <QCloseEvent>

namespace tz4::gui {

MainWindow::MainWindow()
{
    EnterProcedure here("frmMain:MDIForm_Load");
    setWindowTitle(QStringLiteral("TZ-4"));
    resize(632, 461);
    // A file that stops loading part-way still leaves the values read before the bad line.
    GetSystemFile(serial_);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    EnterProcedure here("frmMain:MDIForm_Unload");
    SetSystemFile(serial_);
    event->accept();
}

} // namespace tz4::gui
