#include "data/SampleListing.h"

#include "data/SqliteDatabase.h"

#include <QSet>

namespace tz4 {

SampleListing::SampleListing(const QString& databasePath) : db_(std::make_unique<SqliteDatabase>(databasePath)) {}

SampleListing::~SampleListing() = default;

QList<FolderRow> SampleListing::readFolders(const QString& sql)
{
    QList<FolderRow> rows;
    SqliteStatement st = db_->query(sql);
    const int seqNo = st.requireColumn(QStringLiteral("SeqNo"));
    const int name = st.requireColumn(QStringLiteral("Name"));
    const int parent = st.columnIndex(QStringLiteral("Parent"));
    while (st.next())
        rows.append({qint32(st.toInt(seqNo)), st.value(name), parent < 0 ? 0 : qint32(st.toInt(parent))});
    return rows;
}

QList<RecordRow> SampleListing::readRecords(const QString& sql)
{
    QList<RecordRow> rows;
    SqliteStatement st = db_->query(sql);
    const int seqNo = st.requireColumn(QStringLiteral("SeqNo"));
    const int name = st.requireColumn(QStringLiteral("SampleName"));
    const int modes = st.requireColumn(QStringLiteral("Modes"));
    const int light = st.requireColumn(QStringLiteral("MeasLight"));
    const int date = st.requireColumn(QStringLiteral("DataTime"));
    while (st.next()) {
        RecordRow row{qint32(st.toInt(seqNo)), st.value(name).toString(), int(st.toInt(modes, -1)), st.value(light), {}};
        if (!st.isNull(date))
            row.dataTime = st.toDateTime(QStringLiteral("DataTime"));
        rows.append(row);
    }
    return rows;
}

QList<FolderRow> SampleListing::folders(qint32 parent, bool recycled)
{
    return readFolders(QStringLiteral("Select * From FAT Where Recycled=%1 And Parent=%2;").arg(recycled ? 1 : 0).arg(parent));
}

QList<FolderRow> SampleListing::trashedFolders()
{
    return readFolders(QStringLiteral("Select * From FAT Where Recycled=1;"));
}

QList<FolderRow> SampleListing::comboTopFolders()
{
    return readFolders(QStringLiteral("Select * From FAT Where Parent = 0;"));
}

QList<RecordRow> SampleListing::records(qint32 parent)
{
    return readRecords(QStringLiteral("Select SeqNo,SampleName,MeasLight,DataTime,Modes From Setting "
                                      "Where Recycled=0 And Parent=%1;")
                           .arg(parent));
}

QList<RecordRow> SampleListing::trashedRecords()
{
    return readRecords(QStringLiteral("Select SeqNo,SampleName,MeasLight,DataTime,Modes From Setting Where Recycled=1;"));
}

QList<RecordRow> SampleListing::search(const QString& queryString)
{
    if (queryString.size() < 8)
        return {};
    return readRecords(QStringLiteral("Select * From Setting ") + queryString + QLatin1Char(';'));
}

QList<TemplateRow> SampleListing::templates(int templateType)
{
    QList<TemplateRow> rows;
    SqliteStatement st = db_->query(QStringLiteral("Select * From Prints Where TemplateType=%1;").arg(templateType));
    while (st.next())
        rows.append({qint32(st.toInt(QStringLiteral("SeqNo"))), st.toText(QStringLiteral("TemplateName")),
                     st.toBool(QStringLiteral("DefaultTemp")), st.toDateTime(QStringLiteral("TemplateDate"))});
    return rows;
}

bool SampleListing::trashIsEmpty()
{
    SqliteStatement folders = db_->query(QStringLiteral("Select Count(*) From FAT Where Recycled=1;"));
    if (folders.next() && folders.toInt(0) > 0)
        return false;
    SqliteStatement records = db_->query(QStringLiteral("Select Count(*) From Setting Where Recycled=1;"));
    return !(records.next() && records.toInt(0) > 0);
}

QString SampleListing::folderPath(qint32 folder)
{
    QString path;
    QSet<qint32> seen;
    SqliteStatement row = db_->prepare(QStringLiteral("Select Parent,Name From FAT Where SeqNo=?;"));
    while (folder != 0 && !seen.contains(folder)) {
        seen.insert(folder);
        row.bind(1, qint64(folder));
        if (!row.next())
            break;
        const QString name = row.toText(QStringLiteral("Name"));
        path = path.isEmpty() ? name : name + QLatin1Char('\\') + path;
        folder = qint32(row.toInt(0));
        row.reset();
    }
    return path;
}

} // namespace tz4
