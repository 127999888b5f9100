#pragma once

#include "data/RecordCalibration.h"
#include "data/RecordKind.h"
#include "data/RecordPoints.h"
#include "data/RecordSettings.h"

#include <QString>
#include <QStringList>

#include <array>
#include <memory>

namespace tz4 {

class SqliteDatabase;

// One record's rows in the database: its Setting row, its Datas rows and the rows it draws on
// (the adjustment record, the calibration line's members, the folders above it). Every
// statement a record runs is here; each takes an open database, so that the caller decides
// which steps share it and which fail alone.
class RecordRows : public RecordKinds {
public:
    // The database file, opened for each load or save and closed again; no name makes a
    // demonstration record that never touches a database.
    const QString& dataBaseName() const { return dataBaseName_; }
    void setDataBaseName(const QString& path) { dataBaseName_ = path; }
    bool stored() const { return !dataBaseName_.isEmpty(); }
    std::unique_ptr<SqliteDatabase> open() const;

    // The record of a kind stored last in date order; 0 when there is none.
    static qint32 latestOfKind(SqliteDatabase& db, int kind);
    // A missing row gives the defaults. A T record also loads its line's members.
    static void loadSettings(SqliteDatabase& db, qint32 seqNo, int kind, RecordSettings& settings,
                             RecordCalibration& calibration);
    // No stored points leave the points as they were.
    static void loadPoints(SqliteDatabase& db, qint32 seqNo, int kind, RecordPoints& points);
    // "\Folder\Sub" for the folder a parent key names; empty at the top level.
    static QString folderPath(SqliteDatabase& db, const QString& parentKey);
    static void loadStatistics(SqliteDatabase& db, qint32 seqNo, std::array<float, 12>& values);

    // The calibration a W or C record takes from its adjustment record, and that record's name.
    static void loadAdjustment(SqliteDatabase& db, int kind, RecordSettings& settings, RecordCalibration& calibration);
    // Stores each point's thickness from a C record's calibration line as its second value.
    static void storeThicknesses(SqliteDatabase& db, int kind, const RecordSettings& settings,
                                 const RecordCalibration& calibration, RecordPoints& points);

    // Inserts a new record with its points and settings; returns its number and gives the
    // points their keys.
    static qint32 insert(SqliteDatabase& db, int kind, const RecordSettings& settings, RecordPoints& points);
    // The descriptive settings only (name, notes, graph range, folder, ...) or all of them.
    static void saveSettings(SqliteDatabase& db, qint32 seqNo, int kind, const RecordSettings& settings,
                             int pointCount, bool descriptiveOnly);
    // The values the analysis changes: the flags of W and T points, the second values of D points.
    static void saveValues(SqliteDatabase& db, int kind, const RecordPoints& points);

    // What differs between two states of one record: the Setting columns saveSettings writes and
    // the points (by index into the later state) whose stored values saveValues writes.
    struct Changes {
        QStringList columns;
        std::vector<size_t> points;
        bool empty() const { return columns.isEmpty() && points.empty(); }
    };
    static Changes changes(int kind, const RecordSettings& before, const RecordPoints& beforePoints,
                           const RecordSettings& after, const RecordPoints& afterPoints);
    // Of `wanted`, what the stored rows no longer hold as `before` had it: changed elsewhere.
    static Changes changedSince(SqliteDatabase& db, qint32 seqNo, int kind, const RecordSettings& before,
                                const RecordPoints& beforePoints, const RecordPoints& afterPoints,
                                const Changes& wanted);
    // Writes exactly `wanted` of `after`.
    static void saveChanges(SqliteDatabase& db, qint32 seqNo, int kind, const RecordSettings& after,
                            const RecordPoints& afterPoints, const Changes& wanted);
    static bool exists(SqliteDatabase& db, qint32 seqNo);

private:
    QString dataBaseName_;
};

} // namespace tz4
