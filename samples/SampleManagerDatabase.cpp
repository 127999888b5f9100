// The sample manager's search, Save Data and Database menu.
#include "samples/SampleManagerControl.h"

#include "core/CautionLog.h"
#include "core/ErrorLocation.h"
#include "core/ErrorReporter.h"
#include "core/Keys.h"
#include "core/MessageCatalog.h"
#include "core/MessageIds.h"
#include "core/OwnTexts.h"
#include "data/CompactAndRepair.h"
#include "data/ExportImport.h"
#include "data/RecordText.h"
#include "data/SampleOperations.h"
#include "data/SearchQuery.h"
#include "data/Tz4DataSet.h"
#include "samples/SampleTexts.h"

#include <QFileInfo>

namespace tz4 {

bool SampleManagerControl::GoQuery()
{
    EnterProcedure here("frmSample:tz4Grid_GoQuery");
    const QString query = makeQueryString(grid_.conditions());
    if (query.isEmpty()) {
        showCatalogMessage(msg::SearchBadConditions, msg::SearchConditionsTitle, MessageIcon::Information);
        return false;
    }
    list_.setQueryString(query);
    list_.setParentKey(QStringLiteral("1 Q"));
    try {
        list_.MakeList();
    } catch (const Tz4Error& error) {
        failed("frmSample:tz4Grid_GoQuery", msg::MenuSearch, error);
        return false;
    }
    grid_.showSearch();
    emit treeRebuilt();
    showCatalogMessage(msg::DatasFound, msg::SearchResultTitle, MessageIcon::Information, MessageButtons::Ok,
                       {list_.rowCount()});
    return true;
}

bool SampleManagerControl::canSaveAsText(const QString& key) const
{
    const QString type = GetKeyType(key);
    return GetKeySeq(key) > 0 && (type == QLatin1String("W") || type == QLatin1String("C"));
}

bool SampleManagerControl::SaveData(const QString& key, const QString& file, int filter)
{
    EnterProcedure here("frmSample:mnuFile_Click(4)");
    if (!canSaveAsText(key)) {
        showCatalogMessage(msg::CannotSaveData, msg::MenuSaveData, MessageIcon::Information);
        return false;
    }
    if (!stillThere({key}))
        return false;
    clsTz4DataSet record;
    record.setDataBaseName(databasePath_);
    record.setKey(key);
    record.ReLoad();
    QString failure = record.LoadFailure();
    if (failure.isEmpty() && writeRecordText(record, file, filter, &failure) == RecordTextResult::Written)
        return true;
    const QString text = ownText(OwnText::FileNotWritten, {file, failure});
    const Tz4Error error(err::DeviceIoError, text);
    WriteCautionLog({}, &error);
    errorReporter().showMessage(text, captionText(msg::MenuSaveData), MessageIcon::Critical, MessageButtons::Ok);
    return false;
}

bool SampleManagerControl::Import(const QString& file, const QString& targetKey)
{
    EnterProcedure here("frmSample:mnuDataBase_Click(0)");
    if (file.isEmpty())
        return false;
    // Imported items go into a folder, else the top level.
    const QString into = GetKeyType(targetKey) == keytype::Folder ? targetKey : QStringLiteral("1 A");
    if (!busy() && !stillThere({into}))
        return false;
    const QString database = databasePath_;
    return startWork(msg::ImportProgress, "frmSample:mnuDataBase_Click(0)", msg::ImportTitle,
                     [database, file, into](const OperationProgress& progress) {
                         ImportMain(database, file, into, progress);
                         // The database is compacted after every import; a failure there says so itself.
                         progress(GetRes(msg::RepairTitle), -1);
                         return CompactAndRepairDB(database);
                     });
}

bool SampleManagerControl::Export(const QString& file, const QStringList& keys)
{
    EnterProcedure here("frmSample:mnuDataBase_Click(1)");
    if (file.isEmpty() || keys.isEmpty())
        return false;
    if (!busy() && !stillThere(keys))
        return false;
    // The file dialog asked before the chosen file is replaced; a name that gets ".mdb" added
    // names another file, which is asked about here.
    const QString written = exchangeFileName(file);
    if (written != file && QFileInfo::exists(written)
        && errorReporter().showMessage(sampleText(SampleText::ReplaceFile, {written}), captionText(msg::ExportTitle),
                                       MessageIcon::Question, MessageButtons::YesNo)
            != MessageAnswer::Yes)
        return false;
    const QString database = databasePath_;
    const QString list = makeExportList(keys);
    return startWork(msg::ExportProgress, "frmSample:mnuDataBase_Click(1)", msg::ExportTitle,
                     [database, written, list](const OperationProgress& progress) {
                         ExportMain(database, written, list, progress, true);
                         return true;
                     });
}

bool SampleManagerControl::Repair(const QString& path)
{
    EnterProcedure here("frmSample:mnuDataBase_Click(2)");
    if (path.size() < 4)
        return false;
    const QString database = databasePath_;
    return startWork(msg::RepairTitle, "frmSample:mnuDataBase_Click(2)", msg::RepairTitle,
                     [database, path](const OperationProgress&) { return CompactAndRepairDB(path, database); });
}

} // namespace tz4
