#pragma once

#include "data/DatabaseSchema.h"
#include "data/SqliteDatabase.h"
#include "data/Tz4DataSet.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace tz4::test {

// A fresh database file in a temporary directory and helpers to read it back directly.
class RecordDatabase : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = dir.filePath(QStringLiteral("TZ4.mdb"));
        ASSERT_TRUE(MakeDB(path));
    }

    std::unique_ptr<clsTz4DataSet> record(const QString& key) const
    {
        auto r = std::make_unique<clsTz4DataSet>();
        r->setDataBaseName(path);
        r->setKey(key);
        return r;
    }

    std::unique_ptr<clsTz4DataSet> loaded(const QString& key) const
    {
        auto r = record(key);
        r->ReLoad();
        return r;
    }

    void exec(const QString& sql) const
    {
        SqliteDatabase db(path);
        db.execute(sql);
    }

    QVariant scalar(const QString& sql) const
    {
        SqliteDatabase db(path);
        SqliteStatement st = db.query(sql);
        return st.next() ? st.value(0) : QVariant();
    }

    QTemporaryDir dir;
    QString path;
};

// Fills a W record with points at start + i * step eV.
inline void fillScan(clsTz4DataSet& r, int count, double start, double step, float (*rate)(double energy))
{
    r.setDataCount(count);
    for (int i = 0; i < count; ++i) {
        const double e = start + step * i;
        r.setOrgValueX(float(e), i);
        r.setOrgValueY(rate(e), i);
    }
}

} // namespace tz4::test
