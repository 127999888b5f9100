#pragma once

#include "core/MeasurementParameters.h"
#include "data/RecordAnalysis.h"
#include "data/RecordCalibration.h"
#include "data/RecordKind.h"
#include "data/RecordPoints.h"
#include "data/RecordRows.h"
#include "data/RecordSettings.h"

#include <QDateTime>
#include <QString>
#include <QVariant>

#include <vector>

namespace tz4 {

// One measurement record in memory, as the windows and the other subsystems know it: a face over
// its settings, its points, its rows in the database, its analysis and its calibration. The
// database named by DataBaseName is opened for each load or save and closed again; an empty name
// makes a demonstration record that never touches a database.
class clsTz4DataSet : public MeasurementParameters, public RecordKinds {
public:
    static int kindOfLetter(const QString& letter);
    static QString letterOfKind(int kind);

    clsTz4DataSet();

    // Identity.
    const QString& DataBaseName() const { return rows_.dataBaseName(); }
    void setDataBaseName(const QString& path) { rows_.setDataBaseName(path); }
    const QString& Key() const { return key_; }
    void setKey(const QString& key);
    qint32 SeqNo() const;
    int Kind() const { return kind_; }
    const QString& ParentKey() const { return settings_.parentKey; }
    void setParentKey(const QString& key) { settings_.parentKey = key; }
    qint32 Index() const { return index_; }
    void setIndex(qint32 index) { index_ = index; }
    const QVariant& SnapPicture() const { return snapPicture_; }
    void setSnapPicture(const QVariant& picture) { snapPicture_ = picture; }
    bool Loaded() const { return loaded_; }

    // Flags.
    bool GndDown() const { return settings_.gndDown; }
    void setGndDown(bool on);
    bool ExpLog() const { return settings_.expLog; }
    void setExpLog(bool on);
    bool AdjustFlag() const { return settings_.adjustFlag; }
    void setAdjustFlag(bool on);

    // Settings and results by number; an invalid QVariant for numbers the record does not answer.
    QVariant Parameters(int number) const;
    void setParameters(int number, const QVariant& value);
    QVariant parameter(int number) const override { return Parameters(number); }
    void setParameter(int number, const QVariant& value) override { setParameters(number, value); }

    // Database work.
    void ReLoad();
    // Why the last ReLoad could not read the record whole (a table or column gone, a damaged
    // file); empty when it could. The reload itself goes on past such a failure.
    const QString& LoadFailure() const { return loadFailure_; }
    // Stores a new record with its points. The folder is checked in the storing transaction:
    // one deleted meanwhile (or lying in the trash) leaves the record at the top level, and
    // StoreNote says so.
    bool AddDatas();
    // Why the last AddDatas stored nothing; empty when it stored the record.
    const QString& StoreFailure() const { return storeFailure_; }
    // What the user should know about where the last AddDatas put the record; empty normally.
    const QString& StoreNote() const { return storeNote_; }
    // Writes this new record, with the record that corrects it, into a new exchange file in
    // `directory` for a later import, when the database cannot take it; returns the file's path.
    // Leaves nothing behind on failure (Tz4Error). `note` gets what the file lacks, if anything.
    QString WriteExchangeFile(const QString& directory, QString* note = nullptr) const;
    bool UpDates();
    // How WriteChanges ended.
    enum class WriteBack {
        Written,          // the changes are stored
        NothingChanged,   // nothing differed from what was read; nothing was written
        ChangedElsewhere, // another window or program changed a value this record changed too; nothing was written
        Deleted,          // the record is gone from the database; nothing was written
        Failed,           // the database could not be written (logged to Caution.log)
    };
    // Writes back only what changed in memory since the record was read (or last written), and
    // only while the stored row still holds, in each of those values, what was read: a rename,
    // attach or move made meanwhile by a command or another window is never reverted. After
    // Written the record counts as read again. `detail` names the values changed elsewhere, or
    // the failure.
    WriteBack WriteChanges(QString* detail = nullptr);
    bool SaveSettingDatas(bool descriptiveOnly = false);
    bool SaveDataValues();

    // Points. DataCount set resizes the arrays (kept contents) and moves the cursor to the end.
    int DataCount() const { return points_.count(); }
    void setDataCount(int count) { points_.setCount(count, withZ()); }
    int DataIndex() const { return points_.cursor(); }
    void setDataIndex(int index) { points_.setCursor(index); }
    void MoveFirst() { points_.moveFirst(); }
    void MoveLast() { points_.moveLast(); }
    void MoveNext() { points_.moveNext(); }
    bool Eof() const { return points_.eof; }
    void setEof(bool on) { points_.eof = on; }
    bool Bof() const { return points_.bof; }
    void setBof(bool on) { points_.bof = on; }

    // Point values; a missing, negative or too large index means the current point.
    float ValueX(int index = -1) const;
    void setValueX(float value, int index = -1);
    float ValueY(int index = -1) const;
    void setValueY(float value, int index = -1);
    float OrgValueX(int index = -1) const;
    void setOrgValueX(float value, int index = -1);
    float OrgValueY(int index = -1) const;
    void setOrgValueY(float value, int index = -1);
    float ValueZ(int index = -1) const;
    void setValueZ(float value, int index = -1);
    bool ValueF(int index = -1) const;
    void setValueF(bool value, int index = -1);
    bool ValueG(int index = -1) const;
    void setValueG(bool value, int index = -1);
    qint32 PointKey(int index = -1) const;

    // Type 0 minimum, 1 maximum, 2 step: of the graph values (DataX/Y) or the stored range (GraphX/Y).
    float DataX(int type) const;
    void setDataX(int type, float value);
    float DataY(int type) const;
    void setDataY(int type, float value);
    float GraphX(int type) const;
    void setGraphX(int type, float value);
    float GraphY(int type) const;
    void setGraphY(int type, float value);

    // Members of a calibration line, numbered from 0; empty outside the list.
    QString CalibDatasName(int member) const;
    QString CalibDatasSeqNo(int member) const;

    // Analysis.
    void Refresh();
    void RefreshGFlag();
    void AddGFlag();
    void DelGFlag();
    bool CreateWfSubtruct();
    float WorkFunction() const { return analysis_.workFunction(); }
    float Gradient() const { return analysis_.gradient(); }
    float Intercept() const { return analysis_.intercept(); }
    float GroundLevel() const { return analysis_.groundLevel(); }
    float Correlation() const { return analysis_.correlation(); }
    // Standard uncertainty of the work function: the statistical part and the fit-range part
    // combined in quadrature; 0 when it cannot be estimated.
    double WorkFunctionUncertainty() const { return analysis_.uncertainty(); }
    // From the regression's scatter and, when the ground takes part, the ground level's standard error.
    double WorkFunctionUncertaintyStatistical() const { return analysis_.uncertaintyStatistical(); }
    // How far the work function moves when the fit range grows or shrinks by one point at either end.
    double WorkFunctionUncertaintyRange() const { return analysis_.uncertaintyRange(); }
    // One sentence when dropping each point's highest reading shifts the work function by more
    // than a quarter of its statistical uncertainty (kind W), with the setting that would avoid it; else empty.
    QString LowCountWarning() const;
    // The adjustment record's light intensity per 0.05 eV from 3.4 eV (kind W).
    const std::vector<float>& LightTable() const { return calibration_.lightTable(); }

private:
    void fillDemonstration();
    bool withZ() const { return kind_ == KindC || kind_ == KindD; }

    QString key_;
    int kind_ = KindNone;
    qint32 index_ = 0;
    QVariant snapPicture_;
    bool loaded_ = false;
    QString loadFailure_;
    QString storeFailure_;
    QString storeNote_;

    // Marks what is in memory as what the database holds.
    void rememberStored();

    RecordSettings settings_;
    RecordPoints points_;
    // The record as last read from or written to the database: what WriteChanges compares with.
    RecordSettings storedSettings_;
    RecordPoints storedPoints_;
    RecordRows rows_;
    RecordAnalysis analysis_;
    RecordCalibration calibration_;
};

} // namespace tz4
