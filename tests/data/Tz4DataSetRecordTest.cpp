#include "data/Tz4DataSet.h"

#include "tests/support/TestSupport.h"
#include "core/RecordParameters.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace tz4;

TEST(Tz4DataSetRecord, DemonstrationRecordNeedsNoDatabase)
{
    clsTz4DataSet r;
    r.setKey(QStringLiteral("W"));
    r.ReLoad();
    ASSERT_EQ(r.DataCount(), 56);
    EXPECT_EQ(r.PointKey(0), 1);
    EXPECT_FLOAT_EQ(r.OrgValueX(55), float(3.4 + 0.05 * 55));
    EXPECT_FLOAT_EQ(r.OrgValueY(10), float(200 / 3.7));
    EXPECT_TRUE(r.ExpLog());
    EXPECT_FALSE(r.GndDown());
    EXPECT_FLOAT_EQ(r.GraphX(0), 3.4f);
    EXPECT_FLOAT_EQ(r.GraphY(1), 40.0f);
    EXPECT_FLOAT_EQ(r.GraphY(2), 10.0f);
    EXPECT_FLOAT_EQ(r.GraphX(3), 0.0f);
    // Plotted as the square root of the yield.
    EXPECT_FLOAT_EQ(r.ValueY(10), float(std::sqrt(double(float(200 / 3.7)))));
    EXPECT_FLOAT_EQ(r.DataX(0), 3.4f);
    EXPECT_NEAR(r.DataX(2), 0.05f, 1e-6);
    EXPECT_FALSE(r.AddDatas()) << "a record without a database stores nothing";
}

TEST(Tz4DataSetRecord, CursorAndIndexRules)
{
    clsTz4DataSet r;
    r.setKey(QStringLiteral("W"));
    r.setDataCount(3);
    EXPECT_EQ(r.DataIndex(), 2);
    for (int i = 0; i < 3; ++i)
        r.setValueX(float(10 * i), i);
    r.MoveFirst();
    EXPECT_TRUE(r.Bof());
    EXPECT_FALSE(r.Eof());
    EXPECT_FLOAT_EQ(r.ValueX(-1), 0.0f);
    r.MoveNext();
    EXPECT_FALSE(r.Eof());
    EXPECT_FLOAT_EQ(r.ValueX(), 10.0f);
    EXPECT_FLOAT_EQ(r.ValueX(3), 10.0f) << "an index beyond the points means the current one";
    r.MoveNext();
    EXPECT_TRUE(r.Eof());
    EXPECT_FALSE(r.Bof());
    r.MoveNext();
    EXPECT_EQ(r.DataIndex(), 2);
    r.setDataIndex(5);
    EXPECT_EQ(r.DataIndex(), 2);
    r.setDataCount(-1);
    EXPECT_EQ(r.DataCount(), 3);
    r.setDataCount(5);
    EXPECT_FLOAT_EQ(r.ValueX(1), 10.0f) << "resizing keeps the points";
    r.setDataCount(0);
    EXPECT_EQ(r.DataCount(), 0);
    EXPECT_EQ(r.DataIndex(), -1);
    r.MoveLast();
    EXPECT_TRUE(r.Eof());
}

TEST(Tz4DataSetRecord, ParameterWritesFollowTheirRules)
{
    clsTz4DataSet r;
    r.setKey(QStringLiteral("57 W"));
    EXPECT_EQ(r.Parameters(param::RecordNumber).toInt(), 57);
    // The named numbers are exactly the ones a record answers.
    const auto names = recordParameterNames();
    for (int n = -1; n <= param::Last + 1; ++n) {
        const bool named = std::any_of(names.begin(), names.end(), [n](const RecordParameterName& p) { return p.number == n; });
        EXPECT_EQ(r.Parameters(n).isValid(), named) << n;
    }

    r.setParameters(param::PowerNumber, 2);
    EXPECT_FLOAT_EQ(r.Parameters(param::PowerNumber).toFloat(), 2.0f);
    for (const QVariant& refused : {QVariant(0), QVariant(-1), QVariant(2.5), QVariant(QStringLiteral("abc")), QVariant()}) {
        r.setParameters(param::PowerNumber, refused);
        EXPECT_FLOAT_EQ(r.Parameters(param::PowerNumber).toFloat(), 2.0f) << refused.toString().toStdString();
    }
    {
        test::ScopedLocale comma{QLocale(QLocale::German)};
        r.setParameters(param::PowerNumber, QStringLiteral("1,5"));
        EXPECT_FLOAT_EQ(r.Parameters(param::PowerNumber).toFloat(), 1.5f);
    }
    r.setParameters(param::MeasurementDate, QStringLiteral("05/03/26 14:07:09"));
    EXPECT_EQ(r.Parameters(param::MeasurementDate).toDateTime(), QDateTime(QDate(2026, 5, 3), QTime(14, 7, 9)));
    r.setParameters(param::MeasurementDate, QStringLiteral("not a date"));
    EXPECT_EQ(r.Parameters(param::MeasurementDate).toDateTime(), QDateTime(QDate(2026, 5, 3), QTime(14, 7, 9)));
    r.setParameters(param::FolderNumber, 12);
    EXPECT_EQ(r.ParentKey(), QStringLiteral("12 F"));
    r.setParameters(param::CountingTime, 40000); // beyond 16 bits
    EXPECT_EQ(r.Parameters(param::CountingTime).toInt(), 10);
    r.setParameters(param::MeasuredLight, 5.9);
    EXPECT_DOUBLE_EQ(r.Parameters(param::PhotonFlux).toDouble(), double(5.9f) * 0.625 / 5.9 * 1e10);
    r.setParameters(param::GroundX1, 3.5);
    r.setParameters(param::GroundY2, 9);
    EXPECT_FLOAT_EQ(r.Parameters(param::GroundX1).toFloat(), 3.5f);
    EXPECT_FLOAT_EQ(r.Parameters(param::GroundY2).toFloat(), 9.0f);
    r.setParameters(param::FitX2, QStringLiteral("x"));
    EXPECT_FLOAT_EQ(r.Parameters(param::FitX2).toFloat(), 0.0f);
    EXPECT_EQ(r.Parameters(param::CalibrationMembers).toInt(), 0);
}
