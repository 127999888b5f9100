#include "mainwin/BodyDiag.h"
#include "mainwin/MainControl.h"
#include "mainwin/SerialDebugLog.h"
#include "mainwin/StatusBar.h"

#include "core/CautionLog.h"
#include "core/ErrorLocation.h"
#include "core/ErrorReporter.h"
#include "core/ErrorTrap.h"
#include "core/Formats.h"
#include "core/MessageCatalog.h"
#include "core/OwnTexts.h"
#include "core/SystemFile.h"
#include "core/SystemParam.h"
#include "core/Tz4Error.h"
#include "instrument/Tz4Body.h"
#include "instrument/ErrorTexts.h"
#include "core/MessageIds.h"

namespace tz4 {

namespace {

constexpr float FullWarmUpSeconds = 1800;
const quint32 NormalBarColour = basicColour(1);
const QString Crlf = QStringLiteral("\r\n");

} // namespace

MainControl::MainControl(Clock& clock, uclTz4Body& body, StatusBar& status, QObject* parent)
    : QObject(parent), clock_(clock), body_(body), status_(status), action_(body)
{
    connect(&action_, &RunningAction::changed, this, [this] { emit connectAvailableChanged(connectAvailable()); });
    connect(&body_, &uclTz4Body::ProcBase, this, &MainControl::ProcBase);
    connect(&body_, &uclTz4Body::ProcSetLight, this, &MainControl::ProcSetLight);
    connect(&body_, &uclTz4Body::ProcVolts, this, &MainControl::ProcVolts);
    connect(&body_, &uclTz4Body::ProcWork, this, &MainControl::ProcWork);
    connect(&body_, &uclTz4Body::ProcLight, this, &MainControl::ProcLight);
    connect(&body_, &uclTz4Body::ProcCps, this, &MainControl::ProcCps);
    connect(&body_, &uclTz4Body::ProcThick, this, &MainControl::ProcThick);
}

MainControl::~MainControl() { setTmrWarmUpEnabled(false); }

void MainControl::Load()
{
    EnterProcedure here("frmMain:MDIForm_Load");
    startSerialDebugLog(clock_);
    setPhase(NotConnected);
    status_.setBarColor(NormalBarColour);
    status_.setForeColor(basicColour(0));
    status_.setMin(0);
    status_.setMax(100);
    status_.setValue(50);
    status_.setCaption(ownText(OwnText::InitSystem));
}

bool MainControl::Unload()
{
    EnterProcedure here("frmMain:MDIForm_Unload");
    setTmrWarmUpEnabled(false);
    if (body_.PortOpen()) {
        body_.setTimerEnable(false);
        body_.setPortOpen(false);
        return true;
    }
    return SetSystemFile(body_);
}

void MainControl::setPhase(qint32 phase)
{
    const bool change = phase != connectPhase_;
    connectPhase_ = phase;
    if (change) {
        emit connectPhaseChanged(phase);
        emit connectAvailableChanged(connectAvailable());
    }
}

void MainControl::showRestingStatus()
{
    // A port found closed (the device went, a lost link closed it) means a new connection.
    if (!body_.PortOpen() && connectPhase_ != NotConnected)
        setPhase(NotConnected);
    int captionId = msg::NoConnect;
    if (connectPhase_ == Ready)
        captionId = msg::ReadyTitle;
    else if (connectPhase_ == WarmingUp)
        captionId = msg::WarmingUp;
    // The warm-up timer draws its own progress on the free bar.
    if (connectPhase_ != WarmingUp) {
        status_.setMin(0);
        status_.setMax(100);
        status_.setValue(0);
    }
    status_.setCaption(GetRes(captionId));
}

void MainControl::DebugLogWrite(qint32 mode, const QString& text)
{
    EnterProcedure here("frmMain:DebugLogWrite");
    if (mode == 1) {
        const QString traffic = body_.SerialLog();
        appendSerialDebugLog(text, &traffic);
    } else {
        appendSerialDebugLog(text);
    }
}

void MainControl::MakeBodyDiagError(QString& text)
{
    EnterProcedure here("frmMain:MakeBodyDiagError");
    const QString lightUnit = body_.Diag(0);
    const QString stageUnit = body_.Diag(1);
    appendBodyDiagLines(text, lightUnit, stageUnit);
}

void MainControl::captionIfHolding(bool holding, int textId)
{
    if (holding)
        status_.setCaption(GetRes(textId));
}

void MainControl::closeLink(bool holding)
{
    body_.setTimerEnable(DebugMode());
    body_.setPortOpen(false);
    setPhase(NotConnected);
    captionIfHolding(holding, msg::NoConnect);
}

void MainControl::forgetConnection()
{
    EnterProcedure here("frmMain:ForgetConnection");
    setTmrWarmUpEnabled(false);
    body_.setTimerEnable(false);
    body_.setPortOpen(false);
    setPhase(NotConnected);
}

qint32 MainControl::GetBodyStatus()
{
    EnterProcedure here("frmMain:GetBodyStatus");
    if (connectPhase_ == Ready)
        return Ready;
    // Never a second sequence inside a running action's wait.
    if (!action_.begin(RunningAction::Kind::Connection, nullptr, nullptr))
        return connectPhase_;
    const RunningAction::Ending ending(action_);
    if (!unusableSettings_.isEmpty()) {
        errorReporter().showMessage(ownText(OwnText::UnusableSettings) + QStringLiteral("\r\n")
                                        + unusableSettings_.join(QStringLiteral("\r\n")),
                                    GetRes(msg::SystemFileReadErrorTitle), MessageIcon::Exclamation,
                                    MessageButtons::Ok);
        unusableSettings_.clear();
    }

    bool holding = false;
    if (status_.Locked() == 0) {
        status_.setLocked(1);
        holding = true;
        // The red of a finished warm-up has said its piece once the sequence goes on.
        status_.setBarColor(NormalBarColour);
        status_.setCaption(GetRes(msg::CheckingConnection));
    } else if (status_.Locked() == 1) {
        holding = true;
    }

    ErrorTrap trap;
    trap.run([&] { runSequence(holding); });

    if (holding) {
        if (connectPhase_ == Ready)
            showRestingStatus();
        status_.setLocked(0);
        status_.Refresh();
    }
    trap.finish();
    return connectPhase_;
}

void MainControl::setUnusableSettings(const QStringList& notes)
{
    EnterProcedure here("modMain:GetSystemFile");
    for (const QString& note : notes) {
        const Tz4Error error(err::InvalidPropertyValue, note);
        WriteCautionLog(QString(), &error);
    }
    unusableSettings_ = notes;
}

QString MainControl::failureCause() const
{
    const QString lineCause = body_.lineFailureCause();
    if (!lineCause.isEmpty())
        return lineCause;
    const auto& failures = body_.commandFailures();
    if (failures.isEmpty())
        return {};
    const auto& first = failures.first();
    return describeCommandFailure(first.command, first.reply, first.number);
}

void MainControl::runSequence(bool holding)
{
    setPhase(NotConnected);
    body_.setCanceled(false);
    body_.clearCommandFailures();
    causeShown_ = false;
    body_.setTimerEnable(true);

    if (!body_.Connected()) {
        reportNoConnection(holding);
        return;
    }

    captionIfHolding(holding, msg::Initializing);
    DebugLogWrite(0, QStringLiteral("TZ-4 Connect Process Sequence (Body Initialize)"));
    body_.InitBody();
    DebugLogWrite(0, QStringLiteral("TZ-4 Connect Process Sequence Successfull (Body Initialize)"));
    setPhase(Initialized);

    if (body_.WarmUpTime() >= 1) {
        captionIfHolding(holding, msg::WarmingUp);
        // Misspelt on purpose: log readers and support scripts search for this exact text.
        DebugLogWrite(0, QStringLiteral("TZ-4 Connect Process Sequence (Now Worming Up Process)"));
        showCatalogMessage(msg::WarmUpWait, msg::WarmingUp, MessageIcon::Information, MessageButtons::Ok,
                           {formatNumber(body_.WarmUpTime() / 60.0, QStringLiteral("#0"))});
        setTmrWarmUpEnabled(true);
        setPhase(WarmingUp);
        return;
    }
    prepareLightAndAnode(holding);
}

void MainControl::reportNoConnection(bool holding)
{
    captionIfHolding(holding, msg::ConnectionFailed);
    // The catalogue names the step; the line below it names what the link actually saw.
    const QString cause = failureCause();
    const QString causeLine = cause.isEmpty() ? QString() : Crlf + QStringLiteral("Cause: ") + cause;
    const QString causeShown = cause.isEmpty() ? QString() : Crlf + ownText(OwnText::CauseLabel) + cause;
    causeShown_ = !cause.isEmpty();
    // Silence (no port, or no reply to any diagnosis command) is a connection problem; only
    // an instrument that answered with fault flags has failed its self-diagnosis.
    if (!body_.PortOpen() || !body_.Answered()) {
        // Misspelt on purpose: log readers and support scripts search for this exact text.
        DebugLogWrite(0, QStringLiteral("TZ-4 Connect Process Sequence (No Conenct)") + causeLine);
        errorReporter().showMessage(GetRes(msg::CannotCommunicate) + causeShown, GetRes(msg::ConnectionFailed),
                                    MessageIcon::Critical, MessageButtons::Ok);
    } else {
        QString text = QStringLiteral("TZ-4 Connect Process Sequence (Diag Error)") + Crlf;
        MakeBodyDiagError(text);
        DebugLogWrite(0, text + causeLine);
        // The operator sees which units failed, not only that something did.
        QStringList failed;
        for (const QString& line : text.split(Crlf))
            if (line.endsWith(QLatin1String("Error*****")))
                failed << line;
        const QString units = failed.isEmpty() ? QString() : Crlf + failed.join(Crlf);
        errorReporter().showMessage(GetRes(msg::SelfDiagnosisError) + units + causeShown, GetRes(msg::ConnectionFailed),
                                    MessageIcon::Critical, MessageButtons::Ok);
    }
    closeLink(holding);
}

// After the warm-up: the light adjuster's ranges when none is stored, then the anode voltage
// when it is not yet up.
void MainControl::prepareLightAndAnode(bool holding)
{
    bool spanSet = false;
    for (qint16 i = 1; i <= 4; ++i)
        spanSet = spanSet || body_.SetLightSpanRange(i) > 0;
    if (!spanSet) {
        captionIfHolding(holding, msg::InitializingLightAdjuster);
        DebugLogWrite(0, QStringLiteral("TZ-4 Connect Process Sequence (Light Area Setting Process)"));
        body_.MakeLightBase(5.9f);
        DebugLogWrite(0, QStringLiteral("TZ-4 Connect Process Sequence Successfull (Light Area Setting Process)"));
    }
    setPhase(LightReady);

    // 2500 V is where the ramp starts: a voltage never set.
    if (body_.HV_Volts() <= 2500) {
        setPhase(SettingAnode);
        captionIfHolding(holding, msg::UvAdjustmentForAnodeVoltage);
        DebugLogWrite(0, QStringLiteral("TZ-4 Connect Process Sequence (Hv Volt Set Before Light Adjust 50nW)"));
        body_.SetLightPower(50);
        DebugLogWrite(0, QStringLiteral("TZ-4 Connect Process Sequence Successfull(Light Power = ")
                             + shortestText(body_.LastLight()) + QLatin1Char(')'));
        captionIfHolding(holding, msg::SettingAnodeVoltage);
        DebugLogWrite(0, QStringLiteral("TZ-4 Connect Process Sequence (Hv Volt Set Process)"));
        body_.HvSet();
        DebugLogWrite(0, QStringLiteral("TZ-4 Connect Process Sequence Successfull(Hv Volt = ")
                             + QString::number(body_.HV_Volts()) + QLatin1Char(')'));
    }
    if (body_.HV_Volts() >= 2501) {
        setPhase(Ready);
        showCatalogMessage(msg::InitializeFinished, msg::ReadyTitle, MessageIcon::Information);
    } else {
        if (const QString cause = failureCause(); !cause.isEmpty())
            DebugLogWrite(0, QStringLiteral("TZ-4 Connect Process Sequence Cause: ") + cause);
        closeLink(holding);
    }
}

void MainControl::setTmrWarmUpEnabled(bool enabled)
{
    if (enabled && warmUpTimer_ == 0) {
        warmUpTimer_ = clock_.startTimer(1000, [this] { tmrWarmUp_Timer(); }, true);
    } else if (!enabled && warmUpTimer_ != 0) {
        clock_.stopTimer(warmUpTimer_);
        warmUpTimer_ = 0;
    }
}

void MainControl::tmrWarmUp_Timer()
{
    EnterProcedure here("frmMain:tmrWarmUp_Timer");
    if (connectPhase_ != WarmingUp)
        return;
    runLogged([this] {
        body_.Refresh();
        const qint16 left = body_.WarmUpTime();
        if (left <= 0) {
            status_.setBarColor(basicColour(4));
            // The bar says what the operator does next, not only the tool tip.
            if (status_.Locked() == 0) {
                status_.setValue(status_.Max());
                status_.setCaption(ownText(OwnText::WarmUpOver));
                status_.Refresh();
            }
            status_.setToolTipText(QString());
            coolBarToolTip_.clear();
            emit coolBarToolTipChanged(coolBarToolTip_);
            setTmrWarmUpEnabled(false);
            return;
        }
        if (status_.Locked() == 0) {
            status_.setMin(0);
            status_.setMax(FullWarmUpSeconds);
            status_.setValue(FullWarmUpSeconds - left);
            status_.Refresh();
            const QString tip = GetRes(msg::WarmUpMinutesLeft, {formatNumber(left / 60.0, QStringLiteral("#0"))});
            status_.setCaption(tip);
            status_.setToolTipText(tip);
            coolBarToolTip_ = tip;
            emit coolBarToolTipChanged(tip);
        }
    });
}

} // namespace tz4
