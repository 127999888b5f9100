#pragma once

#include "data/Tz4DataSets.h"
#include "graph/Tz4GraphDisp.h"
#include "graph/Tz4GraphDisps.h"

#include <QList>
#include <QObject>
#include <QPair>
#include <QRectF>
#include <QString>

#include <map>
#include <memory>
#include <optional>

namespace tz4 {

class MainControl;
class MeasurementControl;

// A data window without its widgets: the records it shows (one collection), one display set
// per mode among them, the selected record, the location a new record is stored in, the
// measurement control of a window opened on a new record, and the actions of the graph's
// popup. The window draws what this holds and repaints on its signals.
class DataWindowControl : public QObject {
    Q_OBJECT

public:
    // Indexes of the graph popup of a work-function record.
    enum PopUp1 { PopUpDataClear = 0, PopUpGround = 2, PopUpFit = 3, PopUpDifference = 4 };

    explicit DataWindowControl(const QString& databasePath, QObject* parent = nullptr);
    ~DataWindowControl() override;

    // Opens the records of a key list (keys followed by TABs, or one key): a key without a
    // stored number ("0 W") makes a new record of that kind. Returns the keys that name no
    // stored record; those are left out.
    QStringList SetStartUp(const QString& keyList);

    clsTz4DataSets& records() { return records_; }
    clsTz4GraphDisps& disps() { return disps_; }
    clsTz4DataSet* selected() const { return records_.SelectedItem(); }
    void select(const clsTz4DataSet* record);
    // The display set of the selected record's mode.
    clsTz4GraphDisp* currentDisp() const;
    const QString& databasePath() const { return databasePath_; }

    // True for a window opened on one new record: it measures.
    bool isMeasurementWindow() const { return measurementWindow_; }
    // While an action of this window runs on the instrument, its record's measurement
    // settings are read-only: the record must describe the points it receives.
    bool settingsLocked(const clsTz4DataSet* record) const;
    // The measurement window's record has been stored and the operator prepares the next
    // measurement: the record becomes a new one ("0 W") with the same settings and no points,
    // so the stored record keeps its settings and points.
    void renewMeasurementRecord();

    // Edits reach the database when they are made. A stored record's settings and analysis
    // ranges are stored in every window. Display settings and the graph's ranges are stored
    // by a window with one record, and only what changed; a window with several records keeps
    // them for itself and stores only a changed overlay level when it closes.
    void storeSettings(clsTz4DataSet& record);
    void storeAnalysis(clsTz4DataSet& record);
    void storeRanges(clsTz4DataSet& record);
    void storeDisplay(clsTz4GraphDisp& disp);
    bool showsSeveral() const { return records_.Count() > 1; }
    // Hands the new record to the instrument; only a measurement window has a control.
    MeasurementControl* attachInstrument(MainControl& main);
    MeasurementControl* measurement() const { return measurement_.get(); }

    // The folder a new record is stored in (0 the top level) and the folders to choose from,
    // as number and indented name, the top level first.
    std::optional<qint32> location() const { return location_; }
    void setLocation(std::optional<qint32> folder);
    const QList<QPair<qint32, QString>>& folderChoices();

    // The graph popup, on the selected record. The band comes from the display set when the
    // popup was opened from the graph, else from the X bounds of the table's selection.
    void setPopUpFromGraph(bool fromGraph) { popUpFromGraph_ = fromGraph; }
    void setTableSelection(float x1, float x2);
    void mnuPopUp1_Click(int index);
    // Sets the ground and fit ranges the data suggests on the selected work-function record;
    // returns why none could be suggested, else an empty text.
    QString SuggestRanges();

    // Sets the axes of the shown records to what their data spans, with steps a reader can
    // follow: the energy step, whole points, or a tenth of the Y span rounded to 1, 2 or 5.
    void FitScaleToData();

    // "Display : (n - name)" once a difference record is shown; else empty.
    const QString& displayCaption() const { return displayCaption_; }

    // The selected record is no longer stored: it cannot be saved any more.
    bool recordMissing(const clsTz4DataSet& record) const;
    // The window closes. Everything the user changed was stored as it was made; a window with
    // several records stores its changed overlay levels now. A one-record window whose record
    // was deleted meanwhile says so. False when that record is gone.
    bool Unload();

    // A live point arrived: the views follow, the grid throttled.
    void pointAppended();
    // A record, its ranges or its analysis changed: views refresh now.
    void changed();
    // A measurement action ended; a stored record is read back with what the database
    // derives from it (its statistics).
    void afterMeasurement();

signals:
    void recordsChanged();
    void analysisChanged();
    void pointAdded(int row);
    void selectionChanged();
    void captionChanged(const QString& caption);

private:
    void writeBack(clsTz4DataSet& record);
    void applyRange(int firstParameter);
    void recordRenewed();

    QString databasePath_;
    clsTz4DataSets records_;
    clsTz4GraphDisps disps_;
    // Each display set as it was loaded or last stored: what a store compares against, so
    // that it writes only what this window changed.
    std::map<QString, clsTz4GraphDisp> dispsStored_;
    std::unique_ptr<MeasurementControl> measurement_;
    bool measurementWindow_ = false;
    std::optional<qint32> location_;
    QList<QPair<qint32, QString>> folders_;
    bool foldersRead_ = false;
    bool popUpFromGraph_ = true;
    float tableX1_ = 0, tableX2_ = 0;
    QString displayCaption_;
};

} // namespace tz4
