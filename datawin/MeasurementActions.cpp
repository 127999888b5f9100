#include "datawin/MeasurementControl.h"
#include "core/CautionLog.h"
#include "core/ErrorLocation.h"
#include "core/ErrorReporter.h"
#include "core/ErrorTrap.h"
#include "core/Formats.h"
#include "core/MessageCatalog.h"
#include "core/MessageIds.h"
#include "core/RecordParameters.h"
#include "data/Tz4DataSet.h"
#include "instrument/ErrorTexts.h"
#include "instrument/Tz4Body.h"
#include "mainwin/MainControl.h"
#include "mainwin/StatusBar.h"

#include <QDateTime>

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

void MeasurementControl::RefreshDisplay()
{
    if (displayRefresh_)
        displayRefresh_();
}

void MeasurementControl::MeasProcCanceled()
{
    measuring_ = false;
    cancelPending_ = false;
}

QList<MeasurementControl::MenuItem> MeasurementControl::MeasMenuEnabled() const
{
    const bool idle = !busy_;
    return {{MeasSampleStage, msg::MenuSampleStage, idle},
            {MeasMeasure, measurementCaptionId(), idle || measuring_},
            {MeasUvAdjustment, msg::MenuUvAdjustment, idle},
            {MeasAnodeVoltage, msg::MenuAnodeVoltage, idle},
            {MeasCalibration, msg::MenuCalibration, idle},
            {MeasInitLightAdjuster, msg::MenuInitLightAdjuster, idle}};
}

bool MeasurementControl::takeStatus()
{
    busy_ = true;
    StatusBar& status = main_.status();
    if (status.Locked() != 0)
        return false;
    status.setLocked(1);
    status.setCaption(GetRes(msg::MeasurementTitle));
    return true;
}

void MeasurementControl::releaseStatus(bool taken)
{
    busy_ = false;
    if (!taken)
        return;
    main_.status().setLocked(0);
    main_.status().Refresh();
}

void MeasurementControl::statusCaption(int textId)
{
    if (main_.status().Locked() == 1)
        main_.status().setCaption(GetRes(textId));
}

// An open door stops an action before any instrument command.
bool MeasurementControl::doorOpen()
{
    if (!body_.Door())
        return false;
    showCatalogMessage(msg::DoorOpen, msg::MeasurementTitle, MessageIcon::Information);
    return true;
}

bool MeasurementControl::runAction(const std::function<bool()>& action)
{
    EnterProcedure here("frmData:mnuMeas_Click");
    const bool taken = takeStatus();
    bool done = false;
    runReported(WindowName, MenuLabel, [&] { done = action(); });
    releaseStatus(taken);
    return done;
}

bool MeasurementControl::MoveSample()
{
    return runAction([&] {
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
    if (measuring_) {
        CancelMeasurement();
        return Outcome::Cancelled;
    }
    const bool taken = takeStatus();
    Outcome outcome = Outcome::Refused;
    lastStore_ = {};
    const bool ok = runReported(WindowName, MenuLabel, [&] {
        if (!CheckMeasStart() || doorOpen())
            return;
        body_.setCanceled(false);
        record_.setParameters(param::MeasurementDate, QDateTime::currentDateTime());
        measuring_ = true;
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
            return;
        }
        const QString failures = reportCommandFailures();
        outcome = Outcome::Cancelled;
        if (!body_.Canceled()) {
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
                case RecordStoreResult::Kind::NotStored: outcome = Outcome::NotStored; break;
                }
            }
        }
    });
    measuring_ = false;
    cancelPending_ = false;
    releaseStatus(taken);
    return ok ? outcome : Outcome::Failed;
}

void MeasurementControl::CancelMeasurement()
{
    if (!measuring_ || cancelPending_)
        return;
    cancelPending_ = true;
    body_.setCanceled(true);
    statusCaption(msg::AbortProcess);
}

bool MeasurementControl::AdjustUvIntensity()
{
    return runAction([&] {
        if (doorOpen())
            return false;
        const float target = record_.Parameters(param::TargetLight).toFloat();
        if (!confirmed(msg::SetUvIntensityAt, msg::UvIntensityAdjustmentTitle, {shortestText(target)}))
            return false;
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
    return runAction([&] {
        if (doorOpen() || !confirmed(msg::SetAnodeVoltageOk, msg::AnodeVoltageSetTitle))
            return false;
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
    return runAction([&] {
        if (doorOpen())
            return false;
        if (record_.Parameters(param::Gradient).toFloat() == 0) {
            showCatalogMessage(msg::CalibrationNotSet, msg::CalibrationMeasureTitle, MessageIcon::Information);
            return false;
        }
        if (!confirmed(msg::CalibrationReady, msg::CalibrationMeasureTitle))
            return false;
        body_.setCanceled(false);
        statusCaption(msg::MeasuringCalibration);
        body_.setEnergen(record_.Parameters(param::FixedEnergy).toFloat());
        body_.MeasThickAdjust();
        return !body_.Canceled();
    });
}

bool MeasurementControl::InitLightAdjuster()
{
    return runAction([&] {
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
