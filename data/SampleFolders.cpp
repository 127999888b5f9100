#include "data/SampleOperations.h"

#include "core/ErrorLocation.h"
#include "core/Keys.h"
#include "core/MessageCatalog.h"
#include "core/MessageIds.h"
#include "data/JetSql.h"
#include "data/SampleRows.h"
#include "data/SqliteDatabase.h"

#include <QRegularExpression>

namespace tz4 {

namespace {

constexpr int kFolderNameWidth = 50;
constexpr int kSampleNameWidth = 80;
constexpr int kTemplateNameWidth = 80;

void checkWidth(const QString& name, int width)
{
    if (name.size() > width)
        throw Tz4Error(err::InvalidPropertyValue,
                       QStringLiteral("The name is %1 characters long; at most %2 fit.").arg(name.size()).arg(width));
}

} // namespace

OperationRefused::OperationRefused(int messageId, int titleId, const QString& text)
    : Tz4Error(err::InvalidPropertyValue, text), messageId_(messageId), titleId_(titleId)
{
}

bool keytype::isRecord(const QString& type)
{
    return type.size() == 1 && QStringLiteral("WCLDT").contains(type);
}

QString newFolder(const QString& databasePath, const QString& name, const QString& parentKey)
{
    EnterProcedure here("frmSample:mnuFile_Click(2)");
    const QString type = GetKeyType(parentKey);
    if (type != keytype::Root && type != keytype::Folder)
        throw OperationRefused(msg::FolderOnlyUnderFolder, msg::CreateFolderTitle, GetRes(msg::FolderOnlyUnderFolder));
    const QString folderName = name.isEmpty() ? QStringLiteral("NewFolder") : name;
    checkWidth(folderName, kFolderNameWidth);
    SqliteDatabase db(databasePath);
    SqliteTransaction transaction(db);
    const qint32 parent = type == keytype::Root ? 0 : GetKeySeq(parentKey);
    if (!folderIsLive(db, parent))
        throw Tz4Error(err::InvalidPropertyValue, QStringLiteral("There is no folder %1.").arg(parentKey));
    const qint32 key = qint32(db.newKey(QStringLiteral("Select Max(SeqNo)+1 As MaxSeq From FAT;")));
    SqliteStatement insert =
        db.prepare(QStringLiteral("Insert Into FAT(SeqNo,Name,MakeDate,Parent,Recycled) Values(?,?,?,?,0);"));
    insert.bind(1, qint64(key))
        .bind(2, folderName)
        .bind(3, JetSql::storedDate(QDateTime::currentDateTime()))
        .bind(4, qint64(parent));
    insert.run();
    transaction.commit();
    return makeKey(key, keytype::Folder);
}

void renameItem(const QString& databasePath, const QString& key, const QString& name)
{
    EnterProcedure here("frmSample:tz4List_LabelEdit");
    const QString type = GetKeyType(key);
    QString sql;
    if (type == keytype::Folder) {
        checkWidth(name, kFolderNameWidth);
        sql = QStringLiteral("Update Fat Set Name=? Where SeqNo=?;");
    } else if (keytype::isRecord(type)) {
        checkWidth(name, kSampleNameWidth);
        sql = QStringLiteral("Update Setting Set SampleName=? Where SeqNo=?;");
    } else if (type == keytype::Template) {
        checkWidth(name, kTemplateNameWidth);
        sql = QStringLiteral("Update Prints Set TemplateName=? Where SeqNo=?;");
    } else {
        throw Tz4Error(err::InvalidPropertyValue, QStringLiteral("%1 cannot be renamed.").arg(key));
    }
    SqliteDatabase db(databasePath);
    SqliteTransaction transaction(db);
    SqliteStatement update = db.prepare(sql);
    update.bind(1, name).bind(2, qint64(GetKeySeq(key)));
    update.run();
    if (db.changes() == 0 || (keytype::isRecord(type) && !rowExists(db, key)))
        throw Tz4Error(err::InvalidPropertyValue, QStringLiteral("There is no %1.").arg(key));
    transaction.commit();
}

void attachItem(const QString& databasePath, const QString& sourceKey, const QString& targetKey)
{
    EnterProcedure here("frmSample:AddAdjustNo");
    SqliteDatabase db(databasePath);
    SqliteTransaction transaction(db);
    for (const QString& key : {sourceKey, targetKey})
        if (!keytype::isRecord(GetKeyType(key)) || !rowExists(db, key))
            throw Tz4Error(err::InvalidPropertyValue, QStringLiteral("There is no record %1.").arg(key));
    const QString source = GetKeyType(sourceKey);
    const QString target = GetKeyType(targetKey);
    if ((target == QLatin1String("W") && source == QLatin1String("L"))
        || (target == QLatin1String("C") && source == QLatin1String("T")))
        ops::AddAdjustNo(db, targetKey, sourceKey);
    else if (target == QLatin1String("T") && source == QLatin1String("D"))
        ops::addCalibrationMember(db, GetKeySeq(targetKey), GetKeySeq(sourceKey));
    else
        throw Tz4Error(err::InvalidPropertyValue,
                       QStringLiteral("A %1 record cannot be attached to a %2 record: an L record corrects a W "
                                      "record, a T record calibrates a C record, a D record joins a T record.")
                           .arg(source, target));
    transaction.commit();
}

bool CheckRecycle(const QString& databasePath, const QString& key)
{
    EnterProcedure here("frmSample:CheckRecycle");
    SqliteDatabase db(databasePath);
    const QString table = GetKeyType(key) == keytype::Folder ? QStringLiteral("FAT") : QStringLiteral("Setting");
    SqliteStatement row = db.query(QStringLiteral("Select * From %1 Where SeqNo=%2;").arg(table).arg(GetKeySeq(key)));
    return row.next() && row.toInt(QStringLiteral("Recycled")) != 0;
}

QString resolveItemKey(const QString& databasePath, const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral(R"(^\s*(\d+)\s*([A-Za-z]?)\s*$)"));
    const QRegularExpressionMatch m = pattern.match(text);
    bool ok = false;
    const qint32 seqNo = m.hasMatch() ? m.captured(1).toInt(&ok) : 0;
    if (!ok)
        throw Tz4Error(err::InvalidPropertyValue, QStringLiteral("'%1' is not a key such as \"12 F\" or \"3 W\".").arg(text));
    const QString type = m.captured(2).toUpper();
    SqliteDatabase db(databasePath);
    if (type.isEmpty() || keytype::isRecord(type)) {
        const QString stored = storedRecordKey(db, seqNo);
        if (stored.isEmpty())
            throw Tz4Error(err::InvalidPropertyValue, QStringLiteral("There is no record %1.").arg(seqNo));
        if (!type.isEmpty() && GetKeyType(stored) != type)
            throw Tz4Error(err::InvalidPropertyValue,
                           QStringLiteral("Record %1 is a %2 record, not %3.").arg(seqNo).arg(GetKeyType(stored), type));
        return stored;
    }
    const QString key = makeKey(seqNo, type);
    if (type == keytype::Root || type == keytype::Trash || type == keytype::Search) {
        if (seqNo != 1)
            throw Tz4Error(err::InvalidPropertyValue, QStringLiteral("There is no %1; did you mean 1 %2?").arg(key, type));
        return key;
    }
    if (type == keytype::Template) {
        SqliteStatement row = db.query(QStringLiteral("Select SeqNo From Prints Where SeqNo=%1;").arg(seqNo));
        if (!row.next())
            throw Tz4Error(err::InvalidPropertyValue, QStringLiteral("There is no template %1.").arg(key));
        return key;
    }
    if (type == keytype::Folder && rowExists(db, key))
        return key;
    throw Tz4Error(err::InvalidPropertyValue, QStringLiteral("There is no %1.").arg(key));
}

bool itemExists(const QString& databasePath, const QString& key)
{
    const QString type = GetKeyType(key);
    if (type == keytype::Root || type == keytype::Trash || type == keytype::Search)
        return GetKeySeq(key) == 1;
    SqliteDatabase db(databasePath);
    return rowExists(db, key);
}

} // namespace tz4
