#pragma once

#include "core/MessageIds.h"
#include "data/RecordSaving.h"
#include "mainwin/MeasurementOwner.h"

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

    // Menu actions. Each returns false when it was refused or answered No.
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
    // The menu for the current state: while an action runs only the Measurement item is
    // available, as the cancel of a running measurement.
    QList<MenuItem> MeasMenuEnabled() const;

    bool measuring() const { return measuring_; }
    bool cancelPending() const { return cancelPending_; }
    // Catalogue id of the Measurement item's caption: it offers the cancel while one runs.
    int measurementCaptionId() const { return measuring_ ? msg::MenuMeasureCancel : msg::MenuMeasure; }

    // Called for every new point; the window redraws its table and graph here.
    void setDisplayRefresh(std::function<void()> refresh) { displayRefresh_ = std::move(refresh); }
    void RefreshDisplay() override;
    void MeasProcCanceled() override;

private:
    bool doorOpen();
    bool checkAnode();
    bool takeStatus();
    void releaseStatus(bool taken);
    // One menu action with the status bar held and its errors reported; true when it completed.
    bool runAction(const std::function<bool()>& action);
    void statusCaption(int textId);
    // Writes every failed command of the procedure to Caution.log; their lines for the save
    // question, empty when none failed.
    QString reportCommandFailures();
    void reportLinkLost();

    MainControl& main_;
    uclTz4Body& body_;
    clsTz4DataSet& record_;
    std::optional<qint32> location_;
    QString exchangeDirectory_;
    RecordStoreResult lastStore_;
    bool defaultsMade_ = false;
    bool cancelPending_ = false;
    bool measuring_ = false;
    bool busy_ = false;
    std::function<void()> displayRefresh_;
};

} // namespace tz4
