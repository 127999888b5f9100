#include "mainwin/MainControl.h"
#include "mainwin/StatusBar.h"

#include "core/ErrorLocation.h"
#include "core/ErrorReporter.h"
#include "core/ErrorTrap.h"
#include "core/Formats.h"
#include "core/MessageCatalog.h"
#include "data/Tz4DataSet.h"
#include "instrument/Tz4Body.h"
#include "core/RecordParameters.h"
#include "instrument/ProcType.h"
#include "core/MessageIds.h"

namespace tz4 {

namespace {

const QString Crlf = QStringLiteral("\r\n");

QString fmt(const QVariant& value, const char* picture)
{
    return formatNumber(value.toDouble(), QString::fromLatin1(picture));
}

// The iris position and power a UV intensity adjustment ended with.
QString lightResult(const QVariant& power, const QVariant& iris)
{
    return Crlf + QStringLiteral("Eyemax = ") + fmt(iris, "###0") + Crlf + QStringLiteral("Power = ")
        + fmt(power, "###0.00") + QStringLiteral("nW");
}

} // namespace

void MainControl::ProcBase(qint32 ProcType, const QVariant& Value1, const QVariant& Value2)
{
    EnterProcedure here("frmMain:tz4Bodys_ProcBase");
    runLogged([&] {
        switch (ProcType) {
        case proc::Started:
            start(6, msg::BaseStarted);
            break;
        case proc::BaseSpanMinimum:
            step(2, GetRes(msg::BaseSpanMinimum, {fmt(Value1, "##0.0")}));
            break;
        case proc::BaseSpanMaximum:
            step(3, GetRes(msg::BaseSpanMaximum, {fmt(Value1, "##0.0")}));
            break;
        case proc::BaseIris:
            step(4, GetRes(msg::BaseIris, {fmt(Value1, "###0")}));
            break;
        case proc::PointMeasured:
            step(5, GetRes(msg::BaseProcessing, {fmt(Value1, "###0"), fmt(Value2, "##0.0\\n\\W")}));
            break;
        case proc::Finished: {
            finish(GetRes(msg::BaseFinished));
            // Misspelt on purpose: log readers and support scripts search for this exact text.
            QString text = QStringLiteral("TZ4 Light Base Data Process Sucsess") + Crlf + QStringLiteral("Eyemax = ")
                + fmt(Value1, "###0");
            for (qint16 n = 1; n <= 4; ++n)
                text += Crlf + QStringLiteral("F%1.Min = ").arg(n)
                    + formatNumber(body_.SetLightSpanMin(n), QStringLiteral("###0.00"))
                    + QStringLiteral("nW,F%1.Max = ").arg(n)
                    + formatNumber(body_.SetLightSpanMax(n), QStringLiteral("###0.00")) + QStringLiteral("nW");
            DebugLogWrite(0, text);
            break;
        }
        case proc::Cancelled:
            finish(GetRes(msg::BaseCancelled));
            cancelled(QStringLiteral("TZ4 Light Base Data Process 'System' Or 'User' Detected Cancel"), msg::LightAdjusterTitle, false);
            break;
        default:
            refused(ProcType);
            break;
        }
    });
}

// The adjustment reports (power, iris position) with its steps and its end.
void MainControl::ProcSetLight(qint32 ProcType, const QVariant& Value1, const QVariant& Value2)
{
    EnterProcedure here("frmMain:tz4Bodys_ProcSetLight");
    runLogged([&] {
        clsTz4DataSet* data = record();
        switch (ProcType) {
        case proc::Started:
            start(4, msg::SetLightStarted);
            break;
        case proc::LightProcessing:
            step(2, GetRes(msg::SetLightProcessing1));
            break;
        case proc::PointMeasured:
            step(3, GetRes(msg::SetLightProcessing, {fmt(Value2, "###0"), fmt(Value1, "###0.0")}));
            break;
        case proc::Finished:
            finish(GetRes(msg::SetLightFinished));
            if (data)
                data->setParameters(param::MeasuredLight, Value1.toFloat());
            DebugLogWrite(0, QStringLiteral("TZ4 Light Data Set Process Success") + lightResult(Value1, Value2));
            break;
        case proc::LightOutOfTolerance:
            finish(GetRes(msg::SetLightOffTarget));
            if (data)
                data->setParameters(param::MeasuredLight, 0.0f);
            DebugLogWrite(1, QStringLiteral("TZ4 Light Data Set Process Un Match Power") + lightResult(Value1, Value2));
            showCatalogMessage(msg::UvAdjustmentFailed, msg::UvAdjustmentTitle, MessageIcon::Information, MessageButtons::Ok, {fmt(Value1, "###0")});
            break;
        case proc::Cancelled:
            finish(GetRes(msg::SetLightCancelled));
            if (data)
                data->setParameters(param::MeasuredLight, 0.0f);
            cancelled(QStringLiteral("TZ4 Light Data Set Process 'System' Or 'User' Detected Cancel"), msg::UvAdjustmentTitle, false);
            break;
        default:
            refused(ProcType);
            break;
        }
    });
}

void MainControl::ProcVolts(qint32 ProcType, const QVariant& Value1, const QVariant& Value2)
{
    EnterProcedure here("frmMain:tz4Bodys_ProcVolts");
    runLogged([&] {
        clsTz4DataSet* data = record();
        switch (ProcType) {
        case proc::Started:
        case proc::PurgeRunning:
            if (owner()) {
                status_.setMax(50);
                status_.setMin(0);
                status_.setValue(0);
                status_.setCaption(GetRes(ProcType == proc::Started ? msg::VoltsStarted : msg::VoltsPurge));
            }
            break;
        case proc::PointMeasured:
            if (owner()) {
                status_.setCaption(GetRes(msg::VoltsProcessing, {fmt(Value1, "###0"), fmt(Value2, "##0.0")}));
                status_.setValue(status_.Value() + 1);
            }
            break;
        case proc::Finished:
            finish(GetRes(msg::VoltsFinished, {fmt(Value1, "###0")}));
            if (data)
                data->setParameters(param::AnodeVoltage, Value1);
            // Misspelt on purpose: log readers and support scripts search for this exact text.
            DebugLogWrite(0, QStringLiteral("TZ4 Anode Volts Setting Succses"));
            showCatalogMessage(msg::VoltsMeasurementFinished, msg::AnodeVoltageTitle, MessageIcon::Information);
            break;
        case proc::FinishedWithoutResult:
            finish(GetRes(msg::VoltsNoResult));
            if (data)
                data->setParameters(param::AnodeVoltage, 0);
            DebugLogWrite(1, QStringLiteral("TZ4 Anode Volts Setting OverLoad Fail Finish"));
            showCatalogMessage(msg::SensorTrouble, msg::AnodeVoltageTitle, MessageIcon::Information);
            break;
        case proc::Cancelled:
            finish(GetRes(msg::VoltsCancelled));
            if (data)
                data->setParameters(param::AnodeVoltage, 0);
            cancelled(QStringLiteral("TZ4 Anode Volts Setting 'System' Or 'User' Detected Cancel"), msg::AnodeVoltageTitle, false);
            break;
        default:
            refused(ProcType);
            break;
        }
    });
}

} // namespace tz4
