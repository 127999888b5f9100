// The sample manager's gestures that change folders and records: drops, the clipboard,
// delete, rename, new folders and calibration lines, undo and the grid's pop-ups.
#include "samples/SampleManagerControl.h"

#include "core/ErrorLocation.h"
#include "core/ErrorReporter.h"
#include "core/Keys.h"
#include "core/MessageCatalog.h"
#include "core/MessageIds.h"
#include "core/RecordParameters.h"
#include "data/RecordLinks.h"
#include "data/SampleOperations.h"
#include "data/TemplateDefault.h"
#include "data/Tz4DataSet.h"
#include "samples/SampleTexts.h"
#include "samples/StatusBarHold.h"

namespace tz4 {

namespace {

// A new calibration line's graph: the logarithm of the counting rate against the thickness.
constexpr float LineLogCpsMax = 4;
constexpr float LineThicknessMax = 400;

bool holdsBreaks(const QString& name)
{
    for (const QChar c : name)
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            return true;
    return false;
}

} // namespace

bool SampleManagerControl::Drop(const QString& targetKey, const QStringList& keys, bool copy)
{
    EnterProcedure here("frmSample:tz4List_DragDrop");
    if (keys.isEmpty() || refuseWhileBusy() || !stillThere(QStringList(keys) << targetKey))
        return false;
    bool changed = false;
    try {
        // The words of the drag hint.
        StatusBarHold status(main_.data(), copy ? QStringLiteral("Copy") : QStringLiteral("Move"));
        const QStringList skipped = MultiCopyItem(databasePath_, targetKey, keys, copy, status.progress(true));
        changed = skipped.size() < keys.size();
    } catch (const OperationRefused& refusal) {
        errorReporter().showMessage(refusal.description(), GetRes(refusal.titleId()), MessageIcon::Critical,
                                    MessageButtons::Ok);
        return false;
    } catch (const Tz4Error& error) {
        failed("frmSample:MultiCopyItem", copy ? msg::MenuCopy : msg::MenuCut, error);
    }
    if (changed)
        rebuild();
    return changed;
}

bool SampleManagerControl::DeleteItems(const QStringList& keys)
{
    EnterProcedure here("frmSample:mnuPopUp_Click(Delete)");
    if (refuseWhileBusy())
        return false;
    try {
        if (GetKeyType(nodeKey()) == keytype::Trash) {
            if (showCatalogMessage(msg::EmptyTrashQuestion, msg::MenuDelete, MessageIcon::Question,
                                   MessageButtons::YesNo)
                != MessageAnswer::Yes)
                return false;
            StatusBarHold status(main_.data(), GetRes(msg::DeleteData));
            ClearTrush(databasePath_, status.progress(true));
        } else {
            QStringList items;
            for (const QString& key : keys)
                if (GetKeyType(key) == keytype::Folder || keytype::isRecord(GetKeyType(key)))
                    items << key;
            if (items.isEmpty() || !stillThere(items))
                return false;
            StatusBarHold status(main_.data(), GetRes(msg::NowDeleting));
            MultiDeleteItem(databasePath_, items, status.progress(true));
        }
    } catch (const Tz4Error& error) {
        failed("frmSample:MultiDeleteItem", msg::MenuDelete, error);
    }
    RefreshData();
    return true;
}

bool SampleManagerControl::RenameItem(const QString& key, const QString& name)
{
    EnterProcedure here("frmSample:tz4List_LabelEdit");
    const QString type = GetKeyType(key);
    if (type != keytype::Folder && type != keytype::Template && !keytype::isRecord(type))
        return false;
    // A name is shown in one line of a list and written into tab-separated files.
    const std::optional<SampleText> refusal = name.trimmed().isEmpty() ? std::optional(SampleText::NameEmpty)
        : holdsBreaks(name)                                            ? std::optional(SampleText::NameWithBreaks)
                                                                       : std::nullopt;
    if (refusal) {
        errorReporter().showMessage(sampleText(*refusal), captionText(msg::MenuRename), MessageIcon::Exclamation,
                                    MessageButtons::Ok);
        return false;
    }
    if (refuseWhileBusy() || !stillThere({key}))
        return false;
    try {
        renameItem(databasePath_, key, name);
    } catch (const Tz4Error& error) {
        failed("frmSample:tz4List_LabelEdit", msg::MenuRename, error);
        return false;
    }
    const QString shown = grid_.recordKey();
    if (type == keytype::Folder)
        rebuild();
    else
        list_.MakeList();
    if (shown == key)
        grid_.showRecord(databasePath_, key);
    return true;
}

QString SampleManagerControl::CreateFolder(const QString& underKey)
{
    EnterProcedure here("frmSample:mnuFile_Click(2)");
    if (refuseWhileBusy())
        return {};
    const QString type = GetKeyType(underKey);
    if (type != keytype::Root && type != keytype::Folder) {
        showCatalogMessage(msg::FolderOnlyUnderFolder, msg::CreateFolderTitle, MessageIcon::Critical);
        return {};
    }
    if (!stillThere({underKey}))
        return {};
    QString key;
    try {
        key = newFolder(databasePath_, QString(), underKey);
    } catch (const Tz4Error& error) {
        failed("frmSample:mnuFile_Click(2)", msg::MenuCreateFolder, error);
        return {};
    }
    rebuild();
    return key;
}

void SampleManagerControl::Cut(const QStringList& keys)
{
    clipboard_ = keys;
    clipboardCopies_ = false;
}

void SampleManagerControl::Copy(const QStringList& keys)
{
    clipboard_ = keys;
    clipboardCopies_ = true;
}

bool SampleManagerControl::Paste(const QString& targetKey)
{
    EnterProcedure here("frmSample:mnuEdit_Click(4)");
    if (clipboard_.isEmpty()) {
        errorReporter().showMessage(sampleText(SampleText::NothingToPaste), captionText(msg::MenuPaste),
                                    MessageIcon::Information, MessageButtons::Ok);
        return false;
    }
    const bool changed = Drop(targetKey, clipboard_, clipboardCopies_);
    // What was cut now lies where it was pasted; a copy can be pasted again.
    if (changed && !clipboardCopies_)
        clipboard_.clear();
    return changed;
}

bool SampleManagerControl::Undo()
{
    EnterProcedure here("frmSample:mnuEdit_Click(0)");
    if (refuseWhileBusy())
        return false;
    bool undone = false;
    try {
        undoLast(databasePath_);
        undone = true;
    } catch (const Tz4Error& error) {
        failed("frmSample:mnuEdit_Click(0)", UnSetMode(UndoMode::None), error);
    }
    RefreshData();
    return undone;
}

QString SampleManagerControl::NewCalibrationLine(const QString& folderKey)
{
    EnterProcedure here("frmSample:mnuMeas_Click(7)");
    if (refuseWhileBusy())
        return {};
    const bool inFolder = GetKeyType(folderKey) == keytype::Folder;
    if (inFolder && !stillThere({folderKey}))
        return {};
    clsTz4DataSet line;
    line.setDataBaseName(databasePath_);
    line.setKey(QStringLiteral("0 T"));
    line.ReLoad();
    line.setParameters(param::SampleName, QStringLiteral("New Calibllation"));
    line.setParameters(param::MeasurementDate, QDateTime::currentDateTime());
    line.setParameters(param::FolderNumber, inFolder ? GetKeySeq(folderKey) : 0);
    line.setGraphX(0, 0);
    line.setGraphX(1, LineLogCpsMax);
    line.setGraphX(2, 1);
    line.setGraphY(0, 0);
    line.setGraphY(1, LineThicknessMax);
    line.setGraphY(2, LineThicknessMax / 4);
    if (!line.AddDatas()) {
        failed("frmSample:mnuMeas_Click(7)", msg::MenuCalibrationLine,
               Tz4Error(err::InvalidPropertyValue, QStringLiteral("The calibration line could not be stored.")));
        return {};
    }
    list_.MakeList();
    grid_.showRecord(databasePath_, line.Key());
    return line.Key();
}

bool SampleManagerControl::RemoveAdjustment()
{
    const QString key = grid_.recordKey();
    if (key.isEmpty() || refuseWhileBusy() || !stillThere({key}))
        return false;
    try {
        removeAdjustment(databasePath_, key);
    } catch (const Tz4Error& error) {
        failed("frmSample:mnuGridPopUp_Click", msg::PopupAdjustmentRemove, error);
        return false;
    }
    grid_.showRecord(databasePath_, key);
    return true;
}

bool SampleManagerControl::RemoveCalibrationMember(qint32 member)
{
    const QString key = grid_.recordKey();
    if (key.isEmpty() || refuseWhileBusy() || !stillThere({key}))
        return false;
    try {
        removeCalibrationMember(databasePath_, key, member);
    } catch (const Tz4Error& error) {
        failed("frmSample:mnuGridPopUp_Click", msg::PopupCalibrationDataRemove, error);
        return false;
    }
    grid_.showRecord(databasePath_, key);
    return true;
}

bool SampleManagerControl::SetDefaultTemplate(const QString& templateKey)
{
    EnterProcedure here("frmSample:mnuTempPopUp_Click");
    if (refuseWhileBusy() || !stillThere({templateKey}))
        return false;
    try {
        SetPrintDefault(databasePath_, templateKey);
    } catch (const Tz4Error& error) {
        failed("frmSample:mnuTempPopUp_Click", msg::PopupDefaultTemplate, error);
        return false;
    }
    list_.MakeList();
    return true;
}

} // namespace tz4
