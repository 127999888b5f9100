#include "mainwin/MainControl.h"
#include "mainwin/StatusBar.h"

#include "core/ErrorLocation.h"
#include "core/ErrorReporter.h"
#include "core/ErrorTrap.h"
#include "core/Formats.h"
#include "core/MessageCatalog.h"
#include "data/Tz4DataSet.h"
#include "core/RecordParameters.h"
#include "instrument/ProcType.h"
#include "core/MessageIds.h"

#include <cmath>

namespace tz4 {

namespace {

QString fmt(const QVariant& value, const char* picture)
{
    return formatNumber(value.toDouble(), QString::fromLatin1(picture));
}

// Bar length of a scan: its points plus the start, the background and the end.
float scanSteps(const clsTz4DataSet* data)
{
    if (!data)
        return 3;
    const double step = data->Parameters(param::EnergyStep).toDouble();
    if (step == 0)
        return 3;
    return float((data->Parameters(param::FinishEnergy).toDouble() - data->Parameters(param::StartEnergy).toDouble()) / step + 3);
}

float countSteps(const clsTz4DataSet* data) { return float((data ? data->Parameters(param::MeasureCount).toDouble() : 0) + 3); }

} // namespace

void MainControl::ProcCps(qint32 ProcType, const QVariant& Value1, const QVariant& Value2)
{
    EnterProcedure here("frmMain:tz4Bodys_ProcCps");
    runLogged([&] {
        clsTz4DataSet* data = record();
        switch (ProcType) {
        case proc::Started:
            start(countSteps(data), msg::CpsStarted);
            if (data)
                data->setDataCount(0);
            break;
        case proc::ReferenceMeasured:
            step(2, GetRes(msg::CpsBackground, {fmt(Value1, "#0.00"), fmt(Value2, "##0.0")}));
            if (data)
                data->setParameters(param::BackgroundCps, qint32(roundHalfEven(Value2.toDouble())));
            break;
        case proc::PointMeasured:
            step(status_.Value() + 1, GetRes(msg::CpsProcessing, {fmt(Value1, "###0"), fmt(Value2, "##0.0")}));
            appendPoint(Value1, Value2, true);
            break;
        case proc::Finished:
            finish(GetRes(msg::CpsFinished));
            DebugLogWrite(0, QStringLiteral("TZ4 Cps Measurement Success"));
            break;
        case proc::Cancelled:
            finish(GetRes(msg::CpsCancelled));
            // Misspelt on purpose: log readers and support scripts search for this exact text.
            cancelled(QStringLiteral("TZ4 Cps Measurement 'System' Or 'User' Deleted Cancel"), msg::CountingRateTitle, true);
            break;
        default:
            refused(ProcType);
            break;
        }
    });
}

void MainControl::ProcWork(qint32 ProcType, const QVariant& Value1, const QVariant& Value2)
{
    EnterProcedure here("frmMain:tz4Bodys_ProcWork");
    runLogged([&] {
        clsTz4DataSet* data = record();
        switch (ProcType) {
        case proc::Started:
            start(scanSteps(data), msg::WorkStarted);
            break;
        case proc::ReferenceMeasured:
            step(2, GetRes(msg::WorkBackground, {fmt(Value1, "##0.00"), fmt(Value2, "###0.0")}));
            if (data)
                data->setParameters(param::BackgroundCps, Value2.toFloat());
            break;
        case proc::PointMeasured:
            step(status_.Value() + 1, GetRes(msg::WorkProcessing, {fmt(Value1, "##0.00"), fmt(Value2, "###0.0")}));
            appendPoint(Value1, Value2, false);
            break;
        case proc::Finished:
            finish(GetRes(msg::WorkFinished));
            DebugLogWrite(0, QStringLiteral("TZ4 Work Function Measurement Success"));
            showCatalogMessage(msg::MeasurementDone, msg::MeasurementFinishedTitle, MessageIcon::Information);
            break;
        case proc::Cancelled:
            finish(GetRes(msg::WorkCancelled));
            cancelled(QStringLiteral("TZ4 Work Function Measurement 'System' Or 'User' Detected Cancel"), msg::WorkFunctionTitle, true);
            break;
        default:
            refused(ProcType);
            break;
        }
    });
}

void MainControl::ProcLight(qint32 ProcType, const QVariant& Value1, const QVariant& Value2)
{
    EnterProcedure here("frmMain:tz4Bodys_ProcLight");
    runLogged([&] {
        clsTz4DataSet* data = record();
        switch (ProcType) {
        case proc::Started:
            start(scanSteps(data), msg::LightStarted);
            break;
        case proc::ReferenceMeasured:
            step(2, GetRes(msg::LightBackground, {fmt(Value1, "##0.0")}));
            if (data)
                data->setParameters(param::BackgroundCps, Value1.toFloat());
            break;
        case proc::PointMeasured:
            // The stored text shows its first value twice.
            step(status_.Value() + 1, GetRes(msg::LightProcessing, {fmt(Value1, "#0.00"), fmt(Value2, "###0.0")}));
            appendPoint(Value1, Value2, false);
            break;
        case proc::Finished:
            finish(GetRes(msg::LightFinished));
            DebugLogWrite(0, QStringLiteral("TZ4 Light Adjustment Process Success"));
            break;
        case proc::Cancelled:
            finish(GetRes(msg::LightCancelled));
            cancelled(QStringLiteral("TZ4 Light Adjustment Process 'System' Or 'User' Detected Cancel"), msg::LightCoefficientTitle, true);
            break;
        default:
            refused(ProcType);
            break;
        }
    });
}

void MainControl::ProcThick(qint32 ProcType, const QVariant& Value1, const QVariant& Value2)
{
    EnterProcedure here("frmMain:tz4Bodys_ProcThick");
    runLogged([&] {
        switch (ProcType) {
        case proc::Started:
            start(countSteps(record()), msg::CalibrationStarted);
            break;
        case proc::ReferenceMeasured:
            step(2, GetRes(msg::CalibrationBackground, {fmt(Value1, "#0.00"), fmt(Value2, "##0.0")}));
            break;
        case proc::PointMeasured:
            step(status_.Value() + 1, GetRes(msg::CalibrationProcessing, {fmt(Value1, "###0"), fmt(Value2, "##0.0")}));
            break;
        case proc::Finished: {
            finish(GetRes(msg::CalibrationFinished));
            DebugLogWrite(0, QStringLiteral("TZ4 Calibration Shift Process Success"));
            const double shift = Value1.toDouble();
            const double average = Value2.toDouble();
            if (shift != 0 && average != 0) {
                clsTz4DataSet* data = record();
                const double thickness = data ? data->Parameters(param::CalibrationThickness).toDouble() : 0;
                const MessageAnswer answer = showCatalogMessage(
                    msg::CalibrateByThisData, msg::CalibrationTitle, MessageIcon::Question, MessageButtons::YesNo,
                    {formatNumber(average, QStringLiteral("##0.0")),
                     formatNumber(average > 0 ? std::log10(average) : 0, QStringLiteral("##0.00")),
                     formatNumber(thickness, QStringLiteral("##0.00")), formatNumber(shift, QStringLiteral("##0.00"))});
                if (answer == MessageAnswer::Yes && data)
                    data->setParameters(param::CalibrationShift, float(shift));
            }
            showCatalogMessage(msg::CalibrationShiftDone, msg::CalibrationShiftDoneTitle, MessageIcon::Information);
            break;
        }
        case proc::Cancelled:
            finish(GetRes(msg::CalibrationCancelled));
            // Misspelt on purpose: log readers and support scripts search for this exact text.
            cancelled(QStringLiteral("TZ4 Calibllation Shift Process 'System' Or 'User' Detected Cancel"), msg::CalibrationTitle, false);
            break;
        default:
            refused(ProcType);
            break;
        }
    });
}

} // namespace tz4
