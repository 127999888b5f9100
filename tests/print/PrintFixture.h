#pragma once

#include "core/DataDirectory.h"
#include "core/RecordParameters.h"
#include "core/SystemParam.h"
#include "data/DatabaseSetup.h"
#include "data/SqliteDatabase.h"
#include "data/Tz4DataSet.h"
#include "tests/data/ScanGenerator.h"
#include "tests/support/RecordingReporter.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tz4::test {

// A fresh data directory with the shipped templates, and records stored into it.
class PrintDatabase : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        setDataDirectory(home.path());
        ASSERT_TRUE(createDatabaseIfMissing(home.path()));
        InitSystemParam();
        database = SystemParam().DatabasePath;
    }

    // A gold-like scan stored with its fit and ground ranges; its key.
    QString storeScan(const QString& name, double workFunction = 5.1, int points = 0)
    {
        ScanSpec shape;
        shape.workFunction = workFunction;
        shape.start = 4.4;
        shape.end = 6.2;
        if (points > 0)
            shape.step = (shape.end - shape.start) / (points - 1);
        clsTz4DataSet scan = generatedScan(shape, 7);
        scan.setDataBaseName(database);
        scan.setParameters(param::SampleName, name);
        scan.setGndDown(false);
        if (!scan.AddDatas())
            return {};
        scan.setParameters(param::GroundX1, 4.4f);
        scan.setParameters(param::GroundX2, float(workFunction - 0.3));
        scan.setParameters(param::GroundY1, -1e6f);
        scan.setParameters(param::GroundY2, 1e6f);
        scan.RefreshGFlag();
        scan.setParameters(param::FitX1, float(workFunction + 0.2));
        scan.setParameters(param::FitX2, 6.2f);
        scan.setParameters(param::FitY1, -1e6f);
        scan.setParameters(param::FitY2, 1e6f);
        scan.UpDates();
        return scan.Key();
    }

    float loadedWorkFunction(const QString& key) const
    {
        clsTz4DataSet record;
        record.setDataBaseName(database);
        record.setKey(key);
        record.ReLoad();
        return record.Parameters(param::WorkFunction).toFloat();
    }

    QVariant scalar(const QString& sql) const
    {
        SqliteDatabase db(database);
        SqliteStatement st = db.prepare(sql);
        return st.next() ? st.value(0) : QVariant();
    }

    QTemporaryDir home;
    QString database;
};

} // namespace tz4::test
