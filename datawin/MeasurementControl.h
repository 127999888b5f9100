#pragma once

#include "core/MessageIds.h"
#include "data/RecordSaving.h"
#include "mainwin/MeasurementOwner.h"
#include "mainwin/RunningAction.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace tz4 {

class MainControl;
class clsTz4DataSet;
class uclTz4Body;

// The measurement menu of a data window without its widgets: the checks before a start, the
// defaults of a new record, and the actions (stage, measurement, UV intensity, anode voltage,
// calibration, light adjuster, cancel). It hands its record to the instrument and registers
// itself as the owner of the procedures' events for as long as it lives.
class MeasurementControl : public MeasurementOwner {
    Q_OBJECT

public:
    // LinkLost: the instrument stopped answering (nothing stored). SavedWithErrors: stored
    // after the operator saw the commands the instrument refused. WrittenToExchangeFile: the
    // database did not take the record, which went into the exchange file lastStore() names.
    // NotStored: the database did not take it and no exchange folder is set; the record is
    // kept, for storeRecordOrWriteExchange to try again or to write the file.
    enum class Outcome {
        Refused,
        Cancelled,
        NotSaved,
        Saved,
        SavedWithErrors,
        Failed,
        LinkLost,
        WrittenToExchangeFile,
        NotStored
    };

    MeasurementControl(MainControl& main, clsTz4DataSet& record, QObject* parent = nullptr);
    ~MeasurementControl() override;

    clsTz4DataSet& record() { return record_; }

    // Where a measurement the database does not take is written as an exchange file; none by
    // default (the record then stays in the window, not stored).
    void setExchangeDirectory(const QString& directory) { exchangeDirectory_ = directory; }
    // Where the last saved measurement went, with what the user should be told about it.
    const RecordStoreResult& lastStore() const { return lastStore_; }

    // The folder the record will be stored in (0 the top level); nothing when none is chosen.
    void setLocation(std::optional<qint32> folder) { location_ = folder; }
    std::optional<qint32> location() const { return location_; }

    // Whether the record may be measured now; shows the reason when not.
    bool CheckMeasStart();
    // Defaults of a new record, once per window.
    void MakeMeasDefault(const QString& key);

    // Menu actions. Each returns false when it was refused or answered No. Every action first
    // attaches this window's record to the instrument and makes the window the owner of the
    // procedure's events, so a second measurement window can never take them.
    bool MoveSample();
    Outcome Measure();
    bool AdjustUvIntensity();
    bool SetAnodeVoltage();
    bool Calibrate();
    bool InitLightAdjuster();
    // Choosing Measurement again while one runs: cancels it once.
    void CancelMeasurement();

    // The measurement menu's items by index; separators stand at the indexes left free.
    enum MeasMenuIndex {
        MeasSampleStage = 0,
        MeasMeasure = 2,
        MeasUvAdjustment = 4,
        MeasAnodeVoltage = 5,
        MeasCalibration = 6,
        MeasInitLightAdjuster = 8
    };
    // One entry of the measurement menu by its index.
    struct MenuItem {
        int index;
        int captionId;
        bool enabled;
    };
    // The menu for the current state: while any action runs on the instrument only this
    // window's own measurement stays available, as its cancel.
    QList<MenuItem> MeasMenuEnabled() const;

    // This window's action is running on the instrument.
    bool running() const;
    bool measuring() const;
    bool cancelPending() const;
    // Catalogue id of the Measurement item's caption: it offers the cancel while one runs.
    int measurementCaptionId() const { return measuring() ? msg::MenuMeasureCancel : msg::MenuMeasure; }

    // Called for every new point; the window redraws its table and graph here.
    void setDisplayRefresh(std::function<void()> refresh) { displayRefresh_ = std::move(refresh); }
    // Once the record is stored, what the operator prepares next is a new measurement: the
    // record becomes a new one ("0 W") with the same settings and no points, so the stored
    // record keeps its settings and points. Nothing happens to a record not yet stored.
    void RenewRecord();
    // Called after RenewRecord changed the record, for the window to show it under its new key.
    void setRenewed(std::function<void()> renewed) { renewed_ = std::move(renewed); }
    void RefreshDisplay() override;
    void MeasProcCanceled() override;

private:
    bool doorOpen();
    bool checkAnode();
    // Whether the instrument can be reached at all; says so when it cannot.
    bool connected();
    bool takeStatus();
    void releaseStatus(bool taken);
    // One menu action as the instrument's running action, with the status bar held and its
    // errors reported; true when it completed.
    bool runAction(RunningAction::Kind kind, const std::function<bool()>& action);
    void statusCaption(int textId);
    // Writes every failed command of the procedure to Caution.log; their lines for the save
    // question, empty when none failed.
    QString reportCommandFailures();
    void reportLinkLost();
    Outcome storeAgainOrWriteFile(bool clean);

    MainControl& main_;
    uclTz4Body& body_;
    clsTz4DataSet& record_;
    std::optional<qint32> location_;
    QString exchangeDirectory_;
    RecordStoreResult lastStore_;
    bool defaultsMade_ = false;
    // What the status bar showed before an action took it, given back when the action ends.
    QString restingCaption_;
    float restingMin_ = 0, restingMax_ = 0, restingValue_ = 0;
    std::function<void()> displayRefresh_;
    std::function<void()> renewed_;
};

} // namespace tz4
