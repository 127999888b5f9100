#pragma once

#include "core/MeasurementParameters.h"

#include <QDateTime>
#include <QString>
#include <QVariant>

#include <array>
#include <utility>
#include <vector>

namespace tz4 {

class SqliteDatabase;

// One measurement record in memory: the settings of one Setting row, its data points, the
// values derived from them for the graph, the selection flags, the analysis results and the
// calibration data. The database named by DataBaseName is opened for each load or save and
// closed again; an empty name makes a demonstration record that never touches a database.
class clsTz4DataSet : public MeasurementParameters {
public:
    // Kind codes as stored in Setting.Modes; the key's letter names them.
    enum Kind { KindW = 0, KindC = 1, KindL = 2, KindD = 3, KindT = 4, KindNone = -1 };
    static int kindOfLetter(const QString& letter);
    static QString letterOfKind(int kind);

    clsTz4DataSet();

    // Identity.
    const QString& DataBaseName() const { return dataBaseName_; }
    void setDataBaseName(const QString& path) { dataBaseName_ = path; }
    const QString& Key() const { return key_; }
    void setKey(const QString& key);
    qint32 SeqNo() const;
    int Kind() const { return kind_; }
    const QString& ParentKey() const { return parentKey_; }
    void setParentKey(const QString& key) { parentKey_ = key; }
    qint32 Index() const { return index_; }
    void setIndex(qint32 index) { index_ = index; }
    const QVariant& SnapPicture() const { return snapPicture_; }
    void setSnapPicture(const QVariant& picture) { snapPicture_ = picture; }
    bool Loaded() const { return loaded_; }

    // Flags.
    bool GndDown() const { return gndDown_; }
    void setGndDown(bool on);
    bool ExpLog() const { return expLog_; }
    void setExpLog(bool on);
    bool AdjustFlag() const { return adjustFlag_; }
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
    bool AddDatas();
    bool UpDates();
    bool SaveSettingDatas(bool descriptiveOnly = false);
    bool SaveDataValues();

    // Points. DataCount set resizes the arrays (kept contents) and moves the cursor to the end.
    int DataCount() const { return dataCount_; }
    void setDataCount(int count);
    int DataIndex() const { return dataIndex_; }
    void setDataIndex(int index);
    void MoveFirst();
    void MoveLast();
    void MoveNext();
    bool Eof() const { return eof_; }
    void setEof(bool on) { eof_ = on; }
    bool Bof() const { return bof_; }
    void setBof(bool on) { bof_ = on; }

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
    float WorkFunction() const { return workFunction_; }
    float Gradient() const { return gradient_; }
    float Intercept() const { return intercept_; }
    float GroundLevel() const { return groundLevel_; }
    float Correlation() const { return correlation_; }
    // Standard uncertainty of the work function: the statistical part and the fit-range part
    // combined in quadrature; 0 when it cannot be estimated.
    double WorkFunctionUncertainty() const { return workFunctionUncertainty_; }
    // From the regression's scatter and, when the ground takes part, the ground level's standard error.
    double WorkFunctionUncertaintyStatistical() const { return workFunctionUncertaintyStatistical_; }
    // How far the work function moves when the fit range grows or shrinks by one point at either end.
    double WorkFunctionUncertaintyRange() const { return workFunctionUncertaintyRange_; }
    // One sentence when dropping each point's highest reading shifts the work function by more
    // than a quarter of its statistical uncertainty (kind W), with the setting that would avoid it; else empty.
    QString LowCountWarning() const;
    // The adjustment record's light intensity per 0.05 eV from 3.4 eV (kind W).
    const std::vector<float>& LightTable() const { return lightTable_; }

private:
    struct Rect {
        float x1 = 0, x2 = 0, y1 = 0, y2 = 0;
        bool contains(float x, float y) const;
    };

    void setDefaults();
    void fillDemonstration();
    void loadSettings(SqliteDatabase& db, qint32 seqNo);
    void loadPoints(SqliteDatabase& db);
    QString buildFolderPath(SqliteDatabase& db) const;
    void saveSettings(SqliteDatabase& db, bool descriptiveOnly);
    void saveValues(SqliteDatabase& db);
    int pointIndex(int index) const;
    qint32 parentFolder() const;
    void resizeArrays(int count);

    // Analysis, calibration and statistics.
    void FilterData();
    void calcBase();
    void fWork();
    void calcWorkFunction();
    void min2Exp();
    void calcUncertainty();
    void calcRangeUncertainty();
    float workFunctionOf(const std::vector<char>& fitFlags) const;
    void applyFitRect();
    void LoadAdjustDatas(SqliteDatabase& db);
    void SetThickDatas(SqliteDatabase& db);
    void LoadSubCalib(SqliteDatabase& db, qint32 lineSeqNo);
    void LoadAvrMinMax(SqliteDatabase& db);
    bool powered() const { return expLog_ && powerNumber_ > 0 && powerNumber_ < 2; }

    // Identity.
    QString dataBaseName_;
    QString key_;
    int kind_ = KindNone;
    QString parentKey_;
    qint32 index_ = 0;
    QVariant snapPicture_;
    bool loaded_ = false;
    QString loadFailure_;

    // Settings.
    QString folderPath_;
    QString sampleName_;
    QDateTime dataTime_;
    float startEnergy_ = 0, finishEnergy_ = 0, stepEnergy_ = 0, fixedEnergy_ = 0;
    float measLight_ = 0, setLight_ = 0, powerNumber_ = 0, unitLight_ = 0;
    qint32 adjustNo_ = 0;
    float backGndCps_ = 0;
    qint16 measTime_ = 0, volts_ = 0;
    float tau_ = 0, thick_ = 0, calibThick_ = 0;
    QString calibName_;
    qint16 measCount_ = 0;
    std::array<QString, 3> notes_;
    std::array<float, 3> graphX_{}, graphY_{};

    bool gndDown_ = false, expLog_ = false, adjustFlag_ = false;

    // Points.
    int dataCount_ = 0;
    int dataIndex_ = -1;
    bool eof_ = false, bof_ = false;
    std::vector<qint32> pointKeys_;
    std::vector<float> dataX_, dataY_, plotX_, plotY_;
    std::vector<char> gFlags_, fFlags_;
    std::vector<float> zValues_;
    std::vector<float> lightTable_;
    std::vector<std::pair<qint32, QString>> members_;

    Rect groundRect_, fitRect_;

    // Results.
    float groundLevel_ = 0, gradient_ = 0, intercept_ = 0, workFunction_ = 0, correlation_ = 0;
    double workFunctionUncertainty_ = 0;
    double workFunctionUncertaintyStatistical_ = 0;
    double workFunctionUncertaintyRange_ = 0;
    double groundStdError_ = 0; // of the ground points' mean, in yield units
    double groundLeftIn_ = 0;   // a ground mean below zero, which the level leaves in the data
    std::array<float, 3> rangeX_{}, rangeY_{};
    std::array<float, 12> statistics_{};
};

} // namespace tz4
