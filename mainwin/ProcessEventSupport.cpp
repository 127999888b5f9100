#include "mainwin/MainControl.h"
#include "mainwin/MeasurementOwner.h"
#include "mainwin/StatusBar.h"

#include "core/ErrorReporter.h"
#include "core/Keys.h"
#include "core/MessageCatalog.h"
#include "data/Tz4DataSet.h"
#include "instrument/Tz4Body.h"
#include "core/RecordParameters.h"
#include "instrument/ProcType.h"
#include "core/MessageIds.h"

namespace tz4 {

// Handlers write the bar only under the owner code the measurements and the connection run with.
bool MainControl::owner() const { return status_.Locked() == 1; }

clsTz4DataSet* MainControl::record() const { return dynamic_cast<clsTz4DataSet*>(body_.SetDatas()); }

MeasurementOwner* MainControl::window() const { return qobject_cast<MeasurementOwner*>(body_.Locked()); }

void MainControl::start(float max, int captionId)
{
    if (!owner())
        return;
    status_.setMin(0);
    status_.setMax(max);
    status_.setValue(1);
    status_.setCaption(GetRes(captionId));
}

void MainControl::step(float value, const QString& caption)
{
    if (!owner())
        return;
    status_.setValue(value);
    status_.setCaption(caption);
}

void MainControl::finish(const QString& caption)
{
    if (!owner())
        return;
    status_.setValue(status_.Max());
    status_.setCaption(caption);
}

void MainControl::appendPoint(const QVariant& x, const QVariant& y, bool withCalibration)
{
    clsTz4DataSet* data = record();
    if (!data)
        return;
    const int n = data->DataCount();
    data->setDataCount(n + 1);
    data->setDataIndex(data->DataCount() - 1);
    data->setOrgValueX(x.toFloat());
    data->setOrgValueY(y.toFloat());
    if (withCalibration && GetKeyType(data->Key()) == QLatin1String("D"))
        data->setValueZ(data->Parameters(param::CalibrationShift).toFloat());
    data->Refresh();
    if (MeasurementOwner* w = window())
        w->RefreshDisplay();
}

void MainControl::refused(qint32 ProcType)
{
    if (ProcType == proc::RefusedBusy) {
        showCatalogMessage(msg::AnotherProcessRunning, msg::ProcessAbortedTitle, MessageIcon::Information);
        DebugLogWrite(0, QStringLiteral("TZ4 Process Busy To Canceled"));
        if (owner())
            status_.setCaption(GetRes(msg::Busy));
    } else if (ProcType == proc::RefusedPortClosed) {
        // Misspelt on purpose: log readers and support scripts search for this exact text.
        DebugLogWrite(0, QStringLiteral("TZ4 No Connct To Send Command"));
        if (owner())
            status_.setCaption(GetRes(msg::NoConnect));
    }
}

void MainControl::cancelled(const QString& logText, int titleId, bool notifyWindow)
{
    DebugLogWrite(1, logText);
    showCatalogMessage(msg::ProcessAborted, titleId, MessageIcon::Information);
    if (notifyWindow)
        if (MeasurementOwner* w = window())
            w->MeasProcCanceled();
}

} // namespace tz4
