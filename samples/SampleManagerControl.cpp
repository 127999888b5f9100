#include "samples/SampleManagerControl.h"

#include "core/CautionLog.h"
#include "core/ErrorLocation.h"
#include "core/ErrorReporter.h"
#include "core/Keys.h"
#include "core/MessageCatalog.h"
#include "core/MessageIds.h"
#include "core/SystemParam.h"
#include "data/SampleOperations.h"
#include "mainwin/MainControl.h"
#include "samples/SampleItemRoles.h"
#include "samples/SampleTexts.h"
#include "samples/StatusBarHold.h"


namespace tz4 {

SampleManagerControl::SampleManagerControl(const QString& databasePath, MainControl* main, QObject* parent)
    : QObject(parent), databasePath_(databasePath), main_(main)
{
    tree_.setDataBaseFile(databasePath_);
    list_.setDataBaseFile(databasePath_);
    connect(&work_, &BackgroundWork::progressed, this, [this](const QString& caption, double fraction) {
        if (workStatus_)
            workStatus_->show(caption, fraction);
        if (!caption.isEmpty())
            emit progressed(caption);
    });
    connect(&work_, &BackgroundWork::finished, this, &SampleManagerControl::workEnded);
}

SampleManagerControl::~SampleManagerControl()
{
    // Long work ends before the window that shows it.
    work_.finish();
}

void SampleManagerControl::FormLoad()
{
    EnterProcedure here("frmSample:Form_Load");
    const int flags = SystemParam().EditablePrint ? 0 : dispflag::Printer;
    tree_.setDispFlags(flags);
    list_.setDispFlags(flags);
    list_.setParentKey(QStringLiteral("1 A"));
    rebuild();
    showFirstItem();
}

void SampleManagerControl::rebuild()
{
    // A node that went (another program deleted the folder) leaves the list on the root.
    const QString node = list_.ParentKey();
    if (!node.isEmpty() && !itemExists(databasePath_, node))
        list_.setParentKey(QStringLiteral("1 A"));
    try {
        tree_.MakeList();
        list_.MakeList();
    } catch (const Tz4Error& error) {
        failed("frmSample:MakeList", msg::MenuRefreshData, error);
    }
    emit treeRebuilt();
    emit undoChanged();
}

void SampleManagerControl::RefreshData()
{
    EnterProcedure here("frmSample:mnuDispItem_Click(2)");
    const QString shown = grid_.recordKey();
    const bool searching = grid_.mode() == SampleGridModel::Mode::Search;
    rebuild();
    if (searching)
        grid_.showSearch();
    else if (!shown.isEmpty() && itemExists(databasePath_, shown))
        grid_.showRecord(databasePath_, shown);
    else
        showFirstItem();
}

void SampleManagerControl::showFirstItem()
{
    if (GetKeyType(nodeKey()) == QLatin1String("Q")) {
        grid_.showSearch();
        return;
    }
    for (int row = 0; row < list_.rowCount(); ++row) {
        const QString key = list_.keyOf(row);
        if (keytype::isRecord(GetKeyType(key))) {
            grid_.showRecord(databasePath_, key);
            return;
        }
    }
    grid_.clear();
}

void SampleManagerControl::NodeClick(const QString& key)
{
    EnterProcedure here("frmSample:tz4Fat_NodeClick");
    if (key.isEmpty())
        return;
    if (!stillThere({key}))
        return;
    if (GetKeyType(key) == QLatin1String("Q"))
        list_.setQueryString(makeQueryString(grid_.conditions()));
    list_.setParentKey(key);
    try {
        list_.MakeList();
    } catch (const Tz4Error& error) {
        failed("frmSample:tz4Fat_NodeClick", msg::MenuRefreshData, error);
    }
    showFirstItem();
}

void SampleManagerControl::ItemClick(const QString& key)
{
    EnterProcedure here("frmSample:tz4List_ItemClick");
    if (keytype::isRecord(GetKeyType(key))) {
        if (!grid_.showRecord(databasePath_, key) && !itemExists(databasePath_, key))
            stillThere({key});
    } else if (GetKeyType(key) == QLatin1String("Q")) {
        grid_.showSearch();
    }
}

SampleManagerControl::Opening SampleManagerControl::OpenItems(const QStringList& selected, const QString& clicked) const
{
    const QString type = GetKeyType(clicked);
    if (type == keytype::Folder || type == keytype::Trash || type == keytype::Search || type == keytype::Printer)
        return {clicked, {}};
    Opening opening;
    for (const QString& key : selected)
        if (keytype::isRecord(GetKeyType(key)))
            opening.records << key;
    if (opening.records.isEmpty() && keytype::isRecord(type))
        opening.records << clicked;
    return opening;
}

bool SampleManagerControl::refuseWhileBusy() const
{
    if (!busy())
        return false;
    errorReporter().showMessage(sampleText(SampleText::StillWorking), captionText(msg::MenuDataManager),
                                MessageIcon::Information, MessageButtons::Ok);
    return true;
}

bool SampleManagerControl::stillThere(const QStringList& keys)
{
    for (const QString& key : keys) {
        if (itemExists(databasePath_, key))
            continue;
        errorReporter().showMessage(sampleText(SampleText::ItemGone, {key}), captionText(msg::MenuDataManager),
                                    MessageIcon::Exclamation, MessageButtons::Ok);
        RefreshData();
        return false;
    }
    return true;
}

// A failure is written to Caution.log under the gesture's label and shown in plain words.
void SampleManagerControl::failed(const char* label, int titleId, const Tz4Error& error) const
{
    EnterProcedure here(label);
    WriteCautionLog({}, &error);
    errorReporter().showMessage(error.description(), captionText(titleId), MessageIcon::Critical, MessageButtons::Ok);
}

UndoMode SampleManagerControl::undoMode() const { return pendingUndo(databasePath_); }

void SampleManagerControl::Connect()
{
    EnterProcedure here("frmSample:mnuMeasItem_Click(0)");
    if (main_)
        main_->GetBodyStatus();
}

bool SampleManagerControl::measurementReady() const { return main_ && main_->ConnectPhase() == MainControl::Ready; }

bool SampleManagerControl::startWork(int captionId, const char* label, int titleId, BackgroundWork::Work work)
{
    if (refuseWhileBusy())
        return false;
    workStatus_ = std::make_unique<StatusBarHold>(main_.data(), GetRes(captionId));
    workLabel_ = label;
    workTitle_ = titleId;
    work_.start(std::move(work));
    emit progressed(GetRes(captionId));
    emit busyChanged(true);
    return true;
}

void SampleManagerControl::workEnded()
{
    workStatus_.reset();
    if (work_.failure())
        failed(workLabel_, workTitle_, *work_.failure());
    emit progressed(QString());
    emit busyChanged(false);
    RefreshData();
}

} // namespace tz4
