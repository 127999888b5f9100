#include "mainwin/MainControl.h"
#include "mainwin/StatusBar.h"

#include "core/ErrorLocation.h"
#include "core/ErrorReporter.h"
#include "core/ErrorTrap.h"
#include "core/Formats.h"
#include "core/MessageCatalog.h"
#include "data/Tz4DataSet.h"

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
    const double step = data->Parameters(20).toDouble();
    if (step == 0)
        return 3;
    return float((data->Parameters(19).toDouble() - data->Parameters(18).toDouble()) / step + 3);
}

float countSteps(const clsTz4DataSet* data) { return float((data ? data->Parameters(26).toDouble() : 0) + 3); }

} // namespace

void MainControl::ProcCps(qint32 ProcType, const QVariant& Value1, const QVariant& Value2)
{
    EnterProcedure here("frmMain:tz4Bodys_ProcCps");
    runLogged([&] {
        clsTz4DataSet* data = record();
        switch (ProcType) {
        case 0:
            start(countSteps(data), 3004);
            if (data)
                data->setDataCount(0);
            break;
        case 1:
            step(2, GetRes(3002, {fmt(Value1, "#0.00"), fmt(Value2, "##0.0")}));
            if (data)
                data->setParameters(32, qint32(roundHalfEven(Value2.toDouble())));
            break;
        case 2:
            step(status_.Value() + 1, GetRes(3003, {fmt(Value1, "###0"), fmt(Value2, "##0.0")}));
            appendPoint(Value1, Value2, true);
            break;
        case 3:
            finish(GetRes(3005));
            DebugLogWrite(0, QStringLiteral("TZ4 Cps Measurement Success"));
            break;
        case 5:
            finish(GetRes(3001));
            cancelled(QStringLiteral("TZ4 Cps Measurement 'System' Or 'User' Deleted Cancel"), 3047, true);
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
        case 0:
            start(scanSteps(data), 3032);
            break;
        case 1:
            step(2, GetRes(3030, {fmt(Value1, "##0.00"), fmt(Value2, "###0.0")}));
            if (data)
                data->setParameters(32, Value2.toFloat());
            break;
        case 2:
            step(status_.Value() + 1, GetRes(3031, {fmt(Value1, "##0.00"), fmt(Value2, "###0.0")}));
            appendPoint(Value1, Value2, false);
            break;
        case 3:
            finish(GetRes(3033));
            DebugLogWrite(0, QStringLiteral("TZ4 Work Function Measurement Success"));
            showCatalogMessage(3078, 3079, MessageIcon::Information);
            break;
        case 5:
            finish(GetRes(3029));
            cancelled(QStringLiteral("TZ4 Work Function Measurement 'System' Or 'User' Detected Cancel"), 3056, true);
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
        case 0:
            start(scanSteps(data), 3027);
            break;
        case 1:
            step(2, GetRes(3025, {fmt(Value1, "##0.0")}));
            if (data)
                data->setParameters(32, Value1.toFloat());
            break;
        case 2:
            // The stored text shows its first value twice.
            step(status_.Value() + 1, GetRes(3026, {fmt(Value1, "#0.00"), fmt(Value2, "###0.0")}));
            appendPoint(Value1, Value2, false);
            break;
        case 3:
            finish(GetRes(3028));
            DebugLogWrite(0, QStringLiteral("TZ4 Light Adjustment Process Success"));
            break;
        case 5:
            finish(GetRes(3024));
            cancelled(QStringLiteral("TZ4 Light Adjustment Process 'System' Or 'User' Detected Cancel"), 3077, true);
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
        case 0:
            start(countSteps(record()), 3009);
            break;
        case 1:
            step(2, GetRes(3007, {fmt(Value1, "#0.00"), fmt(Value2, "##0.0")}));
            break;
        case 2:
            step(status_.Value() + 1, GetRes(3008, {fmt(Value1, "###0"), fmt(Value2, "##0.0")}));
            break;
        case 3: {
            finish(GetRes(3010));
            DebugLogWrite(0, QStringLiteral("TZ4 Calibration Shift Process Success"));
            const double shift = Value1.toDouble();
            const double average = Value2.toDouble();
            if (shift != 0 && average != 0) {
                clsTz4DataSet* data = record();
                const double thickness = data ? data->Parameters(30).toDouble() : 0;
                const MessageAnswer answer = showCatalogMessage(
                    3081, 3048, MessageIcon::Question, MessageButtons::YesNo,
                    {formatNumber(average, QStringLiteral("##0.0")),
                     formatNumber(average > 0 ? std::log10(average) : 0, QStringLiteral("##0.00")),
                     formatNumber(thickness, QStringLiteral("##0.00")), formatNumber(shift, QStringLiteral("##0.00"))});
                if (answer == MessageAnswer::Yes && data)
                    data->setParameters(29, float(shift));
            }
            showCatalogMessage(3055, 3054, MessageIcon::Information);
            break;
        }
        case 5:
            finish(GetRes(3006));
            cancelled(QStringLiteral("TZ4 Calibllation Shift Process 'System' Or 'User' Detected Cancel"), 3048, false);
            break;
        default:
            refused(ProcType);
            break;
        }
    });
}

} // namespace tz4
