#include "gui/mainwin/SplashWindow.h"

#include "core/ErrorLocation.h"
#include "core/ErrorReporter.h"
#include "core/Version.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

namespace tz4::gui {

SplashWindow::SplashWindow() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setWindowTitle(QStringLiteral("TZ-4"));
    QFont font(QStringLiteral("Arial"), 8);
    setFont(font);
    QFont bold = font;
    bold.setBold(true);

    logo_ = new QLabel(QStringLiteral("TZ-4"), this);
    QFont logoFont(QStringLiteral("Arial"), 48, QFont::Bold);
    logo_->setFont(logoFont);
    logo_->setAlignment(Qt::AlignCenter);
    logo_->setMinimumSize(360, 160);
    logo_->installEventFilter(this);

    auto* product = new QLabel(QStringLiteral("Photoelectron Yield Spectrometer"), this);
    auto* version = new QLabel(QStringLiteral("Version ") + QLatin1String(TZ4_VERSION), this);
    for (QLabel* label : {product, version}) {
        label->setFont(bold);
        label->setAlignment(Qt::AlignCenter);
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(logo_);
    layout->addWidget(product);
    layout->addWidget(version);
    setFrameSize();

    tmrWait_.setInterval(1500);
    connect(&tmrWait_, &QTimer::timeout, this, [this] {
        EnterProcedure here("frmOpen:tmrWait_Timer");
        waiting_ = false;
        tmrWait_.stop();
        loop_.quit();
    });
}

void SplashWindow::setFrameSize()
{
    adjustSize();
    setFixedSize(sizeHint());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void SplashWindow::showAndWait()
{
    show();
    waiting_ = true;
    tmrWait_.start();
    // The loop also ends when the application is asked to quit.
    loop_.exec();
}

bool SplashWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == logo_ && event->type() == QEvent::MouseButtonDblClick) {
        onLogoDoubleClick();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void SplashWindow::onLogoDoubleClick()
{
    EnterProcedure here("frmOpen:imgLogo_DblClick");
    if (tmrWait_.isActive()) {
        tmrWait_.stop();
        tmrWait_.setInterval(10000);
        errorReporter().showMessage(QStringLiteral("Pause!!!"), QStringLiteral("Pause"), MessageIcon::Exclamation,
                                    MessageButtons::Ok);
    } else if (waiting_) {
        tmrWait_.setInterval(100);
        tmrWait_.start();
    }
}

} // namespace tz4::gui
