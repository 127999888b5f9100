#include "gui/widgets/MessageBoxReporter.h"

#include <QApplication>
#include <QMainWindow>
#include <QMessageBox>

namespace tz4::gui {

void MessageBoxReporter::stopAsking()
{
    stopping_ = true;
    // The box's escape answer is No for a question and OK for a notice.
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible())
            box->reject();
}

MessageAnswer MessageBoxReporter::showMessage(const QString& text, const QString& title, MessageIcon icon,
                                              MessageButtons buttons)
{
    if (stopping_)
        return StandardErrorReporter(MessageAnswer::No).showMessage(text, title, icon, buttons);
    QMessageBox::Icon boxIcon = QMessageBox::NoIcon;
    switch (icon) {
    case MessageIcon::None:
        break;
    case MessageIcon::Critical:
        boxIcon = QMessageBox::Critical;
        break;
    case MessageIcon::Question:
        boxIcon = QMessageBox::Question;
        break;
    case MessageIcon::Exclamation:
        boxIcon = QMessageBox::Warning;
        break;
    case MessageIcon::Information:
        boxIcon = QMessageBox::Information;
        break;
    }
    QMessageBox::StandardButtons standard = QMessageBox::Ok;
    switch (buttons) {
    case MessageButtons::Ok:
        break;
    case MessageButtons::OkCancel:
        standard = QMessageBox::Ok | QMessageBox::Cancel;
        break;
    case MessageButtons::YesNo:
        standard = QMessageBox::Yes | QMessageBox::No;
        break;
    case MessageButtons::YesNoCancel:
        standard = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        break;
    }
    QString body = text;
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    // Centred on the window the operator works in, or on the frame when none is active.
    QWidget* parent = QApplication::activeWindow();
    if (!parent)
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (qobject_cast<QMainWindow*>(widget) && widget->isVisible())
                parent = widget;
    QMessageBox box(boxIcon, title, body, standard, parent);
    // A message shown while the hourglass is up must still be answerable.
    const bool busy = QApplication::overrideCursor() != nullptr;
    if (busy)
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    const int answer = box.exec();
    if (busy)
        QApplication::restoreOverrideCursor();
    switch (answer) {
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    case QMessageBox::Cancel:
        return MessageAnswer::Cancel;
    default:
        return MessageAnswer::Ok;
    }
}

} // namespace tz4::gui
