#include "datawin/MeasurementControl.h"
#include "core/CautionLog.h"
#include "core/ErrorLocation.h"
#include "core/ErrorReporter.h"
#include "core/ErrorTrap.h"
#include "core/Formats.h"
#include "core/Keys.h"
#include "core/MessageCatalog.h"
#include "core/MessageIds.h"
#include "core/OwnTexts.h"
#include "core/RecordParameters.h"
#include "core/Tz4Error.h"
#include "data/DatabaseWait.h"
#include "data/Tz4DataSet.h"
#include "instrument/ErrorTexts.h"
#include "instrument/Tz4Body.h"
#include "mainwin/MainControl.h"
#include "mainwin/StatusBar.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace tz4 {

namespace {

const QString WindowName = QStringLiteral("frmData");
const QString MenuLabel = QStringLiteral("frmData:mnuMeas_Click");

bool confirmed(int textId, int titleId, const QVariantList& arguments = {})
{
    return showCatalogMessage(textId, titleId, MessageIcon::Question, MessageButtons::YesNo, arguments)
        == MessageAnswer::Yes;
}

} // namespace

MeasurementControl::MeasurementControl(MainControl& main, clsTz4DataSet& record, QObject* parent)
    : MeasurementOwner(parent), main_(main), body_(main.body()), record_(record)
{
    body_.setSetDatas(&record_);
    body_.setLocked(this);
}

MeasurementControl::~MeasurementControl()
{
    if (body_.SetDatas() == &record_)
        body_.setSetDatas(nullptr);
    if (body_.Locked() == this)
        body_.setLocked(nullptr);
}

bool MeasurementControl::running() const { return main_.action().ownedBy(this); }

bool MeasurementControl::measuring() const
{
    return running() && main_.action().kind() == RunningAction::Kind::Measurement;
}

bool MeasurementControl::cancelPending() const { return running() && main_.action().cancelRequested(); }

void MeasurementControl::RefreshDisplay()
{
    if (displayRefresh_)
        displayRefresh_();
}

// Nothing left to do: the pending cancel and the menu's caption belong to the running action,
// which has ended by the time its window looks again.
void MeasurementControl::MeasProcCanceled() {}

QList<MeasurementControl::MenuItem> MeasurementControl::MeasMenuEnabled() const
{
    // One instrument: while anything runs on it, no window starts another action.
    const bool idle = !main_.action().running();
    return {{MeasSampleStage, msg::MenuSampleStage, idle},
            {MeasMeasure, measurementCaptionId(), idle || measuring()},
            {MeasUvAdjustment, msg::MenuUvAdjustment, idle},
            {MeasAnodeVoltage, msg::MenuAnodeVoltage, idle},
            {MeasCalibration, msg::MenuCalibration, idle},
            {MeasInitLightAdjuster, msg::MenuInitLightAdjuster, idle}};
}

bool MeasurementControl::takeStatus()
{
    StatusBar& status = main_.status();
    if (status.Locked() != 0)
        return false;
    status.setLocked(1);
    status.setCaption(GetRes(msg::MeasurementTitle));
    return true;
}

void MeasurementControl::releaseStatus(bool taken)
{
    if (!taken)
        return;
    main_.showRestingStatus();
    main_.status().setLocked(0);
    main_.status().Refresh();
}

void MeasurementControl::statusCaption(int textId)
{
    if (main_.status().Locked() == 1)
        main_.status().setCaption(GetRes(textId));
}

// An action on an instrument that was never connected (or was lost) says so instead of
// sending commands into a closed port.
bool MeasurementControl::connected()
{
    if (body_.PortOpen())
        return true;
    errorReporter().showMessage(ownText(OwnText::NotConnected), GetRes(msg::NoConnect), MessageIcon::Information,
                                MessageButtons::Ok);
    return false;
}

// An open door stops an action before any instrument command.
bool MeasurementControl::doorOpen()
{
    if (!body_.Door())
        return false;
    showCatalogMessage(msg::DoorOpen, msg::MeasurementTitle, MessageIcon::Information);
    return true;
}

bool MeasurementControl::runAction(RunningAction::Kind kind, const std::function<bool()>& action)
{
    EnterProcedure here("frmData:mnuMeas_Click");
    RunningAction& running = main_.action();
    if (!running.begin(kind, this, &record_))
        return false;
    const RunningAction::Ending ending(running);
    const bool taken = takeStatus();
    bool done = false;
    runReported(WindowName, MenuLabel, [&] { done = connected() && action(); });
    releaseStatus(taken);
    return done;
}

bool MeasurementControl::MoveSample()
{
    return runAction(RunningAction::Kind::SampleStage, [&] {
        if (!confirmed(msg::MoveSampleStage, msg::MoveStageTitle))
            return false;
        body_.setCanceled(false);
        body_.StageToSampleOut();
        showCatalogMessage(msg::ReturnSampleStage, msg::MoveStageTitle, MessageIcon::Information);
        if (doorOpen())
            return false;
        body_.StageToSample(0);
        return true;
    });
}

MeasurementControl::Outcome MeasurementControl::Measure()
{
    EnterProcedure here("frmData:mnuMeas_Click");
    if (measuring()) {
        CancelMeasurement();
        return Outcome::Cancelled;
    }
    Outcome outcome = Outcome::Refused;
    lastStore_ = {};
    runAction(RunningAction::Kind::Measurement, [&] {
        if (!CheckMeasStart() || doorOpen())
            return false;
        // A record already stored is measured again as a new one: the stored record keeps
        // what it holds.
        RenewRecord();
        // From here on a failure that escapes is reported and counts as failed.
        outcome = Outcome::Failed;
        body_.setCanceled(false);
        record_.setParameters(param::MeasurementDate, QDateTime::currentDateTime());
        record_.setDataCount(0);
        RefreshDisplay();

        switch (record_.Kind()) {
        case clsTz4DataSet::KindW: body_.MeasWork(); break;
        case clsTz4DataSet::KindC:
        case clsTz4DataSet::KindD: body_.MeasCps(); break;
        case clsTz4DataSet::KindL: body_.MeasAdjLight(); break;
        default: break;
        }

        if (body_.LinkLost()) {
            reportLinkLost();
            outcome = Outcome::LinkLost;
            return true;
        }
        const QString failures = reportCommandFailures();
        outcome = Outcome::Cancelled;
        if (body_.Canceled())
            return true;
        outcome = Outcome::NotSaved;
        // Data measured while the instrument refused commands may be wrong: the operator
        // decides with the refusals in front of him.
        const QString question = failures + GetRes(msg::SaveThisData);
        if (errorReporter().showMessage(question, GetRes(msg::FinishedTitle), MessageIcon::Question,
                                        MessageButtons::YesNo)
            == MessageAnswer::Yes) {
            record_.setParameters(param::FolderNumber, location_.value_or(0));
            lastStore_ = storeRecordOrWriteExchange(record_, exchangeDirectory_);
            switch (lastStore_.kind) {
            case RecordStoreResult::Kind::Stored:
                outcome = failures.isEmpty() ? Outcome::Saved : Outcome::SavedWithErrors;
                break;
            case RecordStoreResult::Kind::WrittenToExchangeFile: outcome = Outcome::WrittenToExchangeFile; break;
            case RecordStoreResult::Kind::NotStored:
                outcome = exchangeDirectory_.isEmpty() ? storeAgainOrWriteFile(failures.isEmpty()) : Outcome::NotStored;
                break;
            }
        }
        return true;
    });
    return outcome;
}

// The operator decides between another try and an exchange file beside the database, as
// often as the database refuses; a stop signal answers No, so the record always lands.
MeasurementControl::Outcome MeasurementControl::storeAgainOrWriteFile(bool clean)
{
    const QString directory = QFileInfo(record_.DataBaseName()).absolutePath();
    for (;;) {
        const MessageAnswer answer = errorReporter().showMessage(
            ownText(OwnText::StoreAgain, {lastStore_.reason, QDir::toNativeSeparators(directory)}),
            GetRes(msg::FinishedTitle), MessageIcon::Exclamation, MessageButtons::YesNo);
        if (answer == MessageAnswer::Yes) {
            lastStore_ = storeRecordOrWriteExchange(record_, {});
            if (lastStore_.kind == RecordStoreResult::Kind::Stored)
                return clean ? Outcome::Saved : Outcome::SavedWithErrors;
            continue;
        }
        const DatabaseWait::StopDeferred finishing;
        try {
            QString note;
            lastStore_.exchangeFile = record_.WriteExchangeFile(directory, &note);
            lastStore_.kind = RecordStoreResult::Kind::WrittenToExchangeFile;
            lastStore_.note = note;
            const QString where = QDir::toNativeSeparators(lastStore_.exchangeFile);
            WriteCautionLog(ownText(OwnText::WrittenToFile, Language::English, {lastStore_.reason, where}));
            QString told = ownText(OwnText::WrittenToFile, {lastStore_.reason, where});
            if (!note.isEmpty())
                told += QStringLiteral("\n") + note;
            errorReporter().showMessage(told, GetRes(msg::FinishedTitle), MessageIcon::Information, MessageButtons::Ok);
            return Outcome::WrittenToExchangeFile;
        } catch (const Tz4Error& error) {
            lastStore_.reason += QStringLiteral("; ") + error.description();
        }
    }
}

void MeasurementControl::RenewRecord()
{
    if (record_.SeqNo() < 1)
        return;
    record_.setKey(makeKey(0, clsTz4DataSet::letterOfKind(record_.Kind())));
    record_.setDataCount(0);
    record_.Refresh();
    if (renewed_)
        renewed_();
}

void MeasurementControl::CancelMeasurement()
{
    if (!measuring())
        return;
    if (main_.action().requestCancel())
        statusCaption(msg::AbortProcess);
}

bool MeasurementControl::AdjustUvIntensity()
{
    return runAction(RunningAction::Kind::UvAdjustment, [&] {
        if (doorOpen())
            return false;
        const float target = record_.Parameters(param::TargetLight).toFloat();
        if (!confirmed(msg::SetUvIntensityAt, msg::UvIntensityAdjustmentTitle, {shortestText(target)}))
            return false;
        // The intensity reached is a setting of the next measurement, not of a stored one.
        RenewRecord();
        body_.setCanceled(false);
        statusCaption(msg::UvIntensityAdjustmentTitle);
        // The photodiode is calibrated at the energy the record will be measured at.
        switch (record_.Kind()) {
        case clsTz4DataSet::KindW:
        case clsTz4DataSet::KindL: body_.setEnergen(5.9f); break;
        case clsTz4DataSet::KindC:
        case clsTz4DataSet::KindD: body_.setEnergen(record_.Parameters(param::FixedEnergy).toFloat()); break;
        default: break;
        }
        body_.WaitIdle();
        body_.SetLightPower(target);
        if (body_.Canceled())
            return false;
        // An adjustment that missed its target has said so and left 0 as the record's
        // intensity; it is not "done".
        if (record_.Parameters(param::MeasuredLight).toFloat() <= 0 || body_.LinkLost())
            return false;
        record_.setParameters(param::MeasuredLight, body_.LastLight());
        if (record_.Kind() == clsTz4DataSet::KindL) {
            record_.setGraphY(1, 10 * target);
            record_.setGraphY(2, target);
        }
        RefreshDisplay();
        showCatalogMessage(msg::UvAdjustmentDone, msg::UvIntensityAdjustmentTitle, MessageIcon::Information);
        return true;
    });
}

bool MeasurementControl::SetAnodeVoltage()
{
    return runAction(RunningAction::Kind::AnodeVoltage, [&] {
        if (doorOpen() || !confirmed(msg::SetAnodeVoltageOk, msg::AnodeVoltageSetTitle))
            return false;
        RenewRecord();
        body_.setCanceled(false);
        statusCaption(msg::SettingAnodeVolts);
        body_.HvSet();
        if (body_.Canceled())
            return false;
        record_.setParameters(param::AnodeVoltage, body_.HV_Volts());
        return true;
    });
}

bool MeasurementControl::Calibrate()
{
    return runAction(RunningAction::Kind::Calibration, [&] {
        if (doorOpen())
            return false;
        if (record_.Parameters(param::Gradient).toFloat() == 0) {
            showCatalogMessage(msg::CalibrationNotSet, msg::CalibrationMeasureTitle, MessageIcon::Information);
            return false;
        }
        if (!confirmed(msg::CalibrationReady, msg::CalibrationMeasureTitle))
            return false;
        RenewRecord();
        body_.setCanceled(false);
        statusCaption(msg::MeasuringCalibration);
        body_.setEnergen(record_.Parameters(param::FixedEnergy).toFloat());
        body_.MeasThickAdjust();
        return !body_.Canceled();
    });
}

bool MeasurementControl::InitLightAdjuster()
{
    return runAction(RunningAction::Kind::LightAdjuster, [&] {
        constexpr float Energy = 5.9f;
        if (doorOpen() || !confirmed(msg::InitLightAdjusterAt, msg::InitLightAdjusterTitle, {shortestText(Energy)}))
            return false;
        body_.setCanceled(false);
        statusCaption(msg::InitLightAdjusterTitle);
        body_.MakeLightBase(Energy);
        if (body_.Canceled())
            return false;
        showCatalogMessage(msg::InitializeFinished, msg::ReadyTitle, MessageIcon::Information);
        return true;
    });
}

} // namespace tz4
