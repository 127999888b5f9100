#include "mainwin/MainControl.h"
#include "mainwin/StatusBar.h"

#include "core/ErrorLocation.h"
#include "core/ErrorReporter.h"
#include "core/ErrorTrap.h"
#include "core/Formats.h"
#include "core/MessageCatalog.h"
#include "data/Tz4DataSet.h"
#include "instrument/Tz4Body.h"

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
        case 0:
            start(6, 3022);
            break;
        case 7:
            step(2, GetRes(3018, {fmt(Value1, "##0.0")}));
            break;
        case 8:
            step(3, GetRes(3019, {fmt(Value1, "##0.0")}));
            break;
        case 9:
            step(4, GetRes(3020, {fmt(Value1, "###0")}));
            break;
        case 2:
            step(5, GetRes(3021, {fmt(Value1, "###0"), fmt(Value2, "##0.0\\n\\W")}));
            break;
        case 3: {
            finish(GetRes(3023));
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
        case 5:
            finish(GetRes(3017));
            cancelled(QStringLiteral("TZ4 Light Base Data Process 'System' Or 'User' Detected Cancel"), 3051, false);
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
        case 0:
            start(4, 3015);
            break;
        case 10:
            step(2, GetRes(3013));
            break;
        case 2:
            step(3, GetRes(3014, {fmt(Value2, "###0"), fmt(Value1, "###0.0")}));
            break;
        case 3:
            finish(GetRes(3016));
            if (data)
                data->setParameters(22, Value1.toFloat());
            DebugLogWrite(0, QStringLiteral("TZ4 Light Data Set Process Success") + lightResult(Value1, Value2));
            break;
        case 11:
            finish(GetRes(3012));
            if (data)
                data->setParameters(22, 0.0f);
            DebugLogWrite(1, QStringLiteral("TZ4 Light Data Set Process Un Match Power") + lightResult(Value1, Value2));
            showCatalogMessage(3057, 3050, MessageIcon::Information, MessageButtons::Ok, {fmt(Value1, "###0")});
            break;
        case 5:
            finish(GetRes(3011));
            if (data)
                data->setParameters(22, 0.0f);
            cancelled(QStringLiteral("TZ4 Light Data Set Process 'System' Or 'User' Detected Cancel"), 3050, false);
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
        case 0:
        case 6:
            if (owner()) {
                status_.setMax(50);
                status_.setMin(0);
                status_.setValue(0);
                status_.setCaption(GetRes(ProcType == 0 ? 3038 : 3035));
            }
            break;
        case 2:
            if (owner()) {
                status_.setCaption(GetRes(3037, {fmt(Value1, "###0"), fmt(Value2, "##0.0")}));
                status_.setValue(status_.Value() + 1);
            }
            break;
        case 3:
            finish(GetRes(3039, {fmt(Value1, "###0")}));
            if (data)
                data->setParameters(34, Value1);
            DebugLogWrite(0, QStringLiteral("TZ4 Anode Volts Setting Succses"));
            showCatalogMessage(3062, 3074, MessageIcon::Information);
            break;
        case 4:
            finish(GetRes(3036));
            if (data)
                data->setParameters(34, 0);
            DebugLogWrite(1, QStringLiteral("TZ4 Anode Volts Setting OverLoad Fail Finish"));
            showCatalogMessage(3069, 3074, MessageIcon::Information);
            break;
        case 5:
            finish(GetRes(3034));
            if (data)
                data->setParameters(34, 0);
            cancelled(QStringLiteral("TZ4 Anode Volts Setting 'System' Or 'User' Detected Cancel"), 3074, false);
            break;
        default:
            refused(ProcType);
            break;
        }
    });
}

} // namespace tz4
